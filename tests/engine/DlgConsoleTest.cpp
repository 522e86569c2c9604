// The execution dialog: every Start check and message in order, the size run, the CD Plus
// pause between its two parts, Cancel, the control handlers and the stored placement. The
// tools are small fakes that keep their arguments; the end-to-end runs with the real tools
// are in DlgConsoleToolsTest.cpp.
#include "ConsoleFixture.h"

#include "engine/SpeedSteps.h"
#include "settings/IniStore.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace quillon::test {
namespace {

const QString overburnWarning =
    "Warning: Overburning allows you to record about 13-19 megabytes more than official disc size but may cause "
    "recorder damage or read errors.\nDo you wish to continue?";

struct StartCase {
    const char *name;
    TJobType job;
    std::function<void(ConsoleTest &)> setUp;
    std::initializer_list<PromptButton> answers;
    QStringList expected; // "%ROOT%" stands for the test's folder
    bool starts;
};

class StartChecks : public ConsoleTest {
public:
    void run(const StartCase &c)
    {
        SCOPED_TRACE(c.name);
        if (c.setUp)
            c.setUp(*this);
        TDlgConsole &d = open(c.job);
        if (c.setUp)
            c.setUp(*this); // again, for the controls the dialog now has
        prompter.answer(c.answers);
        d.BtnStartClick();
        QStringList expected = c.expected;
        expected.replaceInStrings("%ROOT%", tools.root());
        EXPECT_EQ(asked().join("\n|").toStdString(), expected.join("\n|").toStdString());
        const bool started = d.run().busy() || d.verdictGiven();
        EXPECT_EQ(started, c.starts) << logLines().join('\n').toStdString();
        if (started) {
            ASSERT_TRUE(finish());
            EXPECT_TRUE(d.lastVerdict().success) << logLines().join('\n').toStdString();
        }
        EXPECT_EQ(prompter.unusedAnswers(), 0);
    }
};

TEST_F(StartChecks, EveryCheckAsksInOrderAndStopsOrGoesOn)
{
    auto noDrives = [](ConsoleTest &t) { t.drives.list.clear(); };
    auto disc = [](JobDiscState s) { return [s](ConsoleTest &t) { t.drives.list[0].state = s; }; };
    auto imageFile = [](const QString &name, bool create) {
        return [name, create](ConsoleTest &t) {
            const QString file = t.tools.root() + "/" + name;
            if (create) {
                QFile f(file);
                f.open(QIODevice::WriteOnly);
            }
            if (t.dialog) {
                t.dialog->RadioCreateISO->setChecked(true);
                t.dialog->EditFile->setText(file);
            }
        };
    };
    const StartCase cases[] = {
        {"no drive at all", jtDataDisc, noDrives, {}, {"No drive: You have not any CD/DVD drive installed."}, false},
        {"building an image needs no drive", jtBuildImage,
         [&](ConsoleTest &t) {
             noDrives(t);
             imageFile("out.iso", false)(t);
         },
         {}, {}, true},
        {"no recorder chosen, options cancelled", jtDataDisc, [](ConsoleTest &t) { t.drives.recorder = -1; }, {},
         {"No recorder selected: Please select your recorder."}, false},
        {"still no recorder after the options", jtDataDisc,
         [](ConsoleTest &t) {
             t.drives.recorder = -1;
             t.host.optionsDialog = [] { return true; };
         },
         {}, {"No recorder selected: Please select your recorder.", "No recorder selected: I cannot record."}, false},
        {"a reading drive, not confirmed", jtDataDisc, [](ConsoleTest &t) { t.drives.list[0].canWrite = false; },
         {pbNo}, {"Warning: Are you sure that drive D supports recording?"}, false},
        {"a disc with a complete session", jtDataDisc, disc(JobDiscState::Appendable), {},
         {"Cannot write: Drive D should contain empty disc!"}, false},
        {"a closed disc", jtAudioDisc, disc(JobDiscState::Closed), {}, {"Cannot write: Drive D should contain empty disc!"},
         false},
        {"an unreadable disc, declined", jtDataDisc, disc(JobDiscState::Unknown), {pbNo},
         {"Unknown disc: Quillon cannot read the disc in drive D. Do you wish to continue?"}, false},
        {"an unreadable disc, accepted", jtDataDisc, disc(JobDiscState::Unknown), {pbYes},
         {"Unknown disc: Quillon cannot read the disc in drive D. Do you wish to continue?"}, true},
        {"no disc, declined", jtDataDisc, [](ConsoleTest &t) { t.drives.list[0].present = false; }, {pbNo},
         {"No destination disc: There is no disc in drive D. Do you wish to continue?"}, false},
        {"no capacity known passes after the question", jtDataDisc,
         [](ConsoleTest &t) { t.drives.list[0].capacity = 0; }, {pbYes},
         {"No destination disc: There is no disc in drive D. Do you wish to continue?"}, true},
        {"700 MB on 695 MB asks for overburning only", jtDataDisc,
         [](ConsoleTest &t) {
             t.host.total = "700 MB";
             t.drives.list[0].capacity = 695 * 512;
         },
         {pbYes, pbYes},
         {"Overburn: Official disc capacity may be too small. Should I use overburning?", overburnWarning}, false},
        {"700 MB on 695 MB, recorded without overburning", jtDataDisc,
         [](ConsoleTest &t) {
             t.host.total = "700 MB";
             t.drives.list[0].capacity = 695 * 512;
         },
         {pbNo}, {"Overburn: Official disc capacity may be too small. Should I use overburning?"}, true},
        {"a disc too small even for overburning", jtDataDisc,
         [](ConsoleTest &t) {
             t.host.total = "700 MB";
             t.drives.list[0].capacity = 680 * 512;
         },
         {pbNo}, {"Media too small: Disc capacity seems to be too small even for overburning. Continue recording?"},
         false},
        {"a new session's size is the part after the slash", jtAddSession,
         [](ConsoleTest &t) {
             t.host.total = "700 / 12 MB";
             t.drives.list[0].state = JobDiscState::Appendable;
             t.project.MsDriveLetter = 'D';
             t.project.MsInfo = "0,11702";
         },
         {}, {}, true},
        {"adding a session to a blank disc records a data disc", jtAddSession, nullptr, {pbYes},
         {"Empty disc: Disc in drive D is not a multisession one so I cannot ADD a session. Should I record on it "
          "anyway?"},
         true},
        {"folders nested too deep, cancelled", jtDataDisc, [](ConsoleTest &t) { t.host.depth = 8; }, {pbCancel},
         {"Folders nested too deep: Max allowed folder depth is 8. You can disable this limit but this disc may be "
          "unreadable on some CD drives.\n Do you wish to enable deep folders?"},
         false},
        {"folders seven levels deep ask nothing", jtDataDisc, [](ConsoleTest &t) { t.host.depth = 7; }, {}, {}, true},
        {"an image file that exists already, kept", jtDataDisc, imageFile("old.iso", true), {pbNo},
         {"ISO file will be changed: File already exists: %ROOT%/old.iso\nDo you wish to owerwrite it?"}, false},
        {"a missing image", jtImageDisc, imageFile("missing.iso", false), {},
         {"Missing file: Image file doesn't exist!\n%ROOT%/missing.iso"}, false},
        {"an image without a name", jtBuildImage, [](ConsoleTest &t) { if (t.dialog) t.dialog->EditFile->clear(); },
         {}, {"Missing filename: Please specify a filename!"}, false},
        {"an image name with a forbidden character", jtBuildImage,
         [](ConsoleTest &t) { if (t.dialog) t.dialog->EditFile->setText(t.tools.root() + "/a?.iso"); }, {},
         {"Invalid filename: Filename cannot contain any of these characters:\r\n? * | \" < >"}, false},
    };
    for (const StartCase &c : cases) {
        prompter.clear();
        drives = FakeJobDrives();
        drives.list = {jobDrive('D')};
        host.total = "10 MB";
        host.depth = 1;
        host.optionsDialog = nullptr;
        project.MsDriveLetter = QChar();
        dialog.reset();
        run(c);
    }
}

TEST_F(ConsoleTest, AddSessionOnABlankDiscBecomesADataDisc)
{
    TDlgConsole &d = open(jtAddSession);
    prompter.answer({pbYes});
    d.BtnStartClick();
    ASSERT_TRUE(finish());
    EXPECT_EQ(d.FJobType, jtDataDisc);
    EXPECT_FALSE(call("mkisofs", 1).contains("-C")) << call("mkisofs", 1).join(' ').toStdString();
    EXPECT_FALSE(call("mkisofs", 1).contains("-M"));
}

TEST_F(ConsoleTest, NoRecorderOpensTheOptionsOnTheirWritingPage)
{
    drives.recorder = -1;
    host.optionsDialog = [&] {
        drives.recorder = 0;
        return true;
    };
    TDlgConsole &d = open(jtDataDisc);
    d.BtnStartClick();
    EXPECT_EQ(host.optionsPages, QStringList{"CD writing"});
    ASSERT_TRUE(finish());
    // The command was rebuilt for the recorder just chosen.
    EXPECT_TRUE(call("cdrecord", 1).contains("dev=/dev/sr0")) << call("cdrecord", 1).join(' ').toStdString();
}

TEST_F(ConsoleTest, OnTheFlyRecordingRunsTheSizePassAndInsertsTheTrackSize)
{
    options.setChkCalcSize(true);
    setToolFile("mkisofs.size", "4321\n");
    TDlgConsole &d = open(jtDataDisc);
    d.BtnStartClick();
    ASSERT_TRUE(finish());
    EXPECT_TRUE(d.lastVerdict().success) << logLines().join('\n').toStdString();
    const QStringList size = call("mkisofs", 1);
    ASSERT_GE(size.size(), 2);
    EXPECT_EQ(size.mid(0, 2), (QStringList{"-print-size", "-q"}));
    const QStringList recorder = call("cdrecord", 1);
    const qsizetype at = recorder.indexOf("tsize=4321s");
    ASSERT_GE(at, 0) << recorder.join(' ').toStdString();
    EXPECT_TRUE(recorder.at(at + 1).startsWith("speed=")) << recorder.join(' ').toStdString();
    const QStringList log = logLines();
    const qsizetype calc = log.indexOf("Calculating ISO image size...");
    ASSERT_GE(calc, 0);
    EXPECT_EQ(log.mid(calc, 3), (QStringList{"Calculating ISO image size...", "4321", ""}));
    EXPECT_EQ(host.events.mid(0, 2), (QStringList{"watch off", "tray off"}));
    EXPECT_EQ(screenSaver.inhibitions, 2); // the size pass and the recording
    EXPECT_FALSE(screenSaver.held());
}

TEST_F(ConsoleTest, AnUnreadableSizeStopsBeforeRecording)
{
    options.setChkCalcSize(true);
    setToolFile("mkisofs.size", "not a number\n");
    TDlgConsole &d = open(jtDataDisc);
    d.BtnStartClick();
    ASSERT_TRUE(waitUntil([&] { return !d.run().busy() && d.BtnStart->isEnabled(); }));
    EXPECT_EQ(logLines().last(), "Error calculating ISO image size!");
    EXPECT_EQ(calls("cdrecord"), 0);
    EXPECT_FALSE(d.verdictGiven());
}

TEST_F(ConsoleTest, BuildingAnImageNeitherInhibitsTheScreenSaverNorDisablesCancel)
{
    setToolFile("mkisofs.sleep", "30");
    TDlgConsole &d = open(jtBuildImage);
    d.EditFile->setText(tools.root() + "/image.iso");
    d.BtnStartClick();
    ASSERT_TRUE(waitUntil([&] { return calls("mkisofs") == 1; }));
    EXPECT_EQ(screenSaver.inhibitions, 0);
    EXPECT_TRUE(d.BtnCancel->isEnabled());
    EXPECT_FALSE(d.BtnStart->isEnabled());
    EXPECT_EQ(host.recent, QStringList{tools.root() + "/image.iso"});
    // Cancel stops the image builder, and only the aborted verdict shows.
    prompter.answer({pbYes});
    QTest::mouseClick(d.BtnCancel, Qt::LeftButton);
    ASSERT_TRUE(finish(10000));
    EXPECT_EQ(asked(), QStringList{"Process running: Do you wish to terminate current task?"});
    const QStringList log = logLines();
    EXPECT_EQ(log.last(), "******* Aborted *******");
    EXPECT_FALSE(log.contains("******* Error! *******"));
    EXPECT_FALSE(log.contains("******* Finished successfully *******"));
    EXPECT_EQ(d.BtnCancel->text(), "OK");
    EXPECT_TRUE(d.BtnStart->isEnabled());
}

TEST_F(ConsoleTest, ARecordingCannotBeCancelledOrClosed)
{
    setToolFile("cdrecord.sleep", "2");
    TDlgConsole &d = open(jtDataDisc);
    d.BtnStartClick();
    ASSERT_TRUE(d.run().busy());
    EXPECT_FALSE(d.BtnCancel->isEnabled());
    EXPECT_EQ(screenSaver.inhibitions, 1);
    d.close();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(prompter.requests().isEmpty());
    ASSERT_TRUE(finish());
    EXPECT_TRUE(d.lastVerdict().success);
    EXPECT_TRUE(d.BtnCancel->isEnabled());
    EXPECT_FALSE(screenSaver.held());
    EXPECT_EQ(host.events, (QStringList{"watch off", "tray off", "leave D", "watch on", "tray on"}));
    // Ready again: Cancel (now OK) closes.
    QTest::mouseClick(d.BtnCancel, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
}

class CdPlusTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        host.tracks = {tools.root() + "/one.wav", tools.root() + "/two.wav"};
        setToolFile("cdrecord.msinfo", "0,11702\n");
    }
    TDlgConsole &openCdPlus()
    {
        TDlgConsole &d = open(jtCdPlus);
        d.ChkMultisession->setChecked(false);
        d.UpdateCmdLn();
        d.run().setDoorTimings(10, 10, 5000);
        return d;
    }
    // After the audio part the disc is read again only once the tray has been closed.
    void discComesBackOnLoad()
    {
        drives.list[0].present = false;
        drives.onLoad = [this](int) { drives.list[0].present = true; };
    }
};

TEST_F(CdPlusTest, RecordsTheAudioPartThenTheDataPartWithItsOwnSize)
{
    options.setChkCalcSize(true);
    setToolFile("mkisofs.size", "777\n");
    TDlgConsole &d = openCdPlus();
    EXPECT_FALSE(d.ChkShell->isEnabled());
    EXPECT_TRUE(d.LblCDPLusText->isVisible());
    d.BtnStartClick();
    discComesBackOnLoad();
    ASSERT_TRUE(finish());
    EXPECT_TRUE(d.lastVerdict().success) << logLines().join('\n').toStdString();
    const QStringList log = logLines();
    const qsizetype audio = log.indexOf("Recording audio part of CD.");
    const qsizetype door = log.indexOf("Closing drive door. Please wait...");
    const qsizetype now = log.indexOf("Now recording data part of CD.");
    ASSERT_GE(audio, 0);
    ASSERT_GT(door, audio);
    ASSERT_GT(now, door);
    EXPECT_TRUE(log.at(now - 1).contains(" -C 0,11702 ")) << log.join('\n').toStdString();
    EXPECT_TRUE(log.at(now - 1).contains("tsize=777s"));
    EXPECT_EQ(log.count("******* Finished successfully *******"), 1);
    EXPECT_FALSE(log.contains("******* Error! *******"));
    // The audio part, the information read, the data part: the track size only in the last.
    ASSERT_EQ(calls("cdrecord"), 3);
    EXPECT_FALSE(call("cdrecord", 1).join(' ').contains("tsize="));
    EXPECT_TRUE(call("cdrecord", 1).contains("-multi"));
    EXPECT_TRUE(call("cdrecord", 2).contains("-msinfo"));
    EXPECT_TRUE(call("cdrecord", 3).contains("tsize=777s")) << call("cdrecord", 3).join(' ').toStdString();
    EXPECT_EQ(call("mkisofs", 1).mid(0, 2), (QStringList{"-print-size", "-q"}));
    EXPECT_TRUE(call("mkisofs", 1).join(' ').contains("-C 0,11702"));
    EXPECT_EQ(project.MsInfo, "0,11702");
    EXPECT_GE(drives.loads, 1);
    EXPECT_FALSE(d.BtnCancel->text() == "Cancel");
}

TEST_F(CdPlusTest, ImageFirstRecordsTheImageFileAfterBuildingIt)
{
    TDlgConsole &d = openCdPlus();
    d.RadioCreateISO->setChecked(true);
    d.EditFile->setText(tools.root() + "/data part.iso");
    d.UpdateCmdLn();
    d.BtnStartClick();
    discComesBackOnLoad();
    ASSERT_TRUE(finish());
    EXPECT_TRUE(d.lastVerdict().success) << logLines().join('\n').toStdString();
    ASSERT_EQ(calls("mkisofs"), 1);
    EXPECT_TRUE(call("mkisofs", 1).contains("-o"));
    EXPECT_TRUE(call("mkisofs", 1).contains(tools.root() + "/data part.iso"));
    ASSERT_EQ(calls("cdrecord"), 3);
    const QStringList data = call("cdrecord", 3);
    EXPECT_TRUE(data.contains(tools.root() + "/data part.iso")) << data.join(' ').toStdString();
    EXPECT_FALSE(data.contains("-waiti"));
    EXPECT_FALSE(data.contains("-"));
}

TEST_F(CdPlusTest, TheDoorWaitEndsWithAnErrorAfterItsLimit)
{
    TDlgConsole &d = openCdPlus();
    d.run().setDoorTimings(10, 10, 300);
    d.BtnStartClick();
    drives.list[0].present = false;
    ASSERT_TRUE(finish());
    const QStringList log = logLines();
    const qsizetype cant = log.indexOf("I can't read session info!");
    ASSERT_GE(cant, 0) << log.join('\n').toStdString();
    EXPECT_EQ(log.mid(cant, 3), (QStringList{"I can't read session info!", "Only audio part was recorded.",
                                             "Data part may (?) be recorded later - you should add session to this CD."}));
    EXPECT_EQ(log.last(), "******* Error! *******");
    EXPECT_EQ(calls("cdrecord"), 1);
    EXPECT_GE(drives.loads, 2); // the first load, and again after every five checks
}

TEST_F(CdPlusTest, CancelDuringTheDoorWaitGivesTheAbortedVerdict)
{
    TDlgConsole &d = openCdPlus();
    d.run().setDoorTimings(10, 10, 60000);
    d.BtnStartClick();
    EXPECT_FALSE(d.BtnCancel->isEnabled());
    drives.list[0].present = false;
    ASSERT_TRUE(waitUntil([&] { return d.run().phase() == JobRun::Phase::DoorWait; }));
    EXPECT_TRUE(d.BtnCancel->isEnabled());
    prompter.answer({pbYes});
    QTest::mouseClick(d.BtnCancel, Qt::LeftButton);
    ASSERT_TRUE(d.verdictGiven());
    EXPECT_EQ(logLines().last(), "******* Aborted *******");
    EXPECT_EQ(logLines().count("******* Aborted *******"), 1);
    EXPECT_EQ(calls("cdrecord"), 1);
    QTest::qWait(100);
    EXPECT_EQ(calls("cdrecord"), 1);
}

TEST_F(CdPlusTest, ClosingTheDialogDuringTheWaitEndsIt)
{
    TDlgConsole &d = openCdPlus();
    d.BtnStartClick();
    drives.list[0].present = false;
    ASSERT_TRUE(waitUntil([&] { return d.run().phase() == JobRun::Phase::DoorWait; }));
    dialog.reset();
    QTest::qWait(100);
    EXPECT_EQ(calls("cdrecord"), 1);
    EXPECT_FALSE(screenSaver.held());
}

TEST_F(ConsoleTest, HandlersAskOnlyWhenTheUserChangesABox)
{
    TDlgConsole &d = open(jtDataDisc);
    d.ChkOverBurn->setChecked(true); // a restored value: no question
    d.ChkOverBurn->setChecked(false);
    EXPECT_TRUE(prompter.requests().isEmpty());

    prompter.answer({pbNo});
    QTest::mouseClick(d.ChkOverBurn, Qt::LeftButton);
    EXPECT_FALSE(d.ChkOverBurn->isChecked());
    prompter.answer({pbYes});
    QTest::mouseClick(d.ChkOverBurn, Qt::LeftButton);
    EXPECT_TRUE(d.ChkOverBurn->isChecked());
    EXPECT_FALSE(d.ChkMultisession->isChecked());
    EXPECT_TRUE(d.EditCmdLn->text().contains(" -overburn ")) << d.EditCmdLn->text().toStdString();
    EXPECT_EQ(asked(), (QStringList{overburnWarning, overburnWarning}));

    d.RadioCreateISO->click();
    EXPECT_TRUE(d.EditFile->isEnabled());
    EXPECT_TRUE(d.ChkDeleteISO->isEnabled());
    d.ChkOnTheFly->click();
    EXPECT_FALSE(d.EditFile->isEnabled());
    EXPECT_FALSE(d.ChkDeleteISO->isEnabled());
}

TEST_F(ConsoleTest, MultisessionAudioAsksBothQuestions)
{
    options.setChkCdText(true);
    TDlgConsole &d = open(jtAudioDisc);
    d.ChkMultisession->setChecked(false);
    prompter.answer({pbYes, pbNo});
    QTest::mouseClick(d.ChkMultisession, Qt::LeftButton);
    EXPECT_FALSE(d.ChkMultisession->isChecked());
    EXPECT_EQ(asked(), (QStringList{"Warning: Multisession audio CDs are unreadable until fixation or recording a track "
                                    "without multisession option.\nDo you wish to continue?",
                                    "CD Text conflict: Multisession audio CD canot contain CD-Text. Do you wish to "
                                    "continue?"}));
    EXPECT_EQ(d.windowTitle(), "Record audio disc - 0 tracks - 10 MB");
    EXPECT_TRUE(d.LblMultisessionHint->isVisible());
}

TEST(ConsoleRules, FileNamesAndNeededMegabytes)
{
    const QString forbidden = "Filename cannot contain any of these characters:\r\n? * | \" < >";
    struct {
        const char *name;
        QString expected;
    } files[] = {
        {"/home/me/disc.iso", ""},
        {"  /home/me/disc.iso  ", ""},
        {"", ""},
        {"C:\\images\\disc.iso", ""},
        {"C:\\images\\disc:2.iso", forbidden},
        {"/tmp/what?.iso", forbidden},
        {"/tmp/a*b.iso", forbidden},
        {"/tmp/a|b.iso", forbidden},
        {"/tmp/\"quoted\".iso", forbidden},
        {"/tmp/<b>.iso", forbidden},
        {"/tmp/images/", "Please specify a filename!"},
    };
    for (const auto &f : files) {
        const auto problem = TDlgConsole::checkFileName(f.name);
        EXPECT_EQ(problem ? problem->text : QString(), f.expected) << f.name;
    }
    struct {
        const char *total;
        int mb;
    } totals[] = {{"0 MB", 0}, {"700 MB", 700}, {"12 / 650 MB", 650}, {"", -1}, {"? MB", -1}};
    for (const auto &t : totals)
        EXPECT_EQ(TDlgConsole::needMegabytes(t.total), t.mb) << t.total;
    const TJobType types[] = {jtBuildImage, jtDataDisc, jtImageDisc, jtErase, jtAudioDisc,
                              jtCdPlus,     jtAddSession, jtRipAudio, jtCopyDisc, jtFixate};
    QList<int> topics;
    for (TJobType t : types)
        topics << TDlgConsole::helpTopicOf(t);
    EXPECT_EQ(topics, (QList<int>{220, 210, 610, 850, 310, 210, 210, 810, 710, 0}));
}

TEST_F(ConsoleTest, SpeedAndSaveLogFolderAreStoredInTheirSection)
{
    IniStore ini;
    ini.setValue("TDlgConsole", "EditSpeed_Value", "16");
    ini.setValue("TDlgConsole", "SaveDialog_InitialDir", "/home/me/logs");
    ConsoleServices s{tools.paths(), prompter, options, drives, host, &ini, nullptr, {}, {}, {}};
    {
        TDlgConsole d(s);
        EXPECT_EQ(d.EditSpeed->value(), 16);
        EXPECT_EQ(d.saveLogFolder, "/home/me/logs");
        EXPECT_TRUE(d.EditCmdLn->text().isEmpty() || d.EditCmdLn->text().contains("speed=16"));
        d.show();
        EXPECT_TRUE(d.EditCmdLn->text().contains("speed=16")) << d.EditCmdLn->text().toStdString();
        d.EditSpeed->setValue(24);
        d.saveLogFolder = "/tmp/other";
        QTest::mouseClick(d.BtnCancel, Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    }
    EXPECT_EQ(ini.value("TDlgConsole", "EditSpeed_Value", ""), "24");
    EXPECT_EQ(ini.value("TDlgConsole", "SaveDialog_InitialDir", ""), "/tmp/other");
    EXPECT_EQ(ini.value("TDlgConsole", "ComboSpeed_ItemIndex", ""), "0");
}

} // namespace
} // namespace quillon::test

namespace quillon::test {
namespace {

// readcd does not read the end sector of its range, so the range and the recorder's track
// size use the same count.
TEST_F(ConsoleTest, AnOnTheFlyCopyReadsAndRecordsTheSameSectorCount)
{
    drives.list = {jobDrive('D'), jobDrive('E')};
    drives.list[0].size = 300000;
    drives.list[0].state = JobDiscState::Closed;
    drives.list[0].canWrite = false;
    drives.recorder = 1;
    TDlgConsole &d = open(jtCopyDisc);
    for (QComboBox *c : {d.ComboCDs, d.ComboCdDest}) {
        c->addItems({"D:", "E:"});
        c->show();
    }
    d.ComboCDs->setCurrentIndex(0);
    d.ComboCdDest->setCurrentIndex(1);
    d.EditCmdLn->setText("readcd -v -clone sectors=0-0 dev=/dev/sr0 f=- | cdrecord dev=/dev/sr1 speed=8 -");
    d.BtnStartClick();
    ASSERT_TRUE(finish()) << asked().join('\n').toStdString();
    EXPECT_TRUE(asked().isEmpty()) << asked().join('\n').toStdString();
    EXPECT_TRUE(d.lastVerdict().success) << logLines().join('\n').toStdString();
    EXPECT_EQ(call("readcd", 1).at(2), "sectors=0-300000");
    EXPECT_TRUE(call("cdrecord", 1).contains("tsize=300000s")) << call("cdrecord", 1).join(' ').toStdString();
    EXPECT_EQ(d.FNeedMB, 586);
    EXPECT_EQ(d.FDestDrive, "E:");
}

} // namespace
} // namespace quillon::test

namespace quillon::test {
namespace {

// Not run by default: keeps a data recording going on screen for a look at the dialog
// (run with --gtest_also_run_disabled_tests under a display).
TEST_F(ConsoleTest, DISABLED_ShowsARecordingInProgress)
{
    const QString recorder = tools.root() + "/slow recorder";
    QFile f(recorder);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\ncat > /dev/null &\n"
            "echo 'Starting new track at sector: 0'\n"
            "i=1; while [ $i -le 120 ]; do\n"
            "  b=$(( 70 + (i * 7) % 30 )); s=$(( 20 + (i * 3) % 25 ))\n"
            "  printf 'Track 01: %4d of  300 MB written (fifo 100%%) [buf %3d%%]  %d.0x.\\r' $(( i * 5 / 2 )) $b $s\n"
            "  sleep 0.1; i=$((i+1)); done\necho; echo 'Fixating...'\n");
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    tools.link("cdrecord", recorder);
    host.total = "300 MB";
    TDlgConsole &d = open(jtDataDisc);
    d.resize(760, 560);
    d.BtnStartClick();
    const int ms = qEnvironmentVariableIntValue("QUILLON_SCREENSHOT_MS");
    QTest::qWait(ms > 0 ? ms : 6000);
    const QString out = qEnvironmentVariable("QUILLON_SCREENSHOT");
    if (!out.isEmpty())
        d.grab().save(out);
    ASSERT_TRUE(finish(60000));
}

} // namespace
} // namespace quillon::test

namespace quillon::test {
namespace {

// The branches that hand over to other parts of the program, with given answers.
TEST_F(ConsoleTest, StartAndTheButtonsHandOverToTheirServices)
{
    drives.list = {jobDrive('D'), jobDrive('E')};
    drives.recorder = 1;
    {
        SCOPED_TRACE("media information and project properties");
        TDlgConsole &d = open(jtAudioDisc);
        project.AlbumTitle = "Blue";
        project.AlbumPerformer = "The Band";
        d.BtnMediaInfo->click();
        d.BtnMediaDst->click();
        EXPECT_EQ(host.mediaInfo, (QList<int>{1, 1})); // the options' recorder while the selectors are hidden
        d.EditPerformer->setEnabled(true);
        d.BtnProjectProperties->click();
        EXPECT_EQ(host.properties, 1);
        EXPECT_EQ(d.EditName->text(), "Blue");
        EXPECT_EQ(d.EditPerformer->text(), "The Band");
    }
    {
        SCOPED_TRACE("track information files before an audio recording");
        options.setChkCdText(true);
        TDlgConsole &d = open(jtAudioDisc);
        d.ChkMultisession->setChecked(false);
        d.BtnStartClick();
        ASSERT_TRUE(finish());
        EXPECT_EQ(host.trackInfoFiles, 1);
        EXPECT_EQ(host.pathLists, 0);
        EXPECT_TRUE(logLines().contains("Please wait..."));
    }
    {
        SCOPED_TRACE("the rip loop");
        TDlgConsole &d = open(jtRipAudio);
        d.EditName->setText("Album");
        d.BtnStartClick();
        EXPECT_EQ(host.rips, 1);
        EXPECT_TRUE(d.run().busy());
        d.run().finishRip(0);
        EXPECT_TRUE(d.verdictGiven());
        EXPECT_EQ(screenSaver.inhibitions, 1); // the audio recording only
    }
    {
        SCOPED_TRACE("a rip without its title");
        prompter.clear();
        TDlgConsole &d = open(jtRipAudio);
        d.BtnStartClick();
        EXPECT_EQ(asked(), QStringList{"Missing name: Please specify album title."});
    }
    {
        SCOPED_TRACE("compressing without lame");
        prompter.clear();
        options.setChkRip2Mp3(true);
        options.setEditLame(tools.root() + "/no lame here");
        TDlgConsole &d = open(jtRipAudio);
        d.EditName->setText("Album");
        prompter.answer({pbYes});
        host.optionsDialog = [] { return true; };
        d.BtnStartClick();
        EXPECT_EQ(asked(), QStringList{"External program required: You selected to compress ripped files to MP3 but "
                                       "lame.exe has not been found. Do you wish to locate it now?"});
        EXPECT_EQ(host.optionsPages, QStringList{"MP3"});
        EXPECT_EQ(host.rips, 1); // still the one above
    }
}

TEST_F(ConsoleTest, TheVisibleShellRunsTheCommandInATerminalWithoutAVerdict)
{
    tools.addFixture("faketerminal", "terminal");
    TDlgConsole &d = open(jtDataDisc);
    d.run().launcher().setTerminal(tools.tools() + "terminal", {"-e"});
    d.ChkShell->setChecked(true);
    d.BtnStartClick();
    EXPECT_TRUE(prompter.requests().isEmpty()) << asked().join('\n').toStdString();
    ASSERT_TRUE(waitUntil([&] {
        QFile f(tools.tools() + "terminal.out");
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("Press Enter");
    }, 10000)) << logLines().join('\n').toStdString();
    EXPECT_EQ(calls("cdrecord"), 1);
    EXPECT_FALSE(d.run().busy());
    EXPECT_FALSE(d.verdictGiven());
    EXPECT_TRUE(d.BtnStart->isEnabled());
}

} // namespace
} // namespace quillon::test
