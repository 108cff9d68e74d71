// The capture pipeline.
#include "capture/pipeline.h"
#include "windows/screen.h"
#include "windows/window_query.h"

RECT g_rcCapture;
HBITMAP g_hCaptureBitmap;
HGLOBAL g_hCaptureDib;

void HideForCapture(HWND window)
{
    NoteLeavingWindow(window);
    // Without SWP_NOACTIVATE the activation would go to another program, which then takes the
    // keyboard and the top of the screen whenever it gets round to it.
    SetWindowPos(window, NULL, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    UpdateAllWindows();
}

RECT ClipToDisplay(const RECT& rc, int horzRes, int vertRes)
{
    RECT r;
    r.left = rc.left > 0 ? rc.left : 0;
    r.top = rc.top > 0 ? rc.top : 0;
    r.right = rc.right < horzRes ? rc.right : horzRes;
    r.bottom = rc.bottom < vertRes ? rc.bottom : vertRes;
    return r;
}

void CaptureScreenRect()
{
    if (IsRectEmpty(&g_rcCapture)) return;
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    HDC mem = CreateCompatibleDC(display);
    RECT r = ClipToDisplay(g_rcCapture, GetDeviceCaps(display, HORZRES), GetDeviceCaps(display, VERTRES));
    int width = r.right - r.left, height = r.bottom - r.top;
    UpdateColors(display);
    // A zero size would give the one-pixel stock bitmap rather than no bitmap at all.
    g_hCaptureBitmap = width > 0 && height > 0 ? CreateCompatibleBitmap(display, width, height) : NULL;
    if (g_hCaptureBitmap) {
        HGDIOBJ old = SelectObject(mem, g_hCaptureBitmap);
        BitBlt(mem, 0, 0, width, height, display, r.left, r.top, SRCCOPY);
        g_hCaptureBitmap = (HBITMAP)SelectObject(mem, old);
    }
    DeleteDC(mem);
    DeleteDC(display);
}

void CaptureClientArea(HWND window)
{
    if (!IsWindow(window)) return;
    GetClientRect(window, &g_rcCapture);
    MapWindowPoints(window, HWND_DESKTOP, (POINT*)&g_rcCapture, 2);
    CaptureScreenRect();
}

void CaptureWindowArea(HWND window)
{
    // The visible frame: the invisible resize borders of a composited desktop would show what
    // lies behind the window.
    if (!WindowFrameBounds(window, &g_rcCapture)) return;
    CaptureScreenRect();
}
