// The project file commands in the running main window: the unsaved-project question in front
// of New, Open and Close, saving and loading under the busy dialog, the caption and the
// "&Reopen" list with its settings section.
#include "AppFixture.h"

#include "app/DlgNewU.h"
#include "app/JobCommands.h"

#include "app/ProjectFileCommands.h"
#include "project/FolderListModel.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "settings/IniStore.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTreeView>
#include <deque>

namespace quillon::test {
namespace {

struct ScriptedFileDialogs : ProjectFileAsker {
    std::deque<QString> saveNames;
    std::deque<QString> openNames;
    static bool next(std::deque<QString> &names, QString &path)
    {
        if (names.empty())
            return false;
        path = names.front();
        names.pop_front();
        return !path.isEmpty();
    }
    bool askSaveFileName(QString &path) override { return next(saveNames, path); }
    bool askOpenFileName(QString &path) override { return next(openNames, path); }
};

class ProjectFileCommandsTest : public AppFixture {
protected:
    ProjectFileCommandsTest() { services.projectGuard = nullptr; } // the program's own question

    ProjectFileCommands &start()
    {
        startProgram();
        form = program->mainForm();
        commands = form->fileCommands();
        commands->setAsker(&dialogs);
        // New asks for the kind of task: a data project.
        form->jobCommands()->newTaskHook = [](TDlgNew &) { return int(QDialog::Accepted); };
        return *commands;
    }
    QStringList reopenEntries() const
    {
        QStringList out;
        for (QAction *a : commands->ReopenMenu->actions())
            if (!a->isSeparator())
                out << a->text();
        return out;
    }
    // A saved data project with two files that exist and one that does not.
    QString savedProject()
    {
        ProjectModel &project = form->project();
        for (const char *name : {"one.txt", "two.txt"}) {
            QFile f(dir.filePath(name));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(3000, 'x'));
            f.close();
            project.AddFile(project.root(), QLatin1String(name), dir.filePath(name), 3000);
        }
        project.AddFileEntry(project.root(), QStringLiteral("gone.txt"), QStringLiteral("C:\\gone.txt"), 0);
        project.ProjectModified = true;
        const QString file = dir.filePath("saved.qlp");
        dialogs.saveNames = {file};
        EXPECT_TRUE(commands->ProjectSaveExecute());
        return file;
    }

    ScriptedFileDialogs dialogs;
    TMainForm *form = nullptr;
    ProjectFileCommands *commands = nullptr;
};

TEST_F(ProjectFileCommandsTest, TheFileMenuComesFirstWithTheReopenList)
{
    start();
    QStringList items;
    for (QAction *a : commands->FileMenu->actions())
        if (!a->isSeparator())
            items << a->text();
    EXPECT_EQ(items, (QStringList{"&New...", "&Open Project...", "&Save Project", "Save Project &as...",
                                  "&Reopen", "&Properties...", "E&xit"}));
    EXPECT_EQ(reopenEntries(), (QStringList{"&Clear MRU List", "&Remove Obsolete"}));
    ASSERT_FALSE(form->menuBar()->actions().isEmpty());
    EXPECT_EQ(form->menuBar()->actions().first(), commands->FileMenu->menuAction()) << "File is the first menu";
    EXPECT_EQ(commands->ProjectNew->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(commands->ProjectLoad->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(commands->ProjectSave->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(form->windowTitle(), "Quillon - Untitled");
}

TEST_F(ProjectFileCommandsTest, SavingNamesTheWindowAndTheRecentListKeepsItInTheSettings)
{
    start();
    const QString file = savedProject();
    EXPECT_EQ(form->windowTitle(), "Quillon - saved.qlp");
    EXPECT_EQ(reopenEntries().value(0), "&1 " + file);
    EXPECT_EQ(program->settings().value("MRU Items", "F0", QString()), file);
    commands->ClearMRUList->trigger();
    EXPECT_FALSE(program->settings().hasSection("MRU Items"));
    EXPECT_EQ(reopenEntries().size(), 2);
}

TEST_F(ProjectFileCommandsTest, TheRecentListComesBackFromTheSettingsFile)
{
    IniStore ini;
    ini.setValue("MRU Items", "F0", "/p/a.qlp");
    ini.setValue("MRU Items", "F1", "/p/b.qlp");
    ASSERT_TRUE(ini.save(services.paths.settingsFile()));
    start();
    EXPECT_EQ(commands->files().recentFiles().items(), (QStringList{"/p/a.qlp", "/p/b.qlp"}));
    commands->RemoveObsolete->trigger();
    EXPECT_TRUE(commands->files().recentFiles().items().isEmpty()) << "neither file exists";
}

TEST_F(ProjectFileCommandsTest, LoadingUnderTheBusyDialogShowsTheTreeAndRecountsFromTheDisk)
{
    start();
    const QString file = savedProject();
    commands->ProjectNewExecute();
    ASSERT_EQ(form->project().root()->files().count(), 0);

    dialogs.openNames = {file};
    commands->ProjectLoad->trigger();
    settleUntil([this] { return form->LblTotal->text() != "0 MB"; });
    ProjectModel &project = form->project();
    EXPECT_EQ(project.ProjectFileName, file);
    EXPECT_EQ(form->windowTitle(), "Quillon - saved.qlp");
    EXPECT_FALSE(project.ProjectModified);
    EXPECT_EQ(project.DataBytes(), 6000) << "the Windows path is missing here and not counted";
    EXPECT_EQ(ProjectTreeModel::folderAt(form->TreeCD->currentIndex()), project.root());
    ASSERT_EQ(form->listModel()->rowCount(), 3);
    EXPECT_EQ(form->listModel()->index(0, FolderListModel::ColumnName).data().toString(), "gone.txt");
    EXPECT_EQ(form->listModel()->index(0, FolderListModel::ColumnSize).data().toString(), "?");
    EXPECT_TRUE(prompter.requests().isEmpty()) << prompter.texts().join(" | ").toStdString();
}

TEST_F(ProjectFileCommandsTest, NewAndOpenAskAboutAModifiedProjectFirst)
{
    start();
    ProjectModel &project = form->project();
    project.AddFileEntry(project.root(), QStringLiteral("x"), QStringLiteral("/x"), 0);
    project.ProjectModified = true;

    prompter.answer({pbCancel});
    commands->ProjectNew->trigger();
    EXPECT_EQ(project.root()->files().count(), 1) << "Cancel keeps the project";
    prompter.answer({pbCancel});
    dialogs.openNames = {dir.filePath("never.qlp")};
    commands->ProjectLoad->trigger();
    EXPECT_EQ(dialogs.openNames.size(), 1u) << "the open dialog does not come after Cancel";

    prompter.answer({pbNo});
    commands->ProjectNew->trigger();
    EXPECT_EQ(project.root()->files().count(), 0) << "No discards it for a new data project";
    EXPECT_EQ(project.root()->text(), "Quillon CD");
    EXPECT_EQ(form->windowTitle(), "Quillon - Untitled");
    ASSERT_EQ(prompter.requests().size(), 3);
    for (const PromptRequest &q : prompter.requests()) {
        EXPECT_EQ(q.text, "Project has been modified. Do you wish to save it?");
        EXPECT_EQ(q.caption, "Project not saved");
    }
}

TEST_F(ProjectFileCommandsTest, ClosingAsksAboutAModifiedProjectAndCancelKeepsTheWindow)
{
    start();
    form->project().ProjectModified = true;
    prompter.answer({pbCancel});
    EXPECT_FALSE(closeProgram());
    EXPECT_EQ(prompter.texts(), QStringList{"Project has been modified. Do you wish to save it?"});
    prompter.answer({pbNo});
    EXPECT_TRUE(closeProgram());
}

TEST_F(ProjectFileCommandsTest, SaveIsOffInADiscImageProject)
{
    start();
    form->project().setProjectKind(pkDiscImage);
    EXPECT_FALSE(commands->ProjectSave->isEnabled());
    EXPECT_FALSE(commands->ProjectSaveAs->isEnabled());
    form->project().setProjectKind(pkData);
    EXPECT_TRUE(commands->ProjectSave->isEnabled());
}

} // namespace
} // namespace quillon::test
