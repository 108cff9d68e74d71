// The Move window dialog. The target lives only in the dialog's caption; OK reads it back from
// there and makes one SetWindowPos call from the check boxes and fields.
#include "windows/move_window.h"
#include "windows/window_query.h"
#include "app/help.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "resource.h"

#include <string.h>

#define MOVE_TEXT_CHARS 512

static INT_PTR CALLBACK MoveWindowDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

INT_PTR OpenMoveDialog(HWND target, HWND owner)
{
    if (!IsWindow(target)) return 0;
    return DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_MOVE_WINDOW), owner, MoveWindowDlgProc, (LPARAM)target);
}

UINT MoveWindowFlags(bool move, bool size, bool order, bool redraw, bool activate, bool frame)
{
    UINT flags = 0;
    if (!move) flags |= SWP_NOMOVE;
    if (!size) flags |= SWP_NOSIZE;
    if (!order) flags |= SWP_NOZORDER;
    if (!redraw) flags |= SWP_NOREDRAW;
    if (!activate) flags |= SWP_NOACTIVATE;
    if (frame) flags |= SWP_FRAMECHANGED;
    return flags;
}

bool ParseInsertAfter(const char* text, DWORD* value)
{
    if (!text) return false;
    while (*text == ' ' || *text == '\t') text++;
    DWORD v = 0;
    int digits = 0;
    for (; *text; text++, digits++) {
        char c = *text;
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else break;
        if (digits == 8) return false;
        v = (v << 4) | (DWORD)d;
    }
    while (*text == ' ' || *text == '\t') text++;
    if (digits == 0 || *text) return false;
    *value = v;
    return true;
}

// The fields each check box governs.
static const struct { int box; int first; int last; } kGroups[] = {
    {IDC_MW_CHANGE, IDC_MW_TITLELABEL, IDC_MW_TITLE},
    {IDC_MW_MOVE, IDC_MW_LEFTLABEL, IDC_MW_TOP},
    {IDC_MW_SIZE, IDC_MW_WIDTHLABEL, IDC_MW_HEIGHT},
    {IDC_MW_ORDER, IDC_MW_AFTERLABEL, IDC_MW_AFTER},
};

static bool Checked(HWND hDlg, int id)
{
    return IsDlgButtonChecked(hDlg, id) == BST_CHECKED;
}

static void EnableGroup(HWND hDlg, int box)
{
    for (const auto& g : kGroups) {
        if (g.box != box) continue;
        bool on = Checked(hDlg, box);
        for (int id = g.first; id <= g.last; id++) EnableWindow(GetDlgItem(hDlg, id), on);
    }
}

// Coordinates as SetWindowPos takes them: a child's in its parent's client area, any other
// window's on the screen. An owned pop-up also has a "parent" (its owner), but its position is
// on the screen all the same.
static HWND CoordinateParent(HWND hWnd)
{
    if (!(GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) return NULL;
    return GetParent(hWnd);
}

static void MoveWindow_OnInitDialog(HWND hDlg, HWND target)
{
    SetDialogIcons(hDlg, IDI_MOVE);
    AddInfoSysMenuItems(hDlg);
    SetTargetCaption(hDlg, IDS_MOVE_CAPTION, target);

    char title[MOVE_TEXT_CHARS];
    QueryWindowText(target, title, sizeof(title));
    SetDlgItemTextA(hDlg, IDC_MW_TITLE, title);

    RECT rc = {0, 0, 0, 0};
    GetWindowRect(target, &rc);
    HWND parent = CoordinateParent(target);
    if (parent) MapWindowPoints(NULL, parent, (POINT*)&rc, 2);
    SetDlgItemInt(hDlg, IDC_MW_LEFT, rc.left, TRUE);
    SetDlgItemInt(hDlg, IDC_MW_TOP, rc.top, TRUE);
    SetDlgItemInt(hDlg, IDC_MW_WIDTH, rc.right - rc.left, TRUE);
    SetDlgItemInt(hDlg, IDC_MW_HEIGHT, rc.bottom - rc.top, TRUE);
    SetDlgItemTextA(hDlg, IDC_MW_AFTER, "00000000");
    CheckDlgButton(hDlg, IDC_MW_REDRAW, BST_CHECKED);
}

static int FieldInt(HWND hDlg, int id)
{
    BOOL ok = FALSE;
    int v = (int)GetDlgItemInt(hDlg, id, &ok, TRUE);
    return ok ? v : 0;
}

static void MoveWindow_OnOk(HWND hDlg)
{
    HWND target = TargetFromCaption(hDlg, IDS_MOVE_CAPTION);
    // Another program's window gets its title with a bounded wait, and none at all when it does
    // not answer; its move is queued.
    bool foreign = BelongsToOtherThread(target);

    if (Checked(hDlg, IDC_MW_CHANGE)) {
        char title[MOVE_TEXT_CHARS] = "";
        GetDlgItemTextA(hDlg, IDC_MW_TITLE, title, sizeof(title));
        if (title[0] && (!foreign || WindowAnswers(target))) SendWindowText(target, title);
    }
    bool move = Checked(hDlg, IDC_MW_MOVE);
    bool size = Checked(hDlg, IDC_MW_SIZE);
    int x = move ? FieldInt(hDlg, IDC_MW_LEFT) : 0;
    int y = move ? FieldInt(hDlg, IDC_MW_TOP) : 0;
    int cx = size ? FieldInt(hDlg, IDC_MW_WIDTH) : 0;
    int cy = size ? FieldInt(hDlg, IDC_MW_HEIGHT) : 0;
    // An After field with no window in it leaves the Z order alone rather than guessing one.
    DWORD after = 0;
    bool order = false;
    if (Checked(hDlg, IDC_MW_ORDER)) {
        char text[32] = "";
        GetDlgItemTextA(hDlg, IDC_MW_AFTER, text, sizeof(text));
        order = ParseInsertAfter(text, &after);
    }
    UINT flags = MoveWindowFlags(move, size, order, Checked(hDlg, IDC_MW_REDRAW),
                                 Checked(hDlg, IDC_MW_ACTIVATE), Checked(hDlg, IDC_MW_FRAME));
    if (foreign) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(target, order ? HandleFromValue(after) : NULL, x, y, cx, cy, flags);
    EndDialog(hDlg, 1);
}

static void MoveWindow_OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDC_MW_CHANGE:
    case IDC_MW_MOVE:
    case IDC_MW_SIZE:
    case IDC_MW_ORDER:
        EnableGroup(hDlg, id);
        break;
    case IDOK:
        MoveWindow_OnOk(hDlg);
        break;
    case IDCANCEL:
        EndDialog(hDlg, 0);
        break;
    case IDC_INFO_HELP:
        ShowHelpTopic(IDC_MW_TOPIC);
        break;
    }
}

static INT_PTR CALLBACK MoveWindowDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        MoveWindow_OnInitDialog(hDlg, (HWND)lParam);
        return FALSE;
    case WM_COMMAND:
        MoveWindow_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_DPICHANGED:
        TakeDpiChange(hDlg, (const RECT*)lParam);
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
