#include "engine/LogWindow.h"

#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenu>
#include <QSaveFile>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTextBlock>

namespace quillon {

LogWindow::LogWindow(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(40);
    connect(&m_flushTimer, &QTimer::timeout, this, &LogWindow::flush);
}

void LogWindow::changed()
{
    m_dirty = true;
    if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void LogWindow::appendLine(const QString &text, LogColour colour)
{
    m_lines.append({text, colour});
    changed();
}

void LogWindow::replaceLastLine(const QString &text)
{
    if (m_lines.isEmpty())
        m_lines.append({text, LogColour::Normal});
    else
        m_lines.last() = {text, LogColour::Normal};
    changed();
}

void LogWindow::removeFirstLine()
{
    if (!m_lines.isEmpty())
        m_lines.removeFirst();
    changed();
}

void LogWindow::scrollToEnd()
{
    m_scroll = true;
    changed();
}

void LogWindow::clear()
{
    m_lines.clear();
    changed();
    flush();
}

void LogWindow::flush()
{
    m_flushTimer.stop();
    if (!m_dirty)
        return;
    m_dirty = false;
    QScrollBar *bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    document()->clear();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    QTextCharFormat normal, green, red;
    green.setForeground(LogWindow::green());
    red.setForeground(LogWindow::red());
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const LogLines::Line &l = m_lines.at(i);
        if (i > 0)
            cursor.insertBlock();
        cursor.insertText(l.text, l.colour == LogColour::Green ? green : l.colour == LogColour::Red ? red : normal);
    }
    cursor.endEditBlock();
    if (m_scroll || atEnd)
        bar->setValue(bar->maximum());
    m_scroll = false;
}

QString LogWindow::logText() const
{
    QStringList texts;
    for (const LogLines::Line &l : m_lines)
        texts << l.text;
    return texts.join(QLatin1Char('\n'));
}

bool LogWindow::saveTo(const QString &fileName, Prompter &prompter) const
{
    QSaveFile file(fileName);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        QString text;
        for (const LogLines::Line &l : m_lines)
            text += l.text + QStringLiteral("\r\n");
        QStringEncoder encoder(QStringEncoder::System);
        const QByteArray bytes = encoder.encode(text);
        ok = file.write(bytes) == bytes.size() && file.commit();
    }
    if (!ok) {
        qCWarning(lcQuillon) << "cannot save the log" << fileName << file.errorString();
        prompter.error(QStringLiteral("Error writing to file ") + fileName, QStringLiteral("Error"));
    }
    return ok;
}

void LogWindow::saveLogAs(Prompter &prompter, QString &folder)
{
    if (m_lines.isEmpty())
        return;
    QFileDialog dialog(this, QStringLiteral("Save log as..."), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.setNameFilters({QStringLiteral("Log files (*.log)"), QStringLiteral("Text files (*.txt)"),
                           QStringLiteral("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString name = dialog.selectedFiles().first();
    folder = QFileInfo(name).absolutePath();
    saveTo(name, prompter);
}

void LogWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        emit escapePressed();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void LogWindow::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copyAction = menu.addAction(QStringLiteral("&Copy"), this, &QPlainTextEdit::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(textCursor().hasSelection());
    menu.exec(event->globalPos());
}

} // namespace quillon
