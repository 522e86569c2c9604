#pragma once
// The CD/DVD drives the Linux kernel lists under /sys/class/block/sr*, in sr order.
#include "discaccess/ScsiTransport.h"

#include <string>
#include <vector>

namespace quillon::disc {

// sysRoot is "/sys" on a real system; the tests pass a fake tree.
std::vector<DriveLocation> enumerateSysfsDrives(const std::string &sysRoot);

// "3:0:0:0" into its four numbers; false when the text is not of that form.
bool parseHctl(const std::string &text, int &host, int &channel, int &target, int &lun);

// Where a block device is mounted, from a mounts table ("/proc/self/mounts" layout).
std::string mountPointOf(const std::string &mountsFile, const std::string &deviceNode);

} // namespace quillon::disc
