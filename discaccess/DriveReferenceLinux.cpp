#include "discaccess/DriveReference.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace quillon::disc {

std::vector<std::string> mountPointsOfNode(const std::string &mountInfoFile, const std::string &deviceNode)
{
    struct stat info {};
    if (deviceNode.empty() || ::stat(deviceNode.c_str(), &info) != 0 || !S_ISBLK(info.st_mode))
        return {};
    std::ifstream in(mountInfoFile);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    const unsigned long long device = info.st_rdev;
    // The Linux encoding of dev_t: 12 bits of major, 20 of minor, split.
    const unsigned major = unsigned(((device >> 8) & 0xFFF) | ((device >> 32) & ~0xFFFull));
    const unsigned minor = unsigned((device & 0xFF) | ((device >> 12) & ~0xFFull));
    return mountPointsFromMountInfo(text.str(), major, minor);
}

} // namespace quillon::disc
