#include "settings/OptionsLists.h"

#include <QDir>
#include <QUrl>

namespace quillon {

QStringList compressionEntries()
{
    return {QStringLiteral("Highest - CBR 320 kbps"),
            QStringLiteral("Very high - VBR about 250 kbps"),
            QStringLiteral("High - VBR about 190 kbps"),
            QStringLiteral("Normal - ABR 128 kbps"),
            QStringLiteral("Low - ABR 96 kbps"),
            QStringLiteral("Variable bitrate - VBR"),
            QStringLiteral("Average bitrate - ABR"),
            QStringLiteral("Constant bitrate - CBR"),
            QStringLiteral("User defined")};
}

QStringList qualityEntries()
{
    return {QStringLiteral("0 - highest - SLOWEST"),
            QStringLiteral("1"),
            QStringLiteral("2 - recommended"),
            QStringLiteral("3"),
            QStringLiteral("4"),
            QStringLiteral("5 - good"),
            QStringLiteral("6"),
            QStringLiteral("7 - may be"),
            QStringLiteral("8"),
            QStringLiteral("9 - poor - FASTEST")};
}

namespace {
QStringList numbers(std::initializer_list<int> values)
{
    QStringList list;
    for (int v : values)
        list << QString::number(v);
    return list;
}
} // namespace

QStringList bitrateEntries()
{
    return numbers({8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320});
}

QStringList bitrateRangeEntries()
{
    return numbers({32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320});
}

QStringList frequencyEntries()
{
    return {QStringLiteral("the same as input"),
            QStringLiteral("8"),
            QStringLiteral("11.025"),
            QStringLiteral("12"),
            QStringLiteral("16"),
            QStringLiteral("22.05"),
            QStringLiteral("24"),
            QStringLiteral("32"),
            QStringLiteral("44.1"),
            QStringLiteral("48")};
}

QStringList stereoEntries()
{
    return {QStringLiteral("auto"),
            QStringLiteral("joint stereo"),
            QStringLiteral("stereo"),
            QStringLiteral("mono"),
            QStringLiteral("forced mid/side stereo"),
            QStringLiteral("dual (independent) channels"),
            QStringLiteral("intensity stereo")};
}

QStringList ripNormEntries()
{
    // The trailing blank of the second entry is the designed text.
    return {QStringLiteral("All songs from the same album - BATCH"),
            QStringLiteral("Songs from different albums - MIX "),
            QStringLiteral("Use max level instead of RMS - PEAK")};
}

QStringList characterSetEntries()
{
    return {QStringLiteral("cp437 DOS Latin US"),
            QStringLiteral("cp737 DOS Greek"),
            QStringLiteral("cp775 DOS Baltic"),
            QStringLiteral("cp850 DOS Latin1"),
            QStringLiteral("cp852 DOS Latin2"),
            QStringLiteral("cp855 DOS Cyrillic"),
            QStringLiteral("cp857 DOS Turkish"),
            QStringLiteral("cp860 DOS Portuguese"),
            QStringLiteral("cp861 DOS Icelandic"),
            QStringLiteral("cp862 DOS Hebrew"),
            QStringLiteral("cp863 DOS Canada French"),
            QStringLiteral("cp864 DOS Arabic"),
            QStringLiteral("cp865 DOS Nordic"),
            QStringLiteral("cp866 DOS Cyrillic Russian"),
            QStringLiteral("cp869 DOS Greek 2"),
            QStringLiteral("cp874 DOS Thai"),
            QStringLiteral("cp1250 DOS Latin2"),
            QStringLiteral("cp1251 DOS Latin8"),
            QStringLiteral("cp10000 MAC Roman"),
            QStringLiteral("cp10006 MAC Greek I"),
            QStringLiteral("cp10007 MAC Cyrillic"),
            QStringLiteral("cp10029 MAC Latin II"),
            QStringLiteral("cp10079 MAC Icelandic"),
            QStringLiteral("cp10081 MAC Turkish"),
            QStringLiteral("iso8859-1 Latin1 cp1252, 1258"),
            QStringLiteral("iso8859-2 Latin2"),
            QStringLiteral("iso8859-3 Latin3"),
            QStringLiteral("iso8859-4 Latin4"),
            QStringLiteral("iso8859-5 Cyrillic"),
            QStringLiteral("iso8859-6 Arabic cp1256"),
            QStringLiteral("iso8859-7 Greek cp1253"),
            QStringLiteral("iso8859-8 Hebrew cp1255"),
            QStringLiteral("iso8859-9 Latin5 cp1254"),
            QStringLiteral("iso8859-14 Latin8"),
            QStringLiteral("iso8859-15 Latin9"),
            QStringLiteral("koi8-r Alt. Russian Cyrillic"),
            QStringLiteral("From a file"),
            QStringLiteral("utf-8 Unicode")};
}

QString characterSetValue(int position, const QString &charactersFile)
{
    const QStringList entries = characterSetEntries();
    if (position < 0 || position >= entries.size())
        return QString();
    if (position == kCharacterSetFromFile)
        return charactersFile;
    return entries.at(position).section(QLatin1Char(' '), 0, 0).trimmed();
}

int characterSetPositionFor(const QString &detected)
{
    QString name = detected.toUpper();
    if (name.isEmpty())
        name = QStringLiteral("ISO8859-1");
    const QStringList entries = characterSetEntries();
    // Entry order settles "ISO8859-1": "iso8859-1 Latin1 ..." comes before "iso8859-14 Latin8".
    for (int i = 0; i < entries.size(); ++i)
        if (i != kCharacterSetFromFile && entries.at(i).toUpper().startsWith(name))
            return i;
    return -1;
}

CompressionControls compressionControls(int position)
{
    CompressionControls c;
    switch (position) {
    case 1:
    case 2:
        c.fast = true;
        break;
    case 5:
        c.bitrateMinMax = true;
        c.quality = true;
        break;
    case 6:
        c.editBitrate = true;
        c.quality = true;
        break;
    case 7:
        c.bitrate = true;
        c.quality = true;
        break;
    case 8:
        c.userLame = true;
        c.lameOptions = c.frequency = c.stereo = false;
        break;
    default:
        break;
    }
    return c;
}

QString ProperCase(const QString &text)
{
    static const QString separators = QStringLiteral(" !#&(,-./[_{");
    QString out = text.toLower();
    bool wordStart = true;
    for (QChar &c : out) {
        const bool separator = separators.contains(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
        if (wordStart && !separator)
            c = c.toUpper();
        wordStart = separator;
    }
    return out;
}

ParsedAddress parseServerAddress(const QString &text)
{
    ParsedAddress parsed;
    QString t = text.trimmed();
    if (t.isEmpty())
        return parsed;
    t.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // QUrl reads "proxy:8080" as scheme "proxy"; without "://" the text is read as an address
    // without a protocol.
    const int schemeEnd = t.indexOf(QStringLiteral("://"));
    const bool hasScheme = schemeEnd > 0;
    const QUrl url(hasScheme ? t : QStringLiteral("http://") + t, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty()) {
        parsed.field = t;
        return parsed;
    }
    parsed.field = hasScheme ? t.left(schemeEnd) + QStringLiteral("://") + url.host() : url.host();
    parsed.user = url.userName();
    parsed.password = url.password();
    parsed.path = url.path();
    // A port QUrl refused (not a whole number) leaves the host and drops the port.
    const int port = url.port();
    if (port >= 0)
        parsed.port = QString::number(port);
    return parsed;
}

ImageNameProblem checkImageFileName(const QString &name)
{
    if (name.isEmpty())
        return ImageNameProblem::None;
    for (QChar c : QStringLiteral("?*|\"<>"))
        if (name.contains(c))
            return ImageNameProblem::InvalidCharacters;
    if (name.count(QLatin1Char(':')) > 1)
        return ImageNameProblem::InvalidCharacters;
#ifdef Q_OS_WIN
    const qsizetype lastSeparator =
        std::max(name.lastIndexOf(QLatin1Char('\\')), name.lastIndexOf(QLatin1Char(':')));
#else
    const qsizetype lastSeparator = name.lastIndexOf(QLatin1Char('/'));
#endif
    if (lastSeparator == name.size() - 1)
        return ImageNameProblem::MissingFileName;
    return ImageNameProblem::None;
}

QString imageNameProblemText(ImageNameProblem problem)
{
    switch (problem) {
    case ImageNameProblem::InvalidCharacters:
        return QStringLiteral("Filename cannot contain any of these characters:\r\n? * | \" < >");
    case ImageNameProblem::MissingFileName:
        return QStringLiteral("Please specify a filename!");
    case ImageNameProblem::None:
        break;
    }
    return QString();
}

QString imageNameProblemCaption(ImageNameProblem problem)
{
    switch (problem) {
    case ImageNameProblem::InvalidCharacters:
        return QStringLiteral("Invalid filename");
    case ImageNameProblem::MissingFileName:
        return QStringLiteral("Missing filename");
    case ImageNameProblem::None:
        break;
    }
    return QString();
}

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" as Qt's filter list.
QStringList qtFilters(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

// The tool filters name the programs of this system.
QString programFilter(const char *description, const char *program)
{
#ifdef Q_OS_WIN
    return QStringLiteral("%1 (%2.exe)|%2.exe|All files (*.*)|*.*")
        .arg(QLatin1String(description), QLatin1String(program));
#else
    return QStringLiteral("%1 (%2)|%2|All files (*.*)|*.*")
        .arg(QLatin1String(description), QLatin1String(program));
#endif
}

QString programStartFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\");
#else
    return QDir::homePath();
#endif
}

} // namespace quillon
