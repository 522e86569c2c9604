#pragma once
// The one owner of every location the program reads or writes. Nothing else builds such paths.
//
// The program folder is read-only on Linux, so writable files live in the XDG folders there:
// config for the settings and the registry file, data for the data file and the titles store,
// cache for the temporary folder and the tools' work files. On Windows they all stay in the
// program folder, the program's traditional home.
#include <QString>

namespace quillon {

class AppPaths {
public:
    struct Roots {
        QString programFolder; // with or without a trailing separator
        QString configDir;
        QString dataDir;
        QString cacheDir;
    };

    // The places of the running program on this OS.
    static AppPaths forRunningProgram();
    // Explicit places (tests, portable set-ups).
    explicit AppPaths(const Roots &roots);

    QString programFolder() const { return m_programFolder; } // trailing separator
    QString toolsDir() const { return m_toolsDir; }           // trailing separator
    void setToolsDir(const QString &dir);                     // a test's own tool folder
    // A tool by its bare name ("cdrecord"), made absolute in the tool folder, with the
    // platform's executable suffix.
    QString toolPath(const QString &bareName) const;
    static QString executableSuffix();

    QString configDir() const { return m_configDir; }
    QString dataDir() const { return m_dataDir; }
    // "Temp - do NOT touch", without a trailing separator.
    QString tempFolder() const { return m_tempFolder; }
    // Where the tools' input and output files go (path list, script, captured listings).
    QString workDir() const { return m_workDir; }

    QString settingsFile() const;       // "Quillon.ini"
    QString dataFile() const;           // "quillon.ini"
    QString dataFileBackup() const;     // "quillon.bak"
    QString registryFile() const;       // the registry's stand-in where there is no registry
    QString titlesStore() const;        // "CDDB.ini"

    // Creates the folders that the program writes into (not the temporary folder, whose
    // life the main window governs). Returns false when one cannot be made.
    bool ensureWritableDirs() const;

private:
    QString m_programFolder;
    QString m_toolsDir;
    QString m_configDir;
    QString m_dataDir;
    QString m_tempFolder;
    QString m_workDir;
};

// Adds the native trailing separator unless the text already ends with one.
QString withTrailingSeparator(const QString &dir);

} // namespace quillon
