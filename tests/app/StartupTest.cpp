#include "AppFixture.h"

#include "app/DlgAbortU.h"
#include "platform/DateTime.h"
#include "settings/DlgOptionsU.h"
#include "settings/IniStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>

namespace quillon::test {
namespace {

class StartupTest : public AppFixture {};

TEST_F(StartupTest, FirstStartCreatesWindowsInOrderAndSchedulesTheWizard)
{
    startProgram();

    const QStringList expected = {
        "application title",
        "main window",
        "FormCreate: program folder",
        "FormCreate: options",
        "FormCreate: restore form storage",
        "FormCreate: reset state",
        "FormCreate: drop targets",
        "FormCreate: save dialog folder",
        "FormCreate: folder icons",
        "FormCreate: new data project",
        "FormCreate: drives",
        "FormCreate: local pane",
        "FormCreate: temporary folder",
        "FormCreate: totals",
        "FormCreate: banners",
        "banner: first",
        "banner: counters",
        "FormCreate: banner panel",
        "splash window",
        "banner window",
        "new-folder dialog",
        "options dialog",
        "busy dialog",
        "splash closed",
        "main window shown",
        "FormShow: form storage active",
        "FormShow: home page",
        "FormShow: temporary image file",
        "FormShow: drive combo",
        "FormShow: first start",
        "wizard",
    };
    EXPECT_EQ(trace.steps(), expected);
    EXPECT_EQ(program->mainForm()->windowTitle(), "Quillon - Untitled");
    EXPECT_TRUE(QFileInfo(services.paths.tempFolder()).isDir()) << "the temporary folder is made at start";
    EXPECT_TRUE(registry->keyExists("\\Software\\Quillon")) << "the first start leaves its marker";
    EXPECT_EQ(indexOf("drive check"), -1) << "the first start skips the drive check";
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(StartupTest, LaterStartRunsTheDriveCheckInsteadOfTheWizard)
{
    registry->createKey("\\Software\\Quillon");
    drives.letters = {"D", "E"};
    startProgram();

    EXPECT_EQ(indexOf("wizard"), -1);
    ASSERT_NE(indexOf("drive check"), -1);
    EXPECT_GT(indexOf("banner: start-up notices"), indexOf("drive check"));
    EXPECT_TRUE(prompter.requests().isEmpty()) << "drives were found: no notice";
    QComboBox *combo = program->mainForm()->ComboCDs;
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "D:");
    EXPECT_EQ(combo->itemText(1), "E:");
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_TRUE(program->mainForm()->DiskEject->isEnabled());
}

TEST_F(StartupTest, NoDriveGivesOneNoticePerStartAndDisablesEject)
{
    registry->createKey("\\Software\\Quillon");
    startProgram();

    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].caption, "No CD drive detected");
    EXPECT_TRUE(prompter.requests()[0].text.contains("\"cdrom\" group")) << prompter.requests()[0].text.toStdString();
    EXPECT_EQ(indexOf("banner: start-up notices"), -1);
    EXPECT_FALSE(program->mainForm()->DiskEject->isEnabled());
    EXPECT_EQ(program->mainForm()->ComboCDs->count(), 0);
    EXPECT_EQ(program->mainForm()->TrayIcon, nullptr);
}

TEST_F(StartupTest, UnbuiltDriveListAsksNothing)
{
    registry->createKey("\\Software\\Quillon");
    drives.isBuilt = false;
    startProgram();
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(StartupTest, SplashStaysAtLeastItsMinimumTime)
{
    services.splashMinimumMs = 1400;
    startProgram();
    EXPECT_GE(program->splashShownMs(), 1400);
}

TEST_F(StartupTest, DataFileBackupIsReadWhenTheFileIsMissing)
{
    QDir().mkpath(services.paths.dataDir());
    QFile backup(services.paths.dataFileBackup());
    ASSERT_TRUE(backup.open(QIODevice::WriteOnly));
    backup.write("x");
    backup.close();
    startProgram();
    EXPECT_EQ(dataFile.loads, QStringList{services.paths.dataFileBackup()});
}

TEST_F(StartupTest, HomePageVisit)
{
    struct Case {
        const char *name;
        QString homePage;
        double daysSinceVisit;
        bool online;
        bool opens;
        double newAge; // days before now, or -1 when EditVBR stays as it was
    };
    const Case cases[] = {
        {"due and online: visit, remember today", "https://example.org/", 21, true, true, 0},
        {"due and offline: visit, try again in five days", "https://example.org/", 30, false, true, 16},
        {"visited twenty days ago: nothing", "https://example.org/", 20, true, false, -1},
        {"no home page configured: skipped", "", 400, true, false, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        trace = StartupTrace();
        browser.opened.clear();
        services.homePage = c.homePage;
        online.online = c.online;
        const double before = ToOleDate(now) - c.daysSinceVisit;
        dataFile.stored = TOptions();
        dataFile.stored.EditVBR = before;
        dataFile.present = true;
        QDir().mkpath(services.paths.dataDir());
        QFile(services.paths.dataFile()).open(QIODevice::WriteOnly);
        startProgram();
        EXPECT_EQ(browser.opened, c.opens ? QStringList{c.homePage} : QStringList{});
        const double vbr = program->mainForm()->Options().EditVBR;
        if (c.newAge < 0)
            EXPECT_DOUBLE_EQ(vbr, before);
        else
            EXPECT_NEAR(vbr, ToOleDate(now) - c.newAge, 1e-6);
        program->finish();
        program.reset();
    }
}

TEST_F(StartupTest, MissingTemporaryImageFolderFallsBackToTheSystemTemporaryFolder)
{
    IniStore ini;
    ini.setValue("Options", "EditTmpFile_FileName", dir.filePath("gone/image.iso"));
    QDir().mkpath(services.paths.configDir());
    ASSERT_TRUE(ini.save(services.paths.settingsFile(), nullptr));
    startProgram();
    EXPECT_EQ(program->optionsDialog()->EditTmpFile->text(),
              QDir::toNativeSeparators(QDir::tempPath() + "/Quillon.iso"));
}

} // namespace
} // namespace quillon::test
