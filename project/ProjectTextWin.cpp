#include "project/ProjectText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quillon {

QByteArray encodeProjectText(QStringView text)
{
    QStringEncoder ansi(QStringEncoder::System, QStringEncoder::Flag::Stateless);
    return ansi.encode(text);
}

QString decodeProjectText(QByteArrayView bytes)
{
    QStringDecoder ansi(QStringDecoder::System,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return ansi.decode(bytes);
}

} // namespace quillon
