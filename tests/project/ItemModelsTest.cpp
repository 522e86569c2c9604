// The tree and list models of the Data CD page, and how they follow the project.
#include "ProjectFixture.h"
#include "project/FolderListModel.h"
#include "project/ProjectTreeModel.h"

#include <QIcon>
#include <QLocale>

namespace quillon::test {
namespace {

// Counts the rows the model announced, so that a test sees whether each change came as an
// insert, a removal, a move or a reset, and checks that the row counts agree with it.
class RowLog : public QObject {
public:
    explicit RowLog(QAbstractItemModel &model) : m_model(model)
    {
        connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, this,
                [this](const QModelIndex &p) { m_before = m_model.rowCount(p); });
        connect(&model, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &p, int first, int last) {
                    EXPECT_EQ(m_model.rowCount(p), m_before + last - first + 1) << "rows after an insert";
                    events << QStringLiteral("insert %1").arg(first);
                });
        connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                [this](const QModelIndex &p) { m_before = m_model.rowCount(p); });
        connect(&model, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &p, int first, int last) {
                    EXPECT_EQ(m_model.rowCount(p), m_before - (last - first + 1)) << "rows after a removal";
                    events << QStringLiteral("remove %1").arg(first);
                });
        connect(&model, &QAbstractItemModel::rowsMoved, this,
                [this](const QModelIndex &, int first, int, const QModelIndex &, int destination) {
                    events << QStringLiteral("move %1 %2").arg(first).arg(destination);
                });
        connect(&model, &QAbstractItemModel::modelReset, this, [this] { events << QStringLiteral("reset"); });
    }
    QStringList events;

private:
    QAbstractItemModel &m_model;
    int m_before = 0;
};

// Every index's parent leads back to where it came from, and the tree model mirrors the
// project's folders name by name.
void expectTreeMirrors(const ProjectTreeModel &model, const QModelIndex &parent, const ProjectFolder *folder)
{
    const int rows = model.rowCount(parent);
    const int expected = folder ? folder->childCount() : 0;
    ASSERT_EQ(rows, expected) << "children of " << (folder ? folder->text().toStdString() : "nothing");
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        ASSERT_TRUE(index.isValid());
        EXPECT_EQ(model.parent(index), parent);
        EXPECT_EQ(ProjectTreeModel::folderAt(index), folder->child(row));
        EXPECT_EQ(index.data().toString(), folder->child(row)->text());
        expectTreeMirrors(model, index, folder->child(row));
    }
}

void expectTreeMirrors(const ProjectTreeModel &model, const ProjectModel &project)
{
    ASSERT_EQ(model.rowCount(), project.root() ? 1 : 0);
    if (!project.root())
        return;
    const QModelIndex top = model.index(0, 0);
    EXPECT_EQ(model.parent(top), QModelIndex());
    EXPECT_EQ(top.data().toString(), project.root()->text());
    expectTreeMirrors(model, top, project.root());
}

QStringList listNames(const FolderListModel &model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.index(row, FolderListModel::ColumnName).data().toString();
    return out;
}

class ItemModels : public ProjectFixture {
protected:
    ItemModels()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        list.setSizeProbe([this](const QString &path) {
            ++probes;
            return sizes.value(path, -1);
        });
    }
    ~ItemModels() override { QLocale::setDefault(QLocale::c()); }

    ProjectTreeModel tree{project};
    FolderListModel list{project};
    QHash<QString, qint64> sizes;
    int probes = 0;
};

TEST_F(ItemModels, TreeShowsTheDiscAndItsFolders)
{
    RowLog log(tree);
    ProjectFolder *music = folder(root, "Music", "/home/u/Music");
    folder(root, "apps");
    folder(music, "Rock");
    expectTreeMirrors(tree, project);
    EXPECT_EQ(log.events, QStringList({"insert 0", "insert 0", "insert 0"}));

    const QModelIndex index = tree.indexOf(music);
    EXPECT_EQ(index.row(), 1) << "apps sorts before Music";
    EXPECT_EQ(tree.columnCount(), 1);
    EXPECT_EQ(index.data(StatusTextRole).toString(), "/home/u/Music");
    EXPECT_EQ(index.data(LevelRole).toInt(), 1);
    EXPECT_TRUE(index.data(Qt::DecorationRole).canConvert<QIcon>());
    EXPECT_TRUE(index.data(OpenIconRole).canConvert<QIcon>());
    EXPECT_FALSE(tree.flags(index).testFlag(Qt::ItemIsEditable)) << "no rename handler yet";
}

TEST_F(ItemModels, TreeFollowsRenamesRemovalsAndResets)
{
    ProjectFolder *a = folder(root, "a");
    folder(root, "b");
    ProjectFolder *c = folder(root, "c");
    folder(a, "inner");
    RowLog log(tree);

    project.RenameFolder(c, "0first");
    expectTreeMirrors(tree, project);
    project.RenameFolder(a, "zlast");
    expectTreeMirrors(tree, project);
    project.RemoveFolder(project.FindChildFolder(root, "b"));
    expectTreeMirrors(tree, project);
    EXPECT_EQ(log.events, QStringList({"move 2 0", "move 1 3", "remove 1"}));

    project.ResetProject();
    expectTreeMirrors(tree, project);
    project.NewDataProject("NEW", "CDROM");
    expectTreeMirrors(tree, project);
    EXPECT_EQ(log.events.mid(3), QStringList({"reset", "insert 0"}));
}

TEST_F(ItemModels, TreeHandsEditsToTheRenameHandler)
{
    ProjectFolder *a = folder(root, "a");
    tree.setRenameHandler([this](const QModelIndex &index, const QString &text) {
        project.RenameFolder(ProjectTreeModel::folderAt(index), text);
        return true;
    });
    const QModelIndex index = tree.indexOf(a);
    ASSERT_TRUE(tree.flags(index).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(tree.setData(index, "renamed"));
    EXPECT_EQ(a->text(), "renamed");

    project.setProjectKind(pkAddSession);
    a->dane().FromImage = true;
    EXPECT_FALSE(tree.flags(tree.indexOf(a)).testFlag(Qt::ItemIsEditable)) << "recorded folders stay";
    EXPECT_TRUE(tree.indexOf(a).data(RecordedRole).toBool());
}

TEST_F(ItemModels, ListShowsFoldersThenFiles)
{
    ProjectFolder *sub = folder(root, "Sub", "/src/Sub");
    project.AddFile(root, "b.txt", "/src/b.txt", 1234567);
    project.AddFile(root, "a.txt", "/src/a.txt", 10);
    project.AddFile(root, "gone.txt", "/src/gone.txt", 10);
    sizes = {{"/src/b.txt", 1234567}, {"/src/a.txt", 10}};
    list.setFolder(root);

    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), "File to record");
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), "Size");
    EXPECT_EQ(list.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(listNames(list), QStringList({"Sub", "a.txt", "b.txt", "gone.txt"}));

    auto cell = [&](int row, int column, int role = Qt::DisplayRole) {
        return list.index(row, column).data(role);
    };
    EXPECT_TRUE(cell(0, 1).toString().isEmpty()) << "a folder has no size";
    EXPECT_TRUE(cell(0, 0, IsFolderRole).toBool());
    EXPECT_EQ(cell(0, 0, StatusTextRole).toString(), "/src/Sub");
    EXPECT_EQ(list.childFolderAt(0), sub);
    EXPECT_EQ(cell(1, 1).toString(), "10");
    EXPECT_EQ(cell(2, 1).toString(), "1,234,567") << "the locale's thousands separator";
    EXPECT_EQ(cell(3, 1).toString(), "?") << "a file that cannot be found";
    EXPECT_EQ(cell(2, 1, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(cell(2, 0, StatusTextRole).toString(), "/src/b.txt");
    EXPECT_EQ(list.entryIndexAt(2), 1);
    EXPECT_TRUE(cell(3, 0, Qt::DecorationRole).canConvert<QIcon>());
    EXPECT_FALSE(cell(2, 0, RecordedRole).toBool());
}

TEST_F(ItemModels, ListReadsSizesOnlyForRowsAskedFor)
{
    {
        ProjectModel::FillGuard fill(project, root);
        for (int i = 0; i < 1000; ++i)
            project.AddFile(root, QStringLiteral("f%1").arg(i, 4, 10, QLatin1Char('0')), "/s/f", 1);
    }
    sizes = {{"/s/f", 42}};
    list.setFolder(root);
    EXPECT_EQ(list.rowCount(), 1000);
    EXPECT_EQ(probes, 0);
    EXPECT_EQ(list.index(5, 1).data().toString(), "42");
    list.index(5, 1).data();
    list.index(5, 0).data(Qt::DecorationRole);
    EXPECT_EQ(probes, 1) << "one look per row until refreshed";
    list.refreshSizes();
    list.index(5, 1).data();
    EXPECT_EQ(probes, 2);
}

TEST_F(ItemModels, ListInDiscImageAndMultisessionProjects)
{
    project.setProjectKind(pkDiscImage);
    project.AddFileEntry(root, "DATA.BIN", "/DATA.BIN", 7654321);
    list.setFolder(root);
    EXPECT_EQ(list.index(0, 1).data().toString(), "7,654,321") << "the size comes from the listing";
    EXPECT_EQ(probes, 0);

    project.ResetProject();
    root = project.NewDataProject("MS", "CDROM");
    project.setProjectKind(pkAddSession);
    ProjectFolder *old = folder(root, "OLD", "/OLD/");
    old->dane().FromImage = true;
    project.AddFileEntry(root, "OLD.TXT", "/OLD.TXT", 1);
    project.AddFile(root, "new.txt", "/s/new.txt", 5);
    list.setFolder(root);
    EXPECT_EQ(listNames(list), QStringList({"OLD", "new.txt", "OLD.TXT"}));
    EXPECT_TRUE(list.index(0, 0).data(RecordedRole).toBool());
    EXPECT_FALSE(list.index(1, 0).data(RecordedRole).toBool());
    EXPECT_TRUE(list.index(2, 0).data(RecordedRole).toBool());
}

TEST_F(ItemModels, ListFollowsTheShownFolder)
{
    ProjectFolder *a = folder(root, "A");
    ProjectFolder *other = folder(root, "Other");
    project.AddFile(a, "m", "/s/m", 1);
    list.setFolder(a);
    RowLog log(list);

    project.AddFile(a, "b", "/s/b", 1);
    project.AddFile(other, "x", "/s/x", 1); // not shown
    folder(a, "Sub");
    EXPECT_EQ(listNames(list), QStringList({"Sub", "b", "m"}));
    project.RenameFile(a, project.FindFileEntry(a, "b"), "z");
    EXPECT_EQ(listNames(list), QStringList({"Sub", "m", "z"}));
    project.RemoveFile(a, project.FindFileEntry(a, "m"));
    EXPECT_EQ(listNames(list), QStringList({"Sub", "z"}));
    {
        ProjectModel::FillGuard fill(project, a);
        project.AddFile(a, "c", "/s/c", 1);
        project.AddFile(a, "a", "/s/a", 1);
    }
    EXPECT_EQ(listNames(list), QStringList({"Sub", "a", "c", "z"}));
    project.RemoveFolder(project.FindChildFolder(a, "sub"));
    EXPECT_EQ(log.events, QStringList({"insert 0", "insert 0", "move 1 3", "remove 1", "insert 2", "insert 3",
                                       "reset", "remove 0"}));

    project.RemoveFolder(a);
    EXPECT_EQ(list.folder(), nullptr) << "the shown folder went away";
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(log.events.last(), "reset");
}

TEST_F(ItemModels, ListForgetsTheFolderOnReset)
{
    project.AddFile(root, "a", "/s/a", 1);
    list.setFolder(root);
    project.ResetProject();
    EXPECT_EQ(list.folder(), nullptr);
    EXPECT_EQ(list.rowCount(), 0);
}

} // namespace
} // namespace quillon::test
