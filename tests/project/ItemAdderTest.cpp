// Adding from the disk, end to end on temporary trees: every check, the remembered answers
// and the change log.
#include "project/ItemAdder.h"
#include "ProjectFixture.h"
#include "ScriptedRenameAsker.h"
#include "support/ScriptedNotExistsAsker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon::test {
namespace {

class ItemAdderTest : public ProjectFixture {
protected:
    ItemAdderTest()
        : adder(project, prompter, renamer, notExists,
                {[this](const QString &path, const QString &kind) { shown.append(kind + " " + path); },
                 [this] { return chkDeep; },
                 [this] {
                     chkDeep = true;
                     ++deepEnabled;
                 },
                 [this] { ++pumps; }})
    {
        logPath = tmp.filePath(QStringLiteral("changed.txt"));
        disk = tmp.filePath(QStringLiteral("disk"));
        QDir().mkpath(disk);
    }

    QString file(const QString &relative, const QByteArray &content = "x")
    {
        const QString path = disk + '/' + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << "cannot write " << path.toStdString();
        f.write(content);
        return path;
    }
    QString dir(const QString &relative)
    {
        const QString path = disk + '/' + relative;
        QDir().mkpath(path);
        return path;
    }
    void link(const QString &target, const QString &relative)
    {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                            QFile::encodeName(disk + '/' + relative).constData()),
                  0);
    }
    bool drop(const QStringList &paths, ProjectFolder *target = nullptr)
    {
        return adder.DropDataCDExecute(paths, target ? target : root, logPath);
    }
    QStringList logLines() const
    {
        QFile f(logPath);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    QStringList names(const ProjectFolder *folder) const
    {
        QStringList out;
        for (int i = 0; i < folder->childCount(); ++i)
            out << folder->child(i)->text() + '/';
        for (int i = 0; i < folder->files().count(); ++i)
            out << folder->files()[i].name();
        return out;
    }

    QTemporaryDir tmp;
    QString logPath;
    QString disk;
    ScriptedRenameAsker renamer;
    ScriptedNotExistsAsker notExists;
    QStringList shown;
    bool chkDeep = true;
    int deepEnabled = 0;
    int pumps = 0;
    ItemAdder adder;
};

TEST_F(ItemAdderTest, SeventyCharacterNameIsShortenedOnceTheUserTicksTheBox)
{
    const QString longName = QString(66, QLatin1Char('L')) + ".txt";
    const QString a = file("a/" + longName);
    const QString b = file("a/" + QString(66, QLatin1Char('M')) + ".txt");
    // Ticking the box with the name unchanged chooses automatic shortening.
    renamer.answer({{true, {}, true, false}});
    EXPECT_TRUE(drop({disk + "/a"})) << "something was renamed, so the log is to be shown";
    ASSERT_EQ(renamer.requests().size(), 1) << "the second long name is shortened without asking";
    const RenameRequest &r = renamer.requests()[0];
    const bool askedForA = r.name == a; // the folder is read in the file system's order
    EXPECT_EQ(r.caption, "Name too long");
    EXPECT_EQ(r.label, "Filename");
    EXPECT_EQ(r.name, askedForA ? a : b);
    EXPECT_EQ(r.edit, askedForA ? longName : QString(66, QLatin1Char('M')) + ".txt");
    EXPECT_EQ(r.text, "can have max. 64 characters. Please shorten it.");
    EXPECT_FALSE(r.autoRename);
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(names(root->child(0)),
              QStringList({QString(60, QLatin1Char('L')) + ".txt", QString(60, QLatin1Char('M')) + ".txt"}));
    EXPECT_TRUE(logLines().contains("RENAMED " + b)) << logLines().join('|').toStdString();
    EXPECT_TRUE(logLines().contains("  -> " + disk + "/a/" + QString(60, QLatin1Char('M')) + ".txt"));
    EXPECT_TRUE(root->child(0)->dane().Changed);
    EXPECT_TRUE(project.ProjectModified);
}

TEST_F(ItemAdderTest, SixtyFourCharactersPassAndSixtyFiveAsk)
{
    file("n/" + QString(64, QLatin1Char('a')));
    file("n/" + QString(65, QLatin1Char('b')));
    drop({disk + "/n"});
    ASSERT_EQ(renamer.requests().size(), 1);
    EXPECT_EQ(renamer.requests()[0].edit, QString(65, QLatin1Char('b')));
    EXPECT_TRUE(adder.abortRequested()) << "Cancel aborts the drop";
    EXPECT_EQ(shown, QStringList({"File " + disk + "/n/" + QString(65, QLatin1Char('b'))}));
}

TEST_F(ItemAdderTest, PathOf255PassesAnd256Asks)
{
    // Four 60-character folders make 244 characters with their separators.
    ProjectFolder *f = root;
    for (int i = 0; i < 4; ++i)
        f = folder(f, QString(60, QChar('p' + i)));
    ASSERT_EQ(ProjectModel::DiscPath(f).size(), 244);
    const QString ok = file(QString(11, QLatin1Char('k')));
    const QString tooLong = file(QString(12, QLatin1Char('t')));
    EXPECT_TRUE(adder.AddFile(f, ok, true));
    EXPECT_TRUE(notExists.requests().isEmpty()) << "255 characters need no question";
    notExists.answer({{true, false, false}});
    EXPECT_FALSE(adder.AddFile(f, tooLong, true));
    ASSERT_EQ(notExists.requests().size(), 1);
    const NotExistsRequest &r = notExists.requests()[0];
    EXPECT_EQ(r.caption, "Item cannot be added");
    EXPECT_EQ(r.label, "Item");
    EXPECT_EQ(r.name, ProjectModel::DiscPath(f) + QString(12, QLatin1Char('t')));
    EXPECT_EQ(
        r.text,
        "has too long full path (main folder + subfolders + filename)\r\nMax 255 characters are allowed.");
    EXPECT_FALSE(adder.abortRequested()) << "OK skips the item only";

    // Ticking "Ignore other files" skips the rest without asking, into the log.
    adder.log().open(logPath);
    notExists.answer({{true, true, false}});
    EXPECT_FALSE(adder.AddFile(f, tooLong, true));
    EXPECT_FALSE(adder.AddFile(f, tooLong, true));
    adder.log().close();
    EXPECT_EQ(notExists.requests().size(), 2);
    EXPECT_EQ(logLines(), QStringList({"NOT ADDED " + tooLong, "NOT ADDED " + tooLong}));
}

TEST_F(ItemAdderTest, DepthTwelveWithAndWithoutDeepFolders)
{
    QString deep = "d1";
    for (int i = 2; i <= 12; ++i)
        deep += QStringLiteral("/d%1").arg(i);
    file(deep + "/leaf.txt");
    auto depth = [](const ProjectFolder *f) {
        int levels = 0;
        while (f->childCount() > 0) {
            f = f->child(0);
            ++levels;
        }
        return levels;
    };

    drop({disk + "/d1"});
    EXPECT_EQ(depth(root), 12) << "with deep folders allowed nothing is asked";
    EXPECT_TRUE(prompter.requests().isEmpty());

    project.NewDataProject(QString(), "CDROM");
    root = project.root();
    chkDeep = false;
    prompter.answer({pbNo});
    EXPECT_FALSE(drop({disk + "/d1"})) << "nothing renamed, so no log to show";
    EXPECT_EQ(depth(root), 9) << "level 10 and deeper are left out";
    ASSERT_EQ(prompter.requests().size(), 2);
    EXPECT_EQ(
        prompter.requests()[0].text,
        "Max allowed folder depth is 8. You can disable this limit but this disc may be unreadable on some "
        "CD drives.\r\n Do you wish to enable deep folders?");
    EXPECT_EQ(prompter.requests()[0].caption, "Folders nested too deep");
    EXPECT_EQ(prompter.requests()[0].buttons, pbYes | pbNo | pbCancel);
    EXPECT_EQ(prompter.requests()[0].defaultButton, pbCancel);
    EXPECT_EQ(prompter.requests()[1].text, "Too deep folders will not be added.");
    EXPECT_EQ(logLines(), QStringList({"NOT ADDED " + disk + "/d1/d2/d3/d4/d5/d6/d7/d8/d9/d10"}));
    EXPECT_EQ(shown.size(), 1);

    project.NewDataProject(QString(), "CDROM");
    root = project.root();
    prompter.clear();
    prompter.answer({pbYes});
    drop({disk + "/d1"});
    EXPECT_EQ(depth(root), 12) << "Yes switches deep folders on";
    EXPECT_EQ(deepEnabled, 1);
    EXPECT_EQ(prompter.requests().size(), 1);
}

TEST_F(ItemAdderTest, NamesThatDifferInCaseAreDuplicates)
{
    file("c/Readme.txt");
    file("c/README.TXT");
    file("c/readme.txt");
    renamer.answer({{true, "Other.txt", false, false}, {true, "readme.txt", true, false}});
    drop({disk + "/c"});
    ASSERT_EQ(renamer.requests().size(), 2) << "the second answer's box renames the rest";
    EXPECT_EQ(renamer.requests()[0].caption, "Duplicate name");
    EXPECT_EQ(renamer.requests()[0].label, "&File");
    EXPECT_EQ(renamer.requests()[0].text, "already exists in this folder. Please rename it.");
    EXPECT_EQ(renamer.requests()[0].name, renamer.requests()[0].edit);
    QStringList got = names(root->child(0));
    got.sort(Qt::CaseInsensitive);
    EXPECT_EQ(got.size(), 3);
    EXPECT_TRUE(got.contains("Other.txt")) << got.join('|').toStdString();
    EXPECT_TRUE(got.contains("readme (2).txt")) << got.join('|').toStdString();
    EXPECT_TRUE(adder.AutoRename);

    // A folder that clashes is asked about as a folder.
    dir("c2/c");
    renamer.answer({{false, {}, false, true}});
    adder.AutoRename = false;
    EXPECT_EQ(adder.AddFolder(disk + "/c2/c", root, true, true), nullptr);
    EXPECT_EQ(renamer.requests().last().label, "Folder");
}

TEST_F(ItemAdderTest, DuplicateWithAutoRenameGetsANumberBeforeTheExtension)
{
    folder(root, "x");
    project.AddFile(root, "song.mp3", "/elsewhere/song.mp3", 1);
    project.AddFile(root, "notes", "/elsewhere/notes", 1);
    file("song.mp3");
    file("notes");
    adder.AutoRename = true;
    EXPECT_TRUE(adder.AddFile(root, disk + "/song.mp3", true));
    EXPECT_TRUE(adder.AddFile(root, disk + "/notes", true));
    EXPECT_EQ(project.FindFileEntry(root, "song (2).mp3") >= 0, true) << names(root).join('|').toStdString();
    EXPECT_EQ(project.FindFileEntry(root, "notes (2)") >= 0, true) << names(root).join('|').toStdString();
}

TEST_F(ItemAdderTest, LinksAreRecordedByTheirTargetsAndLoopsAreNotEntered)
{
    const QString real = file("data/real.txt", "contents");
    dir("data/sub");
    file("data/sub/inner.txt");
    dir("tree");
    link(real, "tree/linked.txt");
    link(disk + "/data/sub", "tree/linkeddir");
    link(disk + "/tree", "tree/loop");
    link(disk + "/nowhere", "tree/dangling");
    drop({disk + "/tree"});
    ProjectFolder *tree = root->child(0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(names(tree), QStringList({"linkeddir/", "linked.txt"}))
        << "the loop and the dangling link are left out";
    const int i = project.FindFileEntry(tree, "linked.txt");
    ASSERT_GE(i, 0);
    EXPECT_EQ(tree->files()[i].sourcePath(), real);
    EXPECT_EQ(project.DataBytes(), 8 + 1);
    ProjectFolder *linked = project.FindChildFolder(tree, "linkeddir");
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(linked->dane().SourceDir, disk + "/data/sub");
    EXPECT_EQ(linked->files()[0].sourcePath(), disk + "/data/sub/inner.txt");
    EXPECT_EQ(logLines(), QStringList({"NOT ADDED " + disk + "/tree/loop"}));
    EXPECT_TRUE(prompter.requests().isEmpty()) << "a dangling link inside a folder is skipped quietly";

    // Dropped on its own a dangling link does not exist.
    drop({disk + "/tree/dangling"});
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "File / directory " + disk + "/tree/dangling doesn't exist!");
    EXPECT_EQ(prompter.requests()[0].caption, "Error");
    EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
}

TEST_F(ItemAdderTest, FifoIsLeftOutIntoTheLog)
{
    dir("s");
    file("s/plain.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(disk + "/s/pipe").constData(), 0600), 0);
    drop({disk + "/s", disk + "/s/pipe"});
    EXPECT_EQ(names(root->child(0)), QStringList({"plain.txt"}));
    EXPECT_EQ(logLines(), QStringList({"NOT ADDED " + disk + "/s/pipe", "NOT ADDED " + disk + "/s/pipe"}));
    EXPECT_TRUE(prompter.requests().isEmpty());
}

TEST_F(ItemAdderTest, ForbiddenCharactersAreReplacedAndLineBreaksRefused)
{
    project.AddFile(root, "a_b.txt", "/elsewhere/a_b.txt", 1);
    const QString colon = file("w/a:b.txt");
    const QString lineBreak = file("w/two\nlines.txt");
    EXPECT_TRUE(drop({colon, lineBreak}));
    // The replaced name is an automatic change, so its clash is numbered without asking.
    EXPECT_EQ(names(root), QStringList({"a_b (2).txt", "a_b.txt"}));
    EXPECT_EQ(root->files()[0].sourcePath(), colon);
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text,
              "This name cannot be recorded because it contains a line break:\r\n" + disk +
                  "/w/two\nlines.txt");
    EXPECT_EQ(prompter.requests()[0].caption, "Invalid name");
    const QStringList lines = logLines();
    EXPECT_EQ(lines, QStringList({"RENAMED " + colon, "  -> " + disk + "/w/a_b (2).txt",
                                  "NOT ADDED " + disk + "/w/two", "lines.txt"}))
        << "the log holds the path as it is";
}

TEST_F(ItemAdderTest, ANameThatDoesNotDecodeIsLeftOut)
{
    dir("u");
    file("u/fine.txt");
    const QByteArray raw = QFile::encodeName(disk + "/u/") + QByteArray("bad\xff\xfename");
    FILE *f = std::fopen(raw.constData(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    drop({disk + "/u"});
    EXPECT_EQ(names(root->child(0)), QStringList({"fine.txt"}));
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_TRUE(prompter.requests()[0].text.startsWith("Error reading file " + disk + "/u/bad"))
        << prompter.requests()[0].text.toStdString();
    ASSERT_EQ(logLines().size(), 1);
    EXPECT_TRUE(logLines()[0].startsWith("NOT ADDED " + disk + "/u/bad"));
}

TEST_F(ItemAdderTest, AMissingFileIsReportedAndLogged)
{
    adder.log().open(logPath);
    EXPECT_FALSE(adder.AddFile(root, disk + "/gone.txt", true));
    adder.log().close();
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].text, "Error reading file " + disk + "/gone.txt");
    EXPECT_EQ(logLines(), QStringList({"NOT ADDED " + disk + "/gone.txt"}));
}

TEST_F(ItemAdderTest, TwentyThousandFilesInOneFolder)
{
    const QString big = dir("big");
    for (int i = 0; i < 20000; ++i) {
        QFile f(big + QStringLiteral("/f%1.dat").arg(i));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(drop({big}));
    ASSERT_EQ(root->childCount(), 1);
    const ProjectFolder *f = root->child(0);
    EXPECT_EQ(f->files().count(), 20000);
    EXPECT_TRUE(f->files().isSorted());
    EXPECT_EQ(project.DataSectors(), 20000) << "an empty file counts one sector";
    EXPECT_GE(pumps, 1999) << "the busy dialog is pumped before every tenth entry";
}

TEST_F(ItemAdderTest, NewFolderAsksAgainUntilANameIsAdded)
{
    folder(root, "Taken");
    QStringList typed = {"bad|name", "taken", "Fresh "};
    renamer.answer({{false, {}, false, false}}); // the duplicate question is cancelled
    ProjectFolder *node = adder.NewFolder(
        root,
        [&](QString &name) {
            if (typed.isEmpty())
                return false;
            name = typed.takeFirst();
            return true;
        },
        "/opt/quillon/", "/tmp/Temp - do NOT touch");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->text(), "Fresh");
    EXPECT_EQ(node->dane().SourceDir, "/tmp/Temp - do NOT touch");
    ASSERT_EQ(prompter.requests().size(), 1);
    EXPECT_EQ(prompter.requests()[0].caption, "Invalid characters");
    ASSERT_EQ(renamer.requests().size(), 1);
    EXPECT_EQ(renamer.requests()[0].caption, "Duplicate name");
    EXPECT_EQ(renamer.requests()[0].label, "Folder");
}

} // namespace
} // namespace quillon::test
