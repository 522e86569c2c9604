#pragma once
// What the project's item models offer beyond Qt's own roles, and the folder icons they use.
#include <QIcon>
#include <QModelIndex>
#include <QString>
#include <functional>

namespace quillon {

enum ProjectItemRole : int {
    // The icon a folder shows while it is selected in the tree.
    OpenIconRole = Qt::UserRole + 1,
    // The item's source for the status bar: SourceDir of a folder, SourcePath of a file.
    StatusTextRole,
    // bool: in kind 6, the item is recorded on the disc (the "recorded" mark).
    RecordedRole,
    // bool: the item is a folder.
    IsFolderRole,
    // int: the folder's level (tree), or -1 for a file row.
    LevelRole,
    // qint64: the size shown in the Size column (-1 when the file cannot be found).
    SizeRole,
};

// Called by setData for an edited name; returns whether the rename was taken. The handler
// holds the rules (name check, IsModifiable, Changed flag), the models only forward.
using RenameHandler = std::function<bool(const QModelIndex &index, const QString &text)>;

// The style's folder icons, or the file icon provider's when there is no widget style.
QIcon defaultClosedFolderIcon();
QIcon defaultOpenFolderIcon();

} // namespace quillon
