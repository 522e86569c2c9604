#include "engine/OutputParser.h"

#include "engine/JobLog.h"
#include "platform/DebugLog.h"
#include "platform/Prompter.h"

#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

constexpr int MaxLogLines = 200;

// Control characters (below 30) show as blanks. Returns text itself when there are none.
QString blankControls(const QString &text)
{
    const QChar *d = text.constData();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && d[i].unicode() >= 30)
        ++i;
    if (i == n)
        return text;
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() < 30)
            c = QLatin1Char(' ');
    return out;
}

// A backspace takes the character before it; a run of k takes the k characters before it.
QString applyBackspaces(QString s)
{
    for (;;) {
        const qsizetype p0 = s.indexOf(QChar(8)); // 0-based position of the first backspace
        if (p0 < 0)
            return s;
        qsizetype k = 1;
        // The run counts on while the next character is a backspace before the last character.
        while (p0 + k < s.size() - 1 && s.at(p0 + k) == QChar(8))
            ++k;
        if (p0 - k >= 0)
            s.remove(p0 - k, 2 * k);
        else
            s.remove(p0, k);
    }
}

} // namespace

OutputParser::OutputParser(LogView &log, JobLog *jobLog, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_log(log)
    , m_jobLog(jobLog)
    , m_prompter(prompter)
{
    qRegisterMetaType<quillon::ToolProgress>();
}

void OutputParser::startRun()
{
    FTrackLine = false;
    FFailed = false;
    FFileErrors = false;
    FAborted = false;
    BadRips.clear();
    m_readEnd = 0;
    resetOutputType();
}

void OutputParser::resetOutputType()
{
    FLastOutputType = 0;
    m_partialShown = false;
}

void OutputParser::addBadRip(const QString &fileName)
{
    auto at = std::lower_bound(BadRips.begin(), BadRips.end(), fileName);
    if (at == BadRips.end() || *at != fileName)
        BadRips.insert(at, fileName);
}

void OutputParser::logToFile(const QString &line)
{
    if (m_jobLog)
        m_jobLog->logToFile(line);
}

bool OutputParser::writesDisc() const
{
    switch (m_options.jobType) {
    case jtDataDisc: case jtImageDisc: case jtAudioDisc: case jtCdPlus: case jtAddSession:
        return true;
    case jtCopyDisc:
        return m_options.onTheFly;
    default:
        return false;
    }
}

void OutputParser::show(const QString &text, bool replace)
{
    // A complete line that ends a partial one takes its place.
    if (replace || m_partialShown) {
        m_log.replaceLastLine(text);
    } else {
        m_log.appendLine(text, LogColour::Normal);
        m_log.scrollToEnd();
    }
}

void OutputParser::trim(int over, int drop)
{
    if (m_log.lineCount() > over)
        for (int i = 0; i < drop; ++i)
            m_log.removeFirstLine();
}

void OutputParser::readProgress(const QString &text)
{
    ToolProgress p;
    double percent = 0;
    if (text.startsWith(u"Track ") && parseTrackProgress(text, p)) {
        emit progress(p);
        // The image builder's percentage mixed into the same console line.
        if (parseImageBuilderPercent(text, percent)) {
            ToolProgress image;
            image.source = ToolProgress::ImageBuilder;
            image.percent = percent;
            emit progress(image);
        }
    } else if (text.contains(u"% done") && parseImageBuilderPercent(text, percent)) {
        p.source = ToolProgress::ImageBuilder;
        p.percent = percent;
        emit progress(p);
    } else if (text.startsWith(u"end:")) {
        m_readEnd = text.mid(4).trimmed().section(u' ', 0, 0).toLongLong();
    } else if (text.startsWith(u"addr: ") && m_readEnd > 0) {
        p.source = ToolProgress::Reader;
        p.percent = qMin(100.0, 100.0 * text.mid(6).trimmed().section(u' ', 0, 0).toLongLong() / m_readEnd);
        emit progress(p);
    } else if (text.size() == 4 && text.at(3) == u'%') {
        p.source = ToolProgress::Ripper;
        p.percent = text.left(3).trimmed().toDouble();
        emit progress(p);
    }
}

void OutputParser::onNewLine(const QString &text, int outputType)
{
    const bool partial = outputType == 1;
    if (!partial && m_options.chkLog)
        logToFile(text);
    if (!partial)
        readProgress(text);

    const TJobType type = m_options.jobType;
    if (type == jtCopyDisc && text.startsWith(u"addr: ")) {
        show(text, true);
        m_partialShown = partial;
        return;
    }
    const bool recorderJob = type == jtDataDisc || type == jtImageDisc || type == jtAudioDisc ||
                             type == jtCdPlus || type == jtAddSession || type == jtCopyDisc;
    if (recorderJob && text.startsWith(u"Track ") && text.contains(u" written (fifo ")) {
        if (text.contains(u"% done, estimate finish")) {
            show(text, FTrackLine);
            FTrackLine = false;
        } else {
            show(text, FTrackLine);
            FTrackLine = true;
        }
        m_partialShown = partial;
        return;
    }
    // A piece of what may be the next progress line waits for its end, which alone tells
    // whether it takes the progress line's place; so progress never piles up when reads split
    // the lines, and a closing "Track 01: Total bytes" line still goes below.
    if (recorderJob && partial && FTrackLine && (text.startsWith(u"Track ") || QStringView(u"Track ").startsWith(text)))
        return;
    FTrackLine = false;
    if (!text.contains(QChar(8))) {
        const QString shown = blankControls(text);
        const bool percentOnly = shown.size() == 4 && shown.at(3) == u'%';
        show(shown, percentOnly || (partial && FLastOutputType == 1));
        FLastOutputType = outputType;
        m_partialShown = partial;
        trim(MaxLogLines, 10);
        return;
    }
    show(blankControls(applyBackspaces(text)), true);
    m_partialShown = partial;
}

void OutputParser::onError(const QString &text)
{
    addLogLine(LogColour::Normal, text);
    logToFile(text);
    FFailed = true;
}

void OutputParser::addLogLine(LogColour colour, const QString &text)
{
    m_log.appendLine(text, colour);
    m_partialShown = false;
}

void OutputParser::addRedLine(const QString &text)
{
    addLogLine(LogColour::Red, text);
    trim(MaxLogLines, 11);
}

OutputParser::Verdict OutputParser::verdict(int exitCode)
{
    Verdict v;
    addLogLine(LogColour::Normal, QString());
    if (!FFailed && !FAborted) {
        const QString line = QStringLiteral("Process exit code: ") + QString::number(exitCode);
        addLogLine(LogColour::Normal, line);
        logToFile(line);
    }
    if (FAborted) {
        v.line = QStringLiteral("******* Aborted *******");
        addRedLine(v.line);
        logToFile(v.line);
    } else if (exitCode == 0 && !FFailed && !FFileErrors) {
        v.success = true;
        v.line = QStringLiteral("******* Finished successfully *******");
        addGreenLine(v.line);
        logToFile(v.line);
    } else {
        v.line = QStringLiteral("******* Error! *******");
        addRedLine(v.line);
        logToFile(v.line);
        if (writesDisc() && m_options.chkOverBurn) {
            for (const QString &advice : {QStringLiteral("Please check this CD. It MAY WORK."),
                                          QStringLiteral("Some drives report errors at the end of overburning.")}) {
                addLogLine(LogColour::Normal, advice);
                logToFile(advice);
            }
        }
    }
    scrollLogToEnd();
    if (!BadRips.isEmpty()) {
        addLogLine(LogColour::Normal, QString());
        const QString head = QStringLiteral("Please check following files (there were errors processing them):");
        addLogLine(LogColour::Normal, head);
        logToFile(head);
        for (const QString &name : BadRips) {
            addLogLine(LogColour::Normal, name);
            logToFile(name);
        }
    }
    // Only a real recording may take the image away: never a test run, never a failed or
    // aborted one.
    if (v.success && m_options.createImage && m_options.deleteImage && !m_options.chkTest) {
        const QString name = m_options.imageFile;
        PromptRequest q{QStringLiteral("Do you wish to delete file ") + name, QStringLiteral("Delete ISO image?"),
                        PromptIcon::Question, pbYes | pbNo | pbCancel, pbCancel};
        if (m_prompter.ask(q) == pbYes) {
            QFile::remove(name);
            if (QFileInfo::exists(name))
                m_prompter.error(QStringLiteral("I can't Delete ") + name, QStringLiteral("Error"));
            else
                v.imageDeleted = true;
        }
    }
    if (m_jobLog && m_options.chkLog && m_jobLog->isOpen())
        m_jobLog->close();
    return v;
}

} // namespace quillon
