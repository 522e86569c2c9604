#pragma once
// MECHANISM STATUS, with the CD-ROM ioctl's drive status where the OS refuses the command.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>

namespace quillon::disc {

inline constexpr std::size_t kMechanismStatusLength = 136;

Cdb mechanismStatusCdb(TScsiDeviceId id);
// The header flags whatever the code; the slot bits only when the slot table holds slot n.
std::uint8_t decodeMechanism(const std::uint8_t *reply, std::size_t transferred, std::uint8_t code,
                             unsigned slot, TCDMechanism &mechanism);
std::uint8_t MechanismStatus(TScsiDeviceId id, TScsiSettings &settings, unsigned slot, TCDMechanism &mechanism);

} // namespace quillon::disc
