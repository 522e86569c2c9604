// The project file's bytes: the tagged values, each layout, reading back every kind, and
// damaged files that must end in a read error rather than a crash or a huge allocation.
#include "ProjectFixture.h"

#include "project/FolderListModel.h"
#include "project/ProjectFile.h"
#include "project/ProjectText.h"
#include "project/TaggedStream.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace quillon::test {
namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QString hex(const QByteArray &data)
{
    return QString::fromLatin1(data.toHex(' '));
}

// ---- the tagged values -----------------------------------------------------------------

struct IntCase {
    const char *name;
    qint32 value;
    QByteArray encoded;
};

TEST(TaggedStreamTest, IntTakesTheSmallestForm)
{
    const IntCase cases[] = {
        {"zero", 0, bytes({2, 0})},
        {"smallest one-byte", -128, bytes({2, 0x80})},
        {"largest one-byte", 127, bytes({2, 0x7F})},
        {"just past one byte", 128, bytes({3, 0x80, 0})},
        {"the data magic", 1235, bytes({3, 211, 4})},
        {"smallest two-byte", -32768, bytes({3, 0x00, 0x80})},
        {"just past two bytes", 32768, bytes({4, 0x00, 0x80, 0, 0})},
        {"minus one", -1, bytes({2, 0xFF})},
        {"most negative", INT32_MIN, bytes({4, 0, 0, 0, 0x80})},
    };
    for (const IntCase &c : cases) {
        TaggedWriter out;
        out.Int(c.value);
        EXPECT_EQ(hex(out.bytes()), hex(c.encoded)) << c.name;
        TaggedReader in(out.bytes());
        qint32 back = 0;
        EXPECT_TRUE(in.Int(back) && in.atEnd()) << c.name;
        EXPECT_EQ(back, c.value) << c.name;
    }
}

TEST(TaggedStreamTest, ReaderAcceptsEveryIntFormWhateverTheValue)
{
    const QByteArray file = bytes({4, 5, 0, 0, 0, 3, 0xFE, 0xFF, 2, 7});
    TaggedReader in(file);
    qint32 a = 0, b = 0, c = 0;
    ASSERT_TRUE(in.Int(a) && in.Int(b) && in.Int(c));
    EXPECT_EQ(a, 5);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(c, 7);
}

TEST(TaggedStreamTest, StrBoolAndChrLayouts)
{
    TaggedWriter out;
    out.Str(QString());
    out.Str(QStringLiteral("ab"));
    out.Bool(true);
    out.Bool(false);
    out.Chr(QLatin1Char('E'));
    EXPECT_EQ(hex(out.bytes()), hex(bytes({6, 0, 6, 2, 'a', 'b', 9, 8, 6, 1, 'E'})));
}

TEST(TaggedStreamTest, TextOver255BytesTakesTag12AndAFourByteLength)
{
    for (const int length : {255, 256, 70000}) {
        TaggedWriter out;
        out.Str(QString(length, QLatin1Char('x')));
        const QByteArray written = out.bytes();
        if (length <= 255) {
            EXPECT_EQ(hex(written.left(2)), hex(bytes({6, length}))) << length;
        } else {
            QByteArray head = bytes({12});
            for (int i = 0; i < 4; ++i)
                head.append(char((length >> (8 * i)) & 0xFF));
            EXPECT_EQ(hex(written.left(5)), hex(head)) << length;
        }
        TaggedReader in(written);
        QString back;
        ASSERT_TRUE(in.Str(back)) << length;
        EXPECT_EQ(back.size(), length);
        EXPECT_TRUE(in.atEnd());
    }
}

TEST(TaggedStreamTest, NonAsciiTextIsWrittenAsUtf8AndWindowsBytesReadAsWindows1252)
{
    TaggedWriter out;
    out.Str(QStringLiteral("Gr\u00fc\u00dfe \u20ac"));
    EXPECT_EQ(hex(out.bytes()), hex(QByteArray("\x06\x0bGr\xc3\xbc\xc3\x9f"
                                               "e \xe2\x82\xac")));

    // What a Windows program writes: "Grüße €" and the unassigned 0x81, in Windows-1252.
    const QByteArray windows("\x06\x08Gr\xfc\xdf"
                             "e \x80\x81");
    TaggedReader in(windows);
    QString back;
    ASSERT_TRUE(in.Str(back));
    EXPECT_EQ(back, QStringLiteral("Gr\u00fc\u00dfe \u20ac\u0081")) << "never U+FFFD";
    EXPECT_FALSE(back.contains(QChar::ReplacementCharacter));
}

TEST(TaggedStreamTest, ALeadingByteOrderMarkStaysPartOfTheText)
{
    EXPECT_EQ(decodeProjectText(QByteArray("\xef\xbb\xbfx")), QStringLiteral("\ufeffx"));
}

struct BadCase {
    const char *name;
    QByteArray data;
};

TEST(TaggedStreamTest, WrongTagsAndShortValuesFailAndStayFailed)
{
    const BadCase cases[] = {
        {"empty", QByteArray()},
        {"Int tag without its bytes", bytes({4, 1, 2})},
        {"unknown tag", bytes({5, 0})},
        {"Str where an Int is due", bytes({6, 0})},
        {"Str longer than the file", bytes({6, 10, 'a'})},
        {"long Str of four gigabytes", bytes({12, 0xFF, 0xFF, 0xFF, 0xFF, 'a'})},
    };
    for (const BadCase &c : cases) {
        TaggedReader in(c.data);
        qint32 v = 42;
        EXPECT_FALSE(in.Int(v)) << c.name;
        EXPECT_EQ(v, 42) << c.name << ": the target stays as it was";
        EXPECT_TRUE(in.failed()) << c.name;
        EXPECT_FALSE(in.error().isEmpty()) << c.name;
        QString s;
        EXPECT_FALSE(in.Str(s)) << c.name << ": a failure sticks";
    }
    const QByteArray huge = bytes({12, 0xFF, 0xFF, 0xFF, 0xFF, 'a'});
    TaggedReader longStr(huge);
    QString s;
    EXPECT_FALSE(longStr.Str(s));
    const QByteArray seven = bytes({7});
    TaggedReader notBool(seven);
    bool b = false;
    EXPECT_FALSE(notBool.Bool(b));
}

// ---- layouts ----------------------------------------------------------------------------

class ProjectFileTest : public ProjectFixture {
protected:
    // Every folder as "level|name|fromImage|changed|source", each entry as
    // "  text|recorded", depth first.
    static QStringList dump(const ProjectModel &model)
    {
        QStringList out;
        model.VisitFolders([&out](const PathListFolder &f) {
            const TDane &d = f.folder.dane();
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(f.level)
                       .arg(f.folder.text())
                       .arg(d.FromImage)
                       .arg(d.Changed)
                       .arg(d.SourceDir);
            for (int i = 0; i < d.Files.count(); ++i)
                out << QStringLiteral("  %1|%2").arg(d.Files[i].text()).arg(d.Files[i].number());
            return WalkStep::Continue;
        });
        return out;
    }

    // Reads bytes into a fresh model the way the program dispatches on the magic.
    ProjectFileReader::Outcome readInto(ProjectModel &target, const QByteArray &data, ProjectAutorun &autorun,
                                        AudioBlock &audio, ProjectFileReader::Hooks hooks = {})
    {
        if (hooks.defaultDiscName.isEmpty())
            hooks.defaultDiscName = QStringLiteral("Quillon CD");
        ProjectFileReader reader(data, hooks);
        lastError.clear();
        ProjectFileReader::Outcome outcome;
        switch (ProjectFileReader::peekMagic(data)) {
        case pmData:
        case pmAddSession:
            outcome = reader.readDataFile(target, autorun);
            break;
        case pmCdPlus:
            outcome = reader.readMixedFile(target, autorun, audio);
            break;
        case pmAudio:
        case pmAudioCopy:
            outcome = reader.readAudioFile(target.ImageFile, audio);
            break;
        default:
            return ProjectFileReader::Outcome::NotAProject;
        }
        lastError = reader.error();
        return outcome;
    }

    QByteArray encode(qint32 magic, const ProjectAutorun &autorun = {}, const AudioBlock &audio = {})
    {
        return EncodeProject(project, magic, autorun, audio);
    }

    QString lastError;
};

TEST_F(ProjectFileTest, AnEmptyDataProjectIsWrittenByteForByte)
{
    // clang-format off
    const QByteArray expected = bytes({
        3, 211, 4,                         // magic 1235
        6, 0,                              // no image file
        8, 8, 6, 0, 0, 6, 0, 6, 0, 6, 0,   // autorun off, icon off, no icon file, run a program
        6, 5, 'C', 'D', 'R', 'O', 'M',     // the root record: disc name
        8, 8, 6, 0,                        // not from an image, not changed, no source
        2, 0, 2, 0,                        // no entries, no children
        2, 0, 9,                           // icon colour 0, no icon
    });
    // clang-format on
    EXPECT_EQ(hex(encode(pmData)), hex(expected));
}

TEST_F(ProjectFileTest, AMultisessionProjectStartsWithItsSessionStartAndDriveLetter)
{
    project.setProjectKind(pkAddSession);
    project.NextSessionStart = 12345;
    project.MsDriveLetter = QLatin1Char('E');
    project.ImageFile = QStringLiteral("i.iso");
    const QByteArray head = bytes({3, 0xD4, 4, 3, 0x39, 0x30, 6, 1, 'E', 6, 5, 'i', '.', 'i', 's', 'o'});
    EXPECT_EQ(hex(encode(pmAddSession).left(head.size())), hex(head));
}

TEST_F(ProjectFileTest, EntriesAndChildrenFollowTheirFolderInTreeOrder)
{
    ProjectFolder *a = folder(root, QStringLiteral("A"), QStringLiteral("/s/A"));
    a->dane().Changed = true;
    project.AddFileEntry(a, QStringLiteral("f"), QStringLiteral("/s/A/f"), 1);
    TaggedWriter expected;
    expected.Str(QStringLiteral("CDROM"));
    expected.Bool(false);
    expected.Bool(false);
    expected.Str(QString());
    expected.Int(0);
    expected.Int(1);
    expected.Str(QStringLiteral("A"));
    expected.Bool(false);
    expected.Bool(true);
    expected.Str(QStringLiteral("/s/A"));
    expected.Int(1);
    expected.Str(QStringLiteral("f:/s/A/f"));
    expected.Bool(true);
    expected.Int(0);
    const QByteArray file = encode(pmData);
    EXPECT_TRUE(file.contains(expected.bytes())) << hex(file).toStdString();
}

TEST_F(ProjectFileTest, MagicFollowsTheShownPages)
{
    EXPECT_EQ(ProjectMagicFor(true, true, pkCdPlus), pmCdPlus);
    EXPECT_EQ(ProjectMagicFor(true, false, pkAddSession), pmAddSession);
    EXPECT_EQ(ProjectMagicFor(true, false, pkData), pmData);
    EXPECT_EQ(ProjectMagicFor(false, true, pkAudio), pmAudio);
    EXPECT_EQ(ProjectMagicFor(false, false, pkAudioCopy), pmAudioCopy);
}

// ---- round trips --------------------------------------------------------------------------

TEST_F(ProjectFileTest, DataProjectComesBackWithItsTreeFlagsAndTotalsFromTheDisk)
{
    QTemporaryDir disk;
    auto make = [&disk](const QString &name, int size) {
        const QString path = disk.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'x'));
        return path;
    };
    // Every character a name may hold besides letters, and some that are not ASCII.
    const QStringList names = {QStringLiteral("a b!#$%&'()+,-.;=@[]^_`{}~.txt"),
                               QStringLiteral("\u00e9t\u00e9 \u65e5\u672c.wav"),
                               QStringLiteral("\u0414\u0430\u043d\u0456"), QStringLiteral("empty")};
    const QList<int> sizes = {3000, 1, 4096, 0};
    root->dane().SourceDir.clear();
    ProjectFolder *sub = folder(root, QStringLiteral("\u00c4 folder"), disk.path());
    sub->dane().Changed = true;
    for (int i = 0; i < names.size(); ++i)
        project.AddFile(sub, names[i], make(names[i], sizes[i]), sizes[i]);
    project.AddFileEntry(root, QStringLiteral("gone"), QStringLiteral("C:\\Windows\\gone.txt"), 0);
    ProjectFolder *deep = chain(sub, 140, QStringLiteral("D"));
    project.AddFileEntry(deep, QStringLiteral("bottom"), disk.filePath(names[0]), 0);
    root->dane().FromImage = true;
    ProjectAutorun autorun;
    autorun.AutorunEnabled = true;
    autorun.FileToOpen = QStringLiteral("readme.txt");
    autorun.AutorunAction = ProjectAutorun::OpenFile;
    project.ImageFile = QStringLiteral("/tmp/out.iso");

    const QByteArray file = encode(pmData, autorun);
    ProjectModel loaded(prompter);
    ProjectAutorun autorunBack;
    AudioBlock audio;
    ASSERT_EQ(readInto(loaded, file, autorunBack, audio), ProjectFileReader::Outcome::Loaded)
        << lastError.toStdString();
    EXPECT_EQ(dump(loaded), dump(project));
    EXPECT_EQ(autorunBack, autorun);
    EXPECT_EQ(loaded.ProjectKind(), pkData);
    EXPECT_EQ(loaded.ImageFile, project.ImageFile);
    // The totals are the disk's: every existing source, the missing Windows path not at all.
    qint64 bytesOnDisk = 3000 + 1 + 4096 + 0 + 3000;
    EXPECT_EQ(loaded.DataBytes(), bytesOnDisk);
    EXPECT_EQ(loaded.DataSectors(), 2 + 1 + 2 + 1 + 2);
    EXPECT_EQ(loaded.root()->child(0)->dane().NameSet.distinctNames(), names.size() + 1);

    FolderListModel list(loaded);
    list.setFolder(loaded.root());
    const QModelIndex gone = list.index(list.rowCount() - 1, FolderListModel::ColumnSize);
    EXPECT_EQ(gone.data().toString(), "?") << "a Windows path shows as a missing source";
}

TEST_F(ProjectFileTest, MultisessionProjectKeepsItsRecordedEntriesUncounted)
{
    QTemporaryDir disk;
    const QString path = disk.filePath("new.bin");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(5000, 'x'));
    f.close();
    project.setProjectKind(pkAddSession);
    project.NextSessionStart = -1; // after a failed reading
    project.MsDriveLetter = QLatin1Char('F');
    ProjectFolder *old = folder(root, QStringLiteral("OLD"), QStringLiteral("F:\\OLD"));
    old->dane().FromImage = true;
    project.AddFileEntry(old, QStringLiteral("A.TXT"), path, 1);
    project.AddFileEntry(root, QStringLiteral("new.bin"), path, 0);

    ProjectModel loaded(prompter);
    ProjectAutorun autorun;
    AudioBlock audio;
    ASSERT_EQ(readInto(loaded, encode(pmAddSession), autorun, audio), ProjectFileReader::Outcome::Loaded);
    EXPECT_EQ(loaded.ProjectKind(), pkAddSession);
    EXPECT_EQ(loaded.NextSessionStart, -1);
    EXPECT_EQ(loaded.MsDriveLetter, QLatin1Char('F'));
    EXPECT_EQ(dump(loaded), dump(project));
    EXPECT_EQ(loaded.DataBytes(), 5000) << "only the new file counts";
    EXPECT_FALSE(loaded.IsModifiable(loaded.root()->child(0), 0));
}

TEST_F(ProjectFileTest, CdPlusWithAnIconKeepsTheAudioBlockBehindIt)
{
    project.setProjectKind(pkCdPlus);
    project.AddFileEntry(root, QStringLiteral("x"), QStringLiteral("/nowhere/x"), 0);
    ProjectAutorun autorun;
    autorun.IconEnabled = true;
    autorun.IconColour = 0x00FF8000;
    // An icon whose bytes look like tagged values must still be taken by its length alone.
    autorun.Icon = bytes({0, 0, 1, 0, 1, 0, 6, 9, 2, 8, 12, 255});
    AudioBlock audio;
    audio.AlbumTitle = QStringLiteral("Album");
    audio.AlbumPerformer = QStringLiteral("Band");
    audio.CopySize = 123456;
    audio.DiscId = QStringLiteral("8a0b2c0d");
    audio.Tracks = {{QStringLiteral("/m/01.wav"), QStringLiteral("One"), QStringLiteral("A")},
                    {QStringLiteral("/m/\u00e9.wav"), QString(), QString()}};

    ProjectModel loaded(prompter);
    ProjectAutorun autorunBack;
    AudioBlock audioBack;
    ASSERT_EQ(readInto(loaded, encode(pmCdPlus, autorun, audio), autorunBack, audioBack),
              ProjectFileReader::Outcome::Loaded)
        << lastError.toStdString();
    EXPECT_EQ(loaded.ProjectKind(), pkCdPlus);
    EXPECT_EQ(autorunBack, autorun);
    EXPECT_EQ(audioBack, audio);
    EXPECT_EQ(dump(loaded), dump(project));
}

TEST_F(ProjectFileTest, AudioAndAudioCopyRowsComeBack)
{
    AudioBlock audio;
    audio.AlbumTitle = QStringLiteral("T");
    audio.CopySize = qint64(0x1'2345'6789); // only the low 32 bits are kept
    audio.Tracks = {{QStringLiteral("/a.wav"), QStringLiteral("t"), QStringLiteral("p")}};
    audio.RipTracks = {{true, QStringLiteral("01 One"), QStringLiteral("3:00"), QStringLiteral("30 MB"),
                        QStringLiteral("P"), QStringLiteral("One")},
                       {false, QStringLiteral("02"), QString(), QString(), QString(), QString()}};
    for (const qint32 magic : {qint32(pmAudio), qint32(pmAudioCopy)}) {
        ProjectModel loaded(prompter);
        ProjectAutorun autorun;
        AudioBlock back;
        project.ImageFile = QStringLiteral("img");
        ASSERT_EQ(readInto(loaded, encode(magic, {}, audio), autorun, back),
                  ProjectFileReader::Outcome::Loaded)
            << magic;
        EXPECT_EQ(loaded.ImageFile, "img");
        EXPECT_EQ(back.CopySize, 0x2345'6789);
        EXPECT_EQ(back.AlbumTitle, "T");
        if (magic == pmAudio) {
            EXPECT_EQ(back.Tracks, audio.Tracks);
            EXPECT_TRUE(back.RipTracks.isEmpty());
        } else {
            EXPECT_EQ(back.RipTracks, audio.RipTracks);
            EXPECT_TRUE(back.Tracks.isEmpty());
        }
    }
}

// ---- damaged files ----------------------------------------------------------------------

// A project with a bit of everything, for cutting and flipping.
QByteArray sampleFile(ProjectModel &project, ProjectFolder *root)
{
    project.setProjectKind(pkCdPlus);
    ProjectFolder *f = project.AddFolderNode(root, QStringLiteral("docs"));
    root->dane().NameSet.add(QStringLiteral("docs"));
    for (int i = 0; i < 60; ++i)
        project.AddFileEntry(f, QStringLiteral("file%1.txt").arg(i), QStringLiteral("/no/such/%1").arg(i),
                             i % 2);
    project.AddFolderNode(f, QStringLiteral("inner"));
    ProjectAutorun autorun;
    autorun.Icon = QByteArray(30, '\x06');
    AudioBlock audio;
    audio.Tracks = {{QStringLiteral("/a.wav"), QStringLiteral("t"), QStringLiteral("p")}};
    return EncodeProject(project, pmCdPlus, autorun, audio);
}

TEST_F(ProjectFileTest, EveryCutOfAValidFileIsADamagedFile)
{
    const QByteArray file = sampleFile(project, root);
    for (qsizetype cut = 1; cut < file.size(); ++cut) {
        ProjectModel loaded(prompter);
        ProjectAutorun autorun;
        AudioBlock audio;
        const auto outcome = readInto(loaded, file.left(cut), autorun, audio);
        ASSERT_TRUE(outcome == ProjectFileReader::Outcome::Damaged ||
                    outcome == ProjectFileReader::Outcome::NotAProject)
            << "a file cut after " << cut << " of " << file.size() << " bytes was read as whole";
    }
}

TEST_F(ProjectFileTest, FlippedBitsNeverCrashTheReader)
{
    const QByteArray file = sampleFile(project, root);
    QRandomGenerator random(20261211);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = file;
        for (int flips = 1 + int(random.bounded(3)); flips > 0; --flips) {
            const auto at = qsizetype(random.bounded(int(damaged.size())));
            damaged[at] = char(damaged[at] ^ char(1 << random.bounded(8)));
        }
        ProjectModel target(prompter);
        ProjectAutorun autorun;
        AudioBlock audio;
        if (readInto(target, damaged, autorun, audio) == ProjectFileReader::Outcome::Loaded)
            ++loaded;
    }
    // Flips in text bytes still load; the point is that none of the rest crashed.
    EXPECT_LT(loaded, 3000);
}

TEST_F(ProjectFileTest, HugeCountsAndLengthsAreRefusedBeforeAnythingIsAllocated)
{
    const BadCase cases[] = {
        {"entry count of two billion", bytes({3, 211, 4, 6, 0,   8, 8, 6, 0, 0, 6,    0,    6,    0,
                                              6, 0,   6, 1, 'R', 8, 8, 6, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"negative entry count",
         bytes({3, 211, 4, 6, 0, 8, 8, 6, 0, 0, 6, 0, 6, 0, 6, 0, 6, 1, 'R', 8, 8, 6, 0, 2, 0xFF})},
        {"child count of two billion", bytes({3, 211, 4, 6,   0, 8, 8, 6, 0, 0, 6, 0,    6,    0,    6,
                                              0, 6,   1, 'R', 8, 8, 6, 0, 2, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"icon of two gigabytes", bytes({3,   211, 4, 6, 0, 8, 8, 6, 0, 0, 6, 0, 6, 0,    6,    0,    6,   1,
                                         'R', 8,   8, 6, 0, 2, 0, 2, 0, 2, 0, 8, 4, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"negative icon size", bytes({3, 211, 4,   6, 0, 8, 8, 6, 0, 0, 6, 0, 6, 0, 6, 0,
                                      6, 1,   'R', 8, 8, 6, 0, 2, 0, 2, 0, 2, 0, 8, 2, 0xFE})},
        {"image file of four gigabytes", bytes({3, 211, 4, 12, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"track count of two billion",
         bytes({3, 210, 4, 6, 0, 6, 0, 6, 0, 2, 0, 6, 0, 4, 0xFF, 0xFF, 0xFF, 0x7F})},
        {"wrong magic inside a data file", bytes({3, 210, 4, 6, 0})},
    };
    for (const BadCase &c : cases) {
        ProjectModel target(prompter);
        ProjectAutorun autorun;
        AudioBlock audio;
        ProjectFileReader reader(c.data, {});
        const auto outcome = QByteArray(c.name).startsWith("track")
                                 ? reader.readAudioFile(target.ImageFile, audio)
                                 : reader.readDataFile(target, autorun);
        EXPECT_EQ(outcome, ProjectFileReader::Outcome::Damaged) << c.name;
        EXPECT_FALSE(reader.error().isEmpty()) << c.name;
    }
}

TEST_F(ProjectFileTest, FolderRecordsNestTwoHundredLevelsAndNoDeeper)
{
    for (const int levels : {200, 201}) {
        ProjectModel source(prompter);
        ProjectFolder *node = source.NewDataProject(QString(), QStringLiteral("R"));
        for (int i = 0; i < levels; ++i)
            node = source.AddFolderNode(node, QStringLiteral("d"));
        ProjectModel loaded(prompter);
        ProjectAutorun autorun;
        AudioBlock audio;
        const auto outcome = readInto(loaded, EncodeProject(source, pmData, {}, {}), autorun, audio);
        if (levels == 200) {
            EXPECT_EQ(outcome, ProjectFileReader::Outcome::Loaded) << lastError.toStdString();
            EXPECT_EQ(loaded.folderCount(), 201);
        } else {
            EXPECT_EQ(outcome, ProjectFileReader::Outcome::Damaged) << "a folder at level 201";
            EXPECT_TRUE(lastError.contains("deeper than 200")) << lastError.toStdString();
        }
    }
}

TEST_F(ProjectFileTest, FoldersFarOutOfOrderAreADamagedFileNotAnEndlessLoad)
{
    // Siblings written in reverse order: each one goes in front of all read before it.
    ProjectModel empty(prompter);
    empty.NewDataProject(QString(), QStringLiteral("R"));
    const QByteArray head = EncodeProject(empty, pmData, {}, {});
    TaggedWriter records;
    records.Str(QStringLiteral("R"));
    records.Bool(false);
    records.Bool(false);
    records.Str(QString());
    records.Int(0);
    records.Int(300);
    for (int i = 300; i > 0; --i) {
        records.Str(QStringLiteral("d%1").arg(i, 4, 10, QLatin1Char('0')));
        records.Bool(false);
        records.Bool(false);
        records.Str(QString());
        records.Int(0);
        records.Int(0);
    }
    records.Int(0);
    records.Bool(true);
    // The autorun part of an empty project's file, then these records and the icon part.
    const QByteArray file = head.left(head.indexOf(QByteArray("\x06\x01R"))) + records.bytes();
    for (const qint64 budget : {qint64(300) * 300, qint64(1000)}) {
        ProjectFileReader::Hooks hooks;
        hooks.maxSiblingMoves = budget;
        ProjectModel loaded(prompter);
        ProjectAutorun autorun;
        AudioBlock audio;
        const auto outcome = readInto(loaded, file, autorun, audio, hooks);
        if (budget > 1000) {
            EXPECT_EQ(outcome, ProjectFileReader::Outcome::Loaded) << lastError.toStdString();
            EXPECT_EQ(loaded.root()->child(0)->text(), "d0001") << "the tree keeps its sorted order";
        } else {
            EXPECT_EQ(outcome, ProjectFileReader::Outcome::Damaged);
            EXPECT_TRUE(lastError.contains("out of their sorted order")) << lastError.toStdString();
        }
    }
}

TEST_F(ProjectFileTest, CancelStopsAfterTheEntryInHandAndLeavesWhatWasRead)
{
    for (int i = 0; i < 200; ++i)
        project.AddFileEntry(root, QStringLiteral("f%1").arg(i, 3, 10, QLatin1Char('0')),
                             QStringLiteral("/x"), 0);
    bool abort = false;
    int pumps = 0;
    ProjectFileReader::Hooks hooks;
    hooks.abort = &abort;
    hooks.pump = [&] {
        if (++pumps == 2)
            abort = true; // Cancel pressed while the 51st entry is read
    };
    ProjectModel loaded(prompter);
    ProjectAutorun autorun;
    autorun.IconColour = 77;
    AudioBlock audio;
    EXPECT_EQ(readInto(loaded, encode(pmData), autorun, audio, hooks), ProjectFileReader::Outcome::Aborted);
    EXPECT_EQ(loaded.root()->files().count(), 51);
    EXPECT_EQ(autorun.IconColour, 77) << "the icon part is not read after a cancel";
}

TEST_F(ProjectFileTest, PeekMagicKnowsOnlyTheFiveLayouts)
{
    EXPECT_EQ(ProjectFileReader::peekMagic(bytes({3, 211, 4})), pmData);
    EXPECT_EQ(ProjectFileReader::peekMagic(bytes({3, 0xD1, 4})), 0) << "1233";
    EXPECT_EQ(ProjectFileReader::peekMagic(bytes({3, 0xD7, 4})), 0) << "1239";
    EXPECT_EQ(ProjectFileReader::peekMagic(QByteArray("PK\x03\x04")), 0);
    EXPECT_EQ(ProjectFileReader::peekMagic(QByteArray()), 0);
}

} // namespace
} // namespace quillon::test
