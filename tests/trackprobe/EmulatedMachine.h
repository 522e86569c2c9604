#pragma once
// The one emulated machine of the end-to-end tests: the library's test variant and this
// process's drive list both read it from the same fixture file.
#include "discaccess/CDDrives.h"
#include "discaccess/DeviceAccess.h"
#include "support/EmulatedBus.h"

#include <dlfcn.h>

#include <string>
#include <vector>

namespace quillon::test {

inline const std::vector<std::string> kEmulatedMachine = {
    "sr0 5:0:0:0 blankCdR80",
    "sr1 6:0:0:0 cdPlus TSSTcorp",
    "sr2 7:0:0:0 pressedAudio12",
};

// Every test process writes the same text, so tests running side by side agree.
inline bool writeEmulatedMachine()
{
    return writeEmulatedBusFixture(TRACKPROBE_EMULATED_MACHINE, kEmulatedMachine);
}

// This process's side of the machine: the emulated bus behind the disc-access layer, and the
// session reader of the library's test variant. Undone when it goes.
class EmulatedMachineProcess {
public:
    // False (with the reason) when the fixture or the library cannot be had.
    bool start(std::string *reason)
    {
        if (!writeEmulatedMachine() || !loadEmulatedBus(TRACKPROBE_EMULATED_MACHINE, m_bus)) {
            *reason = "the emulated machine's fixture cannot be written or read";
            return false;
        }
        disc::SetScsiTransport(&m_bus);
        disc::StartDiscAccess();
        m_library = dlopen(TRACKPROBE_EMULATED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!m_library) {
            *reason = dlerror();
            return false;
        }
        m_sessionInfo = reinterpret_cast<Export>(dlsym(m_library, "SessionInfo"));
        if (!m_sessionInfo)
            *reason = "no SessionInfo export";
        return m_sessionInfo != nullptr;
    }
    ~EmulatedMachineProcess()
    {
        disc::SetScsiTransport(nullptr);
        disc::ProcessDriveTable() = {};
    }
    disc::SessionInfoFunction sessionInfo() const
    {
        Export fn = m_sessionInfo;
        return [fn](std::uint32_t id, disc::TCDSessionInfo *info, std::uint8_t *error) { fn(id, info, error); };
    }

private:
    using Export = void (*)(std::uint32_t, void *, std::uint8_t *);
    EmulatedBus m_bus;
    void *m_library = nullptr;
    Export m_sessionInfo = nullptr;
};

} // namespace quillon::test
