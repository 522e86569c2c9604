#pragma once
// System settings a recorder needs: switching off the automatic start of inserted CDs, and the
// ASPI registry repair of the NT family. Both work on the Registry interface, so the Windows
// rules run (and are tested) anywhere; on Linux there is nothing to fix.
#include "platform/Prompter.h"
#include "platform/Registry.h"

#include <QString>
#include <optional>

namespace quillon {

enum class WindowsFamily { NotWindows, Win9x, NT };

// The system family the program runs on.
WindowsFamily CurrentWindowsFamily();

struct AutorunDrive {
    QString vendor;  // vendor identification of the recorder
    QString product; // product identification of the recorder
};

// NotApplicable: nothing needed changing (not Windows, no valid drive, already set);
// Done: the change was written; Declined: the user said no; Failed: the registry refused.
enum class FixResult { NotApplicable, Done, Declined, Failed };

// Checks and, with the user's consent, switches off CD autorun for a recorder.
// `drive` is empty when the index was not a valid index of the drive list: nothing happens.
FixResult DisableCdAutorun(WindowsFamily family, Registry &registry, Prompter &prompter,
                           const std::optional<AutorunDrive> &drive, bool report);

// The drive check's repair when ASPI sees devices but the drive list is empty (NT family):
// asks, and on Yes writes the ASPI exclusion settings unless they are already there.
FixResult RepairAspiRegistry(Registry &registry, Prompter &prompter);

} // namespace quillon
