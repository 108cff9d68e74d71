// Services shared by every information dialog, editing dialog and tab page.
#include "app/dlgservices.h"
#include "app/resstring.h"
#include <commctrl.h>
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

// A dialog of ours that runs modally: its owner is disabled while it is open.
static bool IsModalBox(HWND hWnd)
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

RECT PlaceholderRect(HWND placeholder)
{
    RECT rc = {0, 0, 0, 0};
    if (placeholder) {
        GetClientRect(placeholder, &rc);
        MapWindowPoints(placeholder, GetParent(placeholder), (POINT*)&rc, 2);
    }
    return rc;
}

HWND CreateDialogControl(HWND hDlg, DWORD exStyle, const char* className, DWORD style, const RECT& rc, int id,
                         HWND after, HFONT font)
{
    HWND control = CreateWindowExA(exStyle, className, "", style, rc.left, rc.top, rc.right - rc.left,
                                   rc.bottom - rc.top, hDlg, (HMENU)(INT_PTR)id, g_hInst, NULL);
    if (!control) return NULL;
    if (!font) font = (HFONT)SendMessageA(hDlg, WM_GETFONT, 0, 0);
    SendMessageA(control, WM_SETFONT, (WPARAM)font, FALSE);
    if (after) SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

HWND ReplacePlaceholder(HWND hDlg, int placeholderId, DWORD exStyle, const char* className, DWORD style, int id,
                        HFONT font)
{
    HWND placeholder = GetDlgItem(hDlg, placeholderId);
    HWND control = CreateDialogControl(hDlg, exStyle, className, style, PlaceholderRect(placeholder), id,
                                       placeholder, font);
    if (placeholder) DestroyWindow(placeholder);
    return control;
}

// ---- Moving to a monitor of another DPI

struct ColumnScale {
    int from, to;
};

static BOOL CALLBACK ScaleListColumnsProc(HWND hWnd, LPARAM lParam)
{
    const ColumnScale* scale = (const ColumnScale*)lParam;
    char cls[32];
    if (GetClassNameA(hWnd, cls, sizeof(cls)) <= 0 || lstrcmpiA(cls, WC_LISTVIEWA) != 0) return TRUE;
    HWND header = (HWND)SendMessageA(hWnd, LVM_GETHEADER, 0, 0);
    int columns = header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (int i = 0; i < columns; i++) {
        int w = (int)SendMessageA(hWnd, LVM_GETCOLUMNWIDTH, i, 0);
        SendMessageA(hWnd, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(ScaleBetween(w, scale->from, scale->to), 0));
    }
    return TRUE;
}

void TakeDpiChange(HWND hWnd, const RECT* suggested)
{
    if (!suggested) return;
    RECT now;
    GetWindowRect(hWnd, &now);
    // The suggested rectangle is the window's own scaled from the old DPI to the new one.
    ColumnScale scale = {now.right - now.left, suggested->right - suggested->left};
    if (scale.from > 0 && scale.to > 0 && scale.from != scale.to)
        EnumChildWindows(hWnd, ScaleListColumnsProc, (LPARAM)&scale);
    SetWindowPos(hWnd, NULL, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}
