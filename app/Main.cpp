#include "app/Main.h"

#include "app/DataPage.h"

#include "app/DlgAbortU.h"
#include "app/JobCommands.h"
#include "app/ProjectFileCommands.h"
#include "app/ProjectItemDelegate.h"
#include "platform/BrowserLauncher.h"
#include "project/FolderListModel.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "platform/DateTime.h"
#include "platform/DebugLog.h"
#include "platform/OnlineCheck.h"
#include "platform/PowerOff.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/SystemFixes.h"
#include "settings/DlgOptionsU.h"
#include "settings/FormStorage.h"
#include "settings/IniStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cstdlib>

namespace quillon {

namespace {
const QString kFormSection = QStringLiteral("TMainForm");
const QString kFirstStartKey = QStringLiteral("\\Software\\Quillon");
constexpr int kWindowColour = 13421772; // light grey, the colour of the window

QColor fromColourValue(int value)
{
    // Colour values are stored 0x00BBGGRR.
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}
} // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TMainForm::TMainForm(AppServices &services, IniStore &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_settings(settings)
    , m_project(std::make_unique<ProjectModel>(*services.prompter))
{
    buildWindow();
}

void TMainForm::step(const char *name)
{
    if (m_services.trace)
        m_services.trace->step(QLatin1String(name));
}

TMainForm::~TMainForm()
{
    if (!m_destroyed)
        FormDestroy();
}

void TMainForm::buildWindow()
{
    setObjectName(QStringLiteral("MainForm"));
    setMinimumSize(500, 300);
    resize(780, 560);
    // Centred on the screen until the stored placement says otherwise.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, fromColourValue(kWindowColour));
    setPalette(pal);

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    PanelIm = new QWidget(central);
    PanelIm->setObjectName(QStringLiteral("PanelIm"));
    PanelIm->setFixedHeight(64);
    PanelIm->hide();
    column->addWidget(PanelIm);

    SpeedBar4 = new QToolBar(central);
    SpeedBar4->setObjectName(QStringLiteral("SpeedBar4"));
    ComboCDs = new QComboBox(SpeedBar4);
    ComboCDs->setObjectName(QStringLiteral("ComboCDs"));
    ComboCDs->setToolTip(QStringLiteral("Current drive"));
    QFont bold = ComboCDs->font();
    bold.setBold(true);
    ComboCDs->setFont(bold);
    ComboCDs->setMinimumContentsLength(4);
    SpeedBar4->addWidget(ComboCDs);
    DiskEject = SpeedBar4->addAction(style()->standardIcon(QStyle::SP_DriveCDIcon), QStringLiteral("&Eject"));
    DiskEject->setObjectName(QStringLiteral("DiskEject"));
    DiskEject->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    DiskEject->setToolTip(QStringLiteral("Eject / Close CD"));
    DiskEject->setEnabled(false);
    column->addWidget(SpeedBar4);

    auto *split = new QSplitter(Qt::Vertical, central);
    PageControl1 = new QTabWidget(split);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // The Data CD page: tree left, list right, totals below.
    TabDataCD = new QWidget;
    TabDataCD->setObjectName(QStringLiteral("TabDataCD"));
    auto *dataColumn = new QVBoxLayout(TabDataCD);
    dataColumn->setContentsMargins(2, 2, 2, 2);
    auto *dataSplit = new QSplitter(Qt::Horizontal, TabDataCD);
    TreeCD = new QTreeView(dataSplit);
    TreeCD->setObjectName(QStringLiteral("TreeCD"));
    TreeCD->setHeaderHidden(true);
    ListCD = new QTreeView(dataSplit);
    ListCD->setObjectName(QStringLiteral("ListCD"));
    ListCD->setRootIsDecorated(false);
    ListCD->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListCD->setUniformRowHeights(true);
    dataSplit->setStretchFactor(1, 3);
    dataColumn->addWidget(dataSplit, 1);
    auto *dataBar = new QHBoxLayout;
    LblTotal = namedLabel(TabDataCD, "LblTotal", QStringLiteral("0 MB"));
    LblTotal->setToolTip(QStringLiteral("TOTAL project size (data + audio)"));
    QFont totalFont = LblTotal->font();
    totalFont.setBold(true);
    LblTotal->setFont(totalFont);
    LblDepth = new ClickableLabel(TabDataCD);
    LblDepth->setObjectName(QStringLiteral("LblDepth"));
    LblDepth->setCursor(Qt::PointingHandCursor);
    LabelNfo = namedLabel(TabDataCD, "LabelNfo", QString());
    LabelNfo->hide();
    dataBar->addWidget(LblTotal);
    dataBar->addSpacing(24);
    dataBar->addWidget(LblDepth);
    dataBar->addWidget(LabelNfo);
    dataBar->addStretch(1);
    dataColumn->addLayout(dataBar);
    PageControl1->addTab(TabDataCD, style()->standardIcon(QStyle::SP_DriveCDIcon), QStringLiteral("Data CD"));

    // The Audio CD page; its list is filled by the audio track list.
    TabAudio = new QWidget;
    TabAudio->setObjectName(QStringLiteral("TabAudio"));
    auto *audioColumn = new QVBoxLayout(TabAudio);
    audioColumn->setContentsMargins(2, 2, 2, 2);
    ListAudio = new QTreeWidget(TabAudio);
    ListAudio->setObjectName(QStringLiteral("ListAudio"));
    ListAudio->setRootIsDecorated(false);
    ListAudio->setHeaderLabels({QStringLiteral("Track"), QStringLiteral("File to record"), QStringLiteral("Length"),
                                QStringLiteral("Size"), QStringLiteral("CD-Text")});
    audioColumn->addWidget(ListAudio, 1);
    auto *audioBar = new QHBoxLayout;
    LabelAudioTotal = namedLabel(TabAudio, "LabelAudioTotal", QStringLiteral("0 MB"));
    LblAudioTime = namedLabel(TabAudio, "LblAudioTime", QStringLiteral("00:00"));
    LblDefaultName = namedLabel(TabAudio, "LblDefaultName", QStringLiteral("Quillon CD"));
    LblDefaultName->hide();
    audioBar->addWidget(LabelAudioTotal);
    audioBar->addSpacing(24);
    audioBar->addWidget(LblAudioTime);
    audioBar->addWidget(LblDefaultName);
    audioBar->addStretch(1);
    audioColumn->addLayout(audioBar);
    PageControl1->addTab(TabAudio, style()->standardIcon(QStyle::SP_MediaVolume), QStringLiteral("Audio CD"));

    // The local file pane arrives with the adding of items; its place and height are kept.
    PanelLocal = new QWidget(split);
    PanelLocal->setObjectName(QStringLiteral("PanelLocal"));
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    m_split = split;
    column->addWidget(split, 1);
    setCentralWidget(central);

    StatusSource = new QLabel(this);
    StatusSource->setObjectName(QStringLiteral("StatusSource"));
    StatusSource->setFixedWidth(500);
    StatusDepth = new QLabel(this);
    StatusDepth->setObjectName(QStringLiteral("StatusDepth"));
    StatusDepth->setFixedWidth(50);
    statusBar()->addWidget(StatusSource);
    statusBar()->addWidget(StatusDepth);

    TimerShutdown = new QTimer(this);
    TimerShutdown->setObjectName(QStringLiteral("TimerShutdown"));
    TimerShutdown->setSingleShot(true);
    connect(TimerShutdown, &QTimer::timeout, this, &TMainForm::TimerShutdownTimer);

    connect(LblDepth, &ClickableLabel::clicked, this, &TMainForm::selectDeepestFolder);

    m_treeModel = new ProjectTreeModel(*m_project, this);
    TreeCD->setModel(m_treeModel);
    TreeCD->setItemDelegate(new ProjectItemDelegate(TreeCD));
    m_listModel = new FolderListModel(*m_project, this);
    ListCD->setModel(m_listModel);
    ListCD->setItemDelegate(new ProjectItemDelegate(ListCD));
    ListCD->header()->resizeSection(0, 400);
    ListCD->header()->resizeSection(1, 100);
    ListCD->header()->setStretchLastSection(false);
    ListCD->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(TreeCD->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { showFolder(current); });
    connect(ListCD->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { StatusSource->setText(current.data(StatusTextRole).toString()); });
    connect(m_project.get(), &ProjectModel::projectKindChanged, this, [this] { updateCaption(); });
    m_dataPage = new TDataPage(*this);
    m_fileCommands = new ProjectFileCommands(*this);
    m_jobCommands = new JobCommands(*this);
}

void TMainForm::attachDialogs(TDlgOptions *options, TDlgAbort *busy)
{
    m_optionsDialog = options;
    m_busy = busy;
}

QString TMainForm::DefaultDiscName() const { return LblDefaultName->text(); }

// ---- start -------------------------------------------------------------------------

void TMainForm::FormCreate()
{

    step("FormCreate: program folder");
    // The banner picture object belongs to the banner display; nothing to hold yet.

    step("FormCreate: options");
    m_options = TOptions();
    const QString dataFile = m_services.paths.dataFile();
    const QString backup = m_services.paths.dataFileBackup();
    if (QFileInfo::exists(dataFile))
        m_services.dataFile->load(m_options, dataFile);
    else if (QFileInfo::exists(backup))
        m_services.dataFile->load(m_options, backup);

    step("FormCreate: restore form storage");
    restoreFormStorage();

    step("FormCreate: reset state");
    ForcedClose = false;
    m_project->ResetProject();
    // Seeds the random generator the banner rotation draws from.
    std::srand(QRandomGenerator::global()->generate());

    step("FormCreate: drop targets");
    // The drop targets register with the adding of items; nothing accepts drops yet.

    step("FormCreate: save dialog folder");
    m_projectSaveDir = m_services.paths.programFolder();

    step("FormCreate: folder icons");
    QFileIconProvider icons;
    m_closedFolder = icons.icon(QFileIconProvider::Folder);
    m_openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    m_treeModel->setFolderIcons(m_closedFolder, m_openFolder);
    m_listModel->setFolderIcon(m_closedFolder);

    step("FormCreate: new data project");
    NewDataProject();
    PageControl1->setCurrentWidget(TabDataCD);

    step("FormCreate: drives");
    const bool anyDrive = m_services.drives->count() > 0;
    if (anyDrive && QSystemTrayIcon::isSystemTrayAvailable()) {
        TrayIcon = new QSystemTrayIcon(style()->standardIcon(QStyle::SP_DriveCDIcon), this);
        TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
        TrayIcon->setToolTip(QStringLiteral("Eject / Close CD"));
        TrayIcon->show();
    }
    DiskEject->setEnabled(anyDrive);

    step("FormCreate: local pane");

    step("FormCreate: temporary folder");
    if (!QDir().mkpath(m_services.paths.tempFolder()))
        qCWarning(lcQuillon) << "cannot create the temporary folder" << m_services.paths.tempFolder();

    step("FormCreate: totals");
    UpdateTotals();

    step("FormCreate: banners");
    m_services.banners->showFirstBanner();
    AbortRequested = false;
    m_services.banners->evaluateCounters();

    step("FormCreate: banner panel");
    PanelIm->setVisible(m_options.ShouldShowAd && m_options.WantAds);
    m_options.LastSpl = (m_options.LastSpl + 1) % std::max<int>(2, int(m_options.Bmps.size()));
}

void TMainForm::restoreFormStorage()
{
    TFormStorage storage(kFormSection, TFormStorage::foState | TFormStorage::foPosition, this);
    auto text = [&storage](const char *component, const char *property, QString &target) {
        storage.addProperty(QLatin1String(component), QLatin1String(property), PropKind::Text,
                            [&target] { return target; }, [&target](const QVariant &v) { target = v.toString(); });
    };
    text("OpenIsoDlg", "InitialDir", m_openIsoDir);
    storage.addProperty(QStringLiteral("PanelLocal"), QStringLiteral("Height"), PropKind::Integer,
                        [this] { return m_panelLocalHeight; },
                        [this](const QVariant &v) { m_panelLocalHeight = v.toInt(); });
    text("DriveView1", "Directory", m_driveViewDir);
    text("SaveAudioDlg", "InitialDir", m_saveAudioDir);
    storage.addProperty(QStringLiteral("LblDefaultName"), QStringLiteral("Caption"), PropKind::Text,
                        [this] { return LblDefaultName->text(); },
                        [this](const QVariant &v) { LblDefaultName->setText(v.toString()); });
    storage.restore(m_settings);
    if (m_panelLocalHeight > 0) {
        const int total = std::max(m_split->height(), height());
        m_split->setSizes({std::max(100, total - m_panelLocalHeight), m_panelLocalHeight});
    }

    // A remembered dialog folder that has gone falls back to the program folder.
    for (QString *dir : {&m_openIsoDir, &m_saveAudioDir})
        if (!QFileInfo(*dir).isDir())
            *dir = m_services.paths.programFolder();
}

void TMainForm::saveFormStorage()
{
    TFormStorage storage(kFormSection, TFormStorage::foState | TFormStorage::foPosition, this);
    auto text = [&storage](const char *component, const char *property, const QString &value) {
        storage.addProperty(QLatin1String(component), QLatin1String(property), PropKind::Text,
                            [value] { return value; }, [](const QVariant &) {});
    };
    text("OpenIsoDlg", "InitialDir", m_openIsoDir);
    storage.addProperty(QStringLiteral("PanelLocal"), QStringLiteral("Height"), PropKind::Integer,
                        [this] { return PanelLocal->height(); }, [](const QVariant &) {});
    text("DriveView1", "Directory", m_driveViewDir);
    text("SaveAudioDlg", "InitialDir", m_saveAudioDir);
    text("LblDefaultName", "Caption", LblDefaultName->text());
    // Written at the end of the run, while the window is being destroyed.
    storage.save(m_settings, true);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

// ---- the project on the Data CD page -------------------------------------------------

void TMainForm::NewDataProject(const QString &discName)
{
    ProjectFolder *root = m_project->NewDataProject(discName, DefaultDiscName());
    PageControl1->setTabVisible(PageControl1->indexOf(TabDataCD), true);
    PageControl1->setTabVisible(PageControl1->indexOf(TabAudio), false);
    const QModelIndex rootIndex = m_treeModel->indexOf(root);
    TreeCD->setCurrentIndex(rootIndex);
    showFolder(rootIndex);
    updateCaption();
}

void TMainForm::updateCaption() { setWindowTitle(m_project->WindowCaption()); }

EstimateOptions TMainForm::estimateOptions() const
{
    EstimateOptions options; // the designed defaults until the options dialog exists
    if (m_optionsDialog) {
        options.ChkIso31 = m_optionsDialog->ChkIso31->isChecked();
        options.ChkJoliet = m_optionsDialog->ChkJoliet->isChecked();
        options.ChkPad = m_optionsDialog->ChkPad->isChecked();
        options.ChkDeep = m_optionsDialog->ChkDeep->isChecked();
    }
    return options;
}

void TMainForm::UpdateTotals()
{
    const TotalsDisplay totals = m_project->UpdateTotals(estimateOptions());
    LblTotal->setText(totals.LblTotal);
    LabelAudioTotal->setText(totals.LabelAudioTotal);
    LblAudioTime->setText(totals.LblAudioTime);
    LblDepth->setText(totals.LblDepth);
    LblDepth->setToolTip(totals.LblDepthHint);
    QPalette pal = LblDepth->palette();
    pal.setColor(QPalette::WindowText, QColor(totals.LblDepthColor));
    LblDepth->setPalette(pal);
}

void TMainForm::selectDeepestFolder()
{
    // Found afresh: the tree may have changed since the label was written.
    const ProjectFolder *deepest = m_project->ComputeTotals(estimateOptions()).deepestFolder;
    if (!deepest)
        return;
    const QModelIndex index = m_treeModel->indexOf(deepest);
    TreeCD->setCurrentIndex(index);
    TreeCD->scrollTo(index);
}

void TMainForm::showFolder(const QModelIndex &index)
{
    ProjectFolder *folder = ProjectTreeModel::folderAt(index);
    m_listModel->setFolder(folder);
    StatusDepth->setText(folder ? QStringLiteral("Depth %1").arg(folder->level()) : QString());
    if (m_listModel->rowCount() > 0)
        ListCD->setCurrentIndex(m_listModel->index(0, 0));
    else
        StatusSource->clear();
}

void TMainForm::freeProject()
{
    m_listModel->setFolder(nullptr);
    m_project->FreeAllData();
}

// ---- after the window is shown --------------------------------------------------------

void TMainForm::FormShow()
{

    step("FormShow: form storage active");
    m_formStorageActive = true;
    if (m_optionsDialog && !m_optionsDialog->ChkStoreDir->isChecked())
        m_driveViewDir = QDir::rootPath(); // the local pane starts at the top of the disk

    step("FormShow: home page");
    homePageVisit();

    step("FormShow: temporary image file");
    if (m_optionsDialog) {
        const QString file = m_optionsDialog->EditTmpFile->text();
        if (file.isEmpty() || !QFileInfo(QFileInfo(file).absolutePath()).isDir())
            m_optionsDialog->EditTmpFile->setText(QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/Quillon.iso")));
    }

    step("FormShow: drive combo");
    fillDriveCombo();

    step("FormShow: first start");
    checkFirstStart();

    raise();
    activateWindow();
}

void TMainForm::homePageVisit()
{
    const QDateTime now = m_services.now();
    const double today = ToOleDate(now);
    if (std::abs(today - m_options.EditVBR) < 21.0)
        return;
    if (m_services.homePage.isEmpty()) {
        qCInfo(lcQuillon) << "no home page configured: the periodic visit is skipped";
        return;
    }
    OpenInNewBrowser(m_services.homePage);
    // Offline, the next attempt comes five days later.
    m_options.EditVBR = m_services.online->isOnline() ? today : today - 16.0;
    m_services.dataFile->save(m_options, m_services.paths.dataFile());
}

void TMainForm::fillDriveCombo()
{
    ComboCDs->clear();
    const int count = m_services.drives->count();
    for (int i = 0; i < count; ++i)
        ComboCDs->addItem(m_services.drives->driveLetter(i) + QLatin1Char(':'));
    int wanted = m_optionsDialog ? m_optionsDialog->ComboCDs->currentIndex() : -1;
    if (wanted < 0 || wanted >= count)
        wanted = count > 0 ? 0 : -1;
    ComboCDs->setCurrentIndex(wanted);
    // The combo's change handler and the eject caption belong to media information.
}

void TMainForm::checkFirstStart()
{
    Registry *registry = m_services.registry;
    if (registry && registry->keyExists(kFirstStartKey)) {
        TimerAbort([this] { driveCheck(); });
        return;
    }
    if (registry && !registry->createKey(kFirstStartKey))
        qCWarning(lcQuillon) << "cannot create the first-start marker; the wizard comes again next time";
    TimerAbort([this] { m_services.wizard->run(); });
}

void TMainForm::driveCheck()
{
    step("drive check");
    DriveListService &drives = *m_services.drives;
    if (!drives.built()) {
        qCInfo(lcQuillon) << "drive list not built yet: no drive check";
        m_services.banners->startupNotices();
        return;
    }
    const bool noDrive = drives.count() == 0;
    if (noDrive && CurrentWindowsFamily() == WindowsFamily::NT && drives.aspiFoundDevice() && m_services.registry) {
        RepairAspiRegistry(*m_services.registry, *m_services.prompter);
        return;
    }
    if (noDrive || !drives.aspiFoundDevice()) {
        if (CurrentWindowsFamily() == WindowsFamily::NotWindows)
            m_services.prompter->inform(
                QStringLiteral("No optical drive was found.\r\n"
                               "Check that the drive is connected and switched on, and that your user "
                               "is a member of the \"cdrom\" group (log in again after adding it)."),
                QStringLiteral("No CD drive detected"), PromptIcon::Warning);
        else
            m_services.prompter->inform(
                QStringLiteral("Please download newer version of ASPI drivers\r\nor try ForceAspi - usually works better"),
                QStringLiteral("No CD drive detected"), PromptIcon::Warning);
        return;
    }
    m_services.banners->startupNotices();
}

// ---- helpers other parts call --------------------------------------------------------

void TMainForm::TimerAbort(std::function<void()> action)
{
    // Each request is its own queued single shot, so a second one is never lost.
    QTimer::singleShot(1, this, [action = std::move(action)] { action(); });
}

bool TMainForm::RunBusy(const QString &message, const std::function<void()> &operation)
{
    AbortRequested = false;
    if (!m_busy) {
        qCWarning(lcQuillon) << "no busy dialog yet; running" << message << "directly";
        BusyFinished = false;
        operation();
        BusyFinished = true;
        return true;
    }
    if (m_busy->operationRunning()) {
        qCWarning(lcQuillon) << "a busy operation is still running; refused:" << message;
        return false;
    }
    // The dialog of a previous operation may still be on its way out.
    while (m_busy->isVisible() && !QCoreApplication::closingDown())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    BusyFinished = false;
    m_busy->runOperation(message, operation, [this] { AbortRequested = true; });
    BusyFinished = true;
    return true;
}

void TMainForm::OpenInNewBrowser(const QString &address)
{
    if (!m_services.browser || !m_services.browser->openUrl(address))
        qCWarning(lcQuillon) << "the browser did not open" << address;
}

// ---- power-off -----------------------------------------------------------------------

void TMainForm::CheckShutdownExecute()
{
    m_shutdownDue = false;
    TimerShutdown->start(m_services.shutdownWarningMs);
    m_shutdownWarningOpen = true;
    const PromptButton answer = m_services.prompter->ask(
        {QStringLiteral("System will be shut down soon! Press Cancel to abort."), QStringLiteral("Warning"),
         PromptIcon::Warning, pbOk | pbCancel, pbCancel, true});
    m_shutdownWarningOpen = false;
    if (m_shutdownDue)
        return; // the minute passed while the warning was open; the close is under way
    TimerShutdown->stop();
    if (answer == pbOk)
        shutDownNow();
}

void TMainForm::TimerShutdownTimer()
{
    m_shutdownDue = true;
    // The warning may still be open: close it, as no one is there to answer.
    if (m_shutdownWarningOpen)
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    shutDownNow();
}

// An unattended power-off must not be stopped by a question, so the close is forced; the
// normal end still runs and saves the settings before the system is asked to power off.
void TMainForm::shutDownNow()
{
    ForcedClose = true;
    PowerOffRequested = true;
    QTimer::singleShot(0, this, [this] { close(); });
}

// ---- end -----------------------------------------------------------------------------

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TMainForm::FormCloseQuery()
{
    const bool forced = ForcedClose;
    // A guard put in from outside (tests) stands in for the project files' own question.
    ProjectGuard *guard = m_services.projectGuard ? m_services.projectGuard : m_fileCommands;
    const bool allowed = forced || guard->confirmDiscard();
    if (allowed) {
        step("close query");
        if (!forced)
            m_services.banners->exitNotices();
        // The local pane's change watching stops with the pane itself.
    }
    ForcedClose = false;
    if (!allowed)
        PowerOffRequested = false;
    return allowed;
}

// The update thread is waited for before anything it might still read is saved or freed.
void TMainForm::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    TimerShutdown->stop();

    step("FormDestroy: wait for update thread");
    if (m_services.updates->exists()) {
        m_services.updates->requestFinish();
        while (!m_services.updates->finished()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(10);
        }
    }

    step("FormDestroy: save settings");
    if (m_optionsDialog)
        m_optionsDialog->saveSettings(m_settings);
    if (m_formStorageActive)
        saveFormStorage();
    QString reason;
    if (!m_settings.save(m_services.paths.settingsFile(), &reason))
        qCWarning(lcQuillon) << "settings not saved:" << reason;

    step("FormDestroy: free project");
    freeProject();

    step("FormDestroy: remove temporary folder");
    // Only an empty folder goes; one still holding files stays in place.
    QDir().rmdir(m_services.paths.tempFolder());

    step("FormDestroy: save data file");
    m_services.dataFile->save(m_options, m_services.paths.dataFile());

    if (TrayIcon)
        TrayIcon->hide();
    hide();
}

} // namespace quillon
