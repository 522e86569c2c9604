#pragma once
// Progress read from the tools' lines: the recorder's track line, the image builder's
// "% done", readcd's read position and the bare percentages of cdda2wav.
#include <QMetaType>
#include <QString>

namespace quillon {

struct ToolProgress {
    enum Source { Recorder, ImageBuilder, Reader, Ripper };
    Source source = Recorder;
    double percent = -1;  // -1 when not known (a recorder fed a stream of unknown length)
    int track = 0;
    int writtenMB = -1;
    int totalMB = -1;
    int fifo = -1;        // per cent
    int buffer = -1;      // recorder buffer per cent; missing in old recorders
    double speed = -1;    // write speed as a multiple of the CD speed
};

// "Track 01:   12 of  220 MB written (fifo 100%) [buf  99%]   4.2x." in cdrecord's and
// cdrskin's spacing, with or without the size and the buffer field.
bool parseTrackProgress(QStringView line, ToolProgress &out);
// " 13.44% done, estimate finish ..." anywhere in the line.
bool parseImageBuilderPercent(QStringView line, double &percent);

} // namespace quillon

Q_DECLARE_METATYPE(quillon::ToolProgress)
