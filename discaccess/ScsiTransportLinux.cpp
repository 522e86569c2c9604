#include "discaccess/ScsiTransportLinux.h"

#include "discaccess/DeviceAccess.h"
#include "discaccess/SysfsDrives.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quillon::disc {

namespace {

// Commands the kernel's filter lets through only on a node opened for writing.
bool isWriteCommand(std::uint8_t opcode)
{
    switch (opcode) {
    case 0x1B: // START STOP UNIT
    case 0x1E: // PREVENT ALLOW MEDIUM REMOVAL
        return true;
    default:
        return false;
    }
}

} // namespace

LinuxSystemCalls LinuxSystemCalls::real()
{
    LinuxSystemCalls calls;
    calls.open = [](const char *path, int flags) { return ::open(path, flags); };
    calls.ioctl = [](int fd, unsigned long request, void *argument) { return ::ioctl(fd, request, argument); };
    calls.close = [](int fd) { return ::close(fd); };
    return calls;
}

std::unique_ptr<ScsiTransport> makeSystemTransport() { return std::make_unique<LinuxScsiTransport>(); }

LinuxScsiTransport::LinuxScsiTransport(std::string sysRoot, std::string devRoot, LinuxSystemCalls calls,
                                       std::string mountsFile)
    : m_sysRoot(std::move(sysRoot))
    , m_devRoot(std::move(devRoot))
    , m_calls(std::move(calls))
    , m_mountsFile(std::move(mountsFile))
{
}

std::vector<DriveLocation> LinuxScsiTransport::listDrives()
{
    std::vector<DriveLocation> drives = enumerateSysfsDrives(m_sysRoot);
    for (DriveLocation &d : drives)
        d.mountPoint = mountPointOf(m_mountsFile, m_devRoot + "/" + d.node);
    return drives;
}

bool LinuxScsiTransport::needsWriteAccess(const ScsiRequest &request)
{
    return request.direction == ScsiDirection::Out || (request.cdb && isWriteCommand(request.cdb[0]));
}

int LinuxScsiTransport::openNode(const DriveLocation &drive, bool write, int &error)
{
    // O_NONBLOCK: without it the kernel refuses an empty drive, pulls the tray in and locks
    // the door.
    const std::string path = m_devRoot + "/" + drive.node;
    int fd = m_calls.open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    error = fd < 0 ? errno : 0;
    if (fd < 0 && write && (error == EACCES || error == EROFS)) {
        fd = m_calls.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        error = fd < 0 ? errno : 0;
    }
    return fd;
}

ScsiOutcome LinuxScsiTransport::execute(const DriveLocation &drive, const ScsiRequest &request)
{
    ScsiOutcome outcome;
    int error = 0;
    const int fd = openNode(drive, needsWriteAccess(request), error);
    if (fd < 0) {
        outcome.stage = OutcomeStage::OpenFailed;
        outcome.sysError = error;
        return outcome;
    }
    sg_io_hdr_t header{};
    header.interface_id = 'S';
    header.cmd_len = static_cast<unsigned char>(request.cdbLength);
    header.cmdp = const_cast<unsigned char *>(request.cdb);
    switch (request.direction) {
    case ScsiDirection::In:
        header.dxfer_direction = SG_DXFER_FROM_DEV;
        break;
    case ScsiDirection::Out:
        header.dxfer_direction = SG_DXFER_TO_DEV;
        break;
    case ScsiDirection::None:
        header.dxfer_direction = SG_DXFER_NONE;
        break;
    }
    if (request.direction != ScsiDirection::None) {
        header.dxfer_len = static_cast<unsigned int>(request.dataLength);
        header.dxferp = request.data;
    }
    header.mx_sb_len = static_cast<unsigned char>(outcome.sense.size());
    header.sbp = outcome.sense.data();
    header.timeout = std::max(request.timeoutMs, kMinimumSgTimeoutMs);

    const int rc = m_calls.ioctl(fd, SG_IO, &header);
    error = rc < 0 ? errno : 0;
    m_calls.close(fd);
    if (rc < 0) {
        outcome.stage = OutcomeStage::SendFailed;
        outcome.sysError = error;
        return outcome;
    }
    // The raw status byte: masked_status is shifted and loses the low bit.
    outcome.scsiStatus = header.status;
    outcome.hostStatus = header.host_status;
    outcome.driverStatus = header.driver_status;
    outcome.residual = header.resid;
    outcome.senseLength = std::min<std::uint8_t>(header.sb_len_wr, std::uint8_t(outcome.sense.size()));
    return outcome;
}

std::optional<DoorState> LinuxScsiTransport::doorState(const DriveLocation &drive)
{
    int error = 0;
    const int fd = openNode(drive, false, error);
    if (fd < 0)
        return std::nullopt;
    const int status = m_calls.ioctl(fd, CDROM_DRIVE_STATUS, reinterpret_cast<void *>(CDSL_CURRENT));
    m_calls.close(fd);
    switch (status) {
    case CDS_NO_DISC:
        return DoorState::NoDisc;
    case CDS_TRAY_OPEN:
        return DoorState::TrayOpen;
    case CDS_DRIVE_NOT_READY:
        return DoorState::NotReady;
    case CDS_DISC_OK:
        return DoorState::DiscPresent;
    default:
        return DoorState::Unknown;
    }
}

std::optional<std::uint8_t> LinuxScsiTransport::moveTray(const DriveLocation &drive, bool load)
{
    int error = 0;
    const int fd = openNode(drive, false, error);
    if (fd < 0) {
        ScsiOutcome failed;
        failed.stage = OutcomeStage::OpenFailed;
        failed.sysError = error;
        return codeFromOutcome(failed);
    }
    const int rc = m_calls.ioctl(fd, load ? CDROMCLOSETRAY : CDROMEJECT, nullptr);
    error = rc < 0 ? errno : 0;
    m_calls.close(fd);
    if (rc >= 0)
        return errOk;
    switch (error) {
    case EBUSY: // mounted, or held open by another program
        return errDriveInUse;
    case ENOTTY:
    case ENOSYS:
    case EINVAL:
        return std::nullopt; // no tray ioctl here: START STOP UNIT it is
    default: {
        ScsiOutcome failed;
        failed.stage = OutcomeStage::SendFailed;
        failed.sysError = error;
        return codeFromOutcome(failed);
    }
    }
}

std::optional<IoctlToc> LinuxScsiTransport::readTocIoctl(const DriveLocation &drive)
{
    int error = 0;
    const int fd = openNode(drive, false, error);
    if (fd < 0)
        return std::nullopt;
    IoctlToc toc;
    cdrom_tochdr header{};
    bool ok = m_calls.ioctl(fd, CDROMREADTOCHDR, &header) >= 0 && header.cdth_trk0 <= header.cdth_trk1 &&
              header.cdth_trk1 - header.cdth_trk0 < 100;
    if (ok) {
        toc.firstTrack = header.cdth_trk0;
        toc.lastTrack = header.cdth_trk1;
        for (int t = header.cdth_trk0; ok && t <= header.cdth_trk1 + 1; ++t) {
            cdrom_tocentry entry{};
            entry.cdte_track = static_cast<unsigned char>(t > header.cdth_trk1 ? CDROM_LEADOUT : t);
            entry.cdte_format = CDROM_MSF;
            ok = m_calls.ioctl(fd, CDROMREADTOCENTRY, &entry) >= 0;
            IoctlToc::Entry e;
            e.track = entry.cdte_track;
            e.control = entry.cdte_ctrl;
            e.minute = entry.cdte_addr.msf.minute;
            e.second = entry.cdte_addr.msf.second;
            e.frame = entry.cdte_addr.msf.frame;
            toc.entries.push_back(e);
        }
    }
    m_calls.close(fd);
    if (!ok)
        return std::nullopt;
    return toc;
}

} // namespace quillon::disc
