#include "project/ProjectTreeModel.h"

#include "project/ProjectModel.h"

namespace quillon {

ProjectTreeModel::ProjectTreeModel(ProjectModel &project, QObject *parent)
    : QAbstractItemModel(parent), m_project(project), m_closed(defaultClosedFolderIcon()),
      m_open(defaultOpenFolderIcon())
{
    connectProject();
}

void ProjectTreeModel::connectProject()
{
    ProjectModel *p = &m_project;
    // A reset swallows the removals it is made of.
    connect(p, &ProjectModel::projectAboutToBeReset, this, [this] {
        beginResetModel();
        m_resetting = true;
    });
    connect(p, &ProjectModel::projectReset, this, [this] {
        m_resetting = false;
        endResetModel();
    });
    connect(p, &ProjectModel::folderAboutToBeInserted, this, [this](ProjectFolder *parent, int row) {
        if (!m_resetting)
            beginInsertRows(indexOf(parent), row, row);
    });
    connect(p, &ProjectModel::folderInserted, this, [this] {
        if (!m_resetting)
            endInsertRows();
    });
    connect(p, &ProjectModel::folderAboutToBeRemoved, this, [this](ProjectFolder *folder) {
        if (!m_resetting)
            beginRemoveRows(indexOf(folder->parent()), folder->row(), folder->row());
    });
    connect(p, &ProjectModel::folderRemoved, this, [this] {
        if (!m_resetting)
            endRemoveRows();
    });
    connect(p, &ProjectModel::folderAboutToMove, this, [this](ProjectFolder *folder, int destination) {
        const QModelIndex parent = indexOf(folder->parent());
        beginMoveRows(parent, folder->row(), folder->row(), parent, destination);
    });
    connect(p, &ProjectModel::folderMoved, this, [this] { endMoveRows(); });
    connect(p, &ProjectModel::folderChanged, this, [this](ProjectFolder *folder) {
        const QModelIndex index = indexOf(folder);
        emit dataChanged(index, index);
    });
    connect(p, &ProjectModel::projectKindChanged, this, [this] {
        if (!m_resetting)
            announceRows(QModelIndex(), {RecordedRole});
    });
}

// The recorded mark follows the kind and the icons are shared: every row may change at once.
void ProjectTreeModel::announceRows(const QModelIndex &parent, const QList<int> &roles)
{
    const int rows = rowCount(parent);
    if (rows == 0)
        return;
    emit dataChanged(index(0, 0, parent), index(rows - 1, 0, parent), roles);
    for (int row = 0; row < rows; ++row)
        announceRows(index(row, 0, parent), roles);
}

void ProjectTreeModel::setFolderIcons(const QIcon &closed, const QIcon &open)
{
    m_closed = closed;
    m_open = open;
    announceRows(QModelIndex(), {Qt::DecorationRole, OpenIconRole});
}

QModelIndex ProjectTreeModel::indexOf(const ProjectFolder *folder) const
{
    if (!folder)
        return QModelIndex();
    return createIndex(folder->row(), 0, const_cast<ProjectFolder *>(folder));
}

ProjectFolder *ProjectTreeModel::folderAt(const QModelIndex &index)
{
    return index.isValid() ? static_cast<ProjectFolder *>(index.internalPointer()) : nullptr;
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    if (!parent.isValid())
        return row == 0 && m_project.root() ? createIndex(0, 0, m_project.root()) : QModelIndex();
    const ProjectFolder *folder = folderAt(parent);
    return row < folder->childCount() ? createIndex(row, 0, folder->child(row)) : QModelIndex();
}

QModelIndex ProjectTreeModel::parent(const QModelIndex &child) const
{
    const ProjectFolder *folder = folderAt(child);
    return folder ? indexOf(folder->parent()) : QModelIndex();
}

int ProjectTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_project.root() ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    return folderAt(parent)->childCount();
}

int ProjectTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant ProjectTreeModel::data(const QModelIndex &index, int role) const
{
    const ProjectFolder *folder = folderAt(index);
    if (!folder)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return folder->text();
    case Qt::DecorationRole:
        return m_closed;
    case OpenIconRole:
        return m_open;
    case StatusTextRole:
        return folder->dane().SourceDir;
    case RecordedRole:
        return !m_project.IsModifiable(folder);
    case IsFolderRole:
        return true;
    case LevelRole:
        return folder->level();
    default:
        return QVariant();
    }
}

Qt::ItemFlags ProjectTreeModel::flags(const QModelIndex &index) const
{
    const ProjectFolder *folder = folderAt(index);
    if (!folder)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_rename && !m_project.isReadOnly() && m_project.IsModifiable(folder))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ProjectTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !m_rename || !folderAt(index))
        return false;
    return m_rename(index, value.toString());
}

} // namespace quillon
