#pragma once
// A plain start of a program (rip post-processing, the multisession-info reader, the audio
// tools), optionally waiting for its end while the user interface stays alive.
#include <QString>

#include <functional>

namespace quillon {

class Prompter;

class ProgramRunner {
public:
    enum WindowState { wsHidden = 0, wsNormal = 1, wsMinimized = 6 };
    // What a failed start returns, at once, without waiting.
    static constexpr int StartFailed = -1;

    explicit ProgramRunner(Prompter &prompter);

    // The main window's abort flag, polled while waiting.
    void setAbortRequested(std::function<bool()> abortRequested) { m_abort = std::move(abortRequested); }
    void setPollInterval(int milliseconds) { m_pollMs = milliseconds; }

    // Starts program with parameters (split by the command-line rules) in the program's own
    // folder. Without wait the result is 0. A failed start sets programRunFailed(), shows
    // "Error executing " + the command line (caption "External program error") and returns
    // StartFailed. While waiting, events are pumped when pump is set and this is the user-
    // interface thread; an abort leaves the wait and returns -1 for a tool still running.
    int runProgram(const QString &program, const QString &parameters, int windowState, bool wait, bool pump);
    bool programRunFailed() const { return m_failed; }

    // The command line as the message shows it: a program path with a blank is quoted.
    static QString commandLineText(const QString &program, const QString &parameters);

private:
    Prompter &m_prompter;
    std::function<bool()> m_abort;
    int m_pollMs = 100;
    bool m_failed = false;
};

} // namespace quillon
