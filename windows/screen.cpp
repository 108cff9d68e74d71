// What the screen shows, read and waited for without waiting on other programs.
#include "windows/screen.h"

// ---- Repainting without waiting on other programs

// The threads asked during one repaint and whether they answered; threads past the table's end
// are asked again each time, which only costs time.
struct ThreadAnswer {
    DWORD thread;
    bool answers;
};
struct RepaintPass {
    ThreadAnswer asked[64];
    int count;
};

static ThreadAnswer* FindThread(RepaintPass* pass, DWORD thread)
{
    for (int i = 0; i < pass->count; i++)
        if (pass->asked[i].thread == thread) return &pass->asked[i];
    return NULL;
}

static void RememberThread(RepaintPass* pass, DWORD thread, bool answers)
{
    ThreadAnswer* known = FindThread(pass, thread);
    if (known) known->answers = answers;
    else if (pass->count < (int)(sizeof(pass->asked) / sizeof(pass->asked[0]))) pass->asked[pass->count++] = {thread, answers};
}

// Whether a window's thread reads its messages: asked once per pass, for a bounded time.
static bool ThreadAnswers(RepaintPass* pass, HWND window, DWORD thread)
{
    ThreadAnswer* known = FindThread(pass, thread);
    if (known) return known->answers;
    DWORD_PTR result;
    bool answers = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kThreadProbeMs, &result) != 0;
    RememberThread(pass, thread, answers);
    return answers;
}

static void RepaintWindow(RepaintPass* pass, HWND window)
{
    DWORD thread = GetWindowThreadProcessId(window, NULL);
    if (thread == GetCurrentThreadId()) {
        UpdateWindow(window);
        return;
    }
    // Nothing to draw, nothing to ask; otherwise what UpdateWindow would send, with a bound.
    if (!GetUpdateRect(window, NULL, FALSE) || !ThreadAnswers(pass, window, thread)) return;
    DWORD_PTR result;
    if (!SendMessageTimeoutA(window, WM_PAINT, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kThreadProbeMs, &result))
        RememberThread(pass, thread, false);
}

static BOOL CALLBACK RepaintChildProc(HWND window, LPARAM pass)
{
    RepaintWindow((RepaintPass*)pass, window);
    return TRUE;
}

static BOOL CALLBACK RepaintTopProc(HWND window, LPARAM pass)
{
    // EnumChildWindows reaches every descendant.
    EnumChildWindows(window, RepaintChildProc, pass);
    RepaintWindow((RepaintPass*)pass, window);
    return TRUE;
}

// ---- Waiting for a window of ours to leave the screen

// The noted window's area in pieces (the rectangles of its region), each with the pixels it
// showed there: 32-bit, top-down rows.
struct ScreenPiece {
    RECT rc;
    DWORD* pixels;
};
static const int kMaxPieces = 16;
static ScreenPiece s_noted[kMaxPieces];
static int s_nNoted;

HBITMAP CreateTopDownDib(HDC compatible, int width, int height, void** bits)
{
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return CreateDIBSection(compatible, &bi, DIB_RGB_COLORS, bits, NULL, 0);
}

DWORD* CopyPixels(HDC display, const RECT& rc)
{
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    void* bits = NULL;
    HBITMAP dib = CreateTopDownDib(display, w, h, &bits);
    if (!dib) return NULL;
    SIZE_T bytes = (SIZE_T)w * h * sizeof(DWORD);
    DWORD* copy = (DWORD*)HeapAlloc(GetProcessHeap(), 0, bytes);
    HDC mem = CreateCompatibleDC(display);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, display, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    if (copy) CopyMemory(copy, bits, bytes);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    return copy;
}

static void ForgetNotedWindow()
{
    for (int i = 0; i < s_nNoted; i++) HeapFree(GetProcessHeap(), 0, s_noted[i].pixels);
    s_nNoted = 0;
}

// The rectangles of a region, at most max of them; past that, its bounding box alone.
static int RegionRects(HRGN rgn, RECT* out, int max)
{
    DWORD size = GetRegionData(rgn, 0, NULL);
    if (!size) return 0;
    RGNDATA* data = (RGNDATA*)HeapAlloc(GetProcessHeap(), 0, size);
    if (!data) return -1;
    int n = -1;
    if (GetRegionData(rgn, size, data) && data->rdh.nCount <= (DWORD)max) {
        n = (int)data->rdh.nCount;
        CopyMemory(out, data->Buffer, n * sizeof(RECT));
    }
    HeapFree(GetProcessHeap(), 0, data);
    if (n < 0 && GetRgnBox(rgn, &out[0]) != NULLREGION) n = 1;
    return n;
}

void NoteLeavingWindow(HWND window)
{
    ForgetNotedWindow();
    RECT wr, screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IsWindowVisible(window) || !GetWindowRect(window, &wr) || !IntersectRect(&wr, &wr, &screen)) return;
    // A shaped window (the picker's ring) shows only inside its region.
    RECT pieces[kMaxPieces];
    int n = 1;
    pieces[0] = wr;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, shape) != ERROR) {
        RECT at;
        GetWindowRect(window, &at);
        OffsetRgn(shape, at.left, at.top);
        HRGN clip = CreateRectRgnIndirect(&wr);
        CombineRgn(shape, shape, clip, RGN_AND);
        DeleteObject(clip);
        n = RegionRects(shape, pieces, kMaxPieces);
    }
    DeleteObject(shape);
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    if (!display) return;
    for (int i = 0; i < n; i++) {
        DWORD* pixels = CopyPixels(display, pieces[i]);
        if (!pixels) continue;
        s_noted[s_nNoted].rc = pieces[i];
        s_noted[s_nNoted].pixels = pixels;
        s_nNoted++;
    }
    DeleteDC(display);
}

// What the screen shows now in each noted piece, in the same order.
struct ScreenNow {
    DWORD* pixels[kMaxPieces];
};

// A part (inside the noted area) still shows the noted window while most of its pixels are
// those the window showed there.
static bool PartStillShown(HRGN part, const ScreenNow& now)
{
    RECT rects[64];
    int n = RegionRects(part, rects, 64);
    long total = 0, same = 0;
    for (int r = 0; r < n; r++)
        for (int i = 0; i < s_nNoted; i++) {
            RECT in;
            const ScreenPiece& p = s_noted[i];
            if (!now.pixels[i] || !IntersectRect(&in, &rects[r], &p.rc)) continue;
            int stride = p.rc.right - p.rc.left;
            for (int y = in.top; y < in.bottom; y++) {
                size_t row = (size_t)(y - p.rc.top) * stride;
                for (int x = in.left; x < in.right; x++) {
                    size_t at = row + (x - p.rc.left);
                    total++;
                    if (((p.pixels[at] ^ now.pixels[i][at]) & 0xFFFFFF) == 0) same++;
                }
            }
        }
    return total > 0 && same * 2 > total;
}

struct ShownCheck {
    const ScreenNow* now;
    HRGN left;      // the noted area not yet judged
    bool shown;
};

// Each window below paints its part of the noted area itself and in its own time: the area is
// judged window by window, from the top.
static BOOL CALLBACK JudgeWindowProc(HWND window, LPARAM lp)
{
    ShownCheck* check = (ShownCheck*)lp;
    RECT wr;
    if (!IsWindowVisible(window) || !GetWindowRect(window, &wr)) return TRUE;
    HRGN rect = CreateRectRgnIndirect(&wr);
    HRGN part = CreateRectRgn(0, 0, 0, 0);
    if (CombineRgn(part, check->left, rect, RGN_AND) != NULLREGION) {
        check->shown = PartStillShown(part, *check->now);
        CombineRgn(check->left, check->left, rect, RGN_DIFF);
    }
    DeleteObject(part);
    DeleteObject(rect);
    return check->shown ? FALSE : TRUE;
}

static bool NotedWindowStillShown()
{
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    if (!display) return false;
    ScreenNow now;
    HRGN area = CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; i < s_nNoted; i++) {
        now.pixels[i] = CopyPixels(display, s_noted[i].rc);
        HRGN piece = CreateRectRgnIndirect(&s_noted[i].rc);
        CombineRgn(area, area, piece, RGN_OR);
        DeleteObject(piece);
    }
    DeleteDC(display);
    ShownCheck check = {&now, area, false};
    EnumWindows(JudgeWindowProc, (LPARAM)&check);
    // What no window covers is the desktop's.
    if (!check.shown) check.shown = PartStillShown(area, now);
    DeleteObject(area);
    for (int i = 0; i < s_nNoted; i++)
        if (now.pixels[i]) HeapFree(GetProcessHeap(), 0, now.pixels[i]);
    return check.shown;
}

// Hands what was drawn to the display: a wait of no time lets the platform bring window
// surfaces to the screen, and a composing desktop is waited for where composition is on. The
// wait is for painting alone: under X11 the keyboard focus leaving a hidden window would be
// taken now as the program's loss of the foreground, and the overlay that follows would lose it.
static void LetTheDisplayCatchUp()
{
    typedef HRESULT(WINAPI * IsCompositionEnabledProc)(BOOL*);
    typedef HRESULT(WINAPI * FlushProc)();
    static bool s_bLoaded;
    static IsCompositionEnabledProc s_pfnIsCompositionEnabled;
    static FlushProc s_pfnFlush;
    if (!s_bLoaded) {
        s_bLoaded = true;
        HMODULE dwm = LoadLibraryA("dwmapi.dll");
        if (dwm) {
            s_pfnIsCompositionEnabled = (IsCompositionEnabledProc)(void*)GetProcAddress(dwm, "DwmIsCompositionEnabled");
            s_pfnFlush = (FlushProc)(void*)GetProcAddress(dwm, "DwmFlush");
        }
    }
    MsgWaitForMultipleObjects(0, NULL, FALSE, 0, QS_PAINT);
    BOOL composed = FALSE;
    if (s_pfnIsCompositionEnabled && s_pfnFlush && SUCCEEDED(s_pfnIsCompositionEnabled(&composed)) && composed)
        s_pfnFlush();
}

void UpdateAllWindows()
{
    RepaintPass pass;
    pass.count = 0;
    EnumWindows(RepaintTopProc, (LPARAM)&pass);
    if (!s_nNoted) return;
    DWORD start = GetTickCount();
    for (;;) {
        LetTheDisplayCatchUp();
        if (!NotedWindowStillShown() || GetTickCount() - start >= kLeaveWaitMs) break;
        Sleep(10);
    }
    ForgetNotedWindow();
}

// ---- Pictures of the screen

bool TakeScreenCopy(ScreenCopy* copy, const RECT& area)
{
    ZeroMemory(copy, sizeof(*copy));
    int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(NULL);
    if (!screen) return false;
    copy->dc = CreateCompatibleDC(screen);
    copy->bitmap = copy->dc ? CreateCompatibleBitmap(screen, w, h) : NULL;
    if (copy->bitmap) {
        copy->oldBitmap = SelectObject(copy->dc, copy->bitmap);
        BitBlt(copy->dc, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
        copy->area = area;
    } else if (copy->dc) {
        DeleteDC(copy->dc);
        copy->dc = NULL;
    }
    ReleaseDC(NULL, screen);
    return copy->dc != NULL;
}

void DropScreenCopy(ScreenCopy* copy)
{
    if (!copy->dc) return;
    SelectObject(copy->dc, copy->oldBitmap);
    DeleteObject(copy->bitmap);
    DeleteDC(copy->dc);
    ZeroMemory(copy, sizeof(*copy));
}
