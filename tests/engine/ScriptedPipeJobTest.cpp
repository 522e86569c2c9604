// A small job dialog (log window, progress panel, runner, parser) running the image builder
// into the recorder through the scripted pipe: real genisoimage into real cdrskin writing to a
// file-backed pseudo-drive.
#include "engine/JobLog.h"
#include "engine/LogWindow.h"
#include "engine/OutputParser.h"
#include "engine/ProgressPanel.h"
#include "engine/ToolLauncher.h"
#include "support/ScriptedPrompter.h"

#include "EngineFixture.h"

#include <QDialog>
#include <QFileInfo>
#include <QTextBlock>
#include <unistd.h>
#include <QHBoxLayout>
#include <QTest>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

class TestJobDialog : public QDialog {
public:
    TestJobDialog(const AppPaths &paths, Prompter &prompter)
        : launcher(paths, prompter)
        , parser(*log, nullptr, prompter)
    {
        auto *layout = new QHBoxLayout(this);
        layout->addWidget(log, 3);
        layout->addWidget(progress, 1);
        connect(&launcher.runner(), &ConsoleRunner::newLine, &parser, &OutputParser::onNewLine);
        connect(&launcher.runner(), &ConsoleRunner::error, &parser, &OutputParser::onError);
        connect(&parser, &OutputParser::progress, progress, &ProgressPanel::onProgress);
        connect(&parser, &OutputParser::progress, this, [this](const ToolProgress &p) {
            if (p.source == ToolProgress::Recorder)
                ++recorderEvents;
        });
        connect(&launcher.runner(), &ConsoleRunner::terminated, this, [this] {
            verdict = parser.verdict(launcher.runner().exitCode());
            log->flush();
            finished = true;
        });
    }
    bool start(const QString &command)
    {
        ParserOptions o;
        o.jobType = jtDataDisc;
        o.chkLog = false;
        parser.setOptions(o);
        parser.startRun();
        log->clear();
        progress->reset();
        finished = false;
        log->appendLine(launcher.echoLine(command), LogColour::Normal);
        return launcher.start(command, true);
    }

    LogWindow *log = new LogWindow(this);
    ProgressPanel *progress = new ProgressPanel(this);
    ToolLauncher launcher;
    OutputParser parser;
    OutputParser::Verdict verdict;
    bool finished = false;
    int recorderEvents = 0;
};

class ScriptedPipeJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!tools.addSystemTool("genisoimage", "mkisofs") || !tools.addSystemTool("cdrskin", "cdrecord"))
            GTEST_SKIP() << "genisoimage or cdrskin is not installed";
        if (::geteuid() == 0 && !QFile::exists("/root/cdrskin_permissions/allow_emulated_drives"))
            GTEST_SKIP() << "as root cdrskin needs /root/cdrskin_permissions/allow_emulated_drives";
        source = tools.root() + "/disc source $(touch canary)";
        QDir().mkpath(source);
        QFile big(source + "/data.bin");
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        QByteArray block(1 << 20, '\0');
        for (int i = 0; i < 24; ++i) {
            for (int j = 0; j < block.size(); j += 4096)
                block[j] = char(i * 7 + j);
            big.write(block);
        }
        drive = tools.root() + "/drive.img";
    }
    QString command(const QString &from) const
    {
        return CommandLine::renderPipe({{"mkisofs", "-R", "-V", "it's \"mine\"", from},
                                        {"cdrecord", "--allow_emulated_drives", "dev=stdio:" + drive, "-v", "-"}});
    }

    ToolFolder tools;
    ScriptedPrompter prompter;
    QString source, drive;
};

TEST_F(ScriptedPipeJobTest, RecordsThroughTheScriptWithProgressInPlace)
{
    TestJobDialog dialog(tools.paths(), prompter);
    dialog.resize(700, 400);
    dialog.show();
    ASSERT_TRUE(dialog.start(command(source)));
    ASSERT_TRUE(waitUntil([&] { return dialog.finished; }, 60000));
    const QStringList lines = dialog.log->logText().split('\n');
    EXPECT_TRUE(dialog.verdict.success) << dialog.log->logText().toStdString();
    EXPECT_EQ(lines.last(), "******* Finished successfully *******");
    EXPECT_EQ(dialog.log->document()->lastBlock().text(), "******* Finished successfully *******");
    // Progress stays in place: a recorder line is only kept below when the image builder's
    // percentage was printed into it, so no two pure progress lines ever stand together.
    auto pureProgress = [](const QString &l) { return l.contains(" written (fifo ") && !l.contains("% done"); };
    for (int i = 1; i < lines.size(); ++i)
        EXPECT_FALSE(pureProgress(lines[i - 1]) && pureProgress(lines[i]))
            << "progress piled up at line " << i << ":\n" << dialog.log->logText().toStdString();
    // cdrskin reports about once a second, so a short run may show only the image builder's.
    EXPECT_GT(dialog.progress->percent(), 0);
    EXPECT_GE(QFileInfo(drive).size(), 24 << 20);
    EXPECT_FALSE(QFile::exists(tools.tools() + "canary"));
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(ScriptedPipeJobTest, AFailingImageBuilderGivesTheErrorVerdict)
{
    TestJobDialog dialog(tools.paths(), prompter);
    ASSERT_TRUE(dialog.start(command(source + "/missing folder")));
    ASSERT_TRUE(waitUntil([&] { return dialog.finished; }, 60000));
    EXPECT_FALSE(dialog.verdict.success);
    EXPECT_EQ(dialog.log->logText().split('\n').last(), "******* Error! *******") << dialog.log->logText().toStdString();
}

TEST(LogWindowTest, ColoursFontTrimAndSave)
{
    LogWindow log;
    ScriptedPrompter prompter;
    log.appendLine("plain", LogColour::Normal);
    log.appendLine("good", LogColour::Green);
    log.appendLine("bad", LogColour::Red);
    log.replaceLastLine("bad, replaced");
    log.appendLine("bad", LogColour::Red);
    log.removeFirstLine();
    log.flush();
    EXPECT_EQ(log.toPlainText(), "good\nbad, replaced\nbad");
    auto colourOf = [&](int block) {
        return log.document()->findBlockByNumber(block).begin().fragment().charFormat().foreground().color();
    };
    EXPECT_EQ(colourOf(0), QColor(0, 128, 0));
    EXPECT_EQ(colourOf(2), QColor(255, 0, 0));
    EXPECT_TRUE(QFontInfo(log.font()).fixedPitch());
    EXPECT_TRUE(log.isReadOnly());

    bool escaped = false;
    QObject::connect(&log, &LogWindow::escapePressed, [&] { escaped = true; });
    QTest::keyClick(&log, Qt::Key_Escape);
    EXPECT_TRUE(escaped);

    QTemporaryDir dir;
    ASSERT_TRUE(log.saveTo(dir.path() + "/saved.log", prompter));
    QFile f(dir.path() + "/saved.log");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "good\r\nbad, replaced\r\nbad\r\n");
    EXPECT_FALSE(log.saveTo(dir.path() + "/no folder/x.log", prompter));
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests().first().text, "Error writing to file " + dir.path() + "/no folder/x.log");
}

} // namespace
} // namespace quillon::test
