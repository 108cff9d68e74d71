// The Options page.
#ifndef VANTIX_OPTIONS_H
#define VANTIX_OPTIONS_H

#include <windows.h>

INT_PTR CALLBACK OptionsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
