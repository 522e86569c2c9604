#pragma once
// The one emulated machine of the end-to-end tests: the library's test variant and this
// process's drive list both read it from the same fixture file.
#include "support/EmulatedBus.h"

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

} // namespace quillon::test
