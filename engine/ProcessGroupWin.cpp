#include "engine/ProcessGroup.h"

#include <windows.h>

namespace quillon::processgroup {

void prepare(QProcess &process)
{
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
        args->flags |= CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS;
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_HIDE;
    });
}

// The three Ctrl-C characters written to the tool's input are the request on Windows.
void interrupt(QProcess &) {}

void kill(QProcess &process) { process.kill(); }

} // namespace quillon::processgroup
