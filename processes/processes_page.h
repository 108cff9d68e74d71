// The Processes tab page.
#ifndef VANTIX_PROCESSES_PAGE_H
#define VANTIX_PROCESSES_PAGE_H

#include <windows.h>

INT_PTR CALLBACK ProcessesPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
