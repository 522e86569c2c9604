#pragma once
// The device-id face: every command is addressed by a device id and runs through
// ExecScsiCommand, which finds the drive in the process-wide drive table and hands the CDB
// to the installed transport. Nothing here throws; every call returns its error code.
#include "discaccess/DiscTypes.h"
#include "discaccess/ScsiTransport.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillon::disc {

// The layer's user-visible messages and its internal errors go through one handler that
// each program installs; the layer itself shows and prints nothing.
enum class DiscMessage : std::uint8_t {
    AdminPrivileges, // SPTI refused a TOC read for lack of rights
    IoError,         // another SPTI failure while reading a TOC
    AspiMissing,     // the ASPI library is not installed (Windows 95/98/ME)
    CdromGroup,      // Linux: the drive's node cannot be opened by this user
    Internal,        // for the debug log only
};
using DiscMessageHandler =
    std::function<void(DiscMessage kind, const std::string &text, const std::string &caption)>;

void SetDiscMessageHandler(DiscMessageHandler handler);
void ReportDiscMessage(DiscMessage kind, const std::string &text, const std::string &caption = {});

// The backend every command goes through. Null restores the system's own backend.
// The caller keeps ownership of a transport it installs.
void SetScsiTransport(ScsiTransport *transport);
ScsiTransport &CurrentTransport();
// The system's backend: SG_IO on Linux, SPTI or ASPI on Windows.
std::unique_ptr<ScsiTransport> makeSystemTransport();

// The drive table of this deliverable, built by StartDiscAccess.
TCDDriveTable &ProcessDriveTable();
TScsiSettings &DefaultScsiSettings();
// Builds the process-wide drive table with the start-up rules of the OS family.
void StartDiscAccess();

// The entry of the table that has this address and its Valid flag set, or null.
const TCDDriveEntry *FindDriveEntry(const TCDDriveTable &table, std::uint8_t adapter, std::uint8_t target,
                                    std::uint8_t lun);

// Sends one CDB. transferred (optional) receives the bytes the drive actually returned.
std::uint8_t ExecScsiCommand(TScsiDeviceId id, const std::uint8_t *cdb, std::size_t cdbLength,
                             ScsiDirection direction, void *buffer, std::size_t bufferLength,
                             TScsiSettings &settings, std::size_t *transferred = nullptr);

// The drive table's entry for a device id (valid entries only), or null.
const TCDDriveEntry *DriveEntryOf(TScsiDeviceId id);
// Where the backend finds a table entry's drive.
DriveLocation LocationOf(const TCDDriveEntry &entry);

int AspiAdapterCount();
// 0-9 as reported, 10 on failure; the table's drives are CD-ROM devices (5).
std::uint8_t GetDeviceType(TScsiDeviceId id);
// Walks the drive table's valid entries; 11 accepts any type below 10. Returns the number
// of devices the callback accepted, or -1 when there is no adapter at all.
int EnumerateDevices(std::uint8_t wantedType, const std::function<bool(TScsiDeviceId)> &callback);
// Set only on Windows 95/98/ME when the ASPI manager reports BIOS drive numbers.
bool AspiReportsLetters();
void SetAspiReportsLetters();

} // namespace quillon::disc
