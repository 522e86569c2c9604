#pragma once
// What a command builder makes: the argument lists (one, or two joined by a pipe) and, when
// the command must not run as it stands, why.
#include "engine/CommandLine.h"

namespace quillon {

struct BuiltCommand {
    // An argument that is a file name, shown in double quotes like every file name of a
    // command line; the first prefixLength characters (as in "cuefile=") stay outside them.
    struct FileArgument {
        int command = 0;
        int index = 0;
        int prefixLength = 0;
    };

    QList<ToolCommand> commands;
    QString error; // empty when the command may run
    QList<FileArgument> fileArguments;

    bool runnable() const { return error.isEmpty() && !commands.isEmpty(); }
    // Appends a file-name argument to the last command.
    void addFile(const QString &fileName, const QString &prefix = QString())
    {
        commands.last() << prefix + fileName;
        fileArguments.append({int(commands.size() - 1), int(commands.last().size() - 1), int(prefix.size())});
    }
    // This command's arguments and file names after those of `first`, as one pipe.
    static BuiltCommand piped(const BuiltCommand &first, const BuiltCommand &second)
    {
        BuiltCommand b = first;
        for (FileArgument f : second.fileArguments) {
            f.command += int(first.commands.size());
            b.fileArguments << f;
        }
        b.commands += second.commands;
        if (b.error.isEmpty())
            b.error = second.error;
        return b;
    }
    // The text for the command-line field; it parses back to exactly these arguments.
    QString text() const
    {
        QStringList parts;
        for (int i = 0; i < commands.size(); ++i) {
            QStringList words;
            for (int j = 0; j < commands.at(i).size(); ++j)
                words << CommandLine::quoteArgument(commands.at(i).at(j));
            for (const FileArgument &f : fileArguments) {
                if (f.command == i && f.index < words.size()) {
                    const QString &arg = commands.at(i).at(f.index);
                    words[f.index] =
                        arg.left(f.prefixLength) + CommandLine::quoteFileName(arg.mid(f.prefixLength));
                }
            }
            parts << words.join(QLatin1Char(' '));
        }
        return parts.join(QStringLiteral(" | "));
    }
};

} // namespace quillon
