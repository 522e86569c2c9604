#pragma once
// The names of a folder's files and sub-folders, compared without letter case, each counted
// once for every item that bears it (renaming may leave two items with one name).
#include <QHash>
#include <QString>

namespace quillon {

// The key under which names are compared and sorted. Case folding rather than upper-casing
// keeps the key as long as the name for every ordinary character.
inline QString foldedName(const QString &name)
{
    return name.toCaseFolded();
}

class CountedNameSet {
public:
    void add(const QString &name) { addFolded(foldedName(name)); }
    // Takes one count away; a name that is not there is an internal error (logged).
    void remove(const QString &name) { removeFolded(foldedName(name)); }
    bool contains(const QString &name) const { return m_counts.contains(foldedName(name)); }
    int count(const QString &name) const { return m_counts.value(foldedName(name)); }

    // The same with a key already folded (the model keeps each entry's folded name and
    // shares its text with the set).
    void addFolded(const QString &folded) { ++m_counts[folded]; }
    void removeFolded(const QString &folded);
    bool containsFolded(const QString &folded) const { return m_counts.contains(folded); }

    int distinctNames() const { return int(m_counts.size()); }
    bool isEmpty() const { return m_counts.isEmpty(); }
    void clear() { m_counts.clear(); }
    void reserve(qsizetype size) { m_counts.reserve(size); }

private:
    QHash<QString, int> m_counts;
};

} // namespace quillon
