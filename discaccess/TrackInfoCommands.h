#pragma once
// READ TRACK INFORMATION of the invisible track and READ CAPACITY.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>

namespace quillon::disc {

Cdb readTrackInfoCdb();
std::uint8_t ReadTrackInfo(TScsiDeviceId id, TScsiSettings &settings, TTrackInfoReply &reply);
// The next writable address, when the reply marks it valid.
bool nextWritableAddress(const TTrackInfoReply &reply, std::uint32_t &address);

Cdb readCapacityCdb(TScsiDeviceId id);
std::uint8_t ReadCapacity(TScsiDeviceId id, TScsiSettings &settings, std::uint32_t &lastLba);

} // namespace quillon::disc
