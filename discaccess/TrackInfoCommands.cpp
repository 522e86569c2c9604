#include "discaccess/TrackInfoCommands.h"

#include "discaccess/BeReader.h"

namespace quillon::disc {

Cdb readTrackInfoCdb()
{
    // Address type 1 (track number), track FFh: the invisible track. The allocation is
    // exactly the reply buffer, so the drive never sends more than it holds.
    return cdb10NoLun(0x52, 0x01, 0xFF, 0, std::uint16_t(kTrackInfoReplySize));
}

std::uint8_t ReadTrackInfo(TScsiDeviceId id, TScsiSettings &settings, TTrackInfoReply &reply)
{
    return runDataIn(id, settings, readTrackInfoCdb(), reply.data(), reply.size());
}

bool nextWritableAddress(const TTrackInfoReply &reply, std::uint32_t &address)
{
    const BeReader r(reply.data(), reply.size());
    address = r.u32(12);
    return r.bit(7, 0);
}

Cdb readCapacityCdb(TScsiDeviceId id) { return cdb10(0x25, id, 0, 0, 0, 0); }

std::uint8_t ReadCapacity(TScsiDeviceId id, TScsiSettings &settings, std::uint32_t &lastLba)
{
    std::uint8_t reply[8];
    std::size_t transferred = 0;
    const std::uint8_t code = runDataIn(id, settings, readCapacityCdb(id), reply, sizeof reply, &transferred);
    lastLba = BeReader(reply, transferred).u32(0);
    return code;
}

} // namespace quillon::disc
