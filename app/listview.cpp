// Report list views of the pages.
#include "app/listview.h"
#include "app/dpi.h"
#include "app/resstring.h"
#include "app/settings.h"

#include <shellapi.h>

// ---- Sorting (pure)

int SortStateOf(const int8_t* states, int count, uint32_t column)
{
    if (column >= (uint32_t)count) return SORT_NONE;
    int s = states[column];
    return (s == SORT_ASCENDING || s == SORT_DESCENDING) ? s : SORT_NONE;
}

int8_t NextSortState(int8_t state)
{
    if (state < SORT_NONE || state > SORT_DESCENDING) state = SORT_NONE;
    return (int8_t)((state + 1) % 3);
}

int DirectedComparison(int cmp, int state)
{
    return state == SORT_ASCENDING ? cmp : -cmp;
}

int CompareValues(long long a, long long b)
{
    return (a > b) - (a < b);
}

int AutoColumnWidth(int listWidth, int columns, int cxBorder, int cxVScroll)
{
    if (columns <= 0) return 0;
    int w = (listWidth - 4 * cxBorder - cxVScroll) / columns;
    return w > 0 ? w : 0;
}

int ClickSortColumn(uint32_t* sortColumn, int8_t* states, int count, int column)
{
    if (column < 0 || column >= count) return -1;
    *sortColumn = (uint32_t)column;
    states[column] = NextSortState(states[column]);
    return states[column];
}

// ---- Columns

void AddListColumns(HWND list, int count, UINT firstTitle, const int32_t* widths, int rightAligned)
{
    RECT rc = {0, 0, 0, 0};
    if (list) GetWindowRect(list, &rc);
    UINT dpi = DpiOfWindow(list);
    int autoWidth = AutoColumnWidth(rc.right - rc.left, count, MetricForDpi(SM_CXBORDER, dpi),
                                    MetricForDpi(SM_CXVSCROLL, dpi));
    for (int i = 0; i < count; i++) {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = i == rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
        // Stored widths are pixels at the DPI they were stored at.
        col.cx = widths[i] >= 0 ? ScaleBetween(widths[i], (int)g_ExtraOptions.ColumnDpi, (int)dpi) : autoWidth;
        col.pszText = (LPSTR)LoadResString(firstTitle + i);
        col.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&col);
    }
}

void SaveColumnWidths(HWND list, int32_t* widths, int count)
{
    if (!list) return;
    TakeColumnDpi(DpiOfWindow(list));
    for (int i = 0; i < count; i++) widths[i] = (int32_t)SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0);
}

// ---- Rows

int InsertListRow(HWND list, int row, const char* text, int image, LPARAM param, bool selected)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE | (image != I_IMAGENONE ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.pszText = (LPSTR)text;
    item.iImage = image;
    item.lParam = param;
    item.state = selected ? LVIS_SELECTED : 0;
    item.stateMask = LVIS_SELECTED;
    return (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

void SetListCell(HWND list, int row, int column, const char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = (LPSTR)text;
    SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

LPARAM ListRowParam(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item)) return -1;
    return item.lParam;
}

void SelectTopRow(HWND list)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_STATE;
    item.iItem = 0;
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMA, 0, (LPARAM)&item);
}

void SelectListRow(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void SortList(HWND list, uint32_t column, PFNLVCOMPARE compare)
{
    SendMessageA(list, LVM_SORTITEMS, (WPARAM)column, (LPARAM)compare);
}

bool IsNewSelection(const NMLISTVIEW* nm)
{
    return (nm->uChanged & LVIF_STATE) && (nm->uNewState & LVIS_SELECTED) && nm->iItem >= 0;
}

bool BeginBulkFill(HWND list)
{
    if (!(GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE)) return false;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    return true;
}

void EndBulkFill(HWND list, bool wasVisible)
{
    if (!wasVisible) return;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

// ---- Icons

HIMAGELIST ReplaceSmallImages(HWND list, int count)
{
    // Icons as large as small icons are on the list's monitor.
    UINT dpi = DpiOfWindow(list);
    HIMAGELIST images = ImageList_Create(MetricForDpi(SM_CXSMICON, dpi), MetricForDpi(SM_CYSMICON, dpi),
                                         ILC_COLOR32 | ILC_MASK, count, 0);
    HIMAGELIST old = (HIMAGELIST)SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    if (old) ImageList_Destroy(old);
    return images;
}

int AddFileIcon(HIMAGELIST images, const char* path)
{
    SHFILEINFOA sfi;
    ZeroMemory(&sfi, sizeof(sfi));
    if (!path[0] || !SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_ICON | SHGFI_SMALLICON) || !sfi.hIcon)
        return -1;
    // The image list keeps a copy.
    int index = images ? ImageList_ReplaceIcon(images, -1, sfi.hIcon) : -1;
    DestroyIcon(sfi.hIcon);
    return index;
}
