#include "platform/PowerOff.h"

#include <windows.h>

namespace quillon {

// A normal shut-down with power-off: programs are asked to close, never forced.
bool SystemPowerOff::requestPowerOff(QString *reason)
{
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges{};
        LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid);
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        CloseHandle(token);
    }
    if (ExitWindowsEx(EWX_SHUTDOWN | EWX_POWEROFF, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_FLAG_PLANNED))
        return true;
    if (reason)
        *reason = QStringLiteral("Windows refused to shut down (error %1).").arg(GetLastError());
    return false;
}

} // namespace quillon
