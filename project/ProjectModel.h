#pragma once
// The project: its kind and fields, the data-disc folder tree, the running totals and the size
// estimate. The main window owns one for the whole run; adding, loading, importing, export and
// the path-list writer all work through it. Widget-free: the views follow its signals.
#include "project/ProjectFolder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class Prompter;

enum TProjectKind : quint8 {
    pkData = 1,
    pkDiscImage = 2,
    pkAudio = 4,
    pkCdPlus = 5,
    pkAddSession = 6, // a data disc continuing a multisession disc
    pkAudioCopy = 7,
};

// The options the size estimate and the depth label read. The options dialog owns the real
// check boxes; the caller copies their states in.
struct EstimateOptions {
    bool ChkIso31 = false;
    bool ChkJoliet = true;
    bool ChkPad = true;
    bool ChkDeep = true;
};

// What UpdateTotals writes into the labels of the Data CD and Audio CD pages.
struct TotalsDisplay {
    qint64 estimateBytes = 0;
    // Unset in a disc-image project, whose file count comes from reading its listing.
    std::optional<int> fileCount;
    QString LblTotal;
    QString LblTotalHint;
    QString LabelAudioTotal;
    QString LblAudioTime;
    QString LblDepth; // blank when the tree is empty
    QString LblDepthHint;
    Qt::GlobalColor LblDepthColor = Qt::blue;
    bool tooDeep = false;
    int maxDepth = -1;
    // The first folder found at the greatest level; clicking the depth label selects it.
    // Valid until the tree changes.
    ProjectFolder *deepestFolder = nullptr;
};

// One folder of the path-list walk: every folder node, depth first, children in tree order.
struct PathListFolder {
    const ProjectFolder &folder;
    int level;
    QString listPath;
    bool modifiable; // false for a folder recorded on an earlier session
};

enum class WalkStep { Continue, SkipChildren, Stop };

class ProjectModel : public QObject {
    Q_OBJECT
public:
    // The size of the image of a disc-image project: the image file, or for a CUE sheet the
    // sum of the files it names.
    using ImageSizeSource = std::function<qint64(const QString &imageFile, bool isCue)>;
    // The current size of a source file on disk, -1 when it cannot be found.
    using SizeProbe = std::function<qint64(const QString &sourcePath)>;

    static constexpr qint64 dataSectorBytes = 2048;
    static constexpr qint64 audioSectorBytes = 2352;
    static constexpr qint64 audioTrackGapBytes = 352800; // two seconds of CD audio

    explicit ProjectModel(Prompter &prompter, QObject *parent = nullptr);
    ~ProjectModel() override;

    // --- Kind and project-wide fields -------------------------------------------------------
    TProjectKind ProjectKind() const { return m_kind; }
    void setProjectKind(TProjectKind kind);
    // Which pages a kind shows: Data CD for 1, 2, 5, 6; Audio CD for 4, 5.
    static bool dataPageShown(TProjectKind kind);
    static bool audioPageShown(TProjectKind kind);
    bool dataPageShown() const { return dataPageShown(m_kind); }
    bool isReadOnly() const { return m_kind == pkDiscImage; }

    // Plain fields: nothing shows them live, so they are set directly.
    QString ProjectFileName = QStringLiteral("Untitled");
    bool TitlesChanged = false; // the rip list's titles differ from the titles store
    bool ProjectModified = false;
    QString ImageFile;
    bool ImageIsCue = false;
    bool ImportMode = false; // only while a previous session is imported
    QString MsInfo;
    QChar MsDriveLetter;
    qint64 NextSessionStart = 0;
    int FileCount = 0;
    QString AlbumTitle;
    QString AlbumPerformer;

    // "Quillon - " and the file-name part of ProjectFileName.
    QString WindowCaption() const;

    // --- Projects ---------------------------------------------------------------------------
    // Makes the root (named discName, or defaultDiscName when that is empty), sets the kind
    // and clears ImageFile; the rest is ResetProject's. Returns the root for selecting.
    ProjectFolder *NewDataProject(const QString &discName, const QString &defaultDiscName);
    ProjectFolder *NewMixedProject(const QString &discName, const QString &defaultDiscName);
    // Empties the tree (no root is left), zeroes the totals and the audio figures and clears
    // every project field; kind 1, "Untitled". Owners of other per-project state (the adding
    // prompts' answers, autorun settings) clear theirs on projectReset.
    void ResetProject();

    // --- Tree -------------------------------------------------------------------------------
    ProjectFolder *root() const { return m_root.get(); }
    int folderCount() const { return m_folderCount; } // the root included
    // A new child folder with an empty TDane, at its sorted place. The parent's NameSet is
    // the caller's.
    ProjectFolder *AddFolderNode(ProjectFolder *parent, const QString &name);
    ProjectFolder *FindChildFolder(const ProjectFolder *folder, const QString &name) const;
    // Index of the first entry of that name (without letter case) in the folder, or -1.
    int FindFileEntry(const ProjectFolder *folder, const QString &name) const;
    // New text and sorted place; the parent's NameSet swaps the names (the root has none).
    void RenameFolder(ProjectFolder *folder, const QString &newName);
    // Removes a folder below the root: it leaves its parent's NameSet, its subtree's counted
    // sizes leave the totals, and it goes with its subtree.
    void RemoveFolder(ProjectFolder *folder);
    // Frees the node and its subtree, first subtracting every counted file size below it when
    // asked. The parent's NameSet is the caller's.
    void FreeFolderData(ProjectFolder *folder, bool subtract);
    // Frees every node without subtracting; the tree is left empty.
    void FreeAllData();
    // Tells the views that a folder's FromImage or SourceDir was changed directly.
    void folderDataChanged(ProjectFolder *folder);

    // --- Files ------------------------------------------------------------------------------
    // Counts `size` into the totals (not while importing) and adds the entry with number 1
    // while importing, else 0, recording what was counted. Returns the entry's index, -1 for
    // a name with ":" or "\" (which the adding code never passes).
    int AddFile(ProjectFolder *folder, const QString &name, const QString &sourcePath, qint64 size);
    // Adds an entry with an explicit number (loading, image listings) and what the caller put
    // into the totals for it. Also adds the name to the folder's NameSet.
    int AddFileEntry(ProjectFolder *folder, const QString &name, const QString &sourcePath, qint64 number,
                     qint64 countedSize = FileEntry::notCounted);
    // New name, same source; the NameSet swaps the names and the entry moves to its sorted
    // place. Returns the new index.
    int RenameFile(ProjectFolder *folder, int index, const QString &newName);
    // Takes the entry out of Files and NameSet, subtracting the size counted for it.
    void RemoveFile(ProjectFolder *folder, int index);
    // While a folder is being filled its entries are appended unsorted and sorted once at the
    // end; nestable. The folder must stay in the tree until EndFill.
    void BeginFill(ProjectFolder *folder);
    void EndFill(ProjectFolder *folder);

    class FillGuard {
    public:
        FillGuard(ProjectModel &model, ProjectFolder *folder) : m_model(model), m_folder(folder)
        {
            m_model.BeginFill(m_folder);
        }
        ~FillGuard() { m_model.EndFill(m_folder); }
        FillGuard(const FillGuard &) = delete;
        FillGuard &operator=(const FillGuard &) = delete;

    private:
        ProjectModel &m_model;
        ProjectFolder *m_folder;
    };

    // --- Paths and rules --------------------------------------------------------------------
    // The names from the node up to the root (excluded), top first, each followed by a
    // backslash; the root gives "".
    static QString DiscPath(const ProjectFolder *folder);
    // The same joined by "/" (A/B/ for B inside A).
    static QString ListPath(const ProjectFolder *folder);
    // False only in kind 6 for a folder from a previous session (entryIndex -1) or an entry
    // numbered 1; with `report` it then shows "Item recorded". An index past the entries
    // gives true.
    bool IsModifiable(const ProjectFolder *folder, int entryIndex = -1, bool report = false) const;
    // Flags Changed on `from` and on each ancestor while the folder below it is a direct disk
    // sub-folder of the ancestor's source; never up from a level-1 folder to the root.
    void FlagChanged(ProjectFolder *from);
    // Depth first from the root, children in tree order.
    void VisitFolders(const std::function<WalkStep(const PathListFolder &)> &visit) const;

    // --- Totals -----------------------------------------------------------------------------
    qint64 DataBytes() const { return m_dataBytes; }
    qint64 DataSectors() const { return m_dataSectors; }
    qint64 AudioBytes() const { return m_audioBytes; }
    qint64 AudioSectors() const { return m_audioSectors; }
    // A file's size in or out of the data totals: whole sectors rounded up, an empty file one
    // sector. Nothing happens while importing; the result says whether anything was counted.
    bool CountDataAdded(qint64 size);
    bool CountDataRemoved(qint64 size);
    // An audio track in or out of the audio totals, with the gap before every track beyond
    // the first. Added is called after a track joined the list, Removed before it leaves.
    void CountAudioAdded(qint64 size);
    void CountAudioRemoved(qint64 size);
    int AudioTrackCount() const { return m_audioTracks; }
    // The audio list's total playing time, for LblAudioTime.
    double AudioPlayingSeconds() const { return m_audioSeconds; }
    void setAudioPlayingSeconds(double seconds) { m_audioSeconds = seconds; }
    // A refresh: every total again from current sizes. Entries recorded on an earlier session
    // and entries whose source is gone are not counted; every entry's counted size is
    // re-based. The audio side takes the sizes of the tracks that remain.
    void RecountTotals(const SizeProbe &currentSize, const QList<qint64> &audioTrackSizes);

    void setImageSizeSource(ImageSizeSource source) { m_imageSize = std::move(source); }
    // The size estimate in bytes; `fileCount` gets the file count it finds (untouched in a
    // disc-image project).
    qint64 EstimateBytes(const EstimateOptions &options, std::optional<int> *fileCount = nullptr) const;
    // The estimate and the label texts, without changing anything.
    TotalsDisplay ComputeTotals(const EstimateOptions &options) const;
    // ComputeTotals, keeping the file count in FileCount.
    TotalsDisplay UpdateTotals(const EstimateOptions &options);

    // The megabytes of a total label: the number after "/" if any, up to "MB"; -1 if none.
    static int ProjectSizeMB(const QString &totalLabel);
    // "mm:ss", or "h:mm:ss" from one hour on, seconds rounded.
    static QString AudioTimeText(double seconds);
    // The size of a file on disk, -1 when it is not an existing file.
    static qint64 diskFileSize(const QString &path);

signals:
    // A null parent stands for the root being made.
    void folderAboutToBeInserted(quillon::ProjectFolder *parent, int row);
    void folderInserted(quillon::ProjectFolder *folder);
    void folderAboutToBeRemoved(quillon::ProjectFolder *folder);
    void folderRemoved(quillon::ProjectFolder *parent, int row);
    // destinationRow counts as before the move, like QAbstractItemModel::beginMoveRows.
    void folderAboutToMove(quillon::ProjectFolder *folder, int destinationRow);
    void folderMoved(quillon::ProjectFolder *folder);
    void folderChanged(quillon::ProjectFolder *folder);
    void filesAboutToBeInserted(quillon::ProjectFolder *folder, int first, int last);
    void filesInserted(quillon::ProjectFolder *folder, int first, int last);
    void filesAboutToBeRemoved(quillon::ProjectFolder *folder, int first, int last);
    void filesRemoved(quillon::ProjectFolder *folder, int first, int last);
    void fileAboutToMove(quillon::ProjectFolder *folder, int from, int destinationRow);
    void fileMoved(quillon::ProjectFolder *folder, int from, int to);
    void fileChanged(quillon::ProjectFolder *folder, int index);
    // The end of a fill reorders the whole list at once.
    void filesAboutToBeReset(quillon::ProjectFolder *folder);
    void filesReset(quillon::ProjectFolder *folder);
    void projectAboutToBeReset();
    void projectReset();
    void projectKindChanged(quillon::TProjectKind kind);

private:
    ProjectFolder *makeRoot(const QString &discName, const QString &defaultDiscName, TProjectKind kind);
    void detachFolder(ProjectFolder *folder);
    void subtractSubtree(const ProjectFolder *folder);
    bool entryIsRecorded(const FileEntry &entry) const;
    static bool validFileName(const QString &name);

    Prompter *m_prompter;
    TProjectKind m_kind = pkData;
    std::unique_ptr<ProjectFolder> m_root;
    int m_folderCount = 0;
    qint64 m_dataBytes = 0;
    qint64 m_dataSectors = 0;
    qint64 m_audioBytes = 0;
    qint64 m_audioSectors = 0;
    int m_audioTracks = 0;
    double m_audioSeconds = 0;
    ImageSizeSource m_imageSize;
};

} // namespace quillon
