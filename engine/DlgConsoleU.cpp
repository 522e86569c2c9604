#include "engine/DlgConsoleU.h"

#include "engine/LogWindow.h"
#include "engine/ProgramRunner.h"
#include "engine/ProgressPanel.h"
#include "engine/SpeedSteps.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "project/ProjectModel.h"
#include "settings/FormStorage.h"
#include "settings/OptionsLists.h"
#include "settings/OptionsModel.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {
const QString sectionName = QStringLiteral("TDlgConsole");
}

QString TDlgConsole::captionOf(TJobType type)
{
    switch (type) {
    case jtBuildImage:
        return QStringLiteral("Build ISO image of data CD - ");
    case jtDataDisc:
    case jtCdPlus:
    case jtAddSession:
        return QStringLiteral("Record disc - ");
    case jtImageDisc:
        return QStringLiteral("Record disc from image - ");
    case jtErase:
        return QStringLiteral("Erase CD-RW disc");
    case jtAudioDisc:
        return QStringLiteral("Record audio disc - ");
    case jtRipAudio:
        return QStringLiteral("Rip audio tracks");
    case jtCopyDisc:
        return QStringLiteral("Copy CD");
    case jtFixate:
        return QStringLiteral("Fixate disc");
    }
    return QString();
}

int TDlgConsole::helpTopicOf(TJobType type)
{
    static constexpr int topics[] = {220, 210, 610, 850, 310, 210, 210, 810, 710, 0};
    return type <= jtFixate ? topics[type] : 0;
}

int TDlgConsole::needMegabytes(const QString &totalText)
{
    QString t = totalText;
    const int slash = int(t.indexOf(QLatin1Char('/')));
    if (slash >= 0)
        t = t.mid(slash + 1);
    const int mb = int(t.indexOf(QLatin1String("MB")));
    if (mb >= 0)
        t = t.left(mb);
    bool ok = false;
    const int value = t.trimmed().toInt(&ok);
    return ok ? value : -1;
}

std::optional<TDlgConsole::FileNameProblem> TDlgConsole::checkFileName(const QString &fileName)
{
    const ImageNameProblem problem = checkImageFileName(fileName.trimmed());
    if (problem == ImageNameProblem::None)
        return std::nullopt;
    return FileNameProblem{imageNameProblemText(problem), imageNameProblemCaption(problem)};
}

TDlgConsole::TDlgConsole(const ConsoleServices &services, QWidget *parent)
    : QDialog(parent)
    , m_s(services)
    , m_programs(std::make_unique<ProgramRunner>(services.prompter))
{
    setObjectName(sectionName);
    buildControls();
    m_run = std::make_unique<JobRun>(m_s.paths, m_s.prompter, *EditOut, this);
    m_run->setDrives(&m_s.drives);
    m_run->setScreenSaver(m_s.screenSaver);
    connect(&m_run->parser(), &OutputParser::progress, Progress, &ProgressPanel::onProgress);
    connect(m_run.get(), &JobRun::sizeCalculated, this, [this](std::optional<qint64> sectors) {
        setRunControlsEnabled(true);
        if (sectors)
            continueStart(sectors);
    });
    connect(m_run.get(), &JobRun::cancelAllowed, this, [this](bool allowed) {
        BtnCancel->setEnabled(allowed);
        BtnMediaDst->setEnabled(allowed && ChkOnTheFly->isEnabled());
    });
    connect(m_run.get(), &JobRun::verdictGiven, this, &TDlgConsole::onVerdict);

    // Creation.
    const int recorder = m_s.drives.recorderIndex();
    const int maxSpeed = recorder >= 0 ? m_s.drives.maxWriteSpeed(recorder) : 0;
    m_snapper = std::make_unique<SpeedSnapper>(m_s.prompter, maxSpeed,
                                               recorder >= 0 ? m_s.drives.letter(recorder) : QChar());
    EditSpeed->setSnapper(m_snapper.get());
    restorePlacement();
    setJobType(jtDataDisc);
}

TDlgConsole::~TDlgConsole()
{
    m_closed = true;
    m_run->shutDown();
    EditSpeed->setSnapper(nullptr);
    // A field losing its focus while the widgets go would call back into a half-gone dialog.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void TDlgConsole::buildControls()
{
    auto *top = new QVBoxLayout(this);

    PanelIso = new QWidget(this);
    auto *iso = new QGridLayout(PanelIso);
    iso->setContentsMargins(0, 0, 0, 0);
    LblName = new QLabel(QStringLiteral("CD volume &name"), PanelIso);
    EditName = new QLineEdit(PanelIso);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setMaxLength(16);
    LblName->setBuddy(EditName);
    BtnProjectProperties = new QToolButton(PanelIso);
    BtnProjectProperties->setText(QStringLiteral("..."));
    BtnProjectProperties->setToolTip(QStringLiteral("Project properties"));
    ComboCDs = new QComboBox(PanelIso);
    ComboCDs->setObjectName(QStringLiteral("ComboCDs"));
    BtnMediaInfo = new QToolButton(PanelIso);
    BtnMediaInfo->setText(QStringLiteral("i"));
    BtnMediaInfo->setToolTip(QStringLiteral("Media information"));
    ComboCdDest = new QComboBox(PanelIso);
    ComboCdDest->setObjectName(QStringLiteral("ComboCdDest"));
    BtnMediaDst = new QToolButton(PanelIso);
    BtnMediaDst->setText(QStringLiteral("i"));
    BtnMediaDst->setToolTip(QStringLiteral("Media information"));
    iso->addWidget(LblName, 0, 0);
    iso->addWidget(EditName, 0, 1);
    iso->addWidget(BtnProjectProperties, 0, 2);
    iso->addWidget(ComboCDs, 0, 3);
    iso->addWidget(BtnMediaInfo, 0, 4);
    iso->addWidget(ComboCdDest, 0, 5);
    iso->addWidget(BtnMediaDst, 0, 6);
    iso->setColumnStretch(1, 1);
    ComboCDs->hide();
    BtnMediaInfo->hide();
    ComboCdDest->hide();

    auto *options = new QHBoxLayout;
    PanelRecord = new QGroupBox(this);
    auto *rec = new QVBoxLayout(PanelRecord);
    ChkMultisession = new QCheckBox(QStringLiteral("Create &multisession disc"), PanelRecord);
    ChkMultisession->setChecked(true);
    LblMultisessionHint = new QLabel(
        QStringLiteral("Disc will be UNREADABLE until you record tracks\nWITHOUTchecking multisession or FIXATE it."),
        PanelRecord);
    LblMultisessionHint->hide();
    ChkOverBurn = new QCheckBox(QStringLiteral("Allow o&verburning"), PanelRecord);
    ChkOverBurn->setToolTip(QStringLiteral("Record several megabytes more than official disc size"));
    ChkTest = new QCheckBox(QStringLiteral("&Test only - no writing"), PanelRecord);
    auto *speedRow = new QHBoxLayout;
    LblSpeed = new QLabel(QStringLiteral("&Speed"), PanelRecord);
    EditSpeed = new SpeedSpinBox(PanelRecord);
    EditSpeed->setObjectName(QStringLiteral("EditSpeed"));
    EditSpeed->setToolTip(QStringLiteral("Use 0 if other speed causes problems"));
    LblSpeed->setBuddy(EditSpeed);
    speedRow->addWidget(LblSpeed);
    speedRow->addWidget(EditSpeed);
    speedRow->addStretch();
    rec->addWidget(ChkMultisession);
    rec->addWidget(LblMultisessionHint);
    rec->addWidget(ChkOverBurn);
    rec->addWidget(ChkTest);
    rec->addLayout(speedRow);
    options->addWidget(PanelRecord);

    PanelCD = new QGroupBox(this);
    auto *cd = new QGridLayout(PanelCD);
    ChkOnTheFly = new QRadioButton(QStringLiteral("On the &fly"), PanelCD);
    ChkOnTheFly->setChecked(true);
    RadioCreateISO = new QRadioButton(QStringLiteral("Create &ISO image"), PanelCD);
    EditFile = new QLineEdit(PanelCD);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    EditFile->setEnabled(false);
    BtnBrowseFile = new QToolButton(PanelCD);
    BtnBrowseFile->setText(QStringLiteral("..."));
    BtnBrowseFile->setEnabled(false);
    ChkDeleteISO = new QCheckBox(QStringLiteral("&Delete image file after successful writing"), PanelCD);
    ChkDeleteISO->setEnabled(false);
    LblPerformer = new QLabel(QStringLiteral("&Performer"), PanelCD);
    EditPerformer = new QLineEdit(PanelCD);
    LblPerformer->setBuddy(EditPerformer);
    LblPerformer->hide();
    EditPerformer->hide();
    LblCDPLusText = new QLabel(QStringLiteral("CD Text is not available on a mixed disc"), PanelCD);
    LblCDPLusText->hide();
    cd->addWidget(ChkOnTheFly, 0, 0);
    cd->addWidget(RadioCreateISO, 0, 1);
    cd->addWidget(EditFile, 1, 0, 1, 2);
    cd->addWidget(BtnBrowseFile, 1, 2);
    cd->addWidget(ChkDeleteISO, 2, 0, 1, 3);
    cd->addWidget(LblPerformer, 3, 0);
    cd->addWidget(EditPerformer, 3, 1, 1, 2);
    cd->addWidget(LblCDPLusText, 4, 0, 1, 3);
    cd->setColumnStretch(1, 1);
    options->addWidget(PanelCD, 1);

    PanelErase = new QGroupBox(QStringLiteral("Erase type:"), this);
    auto *erase = new QVBoxLayout(PanelErase);
    RadioFast = new QRadioButton(QStringLiteral("&Fast - only required area"), PanelErase);
    RadioFast->setChecked(true);
    RadioFull = new QRadioButton(QStringLiteral("Slow - &entire disc"), PanelErase);
    RadioLastSession = new QRadioButton(QStringLiteral("E&rase last session"), PanelErase);
    erase->addWidget(RadioFast);
    erase->addWidget(RadioFull);
    erase->addWidget(RadioLastSession);
    PanelErase->hide();
    options->addWidget(PanelErase);

    top->addWidget(PanelIso);
    top->addLayout(options);

    auto *rip = new QHBoxLayout;
    LblRipDir = new QLabel(QStringLiteral("Save &files to"), this);
    DirRipOutput = new QLineEdit(this);
    LblRipDir->setBuddy(DirRipOutput);
    LblRipDir->hide();
    DirRipOutput->hide();
    LblFixate = new QLabel(QStringLiteral("Fixate (close) multisession disc."), this);
    LblFixate->hide();
    rip->addWidget(LblRipDir);
    rip->addWidget(DirRipOutput, 1);
    rip->addWidget(LblFixate);
    top->addLayout(rip);

    auto *logRow = new QHBoxLayout;
    EditOut = new LogWindow(this);
    EditOut->setObjectName(QStringLiteral("EditOut"));
    Progress = new ProgressPanel(this);
    logRow->addWidget(EditOut, 3);
    logRow->addWidget(Progress, 1);
    top->addLayout(logRow, 1);

    auto *logButtons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("&Options..."), this);
    ChkLog = new QCheckBox(QStringLiteral("S&ave log file"), this);
    ChkLog->setChecked(true);
    RxSpeedButton2 = new QToolButton(this);
    RxSpeedButton2->setText(QStringLiteral("Save log"));
    RxSpeedButton2->setToolTip(QStringLiteral("Save log"));
    logButtons->addWidget(Button1);
    logButtons->addWidget(ChkLog);
    logButtons->addWidget(RxSpeedButton2);
    logButtons->addStretch();
    top->addLayout(logButtons);

    EditCmdLn = new QLineEdit(this);
    EditCmdLn->setObjectName(QStringLiteral("EditCmdLn"));
    top->addWidget(EditCmdLn);

    auto *bottom = new QHBoxLayout;
    ChkShell = new QCheckBox(QStringLiteral("E&xecute through shell"), this);
    ChkShutdown = new QCheckBox(QStringLiteral("Shutdow&n computer on finish"), this);
    BtnStart = new QPushButton(QStringLiteral("&Start"), this);
    BtnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->hide();
    BtnStart->setDefault(true);
    bottom->addWidget(ChkShell);
    bottom->addWidget(ChkShutdown);
    bottom->addStretch();
    bottom->addWidget(BtnStart);
    bottom->addWidget(BtnCancel);
    bottom->addWidget(BtnOK);
    top->addLayout(bottom);

    Eject = new QAction(QStringLiteral("Eject"), this);
    Eject->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    addAction(Eject);
    connect(Eject, &QAction::triggered, this, [this] { m_s.host.ejectOrCloseTray(); });

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, [this] {
        BtnCancel->setDefault(true);
        BtnCancel->setFocus();
        if (!ChkShutdown->isHidden() && ChkShutdown->isChecked())
            m_s.host.shutDownComputer();
    });

    m_runControls = {BtnStart, PanelRecord, PanelCD, EditFile, BtnMediaDst, EditPerformer, PanelErase,
                     ChkShell, EditName, BtnOK, ChkLog, RxSpeedButton2};

    // The user's own changes raise the questions; restoring values does not.
    connect(ChkMultisession, &QCheckBox::clicked, this, &TDlgConsole::ChkMultisessionClick);
    connect(ChkOverBurn, &QCheckBox::clicked, this, &TDlgConsole::ChkOverBurnClick);
    connect(ChkTest, &QCheckBox::clicked, this, &TDlgConsole::UpdateCmdLn);
    connect(ChkOnTheFly, &QRadioButton::clicked, this, &TDlgConsole::onTheFlyToggled);
    connect(RadioCreateISO, &QRadioButton::clicked, this, &TDlgConsole::onTheFlyToggled);
    for (QRadioButton *r : {RadioFast, RadioFull, RadioLastSession})
        connect(r, &QRadioButton::clicked, this, &TDlgConsole::UpdateCmdLn);
    connect(ComboCDs, &QComboBox::activated, this, &TDlgConsole::UpdateCmdLn);
    connect(ComboCdDest, &QComboBox::activated, this, &TDlgConsole::UpdateCmdLn);
    connect(EditSpeed, &QSpinBox::valueChanged, this, &TDlgConsole::UpdateCmdLn);
    connect(EditName, &QLineEdit::textEdited, this, [this] { m_nameModified = true; });
    connect(EditPerformer, &QLineEdit::textEdited, this, [this] { m_nameModified = true; });
    connect(EditName, &QLineEdit::editingFinished, this, &TDlgConsole::EditNameExit);
    connect(EditPerformer, &QLineEdit::editingFinished, this, &TDlgConsole::EditNameExit);
    connect(EditFile, &QLineEdit::textEdited, this, [this] { m_fileModified = true; });
    connect(EditFile, &QLineEdit::editingFinished, this, [this] {
        if (m_fileModified)
            EditFileExit();
    });
    connect(BtnBrowseFile, &QToolButton::clicked, this, &TDlgConsole::EditFileBrowse);
    connect(BtnMediaInfo, &QToolButton::clicked, this, [this] {
        m_s.host.showMediaInfo(!ComboCDs->isHidden() ? ComboCDs->currentIndex() : m_s.drives.recorderIndex());
    });
    connect(BtnMediaDst, &QToolButton::clicked, this, [this] {
        m_s.host.showMediaInfo(!ComboCdDest->isHidden() ? ComboCdDest->currentIndex() : m_s.drives.recorderIndex());
    });
    connect(BtnProjectProperties, &QToolButton::clicked, this, &TDlgConsole::BtnProjectPropertiesClick);
    connect(Button1, &QPushButton::clicked, this, &TDlgConsole::Button1Click);
    connect(RxSpeedButton2, &QToolButton::clicked, this, [this] { EditOut->saveLogAs(m_s.prompter, saveLogFolder); });
    connect(BtnStart, &QPushButton::clicked, this, &TDlgConsole::BtnStartClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TDlgConsole::BtnCancelaClick);
    connect(EditOut, &LogWindow::escapePressed, this, &TDlgConsole::BtnCancelaClick);

    resize(720, 560);
}

void TDlgConsole::restorePlacement()
{
    m_storage = std::make_unique<TFormStorage>(sectionName, 0, this);
    m_storage->addProperty(QStringLiteral("SaveDialog"), QStringLiteral("InitialDir"), PropKind::Text,
                           [this] { return saveLogFolder; }, [this](const QVariant &v) { saveLogFolder = v.toString(); });
    m_storage->addProperty(
        QStringLiteral("EditSpeed"), QStringLiteral("Value"), PropKind::Integer, [this] { return EditSpeed->value(); },
        [this](const QVariant &v) {
            const QSignalBlocker quiet(EditSpeed);
            EditSpeed->setValue(v.toInt());
        });
    // The speed list of earlier versions; its position is still written.
    m_storage->addProperty(QStringLiteral("ComboSpeed"), QStringLiteral("ItemIndex"), PropKind::Integer,
                           [] { return 0; }, [](const QVariant &) {});
    {
        const QSignalBlocker quiet(EditSpeed);
        EditSpeed->setValue(defaultSpeed);
    }
    if (m_s.settings)
        m_storage->restore(*m_s.settings);
}

void TDlgConsole::storePlacement()
{
    if (m_s.settings && m_storage)
        m_storage->save(*m_s.settings);
}

void TDlgConsole::setJobType(TJobType type)
{
    FJobType = type;
    QString caption = captionOf(type);
    const QString total = m_s.host.totalText();
    if (type == jtAudioDisc) {
        const int n = int(m_s.host.audioTracks().size());
        caption += QString::number(n) + QStringLiteral(" track") + (n != 1 ? QStringLiteral("s") : QString()) +
                   QStringLiteral(" - ") + total;
    } else if (caption.endsWith(QLatin1String(" - "))) {
        caption += total;
    }
    setWindowTitle(caption);
    FNeedMB = needMegabytes(total);
}

FunctionRecorderDevices TDlgConsole::devices() const
{
    FunctionRecorderDevices d;
    JobDrives *drives = &m_s.drives;
    d.byIndex = [drives](int i) -> std::optional<QString> {
        if (i < 0 || i >= drives->count())
            return std::nullopt;
        return drives->deviceArgument(i);
    };
    d.byLetter = [drives](QChar l) -> std::optional<QString> {
        const int i = drives->indexOfLetter(l);
        return i >= 0 ? drives->deviceArgument(i) : std::nullopt;
    };
    d.letterOf = [drives](int i) -> std::optional<QChar> {
        if (i < 0 || i >= drives->count())
            return std::nullopt;
        return drives->letter(i);
    };
    return d;
}

ImageCommandInputs TDlgConsole::imageInputs() const
{
    ImageCommandInputs in;
    in.jobType = FJobType;
    in.EditName = EditName->text();
    in.EditFile = EditFile->text().trimmed();
    in.ChkOnTheFly = ChkOnTheFly->isChecked();
    in.ChkMultisession = ChkMultisession->isChecked();
    const ProjectModel &project = m_s.host.project();
    in.MsInfo = project.MsInfo;
    in.msDrive = DriveAddress(project.MsDriveLetter, devices());
    if (m_s.characterSet)
        m_s.characterSet(in);
    return in;
}

RecorderInputs TDlgConsole::recorderInputs() const
{
    RecorderInputs in;
    in.FJobType = FJobType;
    in.ChkMultisession = ChkMultisession->isChecked();
    in.multisessionVisible = !ChkMultisession->isHidden();
    in.ChkOverBurn = ChkOverBurn->isChecked();
    in.ChkTest = ChkTest->isChecked();
    in.ChkOnTheFly = ChkOnTheFly->isChecked();
    in.EditFile = EditFile->text().trimmed();
    in.speed = EditSpeed->value();
    in.erase = RadioFull->isChecked()          ? EraseMode::Full
               : RadioLastSession->isChecked() ? EraseMode::LastSession
                                               : EraseMode::Fast;
    in.ImageIsCue = m_s.host.project().ImageIsCue;
    const FunctionRecorderDevices d = devices();
    if (FJobType == jtCopyDisc && ComboCdDest->currentIndex() >= 0)
        in.recorder = DeviceAddress::of(d.deviceForRecorder(ComboCdDest->currentIndex()));
    else
        in.recorder = RecorderAddress(m_s.options, d);
    in.audioTracks = m_s.host.audioTracks();
    in.audioTabShown = !in.audioTracks.isEmpty();
    return in;
}

void TDlgConsole::UpdateCmdLn()
{
    const ImageCommandInputs image = imageInputs();
    const RecorderInputs recorder = recorderInputs();
    const FunctionRecorderDevices d = devices();
    const JobCommand command =
        quillon::UpdateCmdLn({image, recorder, m_s.options, m_s.paths, d, m_s.ripCommand, m_s.copyCommand});
    if (command.cdPlus) {
        FCdPlusRecorder = command.cdPlus->FCdPlusRecorder;
        m_s.host.project().MsDriveLetter = command.cdPlus->MsDriveLetter;
    }
    // A reading job whose source is not selected keeps the field as it is.
    if (command.command.commands.isEmpty() && (FJobType == jtRipAudio || FJobType == jtCopyDisc))
        return;
    if (!command.command.error.isEmpty())
        qCInfo(lcQuillon) << "job command not runnable yet:" << command.command.error;
    EditCmdLn->setText(command.EditCmdLn());
}

void TDlgConsole::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FHelpTopic = helpTopicOf(FJobType);
    BtnProjectProperties->setVisible(FJobType != jtErase && !BtnProjectProperties->isHidden());
    if (FJobType == jtCdPlus) {
        LblCDPLusText->show();
        ChkShell->setEnabled(false);
    }
    EditOut->clear();
    UpdateCmdLn();
    if (FJobType == jtAudioDisc)
        LblMultisessionHint->show();
    BtnMediaDst->setVisible(!ChkOnTheFly->isHidden());
}

void TDlgConsole::ChkMultisessionClick()
{
    if (isVisible() && FJobType == jtAudioDisc && ChkMultisession->isChecked()) {
        if (!askYes(QStringLiteral("Multisession audio CDs are unreadable until fixation or recording a track "
                                   "without multisession option.\nDo you wish to continue?"),
                    QStringLiteral("Warning"), int(PromptIcon::Warning))) {
            ChkMultisession->setChecked(false);
            return;
        }
    }
    if ((FJobType == jtAudioDisc || FJobType == jtCdPlus) && ChkMultisession->isChecked() && m_s.options.ChkCdText()) {
        if (!askYes(QStringLiteral("Multisession audio CD canot contain CD-Text. Do you wish to continue?"),
                    QStringLiteral("CD Text conflict"), int(PromptIcon::Warning))) {
            ChkMultisession->setChecked(false);
            return;
        }
    }
    UpdateCmdLn();
}

void TDlgConsole::ChkOverBurnClick()
{
    if (isVisible() && ChkOverBurn->isChecked()) {
        if (!askYes(QStringLiteral("Overburning allows you to record about 13-19 megabytes more than official disc "
                                   "size but may cause recorder damage or read errors.\nDo you wish to continue?"),
                    QStringLiteral("Warning"), int(PromptIcon::Warning)))
            ChkOverBurn->setChecked(false);
    }
    if (ChkOverBurn->isChecked())
        ChkMultisession->setChecked(false);
    UpdateCmdLn();
}

void TDlgConsole::onTheFlyToggled()
{
    const bool onTheFly = ChkOnTheFly->isChecked();
    EditFile->setEnabled(!onTheFly);
    BtnBrowseFile->setEnabled(!onTheFly);
    ChkDeleteISO->setEnabled(!onTheFly);
    if (FJobType == jtCopyDisc) {
        for (QWidget *w : {static_cast<QWidget *>(ChkOverBurn), static_cast<QWidget *>(ChkTest),
                           static_cast<QWidget *>(LblSpeed), static_cast<QWidget *>(EditSpeed)})
            w->setEnabled(onTheFly);
    }
    UpdateCmdLn();
}

void TDlgConsole::EditNameExit()
{
    if (!m_nameModified)
        return;
    EditName->setText(EditName->text().trimmed());
    UpdateCmdLn();
    m_nameModified = false;
}

bool TDlgConsole::EditFileExit()
{
    EditFile->setText(EditFile->text().trimmed());
    const std::optional<FileNameProblem> problem = checkFileName(EditFile->text());
    bool ok = true;
    if (problem) {
        m_s.prompter.error(problem->text, problem->caption);
        EditFile->setFocus();
        ok = false;
    }
    UpdateCmdLn();
    m_fileModified = false;
    return ok;
}

void TDlgConsole::EditFileBrowse()
{
    QString name;
    if (chooseImageFile) {
        name = chooseImageFile();
    } else {
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("iso"));
        dialog.setNameFilters({QStringLiteral("ISO images (*.iso)"), QStringLiteral("All files (*)")});
        dialog.selectFile(EditFile->text());
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            name = dialog.selectedFiles().first();
    }
    if (name.isEmpty())
        return;
    EditFile->setText(QDir::toNativeSeparators(name));
    EditFileExit();
}

void TDlgConsole::BtnProjectPropertiesClick()
{
    m_s.host.showProjectProperties();
    ProjectModel &project = m_s.host.project();
    if (EditName->isEnabled()) {
        if (FJobType == jtAudioDisc || FJobType == jtRipAudio)
            EditName->setText(project.AlbumTitle);
        else if (const ProjectFolder *root = project.root())
            EditName->setText(root->text());
    }
    if (EditPerformer->isEnabled())
        EditPerformer->setText(project.AlbumPerformer);
    UpdateCmdLn();
}

void TDlgConsole::Button1Click()
{
    if (m_s.host.showOptionsDialog(QString()))
        UpdateCmdLn();
}

bool TDlgConsole::askYes(const QString &text, const QString &caption, int icon)
{
    const PromptRequest q{text, caption, PromptIcon(icon), pbYes | pbNo | pbCancel, pbCancel};
    return m_s.prompter.ask(q) == pbYes;
}

void TDlgConsole::setRunControlsEnabled(bool enabled)
{
    for (QWidget *w : m_runControls)
        w->setEnabled(enabled);
    if (enabled) {
        // The file field follows the radio pair, and the pair may be locked for this job.
        EditFile->setEnabled(!ChkOnTheFly->isChecked());
        BtnMediaDst->setEnabled(ChkOnTheFly->isEnabled());
    }
}

void TDlgConsole::onVerdict(const OutputParser::Verdict &verdict)
{
    m_verdict = verdict;
    m_verdictGiven = true;
    setRunControlsEnabled(true);
    BtnCancel->setEnabled(true);
    BtnCancel->setText(QStringLiteral("OK"));
    if (!FDestDrive.isEmpty())
        m_s.host.leaveDrive(FDestDrive.at(0));
    m_s.host.setFileBrowserWatching(true);
    m_s.host.setTrayIconActive(true);
    EditOut->flush();
    Timer1->start();
}

void TDlgConsole::BtnCancelaClick()
{
    if (BtnStart->isEnabled() && !m_run->busy()) {
        storePlacement();
        m_closed = true;
        QDialog::reject();
        return;
    }
    if (!BtnCancel->isEnabled())
        return;
    const PromptRequest q{QStringLiteral("Do you wish to terminate current task?"), QStringLiteral("Process running"),
                          PromptIcon::Question, pbYes | pbNo | pbCancel, pbCancel};
    if (m_s.prompter.ask(q) != pbYes || !m_run->busy())
        return;
    BtnCancel->setEnabled(false);
    if (FJobType == jtRipAudio) {
        m_run->parser().addLogLine(LogColour::Normal, QStringLiteral("Waiting for cdda2wav to finish"));
        m_run->parser().logToFile(QStringLiteral("Waiting for cdda2wav to finish"));
        m_run->parser().addLogLine(LogColour::Normal,
                                   QStringLiteral("If you wish to finish now press Ctrl-Alt-Del and terminate cdda2wav"));
        m_run->parser().addLogLine(LogColour::Normal, QString());
    }
    m_run->abort();
}

void TDlgConsole::reject() { BtnCancelaClick(); }

void TDlgConsole::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    event->ignore();
    BtnCancelaClick();
}

void TDlgConsole::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        qCInfo(lcQuillon) << "help topic" << FHelpTopic;
        emit helpRequested(FHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quillon
