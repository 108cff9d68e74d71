// Pointing at a single pixel.
#include "windows/pointing.h"

// The platform's per-thread scaling calls (Windows 10 1607 and later), looked up once. Their
// context values are handles with fixed values.
typedef HANDLE(WINAPI* SetContextProc)(HANDLE);
typedef HANDLE(WINAPI* GetContextProc)();
typedef int(WINAPI* AwarenessProc)(HANDLE);
static const HANDLE kPerMonitorAwareV2 = (HANDLE)(LONG_PTR)-4;
static const HANDLE kPerMonitorAware = (HANDLE)(LONG_PTR)-3;
static const int kAwarenessPerMonitor = 2;

struct ScalingCalls {
    SetContextProc set;
    GetContextProc get;
    AwarenessProc awareness;
};

static const ScalingCalls& Scaling()
{
    static ScalingCalls s_calls;
    static bool s_bLoaded;
    if (!s_bLoaded) {
        s_bLoaded = true;
        HMODULE user = GetModuleHandleA("user32.dll");
        if (user) {
            s_calls.set = (SetContextProc)(void*)GetProcAddress(user, "SetThreadDpiAwarenessContext");
            s_calls.get = (GetContextProc)(void*)GetProcAddress(user, "GetThreadDpiAwarenessContext");
            s_calls.awareness = (AwarenessProc)(void*)GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext");
        }
    }
    return s_calls;
}

HANDLE BeginPhysicalPixels()
{
    const ScalingCalls& s = Scaling();
    if (!s.set) return NULL;
    // The second form is the older platform's, which does not know the first.
    HANDLE previous = s.set(kPerMonitorAwareV2);
    if (!previous) previous = s.set(kPerMonitorAware);
    return previous;
}

void EndPhysicalPixels(HANDLE previous)
{
    const ScalingCalls& s = Scaling();
    if (previous && s.set) s.set(previous);
}

bool InPhysicalPixels()
{
    const ScalingCalls& s = Scaling();
    return s.get && s.awareness && s.awareness(s.get()) == kAwarenessPerMonitor;
}

bool ArrowKeyStep(UINT vk, bool shift, POINT* step)
{
    const int n = shift ? 10 : 1;
    switch (vk) {
    case VK_LEFT:
        *step = {-n, 0};
        return true;
    case VK_RIGHT:
        *step = {n, 0};
        return true;
    case VK_UP:
        *step = {0, -n};
        return true;
    case VK_DOWN:
        *step = {0, n};
        return true;
    }
    return false;
}

static LONG Clamp(LONG v, LONG lo, LONG hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

POINT StepWithin(POINT pt, POINT step, const RECT& bounds)
{
    POINT to;
    to.x = Clamp(pt.x + step.x, bounds.left, bounds.right - 1);
    to.y = Clamp(pt.y + step.y, bounds.top, bounds.bottom - 1);
    return to;
}

POINT StepCursor(POINT step, const RECT& bounds)
{
    POINT pt = {0, 0};
    GetCursorPos(&pt);
    POINT to = StepWithin(pt, step, bounds);
    SetCursorPos(to.x, to.y);
    return to;
}

bool ShiftIsDown()
{
    // The state of the keys pressed before the one a hook is told of is already up to date.
    return GetAsyncKeyState(VK_SHIFT) < 0;
}
