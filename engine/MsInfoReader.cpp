#include "engine/MsInfoReader.h"

#include "engine/CommandLine.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"

#include <QRegularExpression>

namespace quillon {

MsInfoReader::MsInfoReader(const AppPaths &paths, QObject *parent) : QObject(parent), m_paths(paths) {}

MsInfoReader::~MsInfoReader() { cancel(); }

QString MsInfoReader::parse(const QByteArray &output)
{
    QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'));
    for (QString &l : lines)
        l = l.trimmed();
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return QString();
    static const QRegularExpression info(QStringLiteral("^\\d+,\\d+$"));
    return info.match(lines.last()).hasMatch() ? lines.last() : QString();
}

void MsInfoReader::start(const QString &device)
{
    cancel();
    m_process = std::make_unique<QProcess>();
    // Only the information goes to standard output; the tool's chatter stays out of it.
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setWorkingDirectory(m_paths.toolsDir());
    QProcess *p = m_process.get();
    auto done = [this, p](const QString &result) {
        if (m_process.get() != p)
            return;
        m_process.release()->deleteLater();
        emit finished(result);
    };
    connect(p, &QProcess::finished, this, [p, done](int code, QProcess::ExitStatus status) {
        const QByteArray out = p->readAllStandardOutput();
        if (status != QProcess::NormalExit || code != 0) {
            qCInfo(lcQuillon) << "multisession information not read, exit code" << code << p->readAllStandardError();
            done(QString());
            return;
        }
        done(parse(out));
    });
    connect(p, &QProcess::errorOccurred, this, [p, done](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            qCWarning(lcQuillon) << "cannot start the recorder program:" << p->errorString();
            done(QString());
        }
    });
    p->start(CommandLine::programPath(m_paths.toolsDir(), QStringLiteral("cdrecord")),
             {QStringLiteral("-msinfo"), QStringLiteral("dev=") + device});
}

void MsInfoReader::cancel()
{
    if (!m_process)
        return;
    QProcess *p = m_process.release();
    p->disconnect(this);
    p->kill();
    p->waitForFinished(2000);
    p->deleteLater();
}

} // namespace quillon
