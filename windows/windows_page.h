// The Windows tab page.
#ifndef VANTIX_WINDOWS_PAGE_H
#define VANTIX_WINDOWS_PAGE_H

#include <windows.h>

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
