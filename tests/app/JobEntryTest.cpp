// The job entry commands of the main window for every project kind and job: erase, fixate,
// copy, rip, recording an image or an audio list, the new-task chooser and its dispatch.
#include "AppFixture.h"

#include "app/DlgNewU.h"
#include "app/JobCommands.h"
#include "engine/ConsoleFixture.h"
#include "engine/DlgConsoleU.h"
#include "project/ProjectModel.h"
#include "settings/DlgOptionsU.h"
#include "settings/IniStore.h"
#include "settings/OptionsModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace quillon::test {
namespace {

class JobEntryTest : public AppFixture {
protected:
    void SetUp() override
    {
        startProgram();
        form = program->mainForm();
        commands = form->jobCommands();
        commands->execHook = [this](TDlgConsole &d) {
            ++shown;
            return inDialog ? inDialog(d) : int(QDialog::Rejected);
        };
        prompter.clear();
        form->project().AddFolderNode(form->project().root(), "Docs");
        form->project().ProjectModified = false;
    }
    void useDrives(int count)
    {
        auto d = std::make_unique<FakeJobDrives>();
        for (int i = 0; i < count; ++i)
            d->list << jobDrive(QChar('D' + i));
        form->ComboCDs->clear();
        for (int i = 0; i < count; ++i)
            form->ComboCDs->addItem(QString(QChar('D' + i)) + ":");
        form->ComboCDs->setCurrentIndex(0);
        d->recorder = count - 1;
        commands->setDrives(std::move(d));
    }

    TMainForm *form = nullptr;
    JobCommands *commands = nullptr;
    int shown = 0;
    std::function<int(TDlgConsole &)> inDialog;
};

TEST_F(JobEntryTest, EraseFixateAndCopyNeverRecordFromACueSheet)
{
    form->project().ImageIsCue = true;
    struct {
        const char *name;
        std::function<void()> command;
        TJobType job;
        QString caption;
    } cases[] = {
        {"erase", [&] { commands->DiscEraseExecute(); }, jtErase, "Erase CD-RW disc"},
        {"fixate", [&] { commands->Fixate1aClick(); }, jtFixate, "Fixate disc"},
        {"copy", [&] { commands->CopydataCD1aClick(); }, jtCopyDisc, "Copy CD"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        bool cueSeen = true;
        inDialog = [&](TDlgConsole &d) {
            cueSeen = form->project().ImageIsCue;
            EXPECT_EQ(d.FJobType, c.job);
            EXPECT_EQ(d.windowTitle(), c.caption);
            EXPECT_EQ(d.PanelErase->isVisible(), c.job == jtErase);
            EXPECT_EQ(d.LblFixate->isVisible(), c.job == jtFixate);
            EXPECT_EQ(d.PanelCD->isVisible(), c.job == jtCopyDisc);
            return int(QDialog::Rejected);
        };
        c.command();
        EXPECT_FALSE(cueSeen);
        EXPECT_TRUE(form->project().ImageIsCue);
    }
}

TEST_F(JobEntryTest, CopyWithOneDriveOffersOnlyAnImageFileNamedAfterTheDisc)
{
    struct {
        const char *name;
        int drives;
        QString label;
        bool toDrive;
        QString file;
    } cases[] = {
        {"one drive", 1, "BACKUP", false, "BACKUP.iso"},
        {"two drives, a label to clean", 2, "My:Disc: <1>?", true, "My:Disc 1.iso"},
        {"two drives, no label", 2, "", true, "Quillon.iso"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        useDrives(c.drives);
        commands->seams.discLabel = [&](int) { return c.label; };
        inDialog = [&](TDlgConsole &d) {
            EXPECT_EQ(d.ChkOnTheFly->text(), "Write to drive");
            EXPECT_EQ(d.ChkOnTheFly->isEnabled(), c.toDrive);
            EXPECT_EQ(d.ComboCdDest->isEnabled(), c.toDrive);
            EXPECT_EQ(d.RadioCreateISO->isChecked(), !c.toDrive);
            EXPECT_TRUE(d.ComboCDs->isVisible());
            EXPECT_FALSE(d.EditName->isVisible());
            EXPECT_FALSE(d.ChkMultisession->isVisible());
            EXPECT_EQ(d.LblName->text(), "Source disc");
            EXPECT_EQ(d.ComboCdDest->currentIndex(), c.drives - 1);
            EXPECT_EQ(QFileInfo(d.EditFile->text()).fileName(), c.file);
            return int(QDialog::Rejected);
        };
        commands->CopydataCD1aClick();
    }
    EXPECT_EQ(shown, 3);
}

TEST(DiscLabelFileName, ForbiddenCharactersAreRemoved)
{
    struct {
        QString label, file;
    } cases[] = {
        {"BACKUP_2026", "BACKUP_2026"},
        {"a?b*c|d\"e<f>g", "abcdefg"},
        {"C:one:two", "C:onetwo"},
        {"dir/sub\\name", "dirsubname"},
        {QString("tab\there") + QChar(0x7F), "tabhere"},
        {"Ünïcode €", "Ünïcode €"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(JobCommands::labelForFileName(c.label), c.file) << c.label.toStdString();
}

TEST_F(JobEntryTest, AnImageProjectShowsItsVolumeNameReadOnly)
{
    form->project().setProjectKind(pkDiscImage);
    form->project().ImageFile = dir.filePath("disc.iso");
    inDialog = [&](TDlgConsole &d) {
        EXPECT_EQ(d.FJobType, jtImageDisc);
        EXPECT_TRUE(d.EditName->isReadOnly());
        EXPECT_EQ(d.EditName->text(), form->project().root()->text());
        EXPECT_EQ(d.RadioCreateISO->text(), "Record file");
        EXPECT_TRUE(d.RadioCreateISO->isChecked());
        EXPECT_FALSE(d.ChkOnTheFly->isVisible());
        EXPECT_FALSE(d.ChkMultisession->isChecked());
        EXPECT_EQ(d.EditFile->text(), dir.filePath("disc.iso"));
        return int(QDialog::Rejected);
    };
    commands->DiscRecordExecute();
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(form->project().ProjectModified);
}

TEST_F(JobEntryTest, NationalCharactersInCdTextAskBeforeTheDialogOpens)
{
    form->project().setProjectKind(pkAudio);
    form->optionsDialog()->model().setChkUpcaseCDText(true);
    commands->seams.audioCdTexts = [] { return QStringList{"Plain - Title", "Café - Song", "Band - Price €5"}; };
    int selected = -1;
    commands->seams.selectAudioTrack = [&](int row) { selected = row; };
    const QString question = "Most of CD players doesn't support national characters in CD-Text. Do you wish to "
                             "continue?";
    struct {
        const char *name;
        QStringList texts;
        std::initializer_list<PromptButton> answers;
        int asked;
        int selected;
        int dialogs;
    } cases[] = {
        {"an accented letter, declined", {"Plain", "Café"}, {pbYes, pbNo}, 1, 1, 0},
        {"the euro sign, which has no case, declined", {"Price €5"}, {pbYes, pbNo}, 1, 0, 0},
        {"accepted: the dialog opens", {"Café", "Ünï"}, {pbYes, pbYes}, 1, -1, 1},
        {"plain ASCII asks nothing", {"Plain"}, {pbYes}, 0, -1, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompter.clear();
        shown = 0;
        selected = -1;
        commands->seams.audioCdTexts = [&] { return c.texts; };
        prompter.answer(c.answers); // the first answers the empty audio list
        commands->DiscRecordExecute();
        EXPECT_EQ(prompter.texts().count(question), c.asked);
        EXPECT_EQ(prompter.texts().first(), "There are no audio files in this project. Do you wish to continue?");
        EXPECT_EQ(selected, c.selected);
        EXPECT_EQ(shown, c.dialogs);
    }
}

TEST_F(JobEntryTest, AudioAndCdPlusSetUpAndReadBack)
{
    form->project().AlbumTitle = "Blue";
    form->project().AlbumPerformer = "The Band";
    {
        SCOPED_TRACE("audio disc");
        form->project().setProjectKind(pkAudio);
        prompter.answer({pbYes});
        inDialog = [&](TDlgConsole &d) {
            EXPECT_TRUE(d.windowTitle().startsWith("Record audio disc - 0 tracks - "));
            EXPECT_EQ(d.LblName->text(), "&Album title");
            EXPECT_EQ(d.EditName->text(), "Blue");
            EXPECT_TRUE(d.EditPerformer->isVisible());
            EXPECT_EQ(d.EditPerformer->text(), "The Band");
            EXPECT_FALSE(d.RadioCreateISO->isVisible());
            EXPECT_EQ(d.ChkMultisession->text(), "&Multisession - unreadable until fixation");
            EXPECT_FALSE(d.ChkMultisession->isChecked());
            d.EditPerformer->setText("Other Band");
            return int(QDialog::Rejected);
        };
        commands->DiscRecordExecute();
        EXPECT_EQ(form->project().AlbumPerformer, "Other Band");
        EXPECT_TRUE(form->project().ProjectModified);
        EXPECT_EQ(form->windowTitle(), "Quillon - Other Band - Blue");
    }
    {
        SCOPED_TRACE("CD Plus keeps its album performer");
        form->project().setProjectKind(pkCdPlus);
        form->project().AlbumPerformer = "The Band";
        prompter.answer({pbYes});
        inDialog = [&](TDlgConsole &d) {
            EXPECT_EQ(d.ChkMultisession->text(), "&Multisession disc - ONLY DATA part");
            EXPECT_EQ(d.RadioCreateISO->text(), "First create ISO image");
            EXPECT_FALSE(d.EditPerformer->isVisible());
            return int(QDialog::Rejected);
        };
        commands->DiscRecordExecute();
        EXPECT_EQ(form->project().AlbumPerformer, "The Band");
    }
}

TEST_F(JobEntryTest, RipNeedsTickedTracks)
{
    commands->seams.ripRows = [] { return 0; };
    commands->DiskRipExecute();
    commands->seams.ripRows = [] { return 12; };
    commands->seams.ripTicked = [] { return 0; };
    commands->DiskRipExecute();
    EXPECT_EQ(prompter.texts(), (QStringList{"This disc doesn't contain any track!", "Please select some tracks!"}));
    commands->seams.ripTicked = [] { return 3; };
    form->project().AlbumTitle = "Blue";
    form->project().AlbumPerformer = "The Band";
    inDialog = [&](TDlgConsole &d) {
        EXPECT_EQ(d.windowTitle(), "Rip audio tracks");
        EXPECT_EQ(d.EditName->text(), "The Band - Blue");
        EXPECT_TRUE(d.DirRipOutput->isVisible());
        EXPECT_EQ(d.DirRipOutput->text(), form->optionsDialog()->model().DirRipOutput());
        EXPECT_FALSE(d.PanelCD->isVisible());
        EXPECT_FALSE(d.ChkShell->isVisible());
        return int(QDialog::Rejected);
    };
    commands->DiskRipExecute();
    EXPECT_EQ(shown, 1);
}

TEST_F(JobEntryTest, TheChooserRemembersItsChoiceOnOkOnly)
{
    IniStore &ini = form->settingsStore();
    int copies = 0;
    commands->execHook = [&](TDlgConsole &d) {
        copies += d.FJobType == jtCopyDisc;
        return int(QDialog::Rejected);
    };
    // Cancel: nothing stored, nothing changed.
    commands->newTaskHook = [](TDlgNew &n) {
        n.RadioAudio->setChecked(true);
        return int(QDialog::Rejected);
    };
    const ProjectFolder *root = form->project().root();
    commands->NewTaskExecute();
    EXPECT_FALSE(ini.contains("Newtask", "RadioAudio_Checked"));
    EXPECT_EQ(form->project().root(), root);
    // OK on "Copy data CD": the copy dialog, the project left alone, the choice stored.
    commands->newTaskHook = [](TDlgNew &n) {
        n.RadioDataCopy->setChecked(true);
        return int(QDialog::Accepted);
    };
    commands->NewTaskExecute();
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(form->project().root(), root);
    EXPECT_EQ(ini.value("Newtask", "RadioDataCopy_Checked", ""), "True");
    EXPECT_EQ(ini.value("Newtask", "RadioData_Checked", ""), "False");
    // The next time the chooser shows the stored choice; a new data project empties the tree.
    commands->newTaskHook = [](TDlgNew &n) {
        JobEntryTest::settleUntil([&] { return n.RadioDataCopy->isChecked(); }, 2000);
        EXPECT_TRUE(n.RadioDataCopy->isChecked());
        n.RadioData->setChecked(true);
        return int(QDialog::Accepted);
    };
    commands->NewTaskExecute();
    ASSERT_NE(form->project().root(), nullptr);
    EXPECT_EQ(form->project().root()->childCount(), 0);
    EXPECT_EQ(form->project().root()->text(), form->DefaultDiscName());
    EXPECT_EQ(form->windowTitle(), form->project().WindowCaption());
    // A kind completed later takes its turn through its seam.
    int audio = 0;
    commands->seams.newAudioProject = [&] { ++audio; };
    commands->newTaskHook = [](TDlgNew &n) {
        n.RadioAudio->setChecked(true);
        return int(QDialog::Accepted);
    };
    commands->NewTaskExecute();
    EXPECT_EQ(audio, 1);
}

} // namespace
} // namespace quillon::test

#include "engine/DlgProjectNfoU.h"

namespace quillon::test {
namespace {

// Not run by default: grabs the chooser and the properties dialog for a look (run with
// --gtest_also_run_disabled_tests; QUILLON_SCREENSHOT names the folder for the pictures).
TEST_F(JobEntryTest, DISABLED_GrabsTheChooserAndTheProperties)
{
    const QString out = qEnvironmentVariable("QUILLON_SCREENSHOT", dir.path());
    commands->newTaskHook = [&](TDlgNew &n) {
        settle(300);
        n.grab().save(out + "/newtask.png");
        return int(QDialog::Rejected);
    };
    commands->NewTaskExecute();
    form->project().AlbumTitle = "Blue";
    commands->propertiesHook = [&](TDlgProjectNfo &d) {
        settle(300);
        d.grab().save(out + "/properties.png");
        return int(QDialog::Rejected);
    };
    commands->Properties4aClick();
}

} // namespace
} // namespace quillon::test
