#pragma once
// The Linux backend: SG_IO on /dev/srN, the CD-ROM ioctls for the TOC fallback, the door
// state and the tray, and sysfs for the drive list. The system calls are injectable so the
// tests can look at what would go to the kernel.
#include "discaccess/ScsiTransport.h"

#include <functional>
#include <string>

namespace quillon::disc {

struct LinuxSystemCalls {
    std::function<int(const char *path, int flags)> open;
    std::function<int(int fd, unsigned long request, void *argument)> ioctl;
    std::function<int(int fd)> close;
    static LinuxSystemCalls real();
};

// The kernel waits this long at least: a drive spinning up takes seconds.
inline constexpr std::uint32_t kMinimumSgTimeoutMs = 30000;

class LinuxScsiTransport : public ScsiTransport {
public:
    explicit LinuxScsiTransport(std::string sysRoot = "/sys", std::string devRoot = "/dev",
                                LinuxSystemCalls calls = LinuxSystemCalls::real(),
                                std::string mountsFile = "/proc/self/mounts");

    std::vector<DriveLocation> listDrives() override;
    ScsiOutcome execute(const DriveLocation &drive, const ScsiRequest &request) override;
    std::optional<DoorState> doorState(const DriveLocation &drive) override;
    std::optional<std::uint8_t> moveTray(const DriveLocation &drive, bool load) override;
    std::optional<IoctlToc> readTocIoctl(const DriveLocation &drive) override;

    // Whether a command must open the node for writing to pass the kernel's filter.
    static bool needsWriteAccess(const ScsiRequest &request);

private:
    int openNode(const DriveLocation &drive, bool write, int &error);

    std::string m_sysRoot;
    std::string m_devRoot;
    LinuxSystemCalls m_calls;
    std::string m_mountsFile;
};

} // namespace quillon::disc
