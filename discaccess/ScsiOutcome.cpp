#include "discaccess/ScsiOutcome.h"

#include "discaccess/DiscTypes.h"

#include <cerrno>

namespace quillon::disc {

std::uint8_t codeFromSense(const std::uint8_t *sense, std::size_t length)
{
    if (!sense || length == 0 || sense[0] == 0)
        return errCheckConditionNoSense;
    const std::uint8_t response = sense[0] & 0x7F;
    if (response == 0x72 || response == 0x73)
        return length > 1 ? senseKeyCode(sense[1] & 0x0F) : std::uint8_t(errSenseNoSense);
    if (response != 0x70 && response != 0x71)
        return errSenseNotFixed;
    const std::uint8_t flags = length > 2 ? sense[2] : 0;
    const std::uint8_t key = flags & 0x0F;
    if (key != 0)
        return senseKeyCode(key);
    if (flags & 0x80)
        return errSenseFilemark;
    if (flags & 0x40)
        return errSenseEndOfMedium;
    if (flags & 0x20)
        return errSenseIncorrectLength;
    const std::uint8_t info = length > 3 ? sense[3] : 0;
    return (info & 0x80) ? errSenseNoSenseBit7 : errSenseNoSense;
}

namespace {

std::uint8_t codeFromErrno(OutcomeStage stage, int error)
{
    if (stage == OutcomeStage::OpenFailed) {
        switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return errNoDevice;
        default:
            return errOther; // EACCES, EPERM and the rest
        }
    }
    switch (error) {
    case EPERM: // the kernel's command filter
        return errInvalidCommand;
    case EINVAL:
    case EMSGSIZE:
        return errInvalidArgument;
    default:
        return errOther;
    }
}

std::uint8_t codeFromHostStatus(std::uint16_t host)
{
    switch (host) {
    case hostTimeOut:
        return errTimeout;
    case hostAbort:
        return errAborted;
    case hostBadTarget:
        return errNoDevice;
    case hostNoConnect:
        return 17;
    case hostReset:
        return 14;
    case hostParity:
        return 15;
    default:
        return errOther;
    }
}

} // namespace

std::uint8_t codeFromOutcome(const ScsiOutcome &o)
{
    switch (o.stage) {
    case OutcomeStage::Mapped:
        return o.presetCode;
    case OutcomeStage::OpenFailed:
    case OutcomeStage::SendFailed:
        return codeFromErrno(o.stage, o.sysError);
    case OutcomeStage::Completed:
        break;
    }
    if (o.hostStatus != hostOk)
        return codeFromHostStatus(o.hostStatus);
    if ((o.driverStatus & 0x0F) == driverTimeout)
        return errTimeout;
    switch (o.scsiStatus) {
    case statusGood:
        return errOk;
    case statusCheckCondition:
        return codeFromSense(o.sense.data(), o.senseLength);
    case statusBusy:
        return errBusy;
    case statusReservationConflict:
        return errReservationConflict;
    case statusTaskSetFull:
        return errQueueFull;
    case statusTaskAborted:
        return errAborted;
    default:
        return errOther;
    }
}

std::uint8_t codeFromAspiStatus(std::uint8_t srb, std::uint8_t ha, std::uint8_t target, const std::uint8_t *sense,
                                std::size_t senseLength)
{
    std::uint8_t code = errOther;
    switch (srb) {
    case 0x00:
    case 0x01:
        return errOk;
    case 0x02:
    case 0x03:
        return errAborted;
    case 0x80:
        return errInvalidCommand;
    case 0x81:
        return errInvalidHostAdapter;
    case 0x82:
        return errNoDevice;
    case 0xE0:
        return errInvalidRequest;
    case 0xE1:
        return errOldManager;
    case 0xE5:
        return errIllegalMode;
    case 0xE6:
        return errNoAspi;
    case 0x04:
        if (ha == 0x09)
            code = errHostAdapterError;
        else if (ha == 0x0B)
            code = errSelectionTimeout;
        else if (ha >= 0x0D && ha <= 0x14)
            code = std::uint8_t(errHostAdapterFirst + (ha - 0x0D));
        else if (ha == 0x00 && (target == 0x00 || target == statusCheckCondition))
            code = errCheckConditionNoSense;
        else if (target == statusBusy)
            code = errBusy;
        else if (target == statusReservationConflict)
            code = errReservationConflict;
        else if (target == statusTaskSetFull)
            code = errQueueFull;
        break;
    default:
        break;
    }
    if (code == errCheckConditionNoSense && sense && senseLength > 0) {
        // A request that reports an error with an empty sense area did not fail after all.
        if (sense[0] == 0)
            return errOk;
        return codeFromSense(sense, senseLength);
    }
    return code;
}

bool isTransientUnitAttention(const ScsiOutcome &o)
{
    if (o.stage != OutcomeStage::Completed || o.hostStatus != hostOk || o.scsiStatus != statusCheckCondition)
        return false;
    if (codeFromOutcome(o) != errUnitAttention)
        return false;
    const std::uint8_t response = o.sense[0] & 0x7F;
    const std::uint8_t asc = (response == 0x72 || response == 0x73) ? o.sense[2] : o.asc();
    return asc == 0x28 || asc == 0x29;
}

} // namespace quillon::disc
