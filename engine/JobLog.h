#pragma once
// The job's log file: created at Start (the previous one kept as ".bak"), fed with every
// complete tool line and the engine's own messages, closed at the verdict.
#include <QFile>
#include <QString>
#include <QStringEncoder>

namespace quillon {

class Prompter;

class JobLog {
public:
    JobLog(const QString &dataDir, Prompter &prompter);

    // The save dialog's file name ("1.log" by default); a name without a folder goes to the
    // data folder, since the program folder is read-only on Linux.
    QString resolveName(const QString &fileName) const;

    // Rotates an existing log to name + ".bak", creates the file and writes the dialog's
    // caption, an empty line, the command-line text and an empty line. On failure shows
    // "I can't create log file " + fileName (caption "Log error") and stays closed.
    bool open(const QString &fileName, const QString &caption, const QString &commandLine);
    // Writes one line; does nothing while the file is not open.
    void logToFile(const QString &line);
    void close();
    bool isOpen() const { return m_open; } // FLogOpen
    QString fileName() const { return m_file.fileName(); }

private:
    QString m_dataDir;
    Prompter &m_prompter;
    QFile m_file;
    QStringEncoder m_encoder;
    bool m_open = false;
};

} // namespace quillon
