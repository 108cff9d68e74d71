// The Processes tab page: the process list on top, the threads or the modules of the selected
// process below.
#ifndef VANTIX_PROCESSES_PAGE_H
#define VANTIX_PROCESSES_PAGE_H

#include <windows.h>
#include <commctrl.h>
#include <stdint.h>

extern HWND g_hProcessList;
extern HWND g_hThreadList;
extern HWND g_hModuleList;
extern HIMAGELIST g_hProcessImages;

INT_PTR CALLBACK ProcessesPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

void CreateProcessLists(HWND hPage);
void ShowLowerList(bool showModules);
void FillProcessList();
void FillThreadList();
void FillModuleList();
void RefreshProcesses();
void SavePageColumns();

// Sort callbacks: item parameters are table indices, the sort parameter is the column.
int CALLBACK CompareProcesses(LPARAM a, LPARAM b, LPARAM column);
int CALLBACK CompareThreads(LPARAM a, LPARAM b, LPARAM column);
int CALLBACK CompareModules(LPARAM a, LPARAM b, LPARAM column);

// Pure: the sort state of a column; a column outside the list (such as the "not sorted" value
// equal to the column count) or a stored value out of range counts as unsorted.
int SortStateOf(const int8_t* states, int count, uint32_t column);
// Pure: unsorted, ascending, descending, unsorted again.
int8_t NextSortState(int8_t state);
// Pure: a key comparison turned for the sort state (ascending keeps it, descending negates it).
int DirectedComparison(int cmp, int state);
// Pure: -1, 0 or 1; never the overflowing difference of two values.
int CompareValues(long long a, long long b);
// Pure: a column width that shares a list's width equally, leaving room for borders and a scroll bar.
int AutoColumnWidth(int listWidth, int columns, int cxBorder, int cxVScroll);

#endif
