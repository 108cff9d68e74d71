// The Task Manager tab page, and switching to a window (shared with the Windows subsystem).
#ifndef VANTIX_TASKMAN_PAGE_H
#define VANTIX_TASKMAN_PAGE_H

#include <windows.h>

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Brings a top-level window (its last active pop-up) to the foreground, restoring it when it is
// minimized; "Window no longer exists" when it has gone. With "Close on switch" set, the main
// dialog closes afterwards either way.
void SwitchToWindow(HWND hWnd);

#endif
