#pragma once
// Saving and loading projects: Save, Save As, Open and the recent files, the question about
// an unsaved project, and the caption that names the file. Widget-free: the file dialogs come
// through an asker and the window's part through hooks.
#include "project/ProjectFile.h"
#include "project/RecentFiles.h"

#include <QObject>
#include <QString>
#include <functional>

namespace quillon {

class ProjectModel;
class Prompter;

// The project file dialogs.
class ProjectFileAsker {
public:
    virtual ~ProjectFileAsker() = default;
    // The save dialog, which asks before overwriting; false on Cancel.
    virtual bool askSaveFileName(QString &path) = 0;
    // The open dialog, for a file that exists; false on Cancel.
    virtual bool askOpenFileName(QString &path) = 0;
};

class ProjectFiles : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Runs a long operation under the busy dialog (false when it could not start).
        std::function<bool(const QString &message, const std::function<void()> &operation)> runBusy;
        std::function<void()> pump;
        bool *abort = nullptr; // the busy dialog's Cancel sets it
        // Runs an action once the current event has been handled.
        std::function<void(std::function<void()>)> deferred;
        std::function<QString()> defaultDiscName;
        std::function<void()> setCaption;
        std::function<void()> focusPages;
        // A project was read: the pages of its kind, the root and first track selected.
        std::function<void()> projectLoaded;
        // The deferred end of every load: tab icon, data list redrawn, totals.
        std::function<void()> finishLoad;
        std::function<bool()> chkDeep;
        std::function<void()> enableDeep; // ticks ChkDeep and saves the options
        // Opens a disc image (the project has been reset already).
        std::function<void(const QString &path)> openImage;
        // Writes the autorun files of a loaded data project again.
        std::function<void()> rewriteAutorun;
        // The audio lists: what to save, and what a load found (their checks are theirs).
        // Unset, the rows are only kept, so that a save writes back what was read.
        std::function<AudioBlock()> collectAudio;
        std::function<void(const AudioBlock &, TProjectKind)> takeAudio;
        // The disc titles of an audio copy: whether they were changed, saving them, and the
        // option ChkAskCDDB ("save disc info to CDDB.ini" without asking when ticked).
        std::function<bool()> titlesModified;
        std::function<void()> saveTitles;
        std::function<bool()> saveTitlesWithoutAsking;
        ProjectFileReader::SizeProbe sizeOf; // the disk's by default
    };

    enum class LoadResult { Loaded, Image, NotAProject, Aborted, Damaged };

    ProjectFiles(ProjectModel &model, Prompter &prompter, ProjectFileAsker &asker, Hooks hooks);
    ~ProjectFiles() override;

    // True when the project was written.
    bool ProjectSaveExecute();
    bool ProjectSaveAsExecute();
    void ProjectLoadExecute();
    // The dispatcher of Open, the recent files and images.
    LoadResult LoadProject(const QString &path);
    // True when the pending operation must be cancelled.
    bool ConfirmDiscard();
    void MRUItemClick(const QString &path);

    // Saving is not offered for a disc image.
    bool canSave() const;
    RecentFiles &recentFiles() { return m_recent; }
    ProjectAutorun &autorun() { return m_autorun; }
    const AudioBlock &keptAudio() const { return m_audio; }

    // Writes the project to `path` through a temporary file that replaces the old one only
    // once it is complete and on the disk. False with the reason on failure; the old file
    // then stays as it was.
    bool writeProject(const QString &path, QString *reason = nullptr) const;

private:
    bool saveTo(const QString &path);
    void deepFolderCheck();
    AudioBlock audioToSave() const;
    void takeAudio(const AudioBlock &audio, TProjectKind kind);
    ProjectFileReader::Hooks readerHooks() const;

    ProjectModel &m_model;
    Prompter &m_prompter;
    ProjectFileAsker &m_asker;
    Hooks m_hooks;
    RecentFiles m_recent;
    ProjectAutorun m_autorun;
    AudioBlock m_audio;
};

} // namespace quillon
