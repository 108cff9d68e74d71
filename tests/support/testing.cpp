#include "support/testing.h"
#include "app/startup.h"
#include "support/processes.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

void InitTestSupport()
{
    g_hInst = GetModuleHandleA(NULL);
}

void PumpMessages(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchProgramMessage(&msg);
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

// ---- Message boxes

static int s_answer;
static HHOOK s_hook;
static std::vector<BoxRecord> s_boxes;

// The MB_ button and icon flags a box was made with, read back from what it shows: its buttons,
// and its icon compared with the shared system icons (the icon static is 0x14 on Windows and
// 0x440 under Wine).
static UINT BoxStyleOf(HWND box)
{
    UINT style = 0;
    bool ok = GetDlgItem(box, IDOK) != NULL, cancel = GetDlgItem(box, IDCANCEL) != NULL;
    bool yes = GetDlgItem(box, IDYES) != NULL, no = GetDlgItem(box, IDNO) != NULL;
    if (yes && no) style = cancel ? MB_YESNOCANCEL : MB_YESNO;
    else if (ok && cancel) style = MB_OKCANCEL;
    else if (ok) style = MB_OK;
    HICON icon = NULL;
    const int iconIds[] = {0x14, 0x440};
    for (int id : iconIds) {
        HWND stat = GetDlgItem(box, id);
        if (stat && !icon) icon = (HICON)SendMessageA(stat, STM_GETICON, 0, 0);
    }
    const struct { LPCSTR id; UINT flag; } icons[] = {
        {IDI_HAND, MB_ICONHAND}, {IDI_QUESTION, MB_ICONQUESTION},
        {IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_ASTERISK, MB_ICONASTERISK},
    };
    for (const auto& i : icons)
        if (icon && icon == LoadIconA(NULL, i.id)) style |= i.flag;
    return style;
}

static LRESULT CALLBACK AnswerCbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = (HWND)wParam;
        char cls[32];
        GetClassNameA(box, cls, sizeof(cls));
        if (strcmp(cls, "#32770") == 0 && GetDlgItem(box, 0xFFFF)) {
            BoxRecord r;
            char buf[1024];
            GetWindowTextA(box, buf, sizeof(buf));
            r.caption = buf;
            GetDlgItemTextA(box, 0xFFFF, buf, sizeof(buf));
            r.text = buf;
            r.style = BoxStyleOf(box);
            s_boxes.push_back(r);
            int id = s_answer;
            if (!GetDlgItem(box, id)) id = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
        }
    }
    return CallNextHookEx(s_hook, code, wParam, lParam);
}

MessageBoxAnswerer::MessageBoxAnswerer(int answer)
{
    s_answer = answer;
    s_boxes.clear();
    s_hook = SetWindowsHookExA(WH_CBT, AnswerCbtProc, NULL, GetCurrentThreadId());
    hook_ = s_hook;
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    UnhookWindowsHookEx(hook_);
    s_hook = NULL;
}

const std::vector<BoxRecord>& MessageBoxAnswerer::Boxes() const
{
    return s_boxes;
}

// ---- Windows

struct TopWindowSearch {
    DWORD pid;
    const char* cls;
    const char* title;
    bool visibleOnly;
    HWND found;
};

static BOOL CALLBACK FindTopWindowProc(HWND h, LPARAM lp)
{
    TopWindowSearch* s = (TopWindowSearch*)lp;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || (s->visibleOnly && !IsWindowVisible(h))) return TRUE;
    char text[256];
    if (s->cls && (!GetClassNameA(h, text, sizeof(text)) || strcmp(text, s->cls) != 0)) return TRUE;
    if (s->title) {
        GetWindowTextA(h, text, sizeof(text));
        if (strcmp(text, s->title) != 0) return TRUE;
    }
    s->found = h;
    return FALSE;
}

HWND FindTopWindow(DWORD pid, const char* cls, const char* title, bool visibleOnly)
{
    TopWindowSearch s = {pid, cls, title, visibleOnly, NULL};
    EnumWindows(FindTopWindowProc, (LPARAM)&s);
    return s.found;
}

HWND WaitForTopWindow(DWORD pid, const char* cls, const char* title, bool visibleOnly, DWORD ms)
{
    HWND found = NULL;
    WaitUntil([&] { return (found = FindTopWindow(pid, cls, title, visibleOnly)) != NULL; }, ms);
    return found;
}

std::string ClassOf(HWND w)
{
    char cls[256] = "";
    GetClassNameA(w, cls, sizeof(cls));
    return cls;
}

RECT WindowRect(HWND h)
{
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(h, &rc);
    return rc;
}

POINT Center(const RECT& rc)
{
    POINT p = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return p;
}

bool Answers(HWND w, DWORD ms)
{
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, ms, &r) != 0;
}

std::string WindowText(HWND w)
{
    char buf[2048] = "";
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof(buf), (LPARAM)buf, SMTO_ABORTIFHUNG, 5000, &r);
    buf[sizeof(buf) - 1] = '\0';
    return buf;
}

std::string Hex4(DWORD v)
{
    char buf[16];
    snprintf(buf, sizeof(buf), "%04X", (unsigned)v);
    return buf;
}

// ---- Files

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    path[n < sizeof(path) ? n : sizeof(path) - 1] = '\0';
    char* slash = strrchr(path, '\\');
    if (slash) *slash = '\0';
    return path;
}

std::string TestFile(const std::string& name)
{
    return ProgramFolder() + "\\" + name;
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) text.append(buf, n);
    fclose(f);
    return text;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---- Real input

void Xdotool(const std::string& args, DWORD settleMs)
{
    // The application name must be given: without it wine looks for "xdotool.exe".
    if (!StartUnixProgram("Z:\\usr\\bin\\xdotool", "xdotool " + args)) {
        ADD_FAILURE() << "xdotool must be installed";
        return;
    }
    Sleep(settleMs);
}

void ClickAt(POINT p, int button, DWORD settleMs)
{
    Xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click " + std::to_string(button),
            settleMs);
}

void ClickCenter(HWND w, int button, DWORD settleMs)
{
    ClickAt(Center(WindowRect(w)), button, settleMs);
}

void MoveMouseTo(POINT p, DWORD settleMs)
{
    Xdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y), 0);
    WaitUntil([&] {
        POINT now;
        return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    }, 3000);
    if (settleMs) Sleep(settleMs);
}

// ---- The clipboard

std::string ClipboardText()
{
    std::string text;
    // The writer may still hold it open for a moment.
    bool opened = WaitUntil([] { return OpenClipboard(NULL) != FALSE; }, 2000);
    if (!opened) return text;
    HANDLE h = GetClipboardData(CF_TEXT);
    const char* p = h ? (const char*)GlobalLock(h) : NULL;
    if (p) {
        SIZE_T size = GlobalSize(h);
        text.assign(p, strnlen(p, size));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

std::string WaitForClipboardText(DWORD before, DWORD ms)
{
    if (!WaitUntil([&] { return GetClipboardSequenceNumber() != before && IsClipboardFormatAvailable(CF_TEXT); }, ms))
        return "";
    return ClipboardText();
}

// ---- Focus and menus of any process

HWND FocusOf(HWND w)
{
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    return GetGUIThreadInfo(GetWindowThreadProcessId(w, NULL), &gui) ? gui.hwndFocus : NULL;
}

HWND WaitForMenu(DWORD pid, DWORD ms)
{
    return WaitForTopWindow(pid, "#32768", NULL, true, ms);
}
