// The Task Manager tab page: the application windows of the desktop.
#ifndef VANTIX_TASKMAN_PAGE_H
#define VANTIX_TASKMAN_PAGE_H

#include <windows.h>
#include <commctrl.h>

#define TASK_TITLE_CHARS 1024

// The page's list view and the index, in the collected windows, of the selected one (-1: none).
extern HWND g_hTaskList;
extern int g_iTaskSel;

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// The window's text as the list shows it: its title, or "(program)" when it has none. With
// wantIcon, also the small icon of the window's program (the caller destroys it), else NULL.
HICON TaskTitle(HWND hWnd, char* buffer, int size, bool wantIcon);

// Collects the application windows anew (two passes with the same filter) and fills the list.
void BuildTaskList();
// Refills the list from the windows collected last, in their order, sorted when a sort is set.
void FillTaskList();
// The collected windows: the window behind a list item's data, or NULL.
int TaskCount();
HWND TaskWindow(int index);

// CascadeWindows and TileWindows are reached through these pointers, so that tests see exactly
// what the page asks for (Wine 8 only stubs both for the desktop).
typedef WORD (WINAPI *ArrangeWindowsFn)(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids);
extern ArrangeWindowsFn g_pfnCascadeWindows;
extern ArrangeWindowsFn g_pfnTileWindows;

// Sort callback: item data are indices of the collected windows, the sort parameter the column.
int CALLBACK CompareTasks(LPARAM a, LPARAM b, LPARAM column);
// Minimizes every visible, unowned top-level window but the program's own main windows.
BOOL CALLBACK MinimizeAllProc(HWND hWnd, LPARAM lParam);

#endif
