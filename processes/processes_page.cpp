// The Processes tab page. Every list row carries the index of its record in the snapshot tables,
// so the lists never hold copies of the data and sorting only compares table records.
#include "processes/processes_page.h"
#include "app/dlgservices.h"
#include "processes/module_info.h"
#include "processes/priority_names.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "app/help.h"
#include "app/msgbox.h"
#include "app/settings.h"
#include "app/program.h"
#include "resource.h"

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

HWND g_hProcessList;
HWND g_hThreadList;
HWND g_hModuleList;
HIMAGELIST g_hProcessImages;

// Set while FillProcessList runs: it picks the selected process itself, once, at the end.
static bool s_bFillingProcesses;

#define LIST_STYLE (WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS)
#define CELL_CHARS 64

// ---- Pure helpers

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

// ---- Rows and cells

static LPARAM RowParam(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item)) return -1;
    return item.lParam;
}

static int InsertRow(HWND list, int row, const char* text, int image, LPARAM param, bool selected)
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

static void SetCell(HWND list, int row, int column, const char* text)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = (LPSTR)text;
    SendMessageA(list, LVM_SETITEMTEXTA, row, (LPARAM)&item);
}

static void SelectTopRow(HWND list)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_STATE;
    item.iItem = 0;
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMA, 0, (LPARAM)&item);
}

// A visible list repaints after every row unless redrawing is off (about 3 ms a row under Wine).
// Hidden lists are left alone: turning redrawing back on must not make them visible.
static bool BeginBulkFill(HWND list)
{
    if (!(GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE)) return false;
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    return true;
}

static void EndBulkFill(HWND list, bool wasVisible)
{
    if (!wasVisible) return;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

static bool ProcessSelected()
{
    return g_iProcessSel >= 0 && g_iProcessSel < g_processCount;
}

// ---- Sorting

static int CompareText(const char* a, const char* b)
{
    int r = lstrcmpiA(a, b);
    return (r > 0) - (r < 0);
}

// Base priority of the threads' class, for their relative priority names.
static int SelectedClassBase()
{
    if (!ProcessSelected()) return 0;
    const ProcessRecord* rec = &g_processTable[g_iProcessSel];
    return ClassBasePriority(rec->priorityClass, rec->entry.pcPriClassBase, ToolhelpUsesWineCodes());
}

int CALLBACK CompareProcesses(LPARAM a, LPARAM b, LPARAM column)
{
    if (a < 0 || b < 0 || a >= g_processCount || b >= g_processCount) return 0;
    const ProcessRecord* ra = &g_processTable[a];
    const ProcessRecord* rb = &g_processTable[b];
    int cmp = 0;
    switch (column) {
    case 0: {
        // FileNamePart answers in one shared buffer: keep the first name aside.
        char first[BASE_NAME_CHARS];
        lstrcpynA(first, FileNamePart(ra->entry.szExeFile), sizeof(first));
        cmp = CompareText(first, FileNamePart(rb->entry.szExeFile));
        break;
    }
    case 1: cmp = CompareValues(ra->entry.th32ProcessID, rb->entry.th32ProcessID); break;
    case 2: cmp = CompareValues(ra->priorityClass, rb->priorityClass); break;
    case 3: cmp = CompareText(ra->moduleName, rb->moduleName); break;
    }
    return DirectedComparison(cmp, SortStateOf(g_Options.ProcessSortStates, PROCESS_COLUMNS,
                                                g_Options.ProcessSortColumn));
}

// Thread columns: the ordinal sorts by snapshot order; the base priority and the relative
// priority name both sort by the relative priority (within one process the same order as the
// base priorities); "Boost" shows and sorts by tpDeltaPri, the dynamic change of the priority.
int CALLBACK CompareThreads(LPARAM a, LPARAM b, LPARAM column)
{
    if (a < 0 || b < 0 || a >= g_threadCount || b >= g_threadCount) return 0;
    const THREADENTRY32* ta = &g_threadTable[a];
    const THREADENTRY32* tb = &g_threadTable[b];
    int cmp = 0;
    switch (column) {
    case 0: cmp = CompareValues(a, b); break;
    case 1: cmp = CompareValues(ta->th32ThreadID, tb->th32ThreadID); break;
    case 2:
    case 3: {
        // Both threads belong to the selected process, so one class base serves both.
        int base = SelectedClassBase();
        bool wine = ToolhelpUsesWineCodes();
        cmp = CompareValues(ThreadRelativePriority(ta->tpBasePri, base, wine),
                            ThreadRelativePriority(tb->tpBasePri, base, wine));
        break;
    }
    case 4: cmp = CompareValues(ta->tpDeltaPri, tb->tpDeltaPri); break;
    }
    return DirectedComparison(cmp, SortStateOf(g_Options.ThreadSortStates, THREAD_COLUMNS,
                                                g_Options.ThreadSortColumn));
}

int CALLBACK CompareModules(LPARAM a, LPARAM b, LPARAM column)
{
    if (a < 0 || b < 0 || a >= g_moduleCount || b >= g_moduleCount) return 0;
    const MODULEENTRY32* ma = &g_moduleTable[a];
    const MODULEENTRY32* mb = &g_moduleTable[b];
    int cmp = 0;
    switch (column) {
    case 0: cmp = CompareText(ma->szModule, mb->szModule); break;
    case 1: cmp = CompareValues(ma->modBaseSize, mb->modBaseSize); break;
    case 2: cmp = CompareText(ma->szExePath, mb->szExePath); break;
    }
    return DirectedComparison(cmp, SortStateOf(g_Options.ModuleSortStates, MODULE_COLUMNS,
                                                g_Options.ModuleSortColumn));
}

static void SortList(HWND list, uint32_t column, PFNLVCOMPARE compare)
{
    SendMessageA(list, LVM_SORTITEMS, (WPARAM)column, (LPARAM)compare);
}

// ---- Fills

static void EmptyLowerLists()
{
    SendMessageA(g_hThreadList, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(g_hModuleList, LVM_DELETEALLITEMS, 0, 0);
}

static HIMAGELIST NewProcessImages()
{
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         ILC_COLOR32 | ILC_MASK, g_processCount, 0);
    HIMAGELIST old = (HIMAGELIST)SendMessageA(g_hProcessList, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    if (old) ImageList_Destroy(old);
    g_hProcessImages = images;
    return images;
}

// Processes of one program share its icon: the image of an earlier row of the same path is used
// again instead of reading the file a second time. rowImages holds the images given so far.
static int SharedProcessIcon(const int* rowImages, int row)
{
    if (!rowImages) return -2;
    const char* path = g_processTable[row].entry.szExeFile;
    for (int i = 0; i < row; i++)
        if (strcmp(g_processTable[i].entry.szExeFile, path) == 0) return rowImages[i];
    return -2;
}

static int AddProcessIcon(HIMAGELIST images, const char* path)
{
    SHFILEINFOA sfi;
    ZeroMemory(&sfi, sizeof(sfi));
    if (!path[0] || !SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_ICON | SHGFI_SMALLICON) || !sfi.hIcon)
        return -1;
    int index = images ? ImageList_ReplaceIcon(images, -1, sfi.hIcon) : -1;
    DestroyIcon(sfi.hIcon);
    return index;
}

void FillProcessList()
{
    if (!g_hProcessList) return;
    bool redraw = BeginBulkFill(g_hProcessList);
    s_bFillingProcesses = true;
    SendMessageA(g_hProcessList, LVM_DELETEALLITEMS, 0, 0);
    g_iProcessSel = -1;
    HIMAGELIST images = NewProcessImages();
    int* rowImages = g_processCount ? (int*)malloc((size_t)g_processCount * sizeof(int)) : NULL;
    char cell[CELL_CHARS];
    for (int i = 0; i < g_processCount; i++) {
        const ProcessRecord* rec = &g_processTable[i];
        int image = SharedProcessIcon(rowImages, i);
        if (image == -2) image = AddProcessIcon(images, rec->entry.szExeFile);
        if (rowImages) rowImages[i] = image;
        int row = InsertRow(g_hProcessList, i, FileNamePart(rec->entry.szExeFile), image, i, i == 0);
        if (row < 0) continue;
        wsprintfA(cell, "%04X", (unsigned)rec->entry.th32ProcessID);
        SetCell(g_hProcessList, row, 1, cell);
        SetCell(g_hProcessList, row, 2, PriorityClassName(rec->priorityClass));
        SetCell(g_hProcessList, row, 3, rec->moduleName);
    }
    free(rowImages);
    if (g_processCount == 0) {
        // Rows of the lower lists would point into the discarded tables.
        s_bFillingProcesses = false;
        EmptyLowerLists();
        EndBulkFill(g_hProcessList, redraw);
        return;
    }
    if (SortStateOf(g_Options.ProcessSortStates, PROCESS_COLUMNS, g_Options.ProcessSortColumn))
        SortList(g_hProcessList, g_Options.ProcessSortColumn, CompareProcesses);
    SelectTopRow(g_hProcessList);
    s_bFillingProcesses = false;
    LPARAM top = RowParam(g_hProcessList, 0);
    g_iProcessSel = (top >= 0 && top < g_processCount) ? (int)top : 0;
    EndBulkFill(g_hProcessList, redraw);
    FillThreadList();
    FillModuleList();
    SetFocus(g_hProcessList);
}

void FillThreadList()
{
    if (!g_hThreadList || !ProcessSelected()) return;
    bool redraw = BeginBulkFill(g_hThreadList);
    SendMessageA(g_hThreadList, LVM_DELETEALLITEMS, 0, 0);
    const DWORD pid = g_processTable[g_iProcessSel].entry.th32ProcessID;
    const int classBase = SelectedClassBase();
    const bool wine = ToolhelpUsesWineCodes();
    char cell[CELL_CHARS];
    int rows = 0;
    for (int t = 0; t < g_threadCount; t++) {
        const THREADENTRY32* te = &g_threadTable[t];
        if (te->th32OwnerProcessID != pid) continue;
        wsprintfA(cell, "%d", rows + 1);
        int row = InsertRow(g_hThreadList, rows, cell, I_IMAGENONE, t, rows == 0);
        rows++;
        if (row < 0) continue;
        wsprintfA(cell, "%04X", (unsigned)te->th32ThreadID);
        SetCell(g_hThreadList, row, 1, cell);
        wsprintfA(cell, "%d", ThreadBasePriority(te->tpBasePri, classBase, wine));
        SetCell(g_hThreadList, row, 2, cell);
        SetCell(g_hThreadList, row, 3, ThreadPriorityName(ThreadRelativePriority(te->tpBasePri, classBase, wine)));
        wsprintfA(cell, "%d", (int)te->tpDeltaPri);
        SetCell(g_hThreadList, row, 4, cell);
    }
    if (rows > 0) {
        if (SortStateOf(g_Options.ThreadSortStates, THREAD_COLUMNS, g_Options.ThreadSortColumn))
            SortList(g_hThreadList, g_Options.ThreadSortColumn, CompareThreads);
        SelectTopRow(g_hThreadList);
    }
    EndBulkFill(g_hThreadList, redraw);
}

void FillModuleList()
{
    if (!g_hModuleList || !ProcessSelected()) return;
    bool redraw = BeginBulkFill(g_hModuleList);
    SendMessageA(g_hModuleList, LVM_DELETEALLITEMS, 0, 0);
    ReadRecordModules(g_iProcessSel);
    const int first = g_processTable[g_iProcessSel].firstModule;
    const int end = ModuleRangeEnd(g_iProcessSel);
    g_iModuleSel = first - 1;
    char cell[CELL_CHARS];
    for (int m = first; m < end && m < g_moduleCount; m++) {
        const MODULEENTRY32* me = &g_moduleTable[m];
        int row = InsertRow(g_hModuleList, m - first, me->szModule, I_IMAGENONE, m, m == first);
        if (row < 0) continue;
        wsprintfA(cell, "%d", (int)me->modBaseSize);
        SetCell(g_hModuleList, row, 1, cell);
        SetCell(g_hModuleList, row, 2, me->szExePath);
    }
    if (end > first) {
        g_iModuleSel = first;
        if (SortStateOf(g_Options.ModuleSortStates, MODULE_COLUMNS, g_Options.ModuleSortColumn))
            SortList(g_hModuleList, g_Options.ModuleSortColumn, CompareModules);
        SelectTopRow(g_hModuleList);
    }
    EndBulkFill(g_hModuleList, redraw);
}

void RefreshProcesses()
{
    BeginWaitCursor();
    if (TakeProcessSnapshot()) {
        FillProcessList();
    } else {
        // The tables are gone: no row may keep pointing into them.
        SendMessageA(g_hProcessList, LVM_DELETEALLITEMS, 0, 0);
        EmptyLowerLists();
    }
    EndWaitCursor();
}

// ---- Lists and layout

static HWND CreateList(HWND hPage, int id, DWORD style, const RECT& rc, HWND after)
{
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, hPage,
                                (HMENU)(INT_PTR)id, g_hInst, NULL);
    if (!list) return NULL;
    SendMessageA(list, WM_SETFONT, SendMessageA(hPage, WM_GETFONT, 0, 0), FALSE);
    // Takes the tab-order place of the window it follows.
    if (after) SetWindowPos(list, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return list;
}

// The placeholder's rectangle in page coordinates; the placeholder itself goes later.
static RECT PlaceholderRect(HWND placeholder)
{
    RECT rc = {0, 0, 0, 0};
    if (placeholder) {
        GetClientRect(placeholder, &rc);
        MapWindowPoints(placeholder, GetParent(placeholder), (POINT*)&rc, 2);
    }
    return rc;
}

static void AddColumns(HWND list, int count, UINT firstTitle, const int32_t* widths, int listWidth,
                       int rightAligned)
{
    int autoWidth = AutoColumnWidth(listWidth, count, GetSystemMetrics(SM_CXBORDER),
                                    GetSystemMetrics(SM_CXVSCROLL));
    for (int i = 0; i < count; i++) {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.fmt = i == rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
        col.cx = widths[i] >= 0 ? widths[i] : autoWidth;
        col.pszText = (LPSTR)LoadResString(firstTitle + i);
        col.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, (LPARAM)&col);
    }
}

void CreateProcessLists(HWND hPage)
{
    HWND placeholder = GetDlgItem(hPage, IDC_PROC_LIST);
    RECT rc = PlaceholderRect(placeholder);
    g_hProcessList = CreateList(hPage, IDC_PROC_LIST, LIST_STYLE | WS_VISIBLE, rc, placeholder);
    if (placeholder) DestroyWindow(placeholder);
    AddColumns(g_hProcessList, PROCESS_COLUMNS, IDS_PROCESS_COLUMN0, g_Options.ProcessColumnWidths,
               rc.right - rc.left, -1);

    placeholder = GetDlgItem(hPage, IDC_PROC_THREADS);
    rc = PlaceholderRect(placeholder);
    g_hThreadList = CreateList(hPage, IDC_PROC_THREADS, LIST_STYLE, rc, placeholder);
    // The module list shares the thread list's rectangle and follows it in the tab order.
    g_hModuleList = CreateList(hPage, IDC_PROC_MODULES, LIST_STYLE, rc, g_hThreadList);
    if (placeholder) DestroyWindow(placeholder);
    AddColumns(g_hThreadList, THREAD_COLUMNS, IDS_THREAD_COLUMN0, g_Options.ThreadColumnWidths,
               rc.right - rc.left, -1);
    AddColumns(g_hModuleList, MODULE_COLUMNS, IDS_MODULE_COLUMN0, g_Options.ModuleColumnWidths,
               rc.right - rc.left, 1);
    ShowLowerList(g_Options.ShowModules != 0);
}

void ShowLowerList(bool showModules)
{
    g_Options.ShowModules = showModules ? 1 : 0;
    ShowWindow(g_hThreadList, showModules ? SW_HIDE : SW_SHOW);
    ShowWindow(g_hModuleList, showModules ? SW_SHOW : SW_HIDE);
    HWND page = GetParent(g_hProcessList);
    SetDlgItemTextA(page, IDC_PROC_SHOWMODULES, LoadResString(showModules ? IDS_SHOW_THREADS : IDS_SHOW_MODULES));
}

static void SaveWidths(HWND list, int32_t* widths, int count)
{
    if (!list) return;
    for (int i = 0; i < count; i++) widths[i] = (int32_t)SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0);
}

void SavePageColumns()
{
    SaveWidths(g_hProcessList, g_Options.ProcessColumnWidths, PROCESS_COLUMNS);
    SaveWidths(g_hThreadList, g_Options.ThreadColumnWidths, THREAD_COLUMNS);
    SaveWidths(g_hModuleList, g_Options.ModuleColumnWidths, MODULE_COLUMNS);
}

// ---- Commands

static void ViewModule()
{
    ReadRecordModules(g_iProcessSel);
    const ProcessRecord* rec = &g_processTable[g_iProcessSel];
    // The selection must lie inside the selected process's own module range.
    if (g_Options.ShowModules && g_iModuleSel >= rec->firstModule && g_iModuleSel < ModuleRangeEnd(g_iProcessSel) &&
        g_iModuleSel < g_moduleCount) {
        static ProcessRecord temp;   // large; the dialog copies what it shows while it opens
        temp = *rec;
        const MODULEENTRY32* me = &g_moduleTable[g_iModuleSel];
        temp.mainModule = *me;
        lstrcpynA(temp.moduleName, me->szModule, sizeof(temp.moduleName));
        lstrcpynA(temp.entry.szExeFile, me->szExePath, sizeof(temp.entry.szExeFile));
        OpenModuleInfo(&temp);
    } else {
        OpenModuleInfo(rec);
    }
}

static void ProcessesPage_OnCommand(int id)
{
    switch (id) {
    case IDC_MAIN_REFRESH:
        RefreshProcesses();
        return;
    case IDC_PROC_SHOWMODULES:
        ShowLowerList(g_Options.ShowModules == 0);
        return;
    case IDCANCEL:
        ForwardPageCancel(id);
        return;
    }
    if (!ProcessSelected()) return;
    switch (id) {
    case IDC_PROC_VIEWPROCESS:
        OpenProcessDialog(&g_processTable[g_iProcessSel].entry);
        break;
    case IDC_PROC_VIEWMODULE:
        ViewModule();
        break;
    case IDC_PROC_KILL:
        KillProcess(g_processTable[g_iProcessSel].entry.th32ProcessID);
        break;
    }
}

// ---- Notifications

struct ListSort {
    HWND* list;
    uint32_t* column;
    int8_t* states;
    int count;
    PFNLVCOMPARE compare;
    void (*refill)();
};

static const ListSort kListSorts[] = {
    {&g_hProcessList, &g_Options.ProcessSortColumn, g_Options.ProcessSortStates, PROCESS_COLUMNS,
     CompareProcesses, FillProcessList},
    {&g_hThreadList, &g_Options.ThreadSortColumn, g_Options.ThreadSortStates, THREAD_COLUMNS,
     CompareThreads, FillThreadList},
    {&g_hModuleList, &g_Options.ModuleSortColumn, g_Options.ModuleSortStates, MODULE_COLUMNS,
     CompareModules, FillModuleList},
};

static void ProcessesPage_OnColumnClick(HWND list, int column)
{
    for (const ListSort& s : kListSorts) {
        if (*s.list != list) continue;
        if (column < 0 || column >= s.count) return;
        *s.column = (uint32_t)column;
        s.states[column] = NextSortState(s.states[column]);
        if (s.states[column] != SORT_NONE) SortList(list, (uint32_t)column, s.compare);
        else s.refill();
        return;
    }
}

static void ProcessesPage_OnItemChanged(const NMLISTVIEW* nm)
{
    if (!(nm->uChanged & LVIF_STATE) || !(nm->uNewState & LVIS_SELECTED) || nm->iItem < 0) return;
    if (nm->hdr.hwndFrom == g_hProcessList) {
        if (s_bFillingProcesses) return;
        LPARAM i = RowParam(g_hProcessList, nm->iItem);
        if (i < 0 || i >= g_processCount || i == g_iProcessSel) return;
        g_iProcessSel = (int)i;
        FillThreadList();
        FillModuleList();
    } else if (nm->hdr.hwndFrom == g_hModuleList && g_Options.ShowModules) {
        // Only module rows name modules; the thread list's parameters index another table.
        LPARAM m = RowParam(g_hModuleList, nm->iItem);
        if (m >= 0 && m < g_moduleCount) g_iModuleSel = (int)m;
    }
}

static void ProcessesPage_OnNotify(HWND hDlg, const NMHDR* nm)
{
    if (!nm->hwndFrom) return;
    switch (nm->code) {
    case LVN_COLUMNCLICK:
        ProcessesPage_OnColumnClick(nm->hwndFrom, ((const NMLISTVIEW*)nm)->iSubItem);
        break;
    case LVN_ITEMCHANGED:
        ProcessesPage_OnItemChanged((const NMLISTVIEW*)nm);
        break;
    case NM_DBLCLK:
        // Posted, so the dialog opens after the list has finished with the click.
        if (nm->hwndFrom == g_hProcessList) PostMessageA(hDlg, WM_COMMAND, IDC_PROC_VIEWPROCESS, 0);
        else if (nm->hwndFrom == g_hModuleList) PostMessageA(hDlg, WM_COMMAND, IDC_PROC_VIEWMODULE, 0);
        break;
    }
}

static void ProcessesPage_OnInitDialog(HWND hDlg)
{
    BeginWaitCursor();
    CreateProcessLists(hDlg);
    if (TakeProcessSnapshot()) FillProcessList();
    EndWaitCursor();
}

static void ProcessesPage_OnDestroy()
{
    SavePageColumns();
    DiscardProcessSnapshot();
    // The lists go with the page, and the process list takes its image list with it.
    g_hProcessList = g_hThreadList = g_hModuleList = NULL;
    g_hProcessImages = NULL;
}

INT_PTR CALLBACK ProcessesPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        ProcessesPage_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        ProcessesPage_OnCommand(LOWORD(wParam));
        break;
    case WM_NOTIFY:
        ProcessesPage_OnNotify(hDlg, (const NMHDR*)lParam);
        break;
    case WM_DESTROY:
        ProcessesPage_OnDestroy();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
