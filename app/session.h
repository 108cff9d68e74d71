// Ending the Windows session: log off, shut down, restart.
#ifndef VANTIX_SESSION_H
#define VANTIX_SESSION_H

#include <windows.h>

// ExitWindowsEx is reached through this pointer so that tests never end the session for real.
typedef BOOL (WINAPI *ExitWindowsExFn)(UINT flags, DWORD reason);
extern ExitWindowsExFn g_pfnExitWindowsEx;
// Pure: the flags of the first request for mode 0 (log off), 1 (shut down) or 2 (restart).
UINT QuitSessionFlags(int mode, bool powerOff);
bool QuitSession(int mode);

#endif
