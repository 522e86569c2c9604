#include "platform/BrowserLauncher.h"

#include "platform/DebugLog.h"

#include <QDesktopServices>
#include <QUrl>

namespace quillon {

bool DesktopBrowserLauncher::openUrl(const QString &address)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid()) {
        qCWarning(lcQuillon) << "not a web address:" << address;
        return false;
    }
    const bool ok = QDesktopServices::openUrl(url);
    if (!ok)
        qCWarning(lcQuillon) << "no handler opened" << url.toString();
    return ok;
}

} // namespace quillon
