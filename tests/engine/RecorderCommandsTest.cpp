// The cdrecord commands: fragment order per option combination, the track size, the command
// per job type, and recordings through a fake cdrecord and the real cdrskin.
#include "engine/RecorderCommands.h"
#include "engine/PathList.h"
#include "engine/ToolLauncher.h"
#include "project/ProjectModel.h"
#include "settings/OptionsModel.h"
#include "support/ScriptedNotExistsAsker.h"
#include "support/ScriptedPrompter.h"

#include "EngineFixture.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quillon::test {
namespace {

const QString sr0 = QStringLiteral("/dev/sr0");

struct Row {
    const char *name;
    std::function<void(RecorderInputs &, OptionsModel &)> setup;
    QString expected; // the rendered text after "cdrecord "
};

RecorderInputs recorderAt(const QString &device)
{
    RecorderInputs in;
    in.recorder = DeviceAddress::of(device);
    return in;
}

void checkRows(const QList<Row> &rows,
               const std::function<BuiltCommand(const RecorderInputs &, const OptionsModel &)> &build)
{
    for (const Row &r : rows) {
        RecorderInputs in = recorderAt(sr0);
        OptionsModel o;
        r.setup(in, o);
        const BuiltCommand b = build(in, o);
        EXPECT_EQ(b.text().toStdString(), ("cdrecord " + r.expected).toStdString()) << r.name;
        EXPECT_EQ(b.runnable(), in.recorder.known) << r.name;
        const CommandLine::Parsed back = CommandLine::parse(b.text());
        EXPECT_TRUE(back.ok() && back.commands == b.commands)
            << r.name << ": the text reads back as the arguments";
    }
}

TEST(RecorderCommandsTest, RecordCommand)
{
    checkRows(
        {
            {"data disc on the fly with multisession and the default FIFO",
             [](RecorderInputs &i, OptionsModel &) {
                 i.FJobType = jtDataDisc;
                 i.ChkOnTheFly = true;
             },
             "-v -immed -multi speed=8 fs=4m dev=/dev/sr0 -"},
            {"image file without multisession",
             [](RecorderInputs &i, OptionsModel &) {
                 i.FJobType = jtImageDisc;
                 i.ChkMultisession = false;
                 i.EditFile = "/home/me/my disc \"1\".iso";
             },
             "-v -immed speed=8 fs=4m dev=/dev/sr0 -data \"/home/me/my disc \\\"1\\\".iso\""},
            {"a hidden multisession box adds no -multi",
             [](RecorderInputs &i, OptionsModel &) {
                 i.FJobType = jtImageDisc;
                 i.multisessionVisible = false;
                 i.EditFile = "/x.iso";
             },
             "-v -immed speed=8 fs=4m dev=/dev/sr0 -data \"/x.iso\""},
            {"CUE image uses the rewritten sheet and never -data",
             [](RecorderInputs &i, OptionsModel &) {
                 i.FJobType = jtImageDisc;
                 i.ChkMultisession = false;
                 i.ImageIsCue = true;
                 i.EditFile = "/x/disc.cue";
                 i.RewriteCueSheet = [] { return QString("/work dir/modified.cue"); };
             },
             "-v -immed speed=8 fs=4m dev=/dev/sr0 -dao cuefile=\"/work dir/modified.cue\""},
            {"every option, add session on the fly",
             [](RecorderInputs &i, OptionsModel &o) {
                 i.FJobType = jtAddSession;
                 i.ChkOnTheFly = true;
                 i.ChkOverBurn = true;
                 i.ChkTest = true;
                 i.speed = 24;
                 o.setChkForceErrors(true);
                 o.setChkEject(true);
                 o.setSpinBuffer(16);
                 o.setChkCdrecOptions(true);
                 o.setEditCdrecOptions("-tao 'driveropts=a b' gracetime=2");
                 o.setChkBurnproof(true);
             },
             "-v -immed -multi -waiti -overburn -dummy speed=24 -force -eject fs=16m -tao \"driveropts=a b\" "
             "gracetime=2 dev=/dev/sr0 driveropts=burnfree -"},
            {"the data part of a CD Plus job waits for its input",
             [](RecorderInputs &i, OptionsModel &) {
                 i.FJobType = jtCdPlus;
                 i.FCdPlusAudio = true;
                 i.ChkOnTheFly = true;
             },
             "-v -immed -multi -waiti speed=8 fs=4m dev=/dev/sr0 -"},
            {"no recorder: the text shows 0,0,0 and the command must not run",
             [](RecorderInputs &i, OptionsModel &) {
                 i.recorder = DeviceAddress::none();
                 i.FJobType = jtDataDisc;
                 i.ChkOnTheFly = true;
             },
             "-v -immed -multi speed=8 fs=4m dev=0,0,0 -"},
        },
        BuildRecordCommand);
}

TEST(RecorderCommandsTest, AFailedCueRewriteStopsTheCommand)
{
    RecorderInputs in = recorderAt(sr0);
    in.FJobType = jtImageDisc;
    in.ImageIsCue = true;
    in.RewriteCueSheet = [] { return QString(); };
    EXPECT_FALSE(BuildRecordCommand(in, OptionsModel()).runnable());
}

const QStringList tracks{"/music/01 - it's \"one\".wav", "/music/$2.wav"};
const QString tracksText = "\"/music/01 - it's \\\"one\\\".wav\" \"/music/\\$2.wav\"";

TEST(RecorderCommandsTest, AudioCommand)
{
    checkRows(
        {
            {"CD-Text with multisession: -nofix and -useinfo -text, no -dao",
             [](RecorderInputs &i, OptionsModel &o) {
                 i.FJobType = jtAudioDisc;
                 i.audioTracks = tracks;
                 o.setChkCdText(true);
             },
             "-v -immed -nofix speed=8 fs=4m dev=/dev/sr0 -pad -useinfo -text -copy -audio " + tracksText},
            {"CD-Text without multisession writes disc at once",
             [](RecorderInputs &i, OptionsModel &o) {
                 i.FJobType = jtAudioDisc;
                 i.ChkMultisession = false;
                 i.audioTracks = tracks;
                 o.setChkCdText(true);
             },
             "-v -immed speed=8 fs=4m dev=/dev/sr0 -pad -dao -useinfo -text -copy -audio " + tracksText},
            {"plain audio with overburn, test and burnproof",
             [](RecorderInputs &i, OptionsModel &o) {
                 i.FJobType = jtAudioDisc;
                 i.ChkMultisession = false;
                 i.ChkOverBurn = true;
                 i.ChkTest = true;
                 i.audioTracks = {"/a.wav"};
                 o.setChkBurnproof(true);
             },
             "-v -immed -overburn -dummy speed=8 fs=4m dev=/dev/sr0 driveropts=burnfree -pad -copy -audio "
             "\"/a.wav\""},
        },
        [](const RecorderInputs &i, const OptionsModel &o) { return BuildAudioCommand(i, o, false); });
}

TEST(RecorderCommandsTest, CdPlusAudioPartAlwaysEjects)
{
    FunctionRecorderDevices devices;
    devices.letterOf = [](int i) { return i == 2 ? std::optional<QChar>('e') : std::nullopt; };
    OptionsModel o;
    o.setComboCDs(2);
    o.setChkCdText(true);
    RecorderInputs in = recorderAt("/dev/sr2");
    in.FJobType = jtCdPlus;
    in.ChkMultisession = false;
    in.audioTracks = {"/a.wav"};
    const CdPlusAudioCommand c = BuildCdPlusAudioCommand(in, o, devices);
    EXPECT_EQ(
        c.command.text().toStdString(),
        "cdrecord -v -immed -multi speed=8 -eject fs=4m dev=/dev/sr2 -pad -dao -useinfo -text -copy -audio "
        "\"/a.wav\"");
    EXPECT_FALSE(o.ChkEject()) << "the setting is left as it was";
    EXPECT_TRUE(c.FCdPlusAudio);
    EXPECT_EQ(c.FCdPlusRecorder, 2);
    EXPECT_EQ(c.MsDriveLetter, QChar('E'));

    in.ChkMultisession = true;
    EXPECT_FALSE(BuildCdPlusAudioCommand(in, o, devices).command.text().contains("-useinfo"))
        << "with multisession no track information files are written";

    in.recorder = DeviceAddress::none();
    const CdPlusAudioCommand none = BuildCdPlusAudioCommand(in, o, devices);
    EXPECT_TRUE(none.command.commands.isEmpty() && !none.command.runnable()) << "no recorder, no command";
    EXPECT_FALSE(none.FCdPlusAudio);
}

TEST(RecorderCommandsTest, SessionAudioCommand)
{
    AppPaths paths({"/p", "/c", "/d", "/k"});
    OptionsModel o;
    o.setChkCdText(true);
    ImageCommandInputs image;
    image.jobType = jtAddSession;
    image.MsInfo = "0,2000";
    image.msDrive = DeviceAddress::of(sr0);
    RecorderInputs in = recorderAt(sr0);
    in.FJobType = jtAddSession;
    in.ChkOnTheFly = true;
    in.ChkMultisession = false;
    in.audioTracks = tracks;
    const BuiltCommand b = BuildSessionAudioCommand(image, in, o, paths);
    ASSERT_EQ(b.commands.size(), 2);
    EXPECT_EQ(b.commands.first().first(), QString("mkisofs"));
    EXPECT_EQ(b.text().section(" | ", 1).toStdString(),
              ("cdrecord -v -immed -waiti speed=8 fs=4m dev=/dev/sr0 - -dao -pad -copy -audio " + tracksText)
                  .toStdString())
        << "no -useinfo -text: an add-session job writes no track information files";
}

TEST(RecorderCommandsTest, EraseAndFixate)
{
    checkRows(
        {
            {"default erase is fast", [](RecorderInputs &, OptionsModel &) {},
             "-v -immed speed=8 blank=fast dev=/dev/sr0"},
            {"full erase with every option",
             [](RecorderInputs &i, OptionsModel &o) {
                 i.erase = EraseMode::Full;
                 i.ChkOverBurn = true;
                 i.ChkTest = true;
                 o.setChkForceErrors(true);
                 o.setChkEject(true);
                 o.setChkBurnproof(true);
             },
             "-v -immed -overburn -dummy speed=8 -force -eject blank=all dev=/dev/sr0 driveropts=burnfree"},
            {"last session", [](RecorderInputs &i, OptionsModel &) { i.erase = EraseMode::LastSession; },
             "-v -immed speed=8 blank=session dev=/dev/sr0"},
        },
        BuildEraseCommand);
    checkRows(
        {
            {"fixate always holds -fix", [](RecorderInputs &, OptionsModel &) {},
             "-v -immed speed=8 -fix dev=/dev/sr0"},
            {"fixate ignores test mode",
             [](RecorderInputs &i, OptionsModel &o) {
                 i.ChkTest = true;
                 i.ChkOverBurn = true;
                 o.setChkEject(true);
             },
             "-v -immed -overburn speed=8 -eject -fix dev=/dev/sr0"},
        },
        BuildFixateCommand);
}

TEST(RecorderCommandsTest, TrackSizeGoesBeforeTheRecordersSpeed)
{
    AppPaths paths({"/p", "/c", "/d", "/k"});
    OptionsModel o;
    ImageCommandInputs image;
    image.jobType = jtDataDisc;
    image.EditName = "x speed=3";
    RecorderInputs in = recorderAt(sr0);
    in.FJobType = jtDataDisc;
    in.ChkOnTheFly = true;
    BuiltCommand b = BuildOnTheFlyCommand(image, in, o, paths);
    ASSERT_TRUE(InsertTrackSize(b.commands, 1000));
    EXPECT_TRUE(b.commands.first().contains("x speed=3")) << "the volume name is untouched";
    EXPECT_EQ(CommandLine::render(b.commands.last()).toStdString(),
              "cdrecord -v -immed -multi tsize=1000s speed=8 fs=4m dev=/dev/sr0 -");

    // The text the user may have edited is read back first.
    CommandLine::Parsed edited =
        CommandLine::parse("mkisofs -V speed=1 | cdrecord -v  speed=4 dev=/dev/sr0 -");
    ASSERT_TRUE(InsertTrackSize(edited.commands, 7));
    EXPECT_EQ(CommandLine::renderPipe(edited.commands).toStdString(),
              "mkisofs -V speed=1 | cdrecord -v tsize=7s speed=4 dev=/dev/sr0 -");
    QList<ToolCommand> noSpeed{{"cdrecord", "-v", "-"}};
    EXPECT_FALSE(InsertTrackSize(noSpeed, 7));
}

TEST(RecorderCommandsTest, UpdateCmdLnPicksTheCommandOfTheJob)
{
    AppPaths paths({"/p", "/c", "/d", "/k"});
    OptionsModel o;
    FunctionRecorderDevices devices;
    ImageCommandInputs image;
    image.EditFile = "/out.iso";
    RecorderInputs in = recorderAt(sr0);
    in.EditFile = "/out.iso";
    in.audioTracks = {"/a.wav"};
    struct Case {
        TJobType job;
        bool audioTab;
        QString starts; // programs of the command, joined by "|"
        QString holds;
    };
    const QList<Case> cases{
        {jtBuildImage, false, "mkisofs", "-o \"/out.iso\""},
        {jtDataDisc, false, "mkisofs|cdrecord", "-data \"/out.iso\""},
        {jtImageDisc, false, "cdrecord", "-data \"/out.iso\""},
        {jtErase, false, "cdrecord", "blank=fast"},
        {jtAudioDisc, false, "cdrecord", "-copy -audio"},
        {jtCdPlus, false, "cdrecord", "-multi"},
        {jtAddSession, false, "mkisofs|cdrecord", "-check-oldnames"},
        {jtAddSession, true, "mkisofs|cdrecord", "-pad -copy -audio"},
        {jtRipAudio, false, "cdda2wav", "rip"},
        {jtCopyDisc, false, "readcd", "copy"},
        {jtFixate, false, "cdrecord", "-fix"},
    };
    for (const Case &c : cases) {
        image.jobType = c.job;
        in.FJobType = c.job;
        in.audioTabShown = c.audioTab;
        const JobCommand j = UpdateCmdLn({image, in, o, paths, devices,
                                          [] {
                                              return BuiltCommand{{{"cdda2wav", "rip"}}, {}, {}};
                                          },
                                          [] {
                                              return BuiltCommand{{{"readcd", "copy"}}, {}, {}};
                                          }});
        QStringList programs;
        for (const ToolCommand &t : j.command.commands)
            programs << t.first();
        EXPECT_EQ(programs.join('|').toStdString(), c.starts.toStdString()) << "job " << int(c.job);
        EXPECT_TRUE(j.EditCmdLn().contains(c.holds))
            << "job " << int(c.job) << ": " << j.EditCmdLn().toStdString();
        EXPECT_EQ(j.cdPlus.has_value(), c.job == jtCdPlus) << "job " << int(c.job);
    }
}

// --- Recording for real -------------------------------------------------------------------

class RecordingTest : public ::testing::Test {
protected:
    int runToEnd(ToolLauncher &launcher, const QString &text, bool onTheFly)
    {
        bool ended = false;
        auto c = QObject::connect(&launcher.runner(), &ConsoleRunner::terminated, [&] { ended = true; });
        EXPECT_TRUE(launcher.start(text, onTheFly)) << text.toStdString();
        EXPECT_TRUE(waitUntil([&] { return ended; }, 60000));
        QObject::disconnect(c);
        return launcher.runner().exitCode();
    }
    QString treeOf(const QString &iso)
    {
        QProcess p;
        p.start("isoinfo", {"-R", "-l", "-i", iso});
        p.waitForFinished();
        QStringList lines;
        for (const QString &l : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
            // Drop the dates: the two images are made at different times.
            const int close = l.indexOf("]  ");
            lines << (close < 0 ? l : l.left(36).simplified() + " " + l.mid(close + 3));
        }
        return lines.join('\n');
    }

    ToolFolder tools;
    ScriptedPrompter prompter;
};

TEST_F(RecordingTest, AudioAndMultisessionArgumentsReachTheRecorderUnchanged)
{
    tools.addFixture("recordargs", "cdrecord");
    OptionsModel o;
    o.setChkCdText(true);
    o.setChkCdrecOptions(true);
    o.setEditCdrecOptions("-text \"$(touch canary)\"");
    RecorderInputs in = recorderAt(sr0);
    in.FJobType = jtAudioDisc;
    in.audioTracks = {tools.root() + "/it's `one`.wav", tools.root() + "/$two \"2\".wav"};
    RecorderInputs multi = recorderAt(sr0);
    multi.FJobType = jtImageDisc;
    multi.EditFile = tools.root() + "/session $1.iso";
    ToolLauncher launcher(tools.paths(), prompter);
    for (const BuiltCommand &b : {BuildAudioCommand(in, o, false), BuildRecordCommand(multi, o)}) {
        EXPECT_EQ(runToEnd(launcher, b.text(), false), 0) << b.text().toStdString();
        EXPECT_EQ(recordedArguments(tools.tools(), "cdrecord"), b.commands.first().mid(1))
            << b.text().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(tools.tools() + "canary") ||
                 QFileInfo::exists(tools.root() + "/cache/canary"));
}

TEST_F(RecordingTest, DataTracksOnAFileBackedDrive)
{
    if (!tools.addSystemTool("mkisofs", "mkisofs") || !tools.addSystemTool("cdrskin", "cdrecord") ||
        QStandardPaths::findExecutable("isoinfo").isEmpty())
        GTEST_SKIP() << "mkisofs, cdrskin or isoinfo is not installed";
    if (::geteuid() == 0 && !QFile::exists("/root/cdrskin_permissions/allow_emulated_drives"))
        GTEST_SKIP() << "as root cdrskin needs /root/cdrskin_permissions/allow_emulated_drives";

    ProjectModel project(prompter);
    ProjectFolder *root = project.NewDataProject(QString(), "CDROM");
    const QString src = tools.root() + "/source $(x)";
    QDir().mkpath(src);
    QFile f(src + "/data.bin");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(300000, 'q'));
    f.close();
    ProjectFolder *a = project.AddFolderNode(root, "A b");
    a->dane().SourceDir = src;
    project.AddFile(a, "data.bin", src + "/data.bin", 300000);
    OptionsModel o;
    o.setChkCdrecOptions(true);
    o.setEditCdrecOptions("--allow_emulated_drives");
    ScriptedNotExistsAsker asker;
    ASSERT_TRUE(WritePathList({project, o, tools.paths(), asker, {}, {}}).ok());

    ImageCommandInputs image;
    image.jobType = jtBuildImage;
    image.EditName = "Disc \"1\"";
    image.EditFile = tools.root() + "/built.iso";
    ToolLauncher launcher(tools.paths(), prompter);
    ASSERT_EQ(runToEnd(launcher, BuildImageCommand(image, o, tools.paths()).text(), false), 0);

    // An image file recorded as it is.
    const QString drive1 = tools.root() + "/drive 1.img";
    RecorderInputs in = recorderAt("stdio:" + drive1);
    in.FJobType = jtImageDisc;
    in.ChkMultisession = false;
    in.EditFile = image.EditFile;
    ASSERT_EQ(runToEnd(launcher, BuildRecordCommand(in, o).text(), false), 0);
    QFile built(image.EditFile), written(drive1);
    ASSERT_TRUE(built.open(QIODevice::ReadOnly) && written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(built.readAll() == written.readAll()) << "the drive holds the image";

    // On the fly with the size pass's track size.
    const QString drive2 = tools.root() + "/drive 2.img";
    image.jobType = jtDataDisc;
    image.ChkOnTheFly = true;
    in = recorderAt("stdio:" + drive2);
    in.FJobType = jtDataDisc;
    in.ChkOnTheFly = true;
    in.ChkMultisession = false;
    QProcess size;
    const ToolCommand sizeCommand = SizeCommand(BuildImageCommand(image, o, tools.paths()).commands.first());
    size.start(tools.tools() + "mkisofs", sizeCommand.mid(1));
    size.waitForFinished();
    const std::optional<qint64> sectors =
        parseImageSize(QString::fromUtf8(size.readAllStandardOutput()).trimmed().split('\n').last());
    ASSERT_TRUE(sectors.has_value());
    BuiltCommand fly = BuildOnTheFlyCommand(image, in, o, tools.paths());
    ASSERT_TRUE(InsertTrackSize(fly.commands, *sectors));
    ASSERT_EQ(runToEnd(launcher, fly.text(), true), 0);
    EXPECT_EQ(QFileInfo(drive2).size(), *sectors * 2048);
    EXPECT_EQ(treeOf(drive2), treeOf(image.EditFile));
}

} // namespace
} // namespace quillon::test
