// Questions to any window, bounded in time.
#include "windows/window_query.h"
#include "processes/snapshot.h"
#include "app/platform.h"
#include "app/resstring.h"
#include "resource.h"

#include <stdio.h>
#include <string.h>

// Bound at run time: not every SDK's import library names the function.
void ReadKeptCaption(HWND hWnd, char* buf, int size)
{
    typedef int (WINAPI *InternalTextFn)(HWND, LPWSTR, int);
    static InternalTextFn s_pfnInternalText =
        (InternalTextFn)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "InternalGetWindowText");
    buf[0] = '\0';
    if (!s_pfnInternalText) return;
    WCHAR wide[WINDOW_TEXT_CHARS];
    int n = s_pfnInternalText(hWnd, wide, WINDOW_TEXT_CHARS);
    if (n <= 0) return;
    if (n >= WINDOW_TEXT_CHARS) n = WINDOW_TEXT_CHARS - 1;
    wide[n] = L'\0';
    // Room for every character as a double-byte one, then cut on a whole character.
    char ansi[2 * WINDOW_TEXT_CHARS];
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), NULL, NULL)) return;
    size_t keep = WholeCharBytes(CP_ACP, ansi, (size_t)size - 1);
    memcpy(buf, ansi, keep);
    buf[keep] = '\0';
}

bool QueryWindowText(HWND hWnd, char* buf, int size)
{
    // A window of another thread of this process gets the buffer itself, not a copy, and may
    // write it after the wait has given up: it writes into this buffer, which stays valid.
    static char s_received[WINDOW_TEXT_CHARS];
    if (!buf || size <= 0) return false;
    buf[0] = '\0';
    if (size > (int)sizeof(s_received)) size = sizeof(s_received);
    s_received[0] = '\0';
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXT, (WPARAM)size, (LPARAM)s_received, SMTO_ABORTIFHUNG,
                             WINDOW_ANSWER_MS, &result)) {
        ReadKeptCaption(hWnd, buf, size);
        return false;
    }
    s_received[size - 1] = '\0';
    lstrcpynA(buf, s_received, size);
    return true;
}

bool WindowAnswers(HWND hWnd)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &result) != 0;
}

bool BelongsToOtherThread(HWND hWnd)
{
    return GetWindowThreadProcessId(hWnd, NULL) != GetCurrentThreadId();
}

void ShowWindowNoWait(HWND hWnd, int command)
{
    if (BelongsToOtherThread(hWnd))
        ShowWindowAsync(hWnd, command);
    else
        ShowWindow(hWnd, command);
}

bool SendWindowText(HWND hWnd, const char* text)
{
    // As for WM_GETTEXT: a thread of this process reads the text itself, perhaps late.
    static char s_sent[WINDOW_TEXT_CHARS];
    if (!text) return false;
    if (!BelongsToOtherThread(hWnd)) return SendMessageA(hWnd, WM_SETTEXT, 0, (LPARAM)text) != 0;
    lstrcpynA(s_sent, text, sizeof(s_sent));
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hWnd, WM_SETTEXT, 0, (LPARAM)s_sent, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &result) &&
           result;
}

DWORD OwnerProcessId(HWND hWnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    return pid;
}

const char* OwnerProcessLabel(HWND hWnd, bool parenthesised)
{
    static char s_label[BASE_NAME_CHARS + 3];
    const DWORD pid = OwnerProcessId(hWnd);
    // Asked of the process itself where it can be read: a snapshot of every process is taken only
    // for one that cannot.
    char path[MODULE_PATH_CHARS];
    const char* exe = ReadProcessImagePath(pid, path, sizeof(path)) ? path : ProcessEntryFor(pid)->szExeFile;
    const char* name = FileNamePart(exe);
    snprintf(s_label, sizeof(s_label), parenthesised ? "(%s)" : "%s", name);
    return s_label;
}

bool IsChildOrOwned(HWND hWnd)
{
    return GetWindow(hWnd, GW_OWNER) != NULL || GetParent(hWnd) != NULL ||
           (GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0;
}

// A button repaints whenever its text is set: a label that stays what it is is left alone.
static void SetLabelText(HWND hDlg, int id, const char* text)
{
    char current[64];
    if (GetDlgItemTextA(hDlg, id, current, sizeof(current)) < (int)sizeof(current) - 1 && strcmp(current, text) == 0)
        return;
    SetDlgItemTextA(hDlg, id, text);
}

void SetWindowToggleLabels(HWND hDlg, HWND hWnd, int minimizeId, int hideId, int onTopId)
{
    SetLabelText(hDlg, minimizeId, LoadResString(IsIconic(hWnd) ? IDS_RESTORE : IDS_MINIMIZE));
    SetLabelText(hDlg, hideId, LoadResString(IsWindowVisible(hWnd) ? IDS_HIDE : IDS_SHOW));
    bool topmost = hWnd && (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetLabelText(hDlg, onTopId, LoadResString(topmost ? IDS_NOTTOPMOST : IDS_TOPMOST));
}

DWORD HandleValue(HWND hWnd)
{
    return (DWORD)(ULONG_PTR)hWnd;
}

HWND HandleFromValue(DWORD value)
{
    return (HWND)(LONG_PTR)(LONG)value;
}

// Room for any caption format of the string table and a handle in it.
#define TARGET_FORMAT_CHARS  128
#define TARGET_CAPTION_CHARS 256

void SetTargetCaption(HWND hDlg, UINT formatId, HWND target)
{
    char format[TARGET_FORMAT_CHARS];
    char caption[TARGET_CAPTION_CHARS];
    lstrcpynA(format, LoadResString(formatId), sizeof(format));
    snprintf(caption, sizeof(caption), format, (unsigned int)HandleValue(target));
    SetWindowTextA(hDlg, caption);
}

HWND TargetFromCaption(HWND hDlg, UINT formatId)
{
    char format[TARGET_FORMAT_CHARS];
    char caption[TARGET_CAPTION_CHARS] = "";
    GetWindowTextA(hDlg, caption, sizeof(caption));
    lstrcpynA(format, LoadResString(formatId), sizeof(format));
    unsigned int handle = 0;
    if (sscanf(caption, format, &handle) != 1) return NULL;
    return HandleFromValue(handle);
}

size_t WholeCharBytes(UINT codePage, const char* s, size_t maxBytes)
{
    size_t n = 0;
    while (s[n]) {
        size_t step = (IsDBCSLeadByteEx(codePage, (BYTE)s[n]) && s[n + 1]) ? 2 : 1;
        if (n + step > maxBytes) break;
        n += step;
    }
    return n;
}

// ---- The desktop window manager

// The window manager's attributes asked here (DWMWINDOWATTRIBUTE): not every SDK names them.
static const DWORD kDwmExtendedFrameBounds = 9;
static const DWORD kDwmCloaked = 14;

// Bound once: the library exists from Windows Vista on, and the program runs without it. An
// attribute the library does not implement (Wine's) is not asked again: a tree fill asks once
// per top-level window.
static HRESULT WINAPI DwmAttributeFromSystem(HWND hWnd, DWORD attribute, void* value, DWORD size)
{
    static bool s_bBound;
    static DwmAttributeFn s_pfnSystem;
    static DWORD s_dwNotImplemented;   // one bit per attribute below 32
    if (!s_bBound) {
        s_bBound = true;
        HMODULE dwm = LoadSystemLibrary("dwmapi.dll");
        if (dwm) s_pfnSystem = (DwmAttributeFn)(void*)GetProcAddress(dwm, "DwmGetWindowAttribute");
    }
    DWORD bit = attribute < 32 ? 1u << attribute : 0;
    if (!s_pfnSystem || (s_dwNotImplemented & bit)) return E_NOTIMPL;
    HRESULT hr = s_pfnSystem(hWnd, attribute, value, size);
    if (hr == E_NOTIMPL) s_dwNotImplemented |= bit;
    return hr;
}

DwmAttributeFn g_pfnDwmGetWindowAttribute = DwmAttributeFromSystem;

RECT ChooseFrameBounds(const RECT& window, const RECT* frame)
{
    if (!frame || frame->left >= frame->right || frame->top >= frame->bottom) return window;
    if (frame->left < window.left || frame->top < window.top || frame->right > window.right ||
        frame->bottom > window.bottom)
        return window;
    return *frame;
}

bool WindowFrameBounds(HWND hWnd, RECT* rc)
{
    RECT window;
    if (!rc || !GetWindowRect(hWnd, &window)) return false;
    RECT frame = {0, 0, 0, 0};
    bool answered = g_pfnDwmGetWindowAttribute(hWnd, kDwmExtendedFrameBounds, &frame, sizeof(frame)) == S_OK;
    *rc = ChooseFrameBounds(window, answered ? &frame : NULL);
    return true;
}

bool IsWindowCloaked(HWND hWnd)
{
    DWORD cloaked = 0;
    return g_pfnDwmGetWindowAttribute(hWnd, kDwmCloaked, &cloaked, sizeof(cloaked)) == S_OK && cloaked != 0;
}
