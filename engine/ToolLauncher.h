#pragma once
// How a job's command runs: directly, as a chain of two commands (an image made first and
// recorded afterwards), through the script for an on-the-fly pipe, or in a visible terminal.
// The job dialog composes the command text and decides when to chain; this class starts it.
#include "engine/CommandLine.h"
#include "engine/ConsoleRunner.h"
#include "engine/ToolScript.h"

#include <QObject>
#include <QTimer>

namespace quillon {

class AppPaths;
class Prompter;
class ProgramRunner;

class ToolLauncher : public QObject {
    Q_OBJECT
public:
    enum class Way { Direct, Chain, ScriptedPipe };

    ToolLauncher(const AppPaths &paths, Prompter &prompter, QObject *parent = nullptr);

    ConsoleRunner &runner() { return m_runner; }
    const ToolScript &script() const { return m_script; }

    // Starts the command text of the command-line field. A pipe runs through the script when
    // onTheFly is set; otherwise its second command becomes the next command of a chain.
    // Returns false when nothing started: the text cannot be read ("The command line cannot
    // be read: " + the reason, caption "Error") or the script cannot be written.
    bool start(const QString &commandText, bool onTheFly);
    Way way() const { return m_way; }
    // What the dialog echoes into the log before starting: the tool folder and the command.
    QString echoLine(const QString &commandText) const;

    // FNextCommand: the second command of a two-step job.
    bool hasNextCommand() const { return !m_next.isEmpty(); }
    ToolCommand nextCommand() const { return m_next; }
    void setNextCommand(const ToolCommand &command) { m_next = command; }
    void clearNextCommand() { m_next.clear(); }
    // The next command runs 500 ms from now through TimerDosCommand; chainedStarting() comes
    // first, so the dialog can clear its per-run output state.
    void runNextCommand();
    // Starts a whole command text 500 ms from now through TimerDosCommand, as start() would
    // run it; the script of a pipe is written at once. False when nothing will start.
    bool startLater(const QString &commandText, bool onTheFly);
    // A pending delayed start is dropped (the job was cancelled in between).
    void cancelPendingStart();
    bool startPending() const { return m_timerDosCommand.isActive(); }
    QTimer &timerDosCommand() { return m_timerDosCommand; }
    // A chain goes on only after a clean exit of a job that was not aborted.
    static bool chainContinues(int exitCode, bool aborted) { return exitCode == 0 && !aborted; }

    // The visible shell: the command (one, two steps, or a pipe) is written as the script and
    // opened in a terminal of its own; nothing is captured or waited for. A two-step job runs
    // its second step only when the first succeeded.
    bool runThroughShell(const QString &commandText, bool onTheFly, ProgramRunner &programs);
    // The terminal and the arguments before the shell's (x-terminal-emulator -e by default).
    void setTerminal(const QString &program, const QStringList &arguments);

signals:
    void chainedStarting();

private:
    bool parse(const QString &commandText, QList<ToolCommand> &commands);
    // Reads the text, writes the script of a pipe and sets the way and the next command;
    // `first` is what the runner starts.
    bool prepare(const QString &commandText, bool onTheFly, ToolCommand &first);

    const AppPaths &m_paths;
    Prompter &m_prompter;
    ConsoleRunner m_runner;
    ToolScript m_script;
    QTimer m_timerDosCommand;
    ToolCommand m_next;
    ToolCommand m_pendingStart;
    Way m_way = Way::Direct;
    QString m_terminal = QStringLiteral("x-terminal-emulator");
    QStringList m_terminalArguments{QStringLiteral("-e")};
};

} // namespace quillon
