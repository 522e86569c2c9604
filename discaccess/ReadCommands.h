#pragma once
// READ (10) of data sectors, and the ISO 9660 volume label it gives: the label of a disc that
// is not mounted, or mounted under another name.
#include "discaccess/Cdb.h"
#include "discaccess/DiscTypes.h"

#include <cstddef>
#include <string>

namespace quillon::disc {

inline constexpr std::size_t kDataSectorSize = 2048;
inline constexpr std::uint32_t kPrimaryVolumeDescriptorSector = 16;

Cdb read10Cdb(TScsiDeviceId id, std::uint32_t lba, std::uint16_t blocks);
// Reads `blocks` sectors from `lba` into buffer, which must hold blocks × 2048 bytes.
std::uint8_t ReadSectors(TScsiDeviceId id, TScsiSettings &settings, std::uint32_t lba, std::uint16_t blocks,
                         std::uint8_t *buffer, std::size_t length, std::size_t *transferred = nullptr);

// The volume identifier (bytes 40 to 71) of a primary volume descriptor, trailing blanks
// dropped; empty when the sector holds no such descriptor.
std::string isoVolumeLabel(const std::uint8_t *sector, std::size_t length);
std::uint8_t ReadIsoVolumeLabel(TScsiDeviceId id, TScsiSettings &settings, std::string &label);

} // namespace quillon::disc
