#pragma once
// The console runner: one hidden tool process at a time, its standard output and standard
// error merged into one pipe and a second pipe feeding its input.
//
// Output arrives as lines (newLine with output type 0 for a complete line, 1 for the
// beginning of a line still growing), on the thread that owns the runner, in output order.
// Lines are delivered in slices of a few milliseconds, so a tool that floods its output
// never freezes the user interface. terminated() comes once, after the last line.
#include "engine/CommandLine.h"
#include "engine/LineCutter.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <deque>
#include <memory>

namespace quillon {

class ConsoleRunner : public QObject {
    Q_OBJECT
public:
    explicit ConsoleRunner(QObject *parent = nullptr);
    ~ConsoleRunner() override;

    // Starts program with arguments in workingDir. An empty program does nothing.
    // A start failure reports error() and then terminated().
    void execute(const QString &program, const QStringList &arguments, const QString &workingDir);
    // A parsed command (program first), made absolute in toolsDir, run with toolsDir as its
    // working folder.
    void executeTool(const ToolCommand &command, const QString &toolsDir);

    // Three Ctrl-C characters to the input, SIGINT to the process group, and SIGKILL when the
    // tool is still there after the grace period. The exit code of a stopped run is 0.
    void stop();
    void setStopGrace(int milliseconds) { m_graceTimer.setInterval(milliseconds); }

    bool isRunning() const { return m_active; }
    // The process exit code, read after terminated(); a tool killed by a signal counts as
    // 128 plus the signal number, a start failure as -1.
    int exitCode() const { return m_exitCode; }
    qint64 processId() const;

    // The longest stretch spent delivering lines before yielding to the event loop.
    void setDeliverySlice(int milliseconds) { m_sliceMs = milliseconds; }

signals:
    void newLine(const QString &text, int outputType);
    void terminated();
    void error(const QString &text);

private:
    void readOutput();
    void onFinished(int code, QProcess::ExitStatus status);
    void onProcessError(QProcess::ProcessError e);
    void deliver();
    void scheduleDelivery();

    struct Event {
        QString text;
        int type;
    };
    std::unique_ptr<QProcess> m_process;
    LineCutter m_cutter;
    std::deque<Event> m_events;
    QTimer m_deliveryTimer;
    QTimer m_graceTimer;
    int m_sliceMs = 8;
    int m_exitCode = 0;
    bool m_active = false;      // between execute and terminated()
    bool m_processEnded = false;
    bool m_stopped = false;
    bool m_inDelivery = false;
};

} // namespace quillon
