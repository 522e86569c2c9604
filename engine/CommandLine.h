#pragma once
// The one model of a tool command line: the argument lists a command builder makes, the text
// the user sees and may edit in the command-line field, and the way back from that text.
//
// The text follows the rules of a POSIX shell on Linux (single quotes, double quotes with
// backslash escapes, backslash outside quotes), so that every argument round-trips exactly;
// on Windows a backslash is an ordinary path character and only \" escapes a quote.
// A "|" splits a command only where it stands unquoted.
#include <QList>
#include <QString>
#include <QStringList>

namespace quillon {

// One program with its arguments; the first element is the program, usually a bare name.
using ToolCommand = QStringList;

class CommandLine {
public:
    enum class Dialect { Posix, Windows };
    static Dialect nativeDialect();

    // The text of one argument: bare when it holds only harmless characters, otherwise in
    // double quotes with the characters that stay live inside them escaped.
    static QString quoteArgument(const QString &argument, Dialect dialect = nativeDialect());
    // A file name is always shown in double quotes, like every file name in a command line.
    static QString quoteFileName(const QString &fileName, Dialect dialect = nativeDialect());
    static QString render(const ToolCommand &command, Dialect dialect = nativeDialect());
    // Commands joined by " | ".
    static QString renderPipe(const QList<ToolCommand> &commands, Dialect dialect = nativeDialect());

    struct Parsed {
        QList<ToolCommand> commands; // one, or two for a pipe or a two-step job
        QString error;               // empty when the text was understood
        bool ok() const { return error.isEmpty(); }
    };
    // Reads a command-line text back, split into commands at every unquoted "|".
    static Parsed parse(const QString &text, Dialect dialect = nativeDialect());
    // A free "additional options" text split into arguments by the same rules; a "|" here is
    // an ordinary character. An unterminated quote yields what was read, closing it.
    static QStringList splitArguments(const QString &text, Dialect dialect = nativeDialect());

    // A shell word in single quotes, with ' written as '\'' : nothing inside is interpreted.
    static QString shellQuote(const QString &word);

    // The program made absolute: a bare name is put into the tool folder (with the platform's
    // executable suffix unless it already carries it); a path is left as it is.
    static QString programPath(const QString &toolsDir, const QString &program);
};

} // namespace quillon
