#include "platform/DebugLog.h"
#include "platform/ScreenSaver.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

namespace quillon {

struct SystemScreenSaverInhibitor::Handles {
    uint cookie = 0;
    bool screenSaver = false;
    QDBusUnixFileDescriptor idleLock; // logind keeps the inhibitor while this stays open
};

namespace {
// A service that is registered but hangs must not freeze the job's start.
constexpr int callTimeoutMs = 2000;
}

SystemScreenSaverInhibitor::SystemScreenSaverInhibitor() : m_handles(std::make_unique<Handles>()) {}

SystemScreenSaverInhibitor::~SystemScreenSaverInhibitor() { release(); }

void SystemScreenSaverInhibitor::inhibit(const QString &reason)
{
    if (m_held)
        return;
    m_held = true;
    const QString app = QCoreApplication::applicationName();
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        QDBusInterface saver(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                             QStringLiteral("org.freedesktop.ScreenSaver"), session);
        saver.setTimeout(callTimeoutMs);
        const QDBusReply<uint> reply = saver.call(QStringLiteral("Inhibit"), app, reason);
        if (reply.isValid()) {
            m_handles->cookie = reply.value();
            m_handles->screenSaver = true;
        } else {
            qCInfo(lcQuillon) << "screen saver not inhibited:" << reply.error().message();
        }
    }
    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected()) {
        QDBusInterface logind(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                              QStringLiteral("org.freedesktop.login1.Manager"), system);
        logind.setTimeout(callTimeoutMs);
        const QDBusReply<QDBusUnixFileDescriptor> reply =
            logind.call(QStringLiteral("Inhibit"), QStringLiteral("idle:sleep"), app, reason, QStringLiteral("block"));
        if (reply.isValid())
            m_handles->idleLock = reply.value();
        else
            qCInfo(lcQuillon) << "idle sleep not inhibited:" << reply.error().message();
    }
}

void SystemScreenSaverInhibitor::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (m_handles->screenSaver) {
        QDBusInterface saver(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                             QStringLiteral("org.freedesktop.ScreenSaver"), QDBusConnection::sessionBus());
        saver.setTimeout(callTimeoutMs);
        saver.call(QStringLiteral("UnInhibit"), m_handles->cookie);
        m_handles->screenSaver = false;
    }
    m_handles->idleLock = QDBusUnixFileDescriptor();
}

} // namespace quillon
