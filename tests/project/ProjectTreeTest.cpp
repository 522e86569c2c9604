// The folder tree: order, names, paths, rules, walks and the project's life cycle.
#include "ProjectFixture.h"

#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

namespace quillon::test {
namespace {

using ProjectTree = ProjectFixture;

TEST_F(ProjectTree, NewProjectsMakeTheRoot)
{
    EXPECT_EQ(root->text(), "CDROM") << "an empty disc name takes the default";
    EXPECT_EQ(project.ProjectKind(), pkData);
    EXPECT_EQ(root->level(), 0);
    EXPECT_TRUE(root->dane().SourceDir.isEmpty());
    EXPECT_TRUE(root->files().isSorted());

    project.ResetProject();
    project.ImageFile = "/tmp/x.iso";
    ProjectFolder *mixed = project.NewMixedProject("MYDISC", "CDROM");
    EXPECT_EQ(mixed->text(), "MYDISC");
    EXPECT_EQ(project.ProjectKind(), pkCdPlus);
    EXPECT_TRUE(project.ImageFile.isEmpty());
    EXPECT_EQ(project.folderCount(), 1);
}

TEST_F(ProjectTree, WindowCaptionShowsTheFileName)
{
    EXPECT_EQ(project.WindowCaption(), "Quillon - Untitled");
    project.ProjectFileName = "/home/u/projects/backup.cdp";
    EXPECT_EQ(project.WindowCaption(), "Quillon - backup.cdp");
    project.ProjectFileName = "C:\\Projects\\old.cdp";
    EXPECT_EQ(project.WindowCaption(), "Quillon - old.cdp");
}

TEST_F(ProjectTree, ChildFoldersStaySortedWithoutLetterCase)
{
    for (const char *name : {"beta", "Alpha", "gamma", "ALPHA2", "_x"})
        folder(root, name);
    EXPECT_EQ(childNames(root), QStringList({"_x", "Alpha", "ALPHA2", "beta", "gamma"}));

    ProjectFolder *gamma = project.FindChildFolder(root, "GAMMA");
    ASSERT_NE(gamma, nullptr);
    project.RenameFolder(gamma, "Aardvark");
    EXPECT_EQ(childNames(root), QStringList({"_x", "Aardvark", "Alpha", "ALPHA2", "beta"}));
    for (int i = 0; i < root->childCount(); ++i)
        EXPECT_EQ(root->child(i)->row(), i) << "row of " << root->child(i)->text().toStdString();
    EXPECT_TRUE(root->dane().NameSet.contains("aardvark"));
    EXPECT_FALSE(root->dane().NameSet.contains("gamma"));
    EXPECT_EQ(project.FindChildFolder(root, "nothing"), nullptr);
}

TEST_F(ProjectTree, FileEntriesSortByTheWholeEntry)
{
    for (const char *name : {"b.txt", "a", "A.txt", "a1"})
        project.AddFile(root, name, QStringLiteral("/s/") + name, 1);
    // The colon sorts after the digits: "a1:" before "a:".
    EXPECT_EQ(entryTexts(root), QStringList({"A.txt:/s/A.txt", "a1:/s/a1", "a:/s/a", "b.txt:/s/b.txt"}));
    const FileEntry &entry = root->files()[2];
    EXPECT_EQ(entry.name(), "a");
    EXPECT_EQ(entry.sourcePath(), "/s/a");
    EXPECT_EQ(entry.number(), 0);
}

// The list's order equals sorting the entry strings without letter case, whether entries go
// in one by one or through a fill.
TEST_F(ProjectTree, OrderMatchesACaseInsensitiveSortOfTheEntries)
{
    QRandomGenerator random(7);
    const QString alphabet = QStringLiteral("aAbB01_-.: ~zZ");
    QStringList expected;
    ProjectFolder *one = folder(root, "one");
    ProjectFolder *filled = folder(root, "filled");
    {
        ProjectModel::FillGuard fill(project, filled);
        for (int i = 0; i < 400; ++i) {
            QString name;
            for (int n = 1 + random.bounded(4); n > 0; --n)
                name += alphabet.at(random.bounded(alphabet.size()));
            name.remove(QLatin1Char(':'));
            if (name.isEmpty())
                name = "x";
            const QString source = QStringLiteral("/p/") + alphabet.at(random.bounded(alphabet.size()));
            project.AddFile(one, name, source, 1);
            project.AddFile(filled, name, source, 1);
            expected << name + QLatin1Char(':') + source;
        }
        EXPECT_FALSE(filled->files().isSorted());
    }
    std::stable_sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    auto sameIgnoringCase = [](QStringList list) { return list.join('\n').toCaseFolded(); };
    EXPECT_EQ(sameIgnoringCase(entryTexts(one)), sameIgnoringCase(expected));
    EXPECT_EQ(sameIgnoringCase(entryTexts(filled)), sameIgnoringCase(expected));
    EXPECT_TRUE(filled->files().isSorted());
}

TEST_F(ProjectTree, FindFileEntryMatchesNamesWithoutLetterCase)
{
    project.AddFile(root, "Readme", "/a/Readme", 1);
    project.AddFile(root, "readme.txt", "/a/readme.txt", 1);
    project.AddFile(root, "zeta", "/a/zeta", 1);
    // "readme.txt:" sorts before "Readme:" (a dot before the colon).
    EXPECT_EQ(project.FindFileEntry(root, "README.TXT"), 0);
    EXPECT_EQ(project.FindFileEntry(root, "readme"), 1);
    EXPECT_EQ(project.FindFileEntry(root, "read"), -1);
    EXPECT_EQ(project.FindFileEntry(root, "z"), -1);

    ProjectModel::FillGuard fill(project, root);
    project.AddFile(root, "Alpha", "/a/Alpha", 1);
    EXPECT_EQ(project.FindFileEntry(root, "ALPHA"), 3) << "while filling the entry sits at the end";
}

TEST_F(ProjectTree, NameSetCountsNamesWithoutLetterCase)
{
    project.AddFile(root, "ABC", "/s/ABC", 1);
    EXPECT_TRUE(root->dane().NameSet.contains("abc")) << "names differing only in case are duplicates";
    project.AddFile(root, "XABC", "/s/XABC", 1);
    EXPECT_EQ(root->dane().NameSet.distinctNames(), 2) << "ABC and XABC are distinct";

    project.RemoveFile(root, project.FindFileEntry(root, "ABC"));
    EXPECT_FALSE(root->dane().NameSet.contains("ABC"));
    EXPECT_TRUE(root->dane().NameSet.contains("XABC"));
    EXPECT_EQ(project.FindFileEntry(root, "xabc"), 0);

    // A rename may leave two items of one name; each counts.
    project.AddFile(root, "other", "/s/other", 1);
    project.RenameFile(root, project.FindFileEntry(root, "other"), "xAbc");
    EXPECT_EQ(root->dane().NameSet.count("XABC"), 2);
    EXPECT_FALSE(root->dane().NameSet.contains("other"));
    project.RemoveFile(root, 0);
    EXPECT_TRUE(root->dane().NameSet.contains("XABC"));
}

TEST_F(ProjectTree, RenameFileKeepsSourceAndMovesTheEntry)
{
    project.AddFile(root, "a.txt", "/s/a.txt", 1);
    project.AddFile(root, "m.txt", "/s/m.txt", 1);
    const int index = project.RenameFile(root, 0, "z.txt");
    EXPECT_EQ(index, 1);
    EXPECT_EQ(entryTexts(root), QStringList({"m.txt:/s/m.txt", "z.txt:/s/a.txt"}));
}

TEST_F(ProjectTree, NamesWithColonOrBackslashAreRefused)
{
    EXPECT_EQ(project.AddFile(root, "a:b", "/s/a", 100), -1);
    EXPECT_EQ(project.AddFile(root, "a\\b", "/s/a", 100), -1);
    EXPECT_EQ(root->files().count(), 0);
    EXPECT_EQ(project.DataBytes(), 0) << "a refused file is not counted";
}

TEST_F(ProjectTree, DiscPathAndListPath)
{
    ProjectFolder *a = folder(root, "A");
    ProjectFolder *b = folder(a, "B");
    EXPECT_EQ(ProjectModel::DiscPath(root), "");
    EXPECT_EQ(ProjectModel::ListPath(root), "");
    EXPECT_EQ(ProjectModel::DiscPath(a), "A\\");
    EXPECT_EQ(ProjectModel::DiscPath(b), "A\\B\\");
    EXPECT_EQ(ProjectModel::ListPath(b), "A/B/");
}

struct ModifiableCase {
    const char *name;
    TProjectKind kind;
    bool fromImage;
    qint64 number;
    int index; // -1 the folder, 0 the entry, 5 past the entries
    bool modifiable;
    const char *message; // empty when nothing is reported
};

class Modifiable : public ProjectFixture, public ::testing::WithParamInterface<ModifiableCase> {};

TEST_P(Modifiable, OnlyRecordedItemsOfAMultisessionProjectAreLocked)
{
    const ModifiableCase c = GetParam();
    project.setProjectKind(c.kind);
    ProjectFolder *dir = folder(root, "DIR");
    dir->dane().FromImage = c.fromImage;
    project.AddFileEntry(dir, "F.TXT", "/DIR/F.TXT", c.number);

    EXPECT_EQ(project.IsModifiable(dir, c.index, false), c.modifiable);
    EXPECT_TRUE(prompter.requests().isEmpty()) << "no report without the flag";
    EXPECT_EQ(project.IsModifiable(dir, c.index, true), c.modifiable);
    if (*c.message) {
        ASSERT_EQ(prompter.requests().size(), 1);
        EXPECT_EQ(prompter.requests()[0].text, c.message);
        EXPECT_EQ(prompter.requests()[0].caption, "Item recorded");
        EXPECT_EQ(prompter.requests()[0].icon, PromptIcon::Error);
    } else {
        EXPECT_TRUE(prompter.requests().isEmpty()) << prompter.texts().join('|').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Modifiable,
    ::testing::Values(ModifiableCase{"DataKindFolderFromImage", pkData, true, 1, -1, true, ""},
                      ModifiableCase{"DataKindNumberOne", pkData, false, 1, 0, true, ""},
                      ModifiableCase{"SessionFolderFromImage", pkAddSession, true, 0, -1, false,
                                     "I cannot modify directory name.\r\nIt's recorded on CD."},
                      ModifiableCase{"SessionNewFolder", pkAddSession, false, 1, -1, true, ""},
                      ModifiableCase{"SessionRecordedEntry", pkAddSession, false, 1, 0, false,
                                     "I cannot modify F.TXT:/DIR/F.TXT\r\nIt's recorded on CD."},
                      ModifiableCase{"SessionNewEntryInOldFolder", pkAddSession, true, 0, 0, true, ""},
                      ModifiableCase{"SessionIndexPastTheEntries", pkAddSession, false, 1, 5, true, ""}),
    [](const auto &info) { return std::string(info.param.name); });

// root - A (/d/A) - B (/d/A/B) - C (/d/A/B/C)
//                             - D (/elsewhere/D)
//                             - F (/d/A/B/x/F)
//          - E (/d/a/E)
struct ChangedCase {
    const char *name;
    const char *start;
    const char *flagged;
};

class ChangedWalk : public ProjectFixture, public ::testing::WithParamInterface<ChangedCase> {};

TEST_P(ChangedWalk, FlagMovesUpThroughDirectDiskSubFolders)
{
    const ChangedCase c = GetParam();
    QHash<QString, ProjectFolder *> nodes;
    nodes["root"] = root;
    nodes["A"] = folder(root, "A", "/d/A");
    nodes["B"] = folder(nodes["A"], "B", "/d/A/B");
    nodes["C"] = folder(nodes["B"], "C", "/d/A/B/C");
    nodes["D"] = folder(nodes["B"], "D", "/elsewhere/D");
    nodes["F"] = folder(nodes["B"], "F", "/d/A/B/x/F");
    nodes["E"] = folder(nodes["A"], "E", "/d/a/E");
    root->dane().SourceDir = "/d"; // never reached: the walk stops at level 1

    project.FlagChanged(nodes[c.start]);
    QStringList flagged;
    for (const char *name : {"root", "A", "B", "C", "D", "E", "F"})
        if (nodes[name]->dane().Changed)
            flagged << name;
    EXPECT_EQ(flagged.join(' '), c.flagged);
}

INSTANTIATE_TEST_SUITE_P(Starts, ChangedWalk,
                         ::testing::Values(ChangedCase{"DeepFolderUpToLevelOne", "C", "A B C"},
                                           ChangedCase{"OtherDiskFolderStops", "D", "D"},
                                           ChangedCase{"NotDirectSubFolderStops", "F", "F"},
                                           ChangedCase{"LetterCaseCounts", "E", "E"},
                                           ChangedCase{"LevelOneNeverFlagsTheRoot", "A", "A"},
                                           ChangedCase{"TheRootItself", "root", "root"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ProjectTree, PathListWalkVisitsDepthFirstInTreeOrder)
{
    project.setProjectKind(pkAddSession);
    ProjectFolder *b = folder(root, "b", "/src/b");
    ProjectFolder *a = folder(root, "A", "/OLD/");
    a->dane().FromImage = true;
    folder(a, "z", "/src/z");
    folder(b, "c", "/src/b/c");
    project.AddFileEntry(a, "OLD.TXT", "/OLD/OLD.TXT", 1);

    QStringList seen;
    project.VisitFolders([&](const PathListFolder &f) {
        seen << QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(f.level)
                    .arg(f.listPath, f.folder.dane().SourceDir, f.modifiable ? "new" : "recorded")
                    .arg(f.folder.files().count());
        return WalkStep::Continue;
    });
    EXPECT_EQ(seen, QStringList({"0|||new|0", "1|A/|/OLD/|recorded|1", "2|A/z/|/src/z|new|0",
                                 "1|b/|/src/b|new|0", "2|b/c/|/src/b/c|new|0"}));

    seen.clear();
    project.VisitFolders([&](const PathListFolder &f) {
        seen << f.listPath;
        if (f.listPath == "A/")
            return WalkStep::SkipChildren;
        return f.listPath == "b/" ? WalkStep::Stop : WalkStep::Continue;
    });
    EXPECT_EQ(seen, QStringList({"", "A/", "b/"}));
}

TEST_F(ProjectTree, ResetProjectClearsEverything)
{
    folder(root, "A");
    project.AddFile(root, "a", "/s/a", 5000);
    project.CountAudioAdded(1000);
    project.CountAudioAdded(1000);
    project.setAudioPlayingSeconds(12);
    project.setProjectKind(pkAddSession);
    project.ProjectFileName = "/p/x.cdp";
    project.ProjectModified = true;
    project.ImageFile = "/i/x.cue";
    project.ImageIsCue = true;
    project.MsInfo = "0,12345";
    project.MsDriveLetter = QLatin1Char('E');
    project.NextSessionStart = 12345;
    project.FileCount = 3;
    project.AlbumTitle = "Title";
    project.AlbumPerformer = "Performer";
    int resets = 0;
    int kinds = 0;
    QObject::connect(&project, &ProjectModel::projectReset, [&] { ++resets; });
    QObject::connect(&project, &ProjectModel::projectKindChanged, [&] { ++kinds; });

    project.ResetProject();

    EXPECT_EQ(project.root(), nullptr);
    EXPECT_EQ(project.folderCount(), 0);
    EXPECT_EQ(project.ProjectKind(), pkData);
    EXPECT_EQ(project.ProjectFileName, "Untitled");
    EXPECT_FALSE(project.ProjectModified);
    EXPECT_TRUE(project.ImageFile.isEmpty());
    EXPECT_FALSE(project.ImageIsCue);
    EXPECT_TRUE(project.MsInfo.isEmpty());
    EXPECT_TRUE(project.MsDriveLetter.isNull());
    EXPECT_EQ(project.NextSessionStart, 0);
    EXPECT_EQ(project.FileCount, 0);
    EXPECT_TRUE(project.AlbumTitle.isEmpty());
    EXPECT_TRUE(project.AlbumPerformer.isEmpty());
    EXPECT_EQ(project.DataBytes(), 0);
    EXPECT_EQ(project.DataSectors(), 0);
    EXPECT_EQ(project.AudioBytes(), 0);
    EXPECT_EQ(project.AudioSectors(), 0);
    EXPECT_EQ(project.AudioTrackCount(), 0);
    EXPECT_EQ(project.AudioPlayingSeconds(), 0);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(kinds, 1);
    const TotalsDisplay totals = project.UpdateTotals({});
    EXPECT_EQ(totals.LblTotal, "0 MB");
    EXPECT_EQ(totals.LblAudioTime, "00:00");
}

TEST_F(ProjectTree, FreeingFoldersAndTheTree)
{
    ProjectFolder *a = folder(root, "A");
    ProjectFolder *b = folder(a, "B");
    project.AddFile(b, "x", "/s/x", 3000);
    project.AddFile(root, "y", "/s/y", 10);
    EXPECT_EQ(project.folderCount(), 3);

    project.FreeFolderData(a, false);
    EXPECT_EQ(project.folderCount(), 1);
    EXPECT_EQ(project.DataSectors(), 3) << "freed without subtracting";
    EXPECT_TRUE(root->dane().NameSet.contains("A")) << "the parent's name set is the caller's";

    project.FreeAllData();
    EXPECT_EQ(project.root(), nullptr);
    EXPECT_EQ(project.DataBytes(), 3010);
}

} // namespace
} // namespace quillon::test
