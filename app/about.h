// The About box: a modal dialog that the tray menu (owned by the hidden main window) and the
// Options page (owned by that page) both open.
#ifndef VANTIX_ABOUT_H
#define VANTIX_ABOUT_H

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
// Shows the About box modally, owned by owner; returns when it is closed.
void ShowAboutBox(HWND owner);

#endif
