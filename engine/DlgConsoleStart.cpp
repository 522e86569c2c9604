// The Start button of the execution dialog: every check in order, then the run.
#include "engine/DlgConsoleU.h"

#include "engine/LogWindow.h"
#include "engine/ProgramRunner.h"
#include "engine/ProgressPanel.h"
#include "engine/SpeedSteps.h"
#include "platform/AppPaths.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "project/ProjectModel.h"
#include "settings/OptionsModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

namespace quillon {

namespace {
const QString cannotWrite = QStringLiteral("Cannot write");
const QString noRecorderText = QStringLiteral("Please select your recorder.");
const QString noRecorderCaption = QStringLiteral("No recorder selected");
} // namespace

bool TDlgConsole::isRecordingJob() const
{
    return (FJobType >= jtDataDisc && FJobType <= jtAddSession) || copyOnTheFly();
}

bool TDlgConsole::copyOnTheFly() const { return FJobType == jtCopyDisc && ChkOnTheFly->isChecked(); }

QChar TDlgConsole::letterOf(int driveIndex) const
{
    return driveIndex >= 0 && driveIndex < m_s.drives.count() ? m_s.drives.letter(driveIndex) : QChar();
}

int TDlgConsole::recorderForDisc() const
{
    return !ComboCDs->isHidden() ? ComboCDs->currentIndex() : m_s.drives.recorderIndex();
}

ParserOptions TDlgConsole::parserOptions() const
{
    ParserOptions o;
    o.jobType = FJobType;
    o.chkLog = ChkLog->isChecked();
    o.onTheFly = ChkOnTheFly->isChecked();
    o.createImage = RadioCreateISO->isChecked();
    o.deleteImage = ChkDeleteISO->isChecked() && !ChkDeleteISO->isHidden();
    o.chkOverBurn = ChkOverBurn->isChecked();
    o.chkTest = ChkTest->isChecked();
    o.imageFile = EditFile->text().trimmed();
    return o;
}

void TDlgConsole::BtnStartClick()
{
    // A second press while the first is still asking, or a job still running, does nothing.
    if (m_starting || m_run->busy())
        return;
    m_starting = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_starting};

    // 1.
    FDestDrive.clear();
    m_run->parser().BadRips.clear();
    const bool copyToDrive = copyOnTheFly();
    // 2.
    if (m_s.drives.count() == 0 && FJobType != jtBuildImage) {
        m_s.prompter.inform(QStringLiteral("You have not any CD/DVD drive installed."), QStringLiteral("No drive"),
                            PromptIcon::Warning);
        return;
    }
    // 3.
    if (copyToDrive && ComboCdDest->currentIndex() < 0) {
        m_s.prompter.inform(noRecorderText, noRecorderCaption, PromptIcon::Information);
        ComboCdDest->setFocus();
        return;
    }
    // 4.
    const bool writesDisc = FJobType >= jtDataDisc && FJobType <= jtAddSession;
    if (writesDisc && m_s.drives.recorderIndex() < 0) {
        m_s.prompter.inform(noRecorderText, noRecorderCaption, PromptIcon::Information);
        if (!m_s.host.showOptionsDialog(QStringLiteral("CD writing")))
            return;
        if (m_s.drives.recorderIndex() < 0) {
            m_s.prompter.error(QStringLiteral("I cannot record."), noRecorderCaption);
            return;
        }
        // The command names the recorder just chosen.
        UpdateCmdLn();
    }
    // 5.
    if (m_s.drives.count() > 0 && (writesDisc || copyToDrive)) {
        const int target = copyToDrive ? ComboCdDest->currentIndex() : m_s.drives.recorderIndex();
        if (target >= 0 && !m_s.drives.canWrite(target) &&
            !askYes(QStringLiteral("Are you sure that drive ") + letterOf(target) + QStringLiteral(" supports recording?"),
                    QStringLiteral("Warning"), int(PromptIcon::Warning)))
            return;
    }
    // 6.
    if (!checkDiscs())
        return;
    // 7.
    if (FJobType == jtRipAudio && m_s.options.ChkRip2Mp3() && !QFileInfo::exists(m_s.options.EditLame())) {
        const PromptRequest q{QStringLiteral("You selected to compress ripped files to MP3 but lame.exe has not been "
                                             "found. Do you wish to locate it now?"),
                              QStringLiteral("External program required"), PromptIcon::Error, pbYes | pbNo | pbCancel,
                              pbCancel};
        if (m_s.prompter.ask(q) != pbYes || !m_s.host.showOptionsDialog(QStringLiteral("MP3")) ||
            !QFileInfo::exists(m_s.options.EditLame()))
            return;
    }
    // 8.
    m_run->parser().setOptions(parserOptions());
    m_run->parser().FFailed = false;
    m_run->parser().FAborted = false;
    m_run->parser().FTrackLine = false;
    EditOut->clear();
    Progress->reset();
    m_verdictGiven = false;
    BtnCancel->setText(QStringLiteral("Cancel"));
    BtnCancel->setDefault(false);
    // 9.
    if (!checkByJobType())
        return;
    // 10.
    if ((FJobType == jtAudioDisc || (FJobType == jtCdPlus && !ChkMultisession->isChecked())) &&
        m_s.options.ChkCdText() && !m_s.host.writeTrackInfoFiles())
        return;
    // 11.
    if (FJobType == jtBuildImage || FJobType == jtDataDisc || FJobType == jtCdPlus || FJobType == jtAddSession) {
        m_run->parser().addLogLine(LogColour::Normal, QStringLiteral("Reading directories. Please wait..."));
        m_run->parser().logToFile(QStringLiteral("Reading directories. Please wait..."));
        if (!m_s.host.writePathList())
            return;
    } else {
        m_run->parser().addLogLine(LogColour::Normal, QStringLiteral("Please wait..."));
    }
    // 12. A CD Plus data part gets its size once the audio part is on the disc.
    const bool sizeJob = FJobType == jtDataDisc || FJobType == jtAddSession;
    if (sizeJob && ChkOnTheFly->isChecked() && (m_s.options.ChkCalcSize() || ChkOverBurn->isChecked())) {
        m_run->parser().FAborted = false;
        m_run->jobLog().close();
        setRunControlsEnabled(false);
        m_run->parser().resetOutputType();
        m_run->launcher().clearNextCommand();
        m_run->parser().addLogLine(LogColour::Normal, QStringLiteral("Calculating ISO image size..."));
        const BuiltCommand image = BuildImageCommand(imageInputs(), m_s.options, m_s.paths);
        m_run->startSizeRun(SizeCommand(image.commands.first()), FJobType);
        return; // sizeCalculated goes on
    }
    continueStart(std::nullopt);
}

bool TDlgConsole::checkDiscs()
{
    const bool copyToDrive = copyOnTheFly();
    if (!(FJobType == jtDataDisc || FJobType == jtImageDisc || FJobType == jtAudioDisc || FJobType == jtCdPlus ||
          FJobType == jtAddSession || FJobType == jtCopyDisc))
        return true;
    qint64 capacity = 0;
    // An unreadable disc is not taken for a blank one: the user decides.
    auto unknownDiscOk = [this](int drive) {
        return askYes(QStringLiteral("Quillon cannot read the disc in drive ") + letterOf(drive) +
                          QStringLiteral(". Do you wish to continue?"),
                      QStringLiteral("Unknown disc"), int(PromptIcon::Warning));
    };
    auto complete = [](JobDiscState s) { return s == JobDiscState::Appendable || s == JobDiscState::Closed; };
    // 6.1
    if (FJobType == jtDataDisc || FJobType == jtImageDisc || FJobType == jtAudioDisc || FJobType == jtCdPlus) {
        const int drive = recorderForDisc();
        if (drive >= 0) {
            const JobDiscState state = m_s.drives.discState(drive);
            if (complete(state)) {
                m_s.prompter.error(QStringLiteral("Drive ") + letterOf(drive) + QStringLiteral(" should contain empty disc!"),
                                   cannotWrite);
                return false;
            }
            if (state == JobDiscState::Unknown && !unknownDiscOk(drive))
                return false;
            capacity = m_s.drives.capacitySectors(drive);
            FDestDrive = m_s.drives.selectorText(drive);
        }
    }
    // 6.2
    const int source = ComboCDs->currentIndex();
    if (copyToDrive && ComboCdDest->currentIndex() >= 0) {
        const int dest = ComboCdDest->currentIndex();
        const qint64 sourceSectors = source >= 0 ? m_s.drives.discSizeSectors(source) : 0;
        FNeedMB = int(std::ceil(double(sourceSectors) * 2048.0 / 1048576.0));
        const JobDiscState state = m_s.drives.discState(dest);
        if (complete(state)) {
            m_s.prompter.error(QStringLiteral("Destination drive should contain empty disc!"), cannotWrite);
            return false;
        }
        if (state == JobDiscState::Unknown && !unknownDiscOk(dest))
            return false;
        capacity = m_s.drives.capacitySectors(dest);
        FDestDrive = m_s.drives.selectorText(dest);
    }
    // 6.3
    if (FJobType == jtAddSession) {
        const int drive = recorderForDisc();
        if (drive >= 0) {
            const JobDiscState state = m_s.drives.discState(drive);
            bool continues = complete(state);
            if (state == JobDiscState::Unknown) {
                if (!unknownDiscOk(drive))
                    return false;
                continues = true;
            }
            if (!continues) {
                if (!askYes(QStringLiteral("Disc in drive ") + letterOf(drive) +
                                QStringLiteral(" is not a multisession one so I cannot ADD a session. Should I record "
                                               "on it anyway?"),
                            QStringLiteral("Empty disc"), int(PromptIcon::Question)))
                    return false;
                setJobType(jtDataDisc);
                UpdateCmdLn();
            }
            // The disc about to be written is measured either way.
            capacity = m_s.drives.capacitySectors(drive);
            FDestDrive = m_s.drives.selectorText(drive);
        }
    }
    // 6.4
    const bool copyToFile = FJobType == jtCopyDisc && !copyToDrive;
    if (capacity == 0 && !copyToFile) {
        const QChar letter = !FDestDrive.isEmpty() ? FDestDrive.at(0) : letterOf(recorderForDisc());
        if (!askYes(QStringLiteral("There is no disc in drive ") + letter + QStringLiteral(". Do you wish to continue?"),
                    QStringLiteral("No destination disc"), int(PromptIcon::Question)))
            return false;
    }
    // 6.5
    if (FJobType == jtCopyDisc && (source < 0 || !m_s.drives.discPresent(source))) {
        if (!askYes(QStringLiteral("There is no disc in drive ") + letterOf(source) +
                        QStringLiteral(". Do you wish to continue?"),
                    QStringLiteral("No source disc"), int(PromptIcon::Question)))
            return false;
    }
    // 6.6
    const double capMB = double(capacity) * 2048.0 / 1048576.0;
    if (capMB - FNeedMB > 1.5 || capMB == 0)
        return true;
    if (!(capMB + 12.890625 > FNeedMB) &&
        !askYes(QStringLiteral("Disc capacity seems to be too small even for overburning. Continue recording?"),
                QStringLiteral("Media too small"), int(PromptIcon::Warning)))
        return false;
    if (!ChkOverBurn->isChecked()) {
        const PromptRequest q{QStringLiteral("Official disc capacity may be too small. Should I use overburning?"),
                              QStringLiteral("Overburn"), PromptIcon::Question, pbYes | pbNo | pbCancel, pbCancel};
        const PromptButton answer = m_s.prompter.ask(q);
        if (answer == pbYes) {
            // The user reviews the command with overburning before starting again.
            ChkOverBurn->setChecked(true);
            ChkOverBurnClick();
            return false;
        }
        if (answer != pbNo)
            return false;
    }
    return true;
}

bool TDlgConsole::checkByJobType()
{
    const QString missingName = QStringLiteral("Please specify a filename!");
    const QString missingCaption = QStringLiteral("Missing filename");
    const QString changed = QStringLiteral("ISO file will be changed");
    switch (FJobType) {
    case jtBuildImage:
    case jtDataDisc:
    case jtImageDisc:
    case jtCdPlus:
    case jtAddSession: {
        const int depth = m_s.host.deepestFolderLevel();
        if (depth >= 8 && !m_s.options.ChkDeep()) {
            const PromptRequest q{QStringLiteral("Max allowed folder depth is 8. You can disable this limit but this "
                                                 "disc may be unreadable on some CD drives.\n Do you wish to enable "
                                                 "deep folders?"),
                                  QStringLiteral("Folders nested too deep"), PromptIcon::Question,
                                  pbYes | pbNo | pbCancel, pbCancel};
            const PromptButton answer = m_s.prompter.ask(q);
            if (answer == pbCancel)
                return false;
            if (answer == pbYes) {
                m_s.host.allowDeepFolders();
                UpdateCmdLn();
            }
        }
        m_nameModified = true;
        EditNameExit();
        if (!EditFileExit())
            return false;
        const QString file = EditFile->text();
        if (RadioCreateISO->isChecked() && file.isEmpty()) {
            m_s.prompter.error(missingName, missingCaption);
            return false;
        }
        if (FJobType == jtImageDisc) {
            if (!QFileInfo::exists(file)) {
                m_s.prompter.error(QStringLiteral("Image file doesn't exist!\n") + file, QStringLiteral("Missing file"));
                return false;
            }
        } else if (!file.isEmpty() && QFileInfo::exists(file) && !ChkOnTheFly->isChecked()) {
            if (!askYes(QStringLiteral("File already exists: ") + file + QStringLiteral("\nDo you wish to owerwrite it?"),
                        changed, int(PromptIcon::Question))) {
                EditFile->setFocus();
                return false;
            }
        }
        return true;
    }
    case jtCopyDisc:
        if (ChkOnTheFly->isChecked()) {
            if (ComboCDs->currentIndex() == ComboCdDest->currentIndex()) {
                m_s.prompter.error(QStringLiteral("Source and destionation drives must be different."),
                                   QStringLiteral("The same drives"));
                ComboCDs->setFocus();
                return false;
            }
            const int dest = ComboCdDest->currentIndex();
            if (!m_s.drives.canWrite(dest) &&
                !askYes(QStringLiteral("Are you sure that drive ") + letterOf(dest) + QStringLiteral(" supports recording?"),
                        QStringLiteral("Warning"), int(PromptIcon::Warning))) {
                ComboCDs->setFocus();
                return false;
            }
            return true;
        }
        if (!EditFileExit())
            return false;
        if (EditFile->text().isEmpty()) {
            m_s.prompter.error(missingName, missingCaption);
            return false;
        }
        if (QFileInfo::exists(EditFile->text()) &&
            !askYes(QStringLiteral("File already exists. Do you wish to owerwrite it?"), changed,
                    int(PromptIcon::Question)))
            return false;
        return true;
    case jtRipAudio:
        m_nameModified = true;
        EditNameExit();
        if (EditName->text().isEmpty()) {
            m_s.prompter.inform(QStringLiteral("Please specify album title."), QStringLiteral("Missing name"),
                                PromptIcon::Warning);
            EditName->setFocus();
            return false;
        }
        return true;
    default:
        return true;
    }
}

std::optional<CdPlusDataPart> TDlgConsole::cdPlusDataPart()
{
    if (FJobType != jtCdPlus)
        return std::nullopt;
    CdPlusDataPart part;
    part.recorder = FCdPlusRecorder;
    part.msDriveLetter = m_s.host.project().MsDriveLetter;
    part.imageFirst = RadioCreateISO->isChecked();
    part.calcSize = ChkOnTheFly->isChecked() && (m_s.options.ChkCalcSize() || ChkOverBurn->isChecked());
    const ImageCommandInputs image = imageInputs();
    RecorderInputs recorder = recorderInputs();
    recorder.FCdPlusAudio = false;
    const OptionsModel &options = m_s.options;
    const AppPaths &paths = m_s.paths;
    part.build = [image, recorder, &options, &paths](const QString &msInfo) {
        ImageCommandInputs withSession = image;
        withSession.MsInfo = msInfo;
        return BuildOnTheFlyCommand(withSession, recorder, options, paths);
    };
    ProjectModel *project = &m_s.host.project();
    part.storeMsInfo = [project](const QString &msInfo) { project->MsInfo = msInfo; };
    return part;
}

void TDlgConsole::continueStart(std::optional<qint64> trackSize)
{
    if (m_closed)
        return;
    // 13.
    if ((FJobType == jtBuildImage || FJobType == jtDataDisc || FJobType == jtCopyDisc) && RadioCreateISO->isChecked())
        m_s.host.addRecentFile(EditFile->text());
    // 14. readcd's end sector is not read, so the range ends at the sector count itself.
    const int source = ComboCDs->currentIndex();
    const qint64 sourceSectors =
        FJobType == jtCopyDisc && source >= 0 ? m_s.drives.discSizeSectors(source) : 0;
    if (FJobType == jtCopyDisc && EditCmdLn->text().contains(QLatin1String("sectors=0-0")))
        EditCmdLn->setText(EditCmdLn->text().replace(QLatin1String("sectors=0-0"),
                                                     QStringLiteral("sectors=0-") + QString::number(sourceSectors)));
    // 15.
    if (copyOnTheFly() && source >= 0)
        trackSize = sourceSectors;
    // 16.
    QString command = EditCmdLn->text().trimmed();
    if (trackSize) {
        CommandLine::Parsed parsed = CommandLine::parse(command);
        if (parsed.ok() && InsertTrackSize(parsed.commands, *trackSize))
            command = CommandLine::renderPipe(parsed.commands);
        else
            qCInfo(lcQuillon) << "no track size inserted into" << command;
    }
    const bool onTheFly = ChkOnTheFly->isChecked() && FJobType != jtBuildImage && FJobType != jtImageDisc;
    // 17.
    if (ChkShell->isChecked()) {
        m_run->launcher().runThroughShell(command, onTheFly, *m_programs);
        return;
    }
    // 18.1
    m_run->parser().FAborted = false;
    setRunControlsEnabled(false);
    m_run->parser().resetOutputType();
    m_run->launcher().clearNextCommand();
    // 18.2
    const QString echo = m_run->launcher().echoLine(command);
    m_run->parser().addLogLine(LogColour::Normal, echo);
    m_run->parser().logToFile(echo);
    // 18.3
    const bool recording = isRecordingJob();
    if (recording) {
        m_s.host.setFileBrowserWatching(false);
        m_s.host.setTrayIconActive(false);
    }
    // 18.4 A write under way cannot be cancelled.
    const CommandLine::Parsed parsed = CommandLine::parse(command);
    const bool scriptedPipe = onTheFly && parsed.ok() && parsed.commands.size() == 2;
    if (recording || scriptedPipe) {
        BtnCancel->setEnabled(false);
        BtnMediaDst->setEnabled(false);
    }
    // 18.5
    if (ChkLog->isChecked())
        m_run->jobLog().open(m_run->jobLog().resolveName(QStringLiteral("1.log")), windowTitle(), command);
    // 18.6
    if (FJobType == jtRipAudio) {
        m_run->beginRip();
        m_s.host.ripTracks(*this);
        return;
    }
    // 18.7
    if (FJobType == jtCdPlus) {
        m_run->parser().addLogLine(LogColour::Normal, QStringLiteral("Recording audio part of CD."));
        m_run->parser().addLogLine(LogColour::Normal, QString());
    }
    // 18.8
    if (!m_run->startRun(command, onTheFly, FJobType, cdPlusDataPart())) {
        setRunControlsEnabled(true);
        BtnCancel->setEnabled(true);
        if (recording) {
            m_s.host.setFileBrowserWatching(true);
            m_s.host.setTrayIconActive(true);
        }
        m_run->jobLog().close();
    }
}

} // namespace quillon
