#pragma once
// START STOP UNIT and PREVENT ALLOW MEDIUM REMOVAL. On Linux the tray moves through the
// CD-ROM ioctls, which report a mounted disc as errDriveInUse.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

namespace quillon::disc {

Cdb startStopUnitCdb(TScsiDeviceId id, bool start, bool loadEject, bool immediate);
std::uint8_t StartStopUnit(TScsiDeviceId id, TScsiSettings &settings, bool start, bool loadEject, bool immediate);

Cdb preventAllowCdb(TScsiDeviceId id, bool prevent);
std::uint8_t PreventAllowRemoval(TScsiDeviceId id, TScsiSettings &settings, bool prevent);

} // namespace quillon::disc
