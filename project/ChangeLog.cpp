#include "project/ChangeLog.h"

#include "platform/DebugLog.h"

namespace quillon {

bool ChangeLog::open(const QString &path)
{
    close();
    m_written = false;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qCWarning(lcQuillon) << "change log not created:" << path << m_file.errorString();
        return false;
    }
    return true;
}

void ChangeLog::close()
{
    if (m_file.isOpen())
        m_file.close();
}

void ChangeLog::renamed(const QString &sourcePath, const QString &newPath)
{
    line(QStringLiteral("RENAMED ") + sourcePath);
    line(QStringLiteral("  -> ") + newPath);
}

void ChangeLog::notAdded(const QString &sourcePath)
{
    line(QStringLiteral("NOT ADDED ") + sourcePath);
}

void ChangeLog::line(const QString &text)
{
    if (!m_file.isOpen())
        return;
    m_file.write((text + QLatin1Char('\n')).toUtf8());
    m_written = true;
}

} // namespace quillon
