// Ending the Windows session.
#include "app/session.h"
#include "app/settings.h"

ExitWindowsExFn g_pfnExitWindowsEx = ExitWindowsEx;

UINT QuitSessionFlags(int mode, bool powerOff)
{
    if (mode == 1 && powerOff) return EWX_POWEROFF;
    return (UINT)mode;
}

static bool EnableShutdownPrivilege()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token)) return false;
    TOKEN_PRIVILEGES tp;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &tp.Privileges[0].Luid) != FALSE;
    if (ok) AdjustTokenPrivileges(token, FALSE, &tp, 0, NULL, NULL);
    CloseHandle(token);
    return ok;
}

bool QuitSession(int mode)
{
    if ((mode == 1 || mode == 2) && !EnableShutdownPrivilege())
        return true;
    UINT flags = QuitSessionFlags(mode, g_Options.PowerOff != 0);
    if (g_pfnExitWindowsEx(flags, 0)) return true;
    if (g_Options.ForceExit) return g_pfnExitWindowsEx(flags | EWX_FORCE, 0) != FALSE;
    return true;
}
