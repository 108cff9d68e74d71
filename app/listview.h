// Report list views as the pages use them: every row carries an index into a table of the page
// (the list holds no copies of the data), the top row starts selected, columns take their
// stored widths, and a click on a column header moves it through unsorted, ascending and
// descending. A small service for the Processes and Task Manager pages.
#ifndef VANTIX_LISTVIEW_H
#define VANTIX_LISTVIEW_H

#include <windows.h>
#include <commctrl.h>
#include <stdint.h>

// The style of every list of the pages: child, border, tab stop, report, single selection,
// selection always shown. A list shown from the start adds WS_VISIBLE.
#define REPORT_LIST_STYLE (WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS)

// ---- Sorting (pure)

// The sort state of a column; a column outside the list (such as the "not sorted" value equal
// to the column count) or a stored value out of range counts as unsorted.
int SortStateOf(const int8_t* states, int count, uint32_t column);
// Unsorted, ascending, descending, unsorted again.
int8_t NextSortState(int8_t state);
// A key comparison turned for the sort state (ascending keeps it, descending negates it).
int DirectedComparison(int cmp, int state);
// -1, 0 or 1; never the overflowing difference of two values.
int CompareValues(long long a, long long b);
// A column width that shares a list's width equally, leaving room for borders and a scroll bar.
int AutoColumnWidth(int listWidth, int columns, int cxBorder, int cxVScroll);
// A click on column of a list of count columns: it becomes the sort column and its state moves
// on. Returns the new state, or -1 for a column outside the list (nothing changes).
int ClickSortColumn(uint32_t* sortColumn, int8_t* states, int count, int column);

// ---- Columns

// count columns titled by the strings firstTitle.., each as wide as stored in the settings record
// (pixels at g_ExtraOptions.ColumnDpi, measured again at the list's DPI; a negative width: an
// equal share of the list's width); the column rightAligned (-1: none) aligned right.
void AddListColumns(HWND list, int count, UINT firstTitle, const int32_t* widths, int rightAligned);
// The widths of the list's count columns into widths, one of the settings record's; the record's
// other widths are measured at the list's DPI first (TakeColumnDpi).
void SaveColumnWidths(HWND list, int32_t* widths, int count);

// ---- Rows

// Inserts a row with its text, its image (I_IMAGENONE: none) and its table index; returns the
// row, or -1.
int InsertListRow(HWND list, int row, const char* text, int image, LPARAM param, bool selected);
void SetListCell(HWND list, int row, int column, const char* text);
// The table index a row carries, or -1 for no such row.
LPARAM ListRowParam(HWND list, int row);
void SelectTopRow(HWND list);
// Selects and focuses the row and scrolls it into view.
void SelectListRow(HWND list, int row);
void SortList(HWND list, uint32_t column, PFNLVCOMPARE compare);
// True when the notification reports a row that has just become selected.
bool IsNewSelection(const NMLISTVIEW* nm);

// A visible list repaints after every row unless redrawing is off (about 3 ms a row under Wine).
// Hidden lists are left alone: turning redrawing back on must not make them visible.
bool BeginBulkFill(HWND list);
void EndBulkFill(HWND list, bool wasVisible);

// ---- Icons

// A new image list of small icons with room for count, given to the list, which destroys the
// one it had.
HIMAGELIST ReplaceSmallImages(HWND list, int count);
// The small icon of a file added to the image list: its index, or -1 when the file shows none.
int AddFileIcon(HIMAGELIST images, const char* path);

#endif
