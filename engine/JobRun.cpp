#include "engine/JobRun.h"

#include "engine/ImageCommand.h"
#include "engine/JobHost.h"
#include "engine/RecorderCommands.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/ScreenSaver.h"

namespace quillon {

JobRun::JobRun(const AppPaths &paths, Prompter &prompter, LogView &log, QObject *parent)
    : QObject(parent)
    , m_paths(paths)
    , m_launcher(paths, prompter)
    , m_jobLog(paths.dataDir(), prompter)
    , m_parser(log, &m_jobLog, prompter)
    , m_msInfo(paths)
{
    connect(&runner(), &ConsoleRunner::newLine, &m_parser, &OutputParser::onNewLine);
    connect(&runner(), &ConsoleRunner::error, &m_parser, &OutputParser::onError);
    connect(&runner(), &ConsoleRunner::terminated, this, &JobRun::onTerminated);
    connect(&m_launcher, &ToolLauncher::chainedStarting, this, [this] {
        m_phase = Phase::Running;
        m_parser.resetOutputType();
        emit chainedStarting();
    });
    // Start goes on after the size run from the event loop, never from inside the runner's
    // own termination.
    m_sizeDone.setSingleShot(true);
    m_sizeDone.setInterval(0);
    connect(&m_sizeDone, &QTimer::timeout, this, [this] {
        m_phase = Phase::Ready;
        m_finished = true;
        emit sizeCalculated(m_size);
    });
    m_doorTimer.setSingleShot(true);
    connect(&m_doorTimer, &QTimer::timeout, this, &JobRun::onDoorTimer);
    connect(&m_msInfo, &MsInfoReader::finished, this, &JobRun::onMsInfo);
}

JobRun::~JobRun() { shutDown(); }

void JobRun::setDoorTimings(int firstMs, int stepMs, int limitMs)
{
    m_doorFirstMs = firstMs;
    m_doorStepMs = stepMs;
    m_doorLimitMs = limitMs;
}

void JobRun::line(const QString &text, bool toFile)
{
    m_parser.addLogLine(LogColour::Normal, text);
    if (toFile)
        m_parser.logToFile(text);
}

void JobRun::redLine(const QString &text)
{
    m_parser.addRedLine(text);
    m_parser.logToFile(text);
}

void JobRun::enterRun(TJobType jobType)
{
    m_shutDown = false;
    m_jobType = jobType;
    m_finished = false;
    m_rip = false;
    m_cdPlus.reset();
    m_launcher.clearNextCommand();
    // Building an image or ripping writes no disc; a screen saver does no harm there.
    if (m_screenSaver && jobType != jtBuildImage && jobType != jtRipAudio)
        m_screenSaver->inhibit(QStringLiteral("A disc is being written"));
}

void JobRun::startSizeRun(const ToolCommand &sizeCommand, TJobType jobType)
{
    enterRun(jobType);
    m_phase = Phase::SizeRun;
    runner().executeTool(sizeCommand, m_paths.toolsDir());
}

bool JobRun::startRun(const QString &commandText, bool onTheFly, TJobType jobType,
                      std::optional<CdPlusDataPart> dataPart)
{
    enterRun(jobType);
    m_cdPlus = std::move(dataPart);
    m_phase = Phase::Running;
    if (!m_launcher.start(commandText, onTheFly)) {
        m_cdPlus.reset();
        m_phase = Phase::Ready;
        m_finished = true;
        if (m_screenSaver)
            m_screenSaver->release();
        return false;
    }
    return true;
}

void JobRun::beginRip()
{
    enterRun(jtRipAudio);
    m_rip = true;
    m_phase = Phase::Running;
}

void JobRun::finishRip(int exitCode)
{
    if (m_rip && m_phase == Phase::Running)
        giveVerdict(exitCode);
}

void JobRun::onTerminated()
{
    if (m_shutDown)
        return;
    const int code = runner().exitCode();
    const bool aborted = m_parser.FAborted;
    switch (m_phase) {
    case Phase::SizeRun:
        if (!aborted) {
            m_size = code == 0 ? parseImageSize(m_parser.logView().lastLine()) : std::nullopt;
            if (!m_size)
                redLine(QStringLiteral("Error calculating ISO image size!"));
            else
                line(QString());
            if (m_screenSaver)
                m_screenSaver->release();
            m_phase = Phase::SizeDone;
            m_sizeDone.start();
            return;
        }
        break;
    case Phase::DataSizeRun:
        if (!aborted) {
            const std::optional<qint64> sectors =
                code == 0 ? parseImageSize(m_parser.logView().lastLine()) : std::nullopt;
            if (!sectors || !InsertTrackSize(m_dataPart.commands, *sectors)) {
                redLine(QStringLiteral("Error calculating ISO image size!"));
                m_parser.FFailed = true;
                break;
            }
            line(QString());
            startDataPart(m_dataPart);
            m_finished = true;
            return;
        }
        break;
    case Phase::Running:
        // The rip loop reads each track's end itself and gives the verdict.
        if (m_rip) {
            m_finished = true;
            return;
        }
        if (ToolLauncher::chainContinues(code, aborted) && (m_launcher.hasNextCommand() || m_cdPlus)) {
            line(QString());
            if (m_cdPlus) {
                beginDoorWait();
            } else {
                m_phase = Phase::ChainWait;
                m_launcher.runNextCommand();
            }
            m_finished = true;
            return;
        }
        break;
    default:
        qCWarning(lcQuillon) << "job: a termination in phase" << int(m_phase) << "is ignored";
        return;
    }
    giveVerdict(code);
    m_finished = true;
}

void JobRun::giveVerdict(int exitCode)
{
    m_phase = Phase::Ready;
    m_cdPlus.reset();
    m_doorTimer.stop();
    if (m_screenSaver)
        m_screenSaver->release();
    const OutputParser::Verdict v = m_parser.verdict(exitCode);
    m_finished = true;
    emit verdictGiven(v);
}

void JobRun::beginDoorWait()
{
    m_phase = Phase::DoorWait;
    line(QStringLiteral("Closing drive door. Please wait..."));
    // The tray moves and the disc is read again: nothing is being written, so the user may
    // give up here.
    emit cancelAllowed(true);
    m_trayLoaded = false;
    m_doorChecks = 0;
    m_doorClock.start();
    m_doorTimer.start(m_doorFirstMs);
}

void JobRun::onDoorTimer()
{
    if (m_phase != Phase::DoorWait || !m_cdPlus)
        return;
    if (!m_drives) {
        qCWarning(lcQuillon) << "job: no drive list for the CD Plus pause";
        failDataPart();
        return;
    }
    if (!m_trayLoaded) {
        m_trayLoaded = true;
        m_drives->loadTray(m_cdPlus->recorder);
        m_doorTimer.start(m_doorStepMs);
        return;
    }
    const int drive = m_drives->indexOfLetter(m_cdPlus->msDriveLetter);
    if (drive >= 0 && m_drives->discPresent(drive)) {
        const std::optional<QString> device = m_drives->deviceArgument(m_cdPlus->recorder);
        if (!device) {
            failDataPart();
            return;
        }
        m_phase = Phase::MsInfoRead;
        m_msInfo.start(*device);
        return;
    }
    if (m_doorClock.elapsed() >= m_doorLimitMs) {
        qCWarning(lcQuillon) << "job: no disc in drive" << m_cdPlus->msDriveLetter << "after" << m_doorLimitMs << "ms";
        failDataPart();
        return;
    }
    if (++m_doorChecks % 5 == 0)
        m_drives->loadTray(m_cdPlus->recorder);
    m_doorTimer.start(m_doorStepMs);
}

void JobRun::failDataPart()
{
    redLine(QStringLiteral("I can't read session info!"));
    redLine(QStringLiteral("Only audio part was recorded."));
    redLine(QStringLiteral("Data part may (?) be recorded later - you should add session to this CD."));
    m_parser.FFailed = true;
    giveVerdict(0);
}

void JobRun::onMsInfo(const QString &msInfo)
{
    if (m_phase != Phase::MsInfoRead || !m_cdPlus)
        return;
    if (msInfo.isEmpty()) {
        failDataPart();
        return;
    }
    if (m_cdPlus->storeMsInfo)
        m_cdPlus->storeMsInfo(msInfo);
    m_dataPart = m_cdPlus->build ? m_cdPlus->build(msInfo) : BuiltCommand{};
    if (!m_dataPart.runnable()) {
        qCWarning(lcQuillon) << "job: the data part cannot run:" << m_dataPart.error;
        failDataPart();
        return;
    }
    // The size of the data part is known only now that it continues the audio session.
    if (m_cdPlus->calcSize && !m_cdPlus->imageFirst) {
        m_phase = Phase::DataSizeRun;
        line(QStringLiteral("Calculating ISO image size..."));
        m_parser.resetOutputType();
        runner().executeTool(SizeCommand(m_dataPart.commands.first()), m_paths.toolsDir());
        return;
    }
    startDataPart(m_dataPart);
}

void JobRun::startDataPart(BuiltCommand command)
{
    const QString text = command.text();
    const bool pipe = !m_cdPlus->imageFirst;
    line(QString(), true);
    line(m_launcher.echoLine(text), true);
    if (!m_launcher.startLater(text, pipe)) {
        redLine(QStringLiteral("Error writing to ") + m_paths.toolsDir() + QStringLiteral("script.txt"));
        m_parser.FFailed = true;
        giveVerdict(0);
        return;
    }
    m_phase = Phase::ChainWait;
    emit cancelAllowed(false);
    m_cdPlus.reset();
    line(QStringLiteral("Now recording data part of CD."));
    line(QString());
}

void JobRun::abort()
{
    m_parser.FAborted = true;
    switch (m_phase) {
    case Phase::DoorWait:
    case Phase::MsInfoRead:
        m_doorTimer.stop();
        m_msInfo.cancel();
        giveVerdict(0);
        break;
    case Phase::ChainWait:
        m_launcher.cancelPendingStart();
        giveVerdict(0);
        break;
    case Phase::SizeDone:
        m_sizeDone.stop();
        giveVerdict(0);
        break;
    case Phase::SizeRun:
    case Phase::DataSizeRun:
    case Phase::Running:
        // A rip lets its current track finish; the loop reads the flag.
        if (!m_rip)
            runner().stop();
        break;
    case Phase::Ready:
        break;
    }
}

void JobRun::shutDown()
{
    m_shutDown = true;
    m_sizeDone.stop();
    m_doorTimer.stop();
    m_msInfo.cancel();
    m_launcher.cancelPendingStart();
    if (runner().isRunning())
        runner().stop();
    if (m_screenSaver)
        m_screenSaver->release();
    m_cdPlus.reset();
    m_phase = Phase::Ready;
    m_finished = true;
}

} // namespace quillon
