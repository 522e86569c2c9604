#pragma once
// The folder tree of the Data CD page (TreeCD): one column, the root node is the disc.
#include "project/ProjectItemRoles.h"

#include <QAbstractItemModel>
#include <QIcon>

namespace quillon {

class ProjectFolder;
class ProjectModel;

class ProjectTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit ProjectTreeModel(ProjectModel &project, QObject *parent = nullptr);

    void setFolderIcons(const QIcon &closed, const QIcon &open);
    // Makes names editable; setData hands every edit to the handler.
    void setRenameHandler(RenameHandler handler) { m_rename = std::move(handler); }

    QModelIndex indexOf(const ProjectFolder *folder) const;
    static ProjectFolder *folderAt(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    void connectProject();
    void announceRows(const QModelIndex &parent, const QList<int> &roles);

    ProjectModel &m_project;
    QIcon m_closed;
    QIcon m_open;
    RenameHandler m_rename;
    bool m_resetting = false;
};

} // namespace quillon
