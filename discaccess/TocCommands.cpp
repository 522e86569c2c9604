#include "discaccess/TocCommands.h"

#include "discaccess/BeReader.h"

#include <algorithm>
#include <cstring>

namespace quillon::disc {

namespace {
constexpr std::uint8_t kReadToc = 0x43;
constexpr std::uint8_t kMsf = 0x02;
} // namespace

Cdb readTrackListCdb(TScsiDeviceId id)
{
    return cdb10(kReadToc, id, 0, 0, 0, std::uint16_t(kTrackListReplyLength));
}
Cdb readTocSessionsCdb(TScsiDeviceId id)
{
    return cdb10(kReadToc, id, 0, 0x01u << 24, 0, std::uint16_t(kSessionReplyLength));
}
Cdb readAtipCdb(TScsiDeviceId id) { return cdb10(kReadToc, id, 0, 0x04u << 24, 0, std::uint16_t(kAtipReplySize)); }
Cdb readCdTextCdb(TScsiDeviceId id)
{
    return cdb10(kReadToc, id, kMsf, 0x05u << 24, 0, std::uint16_t(kCdTextReplySize));
}
Cdb readCdTextCdb9x() { return cdb10NoLun(kReadToc, kMsf, 0x05u << 24, 0, std::uint16_t(kCdTextScratch9x)); }

std::uint16_t trackFlags(std::uint8_t adrControl)
{
    const unsigned adr = adrControl >> 4;
    const unsigned control = adrControl & 0x0F;
    std::uint16_t flags = 0;
    if (adr <= 3)
        flags |= std::uint16_t(tfAdr0 << adr);
    if (control & 0x01)
        flags |= tfPreEmphasis;
    if (control & 0x02)
        flags |= tfCopyPermitted;
    const unsigned kind = (control >> 2) & 0x03;
    if (kind == 0x01)
        flags |= tfData;
    if (kind == 0x00 || kind == 0x02)
        flags |= tfAudio;
    if (kind == 0x02)
        flags |= tfFourChannel;
    return flags;
}

void decodeTrackList(const std::uint8_t *reply, std::size_t transferred, TCDTrackList &list)
{
    std::memset(&list, 0, sizeof list);
    const BeReader arrived(reply, transferred);
    const std::size_t dataLength = arrived.u16(0);
    const BeReader r = arrived.sub(0, dataLength + 2);
    list.FirstTrack = r.u8(2);
    list.LastTrack = r.u8(3);
    // The reply's own count, never past the descriptors that arrived or the record's 100.
    const std::size_t count =
        std::min<std::size_t>({dataLength >> 3, r.size() >= 4 ? (r.size() - 4) / 8 : 0, 100});
    list.EntryCount = std::uint32_t(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t d = 4 + i * 8;
        list.Entries[i].Flags = trackFlags(r.u8(d + 1));
        list.Entries[i].TrackNumber = r.u8(d + 2);
        list.Entries[i].StartLba = r.u32(d + 4);
    }
}

void decodeSessions(const std::uint8_t *reply, std::size_t transferred, TCDSessionInfo &info)
{
    std::memset(&info, 0, sizeof info);
    const BeReader arrived(reply, transferred);
    const BeReader r = arrived.sub(0, std::size_t(arrived.u16(0)) + 2);
    info.Flags = r.has(5) ? trackFlags(r.u8(5)) : 0;
    info.FirstSession = r.u8(2);
    info.LastSession = r.u8(3);
    info.FirstTrackOfLastSession = r.u8(6);
    info.StartLba = r.u32(8);
}

std::uint8_t ReadTrackList(TScsiDeviceId id, TScsiSettings &settings, TCDTrackList &list)
{
    std::uint8_t reply[kTrackListReplyLength];
    std::size_t transferred = 0;
    const std::uint8_t code = runDataIn(id, settings, readTrackListCdb(id), reply, sizeof reply, &transferred);
    decodeTrackList(reply, transferred, list);
    return code;
}

std::uint8_t ReadTocSessions(TScsiDeviceId id, TScsiSettings &settings, TCDSessionInfo &info)
{
    std::uint8_t reply[kSessionReplyLength];
    std::size_t transferred = 0;
    const std::uint8_t code = runDataIn(id, settings, readTocSessionsCdb(id), reply, sizeof reply, &transferred);
    decodeSessions(reply, transferred, info);
    return code;
}

std::uint8_t ReadAtip(TScsiDeviceId id, TScsiSettings &settings, TAtipReply &reply)
{
    return runDataIn(id, settings, readAtipCdb(id), reply.data(), reply.size());
}

std::uint8_t ReadCdTextData(TScsiDeviceId id, TScsiSettings &settings, TCdTextReply &reply)
{
    return runDataIn(id, settings, readCdTextCdb(id), reply.data(), reply.size());
}

bool atipRewritable(const TAtipReply &reply) { return (reply[6] >> 6) & 1; }

std::int64_t atipLeadOut(const TAtipReply &reply) { return MsfToLba(reply[12], reply[13], reply[14]); }

} // namespace quillon::disc
