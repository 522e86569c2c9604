#pragma once
// Opening web addresses and files with the desktop. Behind an interface so that tests never
// start a browser.
#include <QString>

namespace quillon {

class BrowserLauncher {
public:
    virtual ~BrowserLauncher() = default;
    // Starts the user's web browser on the address; false when nothing could handle it.
    virtual bool openUrl(const QString &address) = 0;
};

// The desktop's own handler (QDesktopServices).
class DesktopBrowserLauncher : public BrowserLauncher {
public:
    bool openUrl(const QString &address) override;
};

} // namespace quillon
