#include "discaccess/Cdb.h"

#include "discaccess/BeReader.h"

namespace quillon::disc {

std::uint8_t lunBits(TScsiDeviceId id) { return std::uint8_t(((id >> 13) & 0x07) << 5); }

Cdb cdb6(std::uint8_t opcode, TScsiDeviceId id, std::uint32_t parameter, std::uint8_t length)
{
    Cdb c;
    c.length = 6;
    c.bytes[0] = opcode;
    putBe24(&c.bytes[1], parameter);
    c.bytes[1] = std::uint8_t((c.bytes[1] & 0x1F) | lunBits(id));
    c.bytes[4] = length;
    return c;
}

Cdb cdb10NoLun(std::uint8_t opcode, std::uint8_t byte1, std::uint32_t parameter, std::uint8_t byteParameter,
               std::uint16_t length)
{
    Cdb c;
    c.length = 10;
    c.bytes[0] = opcode;
    c.bytes[1] = byte1;
    putBe32(&c.bytes[2], parameter);
    c.bytes[6] = byteParameter;
    putBe16(&c.bytes[7], length);
    return c;
}

Cdb cdb10(std::uint8_t opcode, TScsiDeviceId id, std::uint8_t bits, std::uint32_t parameter,
          std::uint8_t byteParameter, std::uint16_t length)
{
    return cdb10NoLun(opcode, std::uint8_t(lunBits(id) | (bits & 0x1F)), parameter, byteParameter, length);
}

Cdb cdb12(std::uint8_t opcode, TScsiDeviceId id, std::uint16_t length)
{
    Cdb c;
    c.length = 12;
    c.bytes[0] = opcode;
    c.bytes[1] = lunBits(id);
    putBe16(&c.bytes[8], length);
    return c;
}

std::int32_t MsfToLba(std::uint8_t minute, std::uint8_t second, std::uint8_t frame)
{
    return std::int32_t(minute) * 4500 + std::int32_t(second) * 75 + frame - 150;
}

} // namespace quillon::disc

#include "discaccess/DeviceAccess.h"

#include <cstring>

namespace quillon::disc {

std::uint8_t runDataIn(TScsiDeviceId id, TScsiSettings &settings, const Cdb &cdb, std::uint8_t *buffer,
                       std::size_t length, std::size_t *transferred)
{
    std::size_t arrived = 0;
    if (buffer)
        std::memset(buffer, 0, length);
    const std::uint8_t code =
        ExecScsiCommand(id, cdb.data(), cdb.length, ScsiDirection::In, buffer, length, settings, &arrived);
    if (code != errOk) {
        if (buffer)
            std::memset(buffer, 0, length);
        arrived = 0;
    }
    if (transferred)
        *transferred = arrived;
    return code;
}

std::uint8_t runNoData(TScsiDeviceId id, TScsiSettings &settings, const Cdb &cdb)
{
    return ExecScsiCommand(id, cdb.data(), cdb.length, ScsiDirection::None, nullptr, 0, settings);
}

} // namespace quillon::disc
