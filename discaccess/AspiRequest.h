#pragma once
// ASPI for Win32 request blocks, built as raw little-endian bytes so the layout can be
// checked on any OS. The driver is a 32-bit library: pointers and handles are 32 bits.
#include "discaccess/ScsiTransport.h"

#include <array>
#include <cstdint>

namespace quillon::disc {

enum : std::uint8_t {
    aspiHostAdapterInquiry = 0,
    aspiGetDeviceType = 1,
    aspiExecScsiCommand = 2,
    aspiAbortRequest = 3,
    aspiGetDiskInfo = 6,
};
enum : std::uint8_t { aspiFlagEventNotify = 0x40 };

inline constexpr std::size_t kAspiExecSize = 192;
inline constexpr std::size_t kAspiSenseOffset = 64;
inline constexpr std::size_t kAspiSenseSize = 128;

using AspiExecBlock = std::array<std::uint8_t, kAspiExecSize>;

AspiExecBlock buildAspiExec(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun, ScsiDirection direction,
                            std::uint32_t dataLength, std::uint32_t dataPointer, const std::uint8_t *cdb,
                            std::size_t cdbLength, std::uint32_t eventHandle, std::uint8_t senseLength = 126);

std::array<std::uint8_t, 60> buildAspiHostAdapterInquiry(std::uint8_t adapter);
std::array<std::uint8_t, 12> buildAspiGetDeviceType(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun);

// The adapter count of GetASPI32SupportInfo's result: its low byte, or 0 on an error status.
int aspiAdapterCountFrom(std::uint32_t supportInfo);
// Targets to walk on an adapter, from its inquiry (byte 45; 0 means 8).
int aspiMaxTargets(const std::array<std::uint8_t, 60> &inquiry);

} // namespace quillon::disc
