#include "trackprobe/Trackprobe.h"

#include "discaccess/DeviceAccess.h"
#include "discaccess/TocCommands.h"
#include "trackprobe/TrackprobeTransport.h"

#include <cstring>
#include <mutex>

namespace {

using namespace quillon::disc;

// The drive table is built at the first request, not while the library loads: the loader
// brings it in with Quillon, and a hung drive must not hold up the program's start.
void startOnce()
{
    static std::once_flag started;
    std::call_once(started, [] {
        if (ScsiTransport *transport = quillon::trackprobe::libraryTransport())
            SetScsiTransport(transport);
        StartDiscAccess();
    });
}

void putLe16(std::uint8_t *p, std::uint16_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void putLe32(std::uint8_t *p, std::uint32_t v)
{
    putLe16(p, std::uint16_t(v));
    putLe16(p + 2, std::uint16_t(v >> 16));
}

} // namespace

extern "C" void TRACKPROBE_CALL SessionInfo(uint32_t deviceId, void *sessionInfo, uint8_t *error)
{
    if (!error)
        return;
    if (!sessionInfo) {
        *error = errInvalidArgument;
        return;
    }
    auto *out = static_cast<std::uint8_t *>(sessionInfo);
    std::memset(out, 0, TRACKPROBE_SESSION_INFO_SIZE);
    try {
        startOnce();
        TCDSessionInfo info;
        const std::uint8_t code = ReadTocSessions(deviceId, DefaultScsiSettings(), info);
        // The record's layout is the library's contract, whatever the host's byte order.
        putLe16(out, info.Flags);
        out[2] = info.FirstSession;
        out[3] = info.LastSession;
        out[4] = info.FirstTrackOfLastSession;
        putLe32(out + 5, info.StartLba);
        *error = code;
    } catch (...) {
        std::memset(out, 0, TRACKPROBE_SESSION_INFO_SIZE);
        *error = errOther;
    }
}

extern "C" void TRACKPROBE_CALL ReadCdText(uint32_t deviceId, void *buffer, uint8_t *error)
{
    if (!error)
        return;
    if (!buffer) {
        *error = errInvalidArgument;
        return;
    }
    auto *out = static_cast<std::uint8_t *>(buffer);
    std::memset(out, 0, TRACKPROBE_CD_TEXT_SIZE);
    try {
        startOnce();
        TCdTextReply reply{};
        const std::uint8_t code = ReadCdTextData(deviceId, DefaultScsiSettings(), reply);
        std::memcpy(out, reply.data(), TRACKPROBE_CD_TEXT_SIZE);
        *error = code;
    } catch (...) {
        std::memset(out, 0, TRACKPROBE_CD_TEXT_SIZE);
        *error = errOther;
    }
}
