// The Task Manager tab page: the application windows of the desktop, the windows a user switches
// between. The list is a snapshot taken when the page opens, on Refresh and on "Hidden"; every
// item carries the index of its window in that snapshot.
#include "windows/taskman_page.h"
#include "windows/window_commands.h"
#include "windows/window_info.h"
#include "windows/window_query.h"
#include "processes/snapshot.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/help.h"
#include "app/listview.h"
#include "app/textcopy.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/waitcursor.h"
#include "resource.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define TASK_TITLE_CHARS 1024

#define TASK_LIST_STYLE (REPORT_LIST_STYLE | WS_VISIBLE)
static_assert(TASK_LIST_STYLE == 0x5081000D, "the task list's style");

HWND g_hTaskList;
int g_iTaskSel = -1;
ArrangeWindowsFn g_pfnCascadeWindows = CascadeWindows;
ArrangeWindowsFn g_pfnTileWindows = TileWindows;

// The collected windows, their count and the fill position of the collecting pass.
static HWND* s_pTasks;
static int s_nTasks;
static int s_nTaskFill;

int TaskCount()
{
    return s_nTasks;
}

HWND TaskWindow(int index)
{
    return (s_pTasks && index >= 0 && index < s_nTasks) ? s_pTasks[index] : NULL;
}

// ---- Titles

// Program paths per process during one fill: each lookup takes a process snapshot, and the
// windows of a desktop belong to few processes. Outside a fill every lookup is fresh.
#define TASK_PATHS_MAX 64
struct TaskPathEntry {
    DWORD pid;
    char path[MAX_PATH];
};
static TaskPathEntry s_taskPaths[TASK_PATHS_MAX];
static int s_nTaskPaths;
static bool s_bKeepingPaths;

static void ProgramPathOf(DWORD pid, char* path, int size)
{
    for (int i = 0; s_bKeepingPaths && i < s_nTaskPaths; i++) {
        if (s_taskPaths[i].pid != pid) continue;
        lstrcpynA(path, s_taskPaths[i].path, size);
        return;
    }
    // The entry holds the program's full path when its modules could be read.
    lstrcpynA(path, ProcessEntryFor(pid)->szExeFile, size);
    if (!s_bKeepingPaths || s_nTaskPaths >= TASK_PATHS_MAX) return;
    s_taskPaths[s_nTaskPaths].pid = pid;
    lstrcpynA(s_taskPaths[s_nTaskPaths].path, path, MAX_PATH);
    s_nTaskPaths++;
}

// The window's text as the list shows it: its title, or "(program)" when it has none. path, when
// given (MAX_PATH characters), receives the program's path as well.
static void TaskTitle(HWND hWnd, char* buffer, int size, char* path)
{
    buffer[0] = '\0';
    GetWindowTextA(hWnd, buffer, size);
    if (buffer[0] && !path) return;
    char own[MAX_PATH];
    if (!path) path = own;
    ProgramPathOf(OwnerProcessId(hWnd), path, MAX_PATH);
    if (!buffer[0]) snprintf(buffer, (size_t)size, "(%s)", FileNamePart(path));
}

// ---- Collecting

// A window kept off the screen by a composited desktop is visible by its style but cannot be
// switched to: like an invisible one, it is listed only with Hidden.
static bool TaskWindowAccepted(HWND hWnd)
{
    if (hWnd == g_hMainWnd || hWnd == g_hMainDlg || IsChildOrOwned(hWnd)) return false;
    return g_Options.TaskShowHidden || (IsWindowVisible(hWnd) && !IsWindowCloaked(hWnd));
}

static BOOL CALLBACK CountTaskProc(HWND hWnd, LPARAM)
{
    if (TaskWindowAccepted(hWnd)) s_nTasks++;
    return TRUE;
}

static BOOL CALLBACK CollectTaskProc(HWND hWnd, LPARAM)
{
    if (s_nTaskFill >= s_nTasks) return FALSE;
    if (TaskWindowAccepted(hWnd)) s_pTasks[s_nTaskFill++] = hWnd;
    return TRUE;
}

static void FreeTasks()
{
    free(s_pTasks);
    s_pTasks = NULL;
    s_nTasks = 0;
    s_nTaskFill = 0;
    g_iTaskSel = -1;
}

static void FillTaskList();

// Collects the application windows anew (two passes with the same filter) and fills the list.
static void BuildTaskList()
{
    FreeTasks();
    EnumWindows(CountTaskProc, 0);
    s_pTasks = s_nTasks > 0 ? (HWND*)calloc((size_t)s_nTasks, sizeof(HWND)) : NULL;
    if (!s_pTasks) s_nTasks = 0;
    if (s_nTasks > 0) EnumWindows(CollectTaskProc, 0);
    // Windows that went between the two passes leave no empty rows.
    s_nTasks = s_nTaskFill;
    FillTaskList();
}

// ---- The list

// Sort callback: item data are indices of the collected windows, the sort parameter the column.
static int CALLBACK CompareTasks(LPARAM a, LPARAM b, LPARAM column)
{
    // The titles are read anew at every comparison, so the order is that of the titles now.
    char ta[TASK_TITLE_CHARS], tb[TASK_TITLE_CHARS];
    TaskTitle(TaskWindow((int)a), ta, sizeof(ta), NULL);
    TaskTitle(TaskWindow((int)b), tb, sizeof(tb), NULL);
    int cmp = lstrcmpiA(ta, tb);
    cmp = (cmp > 0) - (cmp < 0);
    return DirectedComparison(cmp, SortStateOf(g_Options.TaskSortStates, TASK_COLUMNS, (uint32_t)column));
}

static void SortTasks()
{
    SortList(g_hTaskList, g_Options.TaskSortColumn, CompareTasks);
}

// Refills the list from the windows collected last, in their order, sorted when a sort is set.
static void FillTaskList()
{
    if (!g_hTaskList) return;
    bool redraw = BeginBulkFill(g_hTaskList);
    s_bKeepingPaths = true;
    s_nTaskPaths = 0;
    SendMessageA(g_hTaskList, LVM_DELETEALLITEMS, 0, 0);
    g_iTaskSel = -1;
    // A new image list for this fill; the list destroys the one of the previous fill.
    HIMAGELIST images = ReplaceSmallImages(g_hTaskList, s_nTasks);
    char title[TASK_TITLE_CHARS], path[MAX_PATH];
    for (int i = 0; i < s_nTasks; i++) {
        TaskTitle(s_pTasks[i], title, sizeof(title), path);
        InsertListRow(g_hTaskList, i, title, AddFileIcon(images, path), i, i == 0);
    }
    if (s_nTasks > 0) {
        g_iTaskSel = 0;
        if (SortStateOf(g_Options.TaskSortStates, TASK_COLUMNS, g_Options.TaskSortColumn) != SORT_NONE) SortTasks();
        SelectTopRow(g_hTaskList);
        LPARAM top = ListRowParam(g_hTaskList, 0);
        if (top >= 0 && top < s_nTasks) g_iTaskSel = (int)top;
    }
    s_bKeepingPaths = false;
    EndBulkFill(g_hTaskList, redraw);
    SetFocus(g_hTaskList);
}

// The row of the window again after a refresh, when it is still listed: its selection makes it
// the selected window.
static void SelectTaskWindow(HWND hWnd)
{
    if (!hWnd || !g_hTaskList) return;
    int rows = (int)SendMessageA(g_hTaskList, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; row++) {
        if (TaskWindow((int)ListRowParam(g_hTaskList, row)) != hWnd) continue;
        SelectListRow(g_hTaskList, row);
        return;
    }
}

static HWND SelectedTask();

static void RefreshTasks()
{
    BeginWaitCursor();
    HWND selected = SelectedTask();
    BuildTaskList();
    SelectTaskWindow(selected);
    EndWaitCursor();
}

// ---- Commands

// Minimizes every visible, unowned top-level window but the program's own main windows.
static BOOL CALLBACK MinimizeAllProc(HWND hWnd, LPARAM)
{
    if (hWnd != g_hMainWnd && hWnd != g_hMainDlg && hWnd != GetDesktopWindow() && !IsChildOrOwned(hWnd) &&
        IsWindowVisible(hWnd))
        ShowWindowNoWait(hWnd, SW_MINIMIZE);
    return TRUE;
}

static HWND SelectedTask()
{
    return g_iTaskSel >= 0 ? TaskWindow(g_iTaskSel) : NULL;
}

static void TaskmanPage_OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDC_MAIN_REFRESH:
        RefreshTasks();
        break;
    case IDC_TASK_HIDDEN:
        g_Options.TaskShowHidden = IsDlgButtonChecked(hDlg, IDC_TASK_HIDDEN) == BST_CHECKED;
        RefreshTasks();
        break;
    case IDC_TASK_CLOSEONSWITCH:
        g_Options.TaskCloseOnSwitch = IsDlgButtonChecked(hDlg, IDC_TASK_CLOSEONSWITCH) == BST_CHECKED;
        break;
    case IDC_TASK_SWITCH:
        if (g_iTaskSel >= 0) SwitchToWindow(SelectedTask());
        break;
    case IDC_TASK_CASCADE:
        g_pfnCascadeWindows(NULL, 0, NULL, 0, NULL);
        break;
    case IDC_TASK_TILEH:
        g_pfnTileWindows(NULL, MDITILE_HORIZONTAL, NULL, 0, NULL);
        break;
    case IDC_TASK_TILEV:
        g_pfnTileWindows(NULL, MDITILE_VERTICAL, NULL, 0, NULL);
        break;
    case IDC_TASK_MINALL:
        EnumWindows(MinimizeAllProc, 0);
        break;
    case IDC_TASK_WINDOW:
        if (g_iTaskSel >= 0) OpenWindowInfo(SelectedTask());
        break;
    case IDCANCEL:
        ForwardPageCancel(id);
        break;
    }
}

// ---- Notifications

static void TaskmanPage_OnColumnClick(int column)
{
    int state = ClickSortColumn(&g_Options.TaskSortColumn, g_Options.TaskSortStates, TASK_COLUMNS, column);
    // Unsorted again means the order of the snapshot, without collecting anew.
    if (state == SORT_NONE) FillTaskList();
    else if (state > SORT_NONE) SortTasks();
}

static void TaskmanPage_OnItemChanged(const NMLISTVIEW* nm)
{
    // Losing the selection keeps the window selected last.
    if (!IsNewSelection(nm)) return;
    if (nm->lParam >= 0 && nm->lParam < s_nTasks) g_iTaskSel = (int)nm->lParam;
}

static void TaskmanPage_OnNotify(const NMHDR* nm)
{
    if (!g_hTaskList || nm->hwndFrom != g_hTaskList) return;
    switch (nm->code) {
    case LVN_COLUMNCLICK:
        TaskmanPage_OnColumnClick(((const NMLISTVIEW*)nm)->iSubItem);
        break;
    case LVN_ITEMCHANGED:
        TaskmanPage_OnItemChanged((const NMLISTVIEW*)nm);
        break;
    case NM_DBLCLK:
        if (g_iTaskSel >= 0) SwitchToWindow(SelectedTask());
        break;
    }
}

// ---- Creation and destruction

static void CreateTaskList(HWND hDlg)
{
    g_hTaskList = ReplacePlaceholder(hDlg, IDC_TASK_LIST, WS_EX_CLIENTEDGE, WC_LISTVIEWA, TASK_LIST_STYLE,
                                     IDC_TASK_LIST, NULL);
    if (g_hTaskList) AddListColumns(g_hTaskList, TASK_COLUMNS, IDS_TASK_COLUMN, g_Options.TaskColumnWidths, -1);
}

// ---- Copy

static bool TaskmanPage_OnProgramKey(int command)
{
    if (command != IDC_CTX_COPY || !g_hTaskList || GetFocus() != g_hTaskList) return false;
    CopyListSelection(g_hTaskList);
    return true;
}

static void TaskmanPage_OnContextMenu(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND clicked = (HWND)wParam;
    if (!g_hTaskList || clicked != g_hTaskList) {
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        return;
    }
    if (TrackContextMenu(hDlg, clicked, lParam, CONTEXT_MENU_COPY) == IDC_CTX_COPY) CopyListSelection(clicked);
}

static void TaskmanPage_OnInitDialog(HWND hDlg)
{
    BeginWaitCursor();
    CheckDlgButton(hDlg, IDC_TASK_HIDDEN, g_Options.TaskShowHidden ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_TASK_CLOSEONSWITCH, g_Options.TaskCloseOnSwitch ? BST_CHECKED : BST_UNCHECKED);
    CreateTaskList(hDlg);
    BuildTaskList();
    EndWaitCursor();
}

static void TaskmanPage_OnDestroy()
{
    SaveColumnWidths(g_hTaskList, g_Options.TaskColumnWidths, TASK_COLUMNS);
    FreeTasks();
    // The list goes with the page and takes its image list with it.
    g_hTaskList = NULL;
}

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        TaskmanPage_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        TaskmanPage_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_NOTIFY:
        TaskmanPage_OnNotify((const NMHDR*)lParam);
        break;
    case WM_DESTROY:
        TaskmanPage_OnDestroy();
        break;
    case WM_HELP:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        TaskmanPage_OnContextMenu(hDlg, msg, wParam, lParam);
        break;
    case WM_PROGRAM_KEY:
        return DlgResult(hDlg, TaskmanPage_OnProgramKey((int)wParam));
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
