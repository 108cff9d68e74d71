// The area selection overlay.
#include "capture/overlay.h"
#include "capture/delivery.h"
#include "capture/pipeline.h"
#include "capture/magnifier.h"
#include "windows/pointing.h"
#include "windows/screen.h"
#include "app/dpi.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/resstring.h"
#include "resource.h"

#include <stdio.h>
#include <string.h>

HWND g_hSelectWnd;
static bool s_bTracking;        // the button is down and the frame is drawn
static bool s_bFreeSelection;   // corner to corner (true) or fixed size (false)
static POINT s_ptAnchor;        // free: the corner pressed; fixed: the last mouse position

// The copy of the screen that the overlay shows, with the frame inverted in step with the
// window, so that a repaint shows what the user saw.
static ScreenCopy s_picture;
// Destroying the overlay deactivates it, which asks for its destruction again.
static bool s_bClosing;
// The overlay's own focus hand-over, which is no loss of focus.
static bool s_bRefocusing;
// The window hidden for the selection: the activation goes back to it, not to another program.
static HWND s_hOwner;
// Everything drawn on the overlay in this selection lies within this box.
static RECT s_rcDrawn;

// Input reaches the selection through low-level hooks as well: the display may hand a key or a
// click to another program's window although the overlay is the foreground window (under X11 the
// keyboard stays with the window that last took it, and a program that activates itself late is
// raised above every other window). The hooks post what they see to the overlay as
// WM_SELECTION_POINTER, as this message (wParam: the virtual key of an arrow, Enter or Space,
// lParam: the SELECTION_KEY_ flags) or as WM_CHAR.
static const UINT WM_SELECTION_KEY = WM_APP + 2;
// Takes the activation back after a deactivation that was none (Overlay_OnReactivate).
static const UINT WM_SELECTION_REACTIVATE = WM_APP + 3;
// Puts the magnifier back above the overlay once the overlay has taken the keyboard focus:
// under X11 that raises the overlay on the display.
static const UINT WM_SELECTION_RAISE_MAGNIFIER = WM_APP + 4;
enum { SELECTION_KEY_SHIFT = 1, SELECTION_KEY_UP = 2 };
static HHOOK s_hMouseHook;
static HHOOK s_hKeyHook;
// Enter or Space while held down: the keyboard repeats its press, which is no second press.
static UINT s_vkPressHeld;

// How long the overlay waits for the display to show its last picture before it goes.
static const DWORD kFrameFreeWaitMs = 250;

// PatBlt inverting the destination, asking for layered windows to be included as well.
#define FRAME_ROP (DSTINVERT | CAPTUREBLT)

// ---- Geometry (pure)

int SelectionCursorId(bool freeSelection, int captureArea)
{
    if (freeSelection) return IDCUR_CROSS;
    return captureArea == AREA_SMALLICON ? IDCUR_SMALLCROSS : IDCUR_RING;
}

void SelectionFrameLines(const RECT& rc, PatLine lines[4])
{
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    lines[0] = {l, t, r - l, 1};            // top, left to right
    lines[1] = {r, t, 1, b - t};            // right, top to bottom
    // The bottom and left edges skip the corners that the top and right edges took. Given with
    // positive sizes: drivers disagree by one pixel on where a negative extent ends.
    lines[2] = {l + 1, b, r - l, 1};        // bottom: x = l + 1 .. r
    lines[3] = {l, t + 1, 1, b - t};        // left: y = t + 1 .. b
}

RECT NormalizedRect(POINT a, POINT b)
{
    RECT rc;
    rc.left = a.x < b.x ? a.x : b.x;
    rc.top = a.y < b.y ? a.y : b.y;
    rc.right = a.x < b.x ? b.x : a.x;
    rc.bottom = a.y < b.y ? b.y : a.y;
    return rc;
}

RECT CentreFrameOn(const RECT& frame, POINT anchor)
{
    RECT rc = frame;
    OffsetRect(&rc, anchor.x - frame.right / 2, anchor.y - frame.bottom / 2);
    return rc;
}

POINT LabelPosition(const RECT& frame, SIZE text)
{
    POINT pt;
    pt.x = (frame.left + frame.right - text.cx) / 2;
    pt.y = (frame.top + frame.bottom - text.cy) / 2;
    return pt;
}

// ---- Drawing

static void InvertFrame(HDC dc, const RECT& rc, const char* label, SIZE labelSize, HFONT font)
{
    SaveDC(dc);
    PatLine lines[4];
    SelectionFrameLines(rc, lines);
    for (const PatLine& l : lines) PatBlt(dc, l.x, l.y, l.w, l.h, FRAME_ROP);
    if (label) {
        // A monochrome bitmap blitted onto colour turns its 1 bits into the background colour:
        // white here, so that SRCINVERT inverts the glyph pixels and leaves the rest alone.
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        POINT pos = LabelPosition(rc, labelSize);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ oldFont = font ? SelectObject(mem, font) : NULL;
        SetTextColor(mem, RGB(255, 255, 255));
        SetBkColor(mem, RGB(0, 0, 0));
        HBITMAP mono = CreateBitmap(labelSize.cx, labelSize.cy, 1, 1, NULL);
        if (mono) {
            HGDIOBJ old = SelectObject(mem, mono);
            ExtTextOutA(mem, 0, 0, 0, NULL, label, lstrlenA(label), NULL);
            BitBlt(dc, pos.x, pos.y, labelSize.cx, labelSize.cy, mem, 0, 0, SRCINVERT);
            SelectObject(mem, old);
            DeleteObject(mono);
        }
        if (oldFont) SelectObject(mem, oldFont);
        DeleteDC(mem);
    }
    RestoreDC(dc, -1);
}

void DrawSelectionFrame()
{
    if (IsRectEmpty(&g_rcCapture) || !g_hSelectWnd) return;
    HDC dc = GetDC(g_hSelectWnd);
    char label[32];
    const char* text = NULL;
    SIZE size = {0, 0};
    // The label's font is made for the system's DPI; on a monitor of another it is scaled.
    HFONT font = NULL;
    if (s_bFreeSelection && g_Options.ShowDimensions) {
        snprintf(label, sizeof(label), "%ldx%ld", (long)(g_rcCapture.right - g_rcCapture.left),
                 (long)(g_rcCapture.bottom - g_rcCapture.top));
        font = CreateFontForDpi(NULL, SystemDpi(), DpiOfWindow(g_hSelectWnd));
        SaveDC(dc);
        if (font) SelectObject(dc, font);
        GetTextExtentPoint32A(dc, label, lstrlenA(label), &size);
        RestoreDC(dc, -1);
        text = label;
    }
    InvertFrame(dc, g_rcCapture, text, size, font);
    ReleaseDC(g_hSelectWnd, dc);
    // The outline includes the right and bottom edges; the label may reach past a small frame.
    RECT outline = {g_rcCapture.left, g_rcCapture.top, g_rcCapture.right + 1, g_rcCapture.bottom + 1};
    UnionRect(&s_rcDrawn, &s_rcDrawn, &outline);
    if (text) {
        POINT pos = LabelPosition(g_rcCapture, size);
        RECT label = {pos.x, pos.y, pos.x + size.cx, pos.y + size.cy};
        UnionRect(&s_rcDrawn, &s_rcDrawn, &label);
    }
    if (s_picture.dc) InvertFrame(s_picture.dc, g_rcCapture, text, size, font);
    if (font) DeleteObject(font);
}

// ---- The overlay window

static LRESULT CALLBACK SelectionMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_hSelectWnd && !s_bClosing &&
        (wParam == WM_MOUSEMOVE || wParam == WM_LBUTTONDOWN || wParam == WM_LBUTTONUP)) {
        const MSLLHOOKSTRUCT* m = (const MSLLHOOKSTRUCT*)lParam;
        PostMessageA(g_hSelectWnd, WM_SELECTION_POINTER, wParam, MAKELPARAM(m->pt.x, m->pt.y));
        // The button belongs to the selection, never to a window under the overlay; moves pass
        // on so that the pointer keeps moving.
        if (wParam != WM_MOUSEMOVE) return 1;
    }
    return CallNextHookEx(s_hMouseHook, code, wParam, lParam);
}

// The keys that select rather than cancel: the arrows and the keys that stand for the button.
static bool IsSelectionKey(UINT vk)
{
    POINT step;
    return ArrowKeyStep(vk, false, &step) || IsPressKey(vk);
}

static LRESULT CALLBACK SelectionKeyProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_hSelectWnd && !s_bClosing && (wParam == WM_KEYDOWN || wParam == WM_KEYUP)) {
        const KBDLLHOOKSTRUCT* k = (const KBDLLHOOKSTRUCT*)lParam;
        const bool down = wParam == WM_KEYDOWN;
        if (IsSelectionKey(k->vkCode)) {
            LPARAM flags = (ShiftIsDown() ? SELECTION_KEY_SHIFT : 0) | (down ? 0 : SELECTION_KEY_UP);
            PostMessageA(g_hSelectWnd, WM_SELECTION_KEY, k->vkCode, flags);
            return 1;
        }
        // A key that types a character, as WM_CHAR would bring it.
        UINT ch = down ? MapVirtualKeyA(k->vkCode, MAPVK_VK_TO_CHAR) : 0;
        if (ch) {
            PostMessageA(g_hSelectWnd, WM_CHAR, ch & 0xFFFF, 0);
            return 1;
        }
    }
    return CallNextHookEx(s_hKeyHook, code, wParam, lParam);
}

static void RemoveInputHooks()
{
    if (s_hMouseHook) UnhookWindowsHookEx(s_hMouseHook);
    if (s_hKeyHook) UnhookWindowsHookEx(s_hKeyHook);
    s_hMouseHook = NULL;
    s_hKeyHook = NULL;
}

// Where windows are composed apart (X11), the screen keeps a destroyed window's last picture
// over windows that do not repaint, and the capture reads it: the overlay goes once the display
// shows its picture without the frame. Drawing reaches the display while the thread waits.
static void WaitForFrameFreeScreen()
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, box;
    if (!s_picture.dc || !IntersectRect(&box, &s_rcDrawn, &screen)) return;
    DWORD* want = CopyPixels(s_picture.dc, box);
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    SIZE_T bytes = (SIZE_T)(box.right - box.left) * (box.bottom - box.top) * sizeof(DWORD);
    DWORD start = GetTickCount();
    while (want && display) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 0, QS_PAINT);
        DWORD* shown = CopyPixels(display, box);
        bool same = shown && memcmp(shown, want, bytes) == 0;
        if (shown) HeapFree(GetProcessHeap(), 0, shown);
        if (same || GetTickCount() - start >= kFrameFreeWaitMs) break;
        Sleep(10);
    }
    if (display) DeleteDC(display);
    if (want) HeapFree(GetProcessHeap(), 0, want);
}

static void CloseSelection(HWND hWnd)
{
    if (s_bClosing) return;
    s_bClosing = true;
    RemoveInputHooks();
    if (s_bTracking) {
        s_bTracking = false;
        DrawSelectionFrame();
    }
    // The magnifier goes before the overlay: the overlay's picture then shows where it was, and
    // the wait covers that place as well.
    RECT lens = CloseMagnifier();
    if (!IsRectEmpty(&lens)) {
        UnionRect(&s_rcDrawn, &s_rcDrawn, &lens);
        RedrawWindow(hWnd, &lens, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    WaitForFrameFreeScreen();
    // Destroying the active overlay would activate another program, which under X11 may then
    // take the keyboard and the top of the screen from the next selection whenever it gets round
    // to it: the hidden owner takes the activation back first.
    if (s_hOwner && GetActiveWindow() == hWnd) SetActiveWindow(s_hOwner);
    DestroyWindow(hWnd);
}

// Under X11 the notice that an earlier window lost the foreground may reach this thread after
// the overlay took it, and then deactivates the overlay although no other window took the
// foreground: only another window in the foreground is a switch by the user. After any other
// loss of the activation or the focus the overlay takes both back.
static bool SwitchedAway(HWND hWnd)
{
    HWND foreground = GetForegroundWindow();
    return foreground && foreground != hWnd;
}

static void Overlay_OnReactivate(HWND hWnd)
{
    if (s_bClosing || SwitchedAway(hWnd) || GetActiveWindow() == hWnd) return;
    s_bRefocusing = true;
    SetForegroundWindow(hWnd);
    SetActiveWindow(hWnd);
    SetFocus(hWnd);
    s_bRefocusing = false;
}

static void Overlay_OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hWnd, &ps);
    if (s_picture.dc)
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, s_picture.dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    EndPaint(hWnd, &ps);
}

static void Overlay_OnButtonDown(POINT pt)
{
    // A press reported twice (hooks may see one event twice) would draw the frame away.
    if (s_bTracking) return;
    // Where the button went down, not where the pointer is by the time the message is read:
    // on a fast drag the two differ.
    s_ptAnchor = pt;
    if (s_bFreeSelection) {
        SetRect(&g_rcCapture, s_ptAnchor.x, s_ptAnchor.y, s_ptAnchor.x, s_ptAnchor.y);
    } else {
        g_rcCapture = CentreFrameOn(g_rcCapture, s_ptAnchor);
    }
    s_bTracking = true;
    DrawSelectionFrame();
    MoveMagnifier(pt, &g_rcCapture);
}

static void Overlay_OnMouseMove(POINT pt)
{
    if (s_bTracking) {
        DrawSelectionFrame();
        if (s_bFreeSelection) {
            g_rcCapture = NormalizedRect(s_ptAnchor, pt);
        } else {
            OffsetRect(&g_rcCapture, pt.x - s_ptAnchor.x, pt.y - s_ptAnchor.y);
            s_ptAnchor = pt;
        }
        DrawSelectionFrame();
    }
    MoveMagnifier(pt, s_bTracking ? &g_rcCapture : NULL);
}

static void Overlay_OnButtonUp(HWND hWnd, POINT pt)
{
    // A release whose press the overlay never saw selects nothing and ends nothing.
    if (!s_bTracking) return;
    // The corner is where the button came up, even when no move reported the way there (fast
    // drags under X11 can arrive as press and release alone).
    Overlay_OnMouseMove(pt);
    s_bTracking = false;
    DrawSelectionFrame();
    CloseSelection(hWnd);
}

// An arrow steps the real cursor and the selection follows as it follows the mouse; Enter and
// Space press the button where the cursor is, and release it when it is down.
static void Overlay_OnKey(HWND hWnd, UINT vk, bool shift, bool up)
{
    POINT step;
    if (ArrowKeyStep(vk, shift, &step)) {
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (!up) Overlay_OnMouseMove(StepCursor(step, screen));
        return;
    }
    if (!IsPressKey(vk)) return;
    if (up) {
        if (s_vkPressHeld == vk) s_vkPressHeld = 0;
        return;
    }
    if (s_vkPressHeld == vk) return;
    s_vkPressHeld = vk;
    POINT pt;
    GetCursorPos(&pt);
    if (s_bTracking)
        Overlay_OnButtonUp(hWnd, pt);
    else
        Overlay_OnButtonDown(pt);
}

static void Overlay_OnPointer(HWND hWnd, UINT msg, POINT pt)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        Overlay_OnMouseMove(pt);
        break;
    case WM_LBUTTONDOWN:
        Overlay_OnButtonDown(pt);
        break;
    case WM_LBUTTONUP:
        Overlay_OnButtonUp(hWnd, pt);
        break;
    }
}

static LRESULT CALLBACK OverlayWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        SetActiveWindow(hWnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Overlay_OnPaint(hWnd);
        return 0;
    case WM_SELECTION_POINTER: {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        Overlay_OnPointer(hWnd, (UINT)wParam, pt);
        return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        // The hooks bring every pointer event; the window's own are used only without them.
        // Client coordinates are screen coordinates: the overlay sits at 0, 0.
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (!s_hMouseHook) Overlay_OnPointer(hWnd, msg, pt);
        return 0;
    }
    case WM_SELECTION_KEY:
        Overlay_OnKey(hWnd, (UINT)wParam, (lParam & SELECTION_KEY_SHIFT) != 0, (lParam & SELECTION_KEY_UP) != 0);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        // The hook brings every key; the window's own are used only without it.
        if (!s_hKeyHook && IsSelectionKey((UINT)wParam))
            Overlay_OnKey(hWnd, (UINT)wParam, GetKeyState(VK_SHIFT) < 0, msg == WM_KEYUP);
        return 0;
    case WM_CHAR:
        // Enter and Space select (as keys, above); every other character cancels.
        if (wParam == '\r' || wParam == '\n' || wParam == ' ') return 0;
        SetRectEmpty(&g_rcCapture);
        CloseSelection(hWnd);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (SwitchedAway(hWnd))
                CloseSelection(hWnd);
            else
                PostMessageA(hWnd, WM_SELECTION_REACTIVATE, 0, 0);
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        if (!s_bRefocusing && SwitchedAway(hWnd)) CloseSelection(hWnd);
        return 0;
    case WM_SELECTION_REACTIVATE:
        Overlay_OnReactivate(hWnd);
        return 0;
    case WM_SETFOCUS:
        PostMessageA(hWnd, WM_SELECTION_RAISE_MAGNIFIER, 0, 0);
        return 0;
    case WM_SELECTION_RAISE_MAGNIFIER:
        RaiseMagnifier();
        return 0;
    case WM_DESTROY:
        s_bTracking = false;
        g_hSelectWnd = NULL;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void StartAreaSelection(HWND owner, int width, int height)
{
    // Pixels of the screen, not of a scaled picture of it: the frame, the magnifier, the keys'
    // steps and the capture all count them.
    HANDLE scaling = BeginPhysicalPixels();
    s_bTracking = false;
    s_hOwner = owner;
    SetRectEmpty(&s_rcDrawn);
    // Gone from the screen before the overlay takes its picture of it.
    if (owner)
        HideForCapture(owner);
    else
        UpdateAllWindows();
    if (width != 0 && height != 0) {
        SetRect(&g_rcCapture, 0, 0, width, height);
        s_bFreeSelection = false;
    } else {
        SetRectEmpty(&g_rcCapture);
        s_bFreeSelection = true;
    }

    char cls[64];
    lstrcpynA(cls, LoadResString(IDS_SELECT_CLASS), sizeof(cls));
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = OverlayWndProc;
    wc.hInstance = g_hInst;
    wc.hCursor = LoadCursorA(g_hInst, MAKEINTRESOURCEA(SelectionCursorId(s_bFreeSelection, g_Options.CaptureArea)));
    wc.lpszClassName = cls;
    if (RegisterClassExA(&wc)) {
        int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        RECT screen = {0, 0, cx, cy};
        TakeScreenCopy(&s_picture, screen);
        s_bClosing = false;
        g_hSelectWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TRANSPARENT, cls, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                       cx, cy, NULL, NULL, g_hInst, NULL);
        if (g_hSelectWnd) {
            // Under X11 without a window manager the keyboard follows only a focus change made
            // once the window is on the screen: the focus is taken away and given back.
            UpdateWindow(g_hSelectWnd);
            SetForegroundWindow(g_hSelectWnd);
            s_bRefocusing = true;
            SetFocus(NULL);
            SetFocus(g_hSelectWnd);
            s_bRefocusing = false;
            // The hooks go in before the magnifier opens: a press made while it opens would
            // otherwise reach the window the display hands it to and be lost. What they bring
            // meanwhile waits in the queue. An Enter that started the capture and is still held
            // repeats: that is no press.
            s_vkPressHeld = GetAsyncKeyState(VK_RETURN) < 0 ? VK_RETURN : 0;
            s_hMouseHook = SetWindowsHookExA(WH_MOUSE_LL, SelectionMouseProc, g_hInst, 0);
            s_hKeyHook = SetWindowsHookExA(WH_KEYBOARD_LL, SelectionKeyProc, g_hInst, 0);
            // Beside the cursor from the start, above the overlay that has just come to the top;
            // it magnifies a copy of the picture without a frame.
            if (g_ExtraOptions.ShowMagnifier && s_picture.dc && OpenMagnifier(s_picture.dc, cx, cy)) {
                POINT pt;
                GetCursorPos(&pt);
                MoveMagnifier(pt, NULL);
            }
            MSG msg;
            BOOL got;
            while ((got = GetMessageA(&msg, NULL, 0, 0)) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            // A quit that the overlay did not post (the session ending) belongs to the
            // program's own loop: the selection ends and the quit is passed on.
            if (g_hSelectWnd) {
                HWND overlay = g_hSelectWnd;
                CloseSelection(overlay);
                MSG ours;
                PeekMessageA(&ours, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
                if (got == 0) PostQuitMessage((int)msg.wParam);
            }
        }
        RemoveInputHooks();
        CloseMagnifier();
        DropScreenCopy(&s_picture);
        UnregisterClassA(cls, g_hInst);
    }

    UpdateAllWindows();
    if (!IsRectEmpty(&g_rcCapture)) CaptureScreenRect();
    EndPhysicalPixels(scaling);
    if (owner) {
        ShowWindow(owner, SW_SHOW);
        BringWindowToTop(owner);
    }
    s_hOwner = NULL;
    if (!IsRectEmpty(&g_rcCapture)) DeliverCapture();
}
