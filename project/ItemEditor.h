#pragma once
// Renaming, removing and refreshing items of the data-disc tree, and telling where an item
// comes from. Widget-free: the views call in with the edited text or the selection.
#include <QList>
#include <QString>

namespace quillon {

class ProjectFolder;
class ProjectModel;
class Prompter;

class ItemEditor {
public:
    ItemEditor(ProjectModel &model, Prompter &prompter)
        : m_model(model)
        , m_prompter(prompter)
    {
    }

    enum class EditResult {
        Renamed,   // the item has the new name
        Unchanged, // the old name stays (same text, or the text was refused)
        Refused,   // the name clashes with another item; the edit stays open
    };
    // The tree's edit: the root takes a disc name, a folder a checked name unique in its parent.
    EditResult renameFolder(ProjectFolder *folder, const QString &text);
    // The list's edit of a file entry.
    EditResult renameFile(ProjectFolder *folder, int index, const QString &text);

    // "Do you wish to remove selected files / folders from recording list?"
    bool confirmRemove();
    // Each refuses (with the report) what is recorded on an earlier session.
    bool removeFolder(ProjectFolder *folder);
    bool removeFile(ProjectFolder *folder, int index);

    enum class RefreshResult { Declined, Refreshed, RereadImage };
    // Drops the items whose source is gone and counts every total again. Items recorded on an
    // earlier session stay: their source was never on this disk.
    RefreshResult refresh(const QList<qint64> &audioTrackSizes = {});

    // Whether the item comes from an image or an earlier session rather than the disk.
    bool isFromImage(const ProjectFolder *folder, int entryIndex = -1) const;
    // The item's place on the disk for Go to disk and Properties; empty (after the report)
    // when it has none. `kind` gets "Folder" or "File".
    QString diskLocation(const ProjectFolder *folder, int entryIndex, QString *kind) const;

private:
    bool nameTaken(const ProjectFolder *folder, const QString &oldName, const QString &newName) const;
    void refreshFolder(ProjectFolder *folder, bool &removed);

    ProjectModel &m_model;
    Prompter &m_prompter;
};

} // namespace quillon
