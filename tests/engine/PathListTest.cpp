// The path list and the image command, unit by unit and through the real mkisofs and isoinfo.
#include "engine/PathList.h"
#include "engine/ImageCommand.h"
#include "platform/AppPaths.h"
#include "project/ProjectModel.h"
#include "settings/OptionsLists.h"
#include "settings/OptionsModel.h"
#include "support/ScriptedNotExistsAsker.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// Failing assertions show the texts, not their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

using namespace quillon;

namespace {

// One line per entry, so that a failing comparison shows the names.
std::string describe(const QMap<QString, qint64> &tree)
{
    QString out;
    for (auto it = tree.begin(); it != tree.end(); ++it)
        out += it.key() +
               (it.value() < 0 ? QStringLiteral("/") : QStringLiteral(" ") + QString::number(it.value())) +
               "\n";
    return out.toStdString();
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}

struct RunResult {
    int exitCode = -1;
    QString out;
    QString err;
};

RunResult run(const ToolCommand &command, bool latin1 = false)
{
    QProcess p;
    p.start(command.first(), command.mid(1));
    p.waitForFinished(60000);
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            latin1 ? QString::fromLatin1(out) : QString::fromUtf8(out),
            QString::fromUtf8(p.readAllStandardError())};
}

class PathListTest : public ::testing::Test {
protected:
    PathListTest()
        : paths({temp.path() + "/program", temp.path() + "/config", temp.path() + "/data",
                 temp.path() + "/cache"})
    {
        root = project.NewDataProject(QString(), QStringLiteral("CDROM"));
        disk = temp.path() + "/disk";
        QDir().mkpath(disk);
        QDir().mkpath(paths.workDir());
    }

    // A folder node read from `sourceDir` (empty: created in the project).
    ProjectFolder *folder(ProjectFolder *parent, const QString &name, const QString &sourceDir = QString())
    {
        ProjectFolder *node = project.AddFolderNode(parent, name);
        parent->dane().NameSet.add(name);
        node->dane().SourceDir = sourceDir;
        if (!sourceDir.isEmpty())
            QDir().mkpath(sourceDir);
        return node;
    }
    // A file on disk and its entry; the content's length is its size.
    void file(ProjectFolder *parent, const QString &name, const QString &source, const QByteArray &content)
    {
        writeFile(source, content);
        ASSERT_GE(project.AddFile(parent, name, source, content.size()), 0) << name.toStdString();
    }

    PathListResult write()
    {
        return WritePathList(
            {project,
             options,
             paths,
             asker,
             [this](const QString &p, const QString &k) { shown << k + QLatin1Char(' ') + p; },
             {}});
    }
    QStringList listLines() const
    {
        QString text = readText(pathListFile(paths));
        EXPECT_TRUE(text.isEmpty() || text.endsWith(QLatin1Char('\n'))) << "every line ends with LF";
        EXPECT_FALSE(text.contains(QLatin1Char('\r'))) << "LF line ends only";
        text.chop(1);
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }

    QTemporaryDir temp;
    AppPaths paths;
    test::ScriptedPrompter prompter;
    ProjectModel project{prompter};
    OptionsModel options;
    test::ScriptedNotExistsAsker asker;
    QStringList shown;
    ProjectFolder *root = nullptr;
    QString disk;
};

TEST(PathListEntryTest, EscapesEqualsAndBackslashInDestinationsOnly)
{
    EXPECT_EQ(PathListEntry("A=B/", "/src/a=b"), QString("A\\=B/=/src/a=b"));
    EXPECT_EQ(PathListEntry("back\\slash/f", "/src/x\\y"), QString("back\\\\slash/f=/src/x\\y"));
    EXPECT_EQ(PathListEntry("plain.txt", "/p"), QString("plain.txt=/p"));
}

TEST_F(PathListTest, OrderEmptyLeavesAndTheWorkFolder)
{
    file(root, "top.txt", disk + "/top.txt", "t");
    ProjectFolder *music = folder(root, "MUSIC", disk + "/music");
    ProjectFolder *rock = folder(music, "ROCK", disk + "/music/rock");
    file(rock, "song.mp3", disk + "/music/rock/song.mp3", "s");
    folder(root, "New folder");                                 // made in the project
    folder(root, "Gone", disk + "/gone");                       // its folder is deleted below
    folder(root, "Emptied", disk + "/emptied");                 // its files were removed
    ProjectFolder *bare = folder(root, "Bare", disk + "/bare"); // empty on disk too
    writeFile(disk + "/emptied/left-out.txt", "x");
    QDir(disk + "/gone").removeRecursively();
    Q_UNUSED(bare);

    const PathListResult r = write();
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QString work = paths.tempFolder();
    const QStringList expected{"top.txt=" + disk + "/top.txt",
                               "Bare/=" + disk + "/bare",
                               "Emptied/=" + work,
                               "Gone/=" + work,
                               "MUSIC/ROCK/song.mp3=" + disk + "/music/rock/song.mp3",
                               "New folder/=" + work};
    EXPECT_EQ(listLines(), expected);
    EXPECT_TRUE(QDir(work).exists()) << "the empty work folder is made on demand";
}

TEST_F(PathListTest, MissingFiles)
{
    struct Case {
        const char *name;
        QList<NotExistsAnswer> answers;
        PathListResult::Status status;
        int questions;
        QStringList files; // destinations listed
        bool shownOnDisk;
    };
    const QList<Case> cases{
        {"OK skips that file and asks for the next",
         {{true, false, false}, {true, false, false}},
         PathListResult::Written,
         2,
         {"A/ok.txt"},
         false},
        {"OK with Ignore other files asks once",
         {{true, true, false}},
         PathListResult::Written,
         1,
         {"A/ok.txt"},
         false},
        {"Cancel ends the job and shows the folder",
         {{false, false, false}},
         PathListResult::Stopped,
         1,
         {},
         true},
        {"Go to disk location ends the job and shows the folder",
         {{false, false, true}},
         PathListResult::Stopped,
         1,
         {},
         true},
    };
    ProjectFolder *a = folder(root, "A", disk + "/a");
    file(a, "gone1.txt", disk + "/a/gone1.txt", "1");
    file(a, "gone2.txt", disk + "/a/gone2.txt", "2");
    file(a, "ok.txt", disk + "/a/ok.txt", "3");
    QFile::remove(disk + "/a/gone1.txt");
    QFile::remove(disk + "/a/gone2.txt");
    for (const Case &c : cases) {
        asker = {};
        shown.clear();
        QFile::remove(pathListFile(paths));
        for (const NotExistsAnswer &x : c.answers)
            asker.answer({x});
        const PathListResult r = write();
        EXPECT_EQ(r.status, c.status) << c.name;
        ASSERT_EQ(asker.requests().size(), c.questions) << c.name;
        EXPECT_EQ(asker.requests().first().name, disk + "/a/gone1.txt") << c.name;
        EXPECT_EQ(asker.requests().first().caption, QString("File not found")) << c.name;
        EXPECT_EQ(shown, c.shownOnDisk ? QStringList{"Folder " + disk + "/a"} : QStringList()) << c.name;
        if (c.status == PathListResult::Written) {
            QStringList dest;
            for (const QString &l : listLines())
                dest << l.section('=', 0, 0);
            EXPECT_EQ(dest, c.files) << c.name;
        }
    }
}

TEST_F(PathListTest, DepthRuleFollowsChkDeep)
{
    ProjectFolder *f = root;
    for (int level = 1; level <= 9; ++level)
        f = folder(f, QString("L%1").arg(level), disk + QString("/l%1").arg(level));
    file(f, "deep.txt", disk + "/deep.txt", "d");
    options.setChkDeep(true);
    ASSERT_TRUE(write().ok());
    EXPECT_EQ(listLines(), QStringList{"L1/L2/L3/L4/L5/L6/L7/L8/L9/deep.txt=" + disk + "/deep.txt"});
    options.setChkDeep(false);
    ASSERT_TRUE(write().ok());
    // The deepest folder left is an empty leaf now, but it keeps no line: it still has a child.
    EXPECT_EQ(listLines().join('\n').toStdString(), ("L1/L2/L3/L4/L5/L6/L7/=" + disk + "/l7").toStdString())
        << "levels 8 and deeper are left out; the folder above them is an empty one in the image";
}

TEST_F(PathListTest, ANameWithALineEndIsNeverWritten)
{
    folder(root, "two\nlines", disk + "/x");
    const PathListResult r = write();
    EXPECT_EQ(r.status, PathListResult::NotWritten);
    EXPECT_FALSE(QFileInfo::exists(pathListFile(paths))) << "no broken list is left behind";
}

TEST_F(PathListTest, AddSessionListsOnlyNewItems)
{
    project.setProjectKind(pkAddSession);
    ProjectFolder *old = folder(root, "OLD", "/OLD/");
    old->dane().FromImage = true;
    project.AddFileEntry(old, "recorded.txt", "/OLD/recorded.txt", 1);
    writeFile(disk + "/new.txt", "n");
    project.AddFileEntry(old, "new.txt", disk + "/new.txt", 0);
    ProjectFolder *oldEmpty = folder(root, "OLDEMPTY", "/OLDEMPTY/");
    oldEmpty->dane().FromImage = true;
    ASSERT_TRUE(write().ok());
    EXPECT_EQ(listLines(), QStringList{"OLD/new.txt=" + disk + "/new.txt"});
}

// --- The image command --------------------------------------------------------------------

struct ImageCase {
    const char *name;
    std::function<void(ImageCommandInputs &, OptionsModel &)> setup;
    QString expected; // after "mkisofs", with LIST for the path list
};

TEST_F(PathListTest, ImageCommandFragmentsInOrder)
{
    const QList<ImageCase> cases{
        {"defaults: Joliet, Rock Ridge, deep, padded, no volume name", [](auto &, auto &) {},
         "-J -R -graft-points -path-list LIST -D"},
        {"build image into a file",
         [](ImageCommandInputs &i, OptionsModel &) {
             i.EditName = "MY DISC";
             i.EditFile = "/tmp/out put.iso";
         },
         "-V \"MY DISC\" -J -R -graft-points -path-list LIST -D -o \"/tmp/out put.iso\""},
        {"on the fly leaves out -o",
         [](ImageCommandInputs &i, OptionsModel &) {
             i.jobType = jtDataDisc;
             i.EditFile = "/tmp/x.iso";
             i.ChkOnTheFly = true;
         },
         "-J -R -graft-points -path-list LIST -D"},
        {"identifiers go through quoting",
         [](ImageCommandInputs &, OptionsModel &o) {
             o.setChkAppID(true);
             o.setEditAppID("Quillon \"1\" $HOME");
             o.setChkPublisherID(true);
             o.setEditPublisherID("Pub`x`");
             o.setChkPreparerID(true);
             o.setEditPreparerID("me");
         },
         "-A \"Quillon \\\"1\\\" \\$HOME\" -P \"Pub\\`x\\`\" -p me -J -R -graft-points -path-list LIST -D"},
        {"everything off but multisession unticked",
         [](ImageCommandInputs &i, OptionsModel &o) {
             i.ChkMultisession = false;
             o.setChkJoliet(false);
             o.setChkDeep(false);
             o.setChkPad(false);
             o.setChkIso31(true);
         },
         "-graft-points -path-list LIST -no-pad -l"},
        {"CD Plus continues the audio session and forces Rock Ridge",
         [](ImageCommandInputs &i, OptionsModel &) {
             i.jobType = jtCdPlus;
             i.ChkMultisession = false;
             i.MsInfo = "0,11702";
         },
         "-C 0,11702 -J -R -graft-points -path-list LIST -D"},
        {"add session reads the old session from its drive",
         [](ImageCommandInputs &i, OptionsModel &) {
             i.jobType = jtAddSession;
             i.MsInfo = "0,11702";
             i.msDrive = DeviceAddress::of(QString("/dev/sr1"));
         },
         "-C 0,11702 -M /dev/sr1 -check-oldnames -J -R -graft-points -path-list LIST -D"},
        {"character set and additional options split by the quoting rules",
         [](ImageCommandInputs &i, OptionsModel &o) {
             i.characterSet = "cp437";
             o.setChkIsoOptions(true);
             o.setEditIsoOptions("-hide-list \"my hide.lst\" -quiet");
         },
         "-J -R -input-charset cp437 -graft-points -path-list LIST -D -hide-list \"my hide.lst\" -quiet"},
        {"From a file without a file gives empty quotes",
         [](ImageCommandInputs &i, OptionsModel &) { i.characterSetFromFile = true; },
         "-J -R -input-charset \"\" -graft-points -path-list LIST -D"},
    };
    const QString list = CommandLine::quoteFileName(pathListFile(paths));
    for (const ImageCase &c : cases) {
        ImageCommandInputs in;
        OptionsModel o;
        c.setup(in, o);
        const BuiltCommand b = BuildImageCommand(in, o, paths);
        EXPECT_TRUE(b.runnable()) << c.name;
        QString expected = c.expected;
        expected.replace("LIST", list);
        EXPECT_EQ(b.text(), "mkisofs " + expected) << c.name;
        EXPECT_EQ(CommandLine::parse(b.text()).commands, b.commands) << c.name << ": the text reads back";
    }
    ImageCommandInputs unknown;
    unknown.jobType = jtAddSession;
    const BuiltCommand b = BuildImageCommand(unknown, options, paths);
    EXPECT_FALSE(b.runnable()) << "no drive for the old session";
    EXPECT_TRUE(b.text().contains(" -M 0,0,0 -check-oldnames")) << b.text().toStdString();
}

TEST(ImageCommandTest, CharacterSetFromTheOptions)
{
    struct Case {
        const char *name;
        int position;
        const char *file;
        const char *expected;
        bool fromFile;
    };
    const Case cases[] = {
        {"nothing selected", -1, "", "", false},
        {"the first word of an entry", 24, "", "iso8859-1", false},
        {"the last of the 36 sets", 35, "", "koi8-r", false},
        {"\"From a file\" by its position, not as the last entry", 36, "/x/my table.txt", "/x/my table.txt", true},
        {"utf-8 after \"From a file\"", 37, "/x/my table.txt", "utf-8", false},
        {"a position past the list", 38, "", "", false},
    };
    for (const Case &c : cases) {
        OptionsModel o;
        o.setComboCharacterSet(c.position);
        o.setEditCharacterSet(c.file);
        ImageCommandInputs in;
        setCharacterSet(in, o);
        EXPECT_EQ(in.characterSet, QString(c.expected)) << c.name;
        EXPECT_EQ(in.characterSetFromFile, c.fromFile) << c.name;
    }
}

TEST(ImageCommandTest, SizeFormAndItsResult)
{
    EXPECT_EQ(SizeCommand({"mkisofs", "-V", "x y"}),
              (ToolCommand{"mkisofs", "-print-size", "-q", "-V", "x y"}));
    EXPECT_EQ(parseImageSize(" 1234\n"), std::optional<qint64>(1234));
    EXPECT_EQ(parseImageSize("Total extents scheduled to be written = 1234"), std::nullopt);
}

// --- Through the real tools ----------------------------------------------------------------

// path -> size (-1 for a folder) as isoinfo lists the image in the chosen name space.
QMap<QString, qint64> imageTree(const QString &iso, const QString &nameSpace)
{
    QMap<QString, qint64> tree;
    ToolCommand c{"isoinfo", nameSpace, "-l", "-i", iso};
    // isoinfo has no UTF-8 output; the test's names all fit Latin-1.
    const bool joliet = nameSpace == "-J";
    if (joliet)
        c << "-j"
          << "iso8859-1";
    const RunResult r = run(c, joliet);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QString dir;
    for (const QString &line : r.out.split('\n')) {
        if (line.startsWith("Directory listing of ")) {
            dir = line.mid(21);
            continue;
        }
        const int close = line.indexOf("]  ");
        if (close < 0)
            continue;
        QString name = line.mid(close + 3);
        if (name.endsWith(' '))
            name.chop(1);
        if (name == "." || name == "..")
            continue;
        const QStringList cols = line.left(close).simplified().split(' ');
        tree[dir + name] = line.startsWith('d') ? -1 : cols.value(4).toLongLong();
    }
    return tree;
}

class RealImageTest : public PathListTest {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("mkisofs").isEmpty() ||
            QStandardPaths::findExecutable("isoinfo").isEmpty())
            GTEST_SKIP() << "mkisofs or isoinfo is not installed";
    }
    // The project's tree as the image should hold it, levels deeper than `maxLevel` left out.
    QMap<QString, qint64> projectTree(int maxLevel) const
    {
        QMap<QString, qint64> tree;
        project.VisitFolders([&](const PathListFolder &n) {
            if (n.level > maxLevel)
                return WalkStep::SkipChildren;
            if (!n.folder.isRoot())
                tree["/" + n.listPath.chopped(1)] = -1;
            for (int i = 0; i < n.folder.files().count(); ++i) {
                const FileEntry &e = n.folder.files().at(i);
                tree["/" + n.listPath + e.name()] = QFileInfo(e.sourcePath()).size();
            }
            return WalkStep::Continue;
        });
        return tree;
    }
    QString buildImage(const QString &name, ImageCommandInputs in = {})
    {
        in.EditFile = temp.path() + "/" + name;
        in.characterSet = "UTF-8";
        const PathListResult list = write();
        EXPECT_TRUE(list.ok()) << list.error.toStdString();
        const BuiltCommand b = BuildImageCommand(in, options, paths);
        EXPECT_TRUE(b.runnable()) << b.error.toStdString();
        ToolCommand c = b.commands.first();
        c.insert(1, "-quiet");
        const RunResult r = run(c);
        EXPECT_EQ(r.exitCode, 0) << b.text().toStdString() << "\n" << r.err.toStdString();
        return in.EditFile;
    }
    void trickyTree()
    {
        file(root, "plain.txt", disk + "/plain.txt", "12345");
        ProjectFolder *odd =
            folder(root, "blank 'single' \"double\" $HOME `cmd` a=b", disk + "/odd = src\\dir");
        file(odd, "Zürich ünïcödé.txt", disk + "/odd = src\\dir/z.txt", QByteArray(3000, 'z'));
        file(odd, "eq=uals.dat", disk + "/odd = src\\dir/e=q", "e");
        file(odd, QString(64, QChar('n')), disk + "/odd = src\\dir/long", QByteArray(70000, 'l'));
        folder(odd, "empty in project");
        folder(root, "back\\slash", disk + "/bs");
        ProjectFolder *other = folder(root, "other", disk + "/other");
        file(other, "same", disk + "/other/same", "file named like a folder");
        ProjectFolder *twin = folder(root, "twin", disk + "/twin");
        folder(twin, "same", disk + "/twin/same");
        ProjectFolder *f = root;
        for (int level = 1; level <= 12; ++level)
            f = folder(f, QString("D%1").arg(level), disk + QString("/deep%1").arg(level));
        file(f, "at12.txt", disk + "/deep12/at12.txt", "12");
    }
};

TEST_F(RealImageTest, TheImageHoldsTheProjectTree)
{
    trickyTree();
    for (bool deep : {true, false}) {
        options.setChkDeep(deep);
        const QString iso = buildImage(deep ? "deep.iso" : "flat.iso");
        const QMap<QString, qint64> expected = projectTree(deep ? 99 : 7);
        EXPECT_EQ(describe(imageTree(iso, "-R")), describe(expected)) << "Rock Ridge names, deep " << deep;
        const RunResult found = run({"isoinfo", "-R", "-f", "-i", iso});
        QStringList want = expected.keys();
        QStringList got = found.out.split('\n', Qt::SkipEmptyParts);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got.join('\n'), want.join('\n')) << "isoinfo -f, deep " << deep;
        if (deep)
            EXPECT_TRUE(expected.contains("/D1/D2/D3/D4/D5/D6/D7/D8/D9/D10/D11/D12/at12.txt"));
        else
            EXPECT_FALSE(expected.contains("/D1/D2/D3/D4/D5/D6/D7/D8"));
    }
}

TEST_F(RealImageTest, JolietNamesMatchWhereJolietAllowsThem)
{
    ProjectFolder *a = folder(root, "Ünïcode folder", disk + "/u");
    file(a, "a file with blanks and = and $.txt", disk + "/u/f", "abc");
    file(root, QString(64, QChar('j')), disk + "/j", "j");
    const QString iso = buildImage("joliet.iso");
    EXPECT_EQ(describe(imageTree(iso, "-J")), describe(projectTree(99)));
}

TEST_F(RealImageTest, TheOptionsUtf8EntryIsAnInputCharsetTheBuilderTakes)
{
    ProjectFolder *a = folder(root, "Ünïcode folder", disk + "/u");
    file(a, "Zürich.txt", disk + "/u/z", "abc");
    options.setComboCharacterSet(kCharacterSetUtf8);
    ImageCommandInputs in;
    setCharacterSet(in, options);
    ASSERT_EQ(in.characterSet, QString("utf-8"));
    in.EditFile = temp.path() + "/utf8.iso";
    ASSERT_TRUE(write().ok());
    const BuiltCommand b = BuildImageCommand(in, options, paths);
    EXPECT_TRUE(b.text().contains(" -input-charset utf-8 ")) << b.text().toStdString();
    const RunResult r = run(b.commands.first());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(describe(imageTree(in.EditFile, "-J")), describe(projectTree(99)));
}

TEST_F(RealImageTest, PrintSizeEqualsTheWrittenImage)
{
    trickyTree();
    const QString iso = buildImage("sized.iso");
    ImageCommandInputs in;
    in.characterSet = "UTF-8";
    const RunResult r = run(SizeCommand(BuildImageCommand(in, options, paths).commands.first()));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const std::optional<qint64> sectors = parseImageSize(r.out.trimmed().split('\n').last());
    ASSERT_TRUE(sectors.has_value()) << r.out.toStdString();
    EXPECT_EQ(*sectors * 2048, QFileInfo(iso).size());
}

TEST_F(RealImageTest, ASecondSessionHoldsBothTrees)
{
    file(root, "first.txt", disk + "/first.txt", "first session");
    ProjectFolder *a = folder(root, "A", disk + "/a1");
    file(a, "one.txt", disk + "/a1/one.txt", "1");
    const QString first = buildImage("first.iso");

    // The second session: what the first holds comes back from the image, numbered 1.
    project.ResetProject();
    root = project.NewDataProject(QString(), "CDROM");
    project.setProjectKind(pkAddSession);
    project.AddFileEntry(root, "first.txt", "/first.txt", 1);
    ProjectFolder *oldA = folder(root, "A", "/A/");
    oldA->dane().FromImage = true;
    project.AddFileEntry(oldA, "one.txt", "/A/one.txt", 1);
    file(oldA, "two.txt", disk + "/a2/two.txt", "22");
    ProjectFolder *b = folder(root, "B", disk + "/b");
    file(b, "three.txt", disk + "/b/three.txt", "333");

    const qint64 firstSectors = QFileInfo(first).size() / 2048;
    ImageCommandInputs in;
    in.jobType = jtAddSession;
    in.MsInfo = QString("0,%1").arg(firstSectors);
    in.msDrive = DeviceAddress::of(first);
    const QString second = buildImage("second.iso", in);

    // The new session's addresses start where the old one ended, as on a disc.
    const RunResult tree = run({"isoinfo", "-R", "-f", "-N", QString::number(firstSectors), "-i", second});
    QStringList got = tree.out.split('\n', Qt::SkipEmptyParts);
    std::sort(got.begin(), got.end());
    const QStringList expected{"/A", "/A/one.txt", "/A/two.txt", "/B", "/B/three.txt", "/first.txt"};
    EXPECT_EQ(got.join('\n'), expected.join('\n')) << tree.err.toStdString();
}

} // namespace
