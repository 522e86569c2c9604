#pragma once
// An emulated machine with a set of drives, its drive list, and an options dialog created on
// it the way the program creates it: store, prompter, drives, first restore.
#include "discaccess/CDDrives.h"
#include "discaccess/DeviceAccess.h"
#include "discaccess/DriveTable.h"
#include "discaccess/ScsiTransport.h"
#include "settings/DlgOptionsU.h"
#include "settings/IniStore.h"
#include "support/EmulatedBus.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace quillon::test {

// A drive that reads but cannot record.
inline DriveModel readingDrive()
{
    DriveModel m = drives::recorder();
    m.product = "EMU CD-ROM";
    m.page2A[3] = 0x00; // writes nothing
    m.page2A[4] = 0x01; // plays audio, no underrun protection
    return m;
}

class OptionsOnDrives : public ::testing::Test {
protected:
    void install(const std::vector<DriveModel> &models)
    {
        dialog.reset();
        list.reset();
        disc::SetScsiTransport(nullptr);
        bus = std::make_unique<EmulatedBus>();
        for (std::size_t i = 0; i < models.size(); ++i) {
            disc::DriveLocation where;
            where.host = int(i);
            where.node = "sr" + std::to_string(i);
            where.vendor = models[i].vendor;
            where.model = models[i].product;
            bus->add(where).drive = models[i];
        }
        disc::SetScsiTransport(bus.get());
        disc::StartDiscAccess();
        list = std::make_unique<disc::TkseCDDrives>();
    }
    TDlgOptions &create()
    {
        dialog = std::make_unique<TDlgOptions>();
        dialog->setPrompter(&prompter);
        dialog->setSettingsStore(&ini);
        dialog->setCharacterSetDetector([this] { return detected; });
        TDlgOptions::MainWindowHooks hooks;
        hooks.deepestFolderLevel = [this] { return deepest; };
        dialog->setMainWindowHooks(hooks);
        dialog->setDrives(list.get());
        dialog->restoreSettings(ini);
        return *dialog;
    }
    // Runs `whileShown` as the user's part while the dialog is shown, then OK or Cancel.
    bool show(const std::function<void(TDlgOptions &)> &whileShown, bool ok)
    {
        dialog->setExecHook([&](TDlgOptions &d) {
            whileShown(d);
            return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        return dialog->ShowOptionsDialog();
    }
    void TearDown() override
    {
        dialog.reset();
        list.reset();
        disc::SetScsiTransport(nullptr);
        disc::ProcessDriveTable() = {};
    }

    std::unique_ptr<EmulatedBus> bus;
    std::unique_ptr<disc::TkseCDDrives> list;
    std::unique_ptr<TDlgOptions> dialog;
    ScriptedPrompter prompter;
    IniStore ini;
    QString detected = QStringLiteral("iso8859-2");
    int deepest = 0;
};

} // namespace quillon::test
