#pragma once
// The transport the library's commands go through: null for the system's own. The product
// library and its end-to-end test variant differ only in this function.
#include "discaccess/ScsiTransport.h"

namespace quillon::trackprobe {

disc::ScsiTransport *libraryTransport();

} // namespace quillon::trackprobe
