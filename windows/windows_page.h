// The Windows tab page and the window operations other parts share.
#ifndef VANTIX_WINDOWS_PAGE_H
#define VANTIX_WINDOWS_PAGE_H

#include <windows.h>

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Executable base name of the process that owns the window, "(name)" when parenthesised;
// in a shared buffer that the next call overwrites.
const char* OwnerProcessLabel(HWND hWnd, bool parenthesised);
// True when the window has an owner, a parent or the child style: subordinate to another.
bool IsChildOrOwned(HWND hWnd);

#endif
