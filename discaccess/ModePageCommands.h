#pragma once
// MODE SENSE (10) of a page without block descriptors, the bounded page copy, and the
// capability set of page 2Ah.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>

namespace quillon::disc {

inline constexpr std::uint8_t kCapabilitiesPage = 0x2A;

Cdb modeSenseCdb(TScsiDeviceId id, std::uint8_t pageControl, std::uint8_t page);
// The raw reply; transferred (optional) receives the bytes that arrived.
std::uint8_t ReadModePage2A(TScsiDeviceId id, TScsiSettings &settings, TModeSenseReply &reply,
                            std::uint8_t page = kCapabilitiesPage, std::size_t *transferred = nullptr);

// Page bytes from byte 2 + offset of a reply, bounded by the reply's mode data length,
// the bytes transferred and the page length. Returns 0, or 10 when the page does not
// reach the offset.
std::uint8_t copyModePageData(const std::uint8_t *reply, std::size_t transferred, std::size_t offset,
                              std::uint8_t *destination, std::size_t length, std::size_t &copied);
std::uint8_t ReadModePageData(TScsiDeviceId id, TScsiSettings &settings, std::uint8_t page, std::size_t offset,
                              std::uint8_t *destination, std::size_t length, std::size_t &copied);

// The flags of page bytes 2.. (count bytes of them); missing bytes leave their flags clear.
TCDCapabilities decodeCapabilities(const std::uint8_t *pageFromByte2, std::size_t count);
std::uint8_t ReadCapabilities(TScsiDeviceId id, TScsiSettings &settings, TCDCapabilities &capabilities);

// Page byte n of a reply asked for without block descriptors.
inline std::uint8_t modePageByte(const TModeSenseReply &reply, std::size_t n)
{
    return 8 + n < reply.size() ? reply[8 + n] : 0;
}

} // namespace quillon::disc
