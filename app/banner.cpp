// Start-up banner.
#include "app/banner.h"
#include "app/dpi.h"
#include "app/program.h"
#include "resource.h"

static HWND s_hBanner;
static bool s_bBannerHidden;

POINT BannerPosition(int screenW, int screenH, int bitmapW, int bitmapH)
{
    POINT pt = {(screenW - bitmapW) / 2, (screenH - bitmapH) / 2};
    return pt;
}

static LRESULT CALLBACK BannerWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

static HWND CreateBannerWindow(int w, int h)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.style = CS_SAVEBITS | CS_DBLCLKS;
    wc.lpfnWndProc = BannerWndProc;
    wc.hInstance = g_hInst;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = BANNER_CLASS;
    RegisterClassA(&wc);
    POINT pt = BannerPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), w, h);
    HWND hWnd = CreateWindowExA(WS_EX_TOPMOST, BANNER_CLASS, "", WS_POPUP, pt.x, pt.y, w, h,
                                NULL, NULL, g_hInst, NULL);
    if (hWnd) ShowWindow(hWnd, SW_SHOW);
    return hWnd;
}

// Paints bitmap 101 on the given banner stretched to its client area, or with none creates the
// banner first.
static void DrawBanner(HWND hWnd)
{
    HBITMAP bmp = (HBITMAP)LoadImageA(g_hInst, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    if (!bmp) return;
    BITMAP bm;
    if (GetObjectA(bmp, sizeof(bm), &bm) != sizeof(bm)) {
        DeleteObject(bmp);
        return;
    }
    // The bitmap is drawn for 96 DPI and stretched to the same size to the eye.
    UINT dpi = SystemDpi();
    int w = ScaleForDpi(bm.bmWidth, dpi), h = ScaleForDpi(bm.bmHeight, dpi);
    if (!hWnd) {
        hWnd = s_hBanner = CreateBannerWindow(w, h);
    } else {
        RECT rc;
        GetClientRect(hWnd, &rc);
        w = rc.right;
        h = rc.bottom;
    }
    if (hWnd) {
        HDC dc = GetDC(hWnd);
        if (dc) {
            HDC mem = CreateCompatibleDC(dc);
            if (mem) {
                HGDIOBJ old = SelectObject(mem, bmp);
                StretchBlt(dc, 0, 0, w, h, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
                SelectObject(mem, old);
                DeleteDC(mem);
            }
            ReleaseDC(hWnd, dc);
        }
    }
    DeleteObject(bmp);
}

void ShowBanner()
{
    if (s_hBanner || s_bBannerHidden) return;
    DrawBanner(NULL);
}

void HideBanner()
{
    if (s_bBannerHidden) return;
    s_bBannerHidden = true;
    if (s_hBanner) DestroyWindow(s_hBanner);
    s_hBanner = NULL;
}

HWND BannerWindow()
{
    return s_hBanner;
}

static void Banner_OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hWnd, &ps);
    EndPaint(hWnd, &ps);
    DrawBanner(hWnd);
}

static LRESULT CALLBACK BannerWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        Banner_OnPaint(hWnd);
        break;
    case WM_LBUTTONDOWN:
        if (!s_bBannerHidden) HideBanner();
        break;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}
