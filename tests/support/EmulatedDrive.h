#pragma once
// An MMC drive in memory, behind the same transport interface as the real backends. It
// checks every CDB strictly, logs it, keeps tray, lock and unit-attention state, and
// answers from a disc model. Plain C++ (no Qt) so every test program can use it.
#include "discaccess/ScsiTransport.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon::test {

struct EmuTrack {
    std::uint8_t number = 1;
    std::uint8_t control = 0; // 4 = data track
    std::uint32_t startLba = 0;
    std::uint8_t session = 1;
};

// What is in the tray. Replies that are not listed in `raw` are built from the layout.
struct DiscModel {
    std::string name;
    bool present = true;
    bool dvd = false;
    std::uint8_t mediumType = 0x01;
    std::vector<EmuTrack> tracks; // empty: a blank disc, whose TOC read fails
    std::uint32_t leadOutLba = 0; // of the last session
    bool hasAtip = false;
    bool rewritable = false;
    std::array<std::uint8_t, 3> atipLeadIn{};  // start of the lead-in, MSF
    std::array<std::uint8_t, 3> atipLeadOut{}; // last possible start of the lead-out, MSF
    std::vector<std::uint8_t> cdTextPacks;     // empty: no CD-Text
    std::optional<std::uint32_t> nextWritable; // the invisible track's address when it has one
    // Whole natural replies that replace the built ones, keyed by reply name:
    // "toc0", "sessions", "atip", "cdtext", "trackinfo", "capacity", "modesense", "mechanism".
    std::map<std::string, std::vector<std::uint8_t>> raw;
    std::map<std::uint32_t, std::vector<std::uint8_t>> sectors; // data sectors READ (10) returns
};

// The drive's own side: identity and page 2Ah.
struct DriveModel {
    std::string vendor = "QUILLON";
    std::string product = "EMU CD-RW";
    std::string revision = "1.00";
    std::string vendorSpecific = "EMULATED";
    std::vector<std::uint8_t> page2A; // the page itself, from byte 0 (2Ah) on
    std::uint16_t blockDescriptorLength = 0; // a drive that ignores DBD
    std::vector<std::uint8_t> rawModeSense;  // a whole reply that replaces the built one
};

enum class TransferMode {
    Exact,  // min(host buffer, allocation, natural length), residual reported
    Padded, // zeros up to the allocation length, no residual (QEMU and many real drives)
};

enum class Fault : std::uint8_t { Timeout, Abort, Reset };

struct LoggedCommand {
    std::vector<std::uint8_t> cdb;
    disc::ScsiDirection direction;
    std::size_t bufferLength;
    std::size_t transferred;
    std::array<std::uint8_t, 3> sense; // key, ASC, ASCQ of a CHECK CONDITION; zero otherwise
};

class EmulatedDrive : public disc::ScsiTransport {
public:
    EmulatedDrive();

    // Identity outside SCSI: H:C:T:L, node, sysfs strings, mount point.
    disc::DriveLocation location;

    DriveModel drive;
    TransferMode mode = TransferMode::Exact;
    bool strict = true;
    bool answerInquiryFromTable = true;
    bool ioctlFace = false; // answer the CD-ROM ioctls (door state, tray, TOC) like Linux

    // Puts a disc in the tray and closes it: the next command sees one unit attention.
    void insert(const DiscModel &disc);
    void openTray();
    void closeTray();
    bool trayOpen() const { return m_trayOpen; }
    bool locked() const { return m_locked; }
    const DiscModel &disc() const { return m_disc; }
    // The next n medium commands answer "becoming ready".
    void becomeReadyAfter(int replies) { m_becomingReady = replies; }
    // The next command with this opcode fails this way (once).
    void failNext(std::uint8_t opcode, Fault fault) { m_faults[opcode] = fault; }
    void setUnitAttention(std::uint8_t asc, std::uint8_t ascq) { m_unitAttention = {asc, ascq}; }

    const std::vector<LoggedCommand> &log() const { return m_log; }
    const std::vector<std::string> &overruns() const { return m_overruns; }
    void clearLog() { m_log.clear(), m_overruns.clear(); }

    // ScsiTransport
    std::vector<disc::DriveLocation> listDrives() override { return {location}; }
    disc::ScsiOutcome execute(const disc::DriveLocation &where, const disc::ScsiRequest &request) override;
    bool inquiryFromTable() const override { return answerInquiryFromTable; }
    std::optional<disc::DoorState> doorState(const disc::DriveLocation &) override;
    std::optional<std::uint8_t> moveTray(const disc::DriveLocation &, bool load) override;
    std::optional<disc::IoctlToc> readTocIoctl(const disc::DriveLocation &) override;

    // Natural replies, exposed for tests that compare decoders with what the drive said.
    std::vector<std::uint8_t> tocReply(bool msf) const;

private:
    struct Answer {
        std::uint8_t status = disc::statusGood;
        std::array<std::uint8_t, 3> sense{};
        std::vector<std::uint8_t> data;
    };
    Answer answer(const std::uint8_t *cdb, std::size_t length, disc::ScsiDirection direction);
    static Answer check(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq);
    bool mediumReady(Answer &failure);

    DiscModel m_disc;
    bool m_trayOpen = false;
    bool m_locked = false;
    int m_becomingReady = 0;
    std::optional<std::pair<std::uint8_t, std::uint8_t>> m_unitAttention;
    std::map<std::uint8_t, Fault> m_faults;
    std::vector<LoggedCommand> m_log;
    std::vector<std::string> m_overruns;
};

// The disc models every test shares.
namespace discs {
DiscModel none();
DiscModel blankCdR80();
DiscModel blankCdRw();
DiscModel pressedAudio12(); // 12 tracks, CD-Text, no ATIP
DiscModel dataCdRom();
DiscModel cdPlus(); // audio session then data session
DiscModel appendableCdR();
DiscModel closedCdR();
DiscModel blankDvdR(); // no ATIP
// Malformed replies.
DiscModel tocLengthFFFF();
DiscModel firstTrackAfterLast();
// The disc with an ISO 9660 primary volume descriptor naming this volume at sector 16.
DiscModel withVolumeLabel(DiscModel disc, const std::string &label);
} // namespace discs

// Drive quirks.
namespace drives {
DriveModel recorder();
DriveModel withBlockDescriptors(std::uint16_t length); // MODE SENSE ignores DBD
DriveModel shortPage2A(std::uint8_t pageLength);
DriveModel page2ALength(std::uint8_t pageLength); // a page of this length, filled with a pattern
DriveModel blockDescriptorLengthFFFF();
} // namespace drives

// The CD-Text of pressedAudio12.
std::vector<std::string> pressedAudioTitles();
std::vector<std::string> pressedAudioPerformers();

} // namespace quillon::test
