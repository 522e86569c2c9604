#include "discaccess/AspiRequest.h"

#include <algorithm>
#include <cstring>

namespace quillon::disc {

namespace {
void putLe32(std::uint8_t *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}
} // namespace

AspiExecBlock buildAspiExec(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun, ScsiDirection direction,
                            std::uint32_t dataLength, std::uint32_t dataPointer, const std::uint8_t *cdb,
                            std::size_t cdbLength, std::uint32_t eventHandle, std::uint8_t senseLength)
{
    AspiExecBlock b{};
    b[0] = aspiExecScsiCommand;
    b[2] = adapter;
    b[3] = std::uint8_t(std::uint8_t(direction) | aspiFlagEventNotify);
    b[8] = target;
    b[9] = lun;
    putLe32(&b[12], dataLength);
    putLe32(&b[16], dataPointer);
    b[20] = senseLength;
    const std::size_t n = std::min<std::size_t>(cdbLength, 16);
    b[21] = std::uint8_t(n);
    putLe32(&b[24], eventHandle);
    if (cdb)
        std::memcpy(&b[48], cdb, n);
    return b;
}

std::array<std::uint8_t, 60> buildAspiHostAdapterInquiry(std::uint8_t adapter)
{
    std::array<std::uint8_t, 60> b{};
    b[0] = aspiHostAdapterInquiry;
    b[2] = adapter;
    return b;
}

std::array<std::uint8_t, 12> buildAspiGetDeviceType(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun)
{
    std::array<std::uint8_t, 12> b{};
    b[0] = aspiGetDeviceType;
    b[2] = adapter;
    b[8] = target;
    b[9] = lun;
    return b;
}

int aspiAdapterCountFrom(std::uint32_t supportInfo)
{
    return (supportInfo & 0xFE00u) ? 0 : int(supportInfo & 0xFF);
}

int aspiMaxTargets(const std::array<std::uint8_t, 60> &inquiry) { return inquiry[45] ? inquiry[45] : 8; }

} // namespace quillon::disc
