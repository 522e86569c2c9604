#include "engine/ProcessGroup.h"

#include <signal.h>
#include <unistd.h>

namespace quillon::processgroup {

void prepare(QProcess &process)
{
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void interrupt(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGINT);
}

void kill(QProcess &process)
{
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
}

} // namespace quillon::processgroup
