#include "engine/JobLog.h"

#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

JobLog::JobLog(const QString &dataDir, Prompter &prompter)
    : m_dataDir(dataDir)
    , m_prompter(prompter)
    , m_encoder(QStringEncoder::System)
{
}

QString JobLog::resolveName(const QString &fileName) const
{
    if (fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\')) ||
        QDir::isAbsolutePath(fileName))
        return fileName;
    return withTrailingSeparator(m_dataDir) + fileName;
}

bool JobLog::open(const QString &fileName, const QString &caption, const QString &commandLine)
{
    close();
    const QString name = resolveName(fileName);
    bool ok = !fileName.isEmpty();
    if (ok && QFileInfo::exists(name)) {
        const QString backup = name + QStringLiteral(".bak");
        if (QFileInfo::exists(backup) && !QFile::remove(backup))
            ok = false;
        if (ok && !QFile::rename(name, backup))
            ok = false;
    }
    if (ok) {
        if (name != fileName) // the data folder may not be there yet; a user's folder is
            QDir().mkpath(m_dataDir);
        m_file.setFileName(name);
        ok = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    if (!ok) {
        qCWarning(lcQuillon) << "cannot create the job log" << name << m_file.errorString();
        m_prompter.error(QStringLiteral("I can't create log file ") + fileName, QStringLiteral("Log error"));
        return false;
    }
    m_open = true;
    logToFile(caption);
    logToFile(QString());
    logToFile(commandLine);
    logToFile(QString());
    return true;
}

void JobLog::logToFile(const QString &line)
{
    if (!m_open)
        return;
    const QByteArray bytes = m_encoder.encode(line) + "\r\n";
    if (m_file.write(bytes) != bytes.size()) {
        qCWarning(lcQuillon) << "job log write failed, closing it" << m_file.errorString();
        close();
    }
}

void JobLog::close()
{
    if (m_file.isOpen())
        m_file.close();
    m_open = false;
}

} // namespace quillon
