// The Capture Screen tab page.
#ifndef VANTIX_CAPTURE_PAGE_H
#define VANTIX_CAPTURE_PAGE_H

#include <windows.h>

INT_PTR CALLBACK CapturePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
