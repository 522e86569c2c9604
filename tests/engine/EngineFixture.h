#pragma once
// Shared set-up for the engine tests: a tool folder of their own in a temporary folder
// (holding the small test programs, or the real tools under their bare names), paths whose
// work and data folders lie in the same temporary folder, and a wait that keeps the event loop
// running.
#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

namespace quillon::test {

inline QString engineFixture(const QString &name)
{
    return QStringLiteral(QUILLON_FIXTURES "/engine/") + name;
}

inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

class ToolFolder {
public:
    // toolsSubdir may hold blanks and shell-live characters, as a user's folder can.
    explicit ToolFolder(const QString &toolsSubdir = QStringLiteral("Cdr Tools $(x)"))
        : m_paths({m_temp.path() + "/program", m_temp.path() + "/config", m_temp.path() + "/data",
                   m_temp.path() + "/cache"})
    {
        m_paths.setToolsDir(m_temp.path() + "/" + toolsSubdir);
        QDir().mkpath(m_paths.toolsDir());
        QDir().mkpath(m_paths.workDir());
        QDir().mkpath(m_paths.dataDir());
        link(QStringLiteral("sh"), QStringLiteral("/bin/sh"));
    }
    AppPaths &paths() { return m_paths; }
    QString root() const { return m_temp.path(); }
    QString tools() const { return m_paths.toolsDir(); }

    // A test program from the fixtures under the given bare name.
    void addFixture(const QString &fixture, const QString &asName)
    {
        link(asName, engineFixture(fixture));
    }
    // A real tool from the system under the given bare name; false when it is not installed.
    bool addSystemTool(const QString &systemName, const QString &asName)
    {
        const QString where = QStandardPaths::findExecutable(systemName);
        if (where.isEmpty())
            return false;
        link(asName, where);
        return true;
    }
    void link(const QString &name, const QString &target)
    {
        QFile::remove(m_paths.toolsDir() + name);
        QFile::link(target, m_paths.toolsDir() + name);
    }
    void copy(const QString &name, const QString &source)
    {
        QFile::remove(m_paths.toolsDir() + name);
        QFile::copy(source, m_paths.toolsDir() + name);
    }

private:
    QTemporaryDir m_temp;
    AppPaths m_paths;
};

// The arguments a "recordargs" test program received, read from its files.
inline QStringList recordedArguments(const QString &toolsDir, const QString &name)
{
    QStringList out;
    const QString dir = toolsDir + name + ".args/";
    for (int i = 1;; ++i) {
        QFile f(dir + QString::number(i));
        if (!f.open(QIODevice::ReadOnly))
            break;
        out << QString::fromUtf8(f.readAll());
    }
    return out;
}

} // namespace quillon::test
