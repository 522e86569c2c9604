// The SG_IO backend with the kernel replaced: the fake ioctl checks the header the backend
// fills and hands the CDB to an emulated drive.
#include "support/EmulatedDrive.h"

#include "discaccess/DeviceAccess.h"
#include "discaccess/DriveTable.h"
#include "discaccess/MechanismCommands.h"
#include "discaccess/ScsiTransportLinux.h"
#include "discaccess/SysfsDrives.h"
#include "discaccess/TocCommands.h"
#include "discaccess/TrayCommands.h"
#include "discaccess/UnitCommands.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/cdrom.h>
#include <scsi/sg.h>

using namespace quillon::disc;
using quillon::test::EmulatedDrive;
namespace discs = quillon::test::discs;

namespace {

const std::string kSysfs = std::string(QUILLON_FIXTURES) + "/sysfs";

struct FakeKernel {
    EmulatedDrive drive;
    int openErrno = 0;       // fail every open with this
    int sgErrno = 0;         // fail SG_IO with this
    int ejectErrno = 0;      // fail CDROMEJECT with this
    int driveStatus = CDS_TRAY_OPEN;
    std::vector<std::pair<std::string, int>> opens;
    std::vector<sg_io_hdr_t> headers;
    int openFds = 0;

    LinuxSystemCalls calls()
    {
        LinuxSystemCalls c;
        c.open = [this](const char *path, int flags) {
            opens.emplace_back(path, flags);
            if (openErrno) {
                errno = openErrno;
                return -1;
            }
            ++openFds;
            return 7;
        };
        c.close = [this](int) { return --openFds, 0; };
        c.ioctl = [this](int, unsigned long request, void *argument) { return ioctl(request, argument); };
        return c;
    }

    int ioctl(unsigned long request, void *argument)
    {
        if (request == CDROM_DRIVE_STATUS)
            return driveStatus;
        if (request == CDROMEJECT || request == CDROMCLOSETRAY) {
            if (ejectErrno) {
                errno = ejectErrno;
                return -1;
            }
            return 0;
        }
        if (request != SG_IO) {
            errno = ENOTTY;
            return -1;
        }
        auto *h = static_cast<sg_io_hdr_t *>(argument);
        headers.push_back(*h);
        if (sgErrno) {
            errno = sgErrno;
            return -1;
        }
        ScsiRequest r;
        r.cdb = h->cmdp;
        r.cdbLength = h->cmd_len;
        r.direction = h->dxfer_direction == SG_DXFER_FROM_DEV ? ScsiDirection::In
                      : h->dxfer_direction == SG_DXFER_TO_DEV ? ScsiDirection::Out
                                                              : ScsiDirection::None;
        r.data = static_cast<std::uint8_t *>(h->dxferp);
        r.dataLength = h->dxfer_len;
        const ScsiOutcome o = drive.execute({}, r);
        h->status = o.scsiStatus;
        h->masked_status = std::uint8_t(o.scsiStatus >> 1);
        h->host_status = o.hostStatus;
        h->resid = o.residual;
        h->sb_len_wr = std::min<std::uint8_t>(o.senseLength, h->mx_sb_len);
        std::memcpy(h->sbp, o.sense.data(), h->sb_len_wr);
        return 0;
    }
};

class LinuxBackend : public ::testing::Test {
protected:
    void SetUp() override
    {
        transport = std::make_unique<LinuxScsiTransport>(kSysfs + "/one-drive", "/dev", kernel.calls(), "/nonexistent");
        SetScsiTransport(transport.get());
        ASSERT_TRUE(BuildDriveTable(ProcessDriveTable(), TCDInterface::cdiAutoDetect));
        kernel.headers.clear();
        kernel.opens.clear();
    }
    void TearDown() override
    {
        SetScsiTransport(nullptr);
        ProcessDriveTable() = {};
        SetDiscMessageHandler({});
        EXPECT_EQ(kernel.openFds, 0) << "every opened node is closed again";
    }

    FakeKernel kernel;
    std::unique_ptr<LinuxScsiTransport> transport;
    TScsiDeviceId id = MakeDeviceId(0, 0, 0, 0);
    TScsiSettings settings;
};

} // namespace

TEST(SysfsEnumeration, ListsDrivesInSrOrderWithTheirAddresses)
{
    struct Tree {
        const char *name;
        std::vector<std::string> expected; // node H:C:T:L vendor/model/rev
    } trees[] = {
        {"one-drive", {"sr0 5:0:0:0 HL-DT-ST/DVDRAM GH24NSD1/LG00"}},
        {"two-drives", {"sr0 0:0:0:0 TSSTcorp/CDDVDW SH-224DB/SB01", "sr1 6:0:0:0 ASUS/SDRW-08D2S-U/B901"}},
        {"no-drives", {}},
    };
    for (const Tree &t : trees) {
        std::vector<std::string> got;
        for (const DriveLocation &d : enumerateSysfsDrives(kSysfs + "/" + t.name))
            got.push_back(d.node + " " + std::to_string(d.host) + ":" + std::to_string(d.channel) + ":" +
                          std::to_string(d.target) + ":" + std::to_string(d.lun) + " " + d.vendor + "/" +
                          d.model + "/" + d.revision);
        EXPECT_EQ(got, t.expected) << t.name;
    }
}

TEST(SysfsEnumeration, TableIdsUseTheDenseIndexAsAdapter)
{
    FakeKernel kernel;
    kernel.openErrno = EACCES; // identity from sysfs only
    LinuxScsiTransport transport(kSysfs + "/two-drives", "/dev", kernel.calls(), "/nonexistent");
    SetScsiTransport(&transport);
    TCDDriveTable table;
    BuildDriveTable(table, TCDInterface::cdiAutoDetect);
    ProcessDriveTable() = table;
    ASSERT_EQ(table.Count, 2);
    EXPECT_EQ(table.Drives[0].HostAdapter, 0);
    EXPECT_EQ(table.Drives[1].HostAdapter, 1) << "host 6 is the second drive of the table";
    EXPECT_EQ(table.Drives[1].RealHost, 6);
    EXPECT_EQ(table.Drives[1].Vendor, "ASUS");
    EXPECT_EQ(table.Drives[1].Name, "ASUSSDRW-08D2S-UB901");
    std::vector<TScsiDeviceId> ids;
    EXPECT_EQ(EnumerateDevices(5, [&](TScsiDeviceId i) { return ids.push_back(i), true; }), 2);
    EXPECT_EQ(ids, (std::vector<TScsiDeviceId>{MakeDeviceId(0, 0, 0, 0), MakeDeviceId(1, 0, 0, 0)}));

    LinuxScsiTransport empty(kSysfs + "/no-drives", "/dev", kernel.calls(), "/nonexistent");
    SetScsiTransport(&empty);
    std::string error;
    EXPECT_FALSE(BuildDriveTable(ProcessDriveTable(), TCDInterface::cdiAutoDetect, &error));
    EXPECT_EQ(error, "") << "no drive is not an interface failure";
    EXPECT_EQ(EnumerateDevices(11, [](TScsiDeviceId) { return true; }), 0);
    SetScsiTransport(nullptr);
    ProcessDriveTable() = {};
}

TEST_F(LinuxBackend, FillsTheSgIoHeader)
{
    kernel.drive.insert(discs::pressedAudio12());
    TestUnitReady(id, settings);
    kernel.headers.clear();
    kernel.opens.clear();
    TAtipReply atip;
    ReadAtip(id, settings, atip);
    TCdTextReply text;
    ASSERT_EQ(ReadCdTextData(id, settings, text), 0);
    ASSERT_EQ(kernel.headers.size(), 2u);
    const sg_io_hdr_t &h = kernel.headers[1];
    EXPECT_EQ(h.interface_id, 'S');
    EXPECT_EQ(h.cmd_len, 10);
    EXPECT_EQ(h.dxfer_direction, SG_DXFER_FROM_DEV);
    EXPECT_EQ(h.dxfer_len, 4594u);
    EXPECT_EQ(h.mx_sb_len, 32);
    EXPECT_GE(h.timeout, 30000u) << "a spin-up takes seconds; the default of 1000 is too short";
    ASSERT_EQ(kernel.opens.size(), 2u);
    EXPECT_EQ(kernel.opens[1].first, "/dev/sr0");
    EXPECT_EQ(kernel.opens[1].second, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_TRUE(kernel.drive.overruns().empty());
    EXPECT_EQ(int(ReadAtip(id, settings, atip)), 39) << "a pressed CD has no ATIP: 05/24/00";

    kernel.headers.clear();
    kernel.opens.clear();
    ASSERT_EQ(PreventAllowRemoval(id, settings, false), 0);
    EXPECT_EQ(kernel.headers[0].dxfer_direction, SG_DXFER_NONE);
    EXPECT_EQ(kernel.headers[0].dxfer_len, 0u);
    EXPECT_EQ(kernel.opens[0].second, O_RDWR | O_NONBLOCK | O_CLOEXEC) << "the kernel's filter wants write access";
}

TEST_F(LinuxBackend, RetriesTheUnitAttentionOfAnInsertionOnce)
{
    kernel.drive.insert(discs::dataCdRom());
    EXPECT_EQ(TestUnitReady(id, settings), 0) << "the first command after the insertion";
    EXPECT_EQ(kernel.headers.size(), 2u);
    kernel.drive.openTray();
    EXPECT_EQ(int(TestUnitReady(id, settings)), 36) << "tray open: 02/3A/02";
    EXPECT_EQ(settings.Sense[12], 0x3A);
    EXPECT_EQ(settings.Sense[13], 0x02);
}

TEST_F(LinuxBackend, MapsSystemFailures)
{
    std::vector<std::string> messages;
    SetDiscMessageHandler([&](DiscMessage kind, const std::string &text, const std::string &) {
        if (kind == DiscMessage::CdromGroup)
            messages.push_back(text);
    });
    kernel.sgErrno = EPERM;
    EXPECT_EQ(int(TestUnitReady(id, settings)), 2);
    kernel.sgErrno = EINVAL;
    EXPECT_EQ(int(TestUnitReady(id, settings)), 28);
    kernel.sgErrno = 0;
    kernel.openErrno = ENOENT;
    EXPECT_EQ(int(TestUnitReady(id, settings)), 5);
    kernel.openErrno = EACCES;
    EXPECT_EQ(int(TestUnitReady(id, settings)), 10);
    EXPECT_EQ(int(TestUnitReady(id, settings)), 10);
    ASSERT_EQ(messages.size(), 1u) << "the cdrom-group hint is given once";
    EXPECT_NE(messages[0].find("\"cdrom\" group"), std::string::npos) << messages[0];
    EXPECT_EQ(int(TestUnitReady(MakeDeviceId(3, 0, 0, 0), settings)), 10) << "an id outside the table";
}

TEST_F(LinuxBackend, DoorStateAndTrayUseTheCdromIoctls)
{
    kernel.sgErrno = EPERM; // MECHANISM STATUS is for root only
    TCDMechanism mechanism;
    EXPECT_EQ(MechanismStatus(id, settings, 0, mechanism), 0);
    EXPECT_TRUE(+mechanism.Flags & mfDoorOpen);
    kernel.driveStatus = CDS_DISC_OK;
    EXPECT_EQ(MechanismStatus(id, settings, 0, mechanism), 0);
    EXPECT_FALSE(+mechanism.Flags & mfDoorOpen);

    kernel.headers.clear();
    EXPECT_EQ(StartStopUnit(id, settings, false, true, true), 0);
    EXPECT_TRUE(kernel.headers.empty()) << "the tray moves by CDROMEJECT, not by SG_IO";
    kernel.ejectErrno = EBUSY;
    EXPECT_EQ(StartStopUnit(id, settings, false, true, true), errDriveInUse) << "a mounted disc";
}

TEST_F(LinuxBackend, TocForTheDiscIdFallsBackToTheIoctls)
{
    kernel.drive.insert(discs::pressedAudio12());
    kernel.sgErrno = EIO;
    TCDToc toc;
    // The fake kernel has no TOC ioctls: both paths fail.
    EXPECT_TRUE(ReadTocForDrive(ProcessDriveTable(), 0, toc, TCDInterface::cdiAutoDetect));
    kernel.sgErrno = 0;
    EXPECT_FALSE(ReadTocForDrive(ProcessDriveTable(), 0, toc, TCDInterface::cdiAutoDetect));
    EXPECT_EQ(+toc.TrackCount, 12);
    EXPECT_EQ(+toc.Entries[0].Second, 2) << "MSF includes the two-second lead-in";
    EXPECT_EQ(+toc.Entries[0].AudioFlag, 0xFFFFFFFFu);
    std::string error;
    EXPECT_TRUE(ReadTocForDrive(ProcessDriveTable(), 0, toc, TCDInterface::cdiASPI, &error));
    EXPECT_EQ(error, "No usable interface available or selected interface not available");
}
