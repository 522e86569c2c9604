#pragma once
// Cuts a tool's output bytes into lines at LF, CR and CR LF (counted once), even when the
// pieces arrive in separate reads; drops NUL bytes; decodes with a stateful decoder in the
// locale's encoding, so a multi-byte character split across reads stays whole.
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <functional>

namespace quillon {

class LineCutter {
public:
    // Output types: 0 a complete line, 1 the beginning of a line whose end has not come yet.
    using Sink = std::function<void(const QString &line, int outputType)>;

    LineCutter();
    explicit LineCutter(QStringConverter::Encoding encoding);

    // One read: every complete line goes out with type 0; text left over goes out with type 1.
    void feed(QByteArrayView bytes, const Sink &sink);
    // The process has ended: text still pending goes out with type 0.
    void finish(const Sink &sink);
    void reset();

private:
    QStringDecoder m_decoder;
    QString m_pending;
    bool m_afterCr = false; // the last line ended at a CR: an LF first in the next read belongs to it
};

} // namespace quillon
