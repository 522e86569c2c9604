#pragma once
// Whether the machine is on a network. A stock Debian maps the host name to 127.0.1.1, so
// an address test must treat the whole loopback range as offline.
#include <QHostAddress>
#include <QList>

namespace quillon {

class OnlineCheck {
public:
    virtual ~OnlineCheck() = default;
    virtual bool isOnline() = 0;
};

// The address test: online when the last address found for the local host name is neither
// missing nor a loopback address. A test already running counts as offline.
class HostAddressOnlineCheck : public OnlineCheck {
public:
    bool isOnline() override;
    static bool addressesMeanOnline(const QList<QHostAddress> &addresses);

private:
    bool m_running = false;
};

} // namespace quillon
