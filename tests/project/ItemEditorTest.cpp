// Renaming, removing and refreshing items, and where an item comes from.
#include "project/ItemEditor.h"
#include "ProjectFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace quillon::test {
namespace {

class ItemEditorTest : public ProjectFixture {
protected:
    ItemEditor editor{project, prompter};
};

TEST_F(ItemEditorTest, RenamingToANameTakenInTheFolderIsRefused)
{
    ProjectFolder *docs = folder(root, "Docs");
    folder(root, "Music");
    project.AddFile(root, "a.txt", "/src/a.txt", 10);
    project.AddFile(root, "b.txt", "/src/b.txt", 10);

    struct Case {
        const char *what;
        std::function<ItemEditor::EditResult()> rename;
        ItemEditor::EditResult expected;
        QString message;
    };
    const QString clash = " already exists in this folder. Please rename it.";
    const QList<Case> cases = {
        {"a file onto another file",
         [&] { return editor.renameFile(root, project.FindFileEntry(root, "a.txt"), "B.TXT"); },
         ItemEditor::EditResult::Refused, "B.TXT" + clash},
        {"a file onto a folder",
         [&] { return editor.renameFile(root, project.FindFileEntry(root, "a.txt"), "music"); },
         ItemEditor::EditResult::Refused, "music" + clash},
        {"a folder onto a file", [&] { return editor.renameFolder(docs, " a.txt "); },
         ItemEditor::EditResult::Refused, "a.txt" + clash},
        {"a folder's letter case",
         [&] { return editor.renameFolder(docs, "DOCS"); },
         ItemEditor::EditResult::Renamed,
         {}},
        {"a file to a free name",
         [&] { return editor.renameFile(root, project.FindFileEntry(root, "a.txt"), "c.txt"); },
         ItemEditor::EditResult::Renamed,
         {}},
        {"a forbidden character", [&] { return editor.renameFolder(docs, "x|y"); },
         ItemEditor::EditResult::Unchanged,
         "Name cannot contain any of these characters:\r\n? * | \" < > / \\ :"},
    };
    for (const Case &c : cases) {
        prompter.clear();
        EXPECT_EQ(c.rename(), c.expected) << c.what;
        if (c.message.isEmpty()) {
            EXPECT_TRUE(prompter.requests().isEmpty()) << c.what;
            continue;
        }
        ASSERT_EQ(prompter.requests().size(), 1) << c.what;
        EXPECT_EQ(prompter.requests()[0].text, c.message) << c.what;
        EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Warning) << c.what;
        if (c.expected == ItemEditor::EditResult::Refused)
            EXPECT_EQ(prompter.requests()[0].caption, "Duplicate name") << c.what;
    }
    EXPECT_EQ(docs->text(), "DOCS");
    EXPECT_GE(project.FindFileEntry(root, "c.txt"), 0);
    EXPECT_EQ(root->files()[project.FindFileEntry(root, "c.txt")].sourcePath(), "/src/a.txt");
    EXPECT_TRUE(project.ProjectModified);
}

TEST_F(ItemEditorTest, TheRootTakesSixteenCharacters)
{
    EXPECT_EQ(editor.renameFolder(root, "MY_VERY_LONG_DISC_NAME"), ItemEditor::EditResult::Renamed);
    EXPECT_EQ(root->text(), "MY_VERY_LONG_DIS");
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "Disc name can contain max 16 characters!");
}

TEST_F(ItemEditorTest, RemovingAFolderSubtractsEverySizeBelowIt)
{
    project.AddFile(root, "keep.bin", "/src/keep.bin", 5000);
    ProjectFolder *a = folder(root, "A");
    ProjectFolder *b = folder(a, "B");
    project.AddFile(a, "one.bin", "/src/one.bin", 3000);
    project.AddFile(b, "two.bin", "/src/two.bin", 0);
    ASSERT_EQ(project.DataSectors(), 3 + 2 + 1);
    prompter.answer({pbYes});
    ASSERT_TRUE(editor.confirmRemove());
    EXPECT_EQ(prompter.requests()[0].text,
              "Do you wish to remove selected files / folders from recording list?");
    EXPECT_EQ(prompter.requests()[0].caption, "Warning");
    EXPECT_TRUE(editor.removeFolder(a));
    EXPECT_EQ(project.DataSectors(), 3);
    EXPECT_EQ(project.DataBytes(), 5000);
    EXPECT_EQ(root->childCount(), 0);
    EXPECT_FALSE(root->dane().NameSet.contains("A"));
    EXPECT_TRUE(editor.removeFile(root, 0));
    EXPECT_EQ(project.DataBytes(), 0);
}

TEST_F(ItemEditorTest, RecordedItemsAreNeitherRenamedRemovedNorDroppedByRefresh)
{
    QTemporaryDir tmp;
    const QString here = tmp.filePath("here.txt");
    QFile f(here);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();

    project.setProjectKind(pkAddSession);
    ProjectFolder *old = folder(root, "OLD", "/OLD/");
    old->dane().FromImage = true;
    project.AddFileEntry(old, "rec.txt", "/OLD/rec.txt", 1);
    ProjectFolder *gone = folder(root, "GONE", tmp.filePath("gone"));
    project.AddFile(gone, "x.bin", tmp.filePath("gone/x.bin"), 4096);
    project.AddFile(root, "here.txt", here, 100);
    project.AddFile(root, "missing.txt", tmp.filePath("missing.txt"), 100);

    EXPECT_FALSE(editor.removeFolder(old));
    EXPECT_FALSE(editor.removeFile(old, 0));
    EXPECT_EQ(prompter.requests().size(), 2) << "each refusal is reported";

    prompter.clear();
    prompter.answer({pbYes});
    EXPECT_EQ(editor.refresh(), ItemEditor::RefreshResult::Refreshed);
    EXPECT_EQ(prompter.requests()[0].text,
              "All files and folders that do not exist will be removed. Do you wish to continue?");
    EXPECT_EQ(prompter.requests()[0].caption, "Reread files to record");
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0), old) << "the recorded folder stays though its source is not on disk";
    EXPECT_EQ(old->files().count(), 1);
    EXPECT_EQ(root->files().count(), 1);
    EXPECT_EQ(root->files()[0].name(), "here.txt");
    EXPECT_EQ(project.DataBytes(), 100) << "only the file on disk counts";

    QString kind;
    EXPECT_TRUE(editor.diskLocation(old, -1, &kind).isEmpty());
    EXPECT_EQ(kind, "Folder");
    EXPECT_EQ(prompter.requests().last().text,
              "This folder is from opened ISO image. It cannot be located on disk.");
    EXPECT_EQ(editor.diskLocation(root, 0, &kind), here);
    EXPECT_EQ(kind, "File");
}

} // namespace
} // namespace quillon::test
