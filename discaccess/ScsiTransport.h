#pragma once
// The one interface under every command: each OS (and the emulated drive of the tests)
// implements it. A backend lists the machine's drives and carries one CDB at a time.
#include "discaccess/DiscTypes.h"
#include "discaccess/ScsiOutcome.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillon::disc {

enum class ScsiDirection : std::uint8_t { None = 0x00, In = 0x08, Out = 0x10 };

// Where a drive sits, as the OS tells it outside SCSI.
struct DriveLocation {
    int host = 0; // Linux: the H of H:C:T:L; Windows: the port number
    int channel = 0;
    int target = 0;
    int lun = 0;
    std::string node; // "sr0" on Linux, "D" on Windows
    std::string vendor, model, revision; // the OS's own identity strings, may be empty
    std::string mountPoint;              // where the disc is mounted, empty when it is not
};

struct ScsiRequest {
    const std::uint8_t *cdb = nullptr;
    std::size_t cdbLength = 0;
    ScsiDirection direction = ScsiDirection::None;
    std::uint8_t *data = nullptr;
    std::size_t dataLength = 0;
    std::uint32_t timeoutMs = 1000;
};

enum class DoorState : std::uint8_t { Unknown, NoDisc, TrayOpen, NotReady, DiscPresent };

// A table of contents as the CD-ROM ioctl face reports it, MSF addresses.
struct IoctlToc {
    std::uint8_t firstTrack = 0;
    std::uint8_t lastTrack = 0;
    struct Entry {
        std::uint8_t track = 0;
        std::uint8_t control = 0;
        std::uint8_t minute = 0, second = 0, frame = 0;
    };
    std::vector<Entry> entries; // tracks first..last, then the lead-out
};

class ScsiTransport {
public:
    virtual ~ScsiTransport() = default;

    // The drives in the OS's order (sr0, sr1, ... or the drive letters).
    virtual std::vector<DriveLocation> listDrives() = 0;
    // Ids carry the drive's index in the table as adapter number (Linux host numbers are
    // sparse and the id has no channel); otherwise the location's own host number.
    virtual bool addressesByIndex() const { return true; }
    virtual ScsiOutcome execute(const DriveLocation &drive, const ScsiRequest &request) = 0;
    // Whether the drive-table interface can be served by this backend.
    virtual bool supports(TCDInterface iface) const { return iface != TCDInterface::cdiASPI; }
    // INQUIRY is answered from the drive table's copy instead of asking the drive again.
    virtual bool inquiryFromTable() const { return true; }
    // A TOC read for the disc id failed on the pass-through path; the backend tells the
    // user what its OS said before the ioctl face is tried.
    virtual void reportTocFailure(const ScsiOutcome &) {}

    // The CD-ROM ioctl face; nullopt where the backend has none.
    virtual std::optional<DoorState> doorState(const DriveLocation &) { return std::nullopt; }
    // Opens (load false) or closes the tray; nullopt sends START STOP UNIT instead.
    virtual std::optional<std::uint8_t> moveTray(const DriveLocation &, bool /*load*/) { return std::nullopt; }
    virtual std::optional<IoctlToc> readTocIoctl(const DriveLocation &) { return std::nullopt; }
};

} // namespace quillon::disc
