// The Task Manager tab page.
#ifndef VANTIX_TASKMAN_PAGE_H
#define VANTIX_TASKMAN_PAGE_H

#include <windows.h>

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
