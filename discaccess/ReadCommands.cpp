#include "discaccess/ReadCommands.h"

#include <array>
#include <cstring>

namespace quillon::disc {

Cdb read10Cdb(TScsiDeviceId id, std::uint32_t lba, std::uint16_t blocks) { return cdb10(0x28, id, 0, lba, 0, blocks); }

std::uint8_t ReadSectors(TScsiDeviceId id, TScsiSettings &settings, std::uint32_t lba, std::uint16_t blocks,
                         std::uint8_t *buffer, std::size_t length, std::size_t *transferred)
{
    if (length < std::size_t(blocks) * kDataSectorSize)
        return errInvalidArgument;
    return runDataIn(id, settings, read10Cdb(id, lba, blocks), buffer, std::size_t(blocks) * kDataSectorSize,
                     transferred);
}

std::string isoVolumeLabel(const std::uint8_t *sector, std::size_t length)
{
    if (length < 72 || sector[0] != 1 || std::memcmp(sector + 1, "CD001", 5) != 0)
        return {};
    std::string label(reinterpret_cast<const char *>(sector + 40), 32);
    const std::size_t end = label.find_last_not_of(std::string(" \0", 2));
    return end == std::string::npos ? std::string() : label.substr(0, end + 1);
}

std::uint8_t ReadIsoVolumeLabel(TScsiDeviceId id, TScsiSettings &settings, std::string &label)
{
    std::array<std::uint8_t, kDataSectorSize> sector{};
    std::size_t transferred = 0;
    label.clear();
    const std::uint8_t code =
        ReadSectors(id, settings, kPrimaryVolumeDescriptorSector, 1, sector.data(), sector.size(), &transferred);
    if (code == errOk)
        label = isoVolumeLabel(sector.data(), transferred);
    return code;
}

} // namespace quillon::disc
