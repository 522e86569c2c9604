#include "engine/LineCutter.h"

namespace quillon {

LineCutter::LineCutter()
    : m_decoder(QStringDecoder::System)
{
}

LineCutter::LineCutter(QStringConverter::Encoding encoding)
    : m_decoder(encoding)
{
}

void LineCutter::reset()
{
    m_decoder.resetState();
    m_pending.clear();
    m_afterCr = false;
}

void LineCutter::feed(QByteArrayView bytes, const Sink &sink)
{
    if (bytes.isEmpty())
        return;
    QString text;
    if (bytes.contains('\0')) {
        QByteArray clean = bytes.toByteArray();
        clean.replace('\0', QByteArrayView());
        text = m_decoder.decode(clean);
    } else {
        text = m_decoder.decode(bytes);
    }
    const QChar *data = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    if (m_afterCr && n > 0 && data[0] == u'\n')
        start = 1;
    m_afterCr = false;
    for (qsizetype i = start; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        if (m_pending.isEmpty()) {
            sink(QString(data + start, i - start), 0);
        } else {
            m_pending.append(data + start, i - start);
            sink(m_pending, 0);
            m_pending.clear();
        }
        if (c == u'\r') {
            if (i + 1 < n) {
                if (data[i + 1] == u'\n')
                    ++i;
            } else {
                m_afterCr = true;
            }
        }
        start = i + 1;
    }
    if (start < n) {
        m_pending.append(data + start, n - start);
        sink(m_pending, 1);
    }
}

void LineCutter::finish(const Sink &sink)
{
    const QString rest = m_decoder.decode(QByteArrayView());
    m_pending += rest;
    if (!m_pending.isEmpty())
        sink(m_pending, 0);
    m_pending.clear();
    m_afterCr = false;
}

} // namespace quillon
