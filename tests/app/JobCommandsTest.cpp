// The main window's Build image and Record commands for a data project: the questions before
// the dialog, the dialog's set-up, and what is read back into the project afterwards.
#include "AppFixture.h"

#include "app/JobCommands.h"
#include "engine/DlgConsoleU.h"
#include "project/ProjectModel.h"
#include "settings/DlgOptionsU.h"
#include "settings/OptionsModel.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QLocale>
#include <QRadioButton>
#include <QToolButton>

namespace quillon::test {
namespace {

class JobCommandsTest : public AppFixture {
protected:
    void SetUp() override
    {
        startProgram();
        form = program->mainForm();
        commands = form->jobCommands();
        ASSERT_NE(commands, nullptr);
        commands->execHook = [this](TDlgConsole &d) {
            ++shown;
            return inDialog ? inDialog(d) : int(QDialog::Rejected);
        };
        prompter.clear();
    }
    void addFolder(const QString &name)
    {
        form->project().AddFolderNode(form->project().root(), name);
        form->project().ProjectModified = false;
    }
    QString tempImage() const { return QDir::toNativeSeparators(QDir::tempPath() + "/Quillon.iso"); }

    TMainForm *form = nullptr;
    JobCommands *commands = nullptr;
    int shown = 0;
    std::function<int(TDlgConsole &)> inDialog;
};

TEST_F(JobCommandsTest, TheDiscMenuHoldsRecordAndBuildImage)
{
    QStringList items;
    for (QAction *a : commands->DiscMenu->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"Record", "&Build ISO Image...", "Erase CD-R&W Disc...", "Copy &Data CD...",
                                  "&Fixate (Close) Disc...", "&Eject / Close Tray"}));
    EXPECT_EQ(commands->DiscRecord->shortcut(), QKeySequence("Ctrl+R"));
}

TEST_F(JobCommandsTest, AnEmptyProjectAsksFirstAndNoStopsTheCommand)
{
    prompter.answer({pbNo});
    commands->DiscBuildISOExecute();
    EXPECT_EQ(prompter.texts(), QStringList{"There are no folders nor files in this project. Do you wish to continue?"});
    EXPECT_EQ(prompter.requests().first().caption, "Empty project");
    EXPECT_EQ(shown, 0);
}

TEST_F(JobCommandsTest, FoldersTooDeepAskWithTheirLevel)
{
    form->optionsDialog()->model().setChkDeep(false);
    ProjectFolder *f = form->project().root();
    for (int i = 0; i < 9; ++i)
        f = form->project().AddFolderNode(f, QString("level %1").arg(i + 1));
    prompter.answer({pbCancel});
    commands->DiscRecordExecute();
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests().first().caption, "Folders nested 9 levels");
    EXPECT_EQ(prompter.requests().first().text,
              "Folders deeper than 8 levels will NOT be added. Do you wish to continue?");
    EXPECT_EQ(shown, 0);
}

TEST_F(JobCommandsTest, BuildImageSetsUpTheDialogAndReadsTheNamesBack)
{
    addFolder("Docs");
    const QString rootName = form->project().root()->text();
    inDialog = [&](TDlgConsole &d) {
        EXPECT_TRUE(d.windowTitle().startsWith("Build ISO image of data CD - ")) << d.windowTitle().toStdString();
        EXPECT_EQ(d.FJobType, jtBuildImage);
        EXPECT_FALSE(d.PanelRecord->isVisible());
        EXPECT_FALSE(d.ChkOnTheFly->isVisible());
        EXPECT_FALSE(d.ChkDeleteISO->isVisible());
        EXPECT_TRUE(d.RadioCreateISO->isChecked());
        EXPECT_TRUE(d.EditFile->isEnabled());
        EXPECT_EQ(d.EditName->text(), rootName);
        EXPECT_TRUE(d.EditCmdLn->text().startsWith("mkisofs ")) << d.EditCmdLn->text().toStdString();
        d.EditName->setText("ARCHIVE");
        d.EditFile->setText(dir.filePath("archive.iso"));
        return int(QDialog::Rejected);
    };
    commands->DiscBuildISOExecute();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(prompter.requests().isEmpty());
    EXPECT_EQ(form->project().root()->text(), "ARCHIVE");
    EXPECT_EQ(form->project().ImageFile, dir.filePath("archive.iso"));
    EXPECT_TRUE(form->project().ProjectModified);
}

TEST_F(JobCommandsTest, RecordWithoutDrivesStopsAtStartAndTheTemporaryImageDoesNotCount)
{
    addFolder("Docs");
    form->optionsDialog()->model().setEditTmpFile(QString());
    inDialog = [&](TDlgConsole &d) {
        EXPECT_EQ(d.FJobType, jtDataDisc);
        EXPECT_TRUE(d.windowTitle().startsWith("Record disc - "));
        EXPECT_EQ(d.RadioCreateISO->text(), "First create ISO image");
        EXPECT_EQ(d.EditFile->text(), tempImage());
        d.BtnStartClick();
        return int(QDialog::Rejected);
    };
    commands->DiscRecordExecute();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(prompter.texts(), QStringList{"You have not any CD/DVD drive installed."});
    EXPECT_EQ(form->project().ImageFile, tempImage());
    EXPECT_FALSE(form->project().ProjectModified);
}

} // namespace
} // namespace quillon::test

#include "engine/DlgProjectNfoU.h"

#include <QTabWidget>

namespace quillon::test {
namespace {

TEST_F(JobCommandsTest, PropertiesShowTheProjectAndWriteTheNamesBack)
{
    addFolder("Docs");
    form->project().AlbumTitle = "Old title";
    const QDateTime before = QDateTime::currentDateTime().addSecs(-61);
    commands->propertiesHook = [&](TDlgProjectNfo &d) {
        EXPECT_EQ(d.windowTitle(), "Project properties");
        EXPECT_EQ(d.Pages->currentWidget(), d.TabDataCd);
        EXPECT_EQ(d.EditDataProjFile->text(), "Untitled");
        EXPECT_EQ(d.EditAudioProjFile->text(), "Untitled");
        EXPECT_EQ(d.EditDirs->text(), "1");
        EXPECT_EQ(d.EditDataSize->text(), form->LblTotal->text());
        // Never saved: both times are now.
        const QDateTime shown = QLocale().toDateTime(d.EditDataProjCreated->text(), QLocale::ShortFormat);
        EXPECT_TRUE(shown.isValid() && shown >= before) << d.EditDataProjCreated->text().toStdString();
        EXPECT_EQ(d.EditDataProjModif->text(), d.EditDataProjCreated->text());
        EXPECT_FALSE(d.EditName->isReadOnly());
        d.EditName->setText("A NAME OF 20 CHARS.");
        d.EditAudioPerformer->setText("  Someone  ");
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(commands->Properties4aClick());
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests().first().text, "Disc name can contain max 16 characters!");
    EXPECT_EQ(prompter.requests().first().caption, "Name too long");
    EXPECT_EQ(form->project().root()->text(), "A NAME OF 20 CHA");
    EXPECT_EQ(form->project().AlbumPerformer, "Someone");
    EXPECT_EQ(form->project().AlbumTitle, "Old title");
    EXPECT_TRUE(form->project().ProjectModified);
    EXPECT_TRUE(form->project().TitlesChanged);
}

TEST_F(JobCommandsTest, OnlyAChangedNameMarksTheProjectAndCancelKeepsEverything)
{
    addFolder("Docs");
    const QString root = form->project().root()->text();
    struct {
        const char *name;
        int result;
        QString performer;
        bool modified;
    } cases[] = {
        {"OK with nothing changed", QDialog::Accepted, "", false},
        {"OK with only the performer changed", QDialog::Accepted, "The Band", true},
        {"Cancel with the performer changed", QDialog::Rejected, "Other", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        form->project().ProjectModified = false;
        form->project().AlbumPerformer.clear();
        commands->propertiesHook = [&](TDlgProjectNfo &d) {
            d.EditAudioPerformer->setText(c.performer);
            return c.result;
        };
        EXPECT_EQ(commands->Properties4aClick(), c.result == QDialog::Accepted);
        EXPECT_EQ(form->project().ProjectModified, c.modified);
        EXPECT_EQ(form->project().AlbumPerformer, c.result == QDialog::Accepted ? c.performer : QString());
        EXPECT_EQ(form->project().root()->text(), root);
    }
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(JobCommandsTest, TheDialogsButtonOpensThePropertiesAndTakesTheNameBack)
{
    addFolder("Docs");
    commands->propertiesHook = [&](TDlgProjectNfo &d) {
        d.EditName->setText("FROMPROPS");
        return int(QDialog::Accepted);
    };
    inDialog = [&](TDlgConsole &d) {
        d.BtnProjectProperties->click();
        EXPECT_EQ(d.EditName->text(), "FROMPROPS");
        return int(QDialog::Rejected);
    };
    commands->DiscBuildISOExecute();
    EXPECT_EQ(form->project().root()->text(), "FROMPROPS");
}

TEST(AudioCaption, PerformerAndTitleWithTheSeparatorOnlyForBoth)
{
    ScriptedPrompter prompter;
    ProjectModel project(prompter);
    struct {
        const char *performer, *title, *caption;
    } cases[] = {
        {"The Band", "Blue", "Quillon - The Band - Blue"},
        {"The Band", "", "Quillon - The Band"},
        {"", "Blue", "Quillon - Blue"},
        {"", "", "Quillon - Untitled"},
    };
    for (const auto &c : cases) {
        project.AlbumPerformer = c.performer;
        project.AlbumTitle = c.title;
        EXPECT_EQ(JobCommands::audioCaption(project), c.caption);
    }
}

} // namespace
} // namespace quillon::test
