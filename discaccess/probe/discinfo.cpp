// discinfo: prints what the disc-access layer reads from every CD/DVD drive of the machine.
#include "discaccess/DeviceAccess.h"
#include "discaccess/DiscInfoReport.h"

#include <cstdlib>
#include <iostream>

int main()
{
    using namespace quillon::disc;
    SetDiscMessageHandler([](DiscMessage kind, const std::string &text, const std::string &caption) {
        if (kind != DiscMessage::Internal || std::getenv("DISCINFO_DEBUG"))
            std::cerr << (caption.empty() ? "" : caption + ": ") << text << "\n";
    });
    return writeDiscInfo(std::cout) > 0 ? 0 : 1;
}
