#include "project/ProjectFolder.h"

#include <algorithm>

namespace quillon {

FileEntry::FileEntry(const QString &name, const QString &sourcePath, qint64 number, qint64 countedSize)
    : m_foldedName(quillon::foldedName(name)), m_number(number), m_countedSize(countedSize),
      m_colon(name.size())
{
    // Built to its exact size: appending would leave growth room in every one of many entries.
    m_text.reserve(name.size() + 1 + sourcePath.size());
    m_text.append(name).append(QLatin1Char(':')).append(sourcePath);
}

int compareEntries(const FileEntry &a, const FileEntry &b)
{
    // The folded names are cached, so most comparisons end there. Only when one name is a
    // prefix of the other does the colon take part, and only equal names reach the paths.
    const QString &na = a.foldedName();
    const QString &nb = b.foldedName();
    const qsizetype common = std::min(na.size(), nb.size());
    const int c = QStringView(na).left(common).compare(QStringView(nb).left(common), Qt::CaseSensitive);
    if (c != 0)
        return c;
    const char16_t colon = u':';
    if (na.size() < nb.size())
        return colon < nb.at(common).unicode() ? -1 : 1;
    if (na.size() > nb.size())
        return na.at(common).unicode() < colon ? -1 : 1;
    return a.sourcePathView().compare(b.sourcePathView(), Qt::CaseInsensitive);
}

namespace {

// An entry against the probe "folded:" + anything: 0 for every entry of that name.
int compareToName(const FileEntry &entry, const QString &folded)
{
    const QString &name = entry.foldedName();
    const qsizetype common = std::min(name.size(), folded.size());
    const int c = QStringView(name).left(common).compare(QStringView(folded).left(common), Qt::CaseSensitive);
    if (c != 0)
        return c;
    const char16_t colon = u':';
    if (name.size() < folded.size())
        return colon < folded.at(common).unicode() ? -1 : 1;
    if (name.size() > folded.size())
        return name.at(common).unicode() < colon ? -1 : 1;
    return 0;
}

} // namespace

FileList::~FileList()
{
    clear();
}

int FileList::indexOfName(const QString &folded) const
{
    if (!isSorted()) {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i]->foldedName() == folded)
                return int(i);
        }
        return -1;
    }
    const auto it =
        std::lower_bound(m_entries.begin(), m_entries.end(), folded,
                         [](const FileEntry *e, const QString &f) { return compareToName(*e, f) < 0; });
    if (it != m_entries.end() && (*it)->foldedName() == folded)
        return int(it - m_entries.begin());
    return -1;
}

int FileList::insertPosition(const FileEntry &entry) const
{
    const auto it =
        std::upper_bound(m_entries.begin(), m_entries.end(), &entry,
                         [](const FileEntry *a, const FileEntry *b) { return compareEntries(*a, *b) < 0; });
    return int(it - m_entries.begin());
}

std::unique_ptr<FileEntry> FileList::takeAt(int index)
{
    std::unique_ptr<FileEntry> entry(m_entries[size_t(index)]);
    m_entries.erase(m_entries.begin() + index);
    return entry;
}

void FileList::sort()
{
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const FileEntry *a, const FileEntry *b) { return compareEntries(*a, *b) < 0; });
}

void FileList::clear()
{
    for (FileEntry *entry : m_entries)
        delete entry;
    m_entries.clear();
}

ProjectFolder::ProjectFolder(ProjectFolder *parent, const QString &text)
    : m_parent(parent), m_level(parent ? parent->m_level + 1 : 0)
{
    setText(text);
}

void ProjectFolder::setText(const QString &text)
{
    m_text = text;
    m_foldedText = foldedName(text);
}

bool ProjectFolder::contains(const ProjectFolder *folder) const
{
    for (; folder; folder = folder->m_parent) {
        if (folder == this)
            return true;
    }
    return false;
}

int ProjectFolder::childInsertPosition(const QString &folded) const
{
    const auto it = std::upper_bound(m_children.begin(), m_children.end(), folded,
                                     [](const QString &f, const std::unique_ptr<ProjectFolder> &c) {
                                         return QStringView(f).compare(QStringView(c->m_foldedText)) < 0;
                                     });
    return int(it - m_children.begin());
}

void ProjectFolder::renumberChildren(int from, int to)
{
    for (int i = std::max(from, 0); i < std::min(to, childCount()); ++i)
        m_children[size_t(i)]->m_row = i;
}

} // namespace quillon
