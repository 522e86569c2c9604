// The decoders against every disc model, in both transfer modes.
#include "DriveFixture.h"

#include "discaccess/CdText.h"
#include "discaccess/MechanismCommands.h"
#include "discaccess/ModePageCommands.h"
#include "discaccess/TocCommands.h"
#include "discaccess/TrackInfoCommands.h"
#include "discaccess/TrayCommands.h"
#include "discaccess/UnitCommands.h"

using namespace quillon::disc;
using namespace quillon::test;

namespace {

// What the drive object's consumers take from a disc.
struct Facts {
    int ready;
    int entries;       // track list EntryCount
    int lastSession;   // 0: empty
    std::int64_t capacity; // ATIP lead-out, 0 when the ATIP cannot be read
    bool rewritable;
    int nextWritable;  // -1: none
    bool cdText;
};

struct ModelCase {
    const char *name;
    DiscModel (*model)();
    Facts facts;
};

const ModelCase kModels[] = {
    {"no disc, tray closed", discs::none, {36, 0, 0, 0, false, -1, false}},
    {"blank 80-minute CD-R", discs::blankCdR80, {0, 0, 0, 359849, false, 0, false}},
    {"blank CD-RW", discs::blankCdRw, {0, 0, 0, 359849, true, 0, false}},
    {"pressed audio CD", discs::pressedAudio12, {0, 13, 1, 0, false, -1, true}},
    {"data CD-ROM", discs::dataCdRom, {0, 2, 1, 0, false, -1, false}},
    {"CD Plus", discs::cdPlus, {0, 12, 2, 0, false, -1, false}},
    {"appendable CD-R", discs::appendableCdR, {0, 2, 1, 359849, false, 111400, false}},
    {"closed CD-R", discs::closedCdR, {0, 4, 1, 359849, false, -1, false}},
    {"blank DVD-R", discs::blankDvdR, {0, 0, 0, 0, false, 0, false}},
    {"TOC length FFFFh", discs::tocLengthFFFF, {0, -1, 1, 0, false, -1, false}},
    {"first track after last", discs::firstTrackAfterLast, {0, 2, 1, 0, false, -1, false}},
};

} // namespace

class DecoderModels : public DriveFixture, public ::testing::WithParamInterface<TransferMode> {};

TEST_P(DecoderModels, EveryModelDecodesWithinItsReply)
{
    drive.mode = GetParam();
    for (const ModelCase &c : kModels) {
        SCOPED_TRACE(c.name);
        load(c.model());
        EXPECT_EQ(int(TestUnitReady(id, settings)), c.facts.ready);

        TCDTrackList list;
        const std::uint8_t listCode = ReadTrackList(id, settings, list);
        if (c.facts.entries >= 0)
            EXPECT_EQ(int(list.EntryCount), c.facts.entries);
        EXPECT_LE(+list.EntryCount, 100u);
        if (listCode == 0 && list.EntryCount > 1 && c.facts.entries > 0)
            EXPECT_EQ(+list.Entries[list.EntryCount - 1].TrackNumber, 0xAA) << "the lead-out comes last";

        TCDSessionInfo sessions;
        ReadTocSessions(id, settings, sessions);
        EXPECT_EQ(int(sessions.LastSession), c.facts.lastSession);

        TAtipReply atip;
        const std::uint8_t atipCode = ReadAtip(id, settings, atip);
        const std::int64_t leadOut = atipLeadOut(atip);
        EXPECT_EQ(leadOut < 0 ? 0 : leadOut, c.facts.capacity) << "ATIP code " << int(atipCode);
        EXPECT_EQ(atipRewritable(atip), c.facts.rewritable);

        TTrackInfoReply info;
        std::uint32_t nwa = 0;
        const bool valid = ReadTrackInfo(id, settings, info) == 0 && nextWritableAddress(info, nwa);
        EXPECT_EQ(valid ? int(nwa) : -1, c.facts.nextWritable);

        TCdTextReply text;
        std::string album, performer;
        std::vector<std::string> titles(12), performers(12);
        ReadCdTextData(id, settings, text);
        EXPECT_EQ(DecodeCdText(text.data(), text.size(), album, performer, titles, performers), c.facts.cdText);

        EXPECT_TRUE(drive.overruns().empty()) << drive.overruns().front();
    }
}

TEST_P(DecoderModels, AudioDiscTrackListAndCdText)
{
    drive.mode = GetParam();
    load(discs::pressedAudio12());
    TCDTrackList list;
    ASSERT_EQ(ReadTrackList(id, settings, list), 0);
    EXPECT_EQ(+list.FirstTrack, 1u);
    EXPECT_EQ(+list.LastTrack, 12u);
    ASSERT_EQ(+list.EntryCount, 13u);
    EXPECT_EQ(+list.Entries[12].TrackNumber, 0xAA);
    EXPECT_EQ(+list.Entries[1].StartLba - list.Entries[0].StartLba, 18000u);
    EXPECT_EQ(+list.Entries[0].Flags, tfAdr1 | tfAudio);

    TCdTextReply text;
    ASSERT_EQ(ReadCdTextData(id, settings, text), 0);
    std::string album, performer;
    std::vector<std::string> titles(12), performers(12);
    ASSERT_TRUE(DecodeCdText(text.data(), text.size(), album, performer, titles, performers));
    EXPECT_EQ(album, "Emulated Album");
    EXPECT_EQ(performer, "The Band");
    EXPECT_EQ(titles, pressedAudioTitles()) << "an empty title keeps the following ones on their tracks";
    EXPECT_EQ(performers, pressedAudioPerformers());
}

TEST_P(DecoderModels, SessionsOfTheCdPlus)
{
    drive.mode = GetParam();
    load(discs::cdPlus());
    TCDSessionInfo s;
    ASSERT_EQ(ReadTocSessions(id, settings, s), 0);
    EXPECT_EQ(+s.FirstSession, 1);
    EXPECT_EQ(+s.LastSession, 2);
    EXPECT_EQ(+s.FirstTrackOfLastSession, 11);
    EXPECT_EQ(+s.StartLba, 161400u);
    EXPECT_TRUE(+s.Flags & tfData);
    std::uint32_t last = 0;
    ASSERT_EQ(ReadCapacity(id, settings, last), 0);
    EXPECT_EQ(last, 201399u);
}

TEST_P(DecoderModels, BlankDiscsFailTheTocButReadTheAtip)
{
    drive.mode = GetParam();
    load(discs::blankCdR80());
    TCDSessionInfo s;
    EXPECT_EQ(int(ReadTocSessions(id, settings, s)), 39) << "05/24/00";
    EXPECT_EQ(+s.LastSession, 0);
    TAtipReply atip;
    ASSERT_EQ(ReadAtip(id, settings, atip), 0);
    EXPECT_EQ((std::vector<int>{atip[12], atip[13], atip[14]}), (std::vector<int>{79, 59, 74}));
    EXPECT_EQ(atipLeadOut(atip), 359849);
}

struct ModeCase {
    const char *name;
    DriveModel (*drive)();
    int code;
    std::size_t copied; // of 255 asked from offset 0
    bool writesCdR;
};

DriveModel recorderDrive() { return drives::recorder(); }
DriveModel blockDescriptors8() { return drives::withBlockDescriptors(8); }
DriveModel shortPage() { return drives::shortPage2A(4); }
DriveModel descriptors200Page255()
{
    DriveModel m = drives::page2ALength(255);
    m.blockDescriptorLength = 200;
    return m;
}

TEST_P(DecoderModels, ModePageCopyStaysInsideTheReply)
{
    drive.mode = GetParam();
    const ModeCase cases[] = {
        {"recorder", recorderDrive, 0, 28, true},
        {"block descriptors of 8 bytes", blockDescriptors8, 0, 28, true},
        {"page 2Ah of 4 bytes", shortPage, 0, 4, true},
        {"block descriptors 200, page length 255", descriptors200Page255, 0, 181, true},
        {"block descriptor length FFFFh", drives::blockDescriptorLengthFFFF, 10, 0, false},
    };
    for (const ModeCase &c : cases) {
        SCOPED_TRACE(c.name);
        drive.drive = c.drive();
        std::uint8_t bytes[255];
        std::size_t copied = 99;
        EXPECT_EQ(int(ReadModePageData(id, settings, kCapabilitiesPage, 0, bytes, sizeof bytes, copied)), c.code);
        EXPECT_EQ(copied, c.copied);
        TCDCapabilities caps;
        ReadCapabilities(id, settings, caps);
        EXPECT_EQ(caps.has(capWritesCdR), c.writesCdR);
    }
    drive.drive = drives::shortPage2A(4);
    TCDCapabilities caps;
    ASSERT_EQ(ReadCapabilities(id, settings, caps), 0);
    EXPECT_TRUE(caps.has(capMultisession)) << "page byte 4 is inside the short page";
    EXPECT_FALSE(caps.has(capLock)) << "page byte 6 is not, so its flags stay clear";
    std::uint8_t one;
    std::size_t copied;
    EXPECT_EQ(int(ReadModePageData(id, settings, kCapabilitiesPage, 4, &one, 1, copied)), 10)
        << "an offset past the page";
    EXPECT_EQ(int(ReadModePageData(id, settings, kCapabilitiesPage, 0, nullptr, 1, copied)), 28);
}

TEST_P(DecoderModels, MechanismAndTray)
{
    drive.mode = GetParam();
    load(discs::dataCdRom());
    TCDMechanism m;
    EXPECT_EQ(MechanismStatus(id, settings, 0, m), 0) << "no changer: only the header";
    EXPECT_EQ(+m.Flags, mfChangerReady | mfIdle);
    ASSERT_EQ(PreventAllowRemoval(id, settings, true), 0);
    EXPECT_EQ(int(StartStopUnit(id, settings, false, true, true)), 39) << "eject while locked: 05/53/02";
    EXPECT_EQ(settings.Sense[12], 0x53);
    ASSERT_EQ(PreventAllowRemoval(id, settings, false), 0);
    ASSERT_EQ(StartStopUnit(id, settings, false, true, true), 0);
    EXPECT_TRUE(drive.trayOpen());
    EXPECT_EQ(MechanismStatus(id, settings, 0, m), 0);
    EXPECT_TRUE(+m.Flags & mfDoorOpen);
    TModeSenseReply mode;
    ASSERT_EQ(ReadModePage2A(id, settings, mode), 0);
    EXPECT_EQ(mode[2], 0x71) << "medium type of an open door";
    EXPECT_EQ(int(TestUnitReady(id, settings)), 36);
    ASSERT_EQ(StartStopUnit(id, settings, true, true, false), 0);
    EXPECT_EQ(TestUnitReady(id, settings), 0) << "the medium-changed attention after closing is retried";
}

TEST_P(DecoderModels, FaultsAndBecomingReady)
{
    drive.mode = GetParam();
    load(discs::dataCdRom());
    drive.becomeReadyAfter(2);
    EXPECT_EQ(int(TestUnitReady(id, settings)), 36);
    EXPECT_EQ(settings.Sense[12], 0x04);
    EXPECT_EQ(int(TestUnitReady(id, settings)), 36);
    EXPECT_EQ(TestUnitReady(id, settings), 0);
    const struct {
        Fault fault;
        int code;
    } faults[] = {{Fault::Timeout, 27}, {Fault::Abort, 1}, {Fault::Reset, 14}};
    for (const auto &f : faults) {
        drive.failNext(0x00, f.fault);
        EXPECT_EQ(int(TestUnitReady(id, settings)), f.code);
    }
    TCDTrackList list;
    drive.failNext(0x43, Fault::Timeout);
    EXPECT_EQ(int(ReadTrackList(id, settings, list)), 27);
    EXPECT_EQ(+list.EntryCount, 0u) << "a failed command leaves zeros";
}

INSTANTIATE_TEST_SUITE_P(BothTransferModes, DecoderModels,
                         ::testing::Values(TransferMode::Exact, TransferMode::Padded),
                         [](const auto &info) { return info.param == TransferMode::Exact ? "Exact" : "Padded"; });

TEST_P(DecoderModels, DiscIdTocOfEachModel)
{
    drive.mode = GetParam();
    const struct {
        const char *name;
        DiscModel (*model)();
        bool fails;
        int tracks;
    } cases[] = {
        {"pressed audio CD", discs::pressedAudio12, false, 12},
        {"CD Plus", discs::cdPlus, false, 11},
        {"blank CD-R", discs::blankCdR80, true, 0},
        {"no disc", discs::none, true, 0},
        {"TOC length FFFFh", discs::tocLengthFFFF, false, 1},
        {"first track after last", discs::firstTrackAfterLast, true, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        load(c.model());
        TCDToc toc;
        EXPECT_EQ(ReadTocForDrive(ProcessDriveTable(), 0, toc, TCDInterface::cdiAutoDetect), c.fails);
        EXPECT_EQ(int(toc.TrackCount), c.tracks);
    }
    load(discs::cdPlus());
    TCDToc toc;
    ASSERT_FALSE(ReadTocForDrive(ProcessDriveTable(), 0, toc, TCDInterface::cdiAutoDetect));
    EXPECT_EQ(+toc.Entries[10].AudioFlag, 0u) << "the data track";
    EXPECT_EQ((std::vector<int>{toc.LeadOutMinute, toc.LeadOutSecond, toc.LeadOutFrame}),
              (std::vector<int>{44, 47, 25})) << "lead-out at LBA 201400";
}
