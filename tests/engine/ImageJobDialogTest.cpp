// A small job dialog that composes its command with the builders, shows it in its command-line
// field, writes the path list at Start and runs what the field holds: a project on disk becomes
// an ISO image through the real mkisofs, and a data disc on cdrskin's file-backed drive.
#include "engine/LogWindow.h"
#include "engine/OutputParser.h"
#include "engine/PathList.h"
#include "engine/RecorderCommands.h"
#include "engine/ToolLauncher.h"
#include "project/ProjectModel.h"
#include "settings/OptionsModel.h"
#include "support/ScriptedNotExistsAsker.h"
#include "support/ScriptedPrompter.h"

#include "EngineFixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quillon::test {
namespace {

class CommandJobDialog : public QDialog {
public:
    CommandJobDialog(const AppPaths &paths, Prompter &prompter, const ProjectModel &project,
                     const OptionsModel &options)
        : m_paths(paths)
        , m_project(project)
        , m_options(options)
        , launcher(paths, prompter)
        , parser(*log, nullptr, prompter)
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(EditCmdLn);
        layout->addWidget(log);
        connect(&launcher.runner(), &ConsoleRunner::newLine, &parser, &OutputParser::onNewLine);
        connect(&launcher.runner(), &ConsoleRunner::error, &parser, &OutputParser::onError);
        connect(&launcher.runner(), &ConsoleRunner::terminated, this, [this] {
            verdict = parser.verdict(launcher.runner().exitCode());
            log->flush();
            finished = true;
        });
    }
    void UpdateCmdLn()
    {
        FunctionRecorderDevices devices;
        EditCmdLn->setText(
            quillon::UpdateCmdLn({image, recorder, m_options, m_paths, devices, {}, {}}).EditCmdLn());
    }
    // The Start steps this test needs: the path list, the track size, then the field's text.
    bool start(std::optional<qint64> trackSize = std::nullopt)
    {
        ScriptedNotExistsAsker asker;
        if (!WritePathList({m_project, m_options, m_paths, asker, {}, {}}).ok())
            return false;
        QString text = EditCmdLn->text();
        if (trackSize) {
            CommandLine::Parsed parsed = CommandLine::parse(text);
            if (!parsed.ok() || !InsertTrackSize(parsed.commands, *trackSize))
                return false;
            text = CommandLine::renderPipe(parsed.commands);
        }
        ParserOptions o;
        o.jobType = recorder.FJobType;
        o.chkLog = false;
        o.onTheFly = recorder.ChkOnTheFly;
        parser.setOptions(o);
        parser.startRun();
        finished = false;
        return launcher.start(text, recorder.ChkOnTheFly);
    }

    ImageCommandInputs image;
    RecorderInputs recorder;
    QLineEdit *EditCmdLn = new QLineEdit(this);
    LogWindow *log = new LogWindow(this);

private:
    const AppPaths &m_paths;
    const ProjectModel &m_project;
    const OptionsModel &m_options;

public:
    ToolLauncher launcher;
    OutputParser parser;
    OutputParser::Verdict verdict;
    bool finished = false;
};

QString listing(const QString &iso)
{
    QProcess p;
    p.start("isoinfo", {"-R", "-f", "-i", iso});
    p.waitForFinished();
    QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    std::sort(lines.begin(), lines.end());
    return lines.join('\n');
}

class ImageJobDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!tools.addSystemTool("mkisofs", "mkisofs") || QStandardPaths::findExecutable("isoinfo").isEmpty())
            GTEST_SKIP() << "mkisofs or isoinfo is not installed";
        root = project.NewDataProject(QString(), "CDROM");
        src = tools.root() + "/my files $(touch canary)";
        QDir().mkpath(src + "/sub");
        QFile f(src + "/sub/a \"b\".txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'a'));
        f.close();
        ProjectFolder *docs = project.AddFolderNode(root, "Docs = mine");
        docs->dane().SourceDir = src + "/sub";
        project.AddFile(docs, "a \"b\".txt", src + "/sub/a \"b\".txt", 5000);
        project.AddFolderNode(root, "Empty");
    }

    ToolFolder tools;
    ScriptedPrompter prompter;
    ProjectModel project{prompter};
    OptionsModel options;
    ProjectFolder *root = nullptr;
    QString src;
};

TEST_F(ImageJobDialogTest, BuildsTheImageWithTheShownCommand)
{
    CommandJobDialog dialog(tools.paths(), prompter, project, options);
    dialog.image.jobType = jtBuildImage;
    dialog.recorder.FJobType = jtBuildImage;
    dialog.recorder.ChkOnTheFly = false;
    dialog.image.EditName = "Disc 'one'";
    dialog.image.EditFile = tools.root() + "/out image.iso";
    dialog.UpdateCmdLn();
    dialog.show();
    const QString list = pathListFile(tools.paths());
    EXPECT_EQ(dialog.EditCmdLn->text().toStdString(),
              ("mkisofs -V \"Disc 'one'\" -J -R -graft-points -path-list \"" + list + "\" -D -o \"" +
               dialog.image.EditFile + "\"")
                  .toStdString());
    ASSERT_TRUE(dialog.start());
    ASSERT_TRUE(waitUntil([&] { return dialog.finished; }, 60000));
    EXPECT_TRUE(dialog.verdict.success) << dialog.log->logText().toStdString();
    EXPECT_EQ(listing(dialog.image.EditFile).toStdString(), "/Docs = mine\n/Docs = mine/a \"b\".txt\n/Empty");
    EXPECT_FALSE(QFile::exists(tools.tools() + "canary") || QFile::exists(src + "/canary"));
}

TEST_F(ImageJobDialogTest, WhatTheUserTypedIsWhatRuns)
{
    CommandJobDialog dialog(tools.paths(), prompter, project, options);
    dialog.image.jobType = jtBuildImage;
    dialog.recorder.FJobType = jtBuildImage;
    dialog.image.EditFile = tools.root() + "/first.iso";
    dialog.UpdateCmdLn();
    const QString other = tools.root() + "/edited.iso";
    dialog.EditCmdLn->setText(dialog.EditCmdLn->text().replace("first.iso", "edited.iso") + " -V Edited");
    ASSERT_TRUE(dialog.start());
    ASSERT_TRUE(waitUntil([&] { return dialog.finished; }, 60000));
    EXPECT_TRUE(dialog.verdict.success) << dialog.log->logText().toStdString();
    EXPECT_FALSE(QFileInfo::exists(dialog.image.EditFile));
    EXPECT_TRUE(QFileInfo::exists(other));
}

TEST_F(ImageJobDialogTest, RecordsADataDiscOnTheFlyWithItsTrackSize)
{
    if (!tools.addSystemTool("cdrskin", "cdrecord"))
        GTEST_SKIP() << "cdrskin is not installed";
    if (::geteuid() == 0 && !QFile::exists("/root/cdrskin_permissions/allow_emulated_drives"))
        GTEST_SKIP() << "as root cdrskin needs /root/cdrskin_permissions/allow_emulated_drives";
    options.setChkCdrecOptions(true);
    options.setEditCdrecOptions("--allow_emulated_drives");
    const QString drive = tools.root() + "/pseudo drive.img";
    CommandJobDialog dialog(tools.paths(), prompter, project, options);
    dialog.image.jobType = jtDataDisc;
    dialog.image.ChkOnTheFly = true;
    dialog.recorder.FJobType = jtDataDisc;
    dialog.recorder.ChkOnTheFly = true;
    dialog.recorder.ChkMultisession = false;
    dialog.recorder.recorder = DeviceAddress::of("stdio:" + drive);
    dialog.UpdateCmdLn();

    // The size pass first, as Start does before an on-the-fly recording.
    ScriptedNotExistsAsker asker;
    ASSERT_TRUE(WritePathList({project, options, tools.paths(), asker, {}, {}}).ok());
    const ToolCommand size =
        SizeCommand(BuildImageCommand(dialog.image, options, tools.paths()).commands.first());
    QProcess p;
    p.start(tools.tools() + "mkisofs", size.mid(1));
    p.waitForFinished();
    const std::optional<qint64> sectors =
        parseImageSize(QString::fromUtf8(p.readAllStandardOutput()).trimmed().split('\n').last());
    ASSERT_TRUE(sectors.has_value()) << p.readAllStandardError().toStdString();

    ASSERT_TRUE(dialog.start(sectors));
    ASSERT_TRUE(waitUntil([&] { return dialog.finished; }, 60000));
    EXPECT_TRUE(dialog.verdict.success) << dialog.log->logText().toStdString();
    EXPECT_EQ(QFileInfo(drive).size(), *sectors * 2048);
    EXPECT_EQ(listing(drive).toStdString(), "/Docs = mine\n/Docs = mine/a \"b\".txt\n/Empty");
}

} // namespace
} // namespace quillon::test
