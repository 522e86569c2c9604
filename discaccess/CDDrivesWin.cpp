#include "discaccess/CDDrives.h"

#include "discaccess/DeviceAccess.h"

#include <windows.h>

namespace quillon::disc {

char platformDriveLetter(int index, TScsiDeviceId id)
{
    char letter = '?';
    std::uint8_t adapter, target, lun;
    char carried;
    SplitDeviceId(id, adapter, target, lun, carried);
    if (AspiReportsLetters())
        letter = carried;
    else if (const TCDDriveEntry *entry = FindDriveEntry(ProcessDriveTable(), adapter, target, lun);
             entry && entry->Letter)
        letter = entry->Letter;
    if (letter >= 'A' && letter <= 'Z')
        return letter;
    // Count the CD-ROM letters from "C:" and take the one whose number is the index.
    int number = 0;
    for (char c = 'C'; c <= 'Z'; ++c) {
        const char root[] = {c, ':', '\\', 0};
        if (GetDriveTypeA(root) != DRIVE_CDROM)
            continue;
        if (number++ == index)
            return c;
    }
    return letter;
}

DriveReference TkseCDDrives::Reference(int index, const std::string &)
{
    DriveReference ref;
    ref.id = DeviceId(index);
    ref.valid = true;
    ref.letter = DriveLetter(index);
    ref.vendor = VendorText(index);
    ref.product = ProductText(index);
    ref.scsiAddress = Drive(index).ScsiAddressText();
    if (ref.letter >= 'A' && ref.letter <= 'Z') {
        ref.node = std::string(1, ref.letter) + ":";
        ref.mountPoints = {ref.node + "\\"};
    }
    return ref;
}

} // namespace quillon::disc
