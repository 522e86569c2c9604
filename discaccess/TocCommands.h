#pragma once
// READ TOC/PMA/ATIP in its four forms: track list, sessions, ATIP and CD-Text.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>

namespace quillon::disc {

inline constexpr std::size_t kTrackListReplyLength = 804;
inline constexpr std::size_t kSessionReplyLength = 12;
inline constexpr std::size_t kCdTextScratch9x = 5000;

Cdb readTrackListCdb(TScsiDeviceId id);
Cdb readTocSessionsCdb(TScsiDeviceId id);
Cdb readAtipCdb(TScsiDeviceId id);
Cdb readCdTextCdb(TScsiDeviceId id);
// The Windows 95/98/ME form: no LUN bits, a 5000-byte allocation.
Cdb readCdTextCdb9x();

void decodeTrackList(const std::uint8_t *reply, std::size_t transferred, TCDTrackList &list);
std::uint16_t trackFlags(std::uint8_t adrControl);
void decodeSessions(const std::uint8_t *reply, std::size_t transferred, TCDSessionInfo &info);

std::uint8_t ReadTrackList(TScsiDeviceId id, TScsiSettings &settings, TCDTrackList &list);
// A blank disc fails the command and leaves the record zero (LastSession 0).
std::uint8_t ReadTocSessions(TScsiDeviceId id, TScsiSettings &settings, TCDSessionInfo &info);
std::uint8_t ReadAtip(TScsiDeviceId id, TScsiSettings &settings, TAtipReply &reply);
std::uint8_t ReadCdTextData(TScsiDeviceId id, TScsiSettings &settings, TCdTextReply &reply);

// Values of an ATIP reply.
bool atipRewritable(const TAtipReply &reply);
// The last possible start of the lead-out, in sectors.
std::int64_t atipLeadOut(const TAtipReply &reply);

} // namespace quillon::disc
