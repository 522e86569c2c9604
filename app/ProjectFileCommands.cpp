#include "app/ProjectFileCommands.h"

#include "app/JobCommands.h"
#include "app/Main.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "project/FolderListModel.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "settings/DlgOptionsU.h"
#include "settings/IniStore.h"
#include "settings/SettingsSections.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>

namespace quillon {

namespace {
// The dialogs' filters; Qt separates the patterns of one filter with blanks.
const QString kSaveFilter = QStringLiteral("Quillon projects (*.qlp);;All files (*.*)");
const QString kOpenFilter =
    QStringLiteral("All supported files (*.qlp *.iso *.cue);;Quillon projects (*.qlp);;"
                   "CD images (*.iso *.cue);;Raw images (*.bin *.raw);;All files (*.*)");
} // namespace

// The project files keep one asker for their life; this lets a test put a script behind it.
class ProjectFileCommands::SwitchAsker : public ProjectFileAsker {
public:
    explicit SwitchAsker(ProjectFileCommands &owner)
        : m_owner(owner)
    {
    }
    bool askSaveFileName(QString &path) override
    {
        return m_owner.m_asker ? m_owner.m_asker->askSaveFileName(path) : m_owner.askSaveFileName(path);
    }
    bool askOpenFileName(QString &path) override
    {
        return m_owner.m_asker ? m_owner.m_asker->askOpenFileName(path) : m_owner.askOpenFileName(path);
    }

private:
    ProjectFileCommands &m_owner;
};

ProjectFileCommands::ProjectFileCommands(TMainForm &form)
    : QObject(&form)
    , m_form(form)
    , m_switch(std::make_unique<SwitchAsker>(*this))
{
    m_files = std::make_unique<ProjectFiles>(form.project(), *form.services().prompter, *m_switch, hooks());
    m_openDir = form.services().paths.programFolder();
    buildActions();

    RecentFiles &recent = m_files->recentFiles();
    recent.setItems(restoreMruItems(form.settingsStore()));
    connect(&recent, &RecentFiles::changed, this, [this] {
        saveMruItems(m_form.settingsStore(), m_files->recentFiles().items());
        rebuildReopenMenu();
    });
    rebuildReopenMenu();
    connect(&form.project(), &ProjectModel::projectKindChanged, this, [this] { updateSaveState(); });
    updateSaveState();
}

ProjectFileCommands::~ProjectFileCommands() = default;

ProjectFiles::Hooks ProjectFileCommands::hooks()
{
    TMainForm &form = m_form;
    ProjectFiles::Hooks h;
    // Only loading runs under the busy dialog here; the tree is not repainted meanwhile.
    h.runBusy = [&form](const QString &message, const std::function<void()> &operation) {
        return form.RunBusy(message, [&form, &operation] {
            form.TreeCD->setUpdatesEnabled(false);
            operation();
            form.TreeCD->setUpdatesEnabled(true);
        });
    };
    auto pumpTimer = std::make_shared<QElapsedTimer>();
    pumpTimer->start();
    // Every few milliseconds keeps the busy dialog alive without slowing the reading.
    h.pump = [pumpTimer] {
        if (pumpTimer->elapsed() >= 8) {
            QCoreApplication::processEvents();
            pumpTimer->restart();
        }
    };
    h.abort = &form.AbortRequested;
    h.deferred = [&form](std::function<void()> action) { form.TimerAbort(std::move(action)); };
    h.defaultDiscName = [&form] { return form.DefaultDiscName(); };
    h.setCaption = [&form] { form.setWindowTitle(form.project().WindowCaption()); };
    h.focusPages = [&form] { form.PageControl1->setFocus(); };
    h.projectLoaded = [this] { showLoadedProject(); };
    h.finishLoad = [this] { finishLoad(); };
    h.chkDeep = [&form] { return !form.optionsDialog() || form.optionsDialog()->ChkDeep->isChecked(); };
    h.enableDeep = [&form] {
        if (TDlgOptions *options = form.optionsDialog())
            options->AllowDeepFolders();
    };
    h.saveTitlesWithoutAsking = [&form] {
        return form.optionsDialog() && form.optionsDialog()->model().ChkAskCDDB();
    };
    return h;
}

void ProjectFileCommands::buildActions()
{
    QStyle *style = m_form.style();
    auto action = [this](const char *name, const QString &caption, const QIcon &icon, const QString &hint) {
        auto *a = new QAction(icon, caption, &m_form);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(hint);
        m_form.addAction(a); // shortcuts work wherever the focus is
        return a;
    };
    ProjectNew = action("ProjectNew", QStringLiteral("&New..."), style->standardIcon(QStyle::SP_FileIcon),
                        QStringLiteral("New project"));
    ProjectNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    ProjectLoad = action("ProjectLoad", QStringLiteral("&Open project..."),
                         style->standardIcon(QStyle::SP_DialogOpenButton), QStringLiteral("Open project"));
    ProjectLoad->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    ProjectSave = action("ProjectSave", QStringLiteral("&Save project"),
                         style->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("Save project"));
    ProjectSave->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    ProjectSaveAs = action("ProjectSaveAs", QStringLiteral("Save project &as..."), QIcon(), QString());
    connect(ProjectNew, &QAction::triggered, this, [this] { ProjectNewExecute(); });
    connect(ProjectLoad, &QAction::triggered, this, [this] { ProjectLoadExecute(); });
    connect(ProjectSave, &QAction::triggered, this, [this] { ProjectSaveExecute(); });
    connect(ProjectSaveAs, &QAction::triggered, this, [this] { ProjectSaveAsExecute(); });

    // The toolbar starts with the three project buttons.
    QAction *first = m_form.SpeedBar4->actions().value(0);
    m_form.SpeedBar4->insertAction(first, ProjectNew);
    m_form.SpeedBar4->insertAction(first, ProjectLoad);
    m_form.SpeedBar4->insertAction(first, ProjectSave);
    m_form.SpeedBar4->insertSeparator(first);

    // The File menu goes first, whoever adds the other menus.
    FileMenu = new QMenu(QStringLiteral("&File"), &m_form);
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    QMenuBar *bar = m_form.menuBar();
    bar->insertMenu(bar->actions().value(0), FileMenu);
    // Menu items carry their own captions; each runs its action and follows its state.
    auto item = [this](const char *name, const QString &caption, QAction *target) {
        QAction *a = FileMenu->addAction(target->icon(), caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(target->shortcut());
        a->setShortcutContext(Qt::WidgetShortcut); // the window's action holds the shortcut
        a->setEnabled(target->isEnabled());
        connect(a, &QAction::triggered, target, &QAction::trigger);
        connect(target, &QAction::changed, a, [a, target] { a->setEnabled(target->isEnabled()); });
        return a;
    };
    item("New1", ProjectNew->text(), ProjectNew);
    item("Open1", QStringLiteral("&Open Project..."), ProjectLoad);
    item("Save1", QStringLiteral("&Save Project"), ProjectSave);
    item("SaveAs1", QStringLiteral("Save Project &as..."), ProjectSaveAs);
    ReopenMenu = FileMenu->addMenu(QStringLiteral("&Reopen"));
    ReopenMenu->setObjectName(QStringLiteral("ReopenMenu"));
    ClearMRUList = new QAction(QStringLiteral("&Clear MRU List"), this);
    ClearMRUList->setObjectName(QStringLiteral("ClearMRUList"));
    RemoveObsolete = new QAction(QStringLiteral("&Remove Obsolete"), this);
    RemoveObsolete->setObjectName(QStringLiteral("RemoveObsolete"));
    connect(ClearMRUList, &QAction::triggered, this, [this] { m_files->recentFiles().clear(); });
    connect(RemoveObsolete, &QAction::triggered, this, [this] {
        m_files->recentFiles().removeObsolete([](const QString &p) { return QFileInfo::exists(p); });
    });
    FileMenu->addSeparator();
    QAction *exit = FileMenu->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, &m_form, [this] { m_form.close(); });
}

void ProjectFileCommands::rebuildReopenMenu()
{
    ReopenMenu->clear();
    const QStringList &items = m_files->recentFiles().items();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString path = items[i];
        QAction *a =
            ReopenMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { dfsMRUFileListMRUItemClick(path); });
    }
    if (!items.isEmpty())
        ReopenMenu->addSeparator();
    ReopenMenu->addAction(ClearMRUList);
    ReopenMenu->addAction(RemoveObsolete);
}

void ProjectFileCommands::updateSaveState()
{
    const bool canSave = m_files->canSave();
    ProjectSave->setEnabled(canSave);
    ProjectSaveAs->setEnabled(canSave);
}

void ProjectFileCommands::ProjectNewExecute()
{
    if (ConfirmDiscard())
        return;
    if (JobCommands *jobs = m_form.jobCommands()) {
        jobs->NewTaskExecute();
    } else {
        m_form.project().ResetProject();
        m_form.NewDataProject();
        m_form.UpdateTotals();
    }
    m_form.PageControl1->setFocus();
    if (m_form.PageControl1->isTabVisible(m_form.PageControl1->indexOf(m_form.TabDataCD)))
        m_form.ListCD->viewport()->update();
}

void ProjectFileCommands::showLoadedProject()
{
    ProjectModel &project = m_form.project();
    const TProjectKind kind = project.ProjectKind();
    QTabWidget *pages = m_form.PageControl1;
    const bool data = ProjectModel::dataPageShown(kind);
    const bool audio = ProjectModel::audioPageShown(kind);
    pages->setTabVisible(pages->indexOf(m_form.TabDataCD), data);
    pages->setTabVisible(pages->indexOf(m_form.TabAudio), audio);
    if (data)
        pages->setCurrentWidget(m_form.TabDataCD);
    else if (audio)
        pages->setCurrentWidget(m_form.TabAudio);
    if (ProjectFolder *root = project.root()) {
        // Set afresh, so that the list shows the root even when it was current before.
        m_form.TreeCD->setCurrentIndex(QModelIndex());
        m_form.TreeCD->setCurrentIndex(m_form.treeModel()->indexOf(root));
    }
}

void ProjectFileCommands::finishLoad()
{
    if (m_form.PageControl1->isTabVisible(m_form.PageControl1->indexOf(m_form.TabDataCD)))
        m_form.ListCD->viewport()->update();
    m_form.UpdateTotals();
}

bool ProjectFileCommands::askSaveFileName(QString &path)
{
    QFileDialog dialog(&m_form, QString(), m_form.projectSaveDir(), kSaveFilter);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("qlp"));
    if (!path.isEmpty())
        dialog.selectFile(path);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = dialog.selectedFiles().constFirst();
    return true;
}

bool ProjectFileCommands::askOpenFileName(QString &path)
{
    QFileDialog dialog(&m_form, QString(), m_openDir, kOpenFilter);
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("qlp"));
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    if (!chosen)
        return false;
    path = dialog.selectedFiles().constFirst();
    m_openDir = QFileInfo(path).absolutePath();
    return true;
}

} // namespace quillon
