#pragma once
// "changed.txt": what a drop or paste renamed or left out, shown to the user afterwards when
// anything was renamed. A log that cannot be created is simply not written.
#include <QFile>
#include <QString>

namespace quillon {

class ChangeLog {
public:
    // Creates (overwriting) the log; false when it cannot be written.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    // True when something was written since open.
    bool written() const { return m_written; }

    void renamed(const QString &sourcePath, const QString &newPath);
    void notAdded(const QString &sourcePath);

private:
    void line(const QString &text);
    QFile m_file;
    bool m_written = false;
};

} // namespace quillon
