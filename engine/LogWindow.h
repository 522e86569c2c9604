#pragma once
// The job's log window: read-only plain text in the system's fixed-pitch font, green success
// and red error lines. It keeps its lines itself and brings the document up to date at most
// every few tens of milliseconds, so a tool rewriting its progress line thousands of times a
// second costs the user interface almost nothing.
#include "engine/LogView.h"

#include <QPlainTextEdit>
#include <QTimer>

namespace quillon {

class Prompter;

class LogWindow : public QPlainTextEdit, public LogView {
    Q_OBJECT
public:
    explicit LogWindow(QWidget *parent = nullptr);

    int lineCount() const override { return int(m_lines.size()); }
    QString lastLine() const override { return m_lines.isEmpty() ? QString() : m_lines.last().text; }
    void appendLine(const QString &text, LogColour colour) override;
    void replaceLastLine(const QString &text) override;
    void removeFirstLine() override;
    void scrollToEnd() override;
    void clear() override;

    // Brings the document up to date now (the verdict, tests).
    void flush();
    QString logText() const;

    // Writes the whole log as text; a failure shows "Error writing to file " + the name
    // (caption "Error").
    bool saveTo(const QString &fileName, Prompter &prompter) const;
    // "Save log as..." (only when the log holds a line); folder is the remembered folder,
    // updated after a save.
    void saveLogAs(Prompter &prompter, QString &folder);

    static QColor green() { return QColor(0, 128, 0); }
    static QColor red() { return QColor(255, 0, 0); }

signals:
    // Esc in the log window closes the dialog, the same as Cancel.
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void changed();

    QList<LogLines::Line> m_lines;
    QTimer m_flushTimer;
    bool m_dirty = false;
    bool m_scroll = false;
};

} // namespace quillon
