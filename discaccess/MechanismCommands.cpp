#include "discaccess/MechanismCommands.h"

#include "discaccess/BeReader.h"
#include "discaccess/DeviceAccess.h"

namespace quillon::disc {

Cdb mechanismStatusCdb(TScsiDeviceId id) { return cdb12(0xBD, id, std::uint16_t(kMechanismStatusLength)); }

std::uint8_t decodeMechanism(const std::uint8_t *reply, std::size_t transferred, std::uint8_t code,
                             unsigned slot, TCDMechanism &m)
{
    const BeReader r(reply, transferred);
    m = {};
    std::uint16_t flags = 0;
    if (r.bit(0, 7))
        flags |= mfFault;
    flags |= std::uint16_t(mfChangerReady << ((r.u8(0) >> 5) & 0x03));
    if (r.bit(1, 4))
        flags |= mfDoorOpen;
    switch (r.u8(1) >> 5) {
    case 0: flags |= mfIdle; break;
    case 1: flags |= mfPlaying; break;
    case 2: flags |= mfScanning; break;
    case 7: flags |= mfInitialising; break;
    default: break;
    }
    m.Flags = flags;
    m.CurrentLba = r.u24(2);
    m.SlotCount = r.u8(5) & 0x1F;
    m.CurrentSlot = r.u8(0) & 0x1F;

    const std::uint16_t slotTableLength = r.u16(6);
    if (code != errOk || m.SlotCount == 0 || slotTableLength == 0)
        return code;
    const std::size_t entry = 8 + std::size_t(slot) * 4;
    if (slot >= m.SlotCount || entry >= std::size_t(slotTableLength) + 8 || slot >= 32 || !r.has(entry, 4))
        return errInvalidArgument;
    if (r.bit(entry, 7))
        m.Flags = std::uint16_t(m.Flags | mfDiscPresent);
    if (r.bit(entry, 0))
        m.Flags = std::uint16_t(m.Flags | mfChange);
    return errOk;
}

std::uint8_t MechanismStatus(TScsiDeviceId id, TScsiSettings &settings, unsigned slot, TCDMechanism &mechanism)
{
    std::uint8_t reply[kMechanismStatusLength];
    std::size_t transferred = 0;
    const std::uint8_t code = runDataIn(id, settings, mechanismStatusCdb(id), reply, sizeof reply, &transferred);
    const std::uint8_t result =
        decodeMechanism(reply, code == errOk ? transferred : sizeof reply, code, slot, mechanism);
    if (code != errInvalidCommand)
        return result;
    // Linux lets only root send MECHANISM STATUS; the CD-ROM ioctl still tells the door.
    const TCDDriveEntry *entry = DriveEntryOf(id);
    if (!entry)
        return result;
    const std::optional<DoorState> door = CurrentTransport().doorState(LocationOf(*entry));
    if (!door || *door == DoorState::Unknown)
        return result;
    if (*door == DoorState::TrayOpen)
        mechanism.Flags = std::uint16_t(mechanism.Flags | mfDoorOpen);
    if (*door == DoorState::DiscPresent)
        mechanism.Flags = std::uint16_t(mechanism.Flags | mfDiscPresent);
    return errOk;
}

} // namespace quillon::disc
