#include "project/ItemAdder.h"

#include "platform/DebugLog.h"
#include "platform/Prompter.h"
#include "project/DlgNotExistsU.h"
#include "project/NameRules.h"
#include "project/ProjectModel.h"
#include "project/RenameAsker.h"
#include "project/UndecodableNames.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace quillon {

namespace {

constexpr int deepestLevelWithoutAsking = 8;

QString folderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

// A dropped path without the trailing separators a file manager may leave on a folder.
QString withoutTrailingSeparator(QString path)
{
    path = QDir::fromNativeSeparators(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

struct ItemAdder::Source {
    QString path;      // what the entry records: the path as received, or a link's target
    QString name;      // the name it gets on the disc before the checks
    QString canonical; // folders: the real location, for telling a loop
    qint64 size = 0;
};

ItemAdder::ItemAdder(ProjectModel &model, Prompter &prompter, RenameAsker &renamer, NotExistsAsker &notExists,
                     Hooks hooks)
    : m_model(model)
    , m_prompter(prompter)
    , m_renamer(renamer)
    , m_notExists(notExists)
    , m_hooks(std::move(hooks))
{
}

void ItemAdder::clearAnswers()
{
    AutoShorten = AutoRename = SkipLongPaths = SkipDeepFolders = SomethingRenamed = false;
}

bool ItemAdder::DropDataCDExecute(const QStringList &paths, ProjectFolder *target, const QString &logPath)
{
    QStringList dropped;
    dropped.reserve(paths.size());
    for (const QString &p : paths)
        if (!p.isEmpty())
            dropped.append(withoutTrailingSeparator(p));
    dropped.sort(Qt::CaseInsensitive);
    dropped.removeDuplicates();

    *m_abort = false;
    clearAnswers();
    if (!logPath.isEmpty())
        m_log.open(logPath);
    if (!target)
        target = m_model.root();
    for (int i = 0; i < dropped.size() && !*m_abort && target; ++i) {
        const QString &path = dropped[i];
        const QFileInfo info(path);
        if (info.isFile()) {
            AddFile(target, path, true);
            if (i % 10 == 9)
                pump();
        } else if (info.isDir()) {
            AddFolder(path, target, true, true);
        } else if (info.exists()) {
            qCInfo(lcQuillon) << "not a file or folder, not added:" << path;
            m_log.notAdded(path);
        } else {
            m_prompter.error(QStringLiteral("File / directory ") + path + QStringLiteral(" doesn't exist!"),
                             QStringLiteral("Error"));
        }
    }
    const bool show = SomethingRenamed && m_log.written();
    m_log.close();
    return show;
}

bool ItemAdder::AddFile(ProjectFolder *folder, const QString &path, bool interactive)
{
    if (*m_abort || !folder)
        return false;
    const QFileInfo info(path);
    Source source;
    source.name = info.fileName();
    source.path = info.isSymLink() ? info.canonicalFilePath() : path;
    const QFileInfo target(source.path);
    if (source.path.isEmpty() || !target.isFile()) {
        m_prompter.error(QStringLiteral("Error reading file ") + path, QStringLiteral("Error"));
        m_log.notAdded(path);
        return false;
    }
    source.size = target.size();
    return addFileItem(folder, ProjectModel::DiscPath(folder).size(), source, interactive);
}

ProjectFolder *ItemAdder::AddFolder(const QString &path, ProjectFolder *parent, bool interactive,
                                    bool recursive)
{
    if (*m_abort || !parent)
        return nullptr;
    const QString cleaned = withoutTrailingSeparator(path);
    const QFileInfo info(cleaned);
    Source source;
    source.name = info.fileName();
    source.path = info.isSymLink() ? info.canonicalFilePath() : cleaned;
    source.canonical = info.canonicalFilePath();
    if (source.path.isEmpty())
        source.path = cleaned;
    return addFolderItem(parent, ProjectModel::DiscPath(parent).size(), source, interactive, recursive);
}

ProjectFolder *ItemAdder::NewFolder(ProjectFolder *selected, const std::function<bool(QString &)> &askName,
                                    const QString &programFolder, const QString &tempFolder)
{
    if (!selected)
        return nullptr;
    QString name;
    while (askName(name)) {
        name = name.trimmed();
        if (!CheckNameChars(name, m_prompter))
            continue;
        *m_abort = false; // a cancelled duplicate question only brings the name back
        ProjectFolder *node = AddFolder(programFolder + name, selected, true, false);
        if (!node)
            continue;
        node->dane().SourceDir = tempFolder;
        m_model.folderDataChanged(node);
        return node;
    }
    return nullptr;
}

bool ItemAdder::acceptableName(const QString &name, const QString &sourcePath, QString &fixed)
{
    // The path list has one item a line, so such a name cannot reach the image.
    if (NameRules::hasLineBreak(name)) {
        m_log.notAdded(sourcePath);
        m_prompter.inform(QStringLiteral("This name cannot be recorded because it contains a line break:") +
                              QStringLiteral("\r\n") + sourcePath,
                          QStringLiteral("Invalid name"), PromptIcon::Warning);
        return false;
    }
    // Disk names may hold characters the disc forbids; "Name:SourcePath" must never split wrongly.
    fixed = NameRules::hasForbiddenChar(name) ? NameRules::replaceForbiddenChars(name) : name;
    return true;
}

bool ItemAdder::addFileItem(ProjectFolder *folder, qsizetype discPathLength, const Source &source,
                            bool interactive)
{
    if (*m_abort)
        return false;
    QString name;
    if (!acceptableName(source.name, source.path, name))
        return false;
    if (!checkPathLength(discPathLength + name.size(), ProjectModel::DiscPath(folder) + name, source.path,
                         interactive))
        return false;
    if (!checkName(folder, source.path, name, false, name != source.name, interactive))
        return false;
    if (name != source.name)
        noteRenamed(folder, source.path, name);
    if (m_model.AddFile(folder, name, source.path, source.size) < 0)
        return false;
    m_model.ProjectModified = true;
    return true;
}

ProjectFolder *ItemAdder::addFolderItem(ProjectFolder *parent, qsizetype discPathLength, const Source &source,
                                        bool interactive, bool recursive)
{
    if (*m_abort)
        return nullptr;
    QString name;
    if (!acceptableName(source.name, source.path, name))
        return nullptr;
    if (!checkPathLength(discPathLength + name.size(), ProjectModel::DiscPath(parent) + name, source.path,
                         interactive) ||
        *m_abort)
        return nullptr;
    if (!checkName(parent, source.path, name, true, name != source.name, interactive))
        return nullptr;

    const bool deep = m_hooks.chkDeep ? m_hooks.chkDeep() : true;
    if (!deep && parent->level() > deepestLevelWithoutAsking) {
        if (SkipDeepFolders) {
            m_log.notAdded(source.path);
            return nullptr;
        }
        if (interactive) {
            const QString caption = QStringLiteral("Folders nested too deep");
            const PromptButton answer = m_prompter.ask(
                {QStringLiteral("Max allowed folder depth is 8. You can disable this limit but this disc may "
                                "be unreadable on some CD drives.\r\n Do you wish to enable deep folders?"),
                 caption, PromptIcon::Question, pbYes | pbNo | pbCancel, pbCancel});
            if (answer == pbYes) {
                if (m_hooks.enableDeep)
                    m_hooks.enableDeep();
            } else if (answer == pbNo) {
                SkipDeepFolders = true;
                m_log.notAdded(source.path);
                m_prompter.inform(QStringLiteral("Too deep folders will not be added."), caption);
                goToDisk(source.path, QStringLiteral("Folder"));
                return nullptr;
            } else {
                *m_abort = true;
                goToDisk(source.path, QStringLiteral("Folder"));
                return nullptr;
            }
        }
    }

    ProjectFolder *node = m_model.AddFolderNode(parent, name);
    if (!node)
        return nullptr;
    parent->dane().NameSet.add(name);
    node->dane().SourceDir = source.path;
    node->dane().FromImage = m_model.ImportMode;
    m_model.folderDataChanged(node);
    m_model.ProjectModified = true;
    if (name != source.name)
        noteRenamed(node, source.path, name);
    if (recursive)
        scanFolder(node, discPathLength + name.size() + 1, source, interactive);
    return node;
}

void ItemAdder::scanFolder(ProjectFolder *folder, qsizetype discPathLength, const Source &source,
                           bool interactive)
{
    ProjectModel::FillGuard fill(m_model, folder);
    QDirIterator it(source.path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QString parentCanonical = source.canonical.isEmpty() ? source.path : source.canonical;
    for (const QString &name : undecodableNames(source.path)) {
        // No path reaches such a file, so it cannot be recorded.
        const QString path = source.path + QLatin1Char('/') + name;
        m_log.notAdded(path);
        m_prompter.error(QStringLiteral("Error reading file ") + path, QStringLiteral("Error"));
    }
    int count = 0;
    while (it.hasNext() && !*m_abort) {
        if (++count % 10 == 0) {
            pump();
            if (*m_abort)
                break;
        }
        const QFileInfo info = it.nextFileInfo();
        Source child;
        child.name = info.fileName();
        if (info.isSymLink()) {
            // The recording tools do not follow links in the path list, so the target is recorded.
            const QString target = info.canonicalFilePath();
            if (target.isEmpty()) {
                qCInfo(lcQuillon) << "dangling link skipped:" << info.filePath();
                continue;
            }
            const QFileInfo targetInfo(target);
            if (targetInfo.isDir()) {
                if (target == QLatin1String("/") || parentCanonical == target ||
                    parentCanonical.startsWith(target + QLatin1Char('/'))) {
                    qCInfo(lcQuillon) << "folder link loops, not entered:" << info.filePath();
                    m_log.notAdded(info.filePath());
                    continue;
                }
                child.path = target;
                child.canonical = target;
                addFolderItem(folder, discPathLength, child, interactive, true);
            } else if (targetInfo.isFile()) {
                child.path = target;
                child.size = targetInfo.size();
                addFileItem(folder, discPathLength, child, interactive);
            } else {
                m_log.notAdded(info.filePath());
            }
        } else if (info.isDir()) {
            child.path = info.filePath();
            child.canonical = parentCanonical + QLatin1Char('/') + child.name;
            addFolderItem(folder, discPathLength, child, interactive, true);
        } else if (info.isFile()) {
            child.path = info.filePath();
            child.size = info.size();
            addFileItem(folder, discPathLength, child, interactive);
        } else if (info.exists()) {
            // FIFOs, sockets and devices: the image has no place for them.
            m_log.notAdded(info.filePath());
        }
    }
}

bool ItemAdder::checkPathLength(qsizetype length, const QString &discPath, const QString &sourcePath,
                                bool interactive)
{
    if (length <= NameRules::maxDiscPathLength)
        return true;
    if (SkipLongPaths) {
        m_log.notAdded(sourcePath);
        return false;
    }
    if (!interactive)
        return false;
    NotExistsRequest request;
    request.caption = QStringLiteral("Item cannot be added");
    request.label = QStringLiteral("Item");
    request.name = discPath;
    request.text = QStringLiteral("has too long full path (main folder + subfolders + filename)\r\nMax %1 "
                                  "characters are allowed.")
                       .arg(NameRules::maxDiscPathLength);
    const NotExistsAnswer answer = m_notExists.ask(request);
    if (answer.accepted) {
        if (answer.ignoreOthers) {
            SkipLongPaths = true;
            m_log.notAdded(sourcePath);
        }
        return false;
    }
    *m_abort = true;
    goToDisk(sourcePath, QStringLiteral("Item"));
    return false;
}


// The user's new name for a clashing or too long one. Cancel shows the source on the disk
// and stops the adding; ticking the box remembers the answer in `remembered`.
bool ItemAdder::askForName(const RenameRequest &request, const QString &sourcePath, QString *name,
                           bool *remembered)
{
    const RenameAnswer answer = m_renamer.ask(request);
    if (!answer.accepted) {
        goToDisk(sourcePath, QStringLiteral("File"));
        *m_abort = true;
        return false;
    }
    *name = answer.newName;
    if (answer.autoRename)
        *remembered = true;
    return true;
}

bool ItemAdder::checkName(ProjectFolder *folder, const QString &sourcePath, QString &name, bool isFolder,
                          bool changedAlready, bool interactive)
{
    bool autoChanged = changedAlready;
    for (;;) {
        while (name.size() > NameRules::maxNameLength) {
            if (AutoShorten || !interactive) {
                const QString shortened = NameRules::shortenedName(name);
                if (!shortened.isEmpty()) {
                    name = shortened;
                    autoChanged = true;
                    break;
                }
            }
            RenameRequest request;
            request.caption = QStringLiteral("Name too long");
            request.label = QStringLiteral("Filename");
            request.name = sourcePath;
            request.edit = name;
            request.text = QStringLiteral("can have max. 64 characters. Please shorten it.");
            if (!askForName(request, sourcePath, &name, &AutoShorten))
                return false;
        }
        const CountedNameSet &names = folder->dane().NameSet;
        if (!names.contains(name))
            return true;
        if (autoChanged || AutoRename || !interactive) {
            for (int n = 2;; ++n) {
                const QString numbered = NameRules::numberedName(name, n);
                if (!names.contains(numbered)) {
                    name = numbered;
                    return true;
                }
            }
        }
        RenameRequest request;
        request.caption = QStringLiteral("Duplicate name");
        if (isFolder)
            request.label = QStringLiteral("Folder");
        request.name = name;
        request.edit = name;
        request.text = QStringLiteral("already exists in this folder. Please rename it.");
        if (!askForName(request, sourcePath, &name, &AutoRename))
            return false;
    }
}

void ItemAdder::noteRenamed(ProjectFolder *flagFrom, const QString &sourcePath, const QString &newName)
{
    SomethingRenamed = true;
    m_log.renamed(sourcePath, folderPart(sourcePath) + newName);
    m_model.FlagChanged(flagFrom);
}

void ItemAdder::goToDisk(const QString &path, const QString &kind)
{
    if (m_hooks.goToDisk)
        m_hooks.goToDisk(path, kind);
}

void ItemAdder::pump()
{
    if (m_hooks.pump)
        m_hooks.pump();
}

} // namespace quillon
