#pragma once
// The tagged binary encoding of project files. Every value but a raw block starts with a
// one-byte tag; numbers are little-endian.
//
//   Int   tag 2 + 1 byte, tag 3 + 2 bytes or tag 4 + 4 bytes, the smallest that holds it
//   Str   tag 6 + 1-byte length, or tag 12 + 4-byte length for longer texts; then the bytes
//   Bool  the single byte 9 (true) or 8 (false)
//   Chr   a Str of length 1
//   Raw   bytes without a tag
//
// The reader trusts nothing: every length is checked against the bytes that remain, and the
// first failure sticks, so a caller may read on and look once at the end.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace quillon {

enum TaggedTag : quint8 {
    tagInt8 = 2,
    tagInt16 = 3,
    tagInt32 = 4,
    tagStr = 6,
    tagFalse = 8,
    tagTrue = 9,
    tagLongStr = 12,
};

class TaggedWriter {
public:
    void Int(qint32 value);
    void Str(QStringView text);
    void StrBytes(QByteArrayView bytes);
    void Bool(bool value) { m_bytes.append(char(value ? tagTrue : tagFalse)); }
    // The character's single byte; one that does not fit one byte is written as "?".
    void Chr(QChar c);
    void Raw(QByteArrayView bytes) { m_bytes.append(bytes); }

    void reserve(qsizetype size) { m_bytes.reserve(size); }
    const QByteArray &bytes() const { return m_bytes; }
    QByteArray take() { return std::move(m_bytes); }

private:
    void le(quint32 value, int size);
    QByteArray m_bytes;
};

class TaggedReader {
public:
    // Reads from bytes the caller keeps alive; a temporary array would leave it dangling.
    explicit TaggedReader(QByteArrayView bytes)
        : m_bytes(bytes)
    {
    }
    explicit TaggedReader(QByteArray &&) = delete;

    // Each returns false, and leaves the target as it was, once anything has failed.
    bool Int(qint32 &value);
    bool Str(QString &text);
    bool StrBytes(QByteArrayView &bytes);
    bool Bool(bool &value);
    bool Chr(QChar &c);
    bool Raw(qsizetype size, QByteArrayView &bytes);

    // Whether `count` items of at least `itemBytes` bytes each can still follow; a failure
    // (with its reason) when they cannot, so that no count from the file sizes an allocation.
    bool fits(qint64 count, qint64 itemBytes, const char *what);
    // Marks the stream as failed (for checks the caller makes on the values it read).
    void fail(const QString &reason);

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    bool failed() const { return m_failed; }
    // What failed and where, for the debug log.
    const QString &error() const { return m_error; }

private:
    bool take(qsizetype size, const char *what, const char *&data);
    bool tag(quint8 &value, const char *what);

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
    QString m_error;
};

} // namespace quillon
