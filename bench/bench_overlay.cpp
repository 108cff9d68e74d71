// The selection overlay under a stream of pointer moves while the button is down: the time one
// move takes to redraw the frame, its dimension label and the magnifier (the overlay's own
// handler, then whatever it leaves in the queue), over a run of moves across the whole screen.
// Printed beside the bare cost of drawing the magnifier's 120 x 120 square once (a StretchBlt of
// 15 x 15 pixels of a screen copy to a window) and the 16.7 ms of one frame at 60 Hz.
//   bench_overlay.exe [moves (default 1000)]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <vector>

#include "app/program.h"
#include "app/settings.h"
#include "capture/magnifier.h"
#include "capture/overlay.h"
#include "capture/pipeline.h"

static double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)f.QuadPart;
}

static int s_nMoves = 1000;
static std::vector<double> s_moveMs;
static bool s_bMagnifierShown;

// Handles what a move left in the queue (paints, the magnifier's moves), as the overlay's loop
// would before the next move.
static void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            return;
        }
        if (msg.message == WM_TIMER) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void Send(UINT what, int x, int y)
{
    SendMessageA(g_hSelectWnd, WM_SELECTION_POINTER, what, MAKELPARAM(x, y));
}

// Runs inside the overlay's loop once it is up.
static void CALLBACK RunMoves(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(NULL, id);
    if (!g_hSelectWnd) return;
    Send(WM_LBUTTONDOWN, 150, 100);
    DrainQueue();
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; i < s_nMoves; i++) {
        // Small steps down and to the right, wrapping: a frame that grows and starts again.
        int x = 200 + (i * 3) % (cx - 400), y = 150 + (i * 2) % (cy - 300);
        double t0 = Now();
        Send(WM_MOUSEMOVE, x, y);
        DrainQueue();
        GdiFlush();
        s_moveMs.push_back(Now() - t0);
    }
    s_bMagnifierShown = g_hMagnifierWnd && IsWindowVisible(g_hMagnifierWnd);
    PostMessageA(g_hSelectWnd, WM_CHAR, VK_ESCAPE, 0);
}

// The magnifier's square with nothing around it: 15 x 15 pixels of a screen copy stretched to
// 120 x 120 in a window, once per round.
static double BareSquareMs(int rounds)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = g_hInst;
    wc.lpszClassName = "BenchSquare";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "BenchSquare", "", WS_POPUP | WS_VISIBLE,
                             600, 400, 122, 122, NULL, NULL, g_hInst, NULL);
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    HDC copy = CreateCompatibleDC(display);
    HBITMAP bm = CreateCompatibleBitmap(display, 200, 200);
    HGDIOBJ old = SelectObject(copy, bm);
    BitBlt(copy, 0, 0, 200, 200, display, 100, 100, SRCCOPY);
    DrainQueue();
    double total = 0;
    for (int i = 0; i < rounds; i++) {
        double t0 = Now();
        HDC dc = GetDC(w);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 1, 1, 120, 120, copy, 10 + i % 100, 10 + i % 80, 15, 15, SRCCOPY);
        ReleaseDC(w, dc);
        GdiFlush();
        total += Now() - t0;
    }
    SelectObject(copy, old);
    DeleteObject(bm);
    DeleteDC(copy);
    DeleteDC(display);
    DestroyWindow(w);
    UnregisterClassA("BenchSquare", g_hInst);
    return total / rounds;
}

static double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t at = (size_t)(p * (double)(v.size() - 1) + 0.5);
    return v[at];
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    g_hInst = GetModuleHandleA(NULL);
    if (argc > 1) s_nMoves = atoi(argv[1]);
    if (s_nMoves < 1) s_nMoves = 1;
    SetOptionsDefaults(&g_Options);
    SetExtraOptionsDefaults(&g_ExtraOptions);
    g_Options.CaptureArea = 0;
    g_Options.ShowDimensions = 1;
    g_ExtraOptions.ShowMagnifier = 1;

    SetTimer(NULL, 0, 200, RunMoves);
    StartAreaSelection(NULL, 0, 0);
    if (s_moveMs.size() != (size_t)s_nMoves) {
        printf("the overlay did not come up: no display?\n");
        return 1;
    }
    const double bare = BareSquareMs(s_nMoves);
    double sum = 0;
    for (double ms : s_moveMs) sum += ms;
    const double mean = sum / (double)s_moveMs.size();
    const double p95 = Percentile(s_moveMs, 0.95);
    const double frame = 1000.0 / 60.0;

    printf("screen %dx%d, %d moves with the button down: frame, dimension label and magnifier%s\n",
           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), s_nMoves,
           s_bMagnifierShown ? "" : " (the magnifier did not show!)");
    printf("per move:   %.3f ms mean, %.3f ms median, %.3f ms at the 95th percentile, %.3f ms longest\n", mean,
           Percentile(s_moveMs, 0.5), p95, Percentile(s_moveMs, 1.0));
    printf("bare 120 x 120 square (StretchBlt of 15 x 15 pixels to a window): %.3f ms\n", bare);
    printf("ratio move / bare square: %.1f (mean)\n", bare > 0 ? mean / bare : 0.0);
    printf("one frame at 60 Hz: %.2f ms; 95%% of the moves %s within it\n", frame, p95 <= frame ? "are" : "are NOT");
    return 0;
}
