#include "platform/OnlineCheck.h"

#include <QHostInfo>

namespace quillon {

bool HostAddressOnlineCheck::addressesMeanOnline(const QList<QHostAddress> &addresses)
{
    // The last address of the host's list decides, as it always has; loopback (127.0.0.0/8,
    // ::1) and an empty list mean no network.
    if (addresses.isEmpty())
        return false;
    const QHostAddress &last = addresses.last();
    return !last.isNull() && !last.isLoopback();
}

bool HostAddressOnlineCheck::isOnline()
{
    if (m_running)
        return false;
    m_running = true;
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    m_running = false;
    return addressesMeanOnline(info.addresses());
}

} // namespace quillon
