// Quillet: a WH_GETMESSAGE hook on the target window's thread makes the platform load this
// library into the owning process; the hook procedure changes the window long there and
// signals a named event. Nothing crosses the boundary but the shared section below.
#include "hooklib/quillet.h"

#define QUILLET_NAME "QuilletUniqueString"

// One copy for every process that has the library loaded: the caller writes, the hook reads.
#if defined(_MSC_VER)
#pragma data_seg(".shared")
static char  s_szName[20] = QUILLET_NAME;
static HHOOK s_hHook = NULL;
static UINT  s_uMsg = 0;
static volatile LONG s_lRequest = 0;
#pragma data_seg()
#pragma comment(linker, "/SECTION:.shared,RWS")
#else
#define SHARED __attribute__((section(".shared"), shared))
static char  s_szName[20] SHARED = QUILLET_NAME;
static HHOOK s_hHook SHARED = NULL;
static UINT  s_uMsg SHARED = 0;
static volatile LONG s_lRequest SHARED = 0;
#endif

// Every request carries the low word of its number beside the index in the posted message. A
// request given up on a hung target stays in its queue; when the target wakes while a later
// request's hook is in place, only the message of that later request may change the window.
static WORD RequestTag(LONG request)
{
    return (WORD)(request & 0xFFFF);
}

static HINSTANCE s_hModule;

typedef BOOL(WINAPI* IsWow64Fn)(HANDLE, PBOOL);

// True when the process that owns the window runs with another bitness than this one. A hook
// of this library cannot be loaded there; on 64-bit Windows the platform would run it in the
// caller instead, where it could never see the target's message, so the call would only wait
// out its second. Unknown (no access, or a system without WOW64) counts as the same bitness.
static bool OtherBitness(HWND hWnd)
{
    IsWow64Fn isWow64 = (IsWow64Fn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    if (!isWow64) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    HANDLE process = OpenProcess(0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */, FALSE, pid);
    if (!process) process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return false;
    BOOL targetWow64 = FALSE, selfWow64 = FALSE;
    bool known = isWow64(process, &targetWow64) && isWow64(GetCurrentProcess(), &selfWow64);
    CloseHandle(process);
    return known && !targetWow64 != !selfWow64;
}

static LRESULT CALLBACK GetMsgHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = (const MSG*)lParam;
    if (msg && s_uMsg != 0 && msg->message == s_uMsg &&
        HIWORD((DWORD)msg->lParam) == RequestTag(s_lRequest)) {
        SetWindowLongA(msg->hwnd, (short)LOWORD((DWORD)msg->lParam), (LONG)msg->wParam);
        HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, s_szName);
        if (done) {
            SetEvent(done);
            CloseHandle(done);
        }
    }
    return CallNextHookEx(s_hHook, code, wParam, lParam);
}

static LONG ChangeWindowLong(HWND hWnd, int index, LONG value)
{
    HANDLE done = CreateEventA(NULL, TRUE, FALSE, s_szName);
    if (!done) return -1;
    // The previous target may not have closed its handle yet: then this is the old event,
    // still signalled, and the wait below would return before this request was carried out.
    ResetEvent(done);
    UINT msg = RegisterWindowMessageA(s_szName);
    if (!msg) {
        CloseHandle(done);
        return -1;
    }
    s_uMsg = msg;
    if (!IsWindow(hWnd)) {
        CloseHandle(done);
        return -1;
    }
    LONG current = GetWindowLongA(hWnd, index);
    if (current == value) {
        CloseHandle(done);
        return current;
    }
    if (OtherBitness(hWnd)) {
        CloseHandle(done);
        return -1;
    }
    DWORD thread = GetWindowThreadProcessId(hWnd, NULL);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, GetMsgHookProc, s_hModule, thread);
    if (!hook) {
        CloseHandle(done);
        return -1;
    }
    s_hHook = hook;
    WORD tag = RequestTag(InterlockedIncrement(&s_lRequest));
    PostMessageA(hWnd, msg, (WPARAM)value, (LPARAM)(DWORD)MAKELONG((WORD)(short)index, tag));
    // A hung or busy target simply keeps its value: the wait is bounded.
    WaitForSingleObject(done, 1000);
    UnhookWindowsHookEx(hook);
    CloseHandle(done);
    return GetWindowLongA(hWnd, index);
}

extern "C" LONG WINAPI SetStyle(HWND hWnd, LONG style)
{
    return ChangeWindowLong(hWnd, GWL_STYLE, style);
}

extern "C" LONG WINAPI SetExtStyle(HWND hWnd, LONG exStyle)
{
    return ChangeWindowLong(hWnd, GWL_EXSTYLE, exStyle);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInst, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) s_hModule = hInst;
    return TRUE;
}
