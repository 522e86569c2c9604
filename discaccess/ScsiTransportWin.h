#pragma once
// The Windows backends: SCSI pass-through (SPTI) on the NT family with the CD-ROM ioctl for
// the TOC, and ASPI through wnaspi32.dll where that is all the OS has.
#include "discaccess/ScsiTransport.h"

#include <memory>

namespace quillon::disc {

std::unique_ptr<ScsiTransport> makeSptiTransport();
// Null when wnaspi32.dll or its entry points are missing.
std::unique_ptr<ScsiTransport> makeAspiTransport();

} // namespace quillon::disc
