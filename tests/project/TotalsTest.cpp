// The running totals: data and audio bookkeeping, removal by counted size, the refresh.
#include "ProjectFixture.h"

namespace quillon::test {
namespace {

using Totals = ProjectFixture;

struct DataCase {
    qint64 size;
    qint64 sectors;
};

TEST_F(Totals, DataSectorsRoundUpAndAnEmptyFileTakesOne)
{
    const DataCase cases[] = {{0, 1}, {1, 1}, {2048, 1}, {2049, 2}, {4096, 2}, {10 * 1048576 + 1, 5121}};
    for (const DataCase &c : cases) {
        project.ResetProject();
        ASSERT_TRUE(project.CountDataAdded(c.size));
        EXPECT_EQ(project.DataBytes(), c.size) << "adding " << c.size;
        EXPECT_EQ(project.DataSectors(), c.sectors) << "adding " << c.size;
        ASSERT_TRUE(project.CountDataRemoved(c.size));
        EXPECT_EQ(project.DataBytes(), 0) << "removing " << c.size;
        EXPECT_EQ(project.DataSectors(), 0) << "removing " << c.size << " takes its sectors back";
    }
}

TEST_F(Totals, RemovingAnEmptyFileTakesItsSectorBack)
{
    project.AddFile(root, "empty", "/s/empty", 0);
    EXPECT_EQ(project.DataSectors(), 1);
    project.RemoveFile(root, 0);
    EXPECT_EQ(project.DataSectors(), 0);
    EXPECT_EQ(project.DataBytes(), 0);
}

TEST_F(Totals, ImportedFilesAreMarkedAndNotCounted)
{
    project.ImportMode = true;
    EXPECT_FALSE(project.CountDataAdded(100));
    project.AddFile(root, "old", "/OLD;1", 5000);
    project.ImportMode = false;
    ASSERT_EQ(root->files().count(), 1);
    EXPECT_EQ(root->files()[0].number(), 1);
    EXPECT_FALSE(root->files()[0].isCounted());
    EXPECT_EQ(project.DataBytes(), 0);

    project.RemoveFile(root, 0);
    EXPECT_EQ(project.DataSectors(), 0) << "nothing was counted, nothing is taken";
}

TEST_F(Totals, RemovalTakesTheCountedSizeAndARefreshRebases)
{
    project.AddFile(root, "a", "/s/a", 5000); // 3 sectors
    project.AddFile(root, "b", "/s/b", 100);  // 1 sector
    project.AddFile(root, "gone", "/s/gone", 7000);
    ASSERT_EQ(project.DataSectors(), 3 + 1 + 4);

    // On disk "a" has grown, "b" is empty now and "gone" is missing.
    const QHash<QString, qint64> onDisk{{"/s/a", 9000}, {"/s/b", 0}};
    project.RecountTotals([&](const QString &path) { return onDisk.value(path, -1); }, {});
    EXPECT_EQ(project.DataBytes(), 9000);
    EXPECT_EQ(project.DataSectors(), 5 + 1);
    EXPECT_EQ(root->files()[project.FindFileEntry(root, "a")].countedSize(), 9000);
    EXPECT_FALSE(root->files()[project.FindFileEntry(root, "gone")].isCounted());

    project.RemoveFile(root, project.FindFileEntry(root, "a"));
    EXPECT_EQ(project.DataBytes(), 0);
    EXPECT_EQ(project.DataSectors(), 1);
    project.RemoveFile(root, project.FindFileEntry(root, "gone"));
    EXPECT_EQ(project.DataSectors(), 1) << "a file that was not counted takes nothing";
    project.RemoveFile(root, project.FindFileEntry(root, "b"));
    EXPECT_EQ(project.DataSectors(), 0);
}

TEST_F(Totals, RefreshLeavesRecordedEntriesOut)
{
    project.setProjectKind(pkAddSession);
    project.AddFileEntry(root, "OLD", "/OLD;1", 1);
    project.AddFile(root, "new", "/s/new", 10);
    int asked = 0;
    project.RecountTotals(
        [&](const QString &) {
            ++asked;
            return qint64(2048);
        },
        {});
    EXPECT_EQ(asked, 1) << "the recorded entry is not even looked up";
    EXPECT_EQ(project.DataBytes(), 2048);
}

TEST_F(Totals, RemovingAFolderTakesItsSubtree)
{
    ProjectFolder *a = folder(root, "A");
    ProjectFolder *b = folder(a, "B");
    project.AddFile(a, "x", "/s/x", 3000);
    project.AddFile(b, "y", "/s/y", 0);
    project.AddFile(root, "z", "/s/z", 1);
    project.RemoveFolder(a);
    EXPECT_EQ(project.DataBytes(), 1);
    EXPECT_EQ(project.DataSectors(), 1);
    EXPECT_FALSE(root->dane().NameSet.contains("A"));
    EXPECT_EQ(project.folderCount(), 1);
}

// Each step: add or remove a track of the given size, then the totals expected.
struct AudioStep {
    bool add;
    qint64 size;
    qint64 bytes;
    qint64 sectors;
};

struct AudioCase {
    const char *name;
    std::vector<AudioStep> steps;
};

class AudioTotals : public ProjectFixture, public ::testing::WithParamInterface<AudioCase> {};

TEST_P(AudioTotals, GapBeforeEveryTrackBeyondTheFirst)
{
    int step = 0;
    for (const AudioStep &s : GetParam().steps) {
        if (s.add)
            project.CountAudioAdded(s.size);
        else
            project.CountAudioRemoved(s.size);
        EXPECT_EQ(project.AudioBytes(), s.bytes) << "after step " << step;
        EXPECT_EQ(project.AudioSectors(), s.sectors) << "after step " << step;
        ++step;
    }
    EXPECT_EQ(project.AudioTrackCount(), 0);
}

// 352800 bytes are exactly 150 sectors; 1000 bytes round up to 1 and 353800 to 151.
INSTANTIATE_TEST_SUITE_P(
    Tracks, AudioTotals,
    ::testing::Values(
        AudioCase{"OnlyTrackComesOffExactly", {{true, 1000, 1000, 1}, {false, 1000, 0, 0}}},
        AudioCase{
            "LastOfTwoTakesTheGap",
            {{true, 1000, 1000, 1}, {true, 1000, 354800, 152}, {false, 1000, 1000, 1}, {false, 1000, 0, 0}}},
        AudioCase{"EmptySecondTrackStillAddsTheGap",
                  {{true, 2352, 2352, 1}, {true, 0, 355152, 151}, {false, 0, 2352, 1}, {false, 2352, 0, 0}}},
        AudioCase{"EmptyOnlyTrack", {{true, 0, 0, 0}, {false, 0, 0, 0}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Totals, RefreshCountsTheRemainingAudioTracks)
{
    project.CountAudioAdded(5);
    project.RecountTotals([](const QString &) { return qint64(-1); }, {1000, 1000});
    EXPECT_EQ(project.AudioTrackCount(), 2);
    EXPECT_EQ(project.AudioBytes(), 354800);
    EXPECT_EQ(project.AudioSectors(), 152);
}

} // namespace
} // namespace quillon::test
