#pragma once
// The main window's drive list: the disc-access layer's TkseCDDrives, with Trackprobe's
// SessionInfo as its session reader. Only Quillon binds Trackprobe; Spindeck's drive list
// has no session method.
#include "app/AppServices.h"
#include "discaccess/CDDrives.h"

#include <memory>

namespace quillon {

class Prompter;

class DriveListServiceImpl : public DriveListService {
public:
    // Builds the process drive table through the system's transport, then the list.
    // Disc-access notices go to the prompter (when given), internal errors to the debug log.
    explicit DriveListServiceImpl(Prompter *prompter = nullptr);
    // Builds the list over whatever transport and table are installed already, with this
    // session reader: the end-to-end tests use the library's emulated variant.
    DriveListServiceImpl(disc::SessionInfoFunction sessionInfo, Prompter *prompter);
    ~DriveListServiceImpl() override;

    bool built() const override { return m_drives != nullptr; }
    int count() const override;
    QString driveLetter(int index) const override;
    bool aspiFoundDevice() const override;

    disc::TkseCDDrives &drives() { return *m_drives; }

private:
    void installMessages(Prompter *prompter);
    std::unique_ptr<disc::TkseCDDrives> m_drives;
};

// Trackprobe's export, the one the program imports.
disc::SessionInfoFunction TrackprobeSessionInfo();

} // namespace quillon
