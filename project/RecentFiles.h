#pragma once
// The list of recently used project files: newest first, each file once, at most seven.
// The settings file keeps it ("MRU Items"); the File menu shows it as "&Reopen".
#include <QObject>
#include <QStringList>
#include <functional>

namespace quillon {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int maxItems = 7;

    explicit RecentFiles(QObject *parent = nullptr)
        : QObject(parent)
    {
    }

    const QStringList &items() const { return m_items; }
    // The stored list: empty entries and repeats dropped, cut to the limit.
    void setItems(const QStringList &items);
    // To the top; the same file further down moves up rather than appearing twice.
    void add(const QString &path);
    void remove(const QString &path);
    void clear();
    // Drops every entry whose file is gone; returns how many went.
    int removeObsolete(const std::function<bool(const QString &)> &exists);

signals:
    void changed();

private:
    void setIfDifferent(QStringList items);
    QStringList m_items;
};

} // namespace quillon
