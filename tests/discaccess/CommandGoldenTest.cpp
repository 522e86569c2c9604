// Every command's CDB, byte for byte, as the strict emulated drive receives it.
#include "DriveFixture.h"

#include "discaccess/MechanismCommands.h"
#include "discaccess/ModePageCommands.h"
#include "discaccess/ReadCommands.h"
#include "discaccess/TocCommands.h"
#include "discaccess/TrackInfoCommands.h"
#include "discaccess/TrayCommands.h"
#include "discaccess/UnitCommands.h"

#include <functional>

using namespace quillon::disc;
using namespace quillon::test;

namespace {

std::string hex(const std::vector<std::uint8_t> &bytes)
{
    std::string s;
    char b[4];
    for (std::uint8_t v : bytes) {
        std::snprintf(b, sizeof b, "%02X ", v);
        s += b;
    }
    if (!s.empty())
        s.pop_back();
    return s;
}

} // namespace

class CommandGolden : public DriveFixture {};

TEST_F(CommandGolden, EveryCommandSendsItsExactBytes)
{
    drive.answerInquiryFromTable = false;
    TCDInquiry inquiry;
    TModeSenseReply mode;
    TCDCapabilities caps;
    TCDMechanism mechanism;
    std::uint32_t lba;
    TCDTrackList list;
    TCDSessionInfo sessions;
    TAtipReply atip;
    TCdTextReply text;
    TTrackInfoReply info;
    std::array<std::uint8_t, 2048> sector{};
    struct Case {
        const char *name;
        std::function<std::uint8_t()> run;
        const char *cdb;
        std::size_t buffer;
    } cases[] = {
        {"TEST UNIT READY", [&] { return TestUnitReady(id, settings); }, "00 00 00 00 00 00", 0},
        {"INQUIRY", [&] { return Inquiry(id, settings, inquiry); }, "12 00 00 00 64 00", 100},
        {"MODE SENSE page 2Ah", [&] { return ReadModePage2A(id, settings, mode); },
         "5A 08 2A 00 00 00 00 01 87 00", 391},
        {"capabilities", [&] { return ReadCapabilities(id, settings, caps); }, "5A 08 2A 00 00 00 00 01 87 00", 391},
        {"MECHANISM STATUS", [&] { return MechanismStatus(id, settings, 0, mechanism); },
         "BD 00 00 00 00 00 00 00 00 88 00 00", 136},
        {"READ CAPACITY", [&] { return ReadCapacity(id, settings, lba); }, "25 00 00 00 00 00 00 00 00 00", 8},
        {"READ TOC track list", [&] { return ReadTrackList(id, settings, list); }, "43 00 00 00 00 00 00 03 24 00",
         804},
        {"READ TOC sessions", [&] { return ReadTocSessions(id, settings, sessions); },
         "43 00 01 00 00 00 00 00 0C 00", 12},
        {"READ TOC ATIP", [&] { return ReadAtip(id, settings, atip); }, "43 00 04 00 00 00 00 00 1C 00", 28},
        {"READ TOC CD-Text", [&] { return ReadCdTextData(id, settings, text); }, "43 02 05 00 00 00 00 11 F2 00",
         4594},
        {"READ TRACK INFORMATION", [&] { return ReadTrackInfo(id, settings, info); },
         "52 01 00 00 00 FF 00 00 24 00", 36},
        {"READ (10) of the volume descriptor",
         [&] { return ReadSectors(id, settings, 16, 1, sector.data(), sector.size()); }, "28 00 00 00 00 10 00 00 01 00",
         2048},
        {"PREVENT removal", [&] { return PreventAllowRemoval(id, settings, true); }, "1E 00 00 00 01 00", 0},
        {"ALLOW removal", [&] { return PreventAllowRemoval(id, settings, false); }, "1E 00 00 00 00 00", 0},
        {"eject, immediate", [&] { return StartStopUnit(id, settings, false, true, true); }, "1B 01 00 00 02 00", 0},
        {"load", [&] { return StartStopUnit(id, settings, true, true, false); }, "1B 00 00 00 03 00", 0},
    };
    for (const Case &c : cases) {
        DiscModel everything = discs::appendableCdR();
        everything.cdTextPacks = discs::pressedAudio12().cdTextPacks;
        load(everything);
        drive.becomeReadyAfter(0);
        const std::uint8_t code = c.run();
        ASSERT_FALSE(drive.log().empty()) << c.name << ": nothing was sent";
        const LoggedCommand &sent = drive.log().back();
        EXPECT_EQ(hex(sent.cdb), c.cdb) << c.name;
        EXPECT_EQ(sent.bufferLength, c.buffer) << c.name;
        EXPECT_EQ(int(code), 0) << c.name << ": the strict drive answered sense " << int(sent.sense[0]) << "/"
                                << int(sent.sense[1]) << "/" << int(sent.sense[2]);
        EXPECT_TRUE(drive.overruns().empty()) << c.name << ": " << drive.overruns().front();
    }
    const Cdb cdText9x = readCdTextCdb9x();
    EXPECT_EQ(hex(std::vector<std::uint8_t>(cdText9x.data(), cdText9x.data() + cdText9x.length)),
              "43 02 05 00 00 00 00 13 88 00");
}

TEST_F(CommandGolden, LunBitsGoIntoByteOne)
{
    const TScsiDeviceId lun1 = MakeDeviceId(0, 0, 1, 0);
    EXPECT_EQ(testUnitReadyCdb(lun1)[1], 0x20);
    EXPECT_EQ(readCdTextCdb(lun1)[1], 0x22);
    EXPECT_EQ(startStopUnitCdb(lun1, false, true, true)[1], 0x21);
    EXPECT_EQ(readTrackInfoCdb()[1], 0x01) << "no LUN bits";
    TScsiSettings pc;
    pc.PageControl = 2;
    EXPECT_EQ(modeSenseCdb(lun1, pc.PageControl, 0x2A)[2], 0xAA);
}

TEST_F(CommandGolden, StartStopUnitUsesTheLoadTimeoutForItsOwnTime)
{
    struct TimeoutSpy : EmulatedDrive {
        std::uint32_t seen = 0;
        ScsiOutcome execute(const DriveLocation &where, const ScsiRequest &request) override
        {
            seen = request.timeoutMs;
            return EmulatedDrive::execute(where, request);
        }
    } spy;
    SetScsiTransport(&spy);
    rebuild();
    settings.LoadTimeout = 12345;
    StartStopUnit(id, settings, true, true, false);
    EXPECT_EQ(spy.seen, 12345u);
    EXPECT_EQ(settings.Timeout, 1000u) << "restored afterwards";
}

TEST_F(CommandGolden, StrictDriveRefusesWrongLengthsAndReservedBits)
{
    const std::uint8_t shortToc[6] = {0x43, 0, 0, 0, 0, 0};
    const std::uint8_t readCapacityPmi[10] = {0x25, 0, 0, 0, 0, 0, 0, 0, 0x01, 0};
    const std::uint8_t unknown[6] = {0x08, 0, 0, 0, 1, 0};
    std::uint8_t buffer[16];
    load(discs::dataCdRom());
    EXPECT_EQ(int(ExecScsiCommand(id, shortToc, 6, ScsiDirection::In, buffer, 16, settings)), 39);
    EXPECT_EQ(int(ExecScsiCommand(id, readCapacityPmi, 10, ScsiDirection::In, buffer, 8, settings)), 39);
    EXPECT_EQ(int(ExecScsiCommand(id, unknown, 6, ScsiDirection::In, buffer, 16, settings)), 39);
    EXPECT_EQ(settings.Sense[12], 0x20) << "invalid opcode 05/20/00";
    EXPECT_EQ(int(ExecScsiCommand(id, shortToc, 17, ScsiDirection::In, buffer, 16, settings)), 28);
}
