// Ending the Windows session.
#include "app/session.h"
#include "app/settings.h"

// Enables the shutdown privilege of this process's token; false (with the last error set) when
// the token cannot be opened, the privilege is unknown or the token does not hold it.
static bool EnableShutdownPrivilege()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &token)) return false;
    TOKEN_PRIVILEGES tp;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &tp.Privileges[0].Luid) != FALSE;
    // AdjustTokenPrivileges succeeds even when the token lacks the privilege; only the last
    // error then says that nothing was enabled (and a success need not clear it).
    if (ok) {
        SetLastError(ERROR_SUCCESS);
        ok = AdjustTokenPrivileges(token, FALSE, &tp, 0, NULL, NULL) && GetLastError() == ERROR_SUCCESS;
    }
    DWORD err = GetLastError();
    CloseHandle(token);
    SetLastError(err);
    return ok;
}

ExitWindowsExFn g_pfnExitWindowsEx = ExitWindowsEx;
ShutdownPrivilegeFn g_pfnEnableShutdownPrivilege = EnableShutdownPrivilege;

static_assert(QUIT_LOGOFF == EWX_LOGOFF && QUIT_SHUTDOWN == EWX_SHUTDOWN && QUIT_RESTART == EWX_REBOOT,
              "each quit mode is the flag it asks for");

UINT QuitSessionFlags(int mode, bool powerOff)
{
    if (mode == QUIT_SHUTDOWN && powerOff) return EWX_POWEROFF;
    return (UINT)mode;
}

bool QuitSession(QuitMode mode)
{
    if ((mode == QUIT_SHUTDOWN || mode == QUIT_RESTART) && !g_pfnEnableShutdownPrivilege()) return false;
    UINT flags = QuitSessionFlags(mode, g_Options.PowerOff != 0);
    if (g_pfnExitWindowsEx(flags, 0)) return true;
    if (g_Options.ForceExit) return g_pfnExitWindowsEx(flags | EWX_FORCE, 0) != FALSE;
    return false;
}
