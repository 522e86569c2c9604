#pragma once
// What a command builder makes: the argument lists (one, or two joined by a pipe) and, when
// the command must not run as it stands, why.
#include "engine/CommandLine.h"

namespace quillon {

struct BuiltCommand {
    QList<ToolCommand> commands;
    QString error; // empty when the command may run

    bool runnable() const { return error.isEmpty() && !commands.isEmpty(); }
    // The text for the command-line field.
    QString text() const { return CommandLine::renderPipe(commands); }
};

} // namespace quillon
