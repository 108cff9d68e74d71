// The Task Manager tab page: the application windows of the desktop, the windows a user switches
// between. The list is a snapshot taken when the page opens, on Refresh and on "Hidden"; every
// item carries the index of its window in that snapshot.
#include "windows/taskman_page.h"
#include "windows/window_commands.h"
#include "windows/window_info.h"
#include "windows/window_query.h"
#include "processes/processes_page.h"
#include "processes/snapshot.h"
#include "app/dlgservices.h"
#include "app/help.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "app/settings.h"
#include "resource.h"

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define TASK_LIST_STYLE 0x5081000D   // child, visible, border, tab stop, report, single selection, always shown

HWND g_hTaskList;
int g_iTaskSel = -1;
ArrangeWindowsFn g_pfnCascadeWindows = CascadeWindows;
ArrangeWindowsFn g_pfnTileWindows = TileWindows;

// The collected windows, their count and the fill position of the collecting pass.
static HWND* s_pTasks;
static int s_nTasks;
static int s_nTaskFill;
static HIMAGELIST s_hTaskImages;

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

HICON TaskTitle(HWND hWnd, char* buffer, int size, bool wantIcon)
{
    if (!buffer || size <= 0) return NULL;
    buffer[0] = '\0';
    GetWindowTextA(hWnd, buffer, size);
    if (buffer[0] && !wantIcon) return NULL;
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    char path[MAX_PATH];
    ProgramPathOf(pid, path, sizeof(path));
    if (!buffer[0]) snprintf(buffer, (size_t)size, "(%s)", FileNamePart(path));
    if (!wantIcon || !path[0]) return NULL;
    SHFILEINFOA sfi;
    ZeroMemory(&sfi, sizeof(sfi));
    if (!SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_ICON | SHGFI_SMALLICON)) return NULL;
    return sfi.hIcon;
}

// ---- Collecting

static bool TaskWindowAccepted(HWND hWnd)
{
    if (hWnd == g_hMainWnd || hWnd == g_hMainDlg || IsChildOrOwned(hWnd)) return false;
    return g_Options.TaskShowHidden || IsWindowVisible(hWnd);
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

void BuildTaskList()
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

static int TaskSortState()
{
    return SortStateOf(g_Options.TaskSortStates, TASK_COLUMNS, g_Options.TaskSortColumn);
}

int CALLBACK CompareTasks(LPARAM a, LPARAM b, LPARAM column)
{
    // The titles are read anew at every comparison, so the order is that of the titles now.
    char ta[TASK_TITLE_CHARS], tb[TASK_TITLE_CHARS];
    TaskTitle(TaskWindow((int)a), ta, sizeof(ta), false);
    TaskTitle(TaskWindow((int)b), tb, sizeof(tb), false);
    int cmp = lstrcmpiA(ta, tb);
    cmp = (cmp > 0) - (cmp < 0);
    return DirectedComparison(cmp, SortStateOf(g_Options.TaskSortStates, TASK_COLUMNS, (uint32_t)column));
}

static LPARAM TaskRowParam(int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(g_hTaskList, LVM_GETITEMA, 0, (LPARAM)&item)) return -1;
    return item.lParam;
}

static void SelectTopTask()
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_STATE;
    item.iItem = 0;
    item.state = LVIS_SELECTED;
    item.stateMask = LVIS_SELECTED;
    SendMessageA(g_hTaskList, LVM_SETITEMA, 0, (LPARAM)&item);
}

static void SortTasks()
{
    SendMessageA(g_hTaskList, LVM_SORTITEMS, (WPARAM)g_Options.TaskSortColumn, (LPARAM)CompareTasks);
}

// A new image list for this fill; the list destroys the one of the previous fill.
static HIMAGELIST NewTaskImages()
{
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         ILC_COLOR32 | ILC_MASK, s_nTasks, 0);
    HIMAGELIST old = (HIMAGELIST)SendMessageA(g_hTaskList, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    if (old) ImageList_Destroy(old);
    s_hTaskImages = images;
    return images;
}

void FillTaskList()
{
    if (!g_hTaskList) return;
    SendMessageA(g_hTaskList, WM_SETREDRAW, FALSE, 0);
    s_bKeepingPaths = true;
    s_nTaskPaths = 0;
    SendMessageA(g_hTaskList, LVM_DELETEALLITEMS, 0, 0);
    g_iTaskSel = -1;
    HIMAGELIST images = NewTaskImages();
    int nextImage = 0;
    char title[TASK_TITLE_CHARS];
    for (int i = 0; i < s_nTasks; i++) {
        HICON icon = TaskTitle(s_pTasks[i], title, sizeof(title), true);
        int image = -1;
        if (icon) {
            if (images && ImageList_ReplaceIcon(images, -1, icon) >= 0) image = nextImage++;
            // The image list keeps a copy.
            DestroyIcon(icon);
        }
        LVITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.pszText = title;
        item.iImage = image;
        item.lParam = i;
        item.state = i == 0 ? LVIS_SELECTED : 0;
        item.stateMask = LVIS_SELECTED;
        SendMessageA(g_hTaskList, LVM_INSERTITEMA, 0, (LPARAM)&item);
    }
    if (s_nTasks > 0) {
        g_iTaskSel = 0;
        if (TaskSortState() != SORT_NONE) SortTasks();
        SelectTopTask();
        LPARAM top = TaskRowParam(0);
        if (top >= 0 && top < s_nTasks) g_iTaskSel = (int)top;
    }
    s_bKeepingPaths = false;
    SendMessageA(g_hTaskList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_hTaskList, NULL, TRUE);
    SetFocus(g_hTaskList);
}

static void RefreshTasks()
{
    BeginWaitCursor();
    BuildTaskList();
    EndWaitCursor();
}

// ---- Commands

BOOL CALLBACK MinimizeAllProc(HWND hWnd, LPARAM)
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

static void TaskPage_OnCommand(HWND hDlg, int id)
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

static void TaskPage_OnColumnClick(int column)
{
    if (column < 0 || column >= TASK_COLUMNS) return;
    g_Options.TaskSortColumn = (uint32_t)column;
    g_Options.TaskSortStates[column] = NextSortState(g_Options.TaskSortStates[column]);
    // Unsorted again means the order of the snapshot, without collecting anew.
    if (g_Options.TaskSortStates[column] != SORT_NONE) SortTasks();
    else FillTaskList();
}

static void TaskPage_OnItemChanged(const NMLISTVIEW* nm)
{
    // Losing the selection keeps the window selected last.
    if (!(nm->uChanged & LVIF_STATE) || !(nm->uNewState & LVIS_SELECTED) || nm->iItem < 0) return;
    if (nm->lParam >= 0 && nm->lParam < s_nTasks) g_iTaskSel = (int)nm->lParam;
}

static void TaskPage_OnNotify(const NMHDR* nm)
{
    if (!g_hTaskList || nm->hwndFrom != g_hTaskList) return;
    switch (nm->code) {
    case LVN_COLUMNCLICK:
        TaskPage_OnColumnClick(((const NMLISTVIEW*)nm)->iSubItem);
        break;
    case LVN_ITEMCHANGED:
        TaskPage_OnItemChanged((const NMLISTVIEW*)nm);
        break;
    case NM_DBLCLK:
        if (g_iTaskSel >= 0) SwitchToWindow(SelectedTask());
        break;
    }
}

// ---- Creation and destruction

static void CreateTaskList(HWND hDlg)
{
    HWND placeholder = GetDlgItem(hDlg, IDC_TASK_LIST);
    RECT rc = {0, 0, 0, 0};
    if (placeholder) {
        GetClientRect(placeholder, &rc);
        MapWindowPoints(placeholder, hDlg, (POINT*)&rc, 2);
        DestroyWindow(placeholder);
    }
    g_hTaskList = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", TASK_LIST_STYLE, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, hDlg,
                                  (HMENU)(INT_PTR)IDC_TASK_LIST, g_hInst, NULL);
    if (!g_hTaskList) return;
    SendMessageA(g_hTaskList, WM_SETFONT, SendMessageA(hDlg, WM_GETFONT, 0, 0), FALSE);
    // First in the tab order, where the placeholder stood.
    SetWindowPos(g_hTaskList, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    LVCOLUMNA col;
    ZeroMemory(&col, sizeof(col));
    col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    col.fmt = LVCFMT_LEFT;
    col.cx = g_Options.TaskColumnWidths[0] >= 0
                 ? g_Options.TaskColumnWidths[0]
                 : AutoColumnWidth(rc.right - rc.left, 1, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CXVSCROLL));
    col.pszText = (LPSTR)LoadResString(IDS_TASK_COLUMN);
    SendMessageA(g_hTaskList, LVM_INSERTCOLUMNA, 0, (LPARAM)&col);
}

static void TaskPage_OnInitDialog(HWND hDlg)
{
    BeginWaitCursor();
    CheckDlgButton(hDlg, IDC_TASK_HIDDEN, g_Options.TaskShowHidden ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_TASK_CLOSEONSWITCH, g_Options.TaskCloseOnSwitch ? BST_CHECKED : BST_UNCHECKED);
    CreateTaskList(hDlg);
    BuildTaskList();
    EndWaitCursor();
}

static void TaskPage_OnDestroy()
{
    if (g_hTaskList) g_Options.TaskColumnWidths[0] = (int32_t)SendMessageA(g_hTaskList, LVM_GETCOLUMNWIDTH, 0, 0);
    FreeTasks();
    // The list goes with the page and takes its image list with it.
    g_hTaskList = NULL;
    s_hTaskImages = NULL;
}

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        TaskPage_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        TaskPage_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_NOTIFY:
        TaskPage_OnNotify((const NMHDR*)lParam);
        break;
    case WM_DESTROY:
        TaskPage_OnDestroy();
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
