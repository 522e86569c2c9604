#include "DriveFixture.h"

#include "discaccess/CDDrives.h"
#include "discaccess/DiscInfoReport.h"
#include "discaccess/TocCommands.h"

#include <sstream>

using namespace quillon::disc;
using namespace quillon::test;

class DriveObjectReport : public DriveFixture {};

TEST_F(DriveObjectReport, ShowsWhatTheDriveObjectSays)
{
    load(discs::blankCdR80());
    TkseCDDrives drives;
    drives.SetSessionInfoFunction([](std::uint32_t id, TCDSessionInfo *info, std::uint8_t *error) {
        TScsiSettings settings;
        *error = ReadTocSessions(id, settings, *info);
    });
    std::ostringstream out;
    writeDriveObjects(out, drives, "/nonexistent");
    const std::string text = out.str();
    for (const char *expected :
         {"Drive list: 1 drive(s)", "D: QUILLON EMU CD-RW, address 0,0,0, dev=/dev/sr0", "Ready: yes",
          "Capacity: 359849 sectors (0)", "Session info (39): sessions 0-0", "Disc: blank"})
        EXPECT_NE(text.find(expected), std::string::npos) << "missing \"" << expected << "\" in:\n" << text;
}
