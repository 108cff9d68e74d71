// The selection overlay's magnifier.
#include "capture/magnifier.h"
#include "app/program.h"
#include "windows/screen.h"

#include <stdio.h>
#include <string.h>

const char kMagnifierClass[] = "Vantix_Magnifier";
HWND g_hMagnifierWnd;

// Around the square and the readout: the border, the gap below the square, the margin of the
// text and the space below the last line.
static const int kBorder = 1;
static const int kGap = 2;
static const int kMargin = 3;
static const int kBottom = 2;
// A pixel the screen picture does not hold (the hot spot near the screen's edge).
static const DWORD kOffPicture = 0x000000;

// ---- Geometry and pixels (pure)

MagnifierLayout LayoutMagnifier(int lineHeight, int textWidth)
{
    MagnifierLayout l;
    const int side = lineHeight > 8 ? lineHeight - 4 : 4;
    int width = kBorder + kMargin + textWidth + kMargin + side + kMargin + kBorder;
    if (width < MAGNIFIER_SQUARE + 2 * kBorder) width = MAGNIFIER_SQUARE + 2 * kBorder;
    const int top = kBorder + MAGNIFIER_SQUARE + kGap;
    l.size.cx = width;
    l.size.cy = top + MAGNIFIER_LINES * lineHeight + kBottom + kBorder;
    SetRect(&l.square, kBorder, kBorder, kBorder + MAGNIFIER_SQUARE, kBorder + MAGNIFIER_SQUARE);
    for (int i = 0; i < MAGNIFIER_LINES; i++)
        SetRect(&l.lines[i], kBorder, top + i * lineHeight, width - kBorder, top + (i + 1) * lineHeight);
    l.textLeft = kBorder + kMargin;
    const RECT& colour = l.lines[MAGNIFIER_LINE_COLOUR];
    l.swatch.right = width - kBorder - kMargin;
    l.swatch.left = l.swatch.right - side;
    l.swatch.top = colour.top + (lineHeight - side) / 2;
    l.swatch.bottom = l.swatch.top + side;
    return l;
}

// One axis: after the hot spot at the offset, else before it, and on the screen in any case.
static LONG PlaceOnAxis(LONG hot, LONG extent, LONG low, LONG high)
{
    LONG at = hot + MAGNIFIER_OFFSET;
    if (at + extent > high) at = hot - MAGNIFIER_OFFSET - extent;
    if (at + extent > high) at = high - extent;
    if (at < low) at = low;
    return at;
}

POINT PlaceMagnifier(POINT hotSpot, SIZE window, const RECT& screen)
{
    POINT at;
    at.x = PlaceOnAxis(hotSpot.x, window.cx, screen.left, screen.right);
    at.y = PlaceOnAxis(hotSpot.y, window.cy, screen.top, screen.bottom);
    return at;
}

static int Luminance(DWORD rgb)
{
    int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return (r * 299 + g * 587 + b * 114) / 1000;
}

DWORD MagnifierGridShade(DWORD rgb)
{
    DWORD out = 0;
    const bool light = Luminance(rgb) >= 128;
    for (int shift = 0; shift <= 16; shift += 8) {
        DWORD c = (rgb >> shift) & 0xFF;
        c = light ? c * 3 / 4 : c + (255 - c) / 3;
        out |= c << shift;
    }
    return out;
}

DWORD MagnifierOutlineShade(DWORD rgb)
{
    return Luminance(rgb) >= 128 ? 0x000000 : 0xFFFFFF;
}

void MagnifyPixels(const DWORD* source, int sourceStride, DWORD* target, int targetStride)
{
    for (int y = 0; y < MAGNIFIER_SQUARE; y++) {
        const DWORD* from = source + (size_t)(y / MAGNIFIER_ZOOM) * sourceStride;
        DWORD* to = target + (size_t)y * targetStride;
        const bool gridRow = y % MAGNIFIER_ZOOM == 0;
        for (int x = 0; x < MAGNIFIER_SQUARE; x++) {
            DWORD c = from[x / MAGNIFIER_ZOOM];
            to[x] = gridRow || x % MAGNIFIER_ZOOM == 0 ? MagnifierGridShade(c) : c;
        }
    }
    // The centre cell's four grid lines, the last two of which are its neighbours' first.
    const int c0 = MAGNIFIER_SPAN / 2 * MAGNIFIER_ZOOM, c1 = c0 + MAGNIFIER_ZOOM;
    const DWORD outline = MagnifierOutlineShade(source[(size_t)(MAGNIFIER_SPAN / 2) * sourceStride + MAGNIFIER_SPAN / 2]);
    for (int i = c0; i <= c1; i++) {
        target[(size_t)c0 * targetStride + i] = outline;
        target[(size_t)c1 * targetStride + i] = outline;
        target[(size_t)i * targetStride + c0] = outline;
        target[(size_t)i * targetStride + c1] = outline;
    }
}

void FormatMagnifierColour(DWORD rgb, char* out, size_t size)
{
    snprintf(out, size, "#%02X%02X%02X", (unsigned)(rgb >> 16) & 0xFF, (unsigned)(rgb >> 8) & 0xFF,
             (unsigned)rgb & 0xFF);
}

// ---- The window

// The copy of the screen picture it magnifies, 32-bit top-down rows.
static HDC s_hPictureDC;
static HBITMAP s_hPicture;
static HGDIOBJ s_hOldPicture;
static const DWORD* s_pPicture;
static RECT s_rcPicture;
// What the window shows, drawn whole before each move: pixels written directly, text by GDI.
static HDC s_hBackDC;
static HBITMAP s_hBack;
static HGDIOBJ s_hOldBack;
static HGDIOBJ s_hOldFont;
static DWORD* s_pBack;
static MagnifierLayout s_layout;
static MagnifierReadout s_readout;
static bool s_bShown;

static void Magnifier_OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hWnd, &ps);
    if (s_hBackDC) BitBlt(dc, 0, 0, s_layout.size.cx, s_layout.size.cy, s_hBackDC, 0, 0, SRCCOPY);
    EndPaint(hWnd, &ps);
}

static LRESULT CALLBACK MagnifierWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCHITTEST:
        // The pointer and the clicks belong to what lies below.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Magnifier_OnPaint(hWnd);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

static bool CopyPicture(HDC screenPicture, int width, int height)
{
    void* bits = NULL;
    s_hPictureDC = CreateCompatibleDC(screenPicture);
    s_hPicture = s_hPictureDC ? CreateTopDownDib(screenPicture, width, height, &bits) : NULL;
    if (!s_hPicture) return false;
    s_hOldPicture = SelectObject(s_hPictureDC, s_hPicture);
    BitBlt(s_hPictureDC, 0, 0, width, height, screenPicture, 0, 0, SRCCOPY);
    GdiFlush();
    s_pPicture = (const DWORD*)bits;
    SetRect(&s_rcPicture, 0, 0, width, height);
    return true;
}

// The widest each line can get: its format with the widest digits.
static int WidestLine(HDC dc)
{
    const char* samples[] = {"88888, 88888", "88888 x 88888", "#888888"};
    int widest = 0;
    for (const char* s : samples) {
        SIZE size;
        if (GetTextExtentPoint32A(dc, s, lstrlenA(s), &size) && size.cx > widest) widest = size.cx;
    }
    return widest;
}

static bool CreateBackBuffer(HDC compatible)
{
    s_hBackDC = CreateCompatibleDC(compatible);
    if (!s_hBackDC) return false;
    s_hOldFont = SelectObject(s_hBackDC, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    GetTextMetricsA(s_hBackDC, &tm);
    s_layout = LayoutMagnifier(tm.tmHeight, WidestLine(s_hBackDC));
    void* bits = NULL;
    s_hBack = CreateTopDownDib(compatible, s_layout.size.cx, s_layout.size.cy, &bits);
    if (!s_hBack) return false;
    s_hOldBack = SelectObject(s_hBackDC, s_hBack);
    s_pBack = (DWORD*)bits;
    SetTextColor(s_hBackDC, kMagnifierInk);
    SetBkColor(s_hBackDC, kMagnifierPaper);
    SetBkMode(s_hBackDC, OPAQUE);
    // The border in ink, everything else paper until drawn.
    const DWORD ink = 0, paper = (GetRValue(kMagnifierPaper) << 16) | (GetGValue(kMagnifierPaper) << 8) |
                                 GetBValue(kMagnifierPaper);
    for (int y = 0; y < s_layout.size.cy; y++)
        for (int x = 0; x < s_layout.size.cx; x++) {
            bool border = x < kBorder || y < kBorder || x >= s_layout.size.cx - kBorder ||
                          y >= s_layout.size.cy - kBorder;
            s_pBack[(size_t)y * s_layout.size.cx + x] = border ? ink : paper;
        }
    return true;
}

bool OpenMagnifier(HDC screenPicture, int width, int height)
{
    CloseMagnifier();
    ZeroMemory(&s_readout, sizeof(s_readout));
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = MagnifierWndProc;
    wc.hInstance = g_hInst;
    wc.lpszClassName = kMagnifierClass;
    if (!RegisterClassExA(&wc)) return false;
    if (!CopyPicture(screenPicture, width, height) || !CreateBackBuffer(screenPicture)) {
        CloseMagnifier();
        return false;
    }
    g_hMagnifierWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT |
                                          WS_EX_LAYERED,
                                      kMagnifierClass, "", WS_POPUP, 0, 0, s_layout.size.cx, s_layout.size.cy, NULL,
                                      NULL, g_hInst, NULL);
    if (!g_hMagnifierWnd) {
        CloseMagnifier();
        return false;
    }
    // Opaque: layered only so that the platform passes the pointer through it.
    SetLayeredWindowAttributes(g_hMagnifierWnd, 0, 255, LWA_ALPHA);
    return true;
}

// The 15 x 15 pixels around the hot spot, from the picture.
static void SamplePicture(POINT hot, DWORD sample[MAGNIFIER_SPAN * MAGNIFIER_SPAN])
{
    const int half = MAGNIFIER_SPAN / 2, stride = s_rcPicture.right;
    for (int j = 0; j < MAGNIFIER_SPAN; j++)
        for (int i = 0; i < MAGNIFIER_SPAN; i++) {
            POINT p = {hot.x - half + i, hot.y - half + j};
            sample[j * MAGNIFIER_SPAN + i] =
                PtInRect(&s_rcPicture, p) ? s_pPicture[(size_t)p.y * stride + p.x] & 0xFFFFFF : kOffPicture;
        }
}

static void DrawMagnifier(POINT hot, const RECT* selection)
{
    DWORD sample[MAGNIFIER_SPAN * MAGNIFIER_SPAN];
    SamplePicture(hot, sample);
    s_readout.colour = sample[(MAGNIFIER_SPAN / 2) * MAGNIFIER_SPAN + MAGNIFIER_SPAN / 2];
    snprintf(s_readout.lines[MAGNIFIER_LINE_POSITION], sizeof(s_readout.lines[0]), "%ld, %ld", (long)hot.x,
             (long)hot.y);
    if (selection)
        snprintf(s_readout.lines[MAGNIFIER_LINE_SIZE], sizeof(s_readout.lines[0]), "%ld x %ld",
                 (long)(selection->right - selection->left), (long)(selection->bottom - selection->top));
    else
        s_readout.lines[MAGNIFIER_LINE_SIZE][0] = '\0';
    FormatMagnifierColour(s_readout.colour, s_readout.lines[MAGNIFIER_LINE_COLOUR], sizeof(s_readout.lines[0]));

    for (int i = 0; i < MAGNIFIER_LINES; i++) {
        const RECT& line = s_layout.lines[i];
        ExtTextOutA(s_hBackDC, s_layout.textLeft, line.top, ETO_OPAQUE, &line, s_readout.lines[i],
                    lstrlenA(s_readout.lines[i]), NULL);
    }
    // The text is in the bits before they are written directly.
    GdiFlush();
    const int stride = s_layout.size.cx;
    MagnifyPixels(sample, MAGNIFIER_SPAN, s_pBack + (size_t)s_layout.square.top * stride + s_layout.square.left,
                  stride);
    for (int y = s_layout.swatch.top; y < s_layout.swatch.bottom; y++)
        for (int x = s_layout.swatch.left; x < s_layout.swatch.right; x++) {
            bool edge = y == s_layout.swatch.top || x == s_layout.swatch.left || y == s_layout.swatch.bottom - 1 ||
                        x == s_layout.swatch.right - 1;
            s_pBack[(size_t)y * stride + x] = edge ? 0 : s_readout.colour;
        }
}

void MoveMagnifier(POINT hotSpot, const RECT* selection)
{
    if (!g_hMagnifierWnd) return;
    DrawMagnifier(hotSpot, selection);
    POINT at = PlaceMagnifier(hotSpot, s_layout.size, s_rcPicture);
    // At the top each time: the overlay comes to the top when it is activated, and under X11 so
    // does a program that handles its activation late.
    SetWindowPos(g_hMagnifierWnd, HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    HDC dc = GetDC(g_hMagnifierWnd);
    BitBlt(dc, 0, 0, s_layout.size.cx, s_layout.size.cy, s_hBackDC, 0, 0, SRCCOPY);
    ReleaseDC(g_hMagnifierWnd, dc);
    s_bShown = true;
}

void RaiseMagnifier()
{
    if (!g_hMagnifierWnd || !s_bShown) return;
    // Under X11 the window that takes the keyboard focus comes to the top of the display but
    // keeps its place among the windows, where the magnifier is still first; a move to the top
    // from a place lower down is what raises a window on the display.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    HWND below = GetWindow(g_hMagnifierWnd, GW_HWNDNEXT);
    if (below) SetWindowPos(g_hMagnifierWnd, below, 0, 0, 0, 0, flags);
    SetWindowPos(g_hMagnifierWnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

RECT CloseMagnifier()
{
    RECT covered = {0, 0, 0, 0};
    if (g_hMagnifierWnd) {
        if (s_bShown && IsWindowVisible(g_hMagnifierWnd)) GetWindowRect(g_hMagnifierWnd, &covered);
        DestroyWindow(g_hMagnifierWnd);
        g_hMagnifierWnd = NULL;
    }
    s_bShown = false;
    if (s_hBackDC) {
        if (s_hBack) SelectObject(s_hBackDC, s_hOldBack);
        if (s_hOldFont) SelectObject(s_hBackDC, s_hOldFont);
        DeleteDC(s_hBackDC);
    }
    if (s_hBack) DeleteObject(s_hBack);
    s_hBackDC = NULL;
    s_hBack = NULL;
    s_hOldBack = NULL;
    s_hOldFont = NULL;
    s_pBack = NULL;
    if (s_hPictureDC) {
        if (s_hPicture) SelectObject(s_hPictureDC, s_hOldPicture);
        DeleteDC(s_hPictureDC);
    }
    if (s_hPicture) DeleteObject(s_hPicture);
    s_hPictureDC = NULL;
    s_hPicture = NULL;
    s_hOldPicture = NULL;
    s_pPicture = NULL;
    UnregisterClassA(kMagnifierClass, g_hInst);
    return covered;
}

MagnifierReadout CurrentMagnifierReadout()
{
    return s_readout;
}

MagnifierLayout CurrentMagnifierLayout()
{
    return s_layout;
}
