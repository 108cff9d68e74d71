// The Window Information dialog. It keeps nothing but the handle shown in its handle field and
// reads the window again on every refresh.
#include "windows/window_info.h"
#include "windows/move_window.h"
#include "windows/names.h"
#include "windows/style_editor.h"
#include "windows/window_commands.h"
#include "windows/window_query.h"
#include "processes/fields.h"
#include "app/help.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "resource.h"

#include <stdio.h>
#include <string.h>

static INT_PTR CALLBACK WindowInfoDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

void OpenWindowInfo(HWND hWnd)
{
    if (!IsWindow(hWnd)) return;
    CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_WINDOW_INFO), NULL, WindowInfoDlgProc, (LPARAM)hWnd);
}

// The window commands below this dialog open it through here (windows/window_commands.h).
OpenWindowInfoFn g_pfnOpenWindowInfo = OpenWindowInfo;

// ---- Property list

void FormatPropertyLine(char* out, size_t outSize, ULONG_PTR data, const char* name)
{
    char value[24];
    FormatPointerHex(data, value, sizeof(value));
    if (IS_INTRESOURCE(name))
        snprintf(out, outSize, "%s = #%u\r\n", value, (unsigned)(ULONG_PTR)name);
    else
        snprintf(out, outSize, "%s = %s\r\n", value, name);
}

struct PropertyText {
    char* out;
    size_t size;
    size_t len;
    bool cut;
};

static BOOL CALLBACK AddPropertyLine(HWND, LPSTR name, HANDLE data, ULONG_PTR lParam)
{
    PropertyText* t = (PropertyText*)lParam;
    if (t->cut) return TRUE;
    char line[320];
    FormatPropertyLine(line, sizeof(line), (ULONG_PTR)data, name);
    size_t n = strlen(line);
    // Whole lines only, and always room left for the closing line.
    if (t->len + n + 3 < t->size) {
        memcpy(t->out + t->len, line, n + 1);
        t->len += n;
    } else {
        t->cut = true;
        if (t->len + 3 < t->size) {
            memcpy(t->out + t->len, "...", 4);
            t->len += 3;
        }
    }
    return TRUE;
}

void PropertyListText(HWND hWnd, const char* noneText, char* out, size_t outSize)
{
    if (!out || outSize == 0) return;
    out[0] = '\0';
    PropertyText t = {out, outSize, 0, false};
    if (EnumPropsExA(hWnd, AddPropertyLine, (LPARAM)&t) == -1) lstrcpynA(out, noneText, (int)outSize);
}

// ---- Fields

static HWND DialogTarget(HWND hDlg)
{
    return HandleFromValue(GetFieldHex(hDlg, IDC_WI_HANDLE));
}

static void SetStyleCaption(HWND hDlg, DWORD style, DWORD exStyle)
{
    char format[64];
    char caption[128];
    lstrcpynA(format, LoadResString(IDS_STYLE_CAPTION), sizeof(format));
    wsprintfA(caption, format, style, exStyle);
    SetFieldText(hDlg, IDC_WI_STYLEGROUP, caption);
}

// ---- The visible frame

// The frame's row lies below the dialog's height in the template: the dialog grows by it while
// it shows and shrinks back when it goes, so a classic desktop sees the dialog as ever.
static void ShowFrameRow(HWND hDlg, bool show)
{
    HWND field = GetDlgItem(hDlg, IDC_WI_FRAME);
    if (!field) return;
    // Its own style: the dialog itself is not visible yet while it opens.
    bool shown = (GetWindowLongA(field, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown == show) return;
    RECT row, last;
    GetWindowRect(field, &row);
    GetWindowRect(GetDlgItem(hDlg, IDCANCEL), &last);
    int grow = row.bottom - last.bottom;
    RECT dlg;
    GetWindowRect(hDlg, &dlg);
    SetWindowPos(hDlg, NULL, 0, 0, dlg.right - dlg.left, dlg.bottom - dlg.top + (show ? grow : -grow),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    int how = show ? SW_SHOWNA : SW_HIDE;
    ShowWindow(GetDlgItem(hDlg, IDC_WI_FRAMELABEL), how);
    ShowWindow(field, how);
}

// On a composited desktop the window rectangle takes in invisible resize borders: the frame the
// user sees then shows in a row of its own, and the corner fields keep the window rectangle.
static void ShowVisibleFrame(HWND hDlg, HWND hWnd, const RECT& window)
{
    RECT frame;
    bool differs = WindowFrameBounds(hWnd, &frame) && !EqualRect(&frame, &window);
    char text[96] = "";
    if (differs)
        wsprintfA(text, "(%d,%d)-(%d,%d)", (int)frame.left, (int)frame.top, (int)frame.right, (int)frame.bottom);
    SetFieldText(hDlg, IDC_WI_FRAME, text);
    ShowFrameRow(hDlg, differs);
}

// A window that has gone keeps its handle; everything else it showed would now be wrong.
static void ShowWindowGone(HWND hDlg)
{
    static const int kFields[] = {
        IDC_WI_TITLE, IDC_WI_PARENT, IDC_WI_CLASS, IDC_WI_ID, IDC_WI_TOPLEFT, IDC_WI_BOTTOMRIGHT,
        IDC_WI_WIDTH, IDC_WI_HEIGHT, IDC_WI_STYLES, IDC_WI_PROPERTIES,
    };
    for (int id : kFields) SetFieldText(hDlg, id, "");
    SetFieldText(hDlg, IDC_WI_STYLEGROUP, LoadResString(IDS_ERR_NOWINDOW));
    SetFieldText(hDlg, IDC_WI_FRAME, "");
    ShowFrameRow(hDlg, false);
    SetWindowToggleLabels(hDlg, NULL, IDC_WI_MINIMIZE, IDC_WI_HIDE, IDC_WI_ONTOP);
}

static void FillWindowInfo(HWND hDlg, HWND hWnd)
{
    SetFieldHex4(hDlg, IDC_WI_HANDLE, HandleValue(hWnd));
    if (!IsWindow(hWnd)) {
        ShowWindowGone(hDlg);
        return;
    }
    char text[WINDOW_TEXT_CHARS];
    QueryWindowText(hWnd, text, sizeof(text));
    SetFieldText(hDlg, IDC_WI_TITLE, text);
    SetFieldHex4(hDlg, IDC_WI_PARENT, HandleValue(GetParent(hWnd)));

    char cls[WINDOW_TEXT_CHARS] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    SetFieldText(hDlg, IDC_WI_CLASS, ClassDisplayName(cls));
    // For a top-level window this is its menu handle.
    SetFieldFormatted(hDlg, IDC_WI_ID, "%u", (DWORD)GetDlgCtrlID(hWnd));

    RECT rc = {0, 0, 0, 0};
    GetClientRect(hWnd, &rc);
    SetFieldFormatted(hDlg, IDC_WI_WIDTH, "%u", (DWORD)rc.right);
    SetFieldFormatted(hDlg, IDC_WI_HEIGHT, "%u", (DWORD)rc.bottom);
    GetWindowRect(hWnd, &rc);
    char corner[64];
    wsprintfA(corner, "(%d,%d)", (int)rc.left, (int)rc.top);
    SetFieldText(hDlg, IDC_WI_TOPLEFT, corner);
    wsprintfA(corner, "(%d,%d)", (int)rc.right, (int)rc.bottom);
    SetFieldText(hDlg, IDC_WI_BOTTOMRIGHT, corner);
    ShowVisibleFrame(hDlg, hWnd, rc);

    DWORD style = (DWORD)GetWindowLongA(hWnd, GWL_STYLE);
    DWORD exStyle = (DWORD)GetWindowLongA(hWnd, GWL_EXSTYLE);
    SetStyleCaption(hDlg, style, exStyle);
    char styles[STYLE_TEXT_CHARS] = "";
    StyleNamesText(style, exStyle, cls, styles, sizeof(styles));
    SetFieldText(hDlg, IDC_WI_STYLES, styles);

    char none[64];
    lstrcpynA(none, LoadResString(IDS_NONE), sizeof(none));
    char props[PROPERTY_TEXT_CHARS];
    PropertyListText(hWnd, none, props, sizeof(props));
    SetFieldText(hDlg, IDC_WI_PROPERTIES, props);

    SetWindowToggleLabels(hDlg, hWnd, IDC_WI_MINIMIZE, IDC_WI_HIDE, IDC_WI_ONTOP);
}

// Reads the window again into every field of the dialog.
static void RefreshWindowInfo(HWND hDlg)
{
    FillWindowInfo(hDlg, DialogTarget(hDlg));
}

// ---- Messages

static void WindowInfo_OnInitDialog(HWND hDlg, HWND hWnd)
{
    SetDialogIcons(hDlg, IDI_WINDOW);
    AddInfoSysMenuItems(hDlg);
    FillWindowInfo(hDlg, hWnd);
}

static void WindowInfo_OnCommand(HWND hDlg, int id, int code)
{
    HWND hWnd = DialogTarget(hDlg);
    switch (id) {
    case IDCANCEL:
        DestroyWindow(hDlg);
        return;
    case IDC_INFO_HELP:
        ShowHelpTopic(IDC_WI_TOPIC);
        return;
    case IDC_WI_STYLE:
        OpenStyleEditor(hWnd, hDlg);
        RefreshWindowInfo(hDlg);
        return;
    case IDC_WI_MOVE:
        OpenMoveDialog(hWnd, hDlg);
        RefreshWindowInfo(hDlg);
        return;
    case IDC_WI_PARENTBUTTON:
        OpenWindowInfo(GetParent(hWnd));
        return;
    case IDC_WI_REFRESH:
        RefreshWindowInfo(hDlg);
        return;
    }
    // The read-only fields notify their focus and changes: only clicks are commands.
    if (code != 0) return;
    WindowCommand(hWnd, id);
    if (!IsWindow(hWnd))
        PostMessageA(hDlg, WM_CLOSE, 0, 0);
    else
        RefreshWindowInfo(hDlg);
}

static INT_PTR CALLBACK WindowInfoDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        WindowInfo_OnInitDialog(hDlg, (HWND)lParam);
        return FALSE;
    case WM_COMMAND:
        WindowInfo_OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        break;
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
