#pragma once
// Installs an emulated drive as the process's only drive and builds the table from it.
#include "support/EmulatedDrive.h"

#include "discaccess/DeviceAccess.h"
#include "discaccess/DriveTable.h"
#include "discaccess/UnitCommands.h"

#include <gtest/gtest.h>

namespace quillon::test {

class DriveFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        disc::SetScsiTransport(&drive);
        rebuild();
    }
    void TearDown() override
    {
        disc::SetScsiTransport(nullptr);
        disc::ProcessDriveTable() = {};
    }
    void rebuild()
    {
        ASSERT_TRUE(disc::BuildDriveTable(disc::ProcessDriveTable(), disc::TCDInterface::cdiAutoDetect));
        drive.clearLog();
    }
    // Inserts the disc and lets the unit attention of the insertion pass.
    void load(const DiscModel &model)
    {
        drive.insert(model);
        disc::TestUnitReady(id, settings);
        drive.clearLog();
    }

    EmulatedDrive drive;
    disc::TScsiDeviceId id = disc::MakeDeviceId(0, 0, 0, 0);
    disc::TScsiSettings settings;
};

} // namespace quillon::test

