#pragma once
// How a tool and everything it starts (a shell running a pipe) is stopped as one.
// One file per OS: on Linux the tool leads a process group of its own.
#include <QProcess>

namespace quillon::processgroup {

// Called before start: the child becomes the leader of a new group (Linux) or gets a new
// console of its own (Windows).
void prepare(QProcess &process);
// The polite request: SIGINT to the whole group on Linux.
void interrupt(QProcess &process);
// The end without appeal: SIGKILL to the group on Linux, TerminateProcess on Windows.
void kill(QProcess &process);

} // namespace quillon::processgroup
