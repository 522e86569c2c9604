#include "engine/ConsoleRunner.h"

#include "engine/ProcessGroup.h"
#include "platform/DebugLog.h"

#include <QElapsedTimer>

namespace quillon {

ConsoleRunner::ConsoleRunner(QObject *parent)
    : QObject(parent)
{
    m_deliveryTimer.setSingleShot(true);
    m_deliveryTimer.setInterval(0);
    connect(&m_deliveryTimer, &QTimer::timeout, this, &ConsoleRunner::deliver);
    m_graceTimer.setSingleShot(true);
    m_graceTimer.setInterval(3000);
    connect(&m_graceTimer, &QTimer::timeout, this, [this] {
        if (m_process && m_process->state() != QProcess::NotRunning) {
            qCWarning(lcQuillon) << "tool ignored the interrupt, killing its process group";
            processgroup::kill(*m_process);
        }
    });
}

ConsoleRunner::~ConsoleRunner()
{
    if (m_process) {
        m_process->disconnect(this);
        if (m_process->state() != QProcess::NotRunning) {
            processgroup::kill(*m_process);
            m_process->waitForFinished(1000);
        }
    }
}

qint64 ConsoleRunner::processId() const { return m_process ? m_process->processId() : 0; }

void ConsoleRunner::executeTool(const ToolCommand &command, const QString &toolsDir)
{
    if (command.isEmpty())
        return;
    execute(CommandLine::programPath(toolsDir, command.first()), command.mid(1), toolsDir);
}

void ConsoleRunner::execute(const QString &program, const QStringList &arguments, const QString &workingDir)
{
    if (program.isEmpty())
        return;
    if (m_active) {
        qCWarning(lcQuillon) << "console runner: a tool is still running, not starting" << program;
        return;
    }
    if (m_process)
        m_process.release()->deleteLater();
    m_process = std::make_unique<QProcess>();
    m_cutter.reset();
    m_events.clear();
    m_exitCode = 0;
    m_active = true;
    m_processEnded = false;
    m_stopped = false;

    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setWorkingDirectory(workingDir);
    processgroup::prepare(*m_process);
    connect(m_process.get(), &QProcess::readyRead, this, &ConsoleRunner::readOutput);
    connect(m_process.get(), &QProcess::finished, this, &ConsoleRunner::onFinished);
    connect(m_process.get(), &QProcess::errorOccurred, this, &ConsoleRunner::onProcessError);
    m_process->start(program, arguments, QIODevice::ReadWrite);
}

void ConsoleRunner::stop()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_stopped = true;
    m_process->write("\x03\x03\x03", 3);
    processgroup::interrupt(*m_process);
    m_graceTimer.start();
}

void ConsoleRunner::readOutput()
{
    if (!m_process)
        return;
    const QByteArray bytes = m_process->readAll();
    if (bytes.isEmpty())
        return;
    m_cutter.feed(bytes, [this](const QString &line, int type) {
        // A growing line still waiting for delivery is superseded by its longer self.
        if (type == 1 && !m_events.empty() && m_events.back().type == 1)
            m_events.back().text = line;
        else if (!m_events.empty() && m_events.back().type == 1 && type == 0)
            m_events.back() = Event{line, 0};
        else
            m_events.push_back(Event{line, type});
    });
    scheduleDelivery();
}

void ConsoleRunner::onFinished(int code, QProcess::ExitStatus status)
{
    readOutput();
    m_graceTimer.stop();
    if (m_stopped)
        m_exitCode = 0;
    else if (status == QProcess::CrashExit)
        m_exitCode = 128 + (code > 0 ? code : 9);
    else
        m_exitCode = code;
    m_cutter.finish([this](const QString &line, int type) {
        if (!m_events.empty() && m_events.back().type == 1)
            m_events.back() = Event{line, type};
        else
            m_events.push_back(Event{line, type});
    });
    m_processEnded = true;
    scheduleDelivery();
}

void ConsoleRunner::onProcessError(QProcess::ProcessError e)
{
    if (e != QProcess::FailedToStart)
        return;
    qCWarning(lcQuillon) << "console runner could not start" << m_process->program() << m_process->errorString();
    m_exitCode = -1;
    emit error(QStringLiteral("Error creating process"));
    m_processEnded = true;
    scheduleDelivery();
}

void ConsoleRunner::scheduleDelivery()
{
    if (!m_inDelivery && !m_deliveryTimer.isActive())
        m_deliveryTimer.start();
}

void ConsoleRunner::deliver()
{
    m_inDelivery = true;
    QElapsedTimer clock;
    clock.start();
    int sinceCheck = 0;
    while (!m_events.empty()) {
        Event e = std::move(m_events.front());
        m_events.pop_front();
        emit newLine(e.text, e.type);
        if (++sinceCheck >= 32) {
            sinceCheck = 0;
            if (clock.elapsed() >= m_sliceMs)
                break;
        }
    }
    m_inDelivery = false;
    if (!m_events.empty()) {
        m_deliveryTimer.start();
        return;
    }
    if (m_processEnded && m_active) {
        m_active = false;
        emit terminated();
    }
}

} // namespace quillon
