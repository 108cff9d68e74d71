// The Capture Screen tab page: which area to capture, the fixed rectangle's size, whether the
// frame shows its dimensions and the selection a magnifier, where the capture goes, and the
// button that starts it.
#ifndef VANTIX_CAPTURE_PAGE_H
#define VANTIX_CAPTURE_PAGE_H

#include <windows.h>

INT_PTR CALLBACK CapturePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Copies the page's width, height, destination and Show dimensions into the settings record,
// and Show magnifier into the value beside it.
void StoreCapturePage(HWND page);

#endif
