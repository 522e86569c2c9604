#include "engine/DiscJobDrives.h"

#include "discaccess/CDDrives.h"
#include "discaccess/ModePageCommands.h"
#include "settings/OptionsModel.h"

#include <cmath>

namespace quillon {

using namespace disc;

DiscJobDrives::DiscJobDrives(TkseCDDrives &drives, const OptionsModel &options) : m_drives(drives), m_options(options)
{
}

int DiscJobDrives::count() const { return m_drives.Count(); }

int DiscJobDrives::recorderIndex() const
{
    const int index = m_options.ComboCDs();
    return valid(index) ? index : -1;
}

QChar DiscJobDrives::letter(int index) const
{
    return valid(index) ? QChar(QLatin1Char(m_drives.DriveLetter(index))) : QChar();
}

bool DiscJobDrives::canWrite(int index)
{
    if (!valid(index))
        return false;
    TModeSenseReply reply{};
    m_drives.Drive(index).GetCapabilities2(reply);
    return CapabilitiesPage(reply).canWrite();
}

int DiscJobDrives::maxWriteSpeed(int index)
{
    if (!valid(index))
        return 0;
    TModeSenseReply reply{};
    m_drives.Drive(index).GetCapabilities2(reply);
    // 1x on a CD is 176.4 kB/s.
    return int(std::lround(CapabilitiesPage(reply).maxWriteSpeed() / 176.4));
}

JobDiscState DiscJobDrives::discState(int index)
{
    if (!valid(index))
        return JobDiscState::Unknown;
    TkseCDDrive &drive = m_drives.Drive(index);
    if (!drive.IsReady())
        return JobDiscState::NoDisc;
    switch (drive.GetDiscState()) {
    case TDiscState::dsBlank:
        return JobDiscState::Blank;
    case TDiscState::dsAppendable:
        return JobDiscState::Appendable;
    case TDiscState::dsClosed:
        return JobDiscState::Closed;
    case TDiscState::dsUnknown:
        break;
    }
    return JobDiscState::Unknown;
}

qint64 DiscJobDrives::capacitySectors(int index) { return valid(index) ? m_drives.Drive(index).GetDiscCapacity() : 0; }

bool DiscJobDrives::discPresent(int index) { return valid(index) && m_drives.Drive(index).IsReady(); }

qint64 DiscJobDrives::discSizeSectors(int index)
{
    if (!discPresent(index))
        return 0;
    TkseCDDrive &drive = m_drives.Drive(index);
    const std::uint32_t last = drive.GetLastLba();
    return drive.LastError == errOk ? qint64(last) + 1 : 0;
}

void DiscJobDrives::loadTray(int index)
{
    if (valid(index))
        m_drives.Drive(index).CloseTray();
}

std::optional<QString> DiscJobDrives::deviceArgument(int index) const
{
    if (!valid(index))
        return std::nullopt;
    if (deviceOverride)
        return deviceOverride(index);
    const std::string arg = ToolDeviceArgument(m_drives.Reference(index));
    if (arg.empty())
        return std::nullopt;
    return QString::fromStdString(arg);
}

} // namespace quillon
