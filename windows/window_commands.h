// The one place where a window command is carried out: close, minimize or restore, hide or
// show, top most, switch to, and the information dialogs of a window. It stands above the
// dialogs it opens (Class, Process and Module Information, the picker) and below the Windows
// page, the Task Manager page and the Window Information dialog, which call it.
#ifndef VANTIX_WINDOW_COMMANDS_H
#define VANTIX_WINDOW_COMMANDS_H

#include <windows.h>

// Carries out one window command of the Windows page (6003 to 6011) or of the Window
// Information dialog (13013 to 13017, 13020 to 13022) on a window; any other id does nothing.
// Returns the window that Pick picked, NULL for any other command or when nothing was picked.
HWND WindowCommand(HWND hWnd, int commandId);

// Brings a top-level window (its last active pop-up) to the foreground, restoring it when it is
// minimized; "Window no longer exists" when it has gone. With "Close on switch" set, the main
// dialog closes afterwards either way.
void SwitchToWindow(HWND hWnd);

// The Window Information dialog stands above these commands, since its buttons use them; Pick
// and Window open it through this pointer, which window_info.cpp sets to OpenWindowInfo.
typedef void (*OpenWindowInfoFn)(HWND hWnd);
extern OpenWindowInfoFn g_pfnOpenWindowInfo;

#endif
