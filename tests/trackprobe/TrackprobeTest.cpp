// Trackprobe as its users see it: a shared library opened by path, two exports, records
// with a fixed byte layout, and one emulated machine behind both the library and the
// drive list of this process.
#include "EmulatedMachine.h"

#include "discaccess/CDDrives.h"
#include "discaccess/CdText.h"
#include "discaccess/DeviceAccess.h"
#include "trackprobe/Trackprobe.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <dlfcn.h>
#include <set>
#include <sstream>

using namespace quillon::disc;
using namespace quillon::test;

namespace {

using ExportFn = void (*)(std::uint32_t, void *, std::uint8_t *);

struct Library {
    void *handle = nullptr;
    ExportFn sessionInfo = nullptr;
    ExportFn readCdText = nullptr;
};

Library open(const char *path)
{
    Library lib;
    lib.handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!lib.handle) {
        ADD_FAILURE() << "dlopen " << path << ": " << dlerror();
        return lib;
    }
    lib.sessionInfo = reinterpret_cast<ExportFn>(dlsym(lib.handle, "SessionInfo"));
    lib.readCdText = reinterpret_cast<ExportFn>(dlsym(lib.handle, "ReadCdText"));
    return lib;
}

std::string run(const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen((command + " 2>&1").c_str(), "r")) {
        std::array<char, 4096> chunk;
        while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
            output.append(chunk.data(), n);
        pclose(pipe);
    }
    return output;
}

// The test variant, reading the emulated machine at its first request.
Library &emulated()
{
    static Library lib = [] {
        EXPECT_TRUE(writeEmulatedMachine());
        return open(TRACKPROBE_EMULATED_LIBRARY);
    }();
    return lib;
}

std::string bytes(const std::uint8_t *p, std::size_t n)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < n; ++i)
        out << (i ? " " : "") << std::hex << int(p[i]);
    return out.str();
}

} // namespace

TEST(TrackprobeExports, ExactlyTheTwoNames)
{
    for (const char *path : {TRACKPROBE_LIBRARY, TRACKPROBE_EMULATED_LIBRARY}) {
        SCOPED_TRACE(path);
        std::istringstream lines(run(std::string("nm -D --defined-only ") + path));
        std::set<std::string> names;
        std::string address, kind, name;
        while (lines >> address >> kind >> name)
            names.insert(name);
        EXPECT_EQ(names, (std::set<std::string>{"ReadCdText", "SessionInfo"}))
            << "the layer's own symbols must stay inside the library";
    }
}

TEST(TrackprobeExports, NullPointersGetAnErrorByte)
{
    Library lib = open(TRACKPROBE_LIBRARY);
    ASSERT_TRUE(lib.sessionInfo && lib.readCdText);
    std::uint8_t error = 0;
    lib.sessionInfo(0, nullptr, &error);
    EXPECT_EQ(error, errInvalidArgument);
    error = 0;
    lib.readCdText(0, nullptr, &error);
    EXPECT_EQ(error, errInvalidArgument);
    std::array<std::uint8_t, 9> record{};
    lib.sessionInfo(0, record.data(), nullptr); // nowhere to answer: nothing happens
    std::array<std::uint8_t, TRACKPROBE_CD_TEXT_SIZE> text{};
    lib.readCdText(0, text.data(), nullptr);
}

TEST(TrackprobeExports, UnknownDeviceLeavesTheRecordZero)
{
    Library &lib = emulated();
    ASSERT_TRUE(lib.sessionInfo && lib.readCdText);
    std::array<std::uint8_t, 9> record;
    record.fill(0xAA);
    std::uint8_t error = 0;
    lib.sessionInfo(MakeDeviceId(9, 0, 0, 0), record.data(), &error);
    EXPECT_EQ(error, errOther);
    EXPECT_EQ(record, (std::array<std::uint8_t, 9>{})) << bytes(record.data(), record.size());
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        lib = &emulated();
        ASSERT_TRUE(lib->sessionInfo && lib->readCdText);
        std::string error;
        ASSERT_TRUE(loadEmulatedBus(TRACKPROBE_EMULATED_MACHINE, bus, &error)) << error;
        SetScsiTransport(&bus);
        StartDiscAccess();
        drives = std::make_unique<TkseCDDrives>();
        drives->SetSessionInfoFunction([this](std::uint32_t id, TCDSessionInfo *info, std::uint8_t *code) {
            lib->sessionInfo(id, info, code);
        });
        ASSERT_EQ(drives->Count(), 3);
    }
    void TearDown() override
    {
        drives.reset();
        SetScsiTransport(nullptr);
        ProcessDriveTable() = {};
    }
    Library *lib = nullptr;
    EmulatedBus bus;
    std::unique_ptr<TkseCDDrives> drives;
};

TEST_F(EndToEnd, BlankCdRGivesAZeroRecordAndAnErrorByte)
{
    std::array<std::uint8_t, 9> record;
    record.fill(0xAA);
    std::uint8_t error = 0;
    lib->sessionInfo(drives->DeviceId(0), record.data(), &error);
    EXPECT_EQ(error, errIllegalRequest);
    EXPECT_EQ(record, (std::array<std::uint8_t, 9>{})) << bytes(record.data(), record.size());
    EXPECT_EQ(drives->Drive(0).GetDiscState(), TDiscState::dsBlank)
        << "a failed read is not taken as blank alone";
}

TEST_F(EndToEnd, TwoSessionDiscRecordIsLittleEndianAndPacked)
{
    std::array<std::uint8_t, 9> record{};
    std::uint8_t error = 0xFF;
    lib->sessionInfo(drives->DeviceId(1), record.data(), &error);
    ASSERT_EQ(error, 0);
    // Flags 0042h (data track, ADR 1), sessions 1 to 2, track 11 starting at 161400.
    const std::array<std::uint8_t, 9> expected = {0x42, 0x00, 1, 2, 11, 0x78, 0x76, 0x02, 0x00};
    EXPECT_EQ(record, expected) << bytes(record.data(), record.size());

    const TCDSessionInfo viaDrive = drives->Drive(1).GetSessionInfo();
    EXPECT_EQ(drives->Drive(1).LastError, 0);
    EXPECT_EQ(viaDrive.LastSession, 2);
    const std::uint32_t start = viaDrive.StartLba; // a packed field cannot be bound by reference
    EXPECT_EQ(start, 161400u);
    EXPECT_EQ(drives->Drive(1).GetDiscState(), TDiscState::dsUnknown)
        << "a pressed CD Plus has no writable track to ask";
    EXPECT_EQ(drives->VendorText(1), "TSSTcorp");
}

TEST_F(EndToEnd, CdTextComesRawOrNotAtAll)
{
    std::vector<std::uint8_t> text(TRACKPROBE_CD_TEXT_SIZE, 0xAA);
    std::uint8_t error = 0xFF;
    lib->readCdText(drives->DeviceId(2), text.data(), &error);
    ASSERT_EQ(error, 0);
    std::string album, performer;
    std::vector<std::string> titles(12), performers(12);
    ASSERT_TRUE(DecodeCdText(text.data(), text.size(), album, performer, titles, performers));
    EXPECT_EQ(album, "Emulated Album");
    EXPECT_EQ(titles, pressedAudioTitles());
    const TCdTextReply direct = drives->Drive(2).GetCdText();
    EXPECT_EQ(text, std::vector<std::uint8_t>(direct.begin(), direct.end()))
        << "the library hands over the drive's reply byte for byte";

    std::fill(text.begin(), text.end(), 0xAA);
    lib->readCdText(drives->DeviceId(1), text.data(), &error);
    EXPECT_NE(error, 0) << "a disc without CD-Text";
    EXPECT_EQ(text, std::vector<std::uint8_t>(TRACKPROBE_CD_TEXT_SIZE, 0));
}
