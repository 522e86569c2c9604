#include "project/RecentFiles.h"

#include <QFileInfo>

namespace quillon {

namespace {
// File names compare as the file system does.
constexpr Qt::CaseSensitivity kPathCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

void dropPath(QStringList &items, const QString &path)
{
    items.removeIf([&path](const QString &item) { return item.compare(path, kPathCase) == 0; });
}
} // namespace

void RecentFiles::setIfDifferent(QStringList items)
{
    if (items.size() > maxItems)
        items.resize(maxItems);
    if (items == m_items)
        return;
    m_items = std::move(items);
    emit changed();
}

void RecentFiles::setItems(const QStringList &items)
{
    // A repeat keeps its first (newest) place.
    QStringList ordered;
    for (const QString &item : items)
        if (!item.isEmpty() && !ordered.contains(item, kPathCase))
            ordered << item;
    setIfDifferent(ordered);
}

void RecentFiles::add(const QString &path)
{
    if (path.isEmpty())
        return;
    QStringList items = m_items;
    dropPath(items, path);
    items.prepend(path);
    setIfDifferent(items);
}

void RecentFiles::remove(const QString &path)
{
    QStringList items = m_items;
    dropPath(items, path);
    setIfDifferent(items);
}

void RecentFiles::clear()
{
    setIfDifferent({});
}

int RecentFiles::removeObsolete(const std::function<bool(const QString &)> &exists)
{
    QStringList items = m_items;
    const qsizetype before = items.size();
    items.removeIf([&exists](const QString &item) { return !exists(item); });
    const int removed = int(before - items.size());
    setIfDifferent(items);
    return removed;
}

} // namespace quillon
