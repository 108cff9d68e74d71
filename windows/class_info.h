// The Class Information dialog: the window class of one window as it was when the dialog opened.
#ifndef VANTIX_CLASS_INFO_H
#define VANTIX_CLASS_INFO_H

#include <windows.h>

#define CLASS_NAME_CHARS 256

// The window and the class name of the dialog opened last.
extern HWND g_hClassWindow;
extern char g_szClassName[CLASS_NAME_CHARS];

// Opens a new modeless, ownerless dialog for the class of the window and returns it; when the
// class name cannot be read, shows the system's error text and returns NULL.
HWND OpenClassDialog(HWND hWnd);

#endif
