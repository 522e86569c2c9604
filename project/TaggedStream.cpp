#include "project/TaggedStream.h"

#include "project/ProjectText.h"

namespace quillon {

void TaggedWriter::le(quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        m_bytes.append(char((value >> (8 * i)) & 0xFF));
}

void TaggedWriter::Int(qint32 value)
{
    if (value >= -128 && value <= 127) {
        m_bytes.append(char(tagInt8));
        le(quint32(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        m_bytes.append(char(tagInt16));
        le(quint32(value), 2);
    } else {
        m_bytes.append(char(tagInt32));
        le(quint32(value), 4);
    }
}

void TaggedWriter::StrBytes(QByteArrayView bytes)
{
    if (bytes.size() <= 255) {
        m_bytes.append(char(tagStr));
        le(quint32(bytes.size()), 1);
    } else {
        m_bytes.append(char(tagLongStr));
        le(quint32(bytes.size()), 4);
    }
    m_bytes.append(bytes);
}

void TaggedWriter::Str(QStringView text)
{
    StrBytes(encodeProjectText(text));
}

void TaggedWriter::Chr(QChar c)
{
    const char byte = c.unicode() <= 0xFF ? char(c.unicode()) : '?';
    StrBytes(QByteArrayView(&byte, 1));
}

// ---- reading -----------------------------------------------------------------------------

void TaggedReader::fail(const QString &reason)
{
    if (m_failed)
        return;
    m_failed = true;
    m_error = reason + QStringLiteral(" at byte %1").arg(m_pos);
}

bool TaggedReader::take(qsizetype size, const char *what, const char *&data)
{
    if (m_failed)
        return false;
    if (size < 0 || size > remaining()) {
        fail(QStringLiteral("%1 of %2 bytes, %3 left").arg(QLatin1String(what)).arg(size).arg(remaining()));
        return false;
    }
    data = m_bytes.data() + m_pos;
    m_pos += size;
    return true;
}

bool TaggedReader::tag(quint8 &value, const char *what)
{
    const char *data = nullptr;
    if (!take(1, what, data))
        return false;
    value = static_cast<quint8>(*data);
    return true;
}

static quint32 readLe(const char *data, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value |= quint32(static_cast<quint8>(data[i])) << (8 * i);
    return value;
}

bool TaggedReader::Int(qint32 &value)
{
    quint8 t = 0;
    if (!tag(t, "Int tag"))
        return false;
    const char *data = nullptr;
    switch (t) {
    case tagInt8:
        if (!take(1, "Int", data))
            return false;
        value = qint8(static_cast<quint8>(data[0]));
        return true;
    case tagInt16:
        if (!take(2, "Int", data))
            return false;
        value = qint16(quint16(readLe(data, 2)));
        return true;
    case tagInt32:
        if (!take(4, "Int", data))
            return false;
        value = qint32(readLe(data, 4));
        return true;
    default:
        --m_pos;
        fail(QStringLiteral("tag %1 where an Int was expected").arg(t));
        return false;
    }
}

bool TaggedReader::StrBytes(QByteArrayView &bytes)
{
    quint8 t = 0;
    if (!tag(t, "Str tag"))
        return false;
    const char *data = nullptr;
    qsizetype length = 0;
    if (t == tagStr) {
        if (!take(1, "Str length", data))
            return false;
        length = static_cast<quint8>(data[0]);
    } else if (t == tagLongStr) {
        if (!take(4, "Str length", data))
            return false;
        length = qsizetype(readLe(data, 4));
    } else {
        --m_pos;
        fail(QStringLiteral("tag %1 where a Str was expected").arg(t));
        return false;
    }
    if (!take(length, "Str", data))
        return false;
    bytes = QByteArrayView(data, length);
    return true;
}

bool TaggedReader::Str(QString &text)
{
    QByteArrayView bytes;
    if (!StrBytes(bytes))
        return false;
    text = decodeProjectText(bytes);
    return true;
}

bool TaggedReader::Bool(bool &value)
{
    quint8 t = 0;
    if (!tag(t, "Bool"))
        return false;
    if (t != tagTrue && t != tagFalse) {
        --m_pos;
        fail(QStringLiteral("tag %1 where a Bool was expected").arg(t));
        return false;
    }
    value = t == tagTrue;
    return true;
}

bool TaggedReader::Chr(QChar &c)
{
    QByteArrayView bytes;
    if (!StrBytes(bytes))
        return false;
    if (bytes.size() != 1) {
        fail(QStringLiteral("a Chr of %1 bytes").arg(bytes.size()));
        return false;
    }
    // One byte, taken as it stands: a drive letter, whatever code page wrote it.
    c = QChar(char16_t(static_cast<quint8>(bytes[0])));
    return true;
}

bool TaggedReader::Raw(qsizetype size, QByteArrayView &bytes)
{
    const char *data = nullptr;
    if (!take(size, "Raw", data))
        return false;
    bytes = QByteArrayView(data, size);
    return true;
}

bool TaggedReader::fits(qint64 count, qint64 itemBytes, const char *what)
{
    if (m_failed)
        return false;
    if (count < 0 || (count > 0 && itemBytes > 0 && count > qint64(remaining()) / itemBytes)) {
        fail(QStringLiteral("%1 %2, more than the %3 bytes left can hold")
                 .arg(count)
                 .arg(QLatin1String(what))
                 .arg(remaining()));
        return false;
    }
    return true;
}

} // namespace quillon
