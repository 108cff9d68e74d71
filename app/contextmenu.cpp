// Command keys and context menus.
#include "app/contextmenu.h"
#include "app/help.h"
#include "app/program.h"
#include "app/textcopy.h"
#include "resource.h"

int ProgramKeyCommand(UINT vk, bool ctrl, bool shift, bool alt)
{
    if (alt) return 0;
    if (ctrl && !shift && vk == 'C') return IDC_CTX_COPY;
    if (ctrl && !shift && vk == 'F') return IDC_CTX_FIND;
    if (!ctrl && vk == VK_F3) return shift ? IDC_CTX_FINDPREV : IDC_CTX_FINDNEXT;
    return 0;
}

int ProgramKeyCommandOf(const MSG* msg)
{
    if (msg->message != WM_KEYDOWN) return 0;
    return ProgramKeyCommand((UINT)msg->wParam, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                             GetKeyState(VK_MENU) < 0);
}

POINT ContextMenuPoint(LPARAM pos, POINT fallback)
{
    if (pos == (LPARAM)-1 || (LOWORD(pos) == 0xFFFF && HIWORD(pos) == 0xFFFF)) return fallback;
    POINT pt = {(short)LOWORD(pos), (short)HIWORD(pos)};
    return pt;
}

int TrackContextMenu(HWND owner, HWND clicked, LPARAM pos, ContextMenuKind kind)
{
    HMENU menu = LoadMenuA(g_hInst, MAKEINTRESOURCEA(kind == CONTEXT_MENU_TREE ? IDM_TREE : IDM_COPY));
    if (!menu) return 0;
    HMENU popup = GetSubMenu(menu, 0);
    if (!clicked || clicked == owner) {
        // The background has no help of its own: "What's This?" and the separator before it go.
        int count = GetMenuItemCount(popup);
        DeleteMenu(popup, IDC_HELP_WHATSTHIS, MF_BYCOMMAND);
        if (count >= 2) DeleteMenu(popup, count - 2, MF_BYPOSITION);
    }
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(clicked ? clicked : owner, &rc);
    POINT corner = {rc.left, rc.top};
    POINT pt = ContextMenuPoint(pos, corner);
    int chosen = popup ? (int)TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y, 0,
                                              owner, NULL)
                       : 0;
    DestroyMenu(menu);
    if (chosen == IDC_HELP_WHATSTHIS) {
        ShowContextHelp(clicked, owner, HELP_WM_HELP);
        return 0;
    }
    return chosen;
}

// The focus is an edit field of the dialog in which a part of the text, not all of it, is
// selected: the user means that part.
static bool FocusHasPartSelected(HWND hDlg)
{
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != hDlg) return false;
    char cls[16] = "";
    GetClassNameA(focus, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Edit") != 0) return false;
    DWORD from = 0, to = 0;
    SendMessageA(focus, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
    int length = GetWindowTextLengthA(focus);
    return to > from && !(from == 0 && (int)to >= length);
}

bool InfoDialogKey(HWND hDlg, int command)
{
    if (command != IDC_CTX_COPY || FocusHasPartSelected(hDlg)) return false;
    CopyDialogFields(hDlg);
    return true;
}

void InfoDialogContextMenu(HWND hDlg, HWND clicked, LPARAM pos)
{
    if (TrackContextMenu(hDlg, clicked, pos, CONTEXT_MENU_COPY) == IDC_CTX_COPY) CopyDialogFields(hDlg);
}
