#pragma once
// Command descriptor blocks. Byte 1 of a CDB built from a device id carries the LUN in
// bits 7-5, as older drives still expect.
#include "discaccess/DiscTypes.h"

#include <array>
#include <cstdint>

namespace quillon::disc {

struct Cdb {
    std::array<std::uint8_t, 16> bytes{};
    std::uint8_t length = 0;
    const std::uint8_t *data() const { return bytes.data(); }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
};

std::uint8_t lunBits(TScsiDeviceId id);

// Opcode, a 24-bit parameter whose top five bits give way to the LUN, a length byte.
Cdb cdb6(std::uint8_t opcode, TScsiDeviceId id, std::uint32_t parameter, std::uint8_t length);
// Opcode, LUN | five command bits, a 32-bit parameter, a byte parameter, a 16-bit length.
Cdb cdb10(std::uint8_t opcode, TScsiDeviceId id, std::uint8_t bits, std::uint32_t parameter,
          std::uint8_t byteParameter, std::uint16_t length);
// As cdb10, with byte 1 written whole by the command.
Cdb cdb10NoLun(std::uint8_t opcode, std::uint8_t byte1, std::uint32_t parameter, std::uint8_t byteParameter,
               std::uint16_t length);
// Twelve bytes: opcode, LUN, an allocation length in bytes 8-9.
Cdb cdb12(std::uint8_t opcode, TScsiDeviceId id, std::uint16_t length);

std::int32_t MsfToLba(std::uint8_t minute, std::uint8_t second, std::uint8_t frame);

} // namespace quillon::disc

namespace quillon::disc {

// Runs a data-in command into a zero-filled buffer; a failed command leaves it zero.
// transferred receives the bytes that arrived (0 on failure).
std::uint8_t runDataIn(TScsiDeviceId id, TScsiSettings &settings, const Cdb &cdb, std::uint8_t *buffer,
                       std::size_t length, std::size_t *transferred = nullptr);
std::uint8_t runNoData(TScsiDeviceId id, TScsiSettings &settings, const Cdb &cdb);

} // namespace quillon::disc
