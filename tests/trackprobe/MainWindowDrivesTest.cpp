// The main window's drive combo lists the drives of the real drive list, here the emulated
// machine seen through Trackprobe's test variant.
#include "EmulatedMachine.h"

#include "app/AppFixture.h"
#include "app/DriveListServiceImpl.h"

#include <QComboBox>

namespace quillon::test {
namespace {

class MainWindowDrivesTest : public AppFixture {};

TEST_F(MainWindowDrivesTest, ComboListsTheDrivesInDriveListOrder)
{
    EmulatedMachineProcess machine;
    std::string reason;
    ASSERT_TRUE(machine.start(&reason)) << reason;
    {
        DriveListServiceImpl list(machine.sessionInfo(), &prompter);
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
}

} // namespace
} // namespace quillon::test
