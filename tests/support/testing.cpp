#include "support/testing.h"
#include "app/startup.h"
#include "app/settings.h"

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

// ---- Registry

static const char* kOptionsKey = "Software\\Brenholt\\VantixXP\\Version 1.00";
static const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void ClearStoredSettings()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenholt\\VantixXP");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brenholt");
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "VantixXP (1.00)");
        RegCloseKey(run);
    }
}

DWORD ReadStoredSettings(void* buf, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD bytes = size;
    LONG rc = RegQueryValueExA(key, "Options", NULL, NULL, (BYTE*)buf, &bytes);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? bytes : 0;
}

void WriteStoredSettings(const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Options", 0, REG_BINARY, (const BYTE*)data, size);
    RegCloseKey(key);
}

bool ReadStoredExtra(const char* name, DWORD* type, DWORD* data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    BYTE buf[64] = {0};
    DWORD bytes = sizeof(buf);
    LONG rc = RegQueryValueExA(key, name, NULL, type, buf, &bytes);
    RegCloseKey(key);
    memcpy(data, buf, sizeof(*data));
    return rc == ERROR_SUCCESS;
}

void WriteStoredExtra(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

void DeleteStoredExtra(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

std::string ReadRunAtLogon()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    char buf[1024];
    DWORD bytes = sizeof(buf) - 1;
    LONG rc = RegQueryValueExA(key, "VantixXP (1.00)", NULL, NULL, (BYTE*)buf, &bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return "";
    buf[bytes < sizeof(buf) ? bytes : sizeof(buf) - 1] = '\0';
    return buf;
}

// ---- Windows and processes

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

RECT WindowRect(HWND h)
{
    RECT rc = {0, 0, 0, 0};
    GetWindowRect(h, &rc);
    return rc;
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof(path));
    path[n < sizeof(path) ? n : sizeof(path) - 1] = '\0';
    char* slash = strrchr(path, '\\');
    if (slash) *slash = '\0';
    return path;
}

HANDLE StartProcess(const std::string& commandLine, DWORD* pid)
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    if (!CreateProcessA(NULL, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return NULL;
    CloseHandle(pi.hThread);
    if (pid) *pid = pi.dwProcessId;
    return pi.hProcess;
}

int RunAndWait(const std::string& commandLine, DWORD timeoutMs, const char* outFile)
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    HANDLE out = INVALID_HANDLE_VALUE;
    if (outFile) {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
        out = CreateFileA(outFile, GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, NULL);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = out;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION pi;
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    BOOL ok = CreateProcessA(NULL, cmd.data(), NULL, NULL, outFile != nullptr, 0, NULL, NULL, &si, &pi);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (!ok) return -1;
    CloseHandle(pi.hThread);
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return (int)code;
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

void Xdotool(const std::string& args, DWORD settleMs)
{
    // The application name must be given: without it wine looks for "xdotool.exe".
    static const char kApp[] = "Z:\\usr\\bin\\xdotool";
    std::string line = std::string("xdotool ") + args;
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(kApp, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
        ADD_FAILURE() << "xdotool must be installed";
        return;
    }
    // For a Unix program wine hands back no process handle and a thread value that is no
    // handle of the child: closing it would close a handle of ours (standard output, say).
    if (pi.hProcess) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    Sleep(settleMs);
}

std::string VantixPath()
{
    return ProgramFolder() + "\\Vantix.exe";
}

HWND VantixHiddenWindow()
{
    return FindWindowA("Brenholt_Vantix_Main", "Brenholt_Vantix_Main");
}

VantixProcess::VantixProcess(const char* args)
{
    std::string cmd = "\"" + VantixPath() + "\"";
    if (args && *args) cmd += std::string(" ") + args;
    process_ = StartProcess(cmd, &pid_);
}

VantixProcess::~VantixProcess()
{
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

HWND VantixProcess::Dialog(const char* caption, DWORD ms) const
{
    return WaitForTopWindow(pid_, "#32770", caption, true, ms);
}

bool VantixProcess::Exited(DWORD ms, DWORD* code) const
{
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(process_, code);
    return true;
}

bool VantixProcess::Idle(DWORD ms) const
{
    return process_ && WaitForInputIdle(process_, ms) == 0;
}
