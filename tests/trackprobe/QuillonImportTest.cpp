// Quillon imports Trackprobe for real: the loader needs the library beside the program,
// and the main window's drive list reads sessions through it.
#include "EmulatedMachine.h"

#include "app/DriveListServiceImpl.h"
#include "discaccess/DeviceAccess.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <sys/wait.h>

using namespace quillon;
using namespace quillon::test;
namespace fs = std::filesystem;

namespace {

std::string run(const std::string &command, int *status = nullptr)
{
    std::string output;
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> chunk;
    while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
        output.append(chunk.data(), n);
    const int raw = pclose(pipe);
    if (status)
        *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

} // namespace

TEST(QuillonImport, NeedsTrackprobeFromItsOwnFolder)
{
    const std::string dynamic = run(std::string("readelf -d ") + QUILLON_PROGRAM);
    EXPECT_NE(dynamic.find("Shared library: [libtrackprobe.so]"), std::string::npos) << dynamic;
    EXPECT_NE(dynamic.find("(RUNPATH)            Library runpath: [$ORIGIN]"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("(RPATH)"), std::string::npos) << "RPATH would outrank LD_LIBRARY_PATH\n"
                                                          << dynamic;
}

TEST(QuillonImport, RefusesToStartWithTheLibraryHidden)
{
    const fs::path dir = fs::temp_directory_path() / ("quillon-no-trackprobe-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(QUILLON_PROGRAM, dir / "Quillon");
    int status = 0;
    const std::string output =
        run("cd " + dir.string() + " && QT_QPA_PLATFORM=offscreen timeout 30 ./Quillon", &status);
    fs::remove_all(dir);
    EXPECT_EQ(status, 127) << output;
    EXPECT_NE(output.find("libtrackprobe.so: cannot open shared object file"), std::string::npos) << output;
}

TEST(QuillonImport, DriveListServiceListsTheEmulatedMachine)
{
    EmulatedMachineProcess machine;
    std::string reason;
    ASSERT_TRUE(machine.start(&reason)) << reason;
    {
        DriveListServiceImpl service(machine.sessionInfo(), nullptr);
        ASSERT_TRUE(service.built());
        ASSERT_EQ(service.count(), 3);
        EXPECT_EQ(service.driveLetter(0) + service.driveLetter(1) + service.driveLetter(2), "DEF");
        EXPECT_EQ(service.driveLetter(3), "") << "outside the list";
        EXPECT_TRUE(service.aspiFoundDevice());
        EXPECT_EQ(service.drives().Drive(0).GetDiscState(), disc::TDiscState::dsBlank);
        EXPECT_EQ(service.drives().Drive(1).GetSessionInfo().LastSession, 2);
    }
}
