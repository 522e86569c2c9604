#pragma once
// A job once its checks have passed: the image-size run, the tool run, the chaining of a
// second command, the CD Plus pause between the audio and the data part, cancelling and the
// verdict. Everything is driven by the runner's events and timers on the user-interface
// thread; nothing here waits in a nested event loop, so a termination, a Cancel or the
// dialog closing can arrive at any point and each finds the job in a named phase.
#include "engine/BuiltCommand.h"
#include "engine/JobLog.h"
#include "engine/JobType.h"
#include "engine/MsInfoReader.h"
#include "engine/OutputParser.h"
#include "engine/ToolLauncher.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace quillon {

class AppPaths;
class JobDrives;
class LogView;
class Prompter;
class ScreenSaverInhibitor;

// The data part of a CD Plus job, composed once the audio part is on the disc and the disc's
// multisession information is known.
struct CdPlusDataPart {
    int recorder = -1;       // FCdPlusRecorder: the drive whose tray is closed and read
    QChar msDriveLetter;     // MsDriveLetter: the drive whose disc is awaited
    bool imageFirst = false; // the image file is written first and then recorded
    bool calcSize = false;   // the data part's track size is calculated first
    std::function<BuiltCommand(const QString &msInfo)> build;
    std::function<void(const QString &msInfo)> storeMsInfo;
};

class JobRun : public QObject {
    Q_OBJECT
public:
    enum class Phase {
        Ready,
        SizeRun,     // FCalcSize: the image-size run of Start
        SizeDone,    // the size is known; Start goes on from the event loop
        Running,     // a tool command (or the rip loop) runs
        ChainWait,   // the next command starts when TimerDosCommand fires
        DoorWait,    // CD Plus: the recorder's tray closes and the disc is awaited
        MsInfoRead,  // CD Plus: the disc's multisession information is read
        DataSizeRun, // CD Plus: the data part's image-size run
    };

    JobRun(const AppPaths &paths, Prompter &prompter, LogView &log, QObject *parent = nullptr);
    ~JobRun() override;

    ToolLauncher &launcher() { return m_launcher; }
    ConsoleRunner &runner() { return m_launcher.runner(); }
    OutputParser &parser() { return m_parser; }
    JobLog &jobLog() { return m_jobLog; }
    void setDrives(JobDrives *drives) { m_drives = drives; }
    void setScreenSaver(ScreenSaverInhibitor *inhibitor) { m_screenSaver = inhibitor; }
    // The CD Plus door wait: the pause before the first load, the check interval and the limit.
    void setDoorTimings(int firstMs, int stepMs, int limitMs);

    Phase phase() const { return m_phase; }
    bool busy() const { return m_phase != Phase::Ready; }
    bool FCalcSize() const { return m_phase == Phase::SizeRun || m_phase == Phase::DataSizeRun; }
    bool FFinished() const { return m_finished; }
    bool FCdPlusAudio() const { return m_cdPlus.has_value(); }

    // The image-size run; sizeCalculated() follows unless the run was cancelled, which gives
    // the aborted verdict.
    void startSizeRun(const ToolCommand &sizeCommand, TJobType jobType);
    // Starts the job's command text (the runner's command line of the job dialog). With a
    // data part the text is the audio part of a CD Plus job. False when nothing started.
    bool startRun(const QString &commandText, bool onTheFly, TJobType jobType,
                  std::optional<CdPlusDataPart> dataPart = std::nullopt);
    // The rip loop runs the runner itself and ends with finishRip.
    void beginRip();
    void finishRip(int exitCode);
    // The user confirmed terminating the job.
    void abort();
    // The dialog closes: everything still running or pending ends, without a verdict.
    void shutDown();

signals:
    // The size run ended: the track size, or nothing after its error line.
    void sizeCalculated(std::optional<qint64> sectors);
    // The Cancel button's state, as the CD Plus pause changes it.
    void cancelAllowed(bool allowed);
    // A chained command is about to start.
    void chainedStarting();
    // The job has ended; the verdict's lines are in the log.
    void verdictGiven(const quillon::OutputParser::Verdict &verdict);

private:
    void onTerminated();
    void giveVerdict(int exitCode);
    void enterRun(TJobType jobType);
    void beginDoorWait();
    void onDoorTimer();
    void onMsInfo(const QString &msInfo);
    void failDataPart();
    void startDataPart(BuiltCommand command);
    void line(const QString &text, bool toFile = false);
    void redLine(const QString &text);

    const AppPaths &m_paths;
    ToolLauncher m_launcher;
    JobLog m_jobLog;
    OutputParser m_parser;
    MsInfoReader m_msInfo;
    JobDrives *m_drives = nullptr;
    ScreenSaverInhibitor *m_screenSaver = nullptr;
    Phase m_phase = Phase::Ready;
    TJobType m_jobType = jtBuildImage;
    bool m_finished = true;
    bool m_rip = false;
    bool m_shutDown = false;
    std::optional<CdPlusDataPart> m_cdPlus; // set while the audio part runs or the pause lasts
    BuiltCommand m_dataPart;
    QTimer m_sizeDone;
    std::optional<qint64> m_size;
    QTimer m_doorTimer;
    QElapsedTimer m_doorClock;
    bool m_trayLoaded = false;
    int m_doorChecks = 0;
    int m_doorFirstMs = 1000;
    int m_doorStepMs = 200;
    int m_doorLimitMs = 60000;
};

} // namespace quillon
