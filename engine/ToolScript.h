#pragma once
// The shell script "script.txt" that runs a pipe of two tools (or, in a visible terminal,
// two steps one after the other).
//
// Every word of the script is a single-quoted shell word, so no character of a file name,
// volume name or title is ever interpreted by the shell, and names keep their backslashes.
// A POSIX shell reports only the last program of a pipe; the script records the first one's
// status in a file beside it and exits with the first non-zero status of the two, so a failed
// image builder feeding the recorder never reads as success.
#include "engine/CommandLine.h"

#include <QString>

namespace quillon {

class AppPaths;
class Prompter;

class ToolScript {
public:
    enum class Join {
        Pipe,  // first | second, both statuses count
        Steps, // first, then second only when the first succeeded
    };

    explicit ToolScript(const AppPaths &paths);

    // In the writable work folder: the tool folder is read-only on Linux.
    QString scriptFile() const;
    QString statusFile() const;

    // The script's text: "#!sh", the cd line (when withCd), then the body lines. Line ends are
    // LF for the POSIX shell on Linux and CR LF where the Windows shell runs it.
    QString scriptText(const QStringList &body, bool withCd) const;
    // The body for one command or two joined commands; every program is called as ./name.
    QStringList toolBody(const QList<ToolCommand> &commands, Join join) const;

    // Writes the script file. On failure, when prompter is given, shows "Error writing to
    // file " + the script's path, caption "Error"; returns false.
    bool writeScript(const QStringList &body, bool withCd, Prompter *showErrors) const;
    bool writeToolScript(const QList<ToolCommand> &commands, Join join, Prompter *showErrors) const;

    // How the runner starts the script: the tool folder's sh with the script's path.
    QString shellProgram() const;
    QStringList shellArguments() const { return {scriptFile()}; }

private:
    QString word(const QString &text) const;

    const AppPaths &m_paths;
};

} // namespace quillon
