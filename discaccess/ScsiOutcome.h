#pragma once
// What happened to one command on its way to the drive and back, and the pure mapping from
// that record to the layer's one-byte error code.
#include <array>
#include <cstdint>

namespace quillon::disc {

enum class OutcomeStage : std::uint8_t {
    OpenFailed, // the device node or handle could not be opened; sysError says why
    SendFailed, // the pass-through call itself failed; sysError says why
    Completed,  // the drive answered: status, host status and sense are valid
    Mapped,     // the backend computed the code itself (the ASPI path); see presetCode
};

// Host status values of the Linux SCSI midlayer.
enum : std::uint16_t {
    hostOk = 0x00,
    hostNoConnect = 0x01,
    hostBusBusy = 0x02,
    hostTimeOut = 0x03,
    hostBadTarget = 0x04,
    hostAbort = 0x05,
    hostParity = 0x06,
    hostError = 0x07,
    hostReset = 0x08,
};
enum : std::uint16_t { driverTimeout = 0x06 };

// SCSI status bytes.
enum : std::uint8_t {
    statusGood = 0x00,
    statusCheckCondition = 0x02,
    statusBusy = 0x08,
    statusReservationConflict = 0x18,
    statusTaskSetFull = 0x28,
    statusTaskAborted = 0x40,
};

struct ScsiOutcome {
    OutcomeStage stage = OutcomeStage::Completed;
    int sysError = 0; // errno on Linux
    std::uint8_t scsiStatus = statusGood;
    std::uint16_t hostStatus = hostOk;
    std::uint16_t driverStatus = 0;
    std::int32_t residual = 0;
    std::uint8_t senseLength = 0;
    std::array<std::uint8_t, 32> sense{};
    std::uint8_t presetCode = 0; // for OutcomeStage::Mapped

    std::uint8_t senseKey() const { return sense[2] & 0x0F; }
    std::uint8_t asc() const { return senseLength > 12 ? sense[12] : 0; }
    std::uint8_t ascq() const { return senseLength > 13 ? sense[13] : 0; }
};

// The error code of a sense block that came with CHECK CONDITION.
std::uint8_t codeFromSense(const std::uint8_t *sense, std::size_t length);

// The error code of a command's outcome (Linux errno and midlayer host status values).
std::uint8_t codeFromOutcome(const ScsiOutcome &outcome);

// The error code from the ASPI request status, host adapter status and target status.
std::uint8_t codeFromAspiStatus(std::uint8_t srbStatus, std::uint8_t hostStatus, std::uint8_t targetStatus,
                                const std::uint8_t *sense, std::size_t senseLength);

// A unit attention that only says the medium changed or the drive was reset: the command
// is worth sending once more.
bool isTransientUnitAttention(const ScsiOutcome &outcome);

} // namespace quillon::disc
