#include "platform/CharacterSet.h"

#include <algorithm>
#include <array>

namespace quillon {

QString CharacterSetForCodePage(int codePage)
{
    // The code pages the image builder knows by their own number.
    static constexpr std::array kByNumber{437,  737,  775,   850,   852,   855,   857,   860,
                                          861,  862,  863,   864,   865,   866,   869,   874,
                                          1250, 1251, 10000, 10006, 10007, 10029, 10079, 10081};
    if (std::find(kByNumber.begin(), kByNumber.end(), codePage) != kByNumber.end())
        return QStringLiteral("cp%1").arg(codePage);
    switch (codePage) {
    case 858:
    case 1252:
    case 1258:
    case 20924:
        return QStringLiteral("iso8859-1");
    case 878:
    case 20866:
        return QStringLiteral("koi8-r");
    case 1253:
        return QStringLiteral("iso8859-7");
    case 1254:
        return QStringLiteral("iso8859-9");
    case 1255:
    case 38598:
        return QStringLiteral("iso8859-8");
    case 1256:
        return QStringLiteral("iso8859-6");
    case 28605:
        return QStringLiteral("iso8859-15");
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28599)
        return QStringLiteral("iso8859-%1").arg(codePage - 28590);
    return {};
}

QString CharacterSetForCodeset(const QString &codeset)
{
    // Locales spell one codeset many ways ("UTF-8", "utf8", "ISO_8859-1", "iso88591"), so
    // only the letters and digits are compared.
    QString name;
    for (QChar c : codeset) {
        if (c.isLetterOrNumber())
            name.append(c.toUpper());
    }
    if (name == QLatin1String("UTF8"))
        return QStringLiteral("utf-8");
    if (name == QLatin1String("KOI8R"))
        return QStringLiteral("koi8-r");

    auto numberAfter = [&name](QLatin1String prefix) -> int {
        if (!name.startsWith(prefix) || name.size() == prefix.size())
            return 0;
        bool ok = false;
        const int number = QStringView(name).sliced(prefix.size()).toInt(&ok);
        return ok ? number : 0;
    };
    if (const int part = numberAfter(QLatin1String("ISO8859"))) {
        if ((part >= 1 && part <= 9) || part == 13 || part == 15)
            return QStringLiteral("iso8859-%1").arg(part);
        return {};
    }
    // Windows and DOS code pages under their locale names ("CP1251", "WINDOWS-1251", "IBM850").
    for (QLatin1String prefix : {QLatin1String("CP"), QLatin1String("WINDOWS"), QLatin1String("IBM")}) {
        if (const int codePage = numberAfter(prefix))
            return CharacterSetForCodePage(codePage);
    }
    return {};
}

} // namespace quillon
