// The Data CD page's commands through the main window: paste, rename in the list, delete,
// go to disk into the local pane, and the pane's own commands.
#include "AppFixture.h"

#include "../project/ScriptedRenameAsker.h"
#include "app/DataPage.h"
#include "app/LocalPane.h"
#include "project/FolderListModel.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "support/ScriptedNotExistsAsker.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

namespace quillon::test {
namespace {

class DataPageTest : public AppFixture {
protected:
    void SetUp() override
    {
        startProgram();
        form = program->mainForm();
        page = form->dataPage();
        ASSERT_NE(page, nullptr);
        page->setAskers(&renamer, &notExists);
        disk = dir.filePath("disk");
        QDir().mkpath(disk + "/album");
        writeFile(disk + "/album/one.txt", 3000);
        writeFile(disk + "/album/two.txt", 10);
        writeFile(disk + "/loose.txt", 1);
    }
    static void writeFile(const QString &path, int bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(bytes, 'x'));
    }
    void pasteAndWait(QMimeData *data)
    {
        QGuiApplication::clipboard()->setMimeData(data);
        form->ListCD->setFocus();
        page->PasteExecute();
        settleUntil([this] { return !page->TimerDrop->isActive() && form->BusyFinished; });
        settle(50);
    }

    TMainForm *form = nullptr;
    TDataPage *page = nullptr;
    ScriptedRenameAsker renamer;
    ScriptedNotExistsAsker notExists;
    QString disk;
};

TEST_F(DataPageTest, ClipboardPathsAreReadFromUriListsAndText)
{
    auto *urls = new QMimeData;
    urls->setUrls({QUrl::fromLocalFile("/a/b"), QUrl("https://example.org/x")});
    EXPECT_EQ(TDataPage::pathsFromMime(urls), QStringList({"/a/b"})) << "only local files count";
    QMimeData text;
    text.setText("file:///c/d%20e\n/f/g\nnot a path\n");
    EXPECT_EQ(TDataPage::pathsFromMime(&text), QStringList({"/c/d e", "/f/g"}));
    delete urls;
}

TEST_F(DataPageTest, PastedFilesAreAddedAndCounted)
{
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(disk + "/album"), QUrl::fromLocalFile(disk + "/loose.txt")});
    pasteAndWait(data);
    ProjectModel &project = form->project();
    ProjectFolder *root = project.root();
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(), "album");
    EXPECT_EQ(root->child(0)->files().count(), 2);
    EXPECT_EQ(root->files().count(), 1);
    EXPECT_EQ(project.DataBytes(), 3011);
    EXPECT_TRUE(prompter.requests().isEmpty()) << prompter.texts().join('|').toStdString();
    EXPECT_TRUE(QFileInfo::exists(services.paths.dataDir() + "/changed.txt")) << "the change log is written";
}

TEST_F(DataPageTest, RenamingInTheListRefusesATakenNameAndRemovingSubtracts)
{
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(disk + "/album")});
    pasteAndWait(data);
    ProjectFolder *album = form->project().root()->child(0);
    ASSERT_NE(album, nullptr);
    form->TreeCD->setCurrentIndex(form->treeModel()->indexOf(album));
    FolderListModel *list = form->listModel();
    ASSERT_EQ(list->folder(), album);
    const int row = list->rowOfEntry(form->project().FindFileEntry(album, "one.txt"));
    EXPECT_FALSE(list->setData(list->index(row, 0), "TWO.txt"));
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "TWO.txt already exists in this folder. Please rename it.");
    EXPECT_EQ(prompter.requests()[0].caption, "Duplicate name");
    EXPECT_TRUE(list->setData(list->index(row, 0), "three.txt"));
    EXPECT_GE(form->project().FindFileEntry(album, "three.txt"), 0);
    settle(50);

    prompter.clear();
    prompter.answer({pbYes});
    form->ListCD->selectAll();
    page->PopupDeleteExecute();
    EXPECT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text,
              "Do you wish to remove selected files / folders from recording list?");
    EXPECT_EQ(album->files().count(), 0);
    EXPECT_EQ(form->project().DataBytes(), 0) << "both files' sizes leave the totals";
}

TEST_F(DataPageTest, GoToDiskSelectsTheSourceInTheLocalPane)
{
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(disk + "/loose.txt")});
    pasteAndWait(data);
    form->ListCD->setFocus();
    form->ListCD->setCurrentIndex(form->listModel()->index(0, 0));
    page->PopupGoToHDDExecute();
    EXPECT_EQ(page->LocalPane->currentFolder(), disk);
    settleUntil([this] { return page->LocalPane->selectedPaths() == QStringList({disk + "/loose.txt"}); });
    EXPECT_EQ(page->LocalPane->selectedPaths(), QStringList({disk + "/loose.txt"}));

    QFile::remove(disk + "/loose.txt");
    page->GoToDisk(disk + "/loose.txt", "File");
    ASSERT_FALSE(prompter.requests().isEmpty());
    EXPECT_EQ(prompter.requests().last().text, "File " + disk + "/loose.txt doesn't exist!");
}

TEST_F(DataPageTest, LocalPaneGoesUpCreatesFoldersAndDeletesPermanently)
{
    TLocalPane *pane = page->LocalPane;
    ASSERT_TRUE(pane->setFolder(disk + "/album"));
    pane->BtnUpClick();
    EXPECT_EQ(pane->currentFolder(), disk);
    EXPECT_TRUE(pane->CreateFolder(" new/deeper "));
    EXPECT_TRUE(QFileInfo(disk + "/new/deeper").isDir());

    writeFile(disk + "/blocker", 1);
    EXPECT_FALSE(pane->CreateFolder("blocker/x"));
    ASSERT_FALSE(prompter.requests().isEmpty());
    EXPECT_EQ(prompter.requests().last().text, "I can't create folder " + disk + "/blocker/x");
    EXPECT_EQ(prompter.requests().last().caption, "Error creating folder");

    ASSERT_TRUE(pane->setFolder(disk, "blocker"));
    settleUntil([&] { return !pane->selectedPaths().isEmpty(); });
    ASSERT_EQ(pane->selectedPaths(), QStringList({disk + "/blocker"}));
    prompter.answer({pbYes});
    pane->DeleteSelected(true);
    EXPECT_FALSE(QFileInfo::exists(disk + "/blocker"));

    pane->setFolder(QDir::rootPath());
    EXPECT_FALSE(pane->ActUp->isEnabled()) << "no way up from the root";
}

} // namespace
} // namespace quillon::test
