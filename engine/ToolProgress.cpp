#include "engine/ToolProgress.h"

namespace quillon {

namespace {

struct Cursor {
    QStringView s;
    qsizetype i = 0;
    void blanks()
    {
        while (i < s.size() && s[i] == u' ')
            ++i;
    }
    bool literal(QStringView text)
    {
        if (s.mid(i).startsWith(text)) {
            i += text.size();
            return true;
        }
        return false;
    }
    bool integer(int &out)
    {
        const qsizetype start = i;
        int v = 0;
        while (i < s.size() && s[i].isDigit() && i - start < 9)
            v = v * 10 + (s[i++].unicode() - '0');
        out = v;
        return i > start;
    }
    bool real(double &out)
    {
        const qsizetype start = i;
        while (i < s.size() && (s[i].isDigit() || s[i] == u'.'))
            ++i;
        bool ok = false;
        out = s.mid(start, i - start).toDouble(&ok);
        return ok;
    }
};

} // namespace

bool parseTrackProgress(QStringView line, ToolProgress &out)
{
    Cursor c{line};
    ToolProgress p;
    p.source = ToolProgress::Recorder;
    if (!c.literal(u"Track "))
        return false;
    c.blanks();
    if (!c.integer(p.track) || !c.literal(u":"))
        return false;
    c.blanks();
    if (!c.integer(p.writtenMB))
        return false;
    c.blanks();
    if (c.literal(u"of")) {
        c.blanks();
        if (!c.integer(p.totalMB))
            return false;
        c.blanks();
    }
    if (!c.literal(u"MB written (fifo"))
        return false;
    c.blanks();
    if (!c.integer(p.fifo) || !c.literal(u"%)"))
        return false;
    c.blanks();
    if (c.literal(u"[buf")) {
        c.blanks();
        if (!c.integer(p.buffer) || !c.literal(u"%]"))
            return false;
        c.blanks();
    }
    double speed = 0;
    const qsizetype before = c.i;
    if (c.real(speed) && c.literal(u"x"))
        p.speed = speed;
    else
        c.i = before;
    if (p.totalMB > 0)
        p.percent = qMin(100.0, 100.0 * p.writtenMB / p.totalMB);
    out = p;
    return true;
}

bool parseImageBuilderPercent(QStringView line, double &percent)
{
    const qsizetype at = line.indexOf(u"% done");
    if (at <= 0)
        return false;
    qsizetype start = at;
    while (start > 0 && (line[start - 1].isDigit() || line[start - 1] == u'.'))
        --start;
    bool ok = false;
    percent = line.mid(start, at - start).toDouble(&ok);
    return ok;
}

} // namespace quillon
