#pragma once
// The folder tree of a data disc: folder nodes, their record TDane, and the file entries.
// Everything here is read freely; the structure changes only through ProjectModel, which
// keeps the order, the name sets and the totals right and tells the views.
#include "project/CountedNameSet.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

namespace quillon {

class ProjectModel;

// One file to record: the text Name + ":" + SourcePath and its number (1 when recorded on an
// earlier session or added while importing one, 0 otherwise; the file's size in a disc-image
// project).
class FileEntry {
public:
    const QString &text() const { return m_text; }
    QString name() const { return m_text.left(m_colon); }
    QStringView nameView() const { return QStringView(m_text).left(m_colon); }
    // Everything after the first ":" (a name never holds one, a source path may).
    QString sourcePath() const { return m_text.mid(m_colon + 1); }
    QStringView sourcePathView() const { return QStringView(m_text).mid(m_colon + 1); }
    qint64 number() const { return m_number; }
    // The size that went into the totals when the entry was added (or at the last refresh),
    // so that removing it takes away exactly that; notCounted when nothing was counted.
    qint64 countedSize() const { return m_countedSize; }
    bool isCounted() const { return m_countedSize != notCounted; }
    const QString &foldedName() const { return m_foldedName; }

    static constexpr qint64 notCounted = -1;

private:
    friend class FileList;
    friend class ProjectModel;
    FileEntry(const QString &name, const QString &sourcePath, qint64 number, qint64 countedSize);

    QString m_text;
    QString m_foldedName; // shared with the folder's NameSet
    qint64 m_number = 0;
    qint64 m_countedSize = notCounted;
    qsizetype m_colon = 0;
};

// Whole-entry order without letter case, as if both texts were case-folded and compared
// character by character (so "a1:..." comes before "a:...", the colon sorting after digits).
int compareEntries(const FileEntry &a, const FileEntry &b);

// A folder's Files: sorted by compareEntries except while the folder is being filled, when
// entries are appended and sorted once at the end.
//
// Entries live on the heap and the list holds pointers, so that an insert in the middle moves
// only pointers and an entry's address stays put while it exists.
class FileList {
public:
    FileList() = default;
    FileList(const FileList &) = delete;
    FileList &operator=(const FileList &) = delete;
    ~FileList();

    int count() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    const FileEntry &at(int index) const { return *m_entries[size_t(index)]; }
    const FileEntry &operator[](int index) const { return at(index); }
    bool isSorted() const { return m_fillDepth == 0; }

    // The first entry whose name matches without letter case, or -1. Binary search while
    // sorted, a scan while filling.
    int indexOfName(const QString &folded) const;

private:
    friend class ProjectModel;
    // Where an entry goes in the sorted list (after equal ones).
    int insertPosition(const FileEntry &entry) const;
    void insertAt(int index, FileEntry *entry) { m_entries.insert(m_entries.begin() + index, entry); }
    void append(FileEntry *entry) { m_entries.push_back(entry); }
    // Takes the entry out and hands it to the caller.
    std::unique_ptr<FileEntry> takeAt(int index);
    void sort();
    void clear();
    void reserve(size_t size) { m_entries.reserve(size); }
    FileEntry *mutableAt(int index) { return m_entries[size_t(index)]; }

    std::vector<FileEntry *> m_entries;
    int m_fillDepth = 0;
};

// The record every folder node owns.
struct TDane {
    bool FromImage = false; // from an image listing or, in kind 6, a previous session
    bool Changed = false;   // content differs from the source folder; saved, read by nothing else
    QString
        SourceDir; // no trailing separator (a folder of an image: its path there, "/" both ends); root: empty
    FileList Files;         // changed only through ProjectModel
    CountedNameSet NameSet; // files and sub-folders; AddFolderNode leaves it to its caller
};

class ProjectFolder {
public:
    ProjectFolder(const ProjectFolder &) = delete;
    ProjectFolder &operator=(const ProjectFolder &) = delete;

    // The name on the disc; for the root, the disc (volume) name.
    const QString &text() const { return m_text; }
    const QString &foldedText() const { return m_foldedText; }
    ProjectFolder *parent() const { return m_parent; }
    bool isRoot() const { return m_parent == nullptr; }
    // Distance from the root: the root is 0, a folder directly on the disc 1.
    int level() const { return m_level; }
    // Position among the parent's children (0 for the root).
    int row() const { return m_row; }
    int childCount() const { return int(m_children.size()); }
    ProjectFolder *child(int index) const { return m_children[size_t(index)].get(); }

    TDane &dane() { return m_dane; }
    const TDane &dane() const { return m_dane; }
    const FileList &files() const { return m_dane.Files; }

    // Whether `folder` is this node or lies below it.
    bool contains(const ProjectFolder *folder) const;

private:
    friend class ProjectModel;
    ProjectFolder(ProjectFolder *parent, const QString &text);
    void setText(const QString &text);
    // Where a child of this text goes among the sorted children (after equal ones).
    int childInsertPosition(const QString &folded) const;
    void renumberChildren(int from, int to);

    QString m_text;
    QString m_foldedText;
    ProjectFolder *m_parent = nullptr;
    int m_level = 0;
    int m_row = 0;
    std::vector<std::unique_ptr<ProjectFolder>> m_children;
    TDane m_dane;
};

} // namespace quillon
