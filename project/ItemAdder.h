#pragma once
// Reads dropped or pasted files and folders from the disk into the data-disc tree, checking
// every name, path length and depth, asking the user when a rule is broken and remembering
// the answers for the rest of the operation. Widget-free: questions go through the prompter
// and the askers, the go-to-disk and options effects through hooks.
#include "project/ChangeLog.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace quillon {

class NotExistsAsker;
class ProjectFolder;
class ProjectModel;
class Prompter;
class RenameAsker;
struct RenameRequest;

class ItemAdder {
public:
    struct Hooks {
        // Shows a source on the disk in the local pane (path, kind word "File", "Folder", "Item").
        std::function<void(const QString &, const QString &)> goToDisk;
        // The options' ChkDeep, and switching it on (with saving the options).
        std::function<bool()> chkDeep;
        std::function<void()> enableDeep;
        // Lets the busy dialog breathe; called before every tenth item.
        std::function<void()> pump;
    };

    ItemAdder(ProjectModel &model, Prompter &prompter, RenameAsker &renamer, NotExistsAsker &notExists,
              Hooks hooks = {});

    // The flag the busy dialog's Cancel sets; the adder's own one unless the caller shares its.
    void setAbortFlag(bool *flag) { m_abort = flag ? flag : &m_ownAbort; }
    bool abortRequested() const { return *m_abort; }

    // Remembered answers of the running operation.
    bool AutoShorten = false;
    bool AutoRename = false;
    bool SkipLongPaths = false;
    bool SkipDeepFolders = false;
    bool SomethingRenamed = false;
    void clearAnswers();

    // One drop or paste: the paths sorted without duplicates, each added into `target`
    // interactively, with the change log at `logPath`. True when the log should be shown
    // (something was renamed and the log was written).
    bool DropDataCDExecute(const QStringList &paths, ProjectFolder *target, const QString &logPath);

    // True when the file was added.
    bool AddFile(ProjectFolder *folder, const QString &path, bool interactive);
    // The new node, or null.
    ProjectFolder *AddFolder(const QString &path, ProjectFolder *parent, bool interactive, bool recursive);

    // The New Folder command: asks for a name (askName false on Cancel) until a folder is
    // added under `selected` or the user gives up. The folder has no source of its own, so
    // it points at the temporary folder.
    ProjectFolder *NewFolder(ProjectFolder *selected, const std::function<bool(QString &)> &askName,
                             const QString &programFolder, const QString &tempFolder);

    ChangeLog &log() { return m_log; }

private:
    bool askForName(const RenameRequest &request, const QString &sourcePath, QString *name, bool *remembered);
    struct Source; // one item found on the disk
    bool addFileItem(ProjectFolder *folder, qsizetype discPathLength, const Source &source, bool interactive);
    ProjectFolder *addFolderItem(ProjectFolder *parent, qsizetype discPathLength, const Source &source,
                                 bool interactive, bool recursive);
    void scanFolder(ProjectFolder *folder, qsizetype discPathLength, const Source &source, bool interactive);
    // False when the item is to be skipped.
    bool checkPathLength(qsizetype length, const QString &discPath, const QString &sourcePath,
                         bool interactive);
    // False on abort; `name` may change.
    bool checkName(ProjectFolder *folder, const QString &sourcePath, QString &name, bool isFolder,
                   bool changedAlready, bool interactive);
    // False when the name cannot be recorded at all (reported and logged).
    bool acceptableName(const QString &name, const QString &sourcePath, QString &fixed);
    void noteRenamed(ProjectFolder *flagFrom, const QString &sourcePath, const QString &newName);
    void goToDisk(const QString &path, const QString &kind);
    void pump();

    ProjectModel &m_model;
    Prompter &m_prompter;
    RenameAsker &m_renamer;
    NotExistsAsker &m_notExists;
    Hooks m_hooks;
    ChangeLog m_log;
    bool m_ownAbort = false;
    bool *m_abort = &m_ownAbort;
};

} // namespace quillon
