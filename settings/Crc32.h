#pragma once
// CRC-32 as zip and PNG use it (reflected polynomial 0xEDB88320, initial and final XOR
// 0xFFFFFFFF).
#include <QByteArrayView>
#include <cstdint>

namespace quillon {

std::uint32_t crc32(QByteArrayView bytes);

} // namespace quillon
