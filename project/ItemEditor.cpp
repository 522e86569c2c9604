#include "project/ItemEditor.h"

#include "platform/Prompter.h"
#include "project/NameRules.h"
#include "project/ProjectModel.h"

#include <QFileInfo>

namespace quillon {

bool ItemEditor::nameTaken(const ProjectFolder *folder, const QString &oldName, const QString &newName) const
{
    // Two equal names make the image tool fail on the Joliet tables; a change of letter case
    // alone is the item itself.
    if (foldedName(oldName) == foldedName(newName) || !folder->dane().NameSet.contains(newName))
        return false;
    m_prompter.inform(newName + QStringLiteral(" already exists in this folder. Please rename it."),
                      QStringLiteral("Duplicate name"), PromptIcon::Warning);
    return true;
}

ItemEditor::EditResult ItemEditor::renameFolder(ProjectFolder *folder, const QString &text)
{
    if (!folder)
        return EditResult::Unchanged;
    QString name = text.trimmed();
    if (folder->isRoot()) {
        CheckDiscName(name, m_prompter);
        if (name == folder->text())
            return EditResult::Unchanged;
        m_model.RenameFolder(folder, name);
        m_model.ProjectModified = true;
        return EditResult::Renamed;
    }
    if (name == folder->text() || !CheckNameChars(name, m_prompter))
        return EditResult::Unchanged;
    if (nameTaken(folder->parent(), folder->text(), name))
        return EditResult::Refused;
    m_model.FlagChanged(folder);
    m_model.RenameFolder(folder, name);
    m_model.ProjectModified = true;
    return EditResult::Renamed;
}

ItemEditor::EditResult ItemEditor::renameFile(ProjectFolder *folder, int index, const QString &text)
{
    if (!folder || index < 0 || index >= folder->files().count())
        return EditResult::Unchanged;
    const QString name = text.trimmed();
    const QString old = folder->files()[index].name();
    if (name == old || !CheckNameChars(name, m_prompter))
        return EditResult::Unchanged;
    if (nameTaken(folder, old, name))
        return EditResult::Refused;
    m_model.FlagChanged(folder);
    m_model.RenameFile(folder, index, name);
    m_model.ProjectModified = true;
    return EditResult::Renamed;
}

bool ItemEditor::confirmRemove()
{
    return m_prompter.ask(
               {QStringLiteral("Do you wish to remove selected files / folders from recording list?"),
                QStringLiteral("Warning"), PromptIcon::Warning, pbYes | pbNo | pbCancel, pbCancel}) == pbYes;
}

bool ItemEditor::removeFolder(ProjectFolder *folder)
{
    if (!folder || folder->isRoot() || !m_model.IsModifiable(folder, -1, true))
        return false;
    m_model.FlagChanged(folder);
    m_model.RemoveFolder(folder);
    m_model.ProjectModified = true;
    return true;
}

bool ItemEditor::removeFile(ProjectFolder *folder, int index)
{
    if (!folder || index < 0 || index >= folder->files().count() ||
        !m_model.IsModifiable(folder, index, true))
        return false;
    m_model.FlagChanged(folder);
    m_model.RemoveFile(folder, index);
    m_model.ProjectModified = true;
    return true;
}

ItemEditor::RefreshResult ItemEditor::refresh(const QList<qint64> &audioTrackSizes)
{
    if (m_model.ProjectKind() == pkDiscImage)
        return m_prompter.confirm(QStringLiteral("Do you wish to reread ISO image from the disk?"),
                                  QStringLiteral("Reread ISO image"))
                   ? RefreshResult::RereadImage
                   : RefreshResult::Declined;
    if (!m_prompter.confirm(
            QStringLiteral(
                "All files and folders that do not exist will be removed. Do you wish to continue?"),
            QStringLiteral("Reread files to record")))
        return RefreshResult::Declined;
    if (ProjectFolder *root = m_model.root()) {
        bool removed = false;
        refreshFolder(root, removed);
        if (removed)
            m_model.ProjectModified = true;
    }
    m_model.RecountTotals(&ProjectModel::diskFileSize, audioTrackSizes);
    return RefreshResult::Refreshed;
}

void ItemEditor::refreshFolder(ProjectFolder *folder, bool &removed)
{
    for (int i = folder->childCount() - 1; i >= 0; --i) {
        ProjectFolder *child = folder->child(i);
        if (!isFromImage(child) && !QFileInfo(child->dane().SourceDir).isDir()) {
            m_model.RemoveFolder(child);
            removed = true;
        } else {
            refreshFolder(child, removed);
        }
    }
    for (int i = folder->files().count() - 1; i >= 0; --i) {
        if (isFromImage(folder, i))
            continue;
        if (!QFileInfo::exists(folder->files()[i].sourcePath())) {
            m_model.RemoveFile(folder, i);
            removed = true;
        }
    }
}

bool ItemEditor::isFromImage(const ProjectFolder *folder, int entryIndex) const
{
    if (m_model.ProjectKind() == pkDiscImage)
        return true;
    if (entryIndex < 0)
        return folder->dane().FromImage;
    return !m_model.IsModifiable(folder, entryIndex);
}

QString ItemEditor::diskLocation(const ProjectFolder *folder, int entryIndex, QString *kind) const
{
    const QString word = entryIndex < 0 ? QStringLiteral("Folder") : QStringLiteral("File");
    if (kind)
        *kind = word;
    if (!folder)
        return QString();
    if (isFromImage(folder, entryIndex)) {
        m_prompter.inform(QStringLiteral("This ") + word.toLower() +
                              QStringLiteral(" is from opened ISO image. It cannot be located on disk."),
                          QStringLiteral("Error"), PromptIcon::Warning);
        return QString();
    }
    return entryIndex < 0 ? folder->dane().SourceDir : folder->files()[entryIndex].sourcePath();
}

} // namespace quillon
