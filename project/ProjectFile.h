#pragma once
// The project file (".qlp"): the layout of the five kinds that can be saved, written from
// the project and read back into it. Widget-free; the commands around it (dialogs, busy
// dialog, messages) are ProjectFiles'.
//
//   1234 audio disc     Str image file; Audio block
//   1235 data disc      Str image file; Data block
//   1236 multisession   Int next session start; Chr drive letter; Str image file; Data block
//   1237 CD Plus        Str image file; Data block; Audio block
//   1238 audio copy     Str image file; Audio block
#include "project/ProjectModel.h"
#include "project/TaggedStream.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

namespace quillon {

enum ProjectMagic : qint32 {
    pmAudio = 1234,
    pmData = 1235,
    pmAddSession = 1236,
    pmCdPlus = 1237,
    pmAudioCopy = 1238,
};

// The autorun settings a data project carries, stored as they are; the autorun dialog
// gives them their meaning.
struct ProjectAutorun {
    enum Action : quint8 { RunProgram = 0, OpenFile = 1, ExploreFolder = 2 };

    bool AutorunEnabled = false;
    bool IconEnabled = false;
    QString IconFileName;
    quint8 AutorunAction = RunProgram;
    QString Program;
    QString FileToOpen;
    QString FolderToExplore;
    qint32 IconColour = 0;
    QByteArray Icon; // a whole icon file; empty when the disc has no icon

    bool operator==(const ProjectAutorun &) const = default;
};

// An Audio CD list row as the file keeps it.
struct AudioTrackRow {
    QString FileName; // the WAVE file's full path
    QString Title;
    QString Performer;
    bool operator==(const AudioTrackRow &) const = default;
};

// A Rip Audio list row as the file keeps it.
struct RipTrackRow {
    bool Selected = true;
    QString DisplayedTitle;
    QString Length;
    QString Size;
    QString Performer;
    QString Title;
    bool operator==(const RipTrackRow &) const = default;
};

// The Audio block as plain rows: the audio lists check and show them when they take them.
struct AudioBlock {
    QString AlbumTitle;
    QString AlbumPerformer;
    qint64 CopySize = 0;          // the audio-copy list's total bytes; the file keeps the low 32 bits
    QString DiscId;               // under which the disc titles are stored
    QList<AudioTrackRow> Tracks;  // audio disc and CD Plus
    QList<RipTrackRow> RipTracks; // audio copy
    bool operator==(const AudioBlock &) const = default;
};

// The magic a project is saved under, from the pages it shows.
qint32 ProjectMagicFor(bool dataPageShown, bool audioPageShown, TProjectKind kind);
// The kind a magic loads as; pkData (with false) for anything else.
bool ProjectKindOfMagic(qint32 magic, TProjectKind &kind);

// The bytes of the project file. `magic` chooses the layout; the tree, the image file and
// the multisession fields come from the model.
QByteArray EncodeProject(const ProjectModel &model, qint32 magic, const ProjectAutorun &autorun,
                         const AudioBlock &audio);
// Appends one block (the tests build files from blocks).
void WriteDataBlock(TaggedWriter &out, const ProjectModel &model, const ProjectAutorun &autorun);
void WriteAudioBlock(TaggedWriter &out, const AudioBlock &audio, bool ripRows);

// Reads a project file into the model, leaving what it read when it stops early.
class ProjectFileReader {
public:
    // The size of a source file on disk, -1 when it cannot be found (or its drive is not
    // ready); the loaded entry is then not counted.
    using SizeProbe = std::function<qint64(const QString &sourcePath)>;

    enum class Outcome {
        Loaded,
        NotAProject, // the first value is no Int or no magic we know: nothing was touched
        Aborted,     // the user stopped it; the tree holds what was read
        Damaged,     // the file ends early or holds what it cannot; what was read stays
    };

    struct Hooks {
        std::function<void()> pump; // before every fiftieth entry
        const bool *abort = nullptr;
        SizeProbe sizeOf;        // the disk's by default
        QString defaultDiscName; // the root's name until its record is read
        // A folder record goes to its sorted place among its siblings, which costs one step
        // per sibling after it. Saved trees come sorted, so that is next to nothing; a file
        // whose folders come far out of order is taken as damaged once the steps pass this.
        qint64 maxSiblingMoves = qint64(1) << 29;
    };

    // The bytes stay the caller's and must outlive the reader.
    ProjectFileReader(QByteArrayView bytes, Hooks hooks);
    ProjectFileReader(QByteArray &&, Hooks) = delete;

    // The leading magic, or 0 when the bytes do not start with one we know.
    static qint32 peekMagic(QByteArrayView bytes);
    // Never two levels of folder records more than this: real trees stop near 128, cut off
    // by the 255-character path limit.
    static constexpr int maxFolderLevel = 200;

    // Magic 1235 and 1236: a new data project, then the file.
    Outcome readDataFile(ProjectModel &model, ProjectAutorun &autorun);
    // Magic 1237: a new CD Plus project, the Data block, then the Audio block.
    Outcome readMixedFile(ProjectModel &model, ProjectAutorun &autorun, AudioBlock &audio);
    // Magic 1234 and 1238: the image file and the Audio block into `audio`.
    Outcome readAudioFile(QString &imageFile, AudioBlock &audio);

    // What went wrong, for the debug log.
    QString error() const { return m_in.error(); }

private:
    Outcome readDataBlock(ProjectModel &model, ProjectAutorun &autorun);
    bool readFolderRecord(ProjectModel &model, ProjectFolder *parent, ProjectFolder *&folder,
                          qint32 &childCount);
    bool readAudioBlock(AudioBlock &audio, bool ripRows);
    bool aborted() const { return m_hooks.abort && *m_hooks.abort; }
    Outcome damaged(const char *where);

    TaggedReader m_in;
    Hooks m_hooks;
    qint64 m_entriesRead = 0;
    qint64 m_siblingMoves = 0;
};

} // namespace quillon
