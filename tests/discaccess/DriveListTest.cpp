// The drive list and the drive object over emulated drives: lists built from fake sysfs
// trees, the documented edge cases, the disc state query and the removal rule.
#include "DriveFixture.h"
#include "support/EmulatedBus.h"

#include "discaccess/CDDrives.h"
#include "discaccess/ModePageCommands.h"
#include "discaccess/TocCommands.h"

#include <cstring>

using namespace quillon::disc;
using namespace quillon::test;

namespace {

const std::string kSysfs = std::string(QUILLON_FIXTURES) + "/sysfs";

// Stands in for Trackprobe's export in this process: the same command, the same record.
void sessionInfoHere(std::uint32_t id, TCDSessionInfo *info, std::uint8_t *error)
{
    TScsiSettings settings = DefaultScsiSettings();
    *error = ReadTocSessions(id, settings, *info);
}

class SysfsMachine : public ::testing::Test {
protected:
    void install(const std::string &tree)
    {
        bus = EmulatedBus::fromSysfs(kSysfs + "/" + tree);
        SetScsiTransport(bus.get());
        StartDiscAccess();
    }
    void TearDown() override
    {
        SetScsiTransport(nullptr);
        ProcessDriveTable() = {};
    }
    std::unique_ptr<EmulatedBus> bus;
};

std::string listing(TkseCDDrives &drives)
{
    std::string text;
    for (int i = 0; i < drives.Count(); ++i) {
        const DriveReference ref = drives.Reference(i, "/nonexistent");
        text += std::string(1, drives.DriveLetter(i)) + ": " + drives.VendorText(i) + "|" +
                drives.ProductText(i) + " at " + drives.Drive(i).ScsiAddressText() +
                " dev=" + ToolDeviceArgument(ref) + "\n";
    }
    return text;
}

} // namespace

TEST_F(SysfsMachine, ListsEveryDriveOfTheTreeInTableOrder)
{
    struct Case {
        const char *tree;
        const char *expected;
    } cases[] = {
        {"no-drives", ""},
        // Linux host numbers are sparse; the address counts drives, the tools get the node.
        {"one-drive", "D: HL-DT-ST|DVDRAM GH24NSD1 at 0,0,0 dev=/dev/sr0\n"},
        {"two-drives", "D: TSSTcorp|CDDVDW SH-224DB at 0,0,0 dev=/dev/sr0\n"
                       "E: ASUS|SDRW-08D2S-U at 1,0,0 dev=/dev/sr1\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tree);
        install(c.tree);
        TkseCDDrives drives;
        EXPECT_EQ(listing(drives), c.expected);
        EXPECT_EQ(drives.Vendors.size(), drives.Products.size());
    }
}

TEST_F(SysfsMachine, DriveThatNeverAnswersInquiryIsStillListed)
{
    install("mute-drive");
    bus->muteNodes = {"sr0", "sr1"};
    // The table build asked the drives already; ask again so the list's own inquiry fails.
    StartDiscAccess();
    bus->answerInquiryFromTable = false;
    TkseCDDrives drives;
    ASSERT_EQ(drives.Count(), 2);
    EXPECT_EQ(drives.VendorText(0), "UNKNOWN") << "sr0 has no sysfs names either";
    EXPECT_EQ(drives.ProductText(0), "");
    EXPECT_EQ(drives.VendorText(1), "PLEXTOR") << "the table's name, trimmed and cut to 8";
    EXPECT_EQ(drives.ProductText(1), "DVDR   PX-760A  ") << "trimmed, then cut to 16";
}

TEST_F(SysfsMachine, TableCopyOfADriveThatNeverAnsweredNamesNobody)
{
    install("mute-drive");
    bus->muteNodes = {"sr0"};
    StartDiscAccess();
    TkseCDDrives drives;
    EXPECT_EQ(drives.VendorText(0), "UNKNOWN");
    EXPECT_EQ(drives.VendorText(1), "PLEXTOR") << "its inquiry comes from the sysfs names";
}

TEST_F(SysfsMachine, IndexOutsideTheListRaises)
{
    install("two-drives");
    TkseCDDrives drives;
    try {
        drives.DriveLetter(5);
        FAIL() << "DriveLetter(5) of two drives returned instead of raising";
    } catch (const EkseCDDrivesError &e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
    EXPECT_THROW(drives.Drive(-1), EkseCDDrivesError);
    EXPECT_THROW(drives.VendorText(2), EkseCDDrivesError);
    EXPECT_EQ(drives.IndexOfLetter('e'), 1);
    EXPECT_EQ(drives.IndexOfLetter('F'), -1);
}

TEST_F(SysfsMachine, DrivesAreCachedAndOnlyOurOwnLockIsLifted)
{
    install("two-drives");
    {
        TkseCDDrives drives;
        EXPECT_EQ(&drives.Drive(0), &drives.Drive(0));
        drives.Drive(0).IsReady();
        ASSERT_EQ(drives.Drive(1).PreventRemoval(true), 0);
        EXPECT_TRUE(bus->drive(1).locked());
        bus->drive(0).clearLog();
        bus->drive(1).clearLog();
    }
    EXPECT_TRUE(bus->drive(0).log().empty()) << "a drive we never locked gets no allow-removal";
    ASSERT_EQ(bus->drive(1).log().size(), 1u);
    EXPECT_EQ(bus->drive(1).log()[0].cdb[0], 0x1E);
    EXPECT_FALSE(bus->drive(1).locked());
}

TEST_F(SysfsMachine, DriveDestroyedOnItsOwnLeavesTheCache)
{
    install("one-drive");
    TkseCDDrives drives;
    TkseCDDrive *first = &drives.Drive(0);
    delete first;
    TkseCDDrive &second = drives.Drive(0);
    EXPECT_EQ(second.Owner, &drives);
    EXPECT_EQ(second.ScsiAddressText(), "0,0,0");
}

TEST_F(SysfsMachine, DiscReadyCheckByLetter)
{
    install("one-drive");
    TkseCDDrives drives;
    auto noVolume = [](char) { return false; };
    auto volume = [](char c) { return c == 'Q'; };
    EXPECT_FALSE(DiscReadyByLetter(drives, 'd', noVolume)) << "empty tray";
    bus->drive(0).insert(discs::dataCdRom());
    EXPECT_TRUE(DiscReadyByLetter(drives, 'd', noVolume));
    EXPECT_TRUE(DiscReadyByLetter(drives, 'Q', volume)) << "a letter without drive: the volume decides";
    EXPECT_FALSE(DiscReadyByLetter(drives, 'R', volume));
}

class DriveObject : public DriveFixture {
protected:
    void SetUp() override
    {
        DriveFixture::SetUp();
        drives = std::make_unique<TkseCDDrives>();
        drives->SetSessionInfoFunction(sessionInfoHere);
        ASSERT_EQ(drives->Count(), 1);
    }
    void TearDown() override
    {
        drives.reset();
        DriveFixture::TearDown();
    }
    TkseCDDrive &d() { return drives->Drive(0); }
    std::unique_ptr<TkseCDDrives> drives;
};

TEST_F(DriveObject, CapacityComesFromTheAtip)
{
    load(discs::pressedAudio12());
    EXPECT_EQ(d().GetDiscCapacity(), 0) << "a pressed CD has no ATIP";
    EXPECT_EQ(d().LastError, 39);
    EXPECT_EQ(d().GetLastLba(), 12u * 18000 - 1);
    load(discs::blankCdR80());
    EXPECT_EQ(d().GetDiscCapacity(), 359849);
    EXPECT_FALSE(d().IsRewritable());
    EXPECT_EQ(d().GetLastLba(), 0u) << "nothing written";
    load(discs::blankCdRw());
    EXPECT_TRUE(d().IsRewritable());
}

TEST_F(DriveObject, TheVolumeLabelComesFromTheDiscItself)
{
    struct {
        const char *name;
        DiscModel disc;
        std::string label;
        bool ok;
    } cases[] = {
        {"a data disc with its descriptor", discs::withVolumeLabel(discs::dataCdRom(), "BACKUP 2026"), "BACKUP 2026", true},
        {"a 32-character label", discs::withVolumeLabel(discs::dataCdRom(), std::string(32, 'L')), std::string(32, 'L'), true},
        {"a data disc without a descriptor", discs::dataCdRom(), "", true},
        {"an audio disc", discs::withVolumeLabel(discs::pressedAudio12(), "NOPE"), "", false},
        {"no disc", discs::none(), "", false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        load(c.disc);
        EXPECT_EQ(d().GetIsoVolumeLabel(), c.label);
        EXPECT_EQ(d().LastError == errOk, c.ok) << int(d().LastError);
        EXPECT_TRUE(drive.overruns().empty());
    }
}

TEST_F(DriveObject, OpenDoorMediumTypeSetsDoorOpenEvenWhenMechanismStatusFails)
{
    load(discs::dataCdRom());
    drive.openTray();
    drive.failNext(0xBD, Fault::Timeout);
    const TCDMechanism m = d().GetMechanism();
    EXPECT_TRUE(m.Flags & mfDoorOpen) << "flags " << m.Flags;
    EXPECT_EQ(d().LastError, 0) << "the code of the mode sense";
    drive.closeTray();
    EXPECT_FALSE(d().GetMechanism().Flags & mfDoorOpen);
}

TEST_F(DriveObject, SessionInfoGoesThroughTheInstalledFunction)
{
    load(discs::cdPlus());
    const TCDSessionInfo s = d().GetSessionInfo();
    EXPECT_EQ(d().LastError, 0);
    EXPECT_EQ(s.LastSession, 2);
    EXPECT_EQ(s.FirstTrackOfLastSession, 11);
    drives->SetSessionInfoFunction(nullptr);
    const TCDSessionInfo none = d().GetSessionInfo();
    EXPECT_EQ(none.LastSession, 0);
    EXPECT_EQ(d().LastError, errOther) << "no reader installed";
}

TEST_F(DriveObject, DiscStateTellsBlankAppendableClosedAndUnknownApart)
{
    auto closedWithTrackInfo = [] {
        DiscModel m = discs::closedCdR();
        std::vector<std::uint8_t> info(36, 0);
        info[1] = 34, info[2] = 4, info[3] = 2; // NWA_V clear: nothing more can be written
        m.raw["trackinfo"] = info;
        return m;
    };
    auto tocFailsTrackNotBlank = [] {
        DiscModel m = discs::blankCdR80();
        m.raw["trackinfo"] = std::vector<std::uint8_t>(36, 0);
        return m;
    };
    struct Case {
        const char *name;
        DiscModel model;
        bool trayOpen;
        TDiscState expected;
    } cases[] = {
        {"blank CD-R", discs::blankCdR80(), false, TDiscState::dsBlank},
        {"blank CD-RW", discs::blankCdRw(), false, TDiscState::dsBlank},
        {"appendable CD-R", discs::appendableCdR(), false, TDiscState::dsAppendable},
        {"closed CD-R whose track information says so", closedWithTrackInfo(), false, TDiscState::dsClosed},
        {"disc with sessions whose track information fails", discs::closedCdR(), false,
         TDiscState::dsUnknown},
        {"no disc: the session read fails otherwise", discs::none(), false, TDiscState::dsUnknown},
        {"open tray", discs::blankCdR80(), true, TDiscState::dsUnknown},
        {"TOC fails but the invisible track is not blank", tocFailsTrackNotBlank(), false,
         TDiscState::dsUnknown},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        load(c.model);
        if (c.trayOpen)
            drive.openTray();
        const TDiscState state = d().GetDiscState();
        EXPECT_EQ(state, c.expected) << "got " << discStateName(state) << ", expected "
                                     << discStateName(c.expected);
    }
}

TEST_F(DriveObject, DiscStateOfAFailedSessionReadIsNotBlank)
{
    load(discs::blankCdR80());
    drives->SetSessionInfoFunction([](std::uint32_t, TCDSessionInfo *info, std::uint8_t *error) {
        std::memset(info, 0, sizeof *info);
        *error = errTimeout;
    });
    EXPECT_EQ(d().GetDiscState(), TDiscState::dsUnknown) << "a timed-out read says nothing about the disc";
}

TEST_F(DriveObject, CapabilitiesPageIsFoundBehindBlockDescriptors)
{
    drive.drive = drives::withBlockDescriptors(8);
    TModeSenseReply raw;
    d().GetCapabilities2(raw);
    ASSERT_EQ(d().LastError, 0);
    const CapabilitiesPage page(raw);
    ASSERT_TRUE(page.valid());
    EXPECT_TRUE(page.canWrite());
    EXPECT_TRUE(page.underrunProtection());
    EXPECT_EQ(page.maxWriteSpeed(), 7056);
    EXPECT_EQ(page.bufferSizeKb(), 2048);
    EXPECT_EQ(modePageByte(raw, 3), 0x07) << "page byte 3 after the descriptors, not reply byte 11";

    DriveModel other = drives::recorder();
    other.page2A[0] = 0x0E; // a drive answering with another page
    drive.drive = other;
    d().GetCapabilities2(raw);
    EXPECT_FALSE(CapabilitiesPage(raw).valid());
    EXPECT_FALSE(CapabilitiesPage(raw).canWrite());
    EXPECT_FALSE(d().GetCapabilities().has(capWritesCdR));
}

TEST_F(DriveObject, TrayMovesBothWays)
{
    load(discs::dataCdRom());
    EXPECT_EQ(d().EjectTray(), 0);
    EXPECT_TRUE(drive.trayOpen());
    EXPECT_FALSE(d().IsReady());
    EXPECT_EQ(d().CloseTray(), 0);
    EXPECT_FALSE(drive.trayOpen());
}

TEST(DriveReference, ToolDeviceArgumentNeedsADrive)
{
    DriveReference none;
    EXPECT_EQ(ToolDeviceArgument(none), "") << "no tool may run against whatever sits at 0,0,0";
    DriveReference sr1;
    sr1.valid = true;
    sr1.node = "/dev/sr1";
    sr1.scsiAddress = "1,0,0";
    EXPECT_EQ(ToolDeviceArgument(sr1), "/dev/sr1");
}

TEST(DriveReference, MountPointsFromMountInfo)
{
    const std::string text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "95 22 11:0 / /media/user/My\\040Disc ro,nosuid shared:50 - iso9660 /dev/sr0 ro\n"
        "96 22 11:1 / /media/other ro - udf /dev/sr1 ro\n"
        "97 30 11:0 / /mnt/cd ro - iso9660 /dev/sr0 ro\n"
        "broken line\n";
    EXPECT_EQ(mountPointsFromMountInfo(text, 11, 0),
              (std::vector<std::string>{"/media/user/My Disc", "/mnt/cd"}));
    EXPECT_EQ(mountPointsFromMountInfo(text, 11, 1), (std::vector<std::string>{"/media/other"}));
    EXPECT_TRUE(mountPointsFromMountInfo(text, 11, 2).empty());
    EXPECT_TRUE(mountPointsOfNode("/nonexistent", "/dev/sr0").empty());
}
