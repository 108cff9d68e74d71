// The Window Information dialog: one modeless dialog per opened window.
#ifndef VANTIX_WINDOW_INFO_H
#define VANTIX_WINDOW_INFO_H

#include <windows.h>

// Opens a Window Information dialog for the window; nothing when it is no window.
void OpenWindowInfo(HWND hWnd);

#endif
