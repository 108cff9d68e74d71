// Ending the Windows session: log off, shut down, restart.
#ifndef VANTIX_SESSION_H
#define VANTIX_SESSION_H

#include <windows.h>

// ExitWindowsEx is reached through this pointer so that tests never end the session for real.
typedef BOOL (WINAPI *ExitWindowsExFn)(UINT flags, DWORD reason);
extern ExitWindowsExFn g_pfnExitWindowsEx;
// The shutdown privilege is enabled through this pointer, so that tests can refuse it. It returns
// false, with the last error set, when the privilege cannot be had.
typedef bool (*ShutdownPrivilegeFn)();
extern ShutdownPrivilegeFn g_pfnEnableShutdownPrivilege;
// How the session ends; the values are those of the ExitWindowsEx flags they ask for.
enum QuitMode {
    QUIT_LOGOFF = 0,
    QUIT_SHUTDOWN = 1,
    QUIT_RESTART = 2
};
// Pure: the flags of the first request for mode, a QuitMode (shut down with powerOff: power off).
UINT QuitSessionFlags(int mode, bool powerOff);
// Asks for the end of the session (shut down and restart after enabling the shutdown privilege;
// a forced second request when the first fails and ForceExit is set). False, with the last
// error of the failing step, when the privilege cannot be had or the session is not ending.
bool QuitSession(QuitMode mode);

#endif
