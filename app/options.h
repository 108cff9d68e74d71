// The Options page: a page of the main dialog, above the settings and the small services.
#ifndef VANTIX_OPTIONS_H
#define VANTIX_OPTIONS_H

#include <windows.h>

INT_PTR CALLBACK OptionsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
