// The main window's drive combo lists the drives of the real drive list, here the emulated
// machine seen through Trackprobe's test variant.
#include "EmulatedMachine.h"

#include "app/AppFixture.h"
#include "app/DriveListServiceImpl.h"
#include "discaccess/DeviceAccess.h"

#include <QComboBox>
#include <dlfcn.h>

namespace quillon::test {
namespace {

class MainWindowDrivesTest : public AppFixture {};

TEST_F(MainWindowDrivesTest, ComboListsTheDrivesInDriveListOrder)
{
    EmulatedBus bus;
    ASSERT_TRUE(writeEmulatedMachine());
    ASSERT_TRUE(loadEmulatedBus(TRACKPROBE_EMULATED_MACHINE, bus));
    disc::SetScsiTransport(&bus);
    disc::StartDiscAccess();
    void *library = dlopen(TRACKPROBE_EMULATED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library) << dlerror();
    using Fn = void (*)(std::uint32_t, void *, std::uint8_t *);
    auto sessionInfo = reinterpret_cast<Fn>(dlsym(library, "SessionInfo"));
    ASSERT_TRUE(sessionInfo);
    {
        DriveListServiceImpl list(
            [sessionInfo](std::uint32_t id, disc::TCDSessionInfo *info, std::uint8_t *error) {
                sessionInfo(id, info, error);
            },
            &prompter);
        services.drives = &list;
        registry->createKey("\\Software\\Quillon");
        startProgram();
        QComboBox *combo = program->mainForm()->ComboCDs;
        ASSERT_EQ(combo->count(), 3);
        EXPECT_EQ(combo->itemText(0), "D:");
        EXPECT_EQ(combo->itemText(1), "E:");
        EXPECT_EQ(combo->itemText(2), "F:");
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_TRUE(program->mainForm()->DiskEject->isEnabled());
        EXPECT_TRUE(prompter.requests().isEmpty()) << "drives were found: no notice";
        program->finish();
        program.reset();
    }
    disc::SetScsiTransport(nullptr);
    disc::ProcessDriveTable() = {};
}

} // namespace
} // namespace quillon::test
