#include "project/ProjectText.h"

#include <QStringDecoder>
#include <algorithm>

namespace quillon {

QByteArray encodeProjectText(QStringView text)
{
    return text.toUtf8();
}

QString decodeProjectText(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    // A leading byte-order mark is part of the name, not a signal to drop it.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

} // namespace quillon
