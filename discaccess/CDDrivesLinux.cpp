#include "discaccess/CDDrives.h"

#include "discaccess/DeviceAccess.h"

namespace quillon::disc {

// Linux has no drive letters; the display letters start at "D", as a Windows user of the
// program would expect, in drive-table order. sr numbering can change between boots, so a
// stored letter must be checked against the drive's identity where it matters.
char platformDriveLetter(int index, TScsiDeviceId)
{
    return index >= 0 && index <= 'Z' - 'D' ? char('D' + index) : '?';
}

DriveReference TkseCDDrives::Reference(int index, const std::string &mountInfoFile)
{
    DriveReference ref;
    ref.id = DeviceId(index);
    ref.valid = true;
    ref.letter = DriveLetter(index);
    ref.vendor = VendorText(index);
    ref.product = ProductText(index);
    ref.scsiAddress = Drive(index).ScsiAddressText();
    if (const TCDDriveEntry *entry = DriveEntryOf(ref.id); entry && !entry->Node.empty()) {
        ref.node = "/dev/" + entry->Node;
        ref.mountPoints = mountPointsOfNode(mountInfoFile, ref.node);
    }
    return ref;
}

} // namespace quillon::disc
