#include "platform/PowerOff.h"

#include "platform/DebugLog.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace quillon {

// A normal power-off through logind: other sessions' inhibitors and policy are honoured,
// and programs get the chance to save their work.
bool SystemPowerOff::requestPowerOff(QString *reason)
{
    QDBusInterface manager(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                           QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
    if (!manager.isValid()) {
        if (reason)
            *reason = QStringLiteral("The system's login manager cannot be reached: %1")
                          .arg(manager.lastError().message());
        return false;
    }
    const QDBusReply<QString> can = manager.call(QStringLiteral("CanPowerOff"));
    if (can.isValid() && (can.value() == QLatin1String("no") || can.value() == QLatin1String("na"))) {
        if (reason)
            *reason = QStringLiteral("The system does not allow this user to switch the computer off.");
        return false;
    }
    const QDBusReply<void> done = manager.call(QStringLiteral("PowerOff"), true);
    if (!done.isValid()) {
        if (reason)
            *reason = done.error().message();
        qCWarning(lcQuillon) << "power-off refused:" << done.error().name() << done.error().message();
        return false;
    }
    return true;
}

} // namespace quillon
