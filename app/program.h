// The program-wide handles every layer may read: the instance its resources come from, the
// hidden main window, the main dialog with its shown page, and the flag that holds while the
// main dialog closes. The lowest layer of app/: plain values, no code.
#ifndef VANTIX_PROGRAM_H
#define VANTIX_PROGRAM_H

#include <windows.h>

// Set first thing at start-up; every resource (dialogs, menus, strings, icons) comes from it.
extern HINSTANCE g_hInst;
// The hidden main window (startup.cpp); null before it exists and from its WM_DESTROY on.
extern HWND g_hMainWnd;
// The main dialog (maindlg.cpp), null while it is closed, and the page it shows, null while none.
extern HWND g_hMainDlg;
extern HWND g_hPage;
// True only while the main dialog closes and takes the information boxes with it.
extern BOOL g_bClosingAll;

#endif
