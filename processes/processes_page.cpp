// The Processes tab page. Every list row carries the index of its record in the snapshot tables,
// so the lists never hold copies of the data and sorting only compares table records.
#include "processes/processes_page.h"
#include "processes/module_info.h"
#include "processes/priority_names.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/help.h"
#include "app/listview.h"
#include "app/textcopy.h"
#include "app/resstring.h"
#include "app/settings.h"
#include "app/waitcursor.h"
#include "resource.h"

#include <stdlib.h>
#include <string.h>

HWND g_hProcessList;
HWND g_hThreadList;
HWND g_hModuleList;
HIMAGELIST g_hProcessImages;

// Set while FillProcessList runs: it picks the selected process itself, once, at the end.
static bool s_bFillingProcesses;

#define CELL_CHARS 64

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

// ---- Fills

static void EmptyLowerLists()
{
    SendMessageA(g_hThreadList, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(g_hModuleList, LVM_DELETEALLITEMS, 0, 0);
}

static void FillThreadList();
static void FillModuleList();

// What the user had selected, by what outlives a snapshot: the process and thread identifiers
// and the module's path.
struct PageSelection {
    bool process;
    DWORD pid;
    bool thread;
    DWORD tid;
    char modulePath[MODULE_PATH_CHARS];
};

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

// The first row whose table index passes the test; -1 when none does.
template <class Test> static int RowWhere(HWND list, Test test)
{
    int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++)
        if (test(ListRowParam(list, row))) return row;
    return -1;
}

// The row of the process with the given identifier; -1 when it has none.
static int ProcessRowOf(DWORD pid)
{
    return RowWhere(g_hProcessList, [&](LPARAM i) {
        return i >= 0 && i < g_processCount && g_processTable[i].entry.th32ProcessID == pid;
    });
}

// Fills the process list and selects the top row, or, for a refresh, the process that was
// selected before where it is still there: the lower lists are then filled once, for it, and
// the top process's modules are not read for nothing.
static void FillProcessListKeeping(const PageSelection* keep)
{
    if (!g_hProcessList) return;
    bool redraw = BeginBulkFill(g_hProcessList);
    s_bFillingProcesses = true;
    SendMessageA(g_hProcessList, LVM_DELETEALLITEMS, 0, 0);
    g_iProcessSel = -1;
    HIMAGELIST images = g_hProcessImages = ReplaceSmallImages(g_hProcessList, g_processCount);
    int* rowImages = g_processCount ? (int*)malloc((size_t)g_processCount * sizeof(int)) : NULL;
    char cell[CELL_CHARS];
    for (int i = 0; i < g_processCount; i++) {
        const ProcessRecord* rec = &g_processTable[i];
        int image = SharedProcessIcon(rowImages, i);
        if (image == -2) image = AddFileIcon(images, rec->entry.szExeFile);
        if (rowImages) rowImages[i] = image;
        int row = InsertListRow(g_hProcessList, i, FileNamePart(rec->entry.szExeFile), image, i, i == 0);
        if (row < 0) continue;
        wsprintfA(cell, "%04X", (unsigned)rec->entry.th32ProcessID);
        SetListCell(g_hProcessList, row, 1, cell);
        SetListCell(g_hProcessList, row, 2, PriorityClassName(rec->priorityClass));
        SetListCell(g_hProcessList, row, 3, rec->moduleName);
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
    int row = keep && keep->process ? ProcessRowOf(keep->pid) : -1;
    if (row >= 0) {
        SelectListRow(g_hProcessList, row);
    } else {
        row = 0;
        SelectTopRow(g_hProcessList);
    }
    s_bFillingProcesses = false;
    LPARAM chosen = ListRowParam(g_hProcessList, row);
    g_iProcessSel = (chosen >= 0 && chosen < g_processCount) ? (int)chosen : 0;
    EndBulkFill(g_hProcessList, redraw);
    FillThreadList();
    FillModuleList();
    SetFocus(g_hProcessList);
}

static void FillProcessList()
{
    FillProcessListKeeping(NULL);
}

static void FillThreadList()
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
        int row = InsertListRow(g_hThreadList, rows, cell, I_IMAGENONE, t, rows == 0);
        rows++;
        if (row < 0) continue;
        wsprintfA(cell, "%04X", (unsigned)te->th32ThreadID);
        SetListCell(g_hThreadList, row, 1, cell);
        wsprintfA(cell, "%d", ThreadBasePriority(te->tpBasePri, classBase, wine));
        SetListCell(g_hThreadList, row, 2, cell);
        SetListCell(g_hThreadList, row, 3, ThreadPriorityName(ThreadRelativePriority(te->tpBasePri, classBase, wine)));
        wsprintfA(cell, "%d", (int)te->tpDeltaPri);
        SetListCell(g_hThreadList, row, 4, cell);
    }
    if (rows > 0) {
        if (SortStateOf(g_Options.ThreadSortStates, THREAD_COLUMNS, g_Options.ThreadSortColumn))
            SortList(g_hThreadList, g_Options.ThreadSortColumn, CompareThreads);
        SelectTopRow(g_hThreadList);
    }
    EndBulkFill(g_hThreadList, redraw);
}

static void FillModuleList()
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
        int row = InsertListRow(g_hModuleList, m - first, me->szModule, I_IMAGENONE, m, m == first);
        if (row < 0) continue;
        wsprintfA(cell, "%d", (int)me->modBaseSize);
        SetListCell(g_hModuleList, row, 1, cell);
        SetListCell(g_hModuleList, row, 2, me->szExePath);
    }
    if (end > first) {
        g_iModuleSel = first;
        if (SortStateOf(g_Options.ModuleSortStates, MODULE_COLUMNS, g_Options.ModuleSortColumn))
            SortList(g_hModuleList, g_Options.ModuleSortColumn, CompareModules);
        SelectTopRow(g_hModuleList);
    }
    EndBulkFill(g_hModuleList, redraw);
}

// ---- Keeping the selection across a refresh

static void RememberSelection(PageSelection* sel)
{
    ZeroMemory(sel, sizeof(*sel));
    if (!ProcessSelected()) return;
    sel->process = true;
    sel->pid = g_processTable[g_iProcessSel].entry.th32ProcessID;
    int row = (int)SendMessageA(g_hThreadList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    LPARAM t = ListRowParam(g_hThreadList, row);
    if (row >= 0 && t >= 0 && t < g_threadCount) {
        sel->thread = true;
        sel->tid = g_threadTable[t].th32ThreadID;
    }
    row = (int)SendMessageA(g_hModuleList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    LPARAM m = ListRowParam(g_hModuleList, row);
    if (row >= 0 && m >= 0 && m < g_moduleCount) lstrcpynA(sel->modulePath, g_moduleTable[m].szExePath, MODULE_PATH_CHARS);
}

// Selects the first row whose table index passes the test, and shows it.
template <class Test> static void SelectRowWhere(HWND list, Test test)
{
    int row = RowWhere(list, test);
    if (row >= 0) SelectListRow(list, row);
}

// The same thread and module again where they are still there, once the fill has selected the
// same process (FillProcessListKeeping).
static void RestoreSelection(const PageSelection* sel)
{
    if (!sel->process) return;
    if (!ProcessSelected() || g_processTable[g_iProcessSel].entry.th32ProcessID != sel->pid) return;
    if (sel->thread) {
        SelectRowWhere(g_hThreadList, [&](LPARAM t) {
            return t >= 0 && t < g_threadCount && g_threadTable[t].th32ThreadID == sel->tid;
        });
    }
    if (sel->modulePath[0]) {
        SelectRowWhere(g_hModuleList, [&](LPARAM m) {
            return m >= 0 && m < g_moduleCount && lstrcmpiA(g_moduleTable[m].szExePath, sel->modulePath) == 0;
        });
    }
}

static void RefreshProcesses()
{
    BeginWaitCursor();
    PageSelection sel;
    RememberSelection(&sel);
    if (TakeProcessSnapshot()) {
        FillProcessListKeeping(&sel);
        RestoreSelection(&sel);
    } else {
        // The tables are gone: no row may keep pointing into them.
        SendMessageA(g_hProcessList, LVM_DELETEALLITEMS, 0, 0);
        EmptyLowerLists();
    }
    EndWaitCursor();
}

// ---- Lists and layout

static void ShowLowerList(bool showModules)
{
    g_Options.ShowModules = showModules ? 1 : 0;
    ShowWindow(g_hThreadList, showModules ? SW_HIDE : SW_SHOW);
    ShowWindow(g_hModuleList, showModules ? SW_SHOW : SW_HIDE);
    HWND page = GetParent(g_hProcessList);
    SetDlgItemTextA(page, IDC_PROC_SHOWMODULES, LoadResString(showModules ? IDS_SHOW_THREADS : IDS_SHOW_MODULES));
}

static void CreateProcessLists(HWND hPage)
{
    g_hProcessList = ReplacePlaceholder(hPage, IDC_PROC_LIST, WS_EX_CLIENTEDGE, WC_LISTVIEWA,
                                        REPORT_LIST_STYLE | WS_VISIBLE, IDC_PROC_LIST, NULL);
    AddListColumns(g_hProcessList, PROCESS_COLUMNS, IDS_PROCESS_COLUMN0, g_Options.ProcessColumnWidths, -1);

    // The module list shares the thread list's rectangle and follows it in the tab order.
    RECT rc = PlaceholderRect(GetDlgItem(hPage, IDC_PROC_THREADS));
    g_hThreadList = ReplacePlaceholder(hPage, IDC_PROC_THREADS, WS_EX_CLIENTEDGE, WC_LISTVIEWA, REPORT_LIST_STYLE,
                                       IDC_PROC_THREADS, NULL);
    g_hModuleList = CreateDialogControl(hPage, WS_EX_CLIENTEDGE, WC_LISTVIEWA, REPORT_LIST_STYLE, rc,
                                        IDC_PROC_MODULES, g_hThreadList, NULL);
    AddListColumns(g_hThreadList, THREAD_COLUMNS, IDS_THREAD_COLUMN0, g_Options.ThreadColumnWidths, -1);
    AddListColumns(g_hModuleList, MODULE_COLUMNS, IDS_MODULE_COLUMN0, g_Options.ModuleColumnWidths, 1);
    ShowLowerList(g_Options.ShowModules != 0);
}

static void SavePageColumns()
{
    SaveColumnWidths(g_hProcessList, g_Options.ProcessColumnWidths, PROCESS_COLUMNS);
    SaveColumnWidths(g_hThreadList, g_Options.ThreadColumnWidths, THREAD_COLUMNS);
    SaveColumnWidths(g_hModuleList, g_Options.ModuleColumnWidths, MODULE_COLUMNS);
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
        int state = ClickSortColumn(s.column, s.states, s.count, column);
        if (state == SORT_NONE) s.refill();
        else if (state > SORT_NONE) SortList(list, (uint32_t)column, s.compare);
        return;
    }
}

static void ProcessesPage_OnItemChanged(const NMLISTVIEW* nm)
{
    if (!IsNewSelection(nm)) return;
    if (nm->hdr.hwndFrom == g_hProcessList) {
        if (s_bFillingProcesses) return;
        LPARAM i = ListRowParam(g_hProcessList, nm->iItem);
        if (i < 0 || i >= g_processCount || i == g_iProcessSel) return;
        g_iProcessSel = (int)i;
        FillThreadList();
        FillModuleList();
    } else if (nm->hdr.hwndFrom == g_hModuleList && g_Options.ShowModules) {
        // Only module rows name modules; the thread list's parameters index another table.
        LPARAM m = ListRowParam(g_hModuleList, nm->iItem);
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

// ---- Copy

static bool IsPageList(HWND hWnd)
{
    return hWnd && (hWnd == g_hProcessList || hWnd == g_hThreadList || hWnd == g_hModuleList);
}

static bool ProcessesPage_OnProgramKey(int command)
{
    HWND focus = GetFocus();
    if (command != IDC_CTX_COPY || !IsPageList(focus)) return false;
    CopyListSelection(focus);
    return true;
}

static void ProcessesPage_OnContextMenu(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND clicked = (HWND)wParam;
    if (!IsPageList(clicked)) {
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        return;
    }
    if (TrackContextMenu(hDlg, clicked, lParam, CONTEXT_MENU_COPY) == IDC_CTX_COPY) CopyListSelection(clicked);
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
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        ProcessesPage_OnContextMenu(hDlg, msg, wParam, lParam);
        break;
    case WM_PROGRAM_KEY:
        return DlgResult(hDlg, ProcessesPage_OnProgramKey((int)wParam));
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
