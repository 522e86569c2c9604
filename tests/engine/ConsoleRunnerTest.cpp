#include "engine/ConsoleRunner.h"
#include "engine/LineCutter.h"

#include "EngineFixture.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

struct Delivered {
    QString text;
    int type;
    bool operator==(const Delivered &o) const { return text == o.text && type == o.type; }
};

void PrintTo(const Delivered &d, std::ostream *os) { *os << "(" << d.text.toStdString() << "," << d.type << ")"; }

std::string show(const QList<Delivered> &list)
{
    std::string out;
    for (const Delivered &d : list)
        out += "(" + QString(d.text).replace('\r', "\\r").toStdString() + "," + std::to_string(d.type) + ")";
    return out;
}

TEST(LineCutterTest, CutsAtEveryLineEndAcrossReads)
{
    struct Case {
        const char *name;
        QList<QByteArray> reads;
        QList<Delivered> expected; // including what finish() delivers
    };
    const Case cases[] = {
        {"LF, CR and CR LF", {"a\nb\rc\r\nd"}, {{"a", 0}, {"b", 0}, {"c", 0}, {"d", 1}, {"d", 0}}},
        {"CR LF split across reads counts once", {"a\r", "\nb\n"}, {{"a", 0}, {"b", 0}}},
        {"two CRs are an empty line", {"a\r\rb\n"}, {{"a", 0}, {"", 0}, {"b", 0}}},
        {"a growing line", {"Tr", "ack", " 1\n"}, {{"Tr", 1}, {"Track", 1}, {"Track 1", 0}}},
        {"NUL bytes dropped", {QByteArray("a\0b\n", 4), QByteArray("\0", 1)}, {{"ab", 0}}},
        {"UTF-8 character split across reads", {"caf\xc3", "\xa9\n"}, {{"caf", 1}, {"caf\u00e9", 0}}},
        {"pending text ends as a complete line", {"tail"}, {{"tail", 1}, {"tail", 0}}},
    };
    for (const Case &c : cases) {
        LineCutter cutter(QStringConverter::Utf8);
        QList<Delivered> got;
        auto sink = [&](const QString &t, int type) { got.append({t, type}); };
        for (const QByteArray &r : c.reads)
            cutter.feed(r, sink);
        cutter.finish(sink);
        EXPECT_EQ(got, c.expected) << c.name << ": got " << show(got) << " expected " << show(c.expected);
    }
}

class ConsoleRunnerTest : public ::testing::Test {
protected:
    struct Run {
        QList<Delivered> lines;
        QStringList errors;
        int terminatedCount = 0;
        int exitCode = 0;
        qint64 elapsedMs = 0;
    };
    Run run(const QString &fixture, const QStringList &args = {}, const std::function<void(ConsoleRunner &)> &during = {})
    {
        Run r;
        ConsoleRunner runner;
        runner.setStopGrace(500);
        QObject::connect(&runner, &ConsoleRunner::newLine, [&](const QString &t, int type) {
            EXPECT_EQ(r.terminatedCount, 0) << "a line after termination: " << t.toStdString();
            r.lines.append({t, type});
        });
        QObject::connect(&runner, &ConsoleRunner::error, [&](const QString &t) { r.errors << t; });
        QObject::connect(&runner, &ConsoleRunner::terminated, [&] {
            ++r.terminatedCount;
            r.exitCode = runner.exitCode();
        });
        QElapsedTimer clock;
        clock.start();
        runner.execute(engineFixture(fixture), args, QDir::tempPath());
        if (during)
            during(runner);
        EXPECT_TRUE(waitUntil([&] { return r.terminatedCount > 0; })) << fixture.toStdString() << " never ended";
        r.elapsedMs = clock.elapsed();
        // Give a second termination the chance to show up.
        waitUntil([] { return false; }, 100);
        EXPECT_EQ(r.terminatedCount, 1);
        EXPECT_FALSE(runner.isRunning());
        return r;
    }
    static QList<Delivered> complete(const QList<Delivered> &lines)
    {
        QList<Delivered> out;
        for (const Delivered &d : lines)
            if (d.type == 0)
                out << d;
        return out;
    }
};

TEST_F(ConsoleRunnerTest, ProgressRewritingOneLineArrivesLineByLine)
{
    // The last CR and the LF after it end one line, not two.
    const Run r = run("cr_progress");
    const QList<Delivered> expected = {
        {"begin", 0},
        {"Track 01:    1 of    3 MB written (fifo 100%) [buf  99%]   4.0x.", 0},
        {"Track 01:    2 of    3 MB written (fifo 100%) [buf  99%]   4.0x.", 0},
        {"Track 01:    3 of    3 MB written (fifo 100%) [buf  99%]   4.0x.", 0},
        {"CRLF line", 0},
        {"last without end", 0},
    };
    EXPECT_EQ(complete(r.lines), expected) << show(r.lines);
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(ConsoleRunnerTest, PartialLinesGrowAndEndWhole)
{
    const Run r = run("partial");
    // Each read of a line still open arrives as type 1 holding the whole line so far; the
    // split character and the NUL byte never show.
    const QList<Delivered> expected = {{"abc", 1}, {"abcdef ", 1}, {"abcdef \u00e9t", 0}, {"next", 0}};
    EXPECT_EQ(r.lines, expected) << show(r.lines);
}

TEST_F(ConsoleRunnerTest, ExitCodesAndBothStreams)
{
    const Run r = run("exitcode", {"3"});
    EXPECT_EQ(r.exitCode, 3);
    QStringList texts;
    for (const Delivered &d : r.lines)
        texts << d.text;
    EXPECT_TRUE(texts.contains("to stdout") && texts.contains("to stderr")) << texts.join('|').toStdString();
}

TEST_F(ConsoleRunnerTest, DeathBySignalIsAFailure)
{
    const Run r = run("diebysignal");
    EXPECT_EQ(r.exitCode, 128 + 15);
}

TEST_F(ConsoleRunnerTest, StopInterruptsAndReportsZero)
{
    const Run r = run("slow", {}, [](ConsoleRunner &runner) {
        waitUntil([&] { return false; }, 300);
        runner.stop();
    });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_LT(r.elapsedMs, 3000) << "the interrupt did not end the tool";
}

TEST_F(ConsoleRunnerTest, AToolDeafToInterruptsIsKilledAfterTheGracePeriod)
{
    const Run r = run("ignoreint", {}, [](ConsoleRunner &runner) {
        waitUntil([&] { return false; }, 300);
        runner.stop();
    });
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_GE(r.elapsedMs, 700) << "ended before the grace period";
    EXPECT_LT(r.elapsedMs, 5000);
}

TEST_F(ConsoleRunnerTest, AMissingProgramReportsAnErrorThenTerminates)
{
    const Run r = run("no such program");
    EXPECT_EQ(r.errors, QStringList{"Error creating process"});
    EXPECT_NE(r.exitCode, 0);
}

TEST_F(ConsoleRunnerTest, ABurstArrivesCompleteAndInOrder)
{
    const Run r = run("burst", {"20000"});
    const QList<Delivered> lines = complete(r.lines);
    ASSERT_EQ(lines.size(), 20001);
    EXPECT_TRUE(lines.at(0).text.startsWith("Track 01:    1 of"));
    EXPECT_TRUE(lines.at(19999).text.startsWith("Track 01: 20000 of"));
    EXPECT_EQ(lines.last().text, "burst done");
}

TEST_F(ConsoleRunnerTest, EmptyCommandDoesNothing)
{
    ConsoleRunner runner;
    int terminated = 0;
    QObject::connect(&runner, &ConsoleRunner::terminated, [&] { ++terminated; });
    runner.execute(QString(), {}, QDir::tempPath());
    EXPECT_FALSE(runner.isRunning());
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(terminated, 0);
}

TEST_F(ConsoleRunnerTest, RealGenisoimageProgress)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/src");
    QFile big(dir.path() + "/src/big.bin");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    QByteArray block(1 << 20, 'x');
    for (int i = 0; i < 12; ++i) {
        block[i] = char(i);
        big.write(block);
    }
    big.close();
    const QString tool = QStandardPaths::findExecutable("genisoimage");
    if (tool.isEmpty())
        GTEST_SKIP() << "genisoimage is not installed";
    ConsoleRunner runner;
    QStringList lines;
    bool ended = false;
    QObject::connect(&runner, &ConsoleRunner::newLine, [&](const QString &t, int type) {
        if (type == 0)
            lines << t;
    });
    QObject::connect(&runner, &ConsoleRunner::terminated, [&] { ended = true; });
    runner.execute(tool, {"-R", "-o", dir.path() + "/a.iso", dir.path() + "/src"}, dir.path());
    ASSERT_TRUE(waitUntil([&] { return ended; }));
    EXPECT_EQ(runner.exitCode(), 0);
    EXPECT_FALSE(lines.filter("% done, estimate finish").isEmpty()) << lines.join('\n').toStdString();
    EXPECT_FALSE(lines.filter("extents written").isEmpty());
}

} // namespace
} // namespace quillon::test
