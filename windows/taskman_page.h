// The Task Manager tab page: the application windows of the desktop.
#ifndef VANTIX_TASKMAN_PAGE_H
#define VANTIX_TASKMAN_PAGE_H

#include <windows.h>
#include <commctrl.h>

// The page's list view and the index, in the collected windows, of the selected one (-1: none).
extern HWND g_hTaskList;
extern int g_iTaskSel;

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// The collected windows: their number, and the window behind a list item's data, or NULL.
int TaskCount();
HWND TaskWindow(int index);

// CascadeWindows and TileWindows are reached through these pointers, so that tests see exactly
// what the page asks for (Wine 8 only stubs both for the desktop).
typedef WORD (WINAPI *ArrangeWindowsFn)(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids);
extern ArrangeWindowsFn g_pfnCascadeWindows;
extern ArrangeWindowsFn g_pfnTileWindows;

#endif
