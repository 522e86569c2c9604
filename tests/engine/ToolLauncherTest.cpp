#include "engine/JobLog.h"
#include "engine/ProgramRunner.h"
#include "engine/ToolLauncher.h"
#include "engine/ToolScript.h"
#include "support/ScriptedPrompter.h"

#include "EngineFixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

const QStringList injectionNames = {
    "$(touch canary)", "`touch canary`", "x\"; touch canary; \"", "it's", "back\\slash", "a;touch canary",
    "a|touch canary", "a&touch canary", "line\ntouch canary", "$HOME", "*",
};

class ToolLauncherTest : public ::testing::Test {
protected:
    ToolLauncherTest()
    {
        tools.addFixture("recordargs", "mkisofs");
        tools.addFixture("recordargs", "cdrecord");
    }
    // Runs the text to its end; returns the exit code.
    int runToEnd(ToolLauncher &launcher, const QString &text, bool onTheFly)
    {
        bool ended = false;
        auto c = QObject::connect(&launcher.runner(), &ConsoleRunner::terminated, [&] { ended = true; });
        EXPECT_TRUE(launcher.start(text, onTheFly)) << text.toStdString();
        EXPECT_TRUE(waitUntil([&] { return ended; }));
        QObject::disconnect(c);
        return launcher.runner().exitCode();
    }
    void setStatus(const QString &tool, int status)
    {
        QFile f(tools.tools() + tool + ".status");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::number(status));
    }
    bool canaryExists() const
    {
        return QFileInfo::exists(tools.tools() + "canary") || QFileInfo::exists(tools.root() + "/cache/canary") ||
               QFileInfo::exists(QDir::currentPath() + "/canary");
    }

    ToolFolder tools;
    ScriptedPrompter prompter;
};

TEST_F(ToolLauncherTest, ScriptCallsEveryToolFromTheToolFolderWithLfEnds)
{
    ToolScript script(tools.paths());
    const QString text = script.scriptText(
        script.toolBody({{"readcd", "dev=0,1,0", "f=-"}, {"cdrecord", "-"}}, ToolScript::Join::Pipe), true);
    const QStringList lines = text.split('\n');
    EXPECT_FALSE(text.contains('\r'));
    EXPECT_EQ(lines.at(0), "#!sh");
    EXPECT_EQ(lines.at(1), "cd " + CommandLine::shellQuote(tools.tools()));
    EXPECT_TRUE(text.contains("{ ./'readcd' 'dev=0,1,0' 'f=-'; echo $? >")) << text.toStdString();
    EXPECT_TRUE(text.contains("} | ./'cdrecord' '-'")) << text.toStdString();
    EXPECT_TRUE(script.scriptFile().startsWith(tools.paths().workDir()));
}

TEST_F(ToolLauncherTest, HostileNamesReachTheToolsExactlyThroughTheScript)
{
    ToolCommand first{"mkisofs", "-V"}, second{"cdrecord", "-"};
    first << injectionNames;
    second << injectionNames;
    ToolLauncher launcher(tools.paths(), prompter);
    const QString text = CommandLine::renderPipe({first, second});
    EXPECT_EQ(runToEnd(launcher, text, true), 0);
    EXPECT_EQ(launcher.way(), ToolLauncher::Way::ScriptedPipe);
    EXPECT_EQ(recordedArguments(tools.tools(), "mkisofs"), first.mid(1));
    EXPECT_EQ(recordedArguments(tools.tools(), "cdrecord"), second.mid(1));
    EXPECT_FALSE(canaryExists()) << "the shell ran part of a name";
}

TEST_F(ToolLauncherTest, HostileNamesReachTheToolExactlyWhenRunDirectly)
{
    ToolCommand command{"mkisofs", "-V"};
    command << injectionNames;
    ToolLauncher launcher(tools.paths(), prompter);
    EXPECT_EQ(runToEnd(launcher, CommandLine::render(command), false), 0);
    EXPECT_EQ(launcher.way(), ToolLauncher::Way::Direct);
    EXPECT_EQ(recordedArguments(tools.tools(), "mkisofs"), command.mid(1));
    EXPECT_FALSE(canaryExists());
}

TEST_F(ToolLauncherTest, APipeFailsWhenEitherProgramFails)
{
    struct Case {
        const char *name;
        int first, second, expected;
    };
    const Case cases[] = {
        {"both succeed", 0, 0, 0},
        {"the image builder fails, the recorder does not notice", 5, 0, 5},
        {"the recorder fails", 0, 7, 7},
        {"both fail: the first one's status", 3, 4, 3},
    };
    for (const Case &c : cases) {
        setStatus("mkisofs", c.first);
        setStatus("cdrecord", c.second);
        ToolLauncher launcher(tools.paths(), prompter);
        EXPECT_EQ(runToEnd(launcher, "mkisofs -R /x | cdrecord -", true), c.expected) << c.name;
    }
}

TEST_F(ToolLauncherTest, TheChainRunsItsSecondCommandHalfASecondLater)
{
    ToolLauncher launcher(tools.paths(), prompter);
    int chainedStarts = 0;
    QObject::connect(&launcher, &ToolLauncher::chainedStarting, [&] { ++chainedStarts; });
    EXPECT_EQ(runToEnd(launcher, "mkisofs -o \"/tmp/a b.iso\" | cdrecord \"/tmp/a b.iso\"", false), 0);
    EXPECT_EQ(launcher.way(), ToolLauncher::Way::Chain);
    EXPECT_EQ(launcher.nextCommand(), (ToolCommand{"cdrecord", "/tmp/a b.iso"}));
    EXPECT_FALSE(QFileInfo::exists(tools.tools() + "cdrecord.time")) << "the second command ran at once";
    bool ended = false;
    QObject::connect(&launcher.runner(), &ConsoleRunner::terminated, [&] { ended = true; });
    launcher.runNextCommand();
    EXPECT_FALSE(launcher.hasNextCommand());
    ASSERT_TRUE(waitUntil([&] { return ended; }));
    EXPECT_EQ(chainedStarts, 1);
    auto stamp = [&](const char *tool) {
        QFile f(tools.tools() + tool + ".time");
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toDouble() : 0.0;
    };
    EXPECT_GE(stamp("cdrecord") - stamp("mkisofs"), 0.45);
    EXPECT_EQ(recordedArguments(tools.tools(), "cdrecord"), QStringList{"/tmp/a b.iso"});
}

TEST_F(ToolLauncherTest, AChainGoesOnOnlyAfterACleanExitWithoutAbort)
{
    EXPECT_TRUE(ToolLauncher::chainContinues(0, false));
    EXPECT_FALSE(ToolLauncher::chainContinues(1, false));
    EXPECT_FALSE(ToolLauncher::chainContinues(0, true));
}

TEST_F(ToolLauncherTest, UnreadableTextStartsNothing)
{
    ToolLauncher launcher(tools.paths(), prompter);
    EXPECT_FALSE(launcher.start("mkisofs -V \"open", true));
    EXPECT_FALSE(launcher.runner().isRunning());
    EXPECT_EQ(prompter.texts(), QStringList{"The command line cannot be read: an unterminated double quote"});
}

TEST_F(ToolLauncherTest, AnUnwritableScriptStopsTheJobWithItsMessage)
{
    QDir(tools.paths().workDir()).mkpath("script.txt"); // a folder where the file should go
    ToolLauncher launcher(tools.paths(), prompter);
    EXPECT_FALSE(launcher.start("mkisofs | cdrecord -", true));
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests().first().text, "Error writing to file " + tools.paths().workDir() + "script.txt");
    EXPECT_EQ(prompter.requests().first().caption, "Error");
}

TEST_F(ToolLauncherTest, TheVisibleShellRunsTwoStepsOnlyWhileTheFirstSucceeds)
{
    tools.addFixture("faketerminal", "terminal");
    for (int firstStatus : {0, 2}) {
        QFile::remove(tools.tools() + "cdrecord.time");
        QFile::remove(tools.tools() + "terminal.out");
        setStatus("mkisofs", firstStatus);
        ToolLauncher launcher(tools.paths(), prompter);
        launcher.setTerminal(tools.tools() + "terminal", {"-e"});
        ProgramRunner programs(prompter);
        ASSERT_TRUE(launcher.runThroughShell("mkisofs -o a.iso | cdrecord a.iso", false, programs));
        ASSERT_TRUE(waitUntil([&] {
            QFile f(tools.tools() + "terminal.out");
            return f.open(QIODevice::ReadOnly) && f.readAll().contains("Press Enter");
        }));
        EXPECT_EQ(QFileInfo::exists(tools.tools() + "cdrecord.time"), firstStatus == 0)
            << "first step exited " << firstStatus;
    }
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST(ProgramRunnerTest, AFailedStartReportsAndReturnsAtOnce)
{
    ScriptedPrompter prompter;
    ProgramRunner runner(prompter);
    EXPECT_EQ(runner.runProgram("/no where/lame", "-h x.wav", ProgramRunner::wsNormal, true, true),
              ProgramRunner::StartFailed);
    EXPECT_TRUE(runner.programRunFailed());
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests().first().text, "Error executing \"/no where/lame\" -h x.wav");
    EXPECT_EQ(prompter.requests().first().caption, "External program error");
    EXPECT_EQ(prompter.requests().first().icon, PromptIcon::Error);
}

TEST(ProgramRunnerTest, WaitingReturnsTheExitCodeAndAnAbortEndsTheWait)
{
    ScriptedPrompter prompter;
    ProgramRunner runner(prompter);
    runner.setPollInterval(20);
    EXPECT_EQ(runner.runProgram(engineFixture("exitcode"), "4", ProgramRunner::wsHidden, true, true), 4);
    EXPECT_FALSE(runner.programRunFailed());
    EXPECT_EQ(runner.runProgram(engineFixture("exitcode"), "4", ProgramRunner::wsHidden, false, false), 0);
    int polls = 0;
    runner.setAbortRequested([&] { return ++polls > 3; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(runner.runProgram(engineFixture("slow"), "1", ProgramRunner::wsHidden, true, true), -1);
    EXPECT_LT(clock.elapsed(), 900) << "the wait went on after the abort";
    waitUntil([] { return false; }, 1500); // the abandoned program ends on its own
    EXPECT_EQ(ProgramRunner::commandLineText("/usr/bin/lame", "a b"), "/usr/bin/lame a b");
}

TEST(JobLogTest, AnExistingLogBecomesTheBackupAndTheOldBackupGoes)
{
    ToolFolder tools;
    ScriptedPrompter prompter;
    const QString name = tools.paths().dataDir() + "1.log";
    for (const auto &[file, text] : {std::pair{name, "previous"}, std::pair{name + ".bak", "older"}}) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    JobLog log(tools.paths().dataDir(), prompter);
    EXPECT_EQ(log.resolveName("1.log"), name);
    ASSERT_TRUE(log.open("1.log", "Record disc - 12 MB", "mkisofs -R \"/x\""));
    EXPECT_TRUE(log.isOpen());
    log.logToFile("a line");
    log.close();
    log.logToFile("after closing");
    auto read = [](const QString &f) {
        QFile file(f);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };
    EXPECT_EQ(read(name + ".bak"), "previous");
    EXPECT_EQ(read(name), "Record disc - 12 MB\r\n\r\nmkisofs -R \"/x\"\r\n\r\na line\r\n");
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST(JobLogTest, AnUncreatableLogIsReportedAndTheJobGoesOn)
{
    ScriptedPrompter prompter;
    JobLog log(QDir::tempPath(), prompter);
    EXPECT_FALSE(log.open("/no/such/folder/x.log", "caption", "cmd"));
    EXPECT_FALSE(log.isOpen());
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests().first().text, "I can't create log file /no/such/folder/x.log");
    EXPECT_EQ(prompter.requests().first().caption, "Log error");
}

} // namespace
} // namespace quillon::test
