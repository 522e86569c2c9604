#pragma once
// MODE SENSE (10) of a page without block descriptors, the bounded page copy, and the
// capability set of page 2Ah.
#include "discaccess/BeReader.h"
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>

namespace quillon::disc {

inline constexpr std::uint8_t kCapabilitiesPage = 0x2A;

Cdb modeSenseCdb(TScsiDeviceId id, std::uint8_t pageControl, std::uint8_t page);
// The raw reply; transferred (optional) receives the bytes that arrived.
std::uint8_t ReadModePage2A(TScsiDeviceId id, TScsiSettings &settings, TModeSenseReply &reply,
                            std::uint8_t page = kCapabilitiesPage, std::size_t *transferred = nullptr);

inline constexpr std::uint8_t kAnyModePage = 0xFF;

// The one place a page is found inside a MODE SENSE (10) reply: after the 8-byte header
// and the block descriptors the drive chose to send (some ignore DBD), bounded by the
// reply's mode data length, the bytes transferred and the page's own length. Empty when
// the page is not there or carries another page code.
BeReader locateModePage(const std::uint8_t *reply, std::size_t transferred, std::uint8_t expectedPage);

// Page bytes from byte 2 + offset of a reply, bounded as above. Returns 0, or 10 when the
// page does not reach the offset or is another page than the one expected.
std::uint8_t copyModePageData(const std::uint8_t *reply, std::size_t transferred, std::size_t offset,
                              std::uint8_t *destination, std::size_t length, std::size_t &copied,
                              std::uint8_t expectedPage = kAnyModePage);
std::uint8_t ReadModePageData(TScsiDeviceId id, TScsiSettings &settings, std::uint8_t page, std::size_t offset,
                              std::uint8_t *destination, std::size_t length, std::size_t &copied);

// The flags of page bytes 2.. (count bytes of them); missing bytes leave their flags clear.
TCDCapabilities decodeCapabilities(const std::uint8_t *pageFromByte2, std::size_t count);
std::uint8_t ReadCapabilities(TScsiDeviceId id, TScsiSettings &settings, TCDCapabilities &capabilities);

// Page 2Ah as every reader of write ability, underrun protection, speeds and buffer sees it,
// from the raw reply that GetCapabilities2 keeps.
class CapabilitiesPage {
public:
    CapabilitiesPage(const std::uint8_t *reply, std::size_t transferred)
        : m_page(locateModePage(reply, transferred, kCapabilitiesPage))
    {
    }
    explicit CapabilitiesPage(const TModeSenseReply &reply) : CapabilitiesPage(reply.data(), reply.size()) {}

    bool valid() const { return m_page.size() > 0; }
    // Page byte n (byte 0 is the page code); 0 past the page.
    std::uint8_t byte(std::size_t n) const { return m_page.u8(n); }
    std::uint16_t word(std::size_t n) const { return m_page.u16(n); }

    // Byte 3 bits 0, 1, 4, 5: CD-R, CD-RW, DVD-R, DVD-RAM writing.
    bool canWrite() const { return (byte(3) & 0x33) != 0; }
    bool underrunProtection() const { return (byte(4) >> 7) & 1; }
    std::uint16_t maxReadSpeed() const { return word(8); }   // kB/s
    std::uint16_t bufferSizeKb() const { return word(12); }
    std::uint16_t maxWriteSpeed() const { return word(18); } // kB/s
    std::uint16_t currentWriteSpeed() const { return word(20); }
    TCDCapabilities capabilities() const;

private:
    BeReader m_page;
};

// Page byte n of a raw 2Ah reply, wherever the drive put the page.
inline std::uint8_t modePageByte(const TModeSenseReply &reply, std::size_t n) { return CapabilitiesPage(reply).byte(n); }

} // namespace quillon::disc
