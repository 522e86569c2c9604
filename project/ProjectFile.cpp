#include "project/ProjectFile.h"

#include "platform/DebugLog.h"
#include "project/ProjectText.h"

#include <QDir>
#include <vector>

namespace quillon {

namespace {

// The fewest bytes a value can take, for checking counts against what is left.
constexpr qint64 kMinStr = 2;
constexpr qint64 kMinEntry = kMinStr + 1;                              // Str, Bool
constexpr qint64 kMinFolderRecord = kMinStr + 1 + 1 + kMinStr + 2 + 2; // name .. E .. C
constexpr qint64 kMinTrack = 3 * kMinStr;
constexpr qint64 kMinRipTrack = 1 + 5 * kMinStr;

qint64 defaultSizeOf(const QString &sourcePath)
{
    // A path of another system ("C:\..." here) is missing like any source that is gone;
    // it must not be taken relative to the current folder.
    return QDir::isAbsolutePath(sourcePath) ? ProjectModel::diskFileSize(sourcePath) : -1;
}

void writeFolderRecord(TaggedWriter &out, const ProjectFolder &folder)
{
    const TDane &dane = folder.dane();
    out.Str(folder.text());
    out.Bool(dane.FromImage);
    out.Bool(dane.Changed);
    out.Str(dane.SourceDir);
    const FileList &files = dane.Files;
    out.Int(files.count());
    for (int i = 0; i < files.count(); ++i) {
        out.Str(files[i].text());
        out.Bool(files[i].number() != 0);
    }
    out.Int(folder.childCount());
}

} // namespace

qint32 ProjectMagicFor(bool dataPageShown, bool audioPageShown, TProjectKind kind)
{
    if (dataPageShown && audioPageShown)
        return pmCdPlus;
    if (dataPageShown)
        return kind == pkAddSession ? pmAddSession : pmData;
    return audioPageShown ? pmAudio : pmAudioCopy;
}

bool ProjectKindOfMagic(qint32 magic, TProjectKind &kind)
{
    switch (magic) {
    case pmAudio:
        kind = pkAudio;
        return true;
    case pmData:
        kind = pkData;
        return true;
    case pmAddSession:
        kind = pkAddSession;
        return true;
    case pmCdPlus:
        kind = pkCdPlus;
        return true;
    case pmAudioCopy:
        kind = pkAudioCopy;
        return true;
    default:
        kind = pkData;
        return false;
    }
}

void WriteDataBlock(TaggedWriter &out, const ProjectModel &model, const ProjectAutorun &autorun)
{
    out.Bool(autorun.AutorunEnabled);
    out.Bool(autorun.IconEnabled);
    out.Str(autorun.IconFileName);
    const char action = char(autorun.AutorunAction);
    out.Raw(QByteArrayView(&action, 1));
    out.Str(autorun.Program);
    out.Str(autorun.FileToOpen);
    out.Str(autorun.FolderToExplore);

    // Depth first, each record before its children, without recursion: the depth of a tree
    // is the user's, not the stack's.
    if (const ProjectFolder *root = model.root()) {
        std::vector<std::pair<const ProjectFolder *, int>> stack{{root, 0}};
        writeFolderRecord(out, *root);
        while (!stack.empty()) {
            auto &[folder, next] = stack.back();
            if (next >= folder->childCount()) {
                stack.pop_back();
                continue;
            }
            const ProjectFolder *child = folder->child(next++);
            writeFolderRecord(out, *child);
            stack.emplace_back(child, 0);
        }
    } else {
        qCWarning(lcQuillon) << "saving a data project without a root: an empty root is written";
        out.Str(QString());
        out.Bool(false);
        out.Bool(false);
        out.Str(QString());
        out.Int(0);
        out.Int(0);
    }

    out.Int(autorun.IconColour);
    out.Bool(autorun.Icon.isEmpty());
    if (!autorun.Icon.isEmpty()) {
        out.Int(qint32(autorun.Icon.size()));
        out.Raw(autorun.Icon);
    }
}

void WriteAudioBlock(TaggedWriter &out, const AudioBlock &audio, bool ripRows)
{
    out.Str(audio.AlbumTitle);
    out.Str(audio.AlbumPerformer);
    out.Int(qint32(quint32(quint64(audio.CopySize) & 0xFFFFFFFFu)));
    out.Str(audio.DiscId);
    if (ripRows) {
        out.Int(qint32(audio.RipTracks.size()));
        for (const RipTrackRow &row : audio.RipTracks) {
            out.Bool(row.Selected);
            out.Str(row.DisplayedTitle);
            out.Str(row.Length);
            out.Str(row.Size);
            out.Str(row.Performer);
            out.Str(row.Title);
        }
    } else {
        out.Int(qint32(audio.Tracks.size()));
        for (const AudioTrackRow &row : audio.Tracks) {
            out.Str(row.FileName);
            out.Str(row.Title);
            out.Str(row.Performer);
        }
    }
}

QByteArray EncodeProject(const ProjectModel &model, qint32 magic, const ProjectAutorun &autorun,
                         const AudioBlock &audio)
{
    TaggedWriter out;
    out.Int(magic);
    if (magic == pmAddSession) {
        out.Int(qint32(quint32(quint64(model.NextSessionStart) & 0xFFFFFFFFu)));
        out.Chr(model.MsDriveLetter);
    }
    out.Str(model.ImageFile);
    switch (magic) {
    case pmData:
    case pmAddSession:
        WriteDataBlock(out, model, autorun);
        break;
    case pmCdPlus:
        WriteDataBlock(out, model, autorun);
        WriteAudioBlock(out, audio, false);
        break;
    case pmAudio:
        WriteAudioBlock(out, audio, false);
        break;
    case pmAudioCopy:
        WriteAudioBlock(out, audio, true);
        break;
    default:
        qCWarning(lcQuillon) << "no project layout for magic" << magic;
        break;
    }
    return out.take();
}

// ---- reading ----------------------------------------------------------------------------

ProjectFileReader::ProjectFileReader(QByteArrayView bytes, Hooks hooks)
    : m_in(bytes)
    , m_hooks(std::move(hooks))
{
    if (!m_hooks.sizeOf)
        m_hooks.sizeOf = defaultSizeOf;
}

qint32 ProjectFileReader::peekMagic(QByteArrayView bytes)
{
    TaggedReader in(bytes);
    qint32 magic = 0;
    TProjectKind kind;
    return in.Int(magic) && ProjectKindOfMagic(magic, kind) ? magic : 0;
}

ProjectFileReader::Outcome ProjectFileReader::damaged(const char *where)
{
    if (!m_in.failed())
        m_in.fail(QStringLiteral("damaged"));
    qCWarning(lcQuillon) << "project file damaged in the" << where << "-" << m_in.error();
    return Outcome::Damaged;
}

ProjectFileReader::Outcome ProjectFileReader::readDataFile(ProjectModel &model, ProjectAutorun &autorun)
{
    model.NewDataProject(QString(), m_hooks.defaultDiscName);
    qint32 magic = 0;
    if (!m_in.Int(magic))
        return damaged("magic");
    if (magic == pmAddSession) {
        model.setProjectKind(pkAddSession);
        qint32 next = 0;
        QChar letter;
        if (!m_in.Int(next) || !m_in.Chr(letter))
            return damaged("multisession fields");
        model.NextSessionStart = next; // sign-extended, as written
        model.MsDriveLetter = letter;
    } else if (magic != pmData) {
        m_in.fail(QStringLiteral("magic %1 in a data file").arg(magic));
        return damaged("magic");
    }
    if (!m_in.Str(model.ImageFile))
        return damaged("image file");
    return readDataBlock(model, autorun);
}

ProjectFileReader::Outcome ProjectFileReader::readMixedFile(ProjectModel &model, ProjectAutorun &autorun,
                                                            AudioBlock &audio)
{
    model.NewMixedProject(QString(), m_hooks.defaultDiscName);
    qint32 magic = 0;
    if (!m_in.Int(magic))
        return damaged("magic");
    if (magic != pmCdPlus) {
        m_in.fail(QStringLiteral("magic %1 in a CD Plus file").arg(magic));
        return damaged("magic");
    }
    if (!m_in.Str(model.ImageFile))
        return damaged("image file");
    const Outcome data = readDataBlock(model, autorun);
    if (data != Outcome::Loaded)
        return data;
    if (!readAudioBlock(audio, false))
        return damaged("Audio block");
    return Outcome::Loaded;
}

ProjectFileReader::Outcome ProjectFileReader::readAudioFile(QString &imageFile, AudioBlock &audio)
{
    qint32 magic = 0;
    if (!m_in.Int(magic))
        return damaged("magic");
    if (magic != pmAudio && magic != pmAudioCopy) {
        m_in.fail(QStringLiteral("magic %1 in an audio file").arg(magic));
        return damaged("magic");
    }
    if (!m_in.Str(imageFile))
        return damaged("image file");
    if (!readAudioBlock(audio, magic == pmAudioCopy))
        return damaged("Audio block");
    return Outcome::Loaded;
}

ProjectFileReader::Outcome ProjectFileReader::readDataBlock(ProjectModel &model, ProjectAutorun &autorun)
{
    QByteArrayView action;
    if (!m_in.Bool(autorun.AutorunEnabled) || !m_in.Bool(autorun.IconEnabled) ||
        !m_in.Str(autorun.IconFileName) || !m_in.Raw(1, action) || !m_in.Str(autorun.Program) ||
        !m_in.Str(autorun.FileToOpen) || !m_in.Str(autorun.FolderToExplore))
        return damaged("autorun settings");
    autorun.AutorunAction = static_cast<quint8>(action[0]);

    // Folder records nest as deep as the tree; they are read with a stack of our own.
    struct Open {
        ProjectFolder *folder;
        qint32 childrenLeft;
    };
    std::vector<Open> stack;
    ProjectFolder *root = nullptr;
    qint32 children = 0;
    const bool rootRead = readFolderRecord(model, nullptr, root, children);
    if (aborted())
        return Outcome::Aborted;
    if (!rootRead)
        return damaged("root folder record");
    stack.push_back({root, children});
    while (!stack.empty()) {
        if (stack.back().childrenLeft == 0) {
            stack.pop_back();
            continue;
        }
        --stack.back().childrenLeft;
        if (aborted())
            return Outcome::Aborted;
        if (int(stack.size()) > maxFolderLevel) {
            m_in.fail(QStringLiteral("folders nested deeper than %1 levels").arg(maxFolderLevel));
            return damaged("folder records");
        }
        ProjectFolder *child = nullptr;
        const bool read = readFolderRecord(model, stack.back().folder, child, children);
        if (aborted())
            return Outcome::Aborted;
        if (!read)
            return damaged("folder records");
        stack.push_back({child, children});
    }

    bool iconEmpty = true;
    if (!m_in.Int(autorun.IconColour) || !m_in.Bool(iconEmpty))
        return damaged("icon");
    autorun.Icon.clear();
    if (!iconEmpty) {
        // Exactly the stored length, so that a block after the icon is found where it is.
        qint32 size = 0;
        QByteArrayView icon;
        if (!m_in.Int(size) || !m_in.Raw(size, icon))
            return damaged("icon");
        autorun.Icon = icon.toByteArray();
    }
    return Outcome::Loaded;
}

bool ProjectFileReader::readFolderRecord(ProjectModel &model, ProjectFolder *parent, ProjectFolder *&folder,
                                         qint32 &childCount)
{
    QString name;
    QString sourceDir;
    bool fromImage = false;
    bool changed = false;
    qint32 entries = 0;
    if (!m_in.Str(name) || !m_in.Bool(fromImage) || !m_in.Bool(changed) || !m_in.Str(sourceDir) ||
        !m_in.Int(entries) || !m_in.fits(entries, kMinEntry, "entries"))
        return false;

    if (parent) {
        folder = model.AddFolderNode(parent, name);
        parent->dane().NameSet.add(name);
        m_siblingMoves += parent->childCount() - 1 - folder->row();
        if (m_siblingMoves > m_hooks.maxSiblingMoves) {
            m_in.fail(QStringLiteral("folder records far out of their sorted order"));
            return false;
        }
    } else {
        folder = model.root();
        model.RenameFolder(folder, name);
    }
    TDane &dane = folder->dane();
    dane.FromImage = fromImage;
    dane.Changed = changed;
    dane.SourceDir = sourceDir;

    {
        ProjectModel::FillGuard fill(model, folder);
        for (qint32 i = 0; i < entries; ++i) {
            if (m_entriesRead++ % 50 == 0 && m_hooks.pump)
                m_hooks.pump();
            QByteArrayView text;
            bool recorded = false;
            if (!m_in.StrBytes(text) || !m_in.Bool(recorded))
                return false;
            const QString entry = decodeProjectText(text);
            const qsizetype colon = entry.indexOf(QLatin1Char(':'));
            const QString fileName = colon < 0 ? entry : entry.left(colon);
            const QString sourcePath = colon < 0 ? QString() : entry.mid(colon + 1);
            if (fileName.contains(QLatin1Char('\\'))) {
                m_in.fail(QStringLiteral("the entry \"%1\" has no file name").arg(entry));
                return false;
            }
            qint64 counted = FileEntry::notCounted;
            if (!recorded) {
                const qint64 size = m_hooks.sizeOf(sourcePath);
                if (size >= 0 && model.CountDataAdded(size))
                    counted = size;
            }
            model.AddFileEntry(folder, fileName, sourcePath, recorded ? 1 : 0, counted);
            // Cancel stops after the entry in hand.
            if (aborted())
                return true;
        }
    }
    return m_in.Int(childCount) && m_in.fits(childCount, kMinFolderRecord, "folders");
}

bool ProjectFileReader::readAudioBlock(AudioBlock &audio, bool ripRows)
{
    qint32 copySize = 0;
    qint32 count = 0;
    if (!m_in.Str(audio.AlbumTitle) || !m_in.Str(audio.AlbumPerformer) || !m_in.Int(copySize) ||
        !m_in.Str(audio.DiscId) || !m_in.Int(count) ||
        !m_in.fits(count, ripRows ? kMinRipTrack : kMinTrack, "tracks"))
        return false;
    audio.CopySize = copySize;
    audio.Tracks.clear();
    audio.RipTracks.clear();
    for (qint32 i = 0; i < count; ++i) {
        if (ripRows) {
            RipTrackRow row;
            if (!m_in.Bool(row.Selected) || !m_in.Str(row.DisplayedTitle) || !m_in.Str(row.Length) ||
                !m_in.Str(row.Size) || !m_in.Str(row.Performer) || !m_in.Str(row.Title))
                return false;
            audio.RipTracks.append(row);
        } else {
            AudioTrackRow row;
            if (!m_in.Str(row.FileName) || !m_in.Str(row.Title) || !m_in.Str(row.Performer))
                return false;
            audio.Tracks.append(row);
        }
    }
    return true;
}

} // namespace quillon
