// The test variant of Trackprobe: its drives are the emulated ones of the fixture file the
// end-to-end tests write before their first request. The product library has no such hook.
#include "support/EmulatedBus.h"
#include "trackprobe/TrackprobeTransport.h"

namespace quillon::trackprobe {

disc::ScsiTransport *libraryTransport()
{
    static test::EmulatedBus bus;
    static const bool loaded = test::loadEmulatedBus(TRACKPROBE_EMULATED_MACHINE, bus);
    (void)loaded; // an unreadable file leaves a machine without drives
    return &bus;
}

} // namespace quillon::trackprobe
