#include "app/LocalPane.h"

#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon {

namespace {

// Where file managers mark a cut (as opposed to copied) selection.
const char cutSelectionFormat[] = "application/x-kde-cutselection";

bool copyRecursively(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (!info.isDir() || info.isSymLink())
        return QFile::copy(from, to);
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    bool ok = true;
    while (it.hasNext()) {
        const QFileInfo child = it.nextFileInfo();
        ok = copyRecursively(child.filePath(), to + QLatin1Char('/') + child.fileName()) && ok;
    }
    return ok;
}

// Our own properties dialog where no file manager answers on the bus.
void showOwnProperties(const QString &path, QWidget *parent)
{
    const QFileInfo info(path);
    QDialog dialog(parent);
    dialog.setWindowTitle(info.fileName().isEmpty() ? path : info.fileName());
    auto *form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("Location:"), new QLabel(info.absolutePath(), &dialog));
    form->addRow(QStringLiteral("Type:"),
                 new QLabel(info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File"), &dialog));
    if (!info.isDir())
        form->addRow(QStringLiteral("Size:"),
                     new QLabel(QLocale().toString(info.size()) + QStringLiteral(" bytes"), &dialog));
    form->addRow(QStringLiteral("Modified:"),
                 new QLabel(QLocale().toString(info.lastModified(), QLocale::LongFormat), &dialog));
    if (info.isSymLink())
        form->addRow(QStringLiteral("Link to:"), new QLabel(info.symLinkTarget(), &dialog));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    dialog.exec();
}

// Our own file search where the desktop offers none.
void showOwnSearch(const QString &folder, QWidget *parent, const std::function<void(const QString &)> &reveal)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Find a file"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *pattern = new QLineEdit(&dialog);
    pattern->setPlaceholderText(QStringLiteral("*.txt"));
    auto *start = new QPushButton(QStringLiteral("&Find"), &dialog);
    auto *results = new QListWidget(&dialog);
    auto *row = new QHBoxLayout;
    row->addWidget(pattern, 1);
    row->addWidget(start);
    layout->addWidget(new QLabel(folder, &dialog));
    layout->addLayout(row);
    layout->addWidget(results, 1);
    QObject::connect(start, &QPushButton::clicked, &dialog, [&] {
        results->clear();
        const QString wanted = pattern->text().trimmed();
        if (wanted.isEmpty())
            return;
        QDirIterator it(
            folder,
            {wanted.contains(QLatin1Char('*')) ? wanted : QLatin1Char('*') + wanted + QLatin1Char('*')},
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        int found = 0;
        while (it.hasNext() && found < 5000) {
            results->addItem(it.next());
            if (++found % 50 == 0)
                QCoreApplication::processEvents();
        }
    });
    QObject::connect(results, &QListWidget::itemDoubleClicked, &dialog, [&](QListWidgetItem *item) {
        reveal(item->text());
        dialog.accept();
    });
    dialog.exec();
}

} // namespace

void ShowShellProperties(const QString &path, QWidget *parent)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    qCInfo(lcQuillon) << "no file manager on the bus for properties:" << reply.errorMessage();
    showOwnProperties(path, parent);
}

TLocalPane::TLocalPane(Prompter &prompter, std::function<bool(QString &)> askFolderName, QWidget *parent)
    : QWidget(parent)
    , m_prompter(prompter)
    , m_askFolderName(std::move(askFolderName))
{
    setObjectName(QStringLiteral("LocalPane"));
    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    m_files->setReadOnly(false);
    m_files->setRootPath(QDir::rootPath());
    m_dirs = new QFileSystemModel(this);
    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_dirs->setRootPath(QDir::rootPath());

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    auto *bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    ComboLocal = new QComboBox(this);
    ComboLocal->setObjectName(QStringLiteral("ComboLocal"));
    ComboLocal->setEditable(true);
    ComboLocal->setInsertPolicy(QComboBox::NoInsert);
    ComboLocal->setMinimumWidth(300);
    BtnDriveTree = new QToolButton(this);
    BtnDriveTree->setArrowType(Qt::DownArrow);
    BtnDriveTree->setToolTip(QStringLiteral("Folders"));
    bar->addWidget(ComboLocal);
    bar->addWidget(BtnDriveTree);
    QStyle *st = style();
    ActUp = bar->addAction(st->standardIcon(QStyle::SP_FileDialogToParent), QStringLiteral("Up"), this,
                           &TLocalPane::BtnUpClick);
    bar->addAction(st->standardIcon(QStyle::SP_FileDialogNewFolder), QStringLiteral("Create new folder"),
                   this, &TLocalPane::BtnNewFolderClick);
    bar->addAction(QStringLiteral("Rename"), this, &TLocalPane::RenameSelected);
    bar->addAction(st->standardIcon(QStyle::SP_FileDialogInfoView), QStringLiteral("Properties"), this,
                   &TLocalPane::PropertiesSelected);
    bar->addAction(st->standardIcon(QStyle::SP_DirOpenIcon), QStringLiteral("Open folder in new window"),
                   this, &TLocalPane::OpenFolderInNewWindow);
    bar->addAction(QStringLiteral("Paste"), this, &TLocalPane::Paste);
    bar->addAction(st->standardIcon(QStyle::SP_BrowserReload), QStringLiteral("Refresh"), this,
                   &TLocalPane::Refresh);
    bar->addAction(QStringLiteral("Find a file"), this, &TLocalPane::FindFile);
    bar->addAction(st->standardIcon(QStyle::SP_TrashIcon), QStringLiteral("Delete"), this,
                   [this] { DeleteSelected(false); });
    column->addWidget(bar);

    DriveView1 = new QTreeView(this);
    DriveView1->setObjectName(QStringLiteral("DriveView1"));
    DriveView1->setModel(m_dirs);
    for (int c = 1; c < m_dirs->columnCount(); ++c)
        DriveView1->hideColumn(c);
    DriveView1->setHeaderHidden(true);
    DriveView1->hide();
    DriveView1->installEventFilter(this);
    column->addWidget(DriveView1);

    ListLocal = new QTreeView(this);
    ListLocal->setObjectName(QStringLiteral("ListLocal"));
    ListLocal->setModel(m_files);
    ListLocal->setRootIsDecorated(false);
    ListLocal->setItemsExpandable(false);
    ListLocal->setSortingEnabled(true);
    ListLocal->sortByColumn(0, Qt::AscendingOrder);
    ListLocal->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListLocal->setDragEnabled(true);
    ListLocal->setDragDropMode(QAbstractItemView::DragOnly);
    ListLocal->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    // The name column takes what the others leave.
    ListLocal->header()->setStretchLastSection(false);
    ListLocal->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListLocal->header()->setMinimumSectionSize(100);
    ListLocal->installEventFilter(this);
    column->addWidget(ListLocal, 1);

    connect(ListLocal, &QTreeView::doubleClicked, this, &TLocalPane::openItem);
    connect(BtnDriveTree, &QToolButton::clicked, this, [this] { showDriveTree(DriveView1->isHidden()); });
    connect(DriveView1, &QTreeView::activated, this, [this](const QModelIndex &index) {
        setFolder(m_dirs->filePath(index));
        showDriveTree(false);
    });
    connect(ComboLocal, &QComboBox::activated, this,
            [this] { setFolder(ComboLocal->currentText().trimmed()); });
    connect(ComboLocal->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { setFolder(ComboLocal->currentText().trimmed()); });
    setFolder(QDir::homePath());
}

bool TLocalPane::setFolder(const QString &folder, const QString &select)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    m_folder = QDir::cleanPath(info.absoluteFilePath());
    const QModelIndex root = m_files->index(m_folder);
    ListLocal->setRootIndex(root);
    ComboLocal->setEditText(QDir::toNativeSeparators(m_folder));
    if (ComboLocal->findText(QDir::toNativeSeparators(m_folder)) < 0)
        ComboLocal->insertItem(0, QDir::toNativeSeparators(m_folder));
    // A root ends with its separator (a drive's ":" elsewhere); there is no way up from it.
    ActUp->setEnabled(!QDir(m_folder).isRoot());
    const QModelIndex dir = m_dirs->index(m_folder);
    DriveView1->setCurrentIndex(dir);
    DriveView1->scrollTo(dir);
    ListLocal->clearSelection();
    if (!select.isEmpty()) {
        const QModelIndex item = m_files->index(m_folder + QLatin1Char('/') + select);
        if (item.isValid()) {
            ListLocal->setCurrentIndex(item);
            ListLocal->scrollTo(item);
        }
    }
    emit folderChanged(m_folder);
    return true;
}

void TLocalPane::GoToDisk(const QString &path, const QString &kindWord)
{
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (QFileInfo(folder).isDir())
        setFolder(folder);
    if (info.exists() || info.isSymLink())
        setFolder(folder, info.fileName());
    else
        m_prompter.error(kindWord + QStringLiteral(" ") + path + QStringLiteral(" doesn't exist!"),
                         QStringLiteral("Error"));
    ListLocal->setFocus();
    if (QWidget *top = window()) {
        top->raise();
        top->activateWindow();
    }
}

QStringList TLocalPane::selectedPaths() const
{
    QStringList paths;
    for (const QModelIndex &index : ListLocal->selectionModel()->selectedRows(0))
        paths << m_files->filePath(index);
    return paths;
}

void TLocalPane::BtnUpClick()
{
    if (m_folder.isEmpty() || QDir(m_folder).isRoot())
        return;
    const QFileInfo left(m_folder);
    setFolder(left.absolutePath(), left.fileName());
}

bool TLocalPane::CreateFolder(const QString &name)
{
    const QString path = m_folder + QLatin1Char('/') + name.trimmed();
    if (name.trimmed().isEmpty() || !QDir().mkpath(path)) {
        m_prompter.error(QStringLiteral("I can't create folder ") + path,
                         QStringLiteral("Error creating folder"));
        return false;
    }
    const QString first = name.trimmed().section(QLatin1Char('/'), 0, 0);
    setFolder(m_folder, first);
    return true;
}

void TLocalPane::BtnNewFolderClick()
{
    QString name;
    if (m_askFolderName && m_askFolderName(name))
        CreateFolder(name);
}

void TLocalPane::RenameSelected()
{
    const QModelIndex current = ListLocal->currentIndex();
    if (current.isValid())
        ListLocal->edit(current.siblingAtColumn(0));
}

void TLocalPane::PropertiesSelected()
{
    const QStringList paths = selectedPaths();
    ShowShellProperties(paths.isEmpty() ? m_folder : paths.first(), this);
}

void TLocalPane::OpenFolderInNewWindow()
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_folder)))
        qCWarning(lcQuillon) << "cannot open folder" << m_folder;
}

void TLocalPane::Copy(bool cut)
{
    const QStringList paths = selectedPaths();
    if (paths.isEmpty())
        return;
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    data->setData(QLatin1String(cutSelectionFormat), cut ? "1" : "0");
    QGuiApplication::clipboard()->setMimeData(data);
}

void TLocalPane::Paste()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasUrls())
        return;
    const bool cut = data->data(QLatin1String(cutSelectionFormat)) == "1";
    QString last;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString from = url.toLocalFile();
        QString to = m_folder + QLatin1Char('/') + QFileInfo(from).fileName();
        if (QFileInfo(from).absolutePath() == m_folder && !cut) {
            // A copy into its own folder gets a new name, as file managers do.
            for (int n = 2; QFileInfo::exists(to) || QFileInfo(to).isSymLink(); ++n)
                to = m_folder + QLatin1Char('/') + QFileInfo(from).completeBaseName() +
                     QStringLiteral(" (%1)").arg(n) +
                     (QFileInfo(from).suffix().isEmpty() ? QString()
                                                         : QLatin1Char('.') + QFileInfo(from).suffix());
        }
        const bool ok = cut ? QFile::rename(from, to) : copyRecursively(from, to);
        if (!ok)
            qCWarning(lcQuillon) << (cut ? "move" : "copy") << "failed:" << from << to;
        else
            last = QFileInfo(to).fileName();
    }
    if (cut)
        QGuiApplication::clipboard()->clear();
    setFolder(m_folder, last);
}

void TLocalPane::Refresh()
{
    // The model follows the disk by itself; a new root makes it read the folder again.
    const QString keep = m_folder;
    const QModelIndex current = ListLocal->currentIndex();
    const QString selected = current.isValid() ? m_files->fileName(current) : QString();
    m_files->setRootPath(QString());
    m_files->setRootPath(QDir::rootPath());
    setFolder(keep, selected);
}

void TLocalPane::FindFile()
{
    // The desktop's search where one is installed, else ours.
    const QStringList searchers = {QStringLiteral("catfish"), QStringLiteral("gnome-search-tool"),
                                   QStringLiteral("kfind")};
    for (const QString &tool : searchers) {
        const QString exe = QStandardPaths::findExecutable(tool);
        if (exe.isEmpty())
            continue;
        const QStringList args =
            tool == QLatin1String("catfish") ? QStringList{QStringLiteral("--path=") + m_folder}
            : tool == QLatin1String("kfind") ? QStringList{m_folder}
                                             : QStringList{QStringLiteral("--path"), m_folder};
        if (QProcess::startDetached(exe, args) || QProcess::startDetached(exe, {}))
            return;
    }
    showOwnSearch(m_folder, this, [this](const QString &path) { GoToDisk(path, QStringLiteral("File")); });
}

void TLocalPane::DeleteSelected(bool permanently)
{
    const QStringList paths = selectedPaths();
    if (paths.isEmpty())
        return;
    if (permanently &&
        !m_prompter.confirm(QStringLiteral("Do you wish to delete the selected items permanently?"),
                            QStringLiteral("Delete")))
        return;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        bool ok;
        if (!permanently)
            ok = QFile::moveToTrash(path);
        else if (info.isDir() && !info.isSymLink())
            ok = QDir(path).removeRecursively();
        else
            ok = QFile::remove(path);
        if (!ok)
            qCWarning(lcQuillon) << "cannot delete" << path << (permanently ? "permanently" : "to the trash");
    }
    setFolder(m_folder);
}

void TLocalPane::SelectAll()
{
    ListLocal->selectAll();
}

bool TLocalPane::hasPaneFocus() const
{
    return ListLocal->hasFocus() || ComboLocal->hasFocus() || ComboLocal->lineEdit()->hasFocus();
}

void TLocalPane::openItem(const QModelIndex &index)
{
    const QString path = m_files->filePath(index);
    if (QFileInfo(path).isDir())
        setFolder(path);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        qCWarning(lcQuillon) << "cannot open" << path;
}

void TLocalPane::showDriveTree(bool show)
{
    DriveView1->setVisible(show);
    if (show)
        DriveView1->setFocus();
}

bool TLocalPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DriveView1) {
        if (event->type() == QEvent::FocusOut)
            showDriveTree(false);
        else if (event->type() == QEvent::KeyPress &&
                 static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            showDriveTree(false);
            return true;
        }
        return false;
    }
    // An open edit box has the focus itself, so these keys never reach a rename in progress.
    if (watched != ListLocal || event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (key->key()) {
    case Qt::Key_F2:
        RenameSelected();
        return true;
    case Qt::Key_Backspace:
        BtnUpClick();
        return true;
    case Qt::Key_Delete:
        DeleteSelected(mods == Qt::ShiftModifier);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ListLocal->currentIndex().isValid())
            openItem(ListLocal->currentIndex());
        return true;
    default:
        break;
    }
    if (mods == Qt::ControlModifier) {
        switch (key->key()) {
        case Qt::Key_C:
            Copy(false);
            return true;
        case Qt::Key_X:
            Copy(true);
            return true;
        case Qt::Key_V:
            Paste();
            return true;
        case Qt::Key_A:
            SelectAll();
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace quillon
