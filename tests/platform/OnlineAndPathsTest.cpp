#include "platform/AppPaths.h"
#include "platform/OnlineCheck.h"
#include "platform/Prompter.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <gtest/gtest.h>

namespace quillon::test {
namespace {

TEST(OnlineCheckTest, LoopbackAndMissingAddressesMeanOffline)
{
    struct Case {
        const char *name;
        QStringList addresses;
        bool online;
    };
    const Case cases[] = {
        {"no address", {}, false},
        {"Debian's host-name mapping 127.0.1.1", {"127.0.1.1"}, false},
        {"plain loopback", {"127.0.0.1"}, false},
        {"IPv6 loopback", {"::1"}, false},
        {"a network address last", {"127.0.1.1", "192.0.2.7"}, true},
        {"loopback last decides", {"192.0.2.7", "127.0.0.1"}, false},
        {"IPv6 network address", {"2001:db8::5"}, true},
    };
    for (const Case &c : cases) {
        QList<QHostAddress> list;
        for (const QString &a : c.addresses)
            list << QHostAddress(a);
        EXPECT_EQ(HostAddressOnlineCheck::addressesMeanOnline(list), c.online) << c.name;
    }
}

TEST(AppPathsTest, EveryPlaceComesFromItsRoot)
{
    const AppPaths paths({"/opt/quillon", "/home/u/.config/quillon", "/home/u/.local/share/quillon",
                          "/home/u/.cache/quillon/"});
    EXPECT_EQ(paths.programFolder(), "/opt/quillon/");
    EXPECT_EQ(paths.toolsDir(), "/opt/quillon/CdrTools/");
    EXPECT_EQ(paths.toolPath("cdrecord"), "/opt/quillon/CdrTools/cdrecord" + AppPaths::executableSuffix());
    EXPECT_EQ(paths.tempFolder(), "/home/u/.cache/quillon/Temp - do NOT touch");
    EXPECT_EQ(paths.workDir(), "/home/u/.cache/quillon/");
    EXPECT_EQ(paths.settingsFile(), "/home/u/.config/quillon/Quillon.ini");
    EXPECT_EQ(paths.dataFile(), "/home/u/.local/share/quillon/quillon.ini");
    EXPECT_EQ(paths.dataFileBackup(), "/home/u/.local/share/quillon/quillon.bak");
    EXPECT_EQ(paths.titlesStore(), "/home/u/.local/share/quillon/CDDB.ini");

    AppPaths moved = paths;
    moved.setToolsDir("/tmp/fake-tools");
    EXPECT_EQ(moved.toolPath("mkisofs"), "/tmp/fake-tools/mkisofs" + AppPaths::executableSuffix());
}

TEST(PrompterTest, OnlyYesConfirmsAndCancelIsTheDefault)
{
    ScriptedPrompter prompter;
    prompter.answer({pbYes, pbNo, pbCancel});
    EXPECT_TRUE(prompter.confirm("Go on?", "Question"));
    EXPECT_FALSE(prompter.confirm("Go on?", "Question"));
    EXPECT_FALSE(prompter.confirm("Go on?", "Question"));
    EXPECT_FALSE(prompter.confirm("Unanswered?", "Question")) << "no answer takes the default, Cancel";
    const PromptRequest &last = prompter.requests().last();
    EXPECT_EQ(last.buttons, pbYes | pbNo | pbCancel);
    EXPECT_EQ(last.defaultButton, pbCancel);
    EXPECT_EQ(last.icon, PromptIcon::Question);
}

} // namespace
} // namespace quillon::test
