// Main dialog: the tab control with one page at a time, proportional layout, position and size
// memory.
#include "app/maindlg.h"
#include "app/help.h"
#include "app/layout.h"
#include "app/options.h"
#include "app/resstring.h"
#include "app/settings.h"
#include "app/waitcursor.h"
#include "processes/processes_page.h"
#include "windows/windows_page.h"
#include "windows/taskman_page.h"
#include "capture/capture_page.h"
#include "resource.h"

#include <commctrl.h>
#include <string.h>

HWND g_hTab;
SIZE g_sizeMainTemplate;

// The pages in the order of their tabs (MainPage); the template id is also the page's help topic.
struct PageEntry {
    UINT tabTextId;
    UINT templateId;
    DLGPROC proc;
};
static const PageEntry kPages[] = {
    {IDS_TAB_OPTIONS, IDD_PAGE_OPTIONS, OptionsPageProc},
    {IDS_TAB_PROCESSES, IDD_PAGE_PROCESSES, ProcessesPageProc},
    {IDS_TAB_WINDOWS, IDD_PAGE_WINDOWS, WindowsPageProc},
    {IDS_TAB_TASKS, IDD_PAGE_TASKS, TaskManagerPageProc},
    {IDS_TAB_CAPTURE, IDD_PAGE_CAPTURE, CapturePageProc},
};
static_assert(sizeof(kPages) / sizeof(kPages[0]) == PAGE_COUNT, "one entry per page");

// The page's windows as they were laid out for the record size; every rescale starts from here.
struct LayoutEntry {
    HWND hWnd;
    RECT rc;
};
static LayoutEntry s_layout[LAYOUT_MAX_ENTRIES];
static int s_layoutCount;
static int s_layoutW, s_layoutH;
static int s_layoutCursor;
static int s_scaleW, s_scaleH;

// ---- Layout

static void ScalePageLayout();

static void MoveControlBy(HWND hWnd, int dx, int dy)
{
    if (!hWnd) return;
    RECT rc;
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(NULL, GetParent(hWnd), (POINT*)&rc, 2);
    SetWindowPos(hWnd, NULL, rc.left + dx, rc.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    InvalidateRect(hWnd, NULL, FALSE);
}

static void GrowWindowBy(HWND hWnd, int dx, int dy, bool rescale)
{
    if (!hWnd) return;
    RECT rc;
    GetWindowRect(hWnd, &rc);
    SetWindowPos(hWnd, NULL, 0, 0, rc.right - rc.left + dx, rc.bottom - rc.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER);
    if (rescale) ScalePageLayout();
}

static BOOL CALLBACK RecordLayoutProc(HWND hWnd, LPARAM)
{
    if (s_layoutCount >= LAYOUT_MAX_ENTRIES) return FALSE;
    LayoutEntry* e = &s_layout[s_layoutCount++];
    e->hWnd = hWnd;
    GetWindowRect(hWnd, &e->rc);
    MapWindowPoints(NULL, GetParent(hWnd), (POINT*)&e->rc, 2);
    return TRUE;
}

void RecordPageLayout()
{
    s_layoutCount = 0;
    if (!g_hPage) return;
    RECT rc;
    GetWindowRect(g_hPage, &rc);
    s_layoutW = rc.right - rc.left;
    s_layoutH = rc.bottom - rc.top;
    EnumChildWindows(g_hPage, RecordLayoutProc, 0);
}

int RecordedLayoutCount()
{
    return s_layoutCount;
}

static BOOL CALLBACK ScaleLayoutProc(HWND hWnd, LPARAM)
{
    if (s_layoutCursor >= s_layoutCount) return FALSE;
    const LayoutEntry* e = &s_layout[s_layoutCursor++];
    char cls[51];
    // List-view headers follow their list view; moving them here would fight it.
    if (e->hWnd == hWnd && RealGetWindowClassA(hWnd, cls, sizeof(cls)) > 0 && strcmp(cls, "SysHeader32") != 0) {
        RECT r = ScaleLayoutRect(e->rc, s_scaleW, s_scaleH, s_layoutW, s_layoutH);
        MoveWindow(hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    return TRUE;
}

static void ScalePageLayout()
{
    if (!g_hPage) return;
    RECT rc;
    GetWindowRect(g_hPage, &rc);
    s_scaleW = rc.right - rc.left;
    s_scaleH = rc.bottom - rc.top;
    s_layoutCursor = 0;
    EnumChildWindows(g_hPage, ScaleLayoutProc, 0);
}

// ---- Pages

// Controls that end flush with the page's edge in the template can end a pixel past it where
// dialog units round up (at 144 DPI, for one): they are trimmed to the page, not clipped by it.
static BOOL CALLBACK FitControlProc(HWND hWnd, LPARAM lParam)
{
    HWND page = (HWND)lParam;
    if (GetParent(hWnd) != page) return TRUE;
    RECT client, rc;
    GetClientRect(page, &client);
    GetWindowRect(hWnd, &rc);
    MapWindowPoints(NULL, page, (POINT*)&rc, 2);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (rc.right > client.right && rc.left < client.right) w = client.right - rc.left;
    if (rc.bottom > client.bottom && rc.top < client.bottom) h = client.bottom - rc.top;
    if (w != rc.right - rc.left || h != rc.bottom - rc.top)
        SetWindowPos(hWnd, NULL, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

static void ShowPage(int index)
{
    if (index < 0 || index >= PAGE_COUNT) index = PAGE_OPTIONS;
    if (g_hPage) {
        if (index == g_Options.PageIndex) return;
        HWND old = g_hPage;
        g_hPage = NULL;
        DestroyWindow(old);
    }
    g_Options.PageIndex = (int8_t)index;
    const PageEntry& page = kPages[index];
    g_hPage = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(page.templateId), g_hTab, page.proc, 0);
    if (!g_hPage) return;
    SetWindowLongPtrA(g_hPage, GWL_EXSTYLE, GetWindowLongPtrA(g_hPage, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    EnumChildWindows(g_hPage, FitControlProc, (LPARAM)g_hPage);
    RecordPageLayout();
    // At the template size the page stands as recorded: moving every control onto its own place
    // would only cost time.
    int dx = g_Options.MainDlgWidth - g_sizeMainTemplate.cx, dy = g_Options.MainDlgHeight - g_sizeMainTemplate.cy;
    if (dx != 0 || dy != 0) GrowWindowBy(g_hPage, dx, dy, true);
}

// ---- Main dialog messages

// The stored top-left corner on the screen. It was saved from the window's placement, which is
// in workspace coordinates; moving the dialog there in screen coordinates would shift it by the
// taskbar's thickness at every close and reopen when the taskbar is at the top or left.
static POINT StoredDialogOrigin(const RECT& dialog)
{
    POINT pt = {g_Options.MainDlgX, g_Options.MainDlgY};
    RECT moved = dialog;
    OffsetRect(&moved, pt.x - dialog.left, pt.y - dialog.top);
    MONITORINFO mi;
    mi.cbSize = sizeof(mi);
    HMONITOR monitor = MonitorFromRect(&moved, MONITOR_DEFAULTTOPRIMARY);
    if (!monitor || !GetMonitorInfoA(monitor, &mi)) return pt;
    return WorkspaceToScreenPoint(pt, mi.rcMonitor, mi.rcWork);
}

static void MainDlg_OnInitDialog(HWND hDlg)
{
    BeginWaitCursor();
    AddInfoSysMenuItems(hDlg);
    g_hMainDlg = hDlg;
    SetDialogIcons(hDlg, IDI_VANTIX);

    RECT desk, rc;
    GetWindowRect(GetDesktopWindow(), &desk);
    GetWindowRect(hDlg, &rc);
    g_sizeMainTemplate.cx = rc.right - rc.left;
    g_sizeMainTemplate.cy = rc.bottom - rc.top;

    POINT stored = StoredDialogOrigin(rc);
    POINT pt = ChooseDialogPosition(rc, desk, stored.x, stored.y);
    if (pt.x != rc.left || pt.y != rc.top)
        SetWindowPos(hDlg, NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // Until the tab control exists, its placeholder stands in the slot and grows with the dialog.
    g_hTab = GetDlgItem(hDlg, IDC_MAIN_TABSLOT);

    int storedW = g_Options.MainDlgWidth, storedH = g_Options.MainDlgHeight;
    g_Options.MainDlgWidth = g_sizeMainTemplate.cx;
    g_Options.MainDlgHeight = g_sizeMainTemplate.cy;
    if (ShouldRestoreSize(storedW, storedH, g_sizeMainTemplate.cx, g_sizeMainTemplate.cy))
        SetWindowPos(hDlg, NULL, 0, 0, storedW, storedH, SWP_NOMOVE | SWP_NOZORDER);

    // Id 0: the tab control has no help topic of its own.
    g_hTab = ReplacePlaceholder(hDlg, IDC_MAIN_TABSLOT, WS_EX_CONTROLPARENT, WC_TABCONTROLA,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, (HFONT)GetStockObject(ANSI_VAR_FONT));

    for (int i = 0; i < PAGE_COUNT; i++) {
        TCITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TCIF_TEXT;
        item.iImage = -1;
        item.pszText = (LPSTR)LoadResString(kPages[i].tabTextId);
        SendMessageA(g_hTab, TCM_INSERTITEMA, i, (LPARAM)&item);
    }
    int page = g_Options.PageIndex;
    SendMessageA(g_hTab, TCM_SETCURSEL, page, 0);
    ShowPage(page);
    EndWaitCursor();
}

static void MainDlg_OnSize(HWND hDlg)
{
    // The dialog manager sends WM_SIZE before WM_INITDIALOG has measured the template.
    if (hDlg != g_hMainDlg) return;
    RECT rc;
    GetWindowRect(hDlg, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w >= g_sizeMainTemplate.cx && h >= g_sizeMainTemplate.cy) {
        int dx = w - g_Options.MainDlgWidth, dy = h - g_Options.MainDlgHeight;
        if (dx == 0 && dy == 0) return;
        MoveControlBy(GetDlgItem(hDlg, IDCANCEL), dx, dy);
        MoveControlBy(GetDlgItem(hDlg, IDC_MAIN_REFRESH), dx, dy);
        MoveControlBy(GetDlgItem(hDlg, IDC_MAIN_HELP), dx, dy);
        GrowWindowBy(g_hTab, dx, dy, false);
        GrowWindowBy(g_hPage, dx, dy, true);
        g_Options.MainDlgWidth += dx;
        g_Options.MainDlgHeight += dy;
    } else {
        SetWindowPos(hDlg, NULL, 0, 0, g_Options.MainDlgWidth, g_Options.MainDlgHeight,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
}

// On a monitor of another DPI the template's size, the least the dialog takes, is as many
// pixels larger or smaller as the window; the page fills again for icons of the new size.
static void MainDlg_OnDpiChanged(HWND hDlg, const RECT* suggested)
{
    RECT now;
    GetWindowRect(hDlg, &now);
    int from = now.right - now.left, to = suggested->right - suggested->left;
    g_sizeMainTemplate.cx = ScaleBetween(g_sizeMainTemplate.cx, from, to);
    g_sizeMainTemplate.cy = ScaleBetween(g_sizeMainTemplate.cy, now.bottom - now.top, suggested->bottom - suggested->top);
    TakeDpiChange(hDlg, suggested);
    if (g_hPage) SendMessageA(g_hPage, WM_COMMAND, IDC_MAIN_REFRESH, 0);
}

static void MainDlg_OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDCANCEL:
        g_bClosingAll = TRUE;
        CloseInfoBoxes();
        DestroyWindow(hDlg);
        break;
    case IDC_MAIN_REFRESH:
        if (g_hPage) SendMessageA(g_hPage, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        break;
    case IDC_MAIN_HELP:
        ShowHelpTopic(kPages[g_Options.PageIndex].templateId);
        break;
    case IDC_MAIN_DEFSIZE:
        SetWindowPos(hDlg, NULL, 0, 0, g_sizeMainTemplate.cx, g_sizeMainTemplate.cy,
                     SWP_NOMOVE | SWP_NOZORDER);
        break;
    default:
        break;
    }
}

static void MainDlg_OnNotify(const NMHDR* nm)
{
    if (nm->hwndFrom == g_hTab && nm->code == TCN_SELCHANGE)
        ShowPage((int)SendMessageA(g_hTab, TCM_GETCURSEL, 0, 0));
}

static void MainDlg_OnDestroy(HWND hDlg)
{
    g_bClosingAll = TRUE;
    CloseInfoBoxes();
    if (g_hTab) DestroyWindow(g_hTab);

    WINDOWPLACEMENT wp;
    ZeroMemory(&wp, sizeof(wp));
    wp.length = sizeof(wp);
    if (GetWindowPlacement(hDlg, &wp)) {
        g_Options.MainDlgX = wp.rcNormalPosition.left;
        g_Options.MainDlgY = wp.rcNormalPosition.top;
    }
    g_hTab = NULL;
    g_hPage = NULL;
    g_hMainDlg = NULL;
    SaveOptions();
    g_bClosingAll = FALSE;
    // Through the hidden window's own Quit command: while that window is being destroyed (and
    // is destroying this dialog) it knows to ignore the request.
    if (!g_Options.TrayIcon && g_hMainWnd)
        SendMessageA(g_hMainWnd, WM_COMMAND, IDC_CMD_QUIT, 0);
}

INT_PTR CALLBACK MainDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        MainDlg_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        MainDlg_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_NOTIFY:
        MainDlg_OnNotify((const NMHDR*)lParam);
        break;
    case WM_SIZE:
        MainDlg_OnSize(hDlg);
        break;
    case WM_DPICHANGED:
        MainDlg_OnDpiChanged(hDlg, (const RECT*)lParam);
        break;
    case WM_DESTROY:
        MainDlg_OnDestroy(hDlg);
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
