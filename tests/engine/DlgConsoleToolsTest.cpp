// The execution dialog with the real image builder: a project on disk built into an ISO image
// that isoinfo reads, and a failing image builder ending with the error verdict.
#include "ConsoleFixture.h"

#include <QProcess>

namespace quillon::test {
namespace {

class ConsoleToolsTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        if (!tools.addSystemTool("genisoimage", "mkisofs") || QStandardPaths::findExecutable("isoinfo").isEmpty())
            GTEST_SKIP() << "genisoimage or isoinfo is not installed";
        source = tools.root() + "/src $(touch canary)";
        QDir().mkpath(source + "/deep/er");
        QFile f(source + "/deep/er/notes; rm -rf x.txt");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(70000, 'n'));
        f.close();
        ProjectFolder *root = project.root();
        ProjectFolder *docs = project.AddFolderNode(root, "Docs");
        project.AddFile(docs, "notes; rm -rf x.txt", source + "/deep/er/notes; rm -rf x.txt", 70000);
        host.realPathList = true;
    }
    QString listing(const QString &iso) const
    {
        QProcess p;
        p.start("isoinfo", {"-R", "-f", "-i", iso});
        p.waitForFinished();
        QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        std::sort(lines.begin(), lines.end());
        return lines.join('\n');
    }
    QString source;
};

TEST_F(ConsoleToolsTest, BuildsTheProjectIntoAnImageThroughTheDialog)
{
    TDlgConsole &d = open(jtBuildImage);
    const QString iso = tools.root() + "/my disc 'one'.iso";
    d.EditName->setText("MYDISC");
    d.EditFile->setText(iso);
    d.UpdateCmdLn();
    d.BtnStartClick();
    ASSERT_TRUE(finish(60000));
    const QStringList log = logLines();
    EXPECT_TRUE(d.lastVerdict().success) << log.join('\n').toStdString();
    EXPECT_EQ(log.first(), "Reading directories. Please wait...");
    EXPECT_EQ(log.at(1), tools.tools() + d.EditCmdLn->text());
    EXPECT_EQ(log.last(), "******* Finished successfully *******");
    EXPECT_TRUE(log.contains("Process exit code: 0"));
    EXPECT_EQ(listing(iso).toStdString(), "/Docs\n/Docs/notes; rm -rf x.txt");
    EXPECT_FALSE(QFile::exists(tools.tools() + "canary"));
    EXPECT_EQ(host.recent, QStringList{iso});
    // The job's log file holds the caption, the command and the verdict.
    QFile file(tools.paths().dataDir() + "1.log");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(d.windowTitle())) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("******* Finished successfully *******"));
}

TEST_F(ConsoleToolsTest, AFailingImageBuilderEndsWithTheErrorVerdict)
{
    TDlgConsole &d = open(jtBuildImage);
    d.EditFile->setText(tools.root() + "/no such folder/never.iso");
    d.UpdateCmdLn();
    d.BtnStartClick();
    ASSERT_TRUE(finish(60000));
    const QStringList log = logLines();
    EXPECT_FALSE(d.lastVerdict().success);
    EXPECT_EQ(log.last(), "******* Error! *******") << log.join('\n').toStdString();
    EXPECT_FALSE(log.contains("Process exit code: 0"));
    EXPECT_EQ(d.BtnCancel->text(), "OK");
}

} // namespace
} // namespace quillon::test
