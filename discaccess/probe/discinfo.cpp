// discinfo: prints what the disc-access layer reads from every CD/DVD drive of the machine.
#include "discaccess/CDDrives.h"
#include "discaccess/DeviceAccess.h"
#include "discaccess/DiscInfoReport.h"
#ifdef DISCINFO_TRACKPROBE
#include "trackprobe/Trackprobe.h"
#endif

#include <cstdlib>
#include <iostream>

int main()
{
    using namespace quillon::disc;
    SetDiscMessageHandler([](DiscMessage kind, const std::string &text, const std::string &caption) {
        if (kind != DiscMessage::Internal || std::getenv("DISCINFO_DEBUG"))
            std::cerr << (caption.empty() ? "" : caption + ": ") << text << "\n";
    });
    const int found = writeDiscInfo(std::cout);
    TkseCDDrives drives;
#ifdef DISCINFO_TRACKPROBE
    // Sessions as Quillon reads them: through Trackprobe and its own drive table.
    drives.SetSessionInfoFunction([](std::uint32_t id, TCDSessionInfo *info, std::uint8_t *error) {
        SessionInfo(id, info, error);
    });
#endif
    writeDriveObjects(std::cout, drives, kMountInfoFile);
    return found > 0 ? 0 : 1;
}
