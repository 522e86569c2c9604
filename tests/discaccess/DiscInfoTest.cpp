#include "DriveFixture.h"

#include "discaccess/AspiRequest.h"
#include "discaccess/DiscInfoReport.h"

#include <sstream>

using namespace quillon::disc;
using namespace quillon::test;

class DiscInfo : public DriveFixture {};

TEST_F(DiscInfo, ReportsWhatTheEmulatedDriveHolds)
{
    drive.insert(discs::pressedAudio12());
    std::ostringstream out;
    ASSERT_EQ(writeDiscInfo(out), 1);
    const std::string text = out.str();
    for (const char *expected : {"Drive sr0 at 0:0:0:0, address 0,0,0", "QUILLON | EMU CD-RW | 1.00",
                                 "writes CD-R yes", "tracks 1-12, 13 entries", "lead-out at 216000",
                                 "Sessions (0): 1-1", "ATIP: none (39)", "CD-Text: \"Emulated Album\" by \"The Band\"",
                                 "5: \"\" by \"The Band\"", "6: \"Sixth\" by \"The Band\""})
        EXPECT_NE(text.find(expected), std::string::npos) << "missing \"" << expected << "\" in:\n" << text;
    EXPECT_TRUE(drive.overruns().empty());
}

TEST_F(DiscInfo, BlankDiscShowsItsAtip)
{
    drive.insert(discs::blankCdR80());
    std::ostringstream out;
    writeDiscInfo(out);
    EXPECT_NE(out.str().find("lead-out 79:59/74 (359849 sectors)"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Next writable address: 0"), std::string::npos) << out.str();
}

TEST(AspiRequest, ExecuteBlockLayout)
{
    const std::uint8_t cdb[10] = {0x43, 0x02, 0, 0, 0, 0, 0, 0x03, 0x24, 0};
    const AspiExecBlock b =
        buildAspiExec(1, 2, 3, ScsiDirection::In, 804, 0x11223344, cdb, sizeof cdb, 0xAABBCCDD);
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[3], 0x48) << "data in, signal the event";
    EXPECT_EQ(b[8], 2);
    EXPECT_EQ(b[9], 3);
    EXPECT_EQ((std::vector<int>{b[12], b[13], b[14], b[15]}), (std::vector<int>{0x24, 0x03, 0, 0}));
    EXPECT_EQ(b[16], 0x44);
    EXPECT_EQ(b[20], 126);
    EXPECT_EQ(b[21], 10);
    EXPECT_EQ(b[24], 0xDD);
    EXPECT_EQ(b[48], 0x43);
    EXPECT_EQ(b[57], 0);
    const std::uint8_t longCdb[20] = {0xAA};
    EXPECT_EQ(buildAspiExec(0, 0, 0, ScsiDirection::None, 0, 0, longCdb, 20, 0)[21], 16) << "capped at 16";
    EXPECT_EQ(aspiAdapterCountFrom(0x0102), 2);
    EXPECT_EQ(aspiAdapterCountFrom(0xE802), 0) << "an error status";
    std::array<std::uint8_t, 60> inquiry{};
    EXPECT_EQ(aspiMaxTargets(inquiry), 8);
}
