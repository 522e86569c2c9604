#include "app/JobCommands.h"

#include "app/DataPage.h"
#include "app/DriveListServiceImpl.h"
#include "app/LocalPane.h"
#include "app/Main.h"
#include "app/ProjectFileCommands.h"
#include "engine/DiscJobDrives.h"
#include "engine/DlgConsoleU.h"
#include "engine/DlgProjectNfoU.h"
#include "engine/PathList.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "platform/ScreenSaver.h"
#include "project/ProjectModel.h"
#include "settings/DlgOptionsU.h"
#include "settings/OptionsModel.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QToolBar>

namespace quillon {

namespace {

// The drive list before it exists, or on a machine without drives.
class NoJobDrives : public JobDrives {
public:
    int count() const override { return 0; }
    int recorderIndex() const override { return -1; }
    QChar letter(int) const override { return QChar(); }
    bool canWrite(int) override { return false; }
    int maxWriteSpeed(int) override { return 0; }
    JobDiscState discState(int) override { return JobDiscState::NoDisc; }
    qint64 capacitySectors(int) override { return 0; }
    bool discPresent(int) override { return false; }
    qint64 discSizeSectors(int) override { return 0; }
    void loadTray(int) override {}
    std::optional<QString> deviceArgument(int) const override { return std::nullopt; }
};

int deepestLevel(const ProjectFolder &folder)
{
    int deepest = folder.level();
    for (int i = 0; i < folder.childCount(); ++i)
        deepest = std::max(deepest, deepestLevel(*folder.child(i)));
    return deepest;
}

} // namespace

JobCommands::JobCommands(TMainForm &form)
    : QObject(&form)
    , m_form(form)
    , m_screenSaver(std::make_unique<SystemScreenSaverInhibitor>())
{
    DiscRecord = new QAction(QStringLiteral("&Record..."), &form);
    DiscRecord->setObjectName(QStringLiteral("DiscRecord"));
    DiscRecord->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    DiscRecord->setIcon(form.style()->standardIcon(QStyle::SP_DialogSaveButton));
    DiscBuildISO = new QAction(QStringLiteral("&Build ISO image..."), &form);
    DiscBuildISO->setObjectName(QStringLiteral("DiscBuildISO"));
    DiscBuildISO->setIcon(form.style()->standardIcon(QStyle::SP_DriveCDIcon));
    form.addAction(DiscRecord);
    form.addAction(DiscBuildISO);
    connect(DiscRecord, &QAction::triggered, this, &JobCommands::DiscRecordExecute);
    connect(DiscBuildISO, &QAction::triggered, this, &JobCommands::DiscBuildISOExecute);

    DiscMenu = form.menuBar()->addMenu(QStringLiteral("&Disc"));
    DiscMenu->setObjectName(QStringLiteral("DiscMenu"));
    QAction *record = DiscMenu->addAction(DiscRecord->icon(), QStringLiteral("Record"));
    record->setObjectName(QStringLiteral("Record1"));
    connect(record, &QAction::triggered, DiscRecord, &QAction::trigger);
    QAction *build = DiscMenu->addAction(DiscBuildISO->icon(), QStringLiteral("&Build ISO Image..."));
    build->setObjectName(QStringLiteral("BuildISOImage1"));
    connect(build, &QAction::triggered, DiscBuildISO, &QAction::trigger);
    form.SpeedBar4->addSeparator();
    form.SpeedBar4->addAction(DiscRecord);

    Properties4a = new QAction(QStringLiteral("&Properties..."), &form);
    Properties4a->setObjectName(QStringLiteral("Properties4a"));
    connect(Properties4a, &QAction::triggered, this, [this] { Properties4aClick(); });
    if (ProjectFileCommands *files = form.fileCommands()) {
        // After the recent files, in front of what follows them.
        const QList<QAction *> items = files->FileMenu->actions();
        const qsizetype at = items.indexOf(files->ReopenMenu->menuAction());
        files->FileMenu->insertAction(items.value(at + 1), Properties4a);
    }
}

JobCommands::~JobCommands() = default;

JobDrives &JobCommands::drives()
{
    auto *list = dynamic_cast<DriveListServiceImpl *>(m_form.services().drives);
    if (!m_drives) {
        if (list && list->built() && m_form.optionsDialog())
            m_drives = std::make_unique<DiscJobDrives>(list->drives(), m_form.optionsDialog()->model());
        else
            return *(m_drives = std::make_unique<NoJobDrives>());
    }
    return *m_drives;
}

QString JobCommands::defaultImageFile() const
{
    TDlgOptions *options = m_form.optionsDialog();
    const QString file = options ? options->model().EditTmpFile() : QString();
    return file.isEmpty() ? QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/Quillon.iso")) : file;
}

std::unique_ptr<TDlgConsole> JobCommands::createDialog()
{
    TDlgOptions *options = m_form.optionsDialog();
    if (!options) {
        qCWarning(lcQuillon) << "job commands: the options dialog does not exist yet";
        return nullptr;
    }
    ConsoleServices s{m_form.services().paths, *m_form.services().prompter, options->model(), drives(), *this,
                      &m_form.settingsStore(), m_screenSaver.get(), {}, {}, {}};
    s.characterSet = [options](ImageCommandInputs &in) {
        in.characterSet = options->GetCharacterSet();
        in.characterSetFromFile = options->characterSetFromFile();
    };
    auto dialog = std::make_unique<TDlgConsole>(s, &m_form);
    options->ApplyDialogLook(dialog.get(), m_form.LblTotal->font(), {dialog->BtnStart, dialog->BtnCancel, dialog->Button1});
    return dialog;
}

int JobCommands::exec(TDlgConsole &dialog)
{
    if (execHook) {
        dialog.show();
        const int result = execHook(dialog);
        dialog.hide();
        return result;
    }
    return dialog.exec();
}

bool JobCommands::confirmDataProject()
{
    ProjectModel &p = m_form.project();
    Prompter &prompter = *m_form.services().prompter;
    const ProjectFolder *root = p.root();
    if (root && root->childCount() == 0 && root->files().isEmpty() &&
        !prompter.confirm(QStringLiteral("There are no folders nor files in this project. Do you wish to continue?"),
                          QStringLiteral("Empty project")))
        return false;
    TDlgOptions *options = m_form.optionsDialog();
    const int level = deepestFolderLevel();
    if (options && !options->model().ChkDeep() && level >= 8 &&
        !prompter.confirm(QStringLiteral("Folders deeper than 8 levels will NOT be added. Do you wish to continue?"),
                          QStringLiteral("Folders nested ") + QString::number(level) + QStringLiteral(" levels")))
        return false;
    return true;
}

void JobCommands::DiscBuildISOExecute()
{
    ProjectModel &p = m_form.project();
    if (p.ProjectKind() == pkData && !confirmDataProject())
        return;
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    d->setJobType(jtBuildImage);
    d->PanelRecord->hide();
    d->ChkDeleteISO->setChecked(false);
    d->ChkDeleteISO->hide();
    d->RadioCreateISO->setChecked(true);
    d->ChkOnTheFly->hide();
    d->EditFile->setEnabled(true);
    d->ChkDeleteISO->setEnabled(true);
    if (p.ImageFile.isEmpty())
        p.ImageFile = defaultImageFile();
    d->EditFile->setText(p.ImageFile);
    const QString rootName = p.root() ? p.root()->text() : QString();
    d->EditName->setText(rootName);
    exec(*d);
    const QString file = d->EditFile->text().trimmed();
    const QString name = d->EditName->text();
    if (file != p.ImageFile || name != rootName)
        p.ProjectModified = true;
    p.ImageFile = file;
    if (p.ProjectKind() == pkData && p.root() && name != rootName)
        p.RenameFolder(p.root(), name);
}

void JobCommands::DiscRecordExecute()
{
    ProjectModel &p = m_form.project();
    if (p.ProjectKind() != pkData) {
        // The other kinds come with their own lists and checks.
        qCInfo(lcQuillon) << "record: project kind" << int(p.ProjectKind()) << "has no record set-up yet";
        return;
    }
    if (!confirmDataProject())
        return;
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    d->setJobType(TJobType(p.ProjectKind()));
    d->RadioCreateISO->setText(QStringLiteral("First create ISO image"));
    if (p.ImageFile.isEmpty())
        p.ImageFile = defaultImageFile();
    d->EditFile->setText(p.ImageFile);
    const QString rootName = p.root() ? p.root()->text() : QString();
    d->EditName->setText(rootName);
    exec(*d);
    const QString file = d->EditFile->text().trimmed();
    const QString name = d->EditName->text();
    const QString tempImage = QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/Quillon.iso"));
    if ((file != p.ImageFile && file != tempImage) || name != rootName)
        p.ProjectModified = true;
    p.ImageFile = file;
    if (p.root() && name != rootName)
        p.RenameFolder(p.root(), name);
}

// ---- host ---------------------------------------------------------------------------

ProjectModel &JobCommands::project() { return m_form.project(); }

QString JobCommands::totalText() const { return m_form.LblTotal->text(); }

int JobCommands::deepestFolderLevel()
{
    const ProjectFolder *root = m_form.project().root();
    return root ? deepestLevel(*root) : 0;
}

bool JobCommands::writePathList()
{
    TDlgOptions *options = m_form.optionsDialog();
    if (!options)
        return false;
    TDataPage *page = m_form.dataPage();
    PathListServices s{m_form.project(), options->model(), m_form.services().paths, page->notExistsAsker(),
                       [page](const QString &path, const QString &kind) { page->GoToDisk(path, kind); },
                       [] { QApplication::processEvents(); }};
    const PathListResult r = WritePathList(s);
    if (r.status == PathListResult::NotWritten) {
        qCWarning(lcQuillon) << "path list not written:" << r.error;
        m_form.services().prompter->error(QStringLiteral("Error writing to file ") + r.file, QStringLiteral("Error"));
    }
    return r.ok();
}

QStringList JobCommands::audioTracks() const { return {}; }

bool JobCommands::showOptionsDialog(const QString &pageCaption)
{
    TDlgOptions *options = m_form.optionsDialog();
    return options && options->ShowOptionsDialog(pageCaption);
}

void JobCommands::allowDeepFolders()
{
    if (TDlgOptions *options = m_form.optionsDialog())
        options->AllowDeepFolders();
}

void JobCommands::showMediaInfo(int driveIndex)
{
    qCInfo(lcQuillon) << "media information for drive" << driveIndex << "is not built yet";
}

bool JobCommands::showProjectProperties() { return Properties4aClick(); }

QString JobCommands::audioCaption(const ProjectModel &project)
{
    const QString &performer = project.AlbumPerformer;
    const QString &title = project.AlbumTitle;
    if (performer.isEmpty() && title.isEmpty())
        return project.WindowCaption();
    return QStringLiteral("Quillon - ") + performer +
           (!performer.isEmpty() && !title.isEmpty() ? QStringLiteral(" - ") : QString()) + title;
}

bool JobCommands::Properties4aClick()
{
    ProjectModel &p = m_form.project();
    ProjectFacts facts;
    facts.hasRoot = p.root() != nullptr;
    facts.rootName = facts.hasRoot ? p.root()->text() : QString();
    facts.nameReadOnly = p.ProjectKind() == pkDiscImage;
    facts.audioPage = m_form.PageControl1->currentWidget() == m_form.TabAudio;
    facts.dataSize = m_form.LblTotal->text();
    facts.fileCount = p.FileCount;
    int nodes = 0;
    p.VisitFolders([&nodes](const PathListFolder &) {
        ++nodes;
        return WalkStep::Continue;
    });
    facts.folderCount = std::max(0, nodes - 1);
    facts.projectFileName = p.ProjectFileName;
    facts.audioSize = m_form.LabelAudioTotal->text();
    facts.audioFiles = p.AudioTrackCount();
    facts.albumTitle = p.AlbumTitle;
    facts.albumPerformer = p.AlbumPerformer;

    TDlgProjectNfo dialog(*m_form.services().prompter, &m_form);
    dialog.setFacts(facts);
    int result = 0;
    if (propertiesHook) {
        dialog.show();
        result = propertiesHook(dialog);
        dialog.done(result);
    } else {
        result = dialog.exec();
    }
    if (result != QDialog::Accepted)
        return false;
    const QString name = dialog.EditName->text();
    const QString title = dialog.EditAudioTitle->text();
    const QString performer = dialog.EditAudioPerformer->text();
    if (title != facts.albumTitle || performer != facts.albumPerformer || name != facts.rootName) {
        p.ProjectModified = true;
        p.TitlesChanged = true;
    }
    if (p.root() && name != p.root()->text())
        p.RenameFolder(p.root(), name);
    p.AlbumTitle = title;
    p.AlbumPerformer = performer;
    if (p.ProjectKind() == pkAudio)
        m_form.setWindowTitle(audioCaption(p));
    return true;
}

bool JobCommands::writeTrackInfoFiles()
{
    qCInfo(lcQuillon) << "track information files are not built yet";
    return true;
}

void JobCommands::ripTracks(TDlgConsole &dialog)
{
    qCWarning(lcQuillon) << "ripping is not built yet";
    dialog.run().finishRip(1);
}

void JobCommands::addRecentFile(const QString &fileName)
{
    if (ProjectFileCommands *files = m_form.fileCommands())
        files->files().recentFiles().add(fileName);
}

void JobCommands::setFileBrowserWatching(bool on)
{
    // The file pane reads its folder when asked and keeps no watch to suspend.
    qCDebug(lcQuillon) << "file pane watching" << on;
}

void JobCommands::setTrayIconActive(bool on)
{
    if (!on) {
        m_ejectWasEnabled = m_form.DiskEject->isEnabled();
        m_form.DiskEject->setEnabled(false);
    } else {
        m_form.DiskEject->setEnabled(m_ejectWasEnabled);
    }
    if (m_form.TrayIcon)
        m_form.TrayIcon->setToolTip(on ? QStringLiteral("Eject / Close CD") : m_form.windowTitle());
}

void JobCommands::leaveDrive(QChar letter)
{
    auto *list = dynamic_cast<DriveListServiceImpl *>(m_form.services().drives);
    TDataPage *page = m_form.dataPage();
    if (!list || !list->built() || !page)
        return;
    const int index = list->drives().IndexOfLetter(char(letter.toUpper().toLatin1()));
    if (index < 0)
        return;
    const QString folder = page->LocalPane->currentFolder();
    for (const std::string &mount : list->drives().Reference(index).mountPoints) {
        const QString m = QString::fromStdString(mount);
        if (!m.isEmpty() && m != QLatin1String("/") && (folder == m || folder.startsWith(m + QLatin1Char('/')))) {
            // The disc's file system was just rewritten under the pane.
            page->LocalPane->setFolder(QDir::homePath());
            return;
        }
    }
}

void JobCommands::ejectOrCloseTray()
{
    if (m_form.DiskEject->isEnabled())
        m_form.DiskEject->trigger();
}

void JobCommands::shutDownComputer() { m_form.CheckShutdownExecute(); }

} // namespace quillon
