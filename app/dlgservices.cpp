// Services shared by every information dialog, editing dialog and tab page.
#include "app/dlgservices.h"
#include "app/resstring.h"
#include "app/help.h"
#include "resource.h"

INT_PTR DlgResult(HWND hDlg, LRESULT result)
{
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, result);
    return TRUE;
}

void AddInfoSysMenuItems(HWND hDlg)
{
    HMENU sys = GetSystemMenu(hDlg, FALSE);
    if (!sys) return;
    AppendMenuA(sys, MF_SEPARATOR, (UINT_PTR)-1, NULL);
    AppendMenuA(sys, MF_STRING, SC_MINIMIZE, LoadResString(IDS_MINIMIZE));
    AppendMenuA(sys, MF_STRING, SC_RESTORE, LoadResString(IDS_RESTORE));
}

void SetDialogIcons(HWND hDlg, int iconId)
{
    // The small icon first: for a big icon set alone the display driver derives a small one,
    // only to throw it away at the next call (under Wine about 2 ms a dialog).
    SendMessageA(hDlg, WM_SETICON, ICON_SMALL, (LPARAM)LoadIconA(g_hInst, MAKEINTRESOURCEA(iconId + 1)));
    SendMessageA(hDlg, WM_SETICON, ICON_BIG, (LPARAM)LoadIconA(g_hInst, MAKEINTRESOURCEA(iconId)));
}

bool IsModalBox(HWND hWnd)
{
    // A modal dialog disables its owner for as long as it runs; the information boxes and
    // viewers have no owner.
    HWND owner = GetWindow(hWnd, GW_OWNER);
    if (!owner || IsWindowEnabled(owner)) return false;
    char cls[16];
    return GetClassNameA(hWnd, cls, sizeof(cls)) > 0 && lstrcmpA(cls, "#32770") == 0;
}

static BOOL CALLBACK CloseInfoBoxProc(HWND hWnd, LPARAM lParam)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    // Another program loaded at the same base address has the same instance value: the
    // process check keeps its windows out.
    if (pid != GetCurrentProcessId() ||
        (HINSTANCE)GetWindowLongPtrA(hWnd, GWLP_HINSTANCE) != (HINSTANCE)lParam ||
        hWnd == g_hMainWnd || hWnd == g_hMainDlg)
        return TRUE;
    // A modal box is ended, not destroyed: only EndDialog gives its owner back its input and
    // lets the loop that runs the box return.
    if (IsModalBox(hWnd))
        EndDialog(hWnd, IDCANCEL);
    else
        DestroyWindow(hWnd);
    return TRUE;
}

void CloseInfoBoxes()
{
    EnumWindows(CloseInfoBoxProc, (LPARAM)g_hInst);
}

void ForwardPageCancel(int id)
{
    if (id == IDCANCEL && g_hMainDlg) PostMessageA(g_hMainDlg, WM_COMMAND, IDCANCEL, 0);
}

INT_PTR CALLBACK TemplatePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return 0;
    case WM_COMMAND:
        ForwardPageCancel(LOWORD(wParam));
        return DlgResult(hDlg, 0);
    case WM_HELP:
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        return DlgResult(hDlg, 0);
    }
    return FALSE;
}
