#pragma once
// How later parts of the program name a drive: never by a bare letter, which on Linux is
// only a display name that can point at another drive after a reboot.
#include "discaccess/DiscTypes.h"

#include <string>
#include <vector>

namespace quillon::disc {

inline constexpr const char *kMountInfoFile = "/proc/self/mountinfo";

struct DriveReference {
    bool valid = false; // false for "no drive selected"
    TScsiDeviceId id = 0;
    std::string node;        // "/dev/sr0" on Linux, "D:" on Windows
    std::string scsiAddress; // "a,t,l" as the user sees it
    std::vector<std::string> mountPoints;
    char letter = 0;             // the display letter
    std::string vendor, product; // to check a stored letter against the drive it named
};

// What follows " dev=" on a recording tool's command line (and mkisofs -M): the device node
// on Linux, where wodim calls the b,t,l form deprecated and cdrskin counts b,t,l its own
// way; the SCSI address elsewhere. Empty for an invalid reference: no tool may run then.
std::string ToolDeviceArgument(const DriveReference &drive);

// Where the block device with this major:minor is mounted, in mountinfo order, from the
// text of a /proc/<pid>/mountinfo file. Octal escapes in mount points are decoded.
std::vector<std::string> mountPointsFromMountInfo(const std::string &mountInfoText, unsigned major,
                                                  unsigned minor);
// The same for a device node ("/dev/sr0"), reading the file; empty when either is missing.
std::vector<std::string> mountPointsOfNode(const std::string &mountInfoFile, const std::string &deviceNode);

} // namespace quillon::disc
