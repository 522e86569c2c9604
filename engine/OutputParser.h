#pragma once
// Turns the runner's lines into log-window text and ends a job with its verdict. It holds no
// widget: it drives a LogView, which the job dialog's log window implements.
//
// Progress stays in place: recorder track lines, readcd positions, bare percentages, lines
// still growing and backspace-edited lines replace the last log line; everything else is
// appended, and the log is trimmed near 200 lines. A complete line that ends a partial one
// replaces the partial text whichever rule handles it, and only complete lines reach the file.
#include "engine/JobType.h"
#include "engine/LogView.h"
#include "engine/ToolProgress.h"

#include <QObject>
#include <QStringList>

namespace quillon {

class JobLog;
class Prompter;

// The dialog's option values that the parser and the verdict read.
struct ParserOptions {
    TJobType jobType = jtDataDisc;
    bool chkLog = true;        // "S&ave log file"
    bool onTheFly = true;      // ChkOnTheFly (a copy writing straight to a recorder)
    bool createImage = false;  // RadioCreateISO
    bool deleteImage = false;  // ChkDeleteISO, ticked and visible
    bool chkOverBurn = false;
    bool chkTest = false;
    QString imageFile;
};

class OutputParser : public QObject {
    Q_OBJECT
public:
    OutputParser(LogView &log, JobLog *jobLog, Prompter &prompter, QObject *parent = nullptr);

    void setOptions(const ParserOptions &options) { m_options = options; }
    const ParserOptions &options() const { return m_options; }

    // A new run: every per-run flag is cleared.
    void startRun();
    // A chained command starts: only the output state is cleared.
    void resetOutputType();

    void onNewLine(const QString &text, int outputType);
    // The runner's OnError: an ordinary line, written to the file, and the job has failed.
    void onError(const QString &text);

    void addLogLine(LogColour colour, const QString &text);
    void addGreenLine(const QString &text) { addLogLine(LogColour::Green, text); }
    // Red lines trim one line more than ordinary ones, so an error report never grows the log.
    void addRedLine(const QString &text);
    void scrollLogToEnd() { m_log.scrollToEnd(); }
    // LogToFile: a line for the job's log file, when one is kept.
    void logToFile(const QString &line);
    LogView &logView() { return m_log; }

    struct Verdict {
        bool success = false;
        QString line; // the coloured verdict line
        bool imageDeleted = false;
    };
    // The end of a job: exit-code line, coloured verdict, advice after an overburn, the list
    // of failed files, the offer to delete the image after a real success, closing the file.
    Verdict verdict(int exitCode);

    bool FTrackLine = false;
    int FLastOutputType = 0;
    bool FFailed = false;
    bool FFileErrors = false;
    bool FAborted = false;
    QStringList BadRips; // kept sorted by addBadRip
    void addBadRip(const QString &fileName);

signals:
    void progress(const quillon::ToolProgress &progress);

private:
    void show(const QString &text, bool replace);
    void trim(int over, int drop);
    bool writesDisc() const;
    void readProgress(const QString &text);

    LogView &m_log;
    JobLog *m_jobLog;
    Prompter &m_prompter;
    ParserOptions m_options;
    bool m_partialShown = false; // the last log line is the beginning of a line still growing
    long long m_readEnd = 0;     // readcd's last sector, for its read position in per cent
};

} // namespace quillon
