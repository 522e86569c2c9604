#pragma once
// The drive list and the drive object: the rest of the program questions and moves a drive
// only through these. The list is the one part of the layer that throws, for an index
// outside it; a drive object never throws and keeps the code of its last command.
#include "discaccess/DiscTypes.h"
#include "discaccess/DriveReference.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon::disc {

class EkseCDDrivesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a disc's session record for a device id into the record and the error byte:
// Quillon installs Trackprobe's export here. A list without one has no session method.
using SessionInfoFunction =
    std::function<void(std::uint32_t deviceId, TCDSessionInfo *info, std::uint8_t *error)>;

// What a disc holds as far as recording goes.
enum class TDiscState : std::uint8_t { dsUnknown, dsBlank, dsAppendable, dsClosed };
const char *discStateName(TDiscState state);

class TkseCDDrives;

class TkseCDDrive {
public:
    explicit TkseCDDrive(TScsiDeviceId id, TkseCDDrives *owner = nullptr);
    TkseCDDrive(const TkseCDDrive &) = delete;
    TkseCDDrive &operator=(const TkseCDDrive &) = delete;
    // Leaves the owner's cache; allows removal again only when this object prevented it.
    virtual ~TkseCDDrive();

    virtual void SetError(std::uint8_t code) { LastError = code; }

    TkseCDDrives *Owner = nullptr;
    TScsiDeviceId DeviceId = 0;
    std::uint8_t LastError = 0;
    TScsiSettings Settings;

    TCDInquiry GetInquiry();
    bool IsReady();
    TCDCapabilities GetCapabilities();
    // The raw MODE SENSE reply of page 2Ah; read it with CapabilitiesPage.
    void GetCapabilities2(TModeSenseReply &reply);
    TCDMechanism GetMechanism();
    TCDTrackList GetTrackList();
    TCdTextReply GetCdText();
    TAtipReply GetAtip();
    bool IsRewritable();
    std::int64_t GetAtipLeadOut();
    // Total sectors of a recordable disc; 0 without a readable ATIP.
    std::int64_t GetDiscCapacity();
    std::uint32_t GetLastLba();
    // The ISO 9660 volume label of the disc (empty when it has none or cannot be read).
    std::string GetIsoVolumeLabel();
    TTrackInfoReply GetTrackInfo();
    // Through the owner's session function; zero record and error 10 without one.
    TCDSessionInfo GetSessionInfo();
    // Blank, appendable, closed, or unknown when the disc does not say.
    TDiscState GetDiscState();
    std::uint8_t CloseTray(bool immediate = true);
    std::uint8_t EjectTray(bool immediate = true);
    // PREVENT (true) or ALLOW (false) MEDIUM REMOVAL; the object remembers its own lock.
    std::uint8_t PreventRemoval(bool prevent);
    bool LockedByUs() const { return m_locked; }

    // "adapter,target,lun" in decimal.
    std::string ScsiAddressText() const;

private:
    bool m_locked = false;
};

class TkseCDDrives {
public:
    // Builds the list from the process drive table (see StartDiscAccess).
    TkseCDDrives();
    TkseCDDrives(const TkseCDDrives &) = delete;
    TkseCDDrives &operator=(const TkseCDDrives &) = delete;
    virtual ~TkseCDDrives();

    virtual void Error(const char *format, int argument);

    int Count() const { return int(Products.size()); }
    TkseCDDrive &Drive(int index);
    TScsiDeviceId DeviceId(int index);
    std::string VendorText(int index);
    std::string ProductText(int index);
    // The display letter: the OS's own on Windows, "D" on in list order elsewhere.
    char DriveLetter(int index);
    // Node, address, mount points and display letter of a drive.
    DriveReference Reference(int index, const std::string &mountInfoFile = kMountInfoFile);
    // The index whose display letter this is (either case), or -1.
    int IndexOfLetter(char letter);

    void SetSessionInfoFunction(SessionInfoFunction function) { m_sessionInfo = std::move(function); }
    const SessionInfoFunction &sessionInfoFunction() const { return m_sessionInfo; }

    // Drop a drive object from the cache without destroying it (its destructor does this).
    void forget(const TkseCDDrive *drive);

    struct Item {
        std::string text;
        TScsiDeviceId id = 0;
    };
    std::vector<Item> Vendors;  // item i describes drive i
    std::vector<Item> Products; // the ids are kept here

private:
    void checkIndex(int index);

    std::map<int, TkseCDDrive *> m_cache;
    SessionInfoFunction m_sessionInfo;
    bool m_destroying = false;
};

// Disc-ready check before reading a disc: the drive of the list with that letter is asked;
// a letter the list does not know counts as ready when volumeHasSize says so.
bool DiscReadyByLetter(TkseCDDrives &drives, char letter, const std::function<bool(char)> &volumeHasSize);

// The letter an OS gives drive `index` of the list, or 0 when it has none (Linux).
char platformDriveLetter(int index, TScsiDeviceId id);

} // namespace quillon::disc
