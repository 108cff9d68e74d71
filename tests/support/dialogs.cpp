#include "support/dialogs.h"
#include "app/startup.h"

#include <string.h>

// ---- Finding dialogs

struct CaptionSearch {
    const char* caption;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectCaptionProc(HWND h, LPARAM lp)
{
    CaptionSearch* s = (CaptionSearch*)lp;
    char cls[32] = "", text[256] = "";
    GetClassNameA(h, cls, sizeof(cls));
    GetWindowTextA(h, text, sizeof(text));
    if (strcmp(cls, "#32770") == 0 && strcmp(text, s->caption) == 0) s->found.push_back(h);
    return TRUE;
}

std::vector<HWND> ThreadDialogs(const char* caption)
{
    CaptionSearch s = {caption, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectCaptionProc, (LPARAM)&s);
    return s.found;
}

HWND NewDialog(const char* caption, const std::vector<HWND>& before)
{
    for (HWND h : ThreadDialogs(caption)) {
        bool old = false;
        for (HWND b : before) old = old || b == h;
        if (!old) return h;
    }
    return NULL;
}

// ---- Controls

std::string DlgText(HWND dlg, int id)
{
    HWND control = GetDlgItem(dlg, id);
    std::vector<char> buf((size_t)GetWindowTextLengthA(control) + 1, '\0');
    GetDlgItemTextA(dlg, id, buf.data(), (int)buf.size());
    return buf.data();
}

void PressButton(HWND dlg, int id)
{
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
}

void ClickCheckBox(HWND dlg, int id)
{
    CheckDlgButton(dlg, id, IsDlgButtonChecked(dlg, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    PressButton(dlg, id);
}

// ---- Keys and menus

void PressKeyIn(HWND focus, UINT vk, bool ctrl, bool shift)
{
    SetFocus(focus);
    BYTE saved[256], keys[256];
    GetKeyboardState(saved);
    memcpy(keys, saved, sizeof(keys));
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg;
    ZeroMemory(&msg, sizeof(msg));
    msg.hwnd = focus;
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    msg.lParam = 1;
    msg.time = GetTickCount();
    DispatchProgramMessage(&msg);
    // A character the key made is handled while the keys are still held.
    MSG more;
    while (PeekMessageA(&more, NULL, WM_CHAR, WM_CHAR, PM_REMOVE)) DispatchProgramMessage(&more);
    SetKeyboardState(saved);
}

namespace {

struct MenuChoice {
    UINT command = 0;
    UINT_PTR timer = 0;
    DWORD asked = 0;
    bool showed = false;
    std::vector<std::string> items;
};
MenuChoice s_menu;

void CALLBACK ChooseMenuProc(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menuWnd = FindWindowA("#32768", NULL);
    DWORD pid = 0;
    if (menuWnd) GetWindowThreadProcessId(menuWnd, &pid);
    if (!menuWnd || !IsWindowVisible(menuWnd) || pid != GetCurrentProcessId()) {
        if (GetTickCount() - s_menu.asked > 10000) {
            KillTimer(NULL, id);
            s_menu.timer = 0;
        }
        return;
    }
    KillTimer(NULL, id);
    s_menu.timer = 0;
    HMENU menu = (HMENU)SendMessageA(menuWnd, MN_GETHMENU, 0, 0);
    int count = GetMenuItemCount(menu), position = -1, selectable = 0;
    s_menu.items.clear();
    for (int i = 0; i < count; i++) {
        char text[128] = "";
        MENUITEMINFOA mii;
        ZeroMemory(&mii, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_FTYPE;
        GetMenuItemInfoA(menu, (UINT)i, TRUE, &mii);
        bool separator = (mii.fType & MFT_SEPARATOR) != 0;
        GetMenuStringA(menu, (UINT)i, text, sizeof(text), MF_BYPOSITION);
        s_menu.items.push_back(separator ? "-" : text);
        if (separator) continue;
        selectable++;
        if (mii.wID == s_menu.command && position < 0) position = selectable;
    }
    s_menu.showed = position > 0;
    if (!s_menu.showed) {
        PostMessageA(menuWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    for (int i = 0; i < position; i++) PostMessageA(menuWnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWnd, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

void ChooseFromNextMenu(UINT command)
{
    if (s_menu.timer) KillTimer(NULL, s_menu.timer);
    s_menu.command = command;
    s_menu.asked = GetTickCount();
    s_menu.showed = false;
    s_menu.items.clear();
    s_menu.timer = SetTimer(NULL, 0, 50, ChooseMenuProc);
}

bool NextMenuShowedItem()
{
    return s_menu.showed;
}

std::vector<std::string> LastMenuItems()
{
    return s_menu.items;
}

// ---- Acting inside a modal dialog

namespace {

struct ModalAct {
    std::function<void(HWND)> act;
    std::string prefix;
    DWORD guardMs = 10000;
    DWORD asked = 0;       // when the act was handed over
    UINT_PTR finder = 0;   // the timer that looks for the dialog
    UINT_PTR guard = 0;    // the timer that cancels a dialog left open
    ModalActResult result = {NULL, 0, false};
};
ModalAct s_modal;

struct PrefixSearch {
    const char* prefix;
    HWND found;
};

BOOL CALLBACK FindByPrefixProc(HWND h, LPARAM lp)
{
    PrefixSearch* s = (PrefixSearch*)lp;
    char text[256] = "";
    GetWindowTextA(h, text, sizeof(text));
    if (IsWindowVisible(h) && strncmp(text, s->prefix, strlen(s->prefix)) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ModalGuardProc(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dlg = s_modal.result.dialog;
    if (IsWindow(dlg) && GetTickCount() - s_modal.result.began < s_modal.guardMs) return;
    KillTimer(NULL, id);
    if (s_modal.guard == id) s_modal.guard = 0;
    if (!IsWindow(dlg)) return;
    s_modal.result.guardCancelled = true;
    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
}

void CALLBACK ModalFinderProc(HWND, UINT, UINT_PTR id, DWORD)
{
    PrefixSearch s = {s_modal.prefix.c_str(), NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindByPrefixProc, (LPARAM)&s);
    if (!s.found) {
        if (GetTickCount() - s_modal.asked > s_modal.guardMs) CancelModalAct();
        return;
    }
    KillTimer(NULL, id);
    s_modal.finder = 0;
    if (s_modal.guard) KillTimer(NULL, s_modal.guard);
    s_modal.result.dialog = s.found;
    s_modal.result.began = GetTickCount();
    s_modal.guard = SetTimer(NULL, 0, 200, ModalGuardProc);
    auto act = s_modal.act;
    s_modal.act = nullptr;
    if (act) act(s.found);
}

} // namespace

void CancelModalAct()
{
    if (s_modal.finder) KillTimer(NULL, s_modal.finder);
    s_modal.finder = 0;
    s_modal.act = nullptr;
}

void ActInModal(const char* captionPrefix, std::function<void(HWND)> act, DWORD guardMs)
{
    CancelModalAct();
    s_modal.act = act;
    s_modal.prefix = captionPrefix;
    s_modal.guardMs = guardMs;
    s_modal.asked = GetTickCount();
    s_modal.result = {NULL, 0, false};
    s_modal.finder = SetTimer(NULL, 0, 30, ModalFinderProc);
}

ModalActResult LastModalAct()
{
    return s_modal.result;
}
