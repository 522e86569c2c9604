#pragma once
// The list of the Data CD page (ListCD): one folder at a time, first its child folders in tree
// order, then its file entries in list order. Columns "File to record" and "Size".
//
// Sizes and icons are read only for the rows a view asks for, once per row until the folder
// is shown again or refreshSizes() is called.
#include "project/ProjectItemRoles.h"

#include <QAbstractTableModel>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <vector>

namespace quillon {

class ProjectFolder;
class ProjectModel;

class FolderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColumnName = 0, ColumnSize = 1, ColumnCount = 2 };
    // The current size of a source file, -1 when it cannot be found.
    using SizeProbe = std::function<qint64(const QString &sourcePath)>;

    explicit FolderListModel(ProjectModel &project, QObject *parent = nullptr);

    void setFolder(ProjectFolder *folder);
    ProjectFolder *folder() const { return m_folder; }
    void setFolderIcon(const QIcon &icon);
    void setSizeProbe(SizeProbe probe);
    void setRenameHandler(RenameHandler handler) { m_rename = std::move(handler); }
    // Reads the sizes and icons again (the files may have changed on disk).
    void refreshSizes();

    // Row helpers: a row is a child folder or a file entry of the shown folder.
    ProjectFolder *childFolderAt(int row) const;
    int entryIndexAt(int row) const; // -1 for a folder row
    int rowOfEntry(int entryIndex) const;
    int rowOfChildFolder(const ProjectFolder *child) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    struct RowCache {
        static constexpr qint64 unread = -2;
        qint64 size = unread;
        QIcon icon;
        bool iconRead = false;
    };

    void connectProject();
    int childCount() const;
    RowCache &cacheFor(int entryIndex) const;
    qint64 sizeOf(int entryIndex) const;
    QIcon iconOf(int entryIndex) const;
    QIcon iconByName(const QString &name) const;
    void clearCache();
    void announceAllRows();

    ProjectModel &m_project;
    ProjectFolder *m_folder = nullptr;
    QIcon m_folderIcon;
    SizeProbe m_probe;
    RenameHandler m_rename;
    mutable std::vector<RowCache> m_cache; // one per file entry of the shown folder
    mutable QHash<QString, QIcon> m_iconsBySuffix;
    mutable QFileIconProvider m_iconProvider;
    // The begin call made for the project's current about-to signal, closed by its pair.
    enum class Pending { None, Insert, Remove, Move, Reset };
    Pending m_pending = Pending::None;
    bool m_resetting = false;
};

} // namespace quillon
