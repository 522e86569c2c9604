#include "project/ProjectModel.h"

#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QFileInfo>
#include <algorithm>

namespace quillon {

namespace {

qint64 ceilDiv(qint64 bytes, qint64 unit)
{
    return bytes / unit + (bytes % unit != 0 ? 1 : 0);
}

// Sectors of one data file: an empty file still takes a directory's worth of one sector.
qint64 dataSectorsOf(qint64 size)
{
    return size == 0 ? 1 : ceilDiv(size, ProjectModel::dataSectorBytes);
}

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// Sources come from Windows paths, Linux paths and image listings, so both separators count.
QStringView lastPathComponent(QStringView path)
{
    qsizetype i = path.size();
    while (i > 0 && !isSeparator(path.at(i - 1)))
        --i;
    return path.mid(i);
}

// `child` is `parent` followed by one separator and one more name, compared case-sensitively.
bool isDirectSubFolder(const QString &child, const QString &parent)
{
    if (parent.isEmpty() || child.size() < parent.size() + 2 || !child.startsWith(parent, Qt::CaseSensitive))
        return false;
    if (!isSeparator(child.at(parent.size())))
        return false;
    const QStringView rest = QStringView(child).mid(parent.size() + 1);
    return std::none_of(rest.begin(), rest.end(), isSeparator);
}

qint64 defaultImageSize(const QString &imageFile, bool isCue)
{
    if (isCue) {
        qCWarning(lcQuillon) << "size estimate: no source for the sizes of the files of CUE sheet"
                             << imageFile;
        return 0;
    }
    return std::max<qint64>(ProjectModel::diskFileSize(imageFile), 0);
}

} // namespace

ProjectModel::ProjectModel(Prompter &prompter, QObject *parent)
    : QObject(parent), m_prompter(&prompter), m_imageSize(defaultImageSize)
{
}

ProjectModel::~ProjectModel() = default;

void ProjectModel::setProjectKind(TProjectKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    emit projectKindChanged(kind);
}

bool ProjectModel::dataPageShown(TProjectKind kind)
{
    return kind == pkData || kind == pkDiscImage || kind == pkCdPlus || kind == pkAddSession;
}

bool ProjectModel::audioPageShown(TProjectKind kind)
{
    return kind == pkAudio || kind == pkCdPlus;
}

QString ProjectModel::WindowCaption() const
{
    return QStringLiteral("Quillon - ") + lastPathComponent(ProjectFileName).toString();
}

// --- Projects ------------------------------------------------------------------------------

ProjectFolder *ProjectModel::makeRoot(const QString &discName, const QString &defaultDiscName,
                                      TProjectKind kind)
{
    if (m_root) {
        qCDebug(lcQuillon) << "new project over a tree that was not reset; freeing it";
        FreeAllData();
    }
    setProjectKind(kind);
    ImageFile.clear();
    emit folderAboutToBeInserted(nullptr, 0);
    m_root.reset(new ProjectFolder(nullptr, discName.isEmpty() ? defaultDiscName : discName));
    m_folderCount = 1;
    emit folderInserted(m_root.get());
    return m_root.get();
}

ProjectFolder *ProjectModel::NewDataProject(const QString &discName, const QString &defaultDiscName)
{
    return makeRoot(discName, defaultDiscName, pkData);
}

ProjectFolder *ProjectModel::NewMixedProject(const QString &discName, const QString &defaultDiscName)
{
    return makeRoot(discName, defaultDiscName, pkCdPlus);
}

void ProjectModel::ResetProject()
{
    emit projectAboutToBeReset();
    m_root.reset();
    m_folderCount = 0;
    ProjectModified = false;
    ImageFile.clear();
    ImageIsCue = false;
    MsInfo.clear();
    MsDriveLetter = QChar();
    NextSessionStart = 0;
    FileCount = 0;
    AlbumTitle.clear();
    AlbumPerformer.clear();
    m_dataBytes = m_dataSectors = m_audioBytes = m_audioSectors = 0;
    m_audioTracks = 0;
    m_audioSeconds = 0;
    ProjectFileName = QStringLiteral("Untitled");
    const bool kindChanged = m_kind != pkData;
    m_kind = pkData;
    emit projectReset();
    if (kindChanged)
        emit projectKindChanged(m_kind);
}

// --- Tree ----------------------------------------------------------------------------------

ProjectFolder *ProjectModel::AddFolderNode(ProjectFolder *parent, const QString &name)
{
    if (!parent) {
        qCWarning(lcQuillon) << "AddFolderNode without a parent:" << name;
        return nullptr;
    }
    auto node = std::unique_ptr<ProjectFolder>(new ProjectFolder(parent, name));
    const int row = parent->childInsertPosition(node->foldedText());
    emit folderAboutToBeInserted(parent, row);
    ProjectFolder *added = node.get();
    parent->m_children.insert(parent->m_children.begin() + row, std::move(node));
    parent->renumberChildren(row, parent->childCount());
    ++m_folderCount;
    emit folderInserted(added);
    return added;
}

ProjectFolder *ProjectModel::FindChildFolder(const ProjectFolder *folder, const QString &name) const
{
    if (!folder)
        return nullptr;
    const QString folded = foldedName(name);
    const auto &children = folder->m_children;
    const auto it = std::lower_bound(children.begin(), children.end(), folded,
                                     [](const std::unique_ptr<ProjectFolder> &c, const QString &f) {
                                         return QStringView(c->foldedText()).compare(QStringView(f)) < 0;
                                     });
    return it != children.end() && (*it)->foldedText() == folded ? it->get() : nullptr;
}

int ProjectModel::FindFileEntry(const ProjectFolder *folder, const QString &name) const
{
    return folder ? folder->files().indexOfName(foldedName(name)) : -1;
}

void ProjectModel::RenameFolder(ProjectFolder *folder, const QString &newName)
{
    if (!folder)
        return;
    ProjectFolder *parent = folder->parent();
    if (!parent) {
        folder->setText(newName);
        emit folderChanged(folder);
        return;
    }
    parent->m_dane.NameSet.remove(folder->text());
    parent->m_dane.NameSet.add(newName);

    const int from = folder->row();
    auto &children = parent->m_children;
    std::unique_ptr<ProjectFolder> taken = std::move(children[size_t(from)]);
    children.erase(children.begin() + from);
    const int to = parent->childInsertPosition(foldedName(newName));
    children.insert(children.begin() + from, std::move(taken));

    if (to != from) {
        emit folderAboutToMove(folder, to > from ? to + 1 : to);
        taken = std::move(children[size_t(from)]);
        children.erase(children.begin() + from);
        children.insert(children.begin() + to, std::move(taken));
        parent->renumberChildren(std::min(from, to), std::max(from, to) + 1);
        emit folderMoved(folder);
    }
    folder->setText(newName);
    emit folderChanged(folder);
}

void ProjectModel::RemoveFolder(ProjectFolder *folder)
{
    if (!folder || folder->isRoot()) {
        qCWarning(lcQuillon) << "RemoveFolder: only folders below the root can be removed";
        return;
    }
    folder->parent()->m_dane.NameSet.remove(folder->text());
    FreeFolderData(folder, true);
}

void ProjectModel::subtractSubtree(const ProjectFolder *folder)
{
    const FileList &files = folder->files();
    for (int i = 0; i < files.count(); ++i) {
        if (files[i].isCounted())
            CountDataRemoved(files[i].countedSize());
    }
    for (int i = 0; i < folder->childCount(); ++i)
        subtractSubtree(folder->child(i));
}

static int subtreeSize(const ProjectFolder *folder)
{
    int n = 1;
    for (int i = 0; i < folder->childCount(); ++i)
        n += subtreeSize(folder->child(i));
    return n;
}

void ProjectModel::detachFolder(ProjectFolder *folder)
{
    const int removed = subtreeSize(folder);
    ProjectFolder *parent = folder->parent();
    const int row = folder->row();
    emit folderAboutToBeRemoved(folder);
    if (parent) {
        auto &children = parent->m_children;
        children.erase(children.begin() + row); // frees the subtree
        parent->renumberChildren(row, parent->childCount());
    } else {
        m_root.reset();
    }
    m_folderCount -= removed;
    emit folderRemoved(parent, row);
}

void ProjectModel::FreeFolderData(ProjectFolder *folder, bool subtract)
{
    if (!folder)
        return;
    if (subtract)
        subtractSubtree(folder);
    detachFolder(folder);
}

void ProjectModel::FreeAllData()
{
    if (m_root)
        detachFolder(m_root.get());
}

void ProjectModel::folderDataChanged(ProjectFolder *folder)
{
    if (folder)
        emit folderChanged(folder);
}

// --- Files ---------------------------------------------------------------------------------

bool ProjectModel::validFileName(const QString &name)
{
    return !name.contains(QLatin1Char(':')) && !name.contains(QLatin1Char('\\'));
}

int ProjectModel::AddFile(ProjectFolder *folder, const QString &name, const QString &sourcePath, qint64 size)
{
    if (!folder || !validFileName(name)) {
        qCWarning(lcQuillon) << "AddFile refused:" << name << sourcePath;
        return -1;
    }
    const bool counted = CountDataAdded(size);
    return AddFileEntry(folder, name, sourcePath, ImportMode ? 1 : 0, counted ? size : FileEntry::notCounted);
}

int ProjectModel::AddFileEntry(ProjectFolder *folder, const QString &name, const QString &sourcePath,
                               qint64 number, qint64 countedSize)
{
    if (!folder || !validFileName(name)) {
        qCWarning(lcQuillon) << "AddFileEntry refused:" << name << sourcePath;
        return -1;
    }
    FileList &files = folder->m_dane.Files;
    auto *entry = new FileEntry(name, sourcePath, number, countedSize);
    folder->m_dane.NameSet.addFolded(entry->foldedName());
    const int index = files.isSorted() ? files.insertPosition(*entry) : files.count();
    emit filesAboutToBeInserted(folder, index, index);
    files.insertAt(index, entry);
    emit filesInserted(folder, index, index);
    return index;
}

int ProjectModel::RenameFile(ProjectFolder *folder, int index, const QString &newName)
{
    if (!folder || index < 0 || index >= folder->files().count() || !validFileName(newName)) {
        qCWarning(lcQuillon) << "RenameFile refused:" << index << newName;
        return -1;
    }
    FileList &files = folder->m_dane.Files;
    const FileEntry &old = files.at(index);
    auto replacement =
        std::unique_ptr<FileEntry>(new FileEntry(newName, old.sourcePath(), old.number(), old.countedSize()));
    folder->m_dane.NameSet.removeFolded(old.foldedName());
    folder->m_dane.NameSet.addFolded(replacement->foldedName());

    int to = index;
    if (files.isSorted()) {
        std::unique_ptr<FileEntry> taken = files.takeAt(index);
        to = files.insertPosition(*replacement);
        files.insertAt(index, taken.release());
    }
    if (to != index) {
        emit fileAboutToMove(folder, index, to > index ? to + 1 : to);
        files.takeAt(index); // the old entry is freed here
        files.insertAt(to, replacement.release());
        emit fileMoved(folder, index, to);
    } else {
        delete files.m_entries[size_t(index)];
        files.m_entries[size_t(index)] = replacement.release();
    }
    emit fileChanged(folder, to);
    return to;
}

void ProjectModel::RemoveFile(ProjectFolder *folder, int index)
{
    if (!folder || index < 0 || index >= folder->files().count()) {
        qCWarning(lcQuillon) << "RemoveFile: no entry" << index;
        return;
    }
    FileList &files = folder->m_dane.Files;
    const FileEntry &entry = files.at(index);
    if (entry.isCounted())
        CountDataRemoved(entry.countedSize());
    folder->m_dane.NameSet.removeFolded(entry.foldedName());
    emit filesAboutToBeRemoved(folder, index, index);
    files.takeAt(index);
    emit filesRemoved(folder, index, index);
}

void ProjectModel::BeginFill(ProjectFolder *folder)
{
    if (folder)
        ++folder->m_dane.Files.m_fillDepth;
}

void ProjectModel::EndFill(ProjectFolder *folder)
{
    if (!folder)
        return;
    FileList &files = folder->m_dane.Files;
    if (files.m_fillDepth == 0) {
        qCWarning(lcQuillon) << "EndFill without BeginFill for" << folder->text();
        return;
    }
    if (--files.m_fillDepth > 0)
        return;
    emit filesAboutToBeReset(folder);
    files.sort();
    emit filesReset(folder);
}

// --- Paths and rules -----------------------------------------------------------------------

QString ProjectModel::DiscPath(const ProjectFolder *folder)
{
    QString path;
    for (; folder && !folder->isRoot(); folder = folder->parent())
        path.prepend(folder->text() + QLatin1Char('\\'));
    return path;
}

QString ProjectModel::ListPath(const ProjectFolder *folder)
{
    QString path;
    for (; folder && !folder->isRoot(); folder = folder->parent())
        path.prepend(folder->text() + QLatin1Char('/'));
    return path;
}

bool ProjectModel::entryIsRecorded(const FileEntry &entry) const
{
    return m_kind == pkAddSession && entry.number() == 1;
}

bool ProjectModel::IsModifiable(const ProjectFolder *folder, int entryIndex, bool report) const
{
    if (m_kind != pkAddSession || !folder)
        return true;
    QString item;
    if (entryIndex < 0) {
        if (!folder->dane().FromImage)
            return true;
        item = QStringLiteral("directory name.");
    } else {
        if (entryIndex >= folder->files().count() || !entryIsRecorded(folder->files()[entryIndex]))
            return true;
        item = folder->files()[entryIndex].text();
    }
    if (report)
        m_prompter->error(QStringLiteral("I cannot modify ") + item +
                              QStringLiteral("\r\nIt's recorded on CD."),
                          QStringLiteral("Item recorded"));
    return false;
}

void ProjectModel::FlagChanged(ProjectFolder *from)
{
    if (!from)
        return;
    from->m_dane.Changed = true;
    for (ProjectFolder *node = from; node->level() >= 2; node = node->parent()) {
        ProjectFolder *parent = node->parent();
        if (!isDirectSubFolder(node->dane().SourceDir, parent->dane().SourceDir))
            break;
        parent->m_dane.Changed = true;
    }
}

void ProjectModel::VisitFolders(const std::function<WalkStep(const PathListFolder &)> &visit) const
{
    if (!m_root)
        return;
    bool stopped = false;
    std::function<void(const ProjectFolder &, const QString &)> walk = [&](const ProjectFolder &folder,
                                                                           const QString &listPath) {
        const WalkStep step = visit({folder, folder.level(), listPath, IsModifiable(&folder)});
        if (step == WalkStep::Stop) {
            stopped = true;
            return;
        }
        if (step == WalkStep::SkipChildren)
            return;
        for (int i = 0; i < folder.childCount() && !stopped; ++i) {
            const ProjectFolder &child = *folder.child(i);
            walk(child, listPath + child.text() + QLatin1Char('/'));
        }
    };
    walk(*m_root, QString());
}

// --- Totals --------------------------------------------------------------------------------

bool ProjectModel::CountDataAdded(qint64 size)
{
    if (ImportMode)
        return false;
    if (size < 0) {
        qCWarning(lcQuillon) << "CountDataAdded: negative size" << size;
        return false;
    }
    m_dataBytes += size;
    m_dataSectors += dataSectorsOf(size);
    return true;
}

bool ProjectModel::CountDataRemoved(qint64 size)
{
    if (ImportMode)
        return false;
    if (size < 0) {
        qCWarning(lcQuillon) << "CountDataRemoved: negative size" << size;
        return false;
    }
    m_dataBytes -= size;
    m_dataSectors -= dataSectorsOf(size);
    return true;
}

void ProjectModel::CountAudioAdded(qint64 size)
{
    ++m_audioTracks;
    const qint64 delta = size + (m_audioTracks > 1 ? audioTrackGapBytes : 0);
    m_audioBytes += delta;
    m_audioSectors += ceilDiv(delta, audioSectorBytes);
}

void ProjectModel::CountAudioRemoved(qint64 size)
{
    if (m_audioTracks == 0) {
        qCWarning(lcQuillon) << "CountAudioRemoved with no audio track counted";
        return;
    }
    const qint64 delta = size + (m_audioTracks > 1 ? audioTrackGapBytes : 0);
    m_audioBytes -= delta;
    m_audioSectors -= ceilDiv(delta, audioSectorBytes);
    --m_audioTracks;
}

void ProjectModel::RecountTotals(const SizeProbe &currentSize, const QList<qint64> &audioTrackSizes)
{
    m_dataBytes = m_dataSectors = 0;
    std::function<void(ProjectFolder &)> recount = [&](ProjectFolder &folder) {
        FileList &files = folder.m_dane.Files;
        for (int i = 0; i < files.count(); ++i) {
            FileEntry &entry = *files.mutableAt(i);
            entry.m_countedSize = FileEntry::notCounted;
            if (entryIsRecorded(entry))
                continue;
            const qint64 size = currentSize(entry.sourcePath());
            if (size >= 0 && CountDataAdded(size))
                entry.m_countedSize = size;
        }
        for (int i = 0; i < folder.childCount(); ++i)
            recount(*folder.child(i));
    };
    if (m_root)
        recount(*m_root);

    m_audioBytes = m_audioSectors = 0;
    m_audioTracks = 0;
    for (qint64 size : audioTrackSizes)
        CountAudioAdded(size);
}

qint64 ProjectModel::EstimateBytes(const EstimateOptions &options, std::optional<int> *fileCount) const
{
    if (m_kind == pkDiscImage)
        return m_imageSize ? m_imageSize(ImageFile, ImageIsCue) : 0;

    int files = 0;
    if (fileCount)
        *fileCount = files;
    // A tree without a root (right after a reset) is as empty as a bare root.
    const bool treeEmpty = !m_root || (m_folderCount == 1 && m_root->files().isEmpty());
    if (m_audioTracks == 0 && (!dataPageShown() || treeEmpty))
        return 0;

    const int isoCap = options.ChkIso31 ? 31 : 12;
    const int jolietCap = 64;
    qint64 sectors = m_kind == pkAddSession ? m_dataSectors + NextSessionStart - 1 : m_dataSectors + 20;

    if (dataPageShown() && m_root) {
        files = m_root->files().count();
        if (m_folderCount > 1) {
            qint64 pathTable = 10;
            qint64 jolietPathTable = 10;
            qint64 directorySectors = 0;
            auto directoryBytes = [](const ProjectFolder &folder, int cap) {
                qint64 d = 68;
                for (int i = 0; i < folder.childCount(); ++i) {
                    const qint64 l = std::min<qint64>(folder.child(i)->text().size(), cap);
                    d += 33 + l + (l % 2 == 0 ? 1 : 0);
                }
                const FileList &entries = folder.files();
                for (int i = 0; i < entries.count(); ++i) {
                    const qint64 f =
                        std::min<qint64>(lastPathComponent(entries[i].sourcePathView()).size(), cap) + 2;
                    d += 33 + f + (f % 2 == 0 ? 1 : 0);
                }
                return d;
            };
            std::function<void(const ProjectFolder &)> walk = [&](const ProjectFolder &folder) {
                if (!folder.isRoot()) {
                    files += folder.files().count();
                    if (IsModifiable(&folder)) {
                        pathTable += 20;
                        jolietPathTable += 20;
                        for (int i = 0; i < folder.childCount(); ++i) {
                            const qint64 length = folder.child(i)->text().size();
                            const qint64 l = std::min<qint64>(length, isoCap);
                            const qint64 j = std::min<qint64>(length, jolietCap);
                            pathTable += l + l % 2 + 8;
                            jolietPathTable += j + j % 2 + 8;
                        }
                        directorySectors += ceilDiv(directoryBytes(folder, isoCap), dataSectorBytes);
                        if (options.ChkJoliet)
                            directorySectors += ceilDiv(directoryBytes(folder, jolietCap), dataSectorBytes);
                    }
                }
                for (int i = 0; i < folder.childCount(); ++i)
                    walk(*folder.child(i));
            };
            walk(*m_root);

            // Two copies of the path table (both byte orders), in whole sectors.
            auto pathTableSectors = [](qint64 acc) {
                return 2 * (acc / dataSectorBytes) + (acc % dataSectorBytes != 0 ? 2 : 0);
            };
            // A new session that writes no folder of its own gets no path table of its own.
            if (!(m_kind == pkAddSession && pathTable == 10))
                sectors += pathTableSectors(pathTable);
            if (options.ChkJoliet && !(m_kind == pkAddSession && jolietPathTable == 10))
                sectors += pathTableSectors(jolietPathTable);
            sectors += directorySectors;
        }
    }
    if (fileCount)
        *fileCount = files;

    if (!(m_kind == pkAddSession && m_dataSectors == 0)) {
        sectors += 16;
        if (options.ChkPad && sectors % 16 != 0)
            sectors += 16 - sectors % 16;
    }
    return (sectors + m_audioSectors) * dataSectorBytes;
}

TotalsDisplay ProjectModel::ComputeTotals(const EstimateOptions &options) const
{
    constexpr qint64 mib = 1048576;
    TotalsDisplay out;
    out.estimateBytes = EstimateBytes(options, &out.fileCount);
    if (m_kind == pkDiscImage)
        out.fileCount.reset();

    out.LblTotal = QString::number(out.estimateBytes / mib) + QStringLiteral(" MB");
    if (m_kind == pkAddSession) {
        const qint64 newSession =
            NextSessionStart <= 0 ? 0 : out.estimateBytes - (NextSessionStart - 1) * dataSectorBytes;
        out.LblTotal = QString::number(newSession / mib) + QStringLiteral(" / ") + out.LblTotal;
    }
    out.LblTotalHint = QStringLiteral("TOTAL project size (data + audio)");
    out.LabelAudioTotal = QString::number(m_audioSectors * dataSectorBytes / mib) + QStringLiteral(" MB");
    out.LblAudioTime = AudioTimeText(m_audioSeconds);

    if (!m_root)
        return out;
    std::function<void(ProjectFolder *)> deepest = [&](ProjectFolder *folder) {
        if (folder->level() > out.maxDepth) {
            out.maxDepth = folder->level();
            out.deepestFolder = folder;
        }
        for (int i = 0; i < folder->childCount(); ++i)
            deepest(folder->child(i));
    };
    deepest(m_root.get());
    out.LblDepth = QStringLiteral("Max depth: ") + QString::number(out.maxDepth);
    const int limit = options.ChkDeep ? 11 : 8;
    out.tooDeep = out.maxDepth + 1 > limit;
    out.LblDepthColor = out.tooDeep ? Qt::red : Qt::blue;
    out.LblDepthHint =
        out.tooDeep ? QStringLiteral("Directories nested too deep") : QStringLiteral("Directory nesting OK");
    return out;
}

TotalsDisplay ProjectModel::UpdateTotals(const EstimateOptions &options)
{
    TotalsDisplay out = ComputeTotals(options);
    if (out.fileCount)
        FileCount = *out.fileCount;
    return out;
}

int ProjectModel::ProjectSizeMB(const QString &totalLabel)
{
    QStringView text(totalLabel);
    const qsizetype slash = text.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        text = text.mid(slash + 1);
    const qsizetype mb = text.indexOf(QLatin1String("MB"));
    if (mb < 0)
        return -1;
    bool ok = false;
    const int value = text.left(mb).trimmed().toInt(&ok);
    return ok ? value : -1;
}

QString ProjectModel::AudioTimeText(double seconds)
{
    const qint64 total = std::max<qint64>(qRound64(seconds), 0);
    const qint64 hours = total / 3600;
    const QString mmss = QStringLiteral("%1:%2")
                             .arg(total % 3600 / 60, 2, 10, QLatin1Char('0'))
                             .arg(total % 60, 2, 10, QLatin1Char('0'));
    return hours > 0 ? QString::number(hours) + QLatin1Char(':') + mmss : mmss;
}

qint64 ProjectModel::diskFileSize(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() ? info.size() : -1;
}

} // namespace quillon
