#include "trackprobe/TrackprobeTransport.h"

namespace quillon::trackprobe {

disc::ScsiTransport *libraryTransport()
{
    return nullptr;
}

} // namespace quillon::trackprobe
