// How fast tool output becomes log text. Prints:
//  - the parser's rate on 100,000 recorder progress lines (cut, decoded, parsed, in-memory
//    log), against the baseline of only cutting and decoding the same bytes;
//  - a real tool printing 100,000 progress lines as fast as it can through the console runner
//    into the shown (offscreen) log window: the longest stall of the user interface, measured
//    by a 5 ms timer, and the log's final length.
#include "engine/ConsoleRunner.h"
#include "engine/LineCutter.h"
#include "engine/LogWindow.h"
#include "engine/OutputParser.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

class SilentPrompter : public quillon::Prompter {
public:
    quillon::PromptButton ask(const quillon::PromptRequest &r) override { return r.defaultButton; }
};

QByteArray progressBytes(int lines)
{
    QByteArray out;
    for (int i = 1; i <= lines; ++i)
        out += QByteArray("Track 01: ") + QByteArray::number(i % 700).rightJustified(4) +
               " of  700 MB written (fifo 100%) [buf  99%]  48.0x.\r";
    return out + "\nburst done\n";
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    using namespace quillon;
    SilentPrompter prompter;
    const int lines = 100000;
    const QByteArray bytes = progressBytes(lines);

    // Baseline: cutting and decoding alone.
    double baseline = 0, parsed = 0;
    {
        LineCutter cutter;
        qint64 count = 0;
        QElapsedTimer t;
        t.start();
        for (qsizetype i = 0; i < bytes.size(); i += 4096)
            cutter.feed(QByteArrayView(bytes).sliced(i, qMin<qsizetype>(4096, bytes.size() - i)),
                        [&](const QString &, int type) { count += type == 0; });
        cutter.finish([&](const QString &, int) {});
        baseline = count / (t.nsecsElapsed() / 1e9);
    }
    {
        LogLines log;
        OutputParser parser(log, nullptr, prompter);
        ParserOptions o;
        o.jobType = jtDataDisc;
        parser.setOptions(o);
        parser.startRun();
        LineCutter cutter;
        qint64 count = 0;
        QElapsedTimer t;
        t.start();
        auto sink = [&](const QString &l, int type) {
            count += type == 0;
            parser.onNewLine(l, type);
        };
        for (qsizetype i = 0; i < bytes.size(); i += 4096)
            cutter.feed(QByteArrayView(bytes).sliced(i, qMin<qsizetype>(4096, bytes.size() - i)), sink);
        cutter.finish(sink);
        parsed = count / (t.nsecsElapsed() / 1e9);
        std::printf("parser: %.0f lines/s (baseline cut+decode only: %.0f lines/s), log %d lines\n", parsed,
                    baseline, log.lineCount());
    }

    // The real thing: a shell printing as fast as it can, the log window shown.
    QTemporaryDir dir;
    const QString tool = dir.path() + "/burst";
    {
        QFile f(tool);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\ni=0\nwhile [ $i -lt 100000 ]; do i=$((i+1)); "
                "printf 'Track 01: %4d of 9999 MB written (fifo 100%%) [buf  99%%]  48.0x.\\r' $i; done\n"
                "printf '\\nburst done\\n'\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    LogWindow window;
    window.resize(800, 500);
    window.show();
    OutputParser parser(window, nullptr, prompter);
    ParserOptions o;
    o.jobType = jtDataDisc;
    parser.setOptions(o);
    parser.startRun();
    for (int i = 0; i < 150; ++i)
        parser.onNewLine(QStringLiteral("preamble line %1").arg(i), 0);
    ConsoleRunner runner;
    qint64 delivered = 0;
    QObject::connect(&runner, &ConsoleRunner::newLine, [&](const QString &l, int type) {
        delivered += type == 0;
        parser.onNewLine(l, type);
    });
    bool done = false;
    QObject::connect(&runner, &ConsoleRunner::terminated, [&] { done = true; });
    QElapsedTimer clock, total;
    qint64 worstGap = 0, last = 0;
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        worstGap = qMax(worstGap, now - last);
        last = now;
    });
    clock.start();
    total.start();
    tick.start();
    runner.execute(tool, {}, dir.path());
    while (!done)
        app.processEvents(QEventLoop::WaitForMoreEvents, 50);
    tick.stop();
    window.flush();
    std::printf("runner + shown log window: %lld lines in %.2f s, longest UI stall %lld ms (limit 50), "
                "log %d lines\n",
                delivered, total.elapsed() / 1000.0, worstGap, window.lineCount());
    return parsed >= 500000 && worstGap <= 50 ? 0 : 1;
}
