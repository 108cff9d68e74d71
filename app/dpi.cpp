// DPI functions bound from user32 once, with the older platform's answers as fallbacks.
#include "app/dpi.h"

#include <stdint.h>

int ScaleBetween(int value, int from, int to)
{
    if (from == 0) return value;
    int64_t num = (int64_t)value * to, den = from;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    // Halves round away from zero, as MulDiv rounds them.
    int64_t q = (num < 0 ? -num : num) + den / 2;
    q /= den;
    if (num < 0) q = -q;
    if (q > INT32_MAX) return INT32_MAX;
    if (q < INT32_MIN) return INT32_MIN;
    return (int)q;
}

int ScaleForDpi(int value, UINT dpi)
{
    return ScaleBetween(value, (int)kBaseDpi, (int)dpi);
}

// ---- Run-time binding

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
typedef UINT(WINAPI* GetDpiForSystemFn)();
typedef int(WINAPI* GetSystemMetricsForDpiFn)(int, UINT);
typedef BOOL(WINAPI* AdjustWindowRectExForDpiFn)(RECT*, DWORD, BOOL, DWORD, UINT);
typedef HANDLE(WINAPI* GetThreadDpiAwarenessContextFn)();
typedef int(WINAPI* GetAwarenessFromDpiAwarenessContextFn)(HANDLE);

static struct {
    bool bound;
    GetDpiForWindowFn getDpiForWindow;
    GetDpiForSystemFn getDpiForSystem;
    GetSystemMetricsForDpiFn getSystemMetricsForDpi;
    AdjustWindowRectExForDpiFn adjustWindowRectExForDpi;
    GetThreadDpiAwarenessContextFn getThreadDpiAwarenessContext;
    GetAwarenessFromDpiAwarenessContextFn getAwarenessFromContext;
} s_dpi;

template <typename T> static void Bind(HMODULE lib, T* fn, const char* name)
{
    *fn = lib ? (T)(void*)GetProcAddress(lib, name) : NULL;
}

// user32 is loaded in every process with a window: no library is loaded here.
static void BindDpiFunctions()
{
    if (s_dpi.bound) return;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    Bind(user32, &s_dpi.getDpiForWindow, "GetDpiForWindow");
    Bind(user32, &s_dpi.getDpiForSystem, "GetDpiForSystem");
    Bind(user32, &s_dpi.getSystemMetricsForDpi, "GetSystemMetricsForDpi");
    Bind(user32, &s_dpi.adjustWindowRectExForDpi, "AdjustWindowRectExForDpi");
    Bind(user32, &s_dpi.getThreadDpiAwarenessContext, "GetThreadDpiAwarenessContext");
    Bind(user32, &s_dpi.getAwarenessFromContext, "GetAwarenessFromDpiAwarenessContext");
    s_dpi.bound = true;
}

static UINT ScreenDpi()
{
    HDC dc = GetDC(NULL);
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(NULL, dc);
    return dpi > 0 ? (UINT)dpi : kBaseDpi;
}

UINT SystemDpi()
{
    BindDpiFunctions();
    UINT dpi = s_dpi.getDpiForSystem ? s_dpi.getDpiForSystem() : 0;
    return dpi ? dpi : ScreenDpi();
}

UINT DpiOfWindow(HWND hWnd)
{
    BindDpiFunctions();
    UINT dpi = (s_dpi.getDpiForWindow && hWnd) ? s_dpi.getDpiForWindow(hWnd) : 0;
    return dpi ? dpi : SystemDpi();
}

int MetricForDpi(int index, UINT dpi)
{
    BindDpiFunctions();
    if (s_dpi.getSystemMetricsForDpi) return s_dpi.getSystemMetricsForDpi(index, dpi);
    return GetSystemMetrics(index);
}

BOOL AdjustWindowRectForDpi(RECT* rc, DWORD style, BOOL menu, DWORD exStyle, UINT dpi)
{
    BindDpiFunctions();
    if (s_dpi.adjustWindowRectExForDpi) return s_dpi.adjustWindowRectExForDpi(rc, style, menu, exStyle, dpi);
    return AdjustWindowRectEx(rc, style, menu, exStyle);
}

bool ThreadIsPerMonitorAware()
{
    BindDpiFunctions();
    if (!s_dpi.getThreadDpiAwarenessContext || !s_dpi.getAwarenessFromContext) return false;
    // DPI_AWARENESS_PER_MONITOR_AWARE
    return s_dpi.getAwarenessFromContext(s_dpi.getThreadDpiAwarenessContext()) == 2;
}

HFONT CreateFontForDpi(HFONT font, UINT fromDpi, UINT toDpi)
{
    if (fromDpi == toDpi || !fromDpi || !toDpi) return NULL;
    LOGFONTA lf;
    if (GetObjectA(font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT), sizeof(lf), &lf) != sizeof(lf)) return NULL;
    lf.lfHeight = ScaleBetween(lf.lfHeight, (int)fromDpi, (int)toDpi);
    lf.lfWidth = ScaleBetween(lf.lfWidth, (int)fromDpi, (int)toDpi);
    return CreateFontIndirectA(&lf);
}
