#include "discaccess/DriveReference.h"

namespace quillon::disc {

// Windows mounts a disc at its drive letter; the list fills that in itself.
std::vector<std::string> mountPointsOfNode(const std::string &, const std::string &) { return {}; }

} // namespace quillon::disc
