// The size estimate and the labels UpdateTotals writes.
#include "ProjectFixture.h"

namespace quillon::test {
namespace {

constexpr qint64 sector = 2048;

EstimateOptions options(bool iso31, bool joliet, bool pad, bool deep = true)
{
    EstimateOptions o;
    o.ChkIso31 = iso31;
    o.ChkJoliet = joliet;
    o.ChkPad = pad;
    o.ChkDeep = deep;
    return o;
}

using SizeEstimate = ProjectFixture;

TEST_F(SizeEstimate, EmptyDataProjectIsZero)
{
    EXPECT_EQ(project.EstimateBytes(options(false, true, true)), 0);
    const TotalsDisplay totals = project.UpdateTotals(options(false, true, true));
    EXPECT_EQ(totals.LblTotal, "0 MB");
    EXPECT_EQ(totals.LabelAudioTotal, "0 MB");
    EXPECT_EQ(totals.LblAudioTime, "00:00");
    EXPECT_EQ(project.FileCount, 0);
}

TEST_F(SizeEstimate, OneByteFileInTheRoot)
{
    project.AddFile(root, "a.txt", "/src/a.txt", 1);
    // 1 data sector + 20 + 16 = 37; padding rounds up to 48.
    EXPECT_EQ(project.EstimateBytes(options(false, true, false)), 37 * sector);
    EXPECT_EQ(project.EstimateBytes(options(false, true, true)), 48 * sector);
    project.UpdateTotals(options(false, true, true));
    EXPECT_EQ(project.FileCount, 1);
}

TEST_F(SizeEstimate, HiddenDataPageCountsOnlyWithAudio)
{
    project.AddFile(root, "a.txt", "/src/a.txt", 1);
    project.setProjectKind(pkAudio);
    EXPECT_EQ(project.EstimateBytes(options(false, true, false)), 0) << "no audio track, data page hidden";

    project.CountAudioAdded(2352 * 10);
    // The data page's sectors still go in (1 + 20 + 16), then the ten audio sectors.
    EXPECT_EQ(project.EstimateBytes(options(false, true, false)), (37 + 10) * sector);
}

// A root file, a level-1 folder "Docs" with a file of a 70-character name and 100 child
// folders of 40-character names. The expected sectors were worked out by hand from the
// estimate's rules (N = 100 children):
//   data sectors 1 + 2 = 3, plus 20                                          -> 23
//   path table acc = 10 + (20 + N*(L + L mod 2 + 8)) + N*20
//       L capped 12: 4030 -> 4 sectors; capped 31: 6030 -> 6; Joliet (40): 6830 -> 8
//   directory of Docs d = 68 + N*(33 + L + 1 if L even) + (33 + F + 1 if F even)
//       caps 12: 68 + 4600 + 48 = 4716 -> 3; caps 31: 68 + 6400 + 66 = 6534 -> 4;
//       Joliet: 68 + 7400 + 100 = 7568 -> 4; every empty child directory 68 -> 1 each
//   then 16 more sectors, no padding.
struct CapCase {
    const char *name;
    bool iso31;
    bool joliet;
    qint64 sectors;
};

class SizeEstimateCaps : public ProjectFixture, public ::testing::WithParamInterface<CapCase> {};

TEST_P(SizeEstimateCaps, PathTableAndDirectoriesFollowTheNameCaps)
{
    const CapCase c = GetParam();
    project.AddFile(root, "a.bin", "/src/a.bin", 1);
    ProjectFolder *docs = folder(root, "Docs", "/src/Docs");
    project.AddFile(docs, "long", "/src/Docs/" + QString(70, QLatin1Char('n')), 4096);
    for (int i = 0; i < 100; ++i)
        folder(docs, QString(38, QLatin1Char('d')) + QString::number(i).rightJustified(2, QLatin1Char('0')));
    ASSERT_EQ(project.folderCount(), 102);

    std::optional<int> files;
    EXPECT_EQ(project.EstimateBytes(options(c.iso31, c.joliet, false), &files), c.sectors * sector)
        << "estimate in sectors: " << project.EstimateBytes(options(c.iso31, c.joliet, false)) / sector;
    EXPECT_EQ(files, 2);
}

INSTANTIATE_TEST_SUITE_P(Caps, SizeEstimateCaps,
                         ::testing::Values(CapCase{"Iso12", false, false, 23 + 4 + 3 + 100 + 16},
                                           CapCase{"Iso31", true, false, 23 + 6 + 4 + 100 + 16},
                                           CapCase{"Iso12Joliet", false, true, 23 + 4 + 8 + 103 + 104 + 16},
                                           CapCase{"Iso31Joliet", true, true, 23 + 6 + 8 + 104 + 104 + 16}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SizeEstimate, FolderRecordedOnAnEarlierSessionAddsNoDirectory)
{
    project.setProjectKind(pkAddSession);
    project.NextSessionStart = 1001;
    ProjectFolder *old = folder(root, "OLD", "/OLD/");
    old->dane().FromImage = true;
    project.ImportMode = true;
    project.AddFile(old, "x.txt", "/OLD/X.TXT;1", 10);
    project.ImportMode = false;

    // Nothing new: no path table, no directory, no 16 sectors.
    EXPECT_EQ(project.EstimateBytes(options(false, true, true)), 1000 * sector);

    // A new folder below the old one brings its path table entries and its directory, twice
    // with Joliet: acc = 10 + 20 = 30 -> 2 sectors per table; 1 directory sector each; and a
    // new file of one sector. 1000 + 1 + 2 + 2 + 1 + 1 + 16 = 1023, padded to 1024.
    ProjectFolder *fresh = folder(old, "NEW", "/src/NEW");
    project.AddFile(fresh, "n.txt", "/src/NEW/n.txt", 5);
    EXPECT_EQ(project.EstimateBytes(options(false, true, false)), 1023 * sector);
    EXPECT_EQ(project.EstimateBytes(options(false, true, true)), 1024 * sector);
}

TEST_F(SizeEstimate, MultisessionWithoutNewFiles)
{
    project.setProjectKind(pkAddSession);
    project.NextSessionStart = 239501;
    project.ImportMode = true;
    project.AddFile(root, "OLD.TXT", "/OLD.TXT;1", 5000);
    ProjectFolder *old = folder(root, "DIR", "/DIR/");
    old->dane().FromImage = true;
    project.AddFile(old, "B.TXT", "/DIR/B.TXT;1", 7);
    project.ImportMode = false;
    project.CountAudioAdded(2352 * 3);

    EXPECT_EQ(project.DataSectors(), 0);
    EXPECT_EQ(project.EstimateBytes(options(false, true, true)), (239501 - 1 + 3) * sector);
    EXPECT_EQ(project.UpdateTotals(options(false, true, true)).LblTotal, "0 / 467 MB");
}

TEST_F(SizeEstimate, MultisessionLabelShowsNewSessionAndTotal)
{
    project.setProjectKind(pkAddSession);
    project.NextSessionStart = 239501;
    // 6400 new sectors: 6400 + 239500 + 16 = 245916, padded to 245920 (480.3 MB); the new
    // session is 245920 - 239500 = 6420 sectors (12.5 MB).
    project.AddFile(root, "big.bin", "/src/big.bin", 6400 * sector);
    const TotalsDisplay totals = project.UpdateTotals(options(false, true, true));
    EXPECT_EQ(totals.estimateBytes, 245920 * sector);
    EXPECT_EQ(totals.LblTotal, "12 / 480 MB");
    EXPECT_EQ(ProjectModel::ProjectSizeMB(totals.LblTotal), 480);
}

TEST_F(SizeEstimate, MultisessionWithoutSessionStartShowsNoNewSession)
{
    project.setProjectKind(pkAddSession);
    project.AddFile(root, "big.bin", "/src/big.bin", 1048576);
    EXPECT_TRUE(project.UpdateTotals(options(false, true, true)).LblTotal.startsWith("0 / "));
}

TEST_F(SizeEstimate, DiscImageTakesTheImageSize)
{
    project.setProjectKind(pkDiscImage);
    project.ImageFile = "/images/disc.cue";
    project.ImageIsCue = true;
    project.FileCount = 17; // counted while reading the listing
    QString askedFile;
    bool askedCue = false;
    project.setImageSizeSource([&](const QString &file, bool cue) {
        askedFile = file;
        askedCue = cue;
        return qint64(123456789);
    });
    const TotalsDisplay totals = project.UpdateTotals(options(false, true, true));
    EXPECT_EQ(totals.estimateBytes, 123456789);
    EXPECT_EQ(askedFile, "/images/disc.cue");
    EXPECT_TRUE(askedCue);
    EXPECT_FALSE(totals.fileCount.has_value());
    EXPECT_EQ(project.FileCount, 17) << "the listing's count stays";
    EXPECT_EQ(totals.LblTotal, "117 MB");
}

TEST_F(SizeEstimate, AudioLabels)
{
    project.CountAudioAdded(1048576);
    project.setAudioPlayingSeconds(3599.6);
    const TotalsDisplay totals = project.UpdateTotals(options(false, true, true));
    // 446 audio sectors counted at 2048 bytes: 913408 bytes, under one MB.
    EXPECT_EQ(totals.LabelAudioTotal, "0 MB");
    EXPECT_EQ(totals.LblAudioTime, "1:00:00");
}

struct TimeCase {
    double seconds;
    const char *text;
};

TEST(AudioTimeText, MinutesThenHours)
{
    const TimeCase cases[] = {{0, "00:00"},      {59.4, "00:59"},        {59.5, "01:00"},
                              {754, "12:34"},    {3599.4, "59:59"},      {3600, "1:00:00"},
                              {3661, "1:01:01"}, {36000 + 5, "10:00:05"}};
    for (const TimeCase &c : cases)
        EXPECT_EQ(ProjectModel::AudioTimeText(c.seconds), c.text) << "for " << c.seconds << " s";
}

struct SizeLabelCase {
    const char *label;
    int megabytes;
};

TEST(ProjectSizeMB, ReadsTheTotalLabel)
{
    const SizeLabelCase cases[] = {{"0 MB", 0},    {"650 MB", 650}, {"12 / 480 MB", 480},
                                   {" 7MB", 7},    {"MB", -1},      {"12 / MB", -1},
                                   {"abc MB", -1}, {"480", -1},     {"", -1}};
    for (const SizeLabelCase &c : cases)
        EXPECT_EQ(ProjectModel::ProjectSizeMB(c.label), c.megabytes) << "for \"" << c.label << '"';
}

// --- The depth label -------------------------------------------------------------------------

struct DepthCase {
    const char *name;
    bool deep;
    int level;
    bool tooDeep;
};

class DepthLabel : public ProjectFixture, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(DepthLabel, ColourAndHintFollowTheLimit)
{
    const DepthCase c = GetParam();
    ProjectFolder *deepest = chain(root, c.level);
    const TotalsDisplay totals = project.ComputeTotals(options(false, true, true, c.deep));
    EXPECT_EQ(totals.LblDepth, "Max depth: " + QString::number(c.level));
    EXPECT_EQ(totals.tooDeep, c.tooDeep);
    EXPECT_EQ(totals.LblDepthColor, c.tooDeep ? Qt::red : Qt::blue);
    EXPECT_EQ(totals.LblDepthHint, c.tooDeep ? "Directories nested too deep" : "Directory nesting OK");
    EXPECT_EQ(totals.deepestFolder, deepest);
}

INSTANTIATE_TEST_SUITE_P(Levels, DepthLabel,
                         ::testing::Values(DepthCase{"RootOnly", false, 0, false},
                                           DepthCase{"Level7WithoutDeep", false, 7, false},
                                           DepthCase{"Level8WithoutDeep", false, 8, true},
                                           DepthCase{"Level10WithDeep", true, 10, false},
                                           DepthCase{"Level11WithDeep", true, 11, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SizeEstimate, DeepestFolderIsTheFirstFound)
{
    ProjectFolder *b = chain(folder(root, "B"), 2, "b");
    ProjectFolder *a = chain(folder(root, "A"), 2, "a");
    ASSERT_EQ(a->level(), b->level());
    EXPECT_EQ(project.ComputeTotals(options(false, true, true)).deepestFolder, a)
        << "A sorts before B, so its branch is walked first";
}

TEST_F(SizeEstimate, EmptyTreeLeavesTheDepthLabelBlank)
{
    project.ResetProject();
    const TotalsDisplay totals = project.ComputeTotals(options(false, true, true));
    EXPECT_TRUE(totals.LblDepth.isEmpty());
    EXPECT_EQ(totals.deepestFolder, nullptr);
    EXPECT_EQ(totals.estimateBytes, 0);
}

} // namespace
} // namespace quillon::test
