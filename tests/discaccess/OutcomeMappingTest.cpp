#include "discaccess/DiscTypes.h"
#include "discaccess/ScsiOutcome.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace quillon::disc;

namespace {

ScsiOutcome failedAt(OutcomeStage stage, int error)
{
    ScsiOutcome o;
    o.stage = stage;
    o.sysError = error;
    return o;
}

ScsiOutcome host(std::uint16_t status)
{
    ScsiOutcome o;
    o.hostStatus = status;
    return o;
}

ScsiOutcome status(std::uint8_t s)
{
    ScsiOutcome o;
    o.scsiStatus = s;
    return o;
}

ScsiOutcome sense(std::uint8_t response, std::uint8_t b2, std::uint8_t asc = 0, std::uint8_t b3 = 0,
                  std::uint8_t b1 = 0)
{
    ScsiOutcome o;
    o.scsiStatus = statusCheckCondition;
    o.sense[0] = response;
    o.sense[1] = b1;
    o.sense[2] = b2;
    o.sense[3] = b3;
    o.sense[12] = asc;
    o.senseLength = 18;
    return o;
}

struct Case {
    const char *name;
    ScsiOutcome outcome;
    int code;
};

} // namespace

TEST(OutcomeMapping, LinuxOutcomesGiveTheirCodes)
{
    ScsiOutcome checkWithoutSense = status(statusCheckCondition);
    const Case cases[] = {
        {"open ENOENT", failedAt(OutcomeStage::OpenFailed, ENOENT), 5},
        {"open ENODEV", failedAt(OutcomeStage::OpenFailed, ENODEV), 5},
        {"open ENXIO", failedAt(OutcomeStage::OpenFailed, ENXIO), 5},
        {"open EACCES", failedAt(OutcomeStage::OpenFailed, EACCES), 10},
        {"open EPERM", failedAt(OutcomeStage::OpenFailed, EPERM), 10},
        {"ioctl EPERM (command filter)", failedAt(OutcomeStage::SendFailed, EPERM), 2},
        {"ioctl EINVAL", failedAt(OutcomeStage::SendFailed, EINVAL), 28},
        {"ioctl EMSGSIZE", failedAt(OutcomeStage::SendFailed, EMSGSIZE), 28},
        {"ioctl EIO", failedAt(OutcomeStage::SendFailed, EIO), 10},
        {"DID_TIME_OUT", host(hostTimeOut), 27},
        {"DID_ABORT", host(hostAbort), 1},
        {"DID_BAD_TARGET", host(hostBadTarget), 5},
        {"DID_NO_CONNECT", host(hostNoConnect), 17},
        {"DID_RESET", host(hostReset), 14},
        {"DID_PARITY", host(hostParity), 15},
        {"DID_ERROR", host(hostError), 10},
        {"GOOD", status(statusGood), 0},
        {"BUSY", status(statusBusy), 22},
        {"RESERVATION CONFLICT", status(statusReservationConflict), 23},
        {"TASK SET FULL", status(statusTaskSetFull), 24},
        {"TASK ABORTED", status(statusTaskAborted), 1},
        {"CONDITION MET", status(0x04), 10},
        {"CHECK CONDITION without sense", checkWithoutSense, 21},
        {"blank disc 05/24/00", sense(0x70, 0x05, 0x24), 39},
        {"no medium 02/3A/01", sense(0x70, 0x02, 0x3A), 36},
        {"medium changed 06/28/00", sense(0x70, 0x06, 0x28), 40},
        {"deferred error 71h, key 3", sense(0x71, 0x03), 37},
        {"valid bit set on 70h (F0h)", sense(0xF0, 0x05), 39},
        {"descriptor format 72h, key 5", sense(0x72, 0x00, 0, 0, 0x05), 39},
        {"descriptor format 73h, key 2", sense(0x73, 0x00, 0, 0, 0x02), 36},
        {"response code 7Fh", sense(0x7F, 0x05), 29},
        {"key 0 with filemark", sense(0x70, 0x80), 30},
        {"key 0 with end of medium", sense(0x70, 0x40), 31},
        {"key 0 with incorrect length", sense(0x70, 0x20), 32},
        {"key 0, byte 3 bit 7", sense(0x70, 0x00, 0, 0x80), 33},
        {"key 0, nothing set", sense(0x70, 0x00), 34},
        {"key 15", sense(0x70, 0x0F), 49},
    };
    for (const Case &c : cases)
        EXPECT_EQ(int(codeFromOutcome(c.outcome)), c.code) << c.name;
}

TEST(OutcomeMapping, AspiStatusesGiveTheirCodes)
{
    const std::uint8_t noSense[18] = {};
    const std::uint8_t blank[18] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24};
    struct AspiCase {
        const char *name;
        std::uint8_t srb, ha, target;
        const std::uint8_t *sense;
        int code;
    } cases[] = {
        {"pending", 0x00, 0, 0, nullptr, 0},
        {"complete", 0x01, 0, 0, nullptr, 0},
        {"aborted", 0x02, 0, 0, nullptr, 1},
        {"abort failed", 0x03, 0, 0, nullptr, 1},
        {"invalid command", 0x80, 0, 0, nullptr, 2},
        {"invalid adapter", 0x81, 0, 0, nullptr, 4},
        {"no device", 0x82, 0, 0, nullptr, 5},
        {"invalid request", 0xE0, 0, 0, nullptr, 6},
        {"old manager", 0xE1, 0, 0, nullptr, 7},
        {"illegal mode", 0xE5, 0, 0, nullptr, 8},
        {"no ASPI", 0xE6, 0, 0, nullptr, 9},
        {"error, adapter 09h", 0x04, 0x09, 0, nullptr, 11},
        {"error, adapter 0Bh", 0x04, 0x0B, 0, nullptr, 12},
        {"error, adapter 0Dh", 0x04, 0x0D, 0, nullptr, 13},
        {"error, adapter 14h", 0x04, 0x14, 0, nullptr, 20},
        {"check condition, no sense area", 0x04, 0, 0x02, nullptr, 21},
        {"check condition, empty sense", 0x04, 0, 0x02, noSense, 0},
        {"check condition, blank disc", 0x04, 0, 0x02, blank, 39},
        {"target busy", 0x04, 0x01, 0x08, nullptr, 22},
        {"other", 0x04, 0x01, 0x04, nullptr, 10},
    };
    for (const AspiCase &c : cases)
        EXPECT_EQ(int(codeFromAspiStatus(c.srb, c.ha, c.target, c.sense, c.sense ? 18 : 0)), c.code) << c.name;
}

TEST(OutcomeMapping, OnlyMediumChangeAndResetAreRetried)
{
    EXPECT_TRUE(isTransientUnitAttention(sense(0x70, 0x06, 0x28)));
    EXPECT_TRUE(isTransientUnitAttention(sense(0x70, 0x06, 0x29)));
    EXPECT_FALSE(isTransientUnitAttention(sense(0x70, 0x06, 0x2A))) << "parameters changed is not retried";
    EXPECT_FALSE(isTransientUnitAttention(sense(0x70, 0x02, 0x28)));
}

TEST(DeviceId, PacksAndSplitsItsFields)
{
    const TScsiDeviceId id = MakeDeviceId(3, 5, 2, 'D' - 0x40);
    EXPECT_EQ(id, 0x03054400u);
    std::uint8_t adapter, target, lun;
    char letter;
    SplitDeviceId(id, adapter, target, lun, letter);
    EXPECT_EQ(adapter, 3);
    EXPECT_EQ(target, 5);
    EXPECT_EQ(lun, 2);
    EXPECT_EQ(letter, 'D');
    SplitDeviceId(MakeDeviceId(0, 0, 0, 0), adapter, target, lun, letter);
    EXPECT_EQ(letter, '@') << "no letter gives 40h itself";
}
