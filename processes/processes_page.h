// The Processes tab page: the process list on top, the threads or the modules of the selected
// process below.
#ifndef VANTIX_PROCESSES_PAGE_H
#define VANTIX_PROCESSES_PAGE_H

#include <windows.h>
#include <commctrl.h>

extern HWND g_hProcessList;
extern HWND g_hThreadList;
extern HWND g_hModuleList;
extern HIMAGELIST g_hProcessImages;

INT_PTR CALLBACK ProcessesPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Sort callbacks: item parameters are table indices, the sort parameter is the column.
int CALLBACK CompareProcesses(LPARAM a, LPARAM b, LPARAM column);
int CALLBACK CompareThreads(LPARAM a, LPARAM b, LPARAM column);
int CALLBACK CompareModules(LPARAM a, LPARAM b, LPARAM column);

#endif
