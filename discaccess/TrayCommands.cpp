#include "discaccess/TrayCommands.h"

#include "discaccess/DeviceAccess.h"

namespace quillon::disc {

Cdb startStopUnitCdb(TScsiDeviceId id, bool start, bool loadEject, bool immediate)
{
    Cdb c = cdb6(0x1B, id, 0, std::uint8_t((loadEject ? 0x02 : 0) | (start ? 0x01 : 0)));
    c.bytes[1] = std::uint8_t(c.bytes[1] | (immediate ? 0x01 : 0));
    return c;
}

std::uint8_t StartStopUnit(TScsiDeviceId id, TScsiSettings &settings, bool start, bool loadEject, bool immediate)
{
    if (loadEject) {
        if (const TCDDriveEntry *entry = DriveEntryOf(id)) {
            if (const std::optional<std::uint8_t> code = CurrentTransport().moveTray(LocationOf(*entry), start))
                return *code;
        }
    }
    // Loading a tray and spinning up take longer than an ordinary command.
    const std::uint32_t saved = settings.Timeout;
    settings.Timeout = settings.LoadTimeout;
    const std::uint8_t code = runNoData(id, settings, startStopUnitCdb(id, start, loadEject, immediate));
    settings.Timeout = saved;
    return code;
}

Cdb preventAllowCdb(TScsiDeviceId id, bool prevent) { return cdb6(0x1E, id, 0, prevent ? 1 : 0); }

std::uint8_t PreventAllowRemoval(TScsiDeviceId id, TScsiSettings &settings, bool prevent)
{
    return runNoData(id, settings, preventAllowCdb(id, prevent));
}

} // namespace quillon::disc
