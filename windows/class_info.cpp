// The Class Information dialog: a snapshot of one window class, taken when the dialog opens.
#include "windows/class_info.h"
#include "windows/names.h"
#include "windows/window_query.h"
#include "processes/fields.h"
#include "app/help.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "resource.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

HWND g_hClassWindow;
char g_szClassName[CLASS_NAME_CHARS];

static INT_PTR CALLBACK ClassInfoDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

HWND OpenClassDialog(HWND hWnd)
{
    g_hClassWindow = hWnd;
    g_szClassName[0] = '\0';
    if (!GetClassNameA(hWnd, g_szClassName, sizeof(g_szClassName))) {
        ShowErrorBox(0);
        return NULL;
    }
    // Pointer-sized fields are read at their full width; the dialog gets the record for its
    // creation only.
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = (UINT)GetClassLongA(hWnd, GCL_STYLE);
    wc.lpfnWndProc = (WNDPROC)GetClassLongPtrA(hWnd, GCLP_WNDPROC);
    wc.cbClsExtra = (int)GetClassLongA(hWnd, GCL_CBCLSEXTRA);
    wc.cbWndExtra = (int)GetClassLongA(hWnd, GCL_CBWNDEXTRA);
    wc.hInstance = (HINSTANCE)GetClassLongPtrA(hWnd, GCLP_HMODULE);
    wc.hIcon = (HICON)GetClassLongPtrA(hWnd, GCLP_HICON);
    wc.hCursor = (HCURSOR)GetClassLongPtrA(hWnd, GCLP_HCURSOR);
    wc.hbrBackground = (HBRUSH)GetClassLongPtrA(hWnd, GCLP_HBRBACKGROUND);
    // A pointer into the owning process (or a resource number): shown, never read.
    wc.lpszMenuName = (LPCSTR)GetClassLongPtrA(hWnd, GCLP_MENUNAME);
    wc.lpszClassName = g_szClassName;
    wc.hIconSm = (HICON)GetClassLongPtrA(hWnd, GCLP_HICONSM);
    return CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_CLASS_INFO), NULL, ClassInfoDlgProc, (LPARAM)&wc);
}

static void SetPointerField(HWND hDlg, int id, ULONG_PTR value)
{
    char text[24];
    FormatPointerHex(value, text, sizeof(text));
    SetFieldText(hDlg, id, text);
}

// The stock name when there is one, the handle otherwise; the picture in the icon static.
static void ShowClassImage(HWND hDlg, int nameId, int imageId, HANDLE image, const char* stockName)
{
    if (stockName)
        SetFieldText(hDlg, nameId, stockName);
    else
        SetPointerField(hDlg, nameId, (ULONG_PTR)image);
    SendDlgItemMessageA(hDlg, imageId, STM_SETICON, (WPARAM)image, 0);
}

// ---- Brush swatch

// The swatch keeps the brush value as its decimal text, at full pointer width.
static void StoreBrushValue(HWND hDlg, ULONG_PTR value)
{
    char text[32];
    snprintf(text, sizeof(text), "%llu", (unsigned long long)value);
    SetFieldText(hDlg, IDC_CI_BRUSH, text);
}

static bool ReadBrushValue(HWND hDlg, ULONG_PTR* value)
{
    char text[32] = "";
    GetDlgItemTextA(hDlg, IDC_CI_BRUSH, text, sizeof(text));
    if (text[0] < '0' || text[0] > '9') return false;
    char* end = NULL;
    unsigned long long v = strtoull(text, &end, 10);
    if (!end || *end != '\0') return false;
    *value = (ULONG_PTR)v;
    return true;
}

// Name or handle of a brush value; rewritten only when it changes, so that repainting the
// swatch does not make the field flicker.
static void ShowBrushName(HWND hDlg, ULONG_PTR value)
{
    char text[48];
    const char* name = value ? BrushValueName(value) : NULL;
    if (name)
        lstrcpynA(text, name, sizeof(text));
    else
        FormatPointerHex(value, text, sizeof(text));
    char shown[48] = "";
    GetDlgItemTextA(hDlg, IDC_CI_BRUSHNAME, shown, sizeof(shown));
    if (strcmp(shown, text) != 0) SetFieldText(hDlg, IDC_CI_BRUSHNAME, text);
}

static void ClassInfo_OnDrawItem(HWND hDlg, const DRAWITEMSTRUCT* dis)
{
    if (dis->CtlID != IDC_CI_BRUSH) return;
    ULONG_PTR value = 0;
    if (!ReadBrushValue(hDlg, &value)) return;
    ShowBrushName(hDlg, value);
    if (value == 0) return;
    if (value <= (ULONG_PTR)g_SysColorNames.count) {
        // The platform's own brush of that colour: nothing to create or free.
        FillRect(dis->hDC, &dis->rcItem, GetSysColorBrush((int)value - 1));
    } else {
        // A brush of another process is not valid here; the fill then fails and only the
        // value is shown.
        FillRect(dis->hDC, &dis->rcItem, (HBRUSH)value);
    }
}

// ---- Messages

static void ClassInfo_OnInitDialog(HWND hDlg, const WNDCLASSEXA* wc)
{
    SetDialogIcons(hDlg, IDI_CLASS);
    AddInfoSysMenuItems(hDlg);
    SetFieldText(hDlg, IDC_CI_NAME, ClassDisplayName(wc->lpszClassName));
    SetFieldText(hDlg, IDC_CI_PROCESS, OwnerProcessLabel(g_hClassWindow, false));
    SetPointerField(hDlg, IDC_CI_INSTANCE, (ULONG_PTR)wc->hInstance);
    SetPointerField(hDlg, IDC_CI_MENU, (ULONG_PTR)wc->lpszMenuName);
    SetFieldDecimal(hDlg, IDC_CI_CLASSEXTRA, wc->cbClsExtra);
    SetFieldDecimal(hDlg, IDC_CI_WINDOWEXTRA, wc->cbWndExtra);
    ShowClassImage(hDlg, IDC_CI_ICONNAME, IDC_CI_ICON, wc->hIcon, StockIconName(wc->hIcon));
    ShowClassImage(hDlg, IDC_CI_SMALLICONNAME, IDC_CI_SMALLICON, wc->hIconSm, NULL);
    ShowClassImage(hDlg, IDC_CI_CURSORNAME, IDC_CI_CURSOR, wc->hCursor, StockCursorName(wc->hCursor));

    char format[64];
    lstrcpynA(format, LoadResString(IDS_CLASS_STYLE), sizeof(format));
    SetFieldFormatted(hDlg, IDC_CI_STYLELABEL, format, wc->style);
    SetFieldText(hDlg, IDC_CI_STYLES, ClassStyleNamesText(wc->style));

    StoreBrushValue(hDlg, (ULONG_PTR)wc->hbrBackground);
    ShowBrushName(hDlg, (ULONG_PTR)wc->hbrBackground);
}

static void ClassInfo_OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDCANCEL:
        DestroyWindow(hDlg);
        break;
    case IDC_INFO_HELP:
        ShowHelpTopic(IDC_CI_TOPIC);
        break;
    }
}

static INT_PTR CALLBACK ClassInfoDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        ClassInfo_OnInitDialog(hDlg, (const WNDCLASSEXA*)lParam);
        return FALSE;
    case WM_COMMAND:
        ClassInfo_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_DRAWITEM:
        ClassInfo_OnDrawItem(hDlg, (const DRAWITEMSTRUCT*)lParam);
        return DlgResult(hDlg, TRUE);
    case WM_DPICHANGED:
        TakeDpiChange(hDlg, (const RECT*)lParam);
        break;
    case WM_HELP:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        InfoDialogContextMenu(hDlg, (HWND)wParam, lParam);
        break;
    case WM_PROGRAM_KEY:
        return DlgResult(hDlg, InfoDialogKey(hDlg, (int)wParam));
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
