// The recorder's device argument from the options' recorder choice and the drive list.
#include "engine/RecorderAddress.h"
#include "settings/OptionsModel.h"

#include <gtest/gtest.h>

namespace quillon::test {
namespace {

FunctionRecorderDevices twoDrives()
{
    FunctionRecorderDevices d;
    d.byIndex = [](int i) -> std::optional<QString> {
        if (i == 0)
            return QString("/dev/sr0");
        if (i == 1)
            return QString("/dev/sr1");
        return std::nullopt;
    };
    d.byLetter = [](QChar l) -> std::optional<QString> {
        return l == 'E' ? std::optional<QString>("/dev/sr1") : std::nullopt;
    };
    return d;
}

TEST(RecorderAddressTest, TheSelectedRecordersDeviceOrNone)
{
    const FunctionRecorderDevices devices = twoDrives();
    struct Case {
        const char *name;
        int ComboCDs;
        QString text;
        bool known;
    };
    for (const Case &c : QList<Case>{{"first recorder", 0, "/dev/sr0", true},
                                     {"second recorder", 1, "/dev/sr1", true},
                                     {"no recorder selected", -1, "0,0,0", false},
                                     {"a position the list no longer has", 5, "0,0,0", false}}) {
        OptionsModel o;
        o.setComboCDs(c.ComboCDs);
        const DeviceAddress a = RecorderAddress(o, devices);
        EXPECT_EQ(a.text.toStdString(), c.text.toStdString()) << c.name;
        EXPECT_EQ(a.known, c.known) << c.name;
    }
    FunctionRecorderDevices empty;
    EXPECT_FALSE(RecorderAddress(OptionsModel(), empty).known)
        << "an unconnected drive list knows no recorder";
}

TEST(RecorderAddressTest, TheDriveHoldingTheDiscByLetter)
{
    const FunctionRecorderDevices devices = twoDrives();
    EXPECT_EQ(DriveAddress('e', devices).text, QString("/dev/sr1")) << "letters compare in upper case";
    EXPECT_FALSE(DriveAddress('Z', devices).known);
    EXPECT_EQ(DriveAddress('Z', devices).text, QString("0,0,0"));
    EXPECT_FALSE(DriveAddress(QChar(), devices).known);
}

} // namespace
} // namespace quillon::test
