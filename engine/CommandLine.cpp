#include "engine/CommandLine.h"

#include "platform/AppPaths.h"

namespace quillon {

namespace {

bool isHarmless(QChar c)
{
    if (c.isLetterOrNumber())
        return true;
    switch (c.unicode()) {
    case '-': case '_': case '.': case ',': case '/': case ':': case '=': case '+': case '@': case '%':
        return true;
    default:
        return false;
    }
}

QString doubleQuoted(const QString &text, CommandLine::Dialect dialect)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        const bool escape = dialect == CommandLine::Dialect::Posix
                                ? (c == u'"' || c == u'\\' || c == u'$' || c == u'`')
                                : c == u'"';
        if (escape)
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

} // namespace

CommandLine::Dialect CommandLine::nativeDialect()
{
#ifdef Q_OS_WIN
    return Dialect::Windows;
#else
    return Dialect::Posix;
#endif
}

QString CommandLine::quoteArgument(const QString &argument, Dialect dialect)
{
    if (argument.isEmpty())
        return QStringLiteral("\"\"");
    for (QChar c : argument) {
        if (!isHarmless(c) && !(dialect == Dialect::Windows && c == u'\\'))
            return doubleQuoted(argument, dialect);
    }
    return argument;
}

QString CommandLine::quoteFileName(const QString &fileName, Dialect dialect)
{
    return doubleQuoted(fileName, dialect);
}

QString CommandLine::render(const ToolCommand &command, Dialect dialect)
{
    QStringList words;
    words.reserve(command.size());
    for (const QString &a : command)
        words << quoteArgument(a, dialect);
    return words.join(QLatin1Char(' '));
}

QString CommandLine::renderPipe(const QList<ToolCommand> &commands, Dialect dialect)
{
    QStringList parts;
    for (const ToolCommand &c : commands)
        parts << render(c, dialect);
    return parts.join(QStringLiteral(" | "));
}

namespace {

// The one tokenizer behind parse and splitArguments.
struct Tokenizer {
    const QString &text;
    CommandLine::Dialect dialect;
    bool pipeSplits;
    QList<ToolCommand> commands{ToolCommand{}};
    QString error;

    void run()
    {
        QString word;
        bool inWord = false;
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = text.at(i);
            if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
                if (inWord)
                    commands.last() << word;
                word.clear();
                inWord = false;
            } else if (c == u'|' && pipeSplits) {
                if (inWord)
                    commands.last() << word;
                word.clear();
                inWord = false;
                if (commands.last().isEmpty())
                    error = QStringLiteral("a pipe sign without a command before it");
                commands << ToolCommand{};
            } else if (c == u'\'' && dialect == CommandLine::Dialect::Posix) {
                inWord = true;
                const qsizetype end = text.indexOf(u'\'', i + 1);
                if (end < 0) {
                    error = QStringLiteral("an unterminated single quote");
                    word += text.mid(i + 1);
                    i = n;
                } else {
                    word += text.mid(i + 1, end - i - 1);
                    i = end;
                }
            } else if (c == u'"') {
                inWord = true;
                qsizetype j = i + 1;
                for (; j < n && text.at(j) != u'"'; ++j) {
                    const QChar d = text.at(j);
                    if (d == u'\\' && j + 1 < n) {
                        const QChar e = text.at(j + 1);
                        const bool escapes = dialect == CommandLine::Dialect::Posix
                                                 ? (e == u'"' || e == u'\\' || e == u'$' || e == u'`' ||
                                                    e == u'\n')
                                                 : e == u'"';
                        if (escapes) {
                            if (e != u'\n')
                                word += e;
                            ++j;
                            continue;
                        }
                    }
                    word += d;
                }
                if (j >= n)
                    error = QStringLiteral("an unterminated double quote");
                i = j;
            } else if (c == u'\\' && dialect == CommandLine::Dialect::Posix) {
                inWord = true;
                if (i + 1 < n) {
                    if (text.at(i + 1) != u'\n')
                        word += text.at(i + 1);
                    ++i;
                }
            } else {
                inWord = true;
                word += c;
            }
        }
        if (inWord)
            commands.last() << word;
        if (pipeSplits && commands.size() > 1 && commands.last().isEmpty() && error.isEmpty())
            error = QStringLiteral("a pipe sign without a command after it");
    }
};

} // namespace

CommandLine::Parsed CommandLine::parse(const QString &text, Dialect dialect)
{
    Tokenizer t{text, dialect, true, {ToolCommand{}}, {}};
    t.run();
    Parsed result;
    result.error = t.error;
    if (result.ok() && t.commands.size() == 1 && t.commands.first().isEmpty())
        result.error = QStringLiteral("an empty command line");
    if (result.ok() && t.commands.size() > 2)
        result.error = QStringLiteral("more than two commands joined by pipe signs");
    if (result.ok())
        result.commands = t.commands;
    return result;
}

QStringList CommandLine::splitArguments(const QString &text, Dialect dialect)
{
    Tokenizer t{text, dialect, false, {ToolCommand{}}, {}};
    t.run();
    return t.commands.first();
}

QString CommandLine::shellQuote(const QString &word)
{
    QString out = word;
    out.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString CommandLine::programPath(const QString &toolsDir, const QString &program)
{
    if (program.contains(QLatin1Char('/')) || program.contains(QLatin1Char('\\')))
        return program;
    const QString suffix = AppPaths::executableSuffix();
    QString name = program;
    if (!suffix.isEmpty() && !name.endsWith(suffix, Qt::CaseInsensitive))
        name += suffix;
    return withTrailingSeparator(toolsDir) + name;
}

} // namespace quillon
