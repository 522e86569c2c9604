#pragma once
// TEST UNIT READY and INQUIRY.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>

namespace quillon::disc {

inline constexpr std::size_t kInquiryLength = 100;

Cdb testUnitReadyCdb(TScsiDeviceId id);
std::uint8_t TestUnitReady(TScsiDeviceId id, TScsiSettings &settings);

Cdb inquiryCdb(TScsiDeviceId id);
TCDInquiry decodeInquiry(const std::uint8_t *reply, std::size_t transferred);
std::uint8_t Inquiry(TScsiDeviceId id, TScsiSettings &settings, TCDInquiry &inquiry);

// Text of a fixed-width field: up to the first byte below 32, trailing spaces dropped.
std::string inquiryText(const std::uint8_t *reply, std::size_t transferred, std::size_t offset,
                        std::size_t width);

} // namespace quillon::disc
