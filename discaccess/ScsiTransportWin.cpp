#include "discaccess/ScsiTransportWin.h"

#include "discaccess/DeviceAccess.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace quillon::disc {

namespace {

// Our own declarations of the pass-through interface.
constexpr DWORD kIoctlScsiPassThroughDirect = 0x4D014;
constexpr DWORD kIoctlScsiGetAddress = 0x41018;
constexpr DWORD kIoctlCdromReadToc = 0x24000;

struct PassThroughDirect {
    USHORT Length;
    UCHAR ScsiStatus;
    UCHAR PathId;
    UCHAR TargetId;
    UCHAR Lun;
    UCHAR CdbLength;
    UCHAR SenseInfoLength;
    UCHAR DataIn;
    ULONG DataTransferLength;
    ULONG TimeOutValue;
    PVOID DataBuffer;
    ULONG SenseInfoOffset;
    UCHAR Cdb[16];
};

struct PassThroughWithSense {
    PassThroughDirect spt;
    ULONG filler;
    UCHAR sense[32];
};

struct ScsiAddress {
    ULONG Length;
    UCHAR PortNumber;
    UCHAR PathId;
    UCHAR TargetId;
    UCHAR Lun;
};

constexpr UCHAR kDataIn = 1, kDataOut = 0, kNoData = 2;
constexpr std::uint32_t kMinimumTimeoutSeconds = 30;

HANDLE openDrive(const std::string &letter, DWORD access)
{
    const std::string path = "\\\\.\\" + letter + ":";
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

class SptiTransport : public ScsiTransport {
public:
    std::vector<DriveLocation> listDrives() override
    {
        std::vector<DriveLocation> drives;
        char roots[106] = {};
        const DWORD n = GetLogicalDriveStringsA(sizeof roots - 1, roots);
        for (const char *p = roots; n > 0 && p < roots + sizeof roots && *p; p += std::strlen(p) + 1) {
            if (GetDriveTypeA(p) != DRIVE_CDROM)
                continue;
            DriveLocation d;
            d.node = std::string(1, p[0]);
            HANDLE h = openDrive(d.node, GENERIC_READ);
            if (h != INVALID_HANDLE_VALUE) {
                ScsiAddress address{};
                address.Length = sizeof address;
                DWORD returned = 0;
                if (DeviceIoControl(h, kIoctlScsiGetAddress, nullptr, 0, &address, sizeof address, &returned,
                                    nullptr)) {
                    d.host = address.PortNumber;
                    d.channel = address.PathId;
                    d.target = address.TargetId;
                    d.lun = address.Lun;
                }
                CloseHandle(h);
            }
            drives.push_back(d);
        }
        return drives;
    }

    bool addressesByIndex() const override { return false; }
    bool supports(TCDInterface iface) const override { return iface != TCDInterface::cdiASPI; }

    ScsiOutcome execute(const DriveLocation &drive, const ScsiRequest &request) override
    {
        ScsiOutcome outcome;
        DWORD error = 0;
        // A media change or a stale handle is worth one more try on a fresh handle.
        for (int attempt = 0; attempt < 2; ++attempt) {
            HANDLE h = openDrive(drive.node, GENERIC_READ | GENERIC_WRITE);
            if (h == INVALID_HANDLE_VALUE) {
                outcome.stage = OutcomeStage::Mapped;
                outcome.sysError = int(GetLastError());
                outcome.presetCode = errOther;
                return outcome;
            }
            PassThroughWithSense block{};
            block.spt.Length = sizeof(PassThroughDirect);
            block.spt.CdbLength = UCHAR(std::min<std::size_t>(request.cdbLength, 16));
            block.spt.SenseInfoLength = sizeof block.sense;
            block.spt.DataIn = request.direction == ScsiDirection::In    ? kDataIn
                               : request.direction == ScsiDirection::Out ? kDataOut
                                                                         : kNoData;
            block.spt.DataTransferLength = ULONG(request.dataLength);
            block.spt.TimeOutValue = std::max<ULONG>(request.timeoutMs / 1000, kMinimumTimeoutSeconds);
            block.spt.DataBuffer = request.data;
            block.spt.SenseInfoOffset = ULONG(offsetof(PassThroughWithSense, sense));
            std::memcpy(block.spt.Cdb, request.cdb, block.spt.CdbLength);
            DWORD returned = 0;
            const BOOL ok = DeviceIoControl(h, kIoctlScsiPassThroughDirect, &block, sizeof block, &block,
                                            sizeof block, &returned, nullptr);
            error = ok ? 0 : GetLastError();
            CloseHandle(h);
            if (ok) {
                outcome.stage = OutcomeStage::Completed;
                outcome.scsiStatus = block.spt.ScsiStatus;
                outcome.residual = std::int32_t(request.dataLength - std::min<std::size_t>(
                                                                         block.spt.DataTransferLength,
                                                                         request.dataLength));
                if (block.spt.ScsiStatus == 0x02) {
                    std::memcpy(outcome.sense.data(), block.sense, sizeof block.sense);
                    outcome.senseLength = sizeof block.sense;
                }
                return outcome;
            }
            if (error != ERROR_MEDIA_CHANGED && error != ERROR_INVALID_HANDLE)
                break;
        }
        outcome.stage = OutcomeStage::Mapped;
        outcome.sysError = int(error);
        outcome.presetCode = errOther;
        return outcome;
    }

    void reportTocFailure(const ScsiOutcome &outcome) override
    {
        if (outcome.stage != OutcomeStage::Mapped)
            return;
        switch (DWORD(outcome.sysError)) {
        case ERROR_ACCESS_DENIED:
            ReportDiscMessage(DiscMessage::AdminPrivileges,
                              "You must have Administor privileges to use SPTI under Win2000/XP; falling back to "
                              "IOCTL. This may cause erroneous results if a Mixed-Mode CD is in the drive.");
            break;
        case ERROR_IO_DEVICE:
        case ERROR_NO_SYSTEM_RESOURCES:
            break;
        default:
            ReportDiscMessage(DiscMessage::IoError, "IO Error: " + std::to_string(outcome.sysError) + "\n\r",
                              "Error");
            break;
        }
    }

    std::optional<IoctlToc> readTocIoctl(const DriveLocation &drive) override
    {
        HANDLE h = openDrive(drive.node, GENERIC_READ);
        if (h == INVALID_HANDLE_VALUE)
            return std::nullopt;
        std::uint8_t toc[804] = {};
        DWORD returned = 0;
        const BOOL ok = DeviceIoControl(h, kIoctlCdromReadToc, nullptr, 0, toc, sizeof toc, &returned, nullptr);
        CloseHandle(h);
        if (!ok)
            return std::nullopt;
        IoctlToc result;
        result.firstTrack = toc[2];
        result.lastTrack = toc[3];
        const int count = std::min(int(result.lastTrack) - int(result.firstTrack) + 2, 100);
        for (int i = 0; i < count; ++i) {
            const std::uint8_t *d = toc + 4 + i * 8;
            result.entries.push_back({d[2], std::uint8_t(d[1] & 0x0F), d[5], d[6], d[7]});
        }
        return result;
    }
};

} // namespace

std::unique_ptr<ScsiTransport> makeSptiTransport() { return std::make_unique<SptiTransport>(); }

std::unique_ptr<ScsiTransport> makeSystemTransport()
{
    // Every Windows this program runs on is of the NT family; ASPI stays for cdiASPI.
    return makeSptiTransport();
}

} // namespace quillon::disc
