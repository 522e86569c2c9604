#include "engine/ProgramRunner.h"

#include "engine/CommandLine.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace quillon {

ProgramRunner::ProgramRunner(Prompter &prompter)
    : m_prompter(prompter)
{
}

QString ProgramRunner::commandLineText(const QString &program, const QString &parameters)
{
    if (program.contains(QLatin1Char(' ')) && !program.startsWith(QLatin1Char('"')))
        return QLatin1Char('"') + program + QStringLiteral("\" ") + parameters;
    return program + QLatin1Char(' ') + parameters;
}

int ProgramRunner::runProgram(const QString &program, const QString &parameters, int windowState, bool wait,
                              bool pump)
{
    m_failed = false;
    const QString commandLine = commandLineText(program, parameters);
    QString path = program;
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    const QStringList arguments = CommandLine::splitArguments(parameters);
    const QString folder = QFileInfo(path).absolutePath();
    // A window state only means something where programs have console windows of their own.
    Q_UNUSED(windowState);

    auto fail = [&] {
        m_failed = true;
        qCWarning(lcQuillon) << "cannot start" << commandLine;
        m_prompter.error(QStringLiteral("Error executing ") + commandLine, QStringLiteral("External program error"));
        return StartFailed;
    };
    if (!wait) {
        if (!QProcess::startDetached(path, arguments, folder))
            return fail();
        return 0;
    }
    // On the heap: when the wait is left through an abort the program goes on by itself, and
    // its QProcess goes when it ends.
    auto *process = new QProcess;
    process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(path, arguments);
    if (!process->waitForStarted(-1)) {
        delete process;
        return fail();
    }
    const bool mayPump = pump && QCoreApplication::instance() &&
                         QThread::currentThread() == QCoreApplication::instance()->thread();
    while (process->state() != QProcess::NotRunning) {
        if (process->waitForFinished(m_pollMs))
            break;
        if (mayPump)
            QCoreApplication::processEvents();
        if (m_abort && m_abort() && process->state() != QProcess::NotRunning) {
            qCInfo(lcQuillon) << "stopped waiting for" << commandLine;
            QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
            return -1;
        }
    }
    const int code = process->exitStatus() == QProcess::CrashExit
                         ? 128 + (process->exitCode() > 0 ? process->exitCode() : 9)
                         : process->exitCode();
    delete process;
    return code;
}

} // namespace quillon
