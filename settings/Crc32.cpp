#include "settings/Crc32.h"

#include <array>

namespace quillon {

namespace {
constexpr std::array<std::uint32_t, 256> makeTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> kTable = makeTable();
} // namespace

std::uint32_t crc32(QByteArrayView bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = kTable[(c ^ std::uint8_t(b)) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

} // namespace quillon
