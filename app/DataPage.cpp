#include "app/DataPage.h"

#include "app/DlgNewFolderU.h"
#include "app/LocalPane.h"
#include "app/Main.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "project/FolderListModel.h"
#include "project/ProjectModel.h"
#include "project/ProjectTreeModel.h"
#include "settings/DlgOptionsU.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon {

// The adder keeps one asker for its life; these let a test put a script behind it.
class TDataPage::SwitchRename : public RenameAsker {
public:
    RenameAsker *target = nullptr;
    RenameAnswer ask(const RenameRequest &request) override { return target->ask(request); }
};

class TDataPage::SwitchNotExists : public NotExistsAsker {
public:
    NotExistsAsker *target = nullptr;
    NotExistsAnswer ask(const NotExistsRequest &request) override { return target->ask(request); }
};

TDataPage::TDataPage(TMainForm &form)
    : QObject(&form)
    , m_form(form)
    , m_editor(form.project(), *form.services().prompter)
{
    Prompter &prompter = *form.services().prompter;
    m_dialogRename = std::make_unique<DialogRenameAsker>(prompter, &form);
    m_dialogNotExists = std::make_unique<DialogNotExistsAsker>(&form);
    m_rename = std::make_unique<SwitchRename>();
    m_notExists = std::make_unique<SwitchNotExists>();
    setAskers(nullptr, nullptr);

    auto pumpTimer = std::make_shared<QElapsedTimer>();
    pumpTimer->start();
    ItemAdder::Hooks hooks;
    hooks.goToDisk = [this](const QString &path, const QString &kind) { GoToDisk(path, kind); };
    hooks.chkDeep = [this] {
        return !m_form.optionsDialog() || m_form.optionsDialog()->ChkDeep->isChecked();
    };
    hooks.enableDeep = [this] {
        if (TDlgOptions *options = m_form.optionsDialog())
            options->AllowDeepFolders();
    };
    // Pumping every few milliseconds keeps the busy dialog alive without slowing the walk.
    hooks.pump = [pumpTimer] {
        if (pumpTimer->elapsed() >= 8) {
            QCoreApplication::processEvents();
            pumpTimer->restart();
        }
    };
    m_adder = std::make_unique<ItemAdder>(form.project(), prompter, *m_rename, *m_notExists, hooks);
    m_adder->setAbortFlag(&form.AbortRequested);
    connect(&form.project(), &ProjectModel::projectReset, this, [this] { m_adder->clearAnswers(); });

    TimerDrop = new QTimer(this);
    TimerDrop->setObjectName(QStringLiteral("TimerDrop"));
    TimerDrop->setSingleShot(true);
    TimerDrop->setInterval(20);
    connect(TimerDrop, &QTimer::timeout, this, [this] {
        m_form.RunBusy(QStringLiteral("Reading directories..."), [this] { DropDataCDExecute(); });
    });
    TimerUpdate = new QTimer(this);
    TimerUpdate->setSingleShot(true);
    TimerUpdate->setInterval(10);
    connect(TimerUpdate, &QTimer::timeout, this, [this] {
        ProjectFolder *folder = selectedFolder();
        m_form.listModel()->setFolder(folder);
        FolderListModel *list = m_form.listModel();
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->index(row, 0).data().toString() == m_reselectCaption) {
                m_form.ListCD->setCurrentIndex(list->index(row, 0));
                break;
            }
        m_form.UpdateTotals();
    });

    auto action = [this](const QString &text, const QKeySequence &key, void (TDataPage::*slot)()) {
        auto *a = new QAction(text, &m_form);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_form.TabDataCD->addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    Paste = action(QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), &TDataPage::PasteExecute);
    Paste2 =
        action(QStringLiteral("Paste"), QKeySequence(Qt::SHIFT | Qt::Key_Insert), &TDataPage::PasteExecute);
    PopupNewFolder = action(QStringLiteral("&New Folder"), {}, &TDataPage::BtnNewFolderClick);
    PopupRename = action(QStringLiteral("&Rename"), {}, &TDataPage::PopupRenameExecute);
    PopupDelete = action(QStringLiteral("&Delete"), {}, &TDataPage::PopupDeleteExecute);
    PopupRefresh = action(QStringLiteral("Re&fresh"), {}, &TDataPage::PopupRefreshExecute);
    PopupGoToHDD = action(QStringLiteral("&Go to disk location"), QKeySequence(Qt::CTRL | Qt::Key_G),
                          &TDataPage::PopupGoToHDDExecute);
    PopupProperties = action(QStringLiteral("P&roperties"), {}, &TDataPage::PopupPropertiesExecute);
    for (QAction *a :
         {PopupNewFolder, PopupRename, PopupDelete, PopupRefresh, PopupGoToHDD, PopupProperties}) {
        m_form.TreeCD->addAction(a);
        m_form.ListCD->addAction(a);
    }
    m_form.TreeCD->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_form.ListCD->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_watched = {m_form.TreeCD, m_form.TreeCD->viewport(), m_form.ListCD, m_form.ListCD->viewport()};
    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_form.TreeCD), static_cast<QAbstractItemView *>(m_form.ListCD)}) {
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
        view->setEditTriggers(QAbstractItemView::SelectedClicked);
    }
    form.treeModel()->setRenameHandler(
        [this](const QModelIndex &index, const QString &text) { return renameInTree(index, text); });
    form.listModel()->setRenameHandler(
        [this](const QModelIndex &index, const QString &text) { return renameInList(index, text); });
    connect(m_form.ListCD, &QTreeView::doubleClicked, this, &TDataPage::ListCDDblClick);

    LocalPane = new TLocalPane(
        prompter,
        [this](QString &name) {
            TDlgNewFolder *dialog = m_form.findChild<TDlgNewFolder *>();
            if (!dialog)
                return false;
            dialog->EditName->clear();
            if (dialog->exec() != QDialog::Accepted)
                return false;
            name = dialog->folderName();
            return true;
        },
        m_form.PanelLocal);
    auto *layout = new QVBoxLayout(m_form.PanelLocal);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(LocalPane);
}

TDataPage::~TDataPage() = default;

NotExistsAsker &TDataPage::notExistsAsker() { return *m_notExists; }

void TDataPage::setAskers(RenameAsker *renamer, NotExistsAsker *notExists)
{
    m_rename->target = renamer ? renamer : m_dialogRename.get();
    m_notExists->target = notExists ? notExists : m_dialogNotExists.get();
}

QString TDataPage::changeLogPath() const
{
    return m_form.services().paths.dataDir() + QStringLiteral("/changed.txt");
}

QStringList TDataPage::pathsFromMime(const QMimeData *data)
{
    QStringList paths;
    if (!data)
        return paths;
    if (data->hasUrls()) {
        for (const QUrl &url : data->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
        return paths;
    }
    if (!data->hasText())
        return paths;
    for (const QString &line : data->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString text = line.trimmed();
        if (text.startsWith(QLatin1String("file://")))
            paths << QUrl(text).toLocalFile();
        else if (QDir::isAbsolutePath(text))
            paths << text;
    }
    return paths;
}

ProjectFolder *TDataPage::selectedFolder() const
{
    ProjectFolder *folder = ProjectTreeModel::folderAt(m_form.TreeCD->currentIndex());
    return folder ? folder : m_form.project().root();
}

void TDataPage::showFolder(ProjectFolder *folder, int selectRow)
{
    if (!folder)
        return;
    m_form.TreeCD->setCurrentIndex(m_form.treeModel()->indexOf(folder));
    FolderListModel *list = m_form.listModel();
    list->setFolder(folder);
    if (list->rowCount() > 0)
        m_form.ListCD->setCurrentIndex(list->index(qBound(0, selectRow, list->rowCount() - 1), 0));
}

// ---- adding ----------------------------------------------------------------------------

void TDataPage::DropDataCDExecute()
{
    ProjectFolder *target = selectedFolder();
    const bool hadSelection = m_form.ListCD->currentIndex().isValid();
    m_form.TreeCD->setUpdatesEnabled(false);
    m_form.ListCD->setUpdatesEnabled(false);
    QDir().mkpath(m_form.services().paths.dataDir());
    const bool showLog = m_adder->DropDataCDExecute(DroppedNames, target, changeLogPath());
    DroppedNames.clear();
    m_form.listModel()->setFolder(target);
    if (!hadSelection && m_form.listModel()->rowCount() > 0)
        m_form.ListCD->setCurrentIndex(m_form.listModel()->index(0, 0));
    m_form.TimerAbort([this] {
        m_form.TreeCD->setUpdatesEnabled(true);
        m_form.ListCD->setUpdatesEnabled(true);
        m_form.UpdateTotals();
    });
    if (showLog && !QDesktopServices::openUrl(QUrl::fromLocalFile(changeLogPath())))
        qCWarning(lcQuillon) << "cannot open the change log" << changeLogPath();
}

void TDataPage::PasteExecute()
{
    if (LocalPane->hasPaneFocus()) {
        LocalPane->Paste();
        return;
    }
    const QStringList paths = pathsFromMime(QGuiApplication::clipboard()->mimeData());
    if (paths.isEmpty())
        return;
    if (m_form.PageControl1->currentWidget() != m_form.TabDataCD || !m_form.project().dataPageShown() ||
        m_form.project().isReadOnly())
        return; // the audio pages read their own pastes
    DroppedNames = paths;
    TimerDrop->start();
}

void TDataPage::BtnNewFolderClick()
{
    ProjectFolder *selected = ProjectTreeModel::folderAt(m_form.TreeCD->currentIndex());
    TDlgNewFolder *dialog = m_form.findChild<TDlgNewFolder *>();
    if (!selected || !dialog || m_form.project().isReadOnly())
        return;
    m_form.AbortRequested = false;
    const AppPaths &paths = m_form.services().paths;
    ProjectFolder *node = m_adder->NewFolder(
        selected,
        [dialog](QString &name) {
            dialog->EditName->setText(name);
            if (dialog->exec() != QDialog::Accepted)
                return false;
            name = dialog->folderName();
            return true;
        },
        paths.programFolder(), paths.tempFolder());
    if (!node)
        return;
    m_form.listModel()->setFolder(selected);
    m_form.UpdateTotals();
}

// ---- renaming --------------------------------------------------------------------------

void TDataPage::PopupRenameExecute()
{
    ProjectModel &project = m_form.project();
    if (project.isReadOnly())
        return;
    if (m_form.TreeCD->hasFocus()) {
        const QModelIndex index = m_form.TreeCD->currentIndex();
        if (ProjectFolder *folder = ProjectTreeModel::folderAt(index);
            folder && project.IsModifiable(folder, -1, true))
            m_form.TreeCD->edit(index);
        return;
    }
    const QModelIndex index = m_form.ListCD->currentIndex().siblingAtColumn(0);
    FolderListModel *list = m_form.listModel();
    if (!index.isValid() || !list->folder())
        return;
    const int entry = list->entryIndexAt(index.row());
    const bool modifiable = entry < 0 ? project.IsModifiable(list->childFolderAt(index.row()), -1, true)
                                      : project.IsModifiable(list->folder(), entry, true);
    if (modifiable)
        m_form.ListCD->edit(index);
}

void TDataPage::keepEditing(QAbstractItemView *view, const QModelIndex &index, const QString &text)
{
    // A clashing name stays in its edit box for the user to change.
    const QPersistentModelIndex keep(index);
    QTimer::singleShot(0, view, [view, keep, text] {
        if (!keep.isValid())
            return;
        view->setCurrentIndex(keep);
        view->edit(keep);
        if (auto *edit = view->findChild<QLineEdit *>())
            edit->setText(text);
    });
}

bool TDataPage::renameInTree(const QModelIndex &index, const QString &text)
{
    ProjectFolder *folder = ProjectTreeModel::folderAt(index);
    const ItemEditor::EditResult result = m_editor.renameFolder(folder, text);
    if (result == ItemEditor::EditResult::Refused)
        keepEditing(m_form.TreeCD, index, text);
    if (result != ItemEditor::EditResult::Renamed)
        return false;
    afterEdit(QString());
    return true;
}

bool TDataPage::renameInList(const QModelIndex &index, const QString &text)
{
    FolderListModel *list = m_form.listModel();
    ProjectFolder *folder = list->folder();
    const int entry = list->entryIndexAt(index.row());
    const ItemEditor::EditResult result = entry < 0
                                              ? m_editor.renameFolder(list->childFolderAt(index.row()), text)
                                              : m_editor.renameFile(folder, entry, text);
    if (result == ItemEditor::EditResult::Refused)
        keepEditing(m_form.ListCD, index, text);
    if (result != ItemEditor::EditResult::Renamed)
        return false;
    afterEdit(text.trimmed());
    return true;
}

void TDataPage::afterEdit(const QString &selectCaption)
{
    m_reselectCaption = selectCaption;
    TimerUpdate->start();
}

// ---- removing ---------------------------------------------------------------------------

void TDataPage::PopupDeleteExecute()
{
    if (m_form.TreeCD->hasFocus())
        removeFromTree();
    else
        removeFromList();
}

void TDataPage::removeFromList()
{
    ProjectModel &project = m_form.project();
    FolderListModel *list = m_form.listModel();
    ProjectFolder *folder = list->folder();
    const QModelIndexList rows = m_form.ListCD->selectionModel()->selectedRows(0);
    if (project.isReadOnly() || !folder || rows.isEmpty() || !m_editor.confirmRemove())
        return;
    // Rows shift as items leave, so the items are named first.
    QList<ProjectFolder *> folders;
    QStringList files;
    int lastRow = 0;
    for (const QModelIndex &index : rows) {
        lastRow = qMax(lastRow, index.row());
        const int entry = list->entryIndexAt(index.row());
        if (entry < 0)
            folders << list->childFolderAt(index.row());
        else
            files << folder->files()[entry].name();
    }
    for (ProjectFolder *child : folders)
        m_editor.removeFolder(child);
    for (const QString &name : files)
        m_editor.removeFile(folder, project.FindFileEntry(folder, name));
    if (list->rowCount() > 0)
        m_form.ListCD->setCurrentIndex(list->index(qMin(lastRow, list->rowCount() - 1), 0));
    m_form.UpdateTotals();
}

void TDataPage::removeFromTree()
{
    ProjectModel &project = m_form.project();
    const QModelIndex index = m_form.TreeCD->currentIndex();
    ProjectFolder *folder = ProjectTreeModel::folderAt(index);
    if (!folder || folder->isRoot() || project.isReadOnly() || !project.IsModifiable(folder, -1, true) ||
        !m_editor.confirmRemove())
        return;
    ProjectFolder *above = ProjectTreeModel::folderAt(m_form.TreeCD->indexAbove(index));
    if (!above || folder->contains(above))
        above = folder->parent();
    m_editor.removeFolder(folder);
    showFolder(above);
    m_form.UpdateTotals();
}

// ---- refresh, go to disk, properties ----------------------------------------------------

void TDataPage::PopupRefreshExecute()
{
    const ItemEditor::RefreshResult result = m_editor.refresh();
    if (result == ItemEditor::RefreshResult::RereadImage) {
        qCInfo(lcQuillon) << "rereading the image is the image project's";
        return;
    }
    if (result != ItemEditor::RefreshResult::Refreshed)
        return;
    m_form.listModel()->setFolder(selectedFolder());
    m_form.listModel()->refreshSizes();
    m_form.UpdateTotals();
}

bool TDataPage::focusedItem(ProjectFolder *&folder, int &entryIndex) const
{
    entryIndex = -1;
    folder = nullptr;
    if (m_form.TreeCD->hasFocus()) {
        folder = ProjectTreeModel::folderAt(m_form.TreeCD->currentIndex());
        return folder != nullptr;
    }
    const QModelIndex index = m_form.ListCD->currentIndex();
    FolderListModel *list = m_form.listModel();
    if (!index.isValid() || !list->folder())
        return false;
    entryIndex = list->entryIndexAt(index.row());
    folder = entryIndex < 0 ? list->childFolderAt(index.row()) : list->folder();
    return folder != nullptr;
}

void TDataPage::PopupGoToHDDExecute()
{
    ProjectFolder *folder;
    int entry;
    if (m_form.PageControl1->currentWidget() != m_form.TabDataCD || !focusedItem(folder, entry))
        return;
    if (entry < 0 && folder->isRoot())
        return;
    QString kind;
    const QString path = m_editor.diskLocation(folder, entry, &kind);
    if (!path.isEmpty())
        GoToDisk(path, kind);
}

void TDataPage::PopupPropertiesExecute()
{
    ProjectFolder *folder;
    int entry;
    if (m_form.project().isReadOnly() || !focusedItem(folder, entry))
        return;
    if (entry < 0 && folder->isRoot()) {
        qCInfo(lcQuillon) << "the project properties belong to the project dialog";
        return;
    }
    QString kind;
    const QString path = m_editor.diskLocation(folder, entry, &kind);
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path))
        ShowShellProperties(path, &m_form);
    else
        m_form.services().prompter->error(kind + QStringLiteral(" not found! ") + path,
                                          QStringLiteral("Error"));
}

void TDataPage::GoToDisk(const QString &path, const QString &kindWord)
{
    LocalPane->GoToDisk(path, kindWord);
}

void TDataPage::BtnUpClick()
{
    ProjectFolder *folder = selectedFolder();
    if (folder && !folder->isRoot())
        showFolder(folder->parent());
}

void TDataPage::ListCDDblClick(const QModelIndex &index)
{
    FolderListModel *list = m_form.listModel();
    if (!index.isValid() || !list->folder())
        return;
    const int entry = list->entryIndexAt(index.row());
    if (entry < 0) {
        showFolder(list->childFolderAt(index.row()));
        return;
    }
    if (m_form.project().isReadOnly())
        return;
    const QString path = list->folder()->files()[entry].sourcePath();
    if (QFileInfo::exists(path)) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            qCWarning(lcQuillon) << "cannot open" << path;
    } else {
        m_form.services().prompter->error(QStringLiteral("File not found! ") + path, QStringLiteral("Error"));
    }
}

bool TDataPage::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by address only: during the window's teardown the views are half gone.
    const bool onTree = watched == m_watched[0] || watched == m_watched[1];
    const bool onList = watched == m_watched[2] || watched == m_watched[3];
    if (!onTree && !onList)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDropEvent *>(event);
        if (m_form.project().isReadOnly() || pathsFromMime(drag->mimeData()).isEmpty())
            return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList paths = pathsFromMime(drop->mimeData());
        if (paths.isEmpty() || m_form.project().isReadOnly())
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        DroppedNames = paths;
        TimerDrop->start();
        return true;
    }
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key->key()) {
    case Qt::Key_Delete:
        PopupDeleteExecute();
        return true;
    case Qt::Key_F2:
        PopupRenameExecute();
        return true;
    default:
        break;
    }
    if (!onList)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::AltModifier)
            PopupPropertiesExecute();
        else
            ListCDDblClick(m_form.ListCD->currentIndex());
        return true;
    case Qt::Key_Backspace:
        BtnUpClick();
        return true;
    case Qt::Key_A:
        if (mods != Qt::ControlModifier)
            return false;
        if (m_form.ListCD->selectionModel()->selectedRows().size() == m_form.listModel()->rowCount())
            m_form.ListCD->clearSelection();
        else
            m_form.ListCD->selectAll();
        return true;
    default:
        return false;
    }
}

} // namespace quillon
