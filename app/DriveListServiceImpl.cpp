#include "app/DriveListServiceImpl.h"

#include "discaccess/DeviceAccess.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "trackprobe/Trackprobe.h"

namespace quillon {

disc::SessionInfoFunction TrackprobeSessionInfo()
{
    return [](std::uint32_t id, disc::TCDSessionInfo *info, std::uint8_t *error) {
        ::SessionInfo(id, info, error);
    };
}

DriveListServiceImpl::DriveListServiceImpl(Prompter *prompter)
{
    installMessages(prompter);
    disc::StartDiscAccess();
    m_drives = std::make_unique<disc::TkseCDDrives>();
    m_drives->SetSessionInfoFunction(TrackprobeSessionInfo());
    qCDebug(lcQuillon) << "drive list:" << m_drives->Count() << "drive(s)";
}

DriveListServiceImpl::DriveListServiceImpl(disc::SessionInfoFunction sessionInfo, Prompter *prompter)
{
    installMessages(prompter);
    m_drives = std::make_unique<disc::TkseCDDrives>();
    m_drives->SetSessionInfoFunction(std::move(sessionInfo));
}

DriveListServiceImpl::~DriveListServiceImpl()
{
    m_drives.reset();
    disc::SetDiscMessageHandler(nullptr);
}

void DriveListServiceImpl::installMessages(Prompter *prompter)
{
    disc::SetDiscMessageHandler([prompter](disc::DiscMessage kind, const std::string &text,
                                           const std::string &caption) {
        if (kind == disc::DiscMessage::Internal || !prompter) {
            qCDebug(lcQuillon) << "disc access:" << QString::fromStdString(text);
            return;
        }
        prompter->inform(QString::fromStdString(text), QString::fromStdString(caption), PromptIcon::Warning);
    });
}

int DriveListServiceImpl::count() const
{
    return m_drives ? m_drives->Count() : 0;
}

QString DriveListServiceImpl::driveLetter(int index) const
{
    if (!m_drives || index < 0 || index >= m_drives->Count())
        return {};
    return QString(QChar::fromLatin1(m_drives->DriveLetter(index)));
}

bool DriveListServiceImpl::aspiFoundDevice() const
{
    const disc::TCDDriveTable &table = disc::ProcessDriveTable();
    for (int i = 0; i < std::min<int>(table.Count, disc::kDriveTableSize); ++i)
        if (table.Drives[std::size_t(i)].Valid == 1)
            return true;
    return false;
}

} // namespace quillon
