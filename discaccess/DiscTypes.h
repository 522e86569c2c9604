#pragma once
// The disc-access layer's shared vocabulary: device ids, the one-byte error codes, the
// per-drive command settings, the drive table and the records other parts of the program
// keep with their fixed byte layouts.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::disc {

// 31-24 host adapter, 23-16 target, 15-13 LUN, 12-8 drive letter index (letter - 40h), 7-0 zero.
using TScsiDeviceId = std::uint32_t;

TScsiDeviceId MakeDeviceId(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun, std::uint8_t letterIndex);
void SplitDeviceId(TScsiDeviceId id, std::uint8_t &adapter, std::uint8_t &target, std::uint8_t &lun,
                   char &letter);

// The one-byte result of every command; 0 is success.
enum ErrorCode : std::uint8_t {
    errOk = 0,
    errAborted = 1,
    errInvalidCommand = 2,
    errInvalidHostAdapter = 4,
    errNoDevice = 5,
    errInvalidRequest = 6,
    errOldManager = 7,
    errIllegalMode = 8,
    errNoAspi = 9,
    errOther = 10,
    errHostAdapterError = 11,
    errSelectionTimeout = 12, // host adapter status 0Bh
    errHostAdapterFirst = 13, // 13-20: host adapter status 0Dh-14h
    errCheckConditionNoSense = 21,
    errBusy = 22,
    errReservationConflict = 23,
    errQueueFull = 24,
    errNoEvent = 26,
    errTimeout = 27,
    errInvalidArgument = 28,
    errSenseNotFixed = 29,
    errSenseFilemark = 30,
    errSenseEndOfMedium = 31,
    errSenseIncorrectLength = 32,
    errSenseNoSenseBit7 = 33,
    errSenseNoSense = 34, // 34 + sense key for keys 1-15, up to 49
    errNotReady = 34 + 2,
    errMediumError = 34 + 3,
    errIllegalRequest = 34 + 5, // a blank disc's TOC, a missing ATIP or CD-Text
    errUnitAttention = 34 + 6,
    // Linux: the kernel refused to eject because the disc is mounted or another program
    // holds the device. The program side unmounts and retries.
    errDriveInUse = 50,
};

inline constexpr std::uint8_t senseKeyCode(std::uint8_t senseKey)
{
    return std::uint8_t(errSenseNoSense + (senseKey & 0x0F));
}

struct TScsiSettings {
    std::uint32_t Timeout = 1000; // milliseconds
    std::uint32_t Timeout2 = 10000;
    std::uint32_t Timeout3 = 10000;
    std::uint32_t LoadTimeout = 10000; // replaces Timeout while START STOP UNIT runs
    std::uint8_t PageControl = 0;      // mode sense page control, 0 = current values
    std::array<std::uint8_t, 128> Sense{};
};

enum class TCDInterface : std::uint8_t { cdiAutoDetect, cdiASPI, cdiNTSCSI };

struct TCDDriveEntry {
    std::uint8_t HostAdapter = 0;
    std::uint8_t Target = 0;
    std::uint8_t Lun = 0;
    std::string Vendor;
    std::string Product;
    std::string Revision;
    std::string VendorSpecific;
    std::string Name;
    char Letter = 0;
    std::array<std::uint8_t, 36> Inquiry{};
    std::uint8_t Valid = 0;
    // Where the backend finds the drive (device node or letter); not part of the address.
    std::string Node;
    int RealHost = 0, RealChannel = 0, RealTarget = 0, RealLun = 0;
    std::string MountPoint;
};

inline constexpr int kDriveTableSize = 26;

struct TCDDriveTable {
    std::uint8_t Count = 0;
    std::array<TCDDriveEntry, kDriveTableSize> Drives{};
};

#pragma pack(push, 1)
// Table of contents for the disc id, addresses as MSF including the two-second lead-in.
struct TCDTocEntry {
    std::uint8_t Minute;
    std::uint8_t Second;
    std::uint8_t Frame;
    std::uint8_t Unused;
    std::uint32_t AudioFlag; // all bits set for audio, zero for data
};
struct TCDToc {
    std::uint8_t TrackCount;
    std::uint8_t Reserved1[3];
    std::uint8_t LeadOutMinute;
    std::uint8_t LeadOutSecond;
    std::uint8_t LeadOutFrame;
    std::uint8_t Reserved2;
    std::uint32_t Zero;
    TCDTocEntry Entries[100];
};
static_assert(sizeof(TCDToc) == 812);

struct TCDSessionInfo {
    std::uint16_t Flags;
    std::uint8_t FirstSession;
    std::uint8_t LastSession;
    std::uint8_t FirstTrackOfLastSession;
    std::uint32_t StartLba;
};
static_assert(sizeof(TCDSessionInfo) == 9);

struct TCDTrackEntry {
    std::uint16_t Flags;
    std::uint8_t TrackNumber; // AAh for the lead-out
    std::uint32_t StartLba;
};
struct TCDTrackList {
    std::uint32_t FirstTrack;
    std::uint32_t LastTrack;
    std::uint32_t EntryCount;
    TCDTrackEntry Entries[100];
};
static_assert(sizeof(TCDTrackList) == 712);

struct TCDMechanism {
    std::uint16_t Flags;
    std::uint32_t CurrentLba;
    std::uint8_t SlotCount;
    std::uint8_t CurrentSlot;
};
static_assert(sizeof(TCDMechanism) == 8);
#pragma pack(pop)

// Mechanism flags.
enum : std::uint16_t {
    mfFault = 1 << 0,
    mfChangerReady = 1 << 1,
    mfChangerLoading = 1 << 2,
    mfChangerUnloading = 1 << 3,
    mfChangerInitialising = 1 << 4,
    mfDoorOpen = 1 << 5,
    mfIdle = 1 << 6,
    mfPlaying = 1 << 7,
    mfScanning = 1 << 8,
    mfInitialising = 1 << 9,
    mfDiscPresent = 1 << 10,
    mfChange = 1 << 11,
};

// Track flags from a TOC descriptor's ADR/control byte.
enum : std::uint16_t {
    tfAdr0 = 1 << 0,
    tfAdr1 = 1 << 1,
    tfAdr2 = 1 << 2,
    tfAdr3 = 1 << 3,
    tfPreEmphasis = 1 << 4,
    tfCopyPermitted = 1 << 5,
    tfData = 1 << 6,
    tfAudio = 1 << 7,
    tfFourChannel = 1 << 8,
};

struct TCDInquiry {
    std::uint8_t Qualifier = 0;
    std::uint8_t DeviceType = 0;
    std::uint16_t Flags = 0;
    std::uint8_t AnsiVersion = 0;
    std::uint8_t EcmaVersion = 0;
    std::uint8_t IsoVersion = 0;
    std::uint8_t ResponseFormat = 0;
    std::string Vendor;
    std::string Product;
    std::string Revision;
    std::string VendorSpecific;
};

// 36 flags, flag n in byte n / 8, bit n % 8.
struct TCDCapabilities {
    std::array<std::uint8_t, 5> Bits{};
    bool has(int flag) const { return (Bits[std::size_t(flag / 8)] >> (flag % 8)) & 1; }
    void set(int flag) { Bits[std::size_t(flag / 8)] |= std::uint8_t(1u << (flag % 8)); }
};

enum CapabilityFlag : int {
    capReadsCdR = 0,
    capReadsCdRw = 1,
    capReadsMethod2 = 2,
    capReadsDvdRom = 3,
    capReadsDvdR = 4,
    capReadsDvdRam = 5,
    capWritesCdR = 6,
    capWritesCdRw = 7,
    capWritesDvdR = 8,
    capWritesDvdRam = 9,
    capTestWrite = 10,
    capAudioPlay = 11,
    capMultisession = 17,
    capCdDa = 18,
    capLock = 26,
    capEject = 29,
    capRwInLeadIn = 35,
};

inline constexpr std::size_t kModeSenseReplySize = 391;
inline constexpr std::size_t kAtipReplySize = 28;
inline constexpr std::size_t kCdTextReplySize = 4594;
inline constexpr std::size_t kTrackInfoReplySize = 36;
using TModeSenseReply = std::array<std::uint8_t, kModeSenseReplySize>;
using TAtipReply = std::array<std::uint8_t, kAtipReplySize>;
using TCdTextReply = std::array<std::uint8_t, kCdTextReplySize>;
using TTrackInfoReply = std::array<std::uint8_t, kTrackInfoReplySize>;

} // namespace quillon::disc
