#include "engine/JobLog.h"
#include "engine/LineCutter.h"
#include "engine/OutputParser.h"
#include "support/ScriptedPrompter.h"

#include "EngineFixture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

struct In {
    QString text;
    int type = 0;
};

std::string joined(const QStringList &l) { return "[" + l.join("] [").toStdString() + "]"; }

class OutputParserTest : public ::testing::Test {
protected:
    OutputParserTest()
        : parser(log, nullptr, prompter)
    {
        QObject::connect(&parser, &OutputParser::progress, [this](const ToolProgress &p) { events << p; });
    }
    QStringList feed(const QList<In> &lines, TJobType type = jtDataDisc)
    {
        ParserOptions o;
        o.jobType = type;
        parser.setOptions(o);
        parser.startRun();
        for (const In &l : lines)
            parser.onNewLine(l.text, l.type);
        return log.texts();
    }
    LogLines log;
    ScriptedPrompter prompter;
    OutputParser parser;
    QList<ToolProgress> events;
};

const QString track1 = "Track 01:    1 of  220 MB written (fifo 100%) [buf  81%]   3.9x.";
const QString track2 = "Track 01:    2 of  220 MB written (fifo 100%) [buf  84%]   4.2x.";
const QString track3 = "Track 01:    3 of  220 MB written (fifo  98%) [buf  83%]   4.2x.";

TEST_F(OutputParserTest, LinesBecomeLogText)
{
    struct Case {
        const char *name;
        TJobType type;
        QList<In> in;
        QStringList log;
    };
    const Case cases[] = {
        {"recorder progress stays one line", jtDataDisc, {{"Starting"}, {track1}, {track2}, {track3}, {"Fixating..."}},
         {"Starting", track3, "Fixating..."}},
        {"an image builder's percentage inside the progress line replaces it, the next one goes below",
         jtDataDisc, {{track1}, {track2 + " 45.12% done, estimate finish Thu"}, {track3}},
         {track2 + " 45.12% done, estimate finish Thu", track3}},
        {"progress lines are ordinary lines where no recorder writes", jtBuildImage, {{track1}, {track2}},
         {track1, track2}},
        {"a bare percentage replaces the line before", jtRipAudio, {{"percent_done:"}, {"  5%"}, {" 45%"}, {"100%"}},
         {"100%"}},
        {"a five-character percentage is an ordinary line", jtRipAudio, {{"a"}, {" 100%"}}, {"a", " 100%"}},
        {"a growing line stays one line and its completion replaces it", jtDataDisc,
         {{"x"}, {"abc", 1}, {"abcdef", 1}, {"abcdefg"}, {"y"}}, {"x", "abcdefg", "y"}},
        {"a partial track line completed by the track rule", jtDataDisc, {{"Track 01:  1", 1}, {track1}, {track2}},
         {track2}},
        {"the next progress line arriving in pieces stays in place", jtDataDisc,
         {{"a"}, {track1}, {"Tr", 1}, {"Track 01:    2 of", 1}, {track2}}, {"a", track2}},
        {"a piece that turns out to be another line", jtDataDisc, {{track1}, {"Tr", 1}, {"Trouble"}},
         {track1, "Trouble"}},
        {"backspaces take the characters before them", jtDataDisc, {{"before"}, {"abc\b\bX"}}, {"aX"}},
        {"a backspace run longer than the text before it", jtDataDisc, {{"before"}, {"a\b\b\bZ"}}, {"aZ"}},
        {"control characters show as blanks", jtDataDisc, {{"a\tb\x1b[0m\x1f"}}, {"a b [0m\x1f"}},
        {"readcd's position replaces the line in a copy", jtCopyDisc, {{"end:   331778"}, {"addr:  100 cnt: 64"},
         {"addr:  200 cnt: 64"}}, {"addr:  200 cnt: 64"}},
        {"readcd's position is ordinary elsewhere", jtDataDisc, {{"addr:  100 cnt: 64"}, {"addr:  200 cnt: 64"}},
         {"addr:  100 cnt: 64", "addr:  200 cnt: 64"}},
    };
    for (const Case &c : cases) {
        log.clear();
        const QStringList got = feed(c.in, c.type);
        EXPECT_EQ(got, c.log) << c.name << ": got " << joined(got) << ", expected " << joined(c.log);
    }
}

TEST_F(OutputParserTest, TheLogStaysNearTwoHundredLines)
{
    QList<In> lines;
    for (int i = 1; i <= 201; ++i)
        lines << In{QString::number(i)};
    const QStringList got = feed(lines);
    EXPECT_EQ(got.size(), 191);
    EXPECT_EQ(got.first(), "11");
    for (int i = 0; i < 10; ++i)
        parser.addRedLine("red");
    EXPECT_EQ(log.lineCount(), 201 - 11) << "a red line beyond 200 drops 11";
}

TEST_F(OutputParserTest, ProgressEventsCarryTheToolsNumbers)
{
    feed({{track1},
          {"Track 02:   12 MB written (fifo  94%) [buf  85%]   4.0x."},
          {"Track 01:  484 of  681 MB written (fifo 100%)   2.3x."},
          {" 13.44% done, estimate finish Thu Jun 30 04:10:42 2022"},
          {"end:   1000"},
          {"addr:  250 cnt: 64"},
          {" 45%"}},
         jtCopyDisc);
    ASSERT_EQ(events.size(), 6);
    EXPECT_EQ(events[0].track, 1);
    EXPECT_EQ(events[0].writtenMB, 1);
    EXPECT_EQ(events[0].totalMB, 220);
    EXPECT_EQ(events[0].fifo, 100);
    EXPECT_EQ(events[0].buffer, 81);
    EXPECT_DOUBLE_EQ(events[0].speed, 3.9);
    EXPECT_NEAR(events[0].percent, 100.0 / 220, 1e-9);
    EXPECT_EQ(events[1].track, 2);
    EXPECT_EQ(events[1].totalMB, -1) << "cdrskin writing a stream of unknown length";
    EXPECT_EQ(events[1].percent, -1);
    EXPECT_EQ(events[1].fifo, 94);
    EXPECT_EQ(events[2].buffer, -1) << "old recorders print no [buf] field";
    EXPECT_DOUBLE_EQ(events[2].speed, 2.3);
    EXPECT_EQ(events[3].source, ToolProgress::ImageBuilder);
    EXPECT_DOUBLE_EQ(events[3].percent, 13.44);
    EXPECT_EQ(events[4].source, ToolProgress::Reader);
    EXPECT_DOUBLE_EQ(events[4].percent, 25.0);
    EXPECT_EQ(events[5].source, ToolProgress::Ripper);
    EXPECT_DOUBLE_EQ(events[5].percent, 45.0);
}

TEST_F(OutputParserTest, OnlyCompleteLinesReachTheLogFile)
{
    ToolFolder tools;
    JobLog jobLog(tools.paths().dataDir(), prompter);
    OutputParser withFile(log, &jobLog, prompter);
    ASSERT_TRUE(jobLog.open("1.log", "Caption", "cmd"));
    withFile.startRun();
    withFile.onNewLine("abc", 1);
    withFile.onNewLine("abcdef", 1);
    withFile.onNewLine("abcdefg", 0);
    withFile.onError("Error creating process");
    withFile.verdict(0);
    QFile f(jobLog.resolveName("1.log"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "Caption\r\n\r\ncmd\r\n\r\nabcdefg\r\nError creating process\r\n******* Error! *******\r\n");
    EXPECT_FALSE(jobLog.isOpen()) << "the verdict closes the file";
}

struct VerdictCase {
    const char *name;
    TJobType type;
    int exitCode;
    bool failed, aborted, fileErrors, overburn;
    QStringList badRips;
    QStringList tail; // the log after the last tool line
};

TEST_F(OutputParserTest, TheVerdictInItsOrder)
{
    const VerdictCase cases[] = {
        {"success", jtDataDisc, 0, false, false, false, false, {},
         {"", "Process exit code: 0", "******* Finished successfully *******"}},
        {"a tool's failure", jtBuildImage, 255, false, false, false, false, {},
         {"", "Process exit code: 255", "******* Error! *******"}},
        {"an aborted job shows no exit code", jtBuildImage, 0, false, true, false, false, {},
         {"", "******* Aborted *******"}},
        {"a runner error shows no exit code", jtDataDisc, 0, true, false, false, false, {}, {"", "******* Error! *******"}},
        {"a failed overburn recording gets advice", jtDataDisc, 1, false, false, false, true, {},
         {"", "Process exit code: 1", "******* Error! *******", "Please check this CD. It MAY WORK.",
          "Some drives report errors at the end of overburning."}},
        {"no advice when no disc was written", jtBuildImage, 1, false, false, false, true, {},
         {"", "Process exit code: 1", "******* Error! *******"}},
        {"a rip with a failed track", jtRipAudio, 0, false, false, true, false, {"b.wav", "a.wav"},
         {"", "Process exit code: 0", "******* Error! *******", "",
          "Please check following files (there were errors processing them):", "a.wav", "b.wav"}},
    };
    for (const VerdictCase &c : cases) {
        log.clear();
        feed({{"tool output"}}, c.type);
        ParserOptions o = parser.options();
        o.chkOverBurn = c.overburn;
        parser.setOptions(o);
        parser.FFailed = c.failed;
        parser.FAborted = c.aborted;
        parser.FFileErrors = c.fileErrors;
        for (const QString &b : c.badRips)
            parser.addBadRip(b);
        const OutputParser::Verdict v = parser.verdict(c.exitCode);
        QStringList tail = log.texts().mid(1);
        EXPECT_EQ(tail, c.tail) << c.name << ": got " << joined(tail);
        const LogColour colour = log.lines().at(c.tail.indexOf(v.line) + 1).colour;
        EXPECT_EQ(colour, v.success ? LogColour::Green : LogColour::Red) << c.name;
    }
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(OutputParserTest, TheImageIsOfferedForDeletionOnlyAfterARealSuccess)
{
    QTemporaryDir dir;
    const QString image = dir.path() + "/a.iso";
    struct Case {
        const char *name;
        int exitCode;
        bool test, failed, aborted, asked;
    };
    const Case cases[] = {
        {"a real recording", 0, false, false, false, true},
        {"a test run", 0, true, false, false, false},
        {"a failed one", 0, false, true, false, false},
        {"an aborted one", 0, false, false, true, false},
        {"a non-zero exit", 2, false, false, false, false},
    };
    for (const Case &c : cases) {
        QFile f(image);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        prompter.clear();
        prompter.answer({pbYes});
        ParserOptions o;
        o.jobType = jtDataDisc;
        o.createImage = true;
        o.deleteImage = true;
        o.chkTest = c.test;
        o.imageFile = image;
        parser.setOptions(o);
        parser.startRun();
        parser.FFailed = c.failed;
        parser.FAborted = c.aborted;
        const OutputParser::Verdict v = parser.verdict(c.exitCode);
        EXPECT_EQ(prompter.requests().size(), c.asked ? 1 : 0) << c.name;
        EXPECT_EQ(v.imageDeleted, c.asked) << c.name;
        EXPECT_EQ(QFile::exists(image), !c.asked) << c.name;
        if (c.asked) {
            EXPECT_EQ(prompter.requests().first().text, "Do you wish to delete file " + image);
            EXPECT_EQ(prompter.requests().first().caption, "Delete ISO image?");
        }
    }
}

// The real transcripts lost their carriage returns; each is fed once with LF and once with
// every line ended by CR, as the tools print progress.
class TranscriptTest : public OutputParserTest {
protected:
    QStringList feedTranscript(const QString &file, TJobType type, const QByteArray &eol)
    {
        QFile f(engineFixture("transcripts/" + file));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        QList<QByteArray> lines = f.readAll().split('\n');
        lines.removeFirst(); // the note on where it came from
        ParserOptions o;
        o.jobType = type;
        parser.setOptions(o);
        parser.startRun();
        log.clear();
        events.clear();
        LineCutter cutter(QStringConverter::Utf8);
        auto sink = [this](const QString &t, int ty) { parser.onNewLine(t, ty); };
        QByteArray all;
        for (const QByteArray &l : lines)
            all += l + eol;
        // Reads of an odd size, so lines and CR LF pairs fall across them.
        for (qsizetype i = 0; i < all.size(); i += 77)
            cutter.feed(QByteArrayView(all).sliced(i, qMin<qsizetype>(77, all.size() - i)), sink);
        cutter.finish(sink);
        return log.texts();
    }
};

TEST_F(TranscriptTest, ARecordingKeepsOneProgressLineAndItsNumbers)
{
    for (const QByteArray &eol : {QByteArray("\n"), QByteArray("\r"), QByteArray("\r\n")}) {
        const QStringList got = feedTranscript("cdrecord_sao_cdrw_full_burn.txt", jtDataDisc, eol);
        EXPECT_EQ(got.filter(" written (fifo ").size(), 1) << joined(got);
        EXPECT_LE(got.size(), 200);
        ASSERT_FALSE(events.isEmpty());
        EXPECT_EQ(events.last().writtenMB, 220);
        EXPECT_EQ(events.last().totalMB, 220);
        EXPECT_EQ(events.last().buffer, 80);
        EXPECT_DOUBLE_EQ(events.last().speed, 4.3);
        EXPECT_EQ(events.size(), 220);
    }
}

TEST_F(TranscriptTest, ErrorsStayVisible)
{
    struct Case {
        const char *file;
        TJobType type;
        QStringList visible;
    };
    const Case cases[] = {
        {"cdrecord_write_error_medium_error_midtrack.txt", jtDataDisc,
         {"cdrecord: A write error occured.", "write track data: error after 507523072 bytes"}},
        {"wodim_no_disk_wrong_disk_tray_closed.txt", jtDataDisc, {"wodim: No disk / Wrong disk! "}},
        {"cdrecord_msinfo_failures.txt", jtAddSession, {"cdrecord: No disk / Wrong disk!",
                                                        "cdrecord: Cannot read first writable address"}},
        {"readcd_tao_runout_last_sector_unreadable.txt", jtCopyDisc,
         {"readcd: Input/output error. Cannot read source disk", "331776"}},
        {"icedax_cdda2wav_rip_success_with_toc.txt", jtRipAudio, {"100%  track 27 recorded successfully"}},
        {"genisoimage_eltorito_success_progress_extents.txt", jtBuildImage, {"37204 extents written (72 MB)"}},
    };
    for (const Case &c : cases) {
        for (const QByteArray &eol : {QByteArray("\n"), QByteArray("\r")}) {
            const QStringList got = feedTranscript(c.file, c.type, eol);
            for (const QString &v : c.visible)
                EXPECT_TRUE(got.contains(v)) << c.file << ": missing " << v.toStdString() << " in " << joined(got);
        }
    }
    feedTranscript("genisoimage_eltorito_success_progress_extents.txt", jtBuildImage, "\r");
    ASSERT_EQ(events.size(), 7);
    EXPECT_DOUBLE_EQ(events.last().percent, 94.10);
}

} // namespace
} // namespace quillon::test
