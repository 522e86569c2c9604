#pragma once
// What the output parser needs of a log window. The job dialog's log window implements it;
// tests and the benchmark use the in-memory LogLines.
#include <QList>
#include <QString>

namespace quillon {

enum class LogColour { Normal, Green, Red };

class LogView {
public:
    virtual ~LogView() = default;
    virtual int lineCount() const = 0;
    virtual QString lastLine() const = 0;
    virtual void appendLine(const QString &text, LogColour colour) = 0;
    // The last line gets new text in the ordinary colour; on an empty log this appends.
    virtual void replaceLastLine(const QString &text) = 0;
    virtual void removeFirstLine() = 0;
    virtual void scrollToEnd() = 0;
    virtual void clear() = 0;
};

class LogLines : public LogView {
public:
    struct Line {
        QString text;
        LogColour colour;
        bool operator==(const Line &o) const { return text == o.text && colour == o.colour; }
    };
    int lineCount() const override { return int(m_lines.size()); }
    QString lastLine() const override { return m_lines.isEmpty() ? QString() : m_lines.last().text; }
    void appendLine(const QString &text, LogColour colour) override { m_lines.append({text, colour}); }
    void replaceLastLine(const QString &text) override
    {
        if (m_lines.isEmpty())
            m_lines.append({text, LogColour::Normal});
        else
            m_lines.last() = {text, LogColour::Normal};
    }
    void removeFirstLine() override
    {
        if (!m_lines.isEmpty())
            m_lines.removeFirst();
    }
    void scrollToEnd() override { ++m_scrolls; }
    void clear() override { m_lines.clear(); }

    const QList<Line> &lines() const { return m_lines; }
    QStringList texts() const
    {
        QStringList out;
        for (const Line &l : m_lines)
            out << l.text;
        return out;
    }
    int scrolls() const { return m_scrolls; }

private:
    QList<Line> m_lines;
    int m_scrolls = 0;
};

} // namespace quillon
