#include "project/FolderListModel.h"

#include "project/ProjectModel.h"

#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <algorithm>

namespace quillon {

FolderListModel::FolderListModel(ProjectModel &project, QObject *parent)
    : QAbstractTableModel(parent), m_project(project), m_folderIcon(defaultClosedFolderIcon()),
      m_probe(&ProjectModel::diskFileSize)
{
    connectProject();
}

void FolderListModel::connectProject()
{
    ProjectModel *p = &m_project;
    auto shown = [this](const ProjectFolder *folder) {
        return !m_resetting && m_folder && folder == m_folder;
    };

    connect(p, &ProjectModel::projectAboutToBeReset, this, [this] {
        beginResetModel();
        m_resetting = true;
        m_folder = nullptr;
        clearCache();
    });
    connect(p, &ProjectModel::projectReset, this, [this] {
        m_resetting = false;
        endResetModel();
    });
    connect(p, &ProjectModel::projectKindChanged, this, [this] {
        if (m_resetting)
            return;
        // Sizes come from the entries in a disc-image project, and the recorded mark
        // follows the kind.
        clearCache();
        announceAllRows();
    });

    connect(p, &ProjectModel::folderAboutToBeInserted, this, [this, shown](ProjectFolder *parent, int row) {
        if (!shown(parent))
            return;
        beginInsertRows(QModelIndex(), row, row);
        m_pending = Pending::Insert;
    });
    connect(p, &ProjectModel::folderInserted, this, [this] {
        if (std::exchange(m_pending, Pending::None) == Pending::Insert)
            endInsertRows();
    });
    connect(p, &ProjectModel::folderAboutToBeRemoved, this, [this, shown](ProjectFolder *folder) {
        if (m_resetting || !m_folder)
            return;
        if (folder->contains(m_folder)) {
            // The shown folder goes away with it: the list shows nothing until told.
            beginResetModel();
            m_folder = nullptr;
            clearCache();
            m_pending = Pending::Reset;
        } else if (shown(folder->parent())) {
            beginRemoveRows(QModelIndex(), folder->row(), folder->row());
            m_pending = Pending::Remove;
        }
    });
    connect(p, &ProjectModel::folderRemoved, this, [this] {
        const Pending pending = std::exchange(m_pending, Pending::None);
        if (pending == Pending::Reset)
            endResetModel();
        else if (pending == Pending::Remove)
            endRemoveRows();
    });
    connect(p, &ProjectModel::folderAboutToMove, this, [this, shown](ProjectFolder *folder, int destination) {
        if (!shown(folder->parent()))
            return;
        beginMoveRows(QModelIndex(), folder->row(), folder->row(), QModelIndex(), destination);
        m_pending = Pending::Move;
    });
    connect(p, &ProjectModel::folderMoved, this, [this] {
        if (std::exchange(m_pending, Pending::None) == Pending::Move)
            endMoveRows();
    });
    connect(p, &ProjectModel::folderChanged, this, [this, shown](ProjectFolder *folder) {
        if (shown(folder->parent()))
            emit dataChanged(index(folder->row(), 0), index(folder->row(), ColumnCount - 1));
    });

    connect(p, &ProjectModel::filesAboutToBeInserted, this,
            [this, shown](ProjectFolder *folder, int first, int last) {
                if (!shown(folder))
                    return;
                beginInsertRows(QModelIndex(), childCount() + first, childCount() + last);
                m_pending = Pending::Insert;
            });
    connect(p, &ProjectModel::filesInserted, this, [this](ProjectFolder *, int first, int last) {
        if (std::exchange(m_pending, Pending::None) != Pending::Insert)
            return;
        if (size_t(first) <= m_cache.size())
            m_cache.insert(m_cache.begin() + first, size_t(last - first + 1), RowCache());
        endInsertRows();
    });
    connect(p, &ProjectModel::filesAboutToBeRemoved, this,
            [this, shown](ProjectFolder *folder, int first, int last) {
                if (!shown(folder))
                    return;
                beginRemoveRows(QModelIndex(), childCount() + first, childCount() + last);
                m_pending = Pending::Remove;
            });
    connect(p, &ProjectModel::filesRemoved, this, [this](ProjectFolder *, int first, int last) {
        if (std::exchange(m_pending, Pending::None) != Pending::Remove)
            return;
        if (size_t(last) < m_cache.size())
            m_cache.erase(m_cache.begin() + first, m_cache.begin() + last + 1);
        endRemoveRows();
    });
    connect(p, &ProjectModel::fileAboutToMove, this,
            [this, shown](ProjectFolder *folder, int from, int destination) {
                if (!shown(folder))
                    return;
                const int offset = childCount();
                beginMoveRows(QModelIndex(), offset + from, offset + from, QModelIndex(),
                              offset + destination);
                m_pending = Pending::Move;
            });
    connect(p, &ProjectModel::fileMoved, this, [this](ProjectFolder *, int from, int to) {
        if (std::exchange(m_pending, Pending::None) != Pending::Move)
            return;
        if (size_t(std::max(from, to)) < m_cache.size()) {
            if (from < to)
                std::rotate(m_cache.begin() + from, m_cache.begin() + from + 1, m_cache.begin() + to + 1);
            else
                std::rotate(m_cache.begin() + to, m_cache.begin() + from, m_cache.begin() + from + 1);
        }
        endMoveRows();
    });
    connect(p, &ProjectModel::fileChanged, this, [this, shown](ProjectFolder *folder, int entryIndex) {
        if (!shown(folder))
            return;
        if (size_t(entryIndex) < m_cache.size())
            m_cache[size_t(entryIndex)] = RowCache();
        const int row = rowOfEntry(entryIndex);
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    });
    connect(p, &ProjectModel::filesAboutToBeReset, this, [this, shown](ProjectFolder *folder) {
        if (!shown(folder))
            return;
        beginResetModel();
        m_pending = Pending::Reset;
    });
    connect(p, &ProjectModel::filesReset, this, [this] {
        if (std::exchange(m_pending, Pending::None) != Pending::Reset)
            return;
        clearCache();
        endResetModel();
    });
}

void FolderListModel::setFolder(ProjectFolder *folder)
{
    beginResetModel();
    m_folder = folder;
    clearCache();
    endResetModel();
}

void FolderListModel::setFolderIcon(const QIcon &icon)
{
    m_folderIcon = icon;
    announceAllRows();
}

void FolderListModel::setSizeProbe(SizeProbe probe)
{
    m_probe = std::move(probe);
    refreshSizes();
}

void FolderListModel::refreshSizes()
{
    clearCache();
    announceAllRows();
}

void FolderListModel::clearCache()
{
    m_cache.assign(m_folder ? size_t(m_folder->files().count()) : 0, RowCache());
}

void FolderListModel::announceAllRows()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int FolderListModel::childCount() const
{
    return m_folder ? m_folder->childCount() : 0;
}

ProjectFolder *FolderListModel::childFolderAt(int row) const
{
    return row >= 0 && row < childCount() ? m_folder->child(row) : nullptr;
}

int FolderListModel::entryIndexAt(int row) const
{
    if (!m_folder || row < childCount() || row >= rowCount())
        return -1;
    return row - childCount();
}

int FolderListModel::rowOfEntry(int entryIndex) const
{
    return childCount() + entryIndex;
}

int FolderListModel::rowOfChildFolder(const ProjectFolder *child) const
{
    return child && m_folder && child->parent() == m_folder ? child->row() : -1;
}

int FolderListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_folder)
        return 0;
    return m_folder->childCount() + m_folder->files().count();
}

int FolderListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

FolderListModel::RowCache &FolderListModel::cacheFor(int entryIndex) const
{
    if (m_cache.size() <= size_t(entryIndex))
        m_cache.resize(size_t(entryIndex) + 1);
    return m_cache[size_t(entryIndex)];
}

qint64 FolderListModel::sizeOf(int entryIndex) const
{
    const FileEntry &entry = m_folder->files()[entryIndex];
    if (m_project.ProjectKind() == pkDiscImage)
        return entry.number();
    RowCache &cache = cacheFor(entryIndex);
    if (cache.size == RowCache::unread)
        cache.size = m_probe ? m_probe(entry.sourcePath()) : -1;
    return cache.size;
}

QIcon FolderListModel::iconOf(int entryIndex) const
{
    RowCache &cache = cacheFor(entryIndex);
    if (!cache.iconRead) {
        const FileEntry &entry = m_folder->files()[entryIndex];
        // A file of an image, or one that cannot be found, gets the icon of its name.
        if (m_project.ProjectKind() == pkDiscImage || sizeOf(entryIndex) < 0)
            cache.icon = iconByName(entry.name());
        else
            cache.icon = m_iconProvider.icon(QFileInfo(entry.sourcePath()));
        cache.iconRead = true;
    }
    return cache.icon;
}

QIcon FolderListModel::iconByName(const QString &name) const
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    const auto it = m_iconsBySuffix.constFind(suffix);
    if (it != m_iconsBySuffix.constEnd())
        return *it;
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(mime.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(mime.genericIconName());
    if (icon.isNull())
        icon = m_iconProvider.icon(QAbstractFileIconProvider::File);
    m_iconsBySuffix.insert(suffix, icon);
    return icon;
}

QVariant FolderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_folder || index.row() >= rowCount())
        return QVariant();
    const int column = index.column();
    if (const ProjectFolder *child = childFolderAt(index.row())) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return column == ColumnName ? QVariant(child->text()) : QVariant();
        case Qt::DecorationRole:
            return column == ColumnName ? QVariant(m_folderIcon) : QVariant();
        case StatusTextRole:
            return child->dane().SourceDir;
        case RecordedRole:
            return !m_project.IsModifiable(child);
        case IsFolderRole:
            return true;
        case LevelRole:
            return child->level();
        default:
            break;
        }
    } else {
        const int entryIndex = entryIndexAt(index.row());
        const FileEntry &entry = m_folder->files()[entryIndex];
        switch (role) {
        case Qt::DisplayRole:
            if (column == ColumnName)
                return entry.name();
            if (const qint64 size = sizeOf(entryIndex); size >= 0)
                return QLocale().toString(size);
            return QStringLiteral("?");
        case Qt::EditRole:
            return column == ColumnName ? QVariant(entry.name()) : QVariant();
        case Qt::DecorationRole:
            return column == ColumnName ? QVariant(iconOf(entryIndex)) : QVariant();
        case StatusTextRole:
            return entry.sourcePath();
        case RecordedRole:
            return !m_project.IsModifiable(m_folder, entryIndex);
        case IsFolderRole:
            return false;
        case LevelRole:
            return -1;
        case SizeRole:
            return sizeOf(entryIndex);
        default:
            break;
        }
    }
    if (role == Qt::TextAlignmentRole && column == ColumnSize)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

QVariant FolderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (role == Qt::DisplayRole) {
        if (section == ColumnName)
            return QStringLiteral("File to record");
        if (section == ColumnSize)
            return QStringLiteral("Size");
    }
    if (role == Qt::TextAlignmentRole && section == ColumnSize)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

Qt::ItemFlags FolderListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !m_folder)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_rename && index.column() == ColumnName && !m_project.isReadOnly()) {
        const ProjectFolder *child = childFolderAt(index.row());
        const bool modifiable = child ? m_project.IsModifiable(child)
                                      : m_project.IsModifiable(m_folder, entryIndexAt(index.row()));
        if (modifiable)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

bool FolderListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !m_rename || !index.isValid() || index.column() != ColumnName)
        return false;
    return m_rename(index, value.toString());
}

} // namespace quillon
