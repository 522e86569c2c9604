#include "app/JobCommands.h"

#include "app/DataPage.h"
#include "app/DlgNewU.h"
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
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QStorageInfo>
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

    DiscErase = new QAction(QStringLiteral("&Erase CD-RW disc..."), &form);
    DiscErase->setObjectName(QStringLiteral("DiscErase"));
    connect(DiscErase, &QAction::triggered, this, &JobCommands::DiscEraseExecute);
    CopydataCD1a = new QAction(QStringLiteral("Copy &Data CD..."), &form);
    CopydataCD1a->setObjectName(QStringLiteral("CopydataCD1a"));
    connect(CopydataCD1a, &QAction::triggered, this, &JobCommands::CopydataCD1aClick);
    Fixate1a = new QAction(QStringLiteral("&Fixate (Close) Disc..."), &form);
    Fixate1a->setObjectName(QStringLiteral("Fixate1a"));
    connect(Fixate1a, &QAction::triggered, this, &JobCommands::Fixate1aClick);

    DiscMenu = form.menuBar()->addMenu(QStringLiteral("&Disc"));
    DiscMenu->setObjectName(QStringLiteral("DiscMenu"));
    auto item = [this](const char *name, const QString &caption, QAction *target) {
        QAction *a = DiscMenu->addAction(target->icon(), caption);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, target, &QAction::trigger);
        a->setEnabled(target->isEnabled());
        connect(target, &QAction::changed, a, [a, target] { a->setEnabled(target->isEnabled()); });
        return a;
    };
    item("Record1", QStringLiteral("Record"), DiscRecord);
    item("BuildISOImage1", QStringLiteral("&Build ISO Image..."), DiscBuildISO);
    item("EraseCDRWDisc1", QStringLiteral("Erase CD-R&W Disc..."), DiscErase);
    item("CopydataCD1", QStringLiteral("Copy &Data CD..."), CopydataCD1a);
    item("Fixate1", QStringLiteral("&Fixate (Close) Disc..."), Fixate1a);
    item("EjectCloseTray1", QStringLiteral("&Eject / Close Tray"), form.DiskEject);
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

bool JobCommands::recordingLocked() const
{
    return m_current && m_current->run().busy() && !m_current->BtnCancel->isEnabled();
}

int JobCommands::exec(TDlgConsole &dialog)
{
    m_current = &dialog;
    struct Clear {
        TDlgConsole *&current;
        ~Clear() { current = nullptr; }
    } clear{m_current};
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

bool JobCommands::confirmAudioProject()
{
    Prompter &prompter = *m_form.services().prompter;
    if (audioTracks().isEmpty() && m_form.project().AudioTrackCount() == 0 &&
        !prompter.confirm(QStringLiteral("There are no audio files in this project. Do you wish to continue?"),
                          QStringLiteral("Empty Audio CD")))
        return false;
    TDlgOptions *options = m_form.optionsDialog();
    if (!options || !options->model().ChkUpcaseCDText() || !seams.audioCdTexts)
        return true;
    // Anything beyond plain ASCII, whether or not it has a case.
    const QStringList texts = seams.audioCdTexts();
    for (int row = 0; row < texts.size(); ++row) {
        const QString &text = texts[row];
        if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0x7F; }))
            continue;
        if (prompter.confirm(QStringLiteral("Most of CD players doesn't support national characters in CD-Text. Do "
                                            "you wish to continue?"),
                             QStringLiteral("CD-Text may be incorrect")))
            return true;
        if (seams.selectAudioTrack)
            seams.selectAudioTrack(row);
        return false;
    }
    return true;
}

void JobCommands::readBack(TDlgConsole &d, bool withDataPart, bool audio)
{
    ProjectModel &p = m_form.project();
    const QString file = d.EditFile->text().trimmed();
    const QString name = d.EditName->text();
    const QString performer = d.EditPerformer->text();
    const QString rootName = p.root() ? p.root()->text() : QString();
    // The temporary image the options fall back on is no change of the user's.
    const QString tempImage = QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/Quillon.iso"));
    if ((file != p.ImageFile && file != tempImage) || (withDataPart && name != rootName) ||
        (audio && (name != p.AlbumTitle || performer != p.AlbumPerformer)))
        p.ProjectModified = true;
    p.ImageFile = file;
    if (withDataPart && p.root() && name != rootName)
        p.RenameFolder(p.root(), name);
    if (audio) {
        p.AlbumPerformer = performer;
        p.AlbumTitle = name;
        m_form.setWindowTitle(audioCaption(p));
    }
}

void JobCommands::DiscRecordExecute()
{
    ProjectModel &p = m_form.project();
    const TProjectKind kind = p.ProjectKind();
    if (kind == pkAudioCopy) {
        DiskRipExecute();
        return;
    }
    const bool audioList = kind == pkAudio || kind == pkCdPlus;
    const bool dataPart = kind == pkData || kind == pkCdPlus || kind == pkAddSession;
    if (audioList && !confirmAudioProject())
        return;
    if (dataPart && !confirmDataProject())
        return;
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    d->setJobType(TJobType(kind));
    const QString rootName = p.root() ? p.root()->text() : QString();
    if (kind == pkDiscImage) {
        d->ChkOnTheFly->hide();
        d->RadioCreateISO->setText(QStringLiteral("Record file"));
        d->RadioCreateISO->setChecked(true);
        d->EditFile->setEnabled(true);
        d->BtnBrowseFile->setEnabled(true);
        d->EditFile->setText(p.ImageFile);
        if (p.ImageIsCue)
            d->ChkMultisession->hide();
        d->ChkDeleteISO->setChecked(false);
        d->ChkDeleteISO->hide();
        d->ChkMultisession->setChecked(false);
        d->EditName->setText(rootName);
        d->EditName->setReadOnly(true);
    } else {
        if (dataPart)
            d->RadioCreateISO->setText(QStringLiteral("First create ISO image"));
        if (p.ImageFile.isEmpty())
            p.ImageFile = defaultImageFile();
        d->EditFile->setText(p.ImageFile);
        d->EditName->setText(rootName);
        if (kind == pkAudio) {
            d->LblPerformer->show();
            d->EditPerformer->show();
            d->EditPerformer->setMaxLength(64);
            d->EditPerformer->setText(p.AlbumPerformer);
            d->ChkMultisession->setChecked(false);
            d->ChkMultisession->setText(QStringLiteral("&Multisession - unreadable until fixation"));
            d->LblName->setText(QStringLiteral("&Album title"));
            d->EditName->setText(p.AlbumTitle);
            d->EditName->setToolTip(QStringLiteral("Used only when CD-Text is written"));
            d->RadioCreateISO->hide();
            d->EditFile->hide();
            d->BtnBrowseFile->hide();
            d->ChkDeleteISO->hide();
        } else if (kind == pkCdPlus) {
            d->ChkMultisession->setText(QStringLiteral("&Multisession disc - ONLY DATA part"));
            d->ChkMultisession->setToolTip(QStringLiteral("CD-TEXT is not allowed in multisession"));
            d->ChkMultisession->setChecked(false);
        }
    }
    exec(*d);
    readBack(*d, dataPart, kind == pkAudio);
}

void JobCommands::runWithoutCue(TDlgConsole &d)
{
    ProjectModel &p = m_form.project();
    const bool cue = p.ImageIsCue;
    p.ImageIsCue = false;
    d.UpdateCmdLn();
    exec(d);
    p.ImageIsCue = cue;
}

void JobCommands::DiscEraseExecute()
{
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    d->setJobType(jtErase);
    d->PanelIso->hide();
    d->PanelCD->hide();
    d->ChkMultisession->hide();
    d->PanelErase->show();
    runWithoutCue(*d);
}

void JobCommands::Fixate1aClick()
{
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    d->setJobType(jtFixate);
    d->LblFixate->show();
    d->PanelIso->hide();
    d->PanelCD->hide();
    d->ChkMultisession->hide();
    runWithoutCue(*d);
}

QString JobCommands::labelForFileName(const QString &label)
{
    QString out;
    bool colonSeen = false;
    for (QChar c : label) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("?*|\"<>/\\").contains(c))
            continue;
        if (c == QLatin1Char(':')) {
            if (colonSeen)
                continue;
            colonSeen = true;
        }
        out += c;
    }
    return out.trimmed();
}

QString JobCommands::sourceDiscLabel(int driveIndex)
{
    if (seams.discLabel)
        return seams.discLabel(driveIndex);
    auto *list = dynamic_cast<DriveListServiceImpl *>(m_form.services().drives);
    if (!list || !list->built() || driveIndex < 0 || driveIndex >= list->drives().Count())
        return QString();
    const std::string label = list->drives().Drive(driveIndex).GetIsoVolumeLabel();
    if (!label.empty())
        return QString::fromLatin1(label.c_str());
    for (const std::string &mount : list->drives().Reference(driveIndex).mountPoints) {
        const QStorageInfo info(QString::fromStdString(mount));
        if (info.isValid() && !info.name().isEmpty())
            return info.name();
    }
    return QString();
}

void JobCommands::CopydataCD1aClick()
{
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    d->setJobType(jtCopyDisc);
    JobDrives &all = drives();
    d->EditName->hide();
    d->BtnProjectProperties->hide();
    QStringList items;
    for (int i = 0; i < m_form.ComboCDs->count(); ++i)
        items << m_form.ComboCDs->itemText(i);
    d->ComboCDs->addItems(items);
    d->ComboCDs->setCurrentIndex(m_form.ComboCDs->currentIndex());
    d->ComboCDs->show();
    d->BtnMediaInfo->show();
    d->ChkMultisession->hide();
    d->ChkDeleteISO->setChecked(false);
    d->ChkDeleteISO->hide();
    d->ChkOnTheFly->setText(QStringLiteral("Write to drive"));
    d->ComboCdDest->addItems(items);
    d->ComboCdDest->setCurrentIndex(all.recorderIndex() < items.size() ? all.recorderIndex() : -1);
    d->ComboCdDest->show();
    if (all.count() <= 1) {
        d->RadioCreateISO->setChecked(true);
        d->ChkOnTheFly->setEnabled(false);
        d->ComboCdDest->setEnabled(false);
        d->BtnMediaDst->setEnabled(false);
        d->EditFile->setEnabled(true);
        d->BtnBrowseFile->setEnabled(true);
    }
    d->BtnMediaDst->show();
    QString file = defaultImageFile();
    const QString label = d->ComboCdDest->currentIndex() >= 0 ? labelForFileName(sourceDiscLabel(d->ComboCDs->currentIndex()))
                                                              : QString();
    if (!label.isEmpty())
        file = QDir::toNativeSeparators(QFileInfo(file).absolutePath() + QLatin1Char('/') + label + QStringLiteral(".iso"));
    d->EditFile->setText(file);
    d->LblName->setText(QStringLiteral("Source disc"));
    runWithoutCue(*d);
}

void JobCommands::DiskRipExecute()
{
    Prompter &prompter = *m_form.services().prompter;
    const int rows = seams.ripRows ? seams.ripRows() : 0;
    if (rows == 0) {
        prompter.error(QStringLiteral("This disc doesn't contain any track!"), QStringLiteral("No audio tracks"));
        return;
    }
    if ((seams.ripTicked ? seams.ripTicked() : 0) == 0) {
        prompter.error(QStringLiteral("Please select some tracks!"), QStringLiteral("No tracks selected"));
        return;
    }
    std::unique_ptr<TDlgConsole> d = createDialog();
    if (!d)
        return;
    ProjectModel &p = m_form.project();
    TDlgOptions *options = m_form.optionsDialog();
    d->setJobType(jtRipAudio);
    d->LblName->setText(QStringLiteral("&Album title"));
    d->PanelRecord->hide();
    d->PanelCD->hide();
    d->LblRipDir->show();
    d->DirRipOutput->show();
    d->DirRipOutput->setText(options->model().DirRipOutput());
    d->EditName->setText(p.AlbumPerformer +
                         (!p.AlbumPerformer.isEmpty() && !p.AlbumTitle.isEmpty() ? QStringLiteral(" - ") : QString()) +
                         p.AlbumTitle);
    QDir().mkpath(options->model().DirOutput());
    d->ChkShell->hide();
    exec(*d);
}

void JobCommands::NewTaskExecute()
{
    TDlgNew chooser(&m_form.settingsStore(), &m_form);
    int result = 0;
    if (newTaskHook) {
        chooser.show();
        result = newTaskHook(chooser);
        chooser.done(result);
    } else {
        result = chooser.exec();
    }
    if (result != QDialog::Accepted)
        return;
    const TDlgNew::Task task = chooser.task();
    if (task == TDlgNew::ntDataCopy) {
        CopydataCD1aClick();
        return;
    }
    ProjectModel &p = m_form.project();
    p.ResetProject();
    auto run = [](const std::function<void()> &seam, const char *what) {
        if (seam)
            seam();
        else
            qCInfo(lcQuillon) << "new task:" << what << "is not built yet; a data project starts instead";
    };
    switch (task) {
    case TDlgNew::ntData:
        m_form.NewDataProject();
        break;
    case TDlgNew::ntAudio:
        run(seams.newAudioProject, "the audio project");
        break;
    case TDlgNew::ntMixed:
        run(seams.newMixedProject, "the CD Plus project");
        break;
    case TDlgNew::ntRecFromIso:
        run(seams.openImage, "recording from an image");
        break;
    case TDlgNew::ntMultisession:
        run(seams.importSession, "the session import");
        break;
    case TDlgNew::ntRipAudio:
        run(seams.newRipProject, "the audio copy");
        break;
    case TDlgNew::ntDataCopy:
        break;
    }
    // A tree left empty gets its root with the default disc name.
    if (!p.root())
        m_form.NewDataProject();
    if (task != TDlgNew::ntMultisession)
        m_form.UpdateTotals();
    if (task != TDlgNew::ntRipAudio)
        m_form.setWindowTitle(p.WindowCaption());
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
