#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

namespace {
QString cleanDir(const QString &dir) { return withTrailingSeparator(QDir::toNativeSeparators(QDir::cleanPath(dir))); }
} // namespace

QString withTrailingSeparator(const QString &dir)
{
    if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir;
    return dir + QDir::separator();
}

AppPaths::AppPaths(const Roots &roots)
    : m_programFolder(cleanDir(roots.programFolder))
    , m_configDir(cleanDir(roots.configDir))
    , m_dataDir(cleanDir(roots.dataDir))
{
    m_toolsDir = m_programFolder + QStringLiteral("CdrTools") + QDir::separator();
    const QString cache = cleanDir(roots.cacheDir);
    m_tempFolder = cache + QStringLiteral("Temp - do NOT touch");
    m_workDir = cache;
}

AppPaths AppPaths::forRunningProgram()
{
    const QString program = QCoreApplication::applicationDirPath();
#ifdef Q_OS_WIN
    return AppPaths({program, program, program, program});
#else
    auto xdg = [](QStandardPaths::StandardLocation where) {
        return QStandardPaths::writableLocation(where) + QStringLiteral("/quillon");
    };
    return AppPaths({program, xdg(QStandardPaths::GenericConfigLocation),
                     xdg(QStandardPaths::GenericDataLocation), xdg(QStandardPaths::GenericCacheLocation)});
#endif
}

void AppPaths::setToolsDir(const QString &dir) { m_toolsDir = cleanDir(dir); }

QString AppPaths::executableSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral(".exe");
#else
    return {};
#endif
}

QString AppPaths::toolPath(const QString &bareName) const { return m_toolsDir + bareName + executableSuffix(); }

QString AppPaths::settingsFile() const
{
#ifdef Q_OS_WIN
    // The settings file and the data file differ only in letter case; on a case-blind file
    // system they must not share a folder, so the settings get a folder of their own.
    return m_configDir + QStringLiteral("Settings\\Quillon.ini");
#else
    return m_configDir + QStringLiteral("Quillon.ini");
#endif
}

QString AppPaths::dataFile() const { return m_dataDir + QStringLiteral("quillon.ini"); }
QString AppPaths::dataFileBackup() const { return m_dataDir + QStringLiteral("quillon.bak"); }
QString AppPaths::registryFile() const { return m_configDir + QStringLiteral("registry.ini"); }
QString AppPaths::titlesStore() const { return m_dataDir + QStringLiteral("CDDB.ini"); }

bool AppPaths::ensureWritableDirs() const
{
    QDir dir;
    bool ok = true;
    for (const QString &d : {m_configDir, m_dataDir, m_workDir})
        ok = dir.mkpath(d) && ok;
    ok = dir.mkpath(QFileInfo(settingsFile()).absolutePath()) && ok;
    return ok;
}

} // namespace quillon
