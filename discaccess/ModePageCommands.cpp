#include "discaccess/ModePageCommands.h"

#include "discaccess/BeReader.h"

#include <algorithm>
#include <cstdint>

namespace quillon::disc {

Cdb modeSenseCdb(TScsiDeviceId id, std::uint8_t pageControl, std::uint8_t page)
{
    // DBD (08h) set: the page follows the 8-byte header directly.
    const std::uint32_t pageByte = std::uint32_t(((pageControl & 0x03) << 6) | (page & 0x3F));
    return cdb10(0x5A, id, 0x08, pageByte << 24, 0, std::uint16_t(kModeSenseReplySize));
}

std::uint8_t ReadModePage2A(TScsiDeviceId id, TScsiSettings &settings, TModeSenseReply &reply, std::uint8_t page,
                            std::size_t *transferred)
{
    return runDataIn(id, settings, modeSenseCdb(id, settings.PageControl, page), reply.data(), reply.size(),
                     transferred);
}

BeReader locateModePage(const std::uint8_t *reply, std::size_t transferred, std::uint8_t expectedPage)
{
    const BeReader arrived(reply, transferred);
    const BeReader r = arrived.sub(0, std::size_t(arrived.u16(0)) + 2);
    // Signed: a block descriptor length near FFFFh must not wrap into a small offset.
    const std::int64_t pageStart = 8 + std::int64_t(r.u16(6));
    if (pageStart + 2 > std::int64_t(r.size()))
        return {};
    const std::size_t at = std::size_t(pageStart);
    if (expectedPage != kAnyModePage && (r.u8(at) & 0x3F) != (expectedPage & 0x3F))
        return {};
    return r.sub(at, std::size_t(r.u8(at + 1)) + 2);
}

std::uint8_t copyModePageData(const std::uint8_t *reply, std::size_t transferred, std::size_t offset,
                              std::uint8_t *destination, std::size_t length, std::size_t &copied,
                              std::uint8_t expectedPage)
{
    copied = 0;
    if (!destination)
        return errInvalidArgument;
    const BeReader page = locateModePage(reply, transferred, expectedPage);
    if (offset + 2 >= page.size())
        return errOther;
    copied = page.copy(offset + 2, destination, length);
    return errOk;
}

std::uint8_t ReadModePageData(TScsiDeviceId id, TScsiSettings &settings, std::uint8_t page, std::size_t offset,
                              std::uint8_t *destination, std::size_t length, std::size_t &copied)
{
    copied = 0;
    if (!destination)
        return errInvalidArgument;
    TModeSenseReply scratch{};
    std::size_t transferred = 0;
    const std::uint8_t code = ReadModePage2A(id, settings, scratch, page, &transferred);
    if (code != errOk)
        return code;
    return copyModePageData(scratch.data(), transferred, offset, destination, length, copied, page);
}

TCDCapabilities CapabilitiesPage::capabilities() const
{
    const BeReader fromByte2 = m_page.sub(2, m_page.size());
    std::uint8_t bytes[8] = {};
    const std::size_t n = fromByte2.copy(0, bytes, sizeof bytes);
    return decodeCapabilities(bytes, n);
}

TCDCapabilities decodeCapabilities(const std::uint8_t *page, std::size_t count)
{
    // Page bytes 2-7 seen from byte 2: each row is (page byte, first bit, bits, first flag).
    static constexpr std::uint8_t kRows[][4] = {
        {2, 0, 6, 0}, {3, 0, 2, 6}, {3, 4, 2, 8}, {3, 2, 1, 10}, {4, 0, 7, 11},
        {5, 0, 8, 18}, {6, 0, 4, 26}, {7, 0, 2, 30}, {7, 2, 4, 32},
    };
    const BeReader r(page, count);
    TCDCapabilities caps;
    for (const auto &row : kRows)
        for (unsigned i = 0; i < row[2]; ++i)
            if (r.bit(std::size_t(row[0] - 2), row[1] + i))
                caps.set(row[3] + int(i));
    return caps;
}

std::uint8_t ReadCapabilities(TScsiDeviceId id, TScsiSettings &settings, TCDCapabilities &capabilities)
{
    TModeSenseReply reply{};
    std::size_t transferred = 0;
    capabilities = {};
    const std::uint8_t code = ReadModePage2A(id, settings, reply, kCapabilitiesPage, &transferred);
    if (code != errOk)
        return code;
    const CapabilitiesPage page(reply.data(), transferred);
    if (!page.valid())
        return errOther;
    capabilities = page.capabilities();
    return errOk;
}

} // namespace quillon::disc
