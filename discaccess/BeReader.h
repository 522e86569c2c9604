#pragma once
// Every reply decoder reads through this reader: big-endian fields, and bytes past the
// transferred part read as zero instead of reading outside the buffer.
#include <cstddef>
#include <cstdint>
#include <span>

namespace quillon::disc {

class BeReader {
public:
    BeReader() = default;
    BeReader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(data ? size : 0) {}
    explicit BeReader(std::span<const std::uint8_t> bytes) : BeReader(bytes.data(), bytes.size()) {}

    std::size_t size() const { return m_size; }
    bool has(std::size_t offset, std::size_t count = 1) const
    {
        return offset <= m_size && count <= m_size - offset;
    }

    std::uint8_t u8(std::size_t offset) const { return has(offset) ? m_data[offset] : 0; }
    bool bit(std::size_t offset, unsigned bitNumber) const { return (u8(offset) >> bitNumber) & 1u; }
    std::uint16_t u16(std::size_t offset) const
    {
        return static_cast<std::uint16_t>((u8(offset) << 8) | u8(offset + 1));
    }
    std::uint32_t u24(std::size_t offset) const
    {
        return (std::uint32_t(u8(offset)) << 16) | (std::uint32_t(u8(offset + 1)) << 8) | u8(offset + 2);
    }
    std::uint32_t u32(std::size_t offset) const
    {
        return (std::uint32_t(u16(offset)) << 16) | u16(offset + 2);
    }

    // The part of the reply from offset on, at most count bytes, never past the end.
    BeReader sub(std::size_t offset, std::size_t count) const
    {
        if (offset >= m_size)
            return {};
        const std::size_t left = m_size - offset;
        return BeReader(m_data + offset, count < left ? count : left);
    }
    // Copies up to count bytes from offset; returns how many were there to copy.
    std::size_t copy(std::size_t offset, std::uint8_t *dest, std::size_t count) const;

private:
    const std::uint8_t *m_data = nullptr;
    std::size_t m_size = 0;
};

inline std::size_t BeReader::copy(std::size_t offset, std::uint8_t *dest, std::size_t count) const
{
    const BeReader part = sub(offset, count);
    for (std::size_t i = 0; i < part.m_size; ++i)
        dest[i] = part.m_data[i];
    return part.m_size;
}

// Writes big-endian fields of a CDB or an emulated reply.
inline void putBe16(std::uint8_t *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 8);
    p[1] = std::uint8_t(v);
}
inline void putBe24(std::uint8_t *p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 16);
    putBe16(p + 1, v);
}
inline void putBe32(std::uint8_t *p, std::uint32_t v)
{
    putBe16(p, v >> 16);
    putBe16(p + 2, v);
}

} // namespace quillon::disc
