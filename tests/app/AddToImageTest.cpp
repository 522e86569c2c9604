// A tree added from the disk goes through the path list into a real image, and the image
// holds the same tree with the linked files' contents.
#include "../project/ScriptedRenameAsker.h"
#include "engine/PathList.h"
#include "platform/AppPaths.h"
#include "project/ItemAdder.h"
#include "project/ProjectModel.h"
#include "settings/OptionsModel.h"
#include "support/ScriptedNotExistsAsker.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quillon::test {
namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(AddToImageTest, TheImageHoldsTheAddedTreeWithLinkedContents)
{
    const QString mkisofs = QStandardPaths::findExecutable("mkisofs");
    const QString isoinfo = QStandardPaths::findExecutable("isoinfo");
    if (mkisofs.isEmpty() || isoinfo.isEmpty())
        GTEST_SKIP() << "mkisofs or isoinfo is not installed";
    QTemporaryDir tmp;
    const QString disk = tmp.filePath("disk");
    QDir().mkpath(disk + "/tree/sub");
    QDir().mkpath(disk + "/elsewhere");
    auto write = [](const QString &path, const QByteArray &text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write(disk + "/tree/a.txt", "alpha");
    write(disk + "/tree/sub/b.txt", "beta");
    write(disk + "/elsewhere/target.txt", "linked contents");
    write(disk + "/elsewhere/in-dir.txt", "inside");
    ASSERT_EQ(::symlink(QFile::encodeName(disk + "/elsewhere/target.txt").constData(),
                        QFile::encodeName(disk + "/tree/linked.txt").constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(disk + "/elsewhere").constData(),
                        QFile::encodeName(disk + "/tree/linkdir").constData()),
              0);

    ScriptedPrompter prompter;
    ScriptedRenameAsker renamer;
    ScriptedNotExistsAsker notExists;
    ProjectModel project(prompter);
    ProjectFolder *root = project.NewDataProject(QString(), "CDROM");
    ItemAdder adder(project, prompter, renamer, notExists);
    adder.DropDataCDExecute({disk + "/tree"}, root, QString());
    ASSERT_TRUE(prompter.requests().isEmpty());

    AppPaths paths(
        {tmp.filePath("program"), tmp.filePath("config"), tmp.filePath("data"), tmp.filePath("cache")});
    ASSERT_TRUE(paths.ensureWritableDirs());
    QDir().mkpath(paths.workDir());
    OptionsModel options;
    const PathListResult list = WritePathList({project, options, paths, notExists, {}, {}});
    ASSERT_TRUE(list.ok()) << list.error.toStdString();

    const QString image = tmp.filePath("out.iso");
    run(mkisofs, {"-quiet", "-J", "-r", "-graft-points", "-path-list", list.file, "-o", image});
    QStringList listed = run(isoinfo, {"-J", "-f", "-i", image}).split('\n', Qt::SkipEmptyParts);
    listed.sort();
    EXPECT_EQ(listed,
              QStringList({"/tree", "/tree/a.txt", "/tree/linkdir", "/tree/linkdir/in-dir.txt",
                           "/tree/linkdir/target.txt", "/tree/linked.txt", "/tree/sub", "/tree/sub/b.txt"}));
    EXPECT_EQ(run(isoinfo, {"-J", "-i", image, "-x", "/tree/linked.txt"}), "linked contents");
    EXPECT_EQ(run(isoinfo, {"-J", "-i", image, "-x", "/tree/linkdir/in-dir.txt"}), "inside");
}

} // namespace
} // namespace quillon::test
