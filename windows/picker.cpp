// The window picker. An invisible popup holds the mouse capture and takes the user's input while
// a nested message loop runs; the window under the pointer is outlined until a click picks it.
//
// Two desktops are served by the same handlers. On a classic desktop the capture brings every
// move and the click, and inverting pixels through a window's DC draws the outline. Where other
// processes' windows are composed apart from ours (Wine's X11 driver, composited desktops), the
// capture sees no input over their windows unless a button is held, keys may go to the window
// under the pointer, and pixels written through their DCs never reach the screen. Low-level mouse
// and keyboard hooks therefore feed the same handlers, swallowing the click or key that ends the
// pick so that no other window sees it, and the outline is a top-most ring window of our own that
// shows the inverse of the screen below it.
#include "windows/picker.h"
#include "windows/pointing.h"
#include "windows/screen.h"
#include "app/dpi.h"
#include "windows/window_query.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "resource.h"

// The ring window's class; like the picker's class it lives for one pick only.
static const char kFrameClass[] = "Vantix_PickFrame";

// Picker state: one pick at a time.
static bool s_bPicking;
static HWND s_hPicked;
static bool s_bSkipChildren;
static HHOOK s_hJournalHook;
static HHOOK s_hMouseHook;
static HHOOK s_hKeyHook;
static HWND s_hPicker;
static PickHooks s_lastHooks;

// A quit message that came during the pick (the tray's Quit, the session ending): the pick ends
// with nothing and the quit goes on to the program's own loop.
static bool s_bQuitSeen;
static int s_nQuitCode;

// The frame: the ring window, the window it outlines now (NULL while hidden), and a picture of
// the screen taken before the first frame, from which the ring paints its inverse.
static HWND s_hFrame;
static HWND s_hFramed;
static ScreenCopy s_screen;

// An arrow key's step as the keyboard hook passes it on (wParam: x, lParam: y).
static const UINT WM_PICK_ARROW = WM_APP + 1;

// The click or key that ended the pick came through a hook; its release is swallowed too.
static bool s_bSwallowUp;
static DWORD s_dwSwallowKey;
// The arrow keys whose press stepped the cursor: their release is the pick's as well.
static unsigned s_uArrowsDown;

static const DWORD kReleaseWaitMs = 2000;

// ---- The frame

// Three borders at 96 DPI, as thick to the eye on a monitor of any DPI.
static int FrameThickness()
{
    return ScaleForDpi(3 * GetSystemMetrics(SM_CXBORDER), DpiOfWindow(s_hFrame));
}

// The ring of a window rectangle as a region in the ring window's own coordinates.
static HRGN CreateRingRegion(int width, int height, int thickness)
{
    HRGN outer = CreateRectRgn(0, 0, width, height);
    if (width > 2 * thickness && height > 2 * thickness) {
        HRGN inner = CreateRectRgn(thickness, thickness, width - thickness, height - thickness);
        CombineRgn(outer, outer, inner, RGN_DIFF);
        DeleteObject(inner);
    }
    return outer;
}

// The whole virtual screen, which the ring may cross anywhere.
static void TakeScreenPicture()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    RECT all = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    TakeScreenCopy(&s_screen, all);
}

static void PickerFrame_OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hWnd, &ps);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    if (s_screen.dc)
        BitBlt(dc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, s_screen.dc,
               rc.left - s_screen.area.left, rc.top - s_screen.area.top, NOTSRCCOPY);
    else
        PatBlt(dc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, BLACKNESS);
    EndPaint(hWnd, &ps);
}

static LRESULT CALLBACK FrameWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCHITTEST:
        // Pointing at the ring means pointing at the window below it.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PickerFrame_OnPaint(hWnd);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

static void ShowFrame(HWND window)
{
    // On the frame the user sees, not around the invisible resize borders of a composited desktop.
    RECT rc;
    if (!s_hFrame || !WindowFrameBounds(window, &rc)) return;
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    SetWindowRgn(s_hFrame, CreateRingRegion(w, h, FrameThickness()), FALSE);
    SetWindowPos(s_hFrame, HWND_TOPMOST, rc.left, rc.top, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(s_hFrame, NULL, FALSE);
    UpdateWindow(s_hFrame);
    s_hFramed = window;
}

static void HideFrame()
{
    if (s_hFrame) NoteLeavingWindow(s_hFrame);   // a capture next waits until the screen lets it go
    if (s_hFrame) ShowWindow(s_hFrame, SW_HIDE);
    s_hFramed = NULL;
}

// Draws the frame of a window, or erases it when it is drawn: the same call does both, as
// inverting pixels twice would.
static void InvertWindowFrame(HWND window)
{
    if (s_hFramed == window) HideFrame();
    else ShowFrame(window);
}

// ---- Picker window

// The window that pointing at a window picks: itself, or with skipChildren its outermost ancestor.
static HWND PickTarget(HWND pointed, bool skipChildren)
{
    HWND w = pointed;
    if (skipChildren) {
        // GetParent also names the owner of a top-level popup, so owned dialogs give their owner.
        for (HWND up = GetParent(w); up && IsWindow(up); up = GetParent(w)) w = up;
    }
    return w;
}

static void EndPick(bool keepResult)
{
    if (s_hPicked) InvertWindowFrame(s_hPicked);
    if (!keepResult) s_hPicked = NULL;
    // Cleared before the destruction, so that the capture loss it causes ends nothing twice.
    s_bPicking = false;
    if (s_hPicker) DestroyWindow(s_hPicker);
}

static void Picker_OnPointerAt(POINT pt)
{
    if (!s_bPicking) return;
    HWND w = WindowFromPoint(pt);
    if (!w) return;
    w = PickTarget(w, s_bSkipChildren);
    // The program's own windows are never outlined; the frame stays where it was.
    if (GetWindowThreadProcessId(w, NULL) == GetCurrentThreadId() || w == s_hPicked) return;
    if (s_hPicked) InvertWindowFrame(s_hPicked);
    s_hPicked = w;
    InvertWindowFrame(w);
}

static void Picker_OnMouseMove()
{
    DWORD pos = GetMessagePos();
    POINT pt = {(short)LOWORD(pos), (short)HIWORD(pos)};
    Picker_OnPointerAt(pt);
}

static void Picker_OnLButtonDown()
{
    if (s_bPicking) EndPick(true);
}

static void Picker_OnChar()
{
    // Esc or any other character: no result.
    if (s_bPicking) EndPick(false);
}

// An arrow steps the real cursor and the outline follows as it follows the mouse.
static void Picker_OnArrow(POINT step)
{
    if (!s_bPicking) return;
    RECT screen;
    screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    Picker_OnPointerAt(StepCursor(step, screen));
}

// A bit per arrow key, for the releases that follow the presses taken.
static unsigned ArrowBit(DWORD vk)
{
    return vk >= VK_LEFT && vk <= VK_DOWN ? 1u << (vk - VK_LEFT) : 0;
}

static LRESULT CALLBACK JournalRecordProc(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(s_hJournalHook, code, wParam, lParam);
}

static LRESULT CALLBACK PickMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const MSLLHOOKSTRUCT* m = (const MSLLHOOKSTRUCT*)lParam;
        switch (wParam) {
        case WM_MOUSEMOVE:
            Picker_OnPointerAt(m->pt);
            break;
        case WM_LBUTTONDOWN:
            if (s_bPicking) {
                s_bSwallowUp = true;
                Picker_OnLButtonDown();
                return 1;
            }
            break;
        case WM_LBUTTONUP:
            if (s_bSwallowUp) {
                s_bSwallowUp = false;
                return 1;
            }
            break;
        }
    }
    return CallNextHookEx(s_hMouseHook, code, wParam, lParam);
}

// A key that types a character, as the picker window would get it in WM_CHAR; Esc is one.
static bool IsCharacterKey(DWORD vk)
{
    return MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR) != 0;
}

static LRESULT CALLBACK PickKeyProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const KBDLLHOOKSTRUCT* k = (const KBDLLHOOKSTRUCT*)lParam;
        bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        POINT step;
        if (down && s_bPicking && ArrowKeyStep(k->vkCode, ShiftIsDown(), &step)) {
            s_uArrowsDown |= ArrowBit(k->vkCode);
            // Stepped in the picker's own time, as the window would get the key: the hook
            // answers at once.
            PostMessageA(s_hPicker, WM_PICK_ARROW, (WPARAM)step.x, (LPARAM)step.y);
            return 1;
        }
        if (!down && (s_uArrowsDown & ArrowBit(k->vkCode))) {
            s_uArrowsDown &= ~ArrowBit(k->vkCode);
            return 1;
        }
        // Enter picks as a click does.
        if (down && s_bPicking && k->vkCode == VK_RETURN) {
            s_dwSwallowKey = k->vkCode;
            Picker_OnLButtonDown();
            return 1;
        }
        if (down && s_bPicking && IsCharacterKey(k->vkCode)) {
            s_dwSwallowKey = k->vkCode;
            Picker_OnChar();
            return 1;
        }
        if (!down && s_dwSwallowKey && k->vkCode == s_dwSwallowKey) {
            s_dwSwallowKey = 0;
            return 1;
        }
    }
    return CallNextHookEx(s_hKeyHook, code, wParam, lParam);
}

static void Picker_OnCreate(HWND hWnd)
{
    s_hPicker = hWnd;
    s_bPicking = true;
    s_hPicked = NULL;
    SetActiveWindow(hWnd);
    s_hJournalHook = SetWindowsHookExA(WH_JOURNALRECORD, JournalRecordProc, g_hInst, 0);
    s_hMouseHook = SetWindowsHookExA(WH_MOUSE_LL, PickMouseProc, g_hInst, 0);
    s_hKeyHook = SetWindowsHookExA(WH_KEYBOARD_LL, PickKeyProc, g_hInst, 0);
    s_lastHooks.journal = s_hJournalHook;
    s_lastHooks.mouse = s_hMouseHook;
    s_lastHooks.keyboard = s_hKeyHook;
    SetCapture(hWnd);
    SetCursor(LoadCursorA(g_hInst, MAKEINTRESOURCEA(IDCUR_RING)));
}

// The platform may have cancelled the hook already (WM_CANCELJOURNAL); removing it again does
// no harm, and its failure then says nothing.
static void UnhookJournal()
{
    if (s_hJournalHook) UnhookWindowsHookEx(s_hJournalHook);
    s_hJournalHook = NULL;
}

static void Picker_OnDestroy()
{
    s_bPicking = false;
    ReleaseCapture();
    UnhookJournal();
    s_hPicker = NULL;
    // The pick may end inside a hook, while the loop waits for its next message: wake it.
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

static LRESULT CALLBACK PickerWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        Picker_OnCreate(hWnd);
        return 0;
    case WM_MOUSEMOVE:
        Picker_OnMouseMove();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_CAPTURECHANGED:
        Picker_OnLButtonDown();
        return 0;
    case WM_KEYDOWN: {
        // The hook brings every key; the window's own are used only without it.
        POINT step;
        if (s_hKeyHook) return 0;
        if (ArrowKeyStep((UINT)wParam, GetKeyState(VK_SHIFT) < 0, &step)) Picker_OnArrow(step);
        else if (wParam == VK_RETURN) Picker_OnLButtonDown();
        return 0;
    }
    case WM_PICK_ARROW: {
        POINT step = {(LONG)(LONG_PTR)wParam, (LONG)lParam};
        Picker_OnArrow(step);
        return 0;
    }
    case WM_CHAR:
        // Enter picks (as a key, above); every other character cancels.
        if (wParam != '\r' && wParam != '\n') Picker_OnChar();
        return 0;
    case WM_DESTROY:
        Picker_OnDestroy();
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// ---- The pick

static bool RegisterPickClasses(const char* pickerClass)
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = PickerWndProc;
    wc.hInstance = g_hInst;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = pickerClass;
    if (!RegisterClassExA(&wc)) return false;
    wc.lpfnWndProc = FrameWndProc;
    wc.lpszClassName = kFrameClass;
    RegisterClassExA(&wc);
    return true;
}

static void NoteQuit(int code)
{
    s_bQuitSeen = true;
    s_nQuitCode = code;
}

// Runs the pick's own loop until the picker window is gone. The loop never posts a quit of its
// own, so every quit it meets is the program's.
static void RunPickLoop()
{
    MSG msg;
    while (s_hPicker) {
        BOOL got = GetMessageA(&msg, NULL, 0, 0);
        if (got == -1) break;
        if (!got) {
            NoteQuit((int)msg.wParam);
            EndPick(false);
            break;
        }
        if (msg.message == WM_CANCELJOURNAL) {
            // The platform took the journal hook away (Ctrl+Esc, Ctrl+Alt+Del): the pick ends.
            UnhookJournal();
            EndPick(false);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The release of the click or key that ended the pick must not reach another window either; it
// normally follows within milliseconds.
static void SwallowRelease()
{
    DWORD start = GetTickCount();
    while ((s_bSwallowUp || s_dwSwallowKey) && GetTickCount() - start < kReleaseWaitMs) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                NoteQuit((int)msg.wParam);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// A quit posted by the message that ended the pick is still waiting; it is taken here so that
// nothing that follows the pick (a capture's delivery by the caller) runs its own loop on it.
static void TakePendingQuit()
{
    MSG msg;
    if (PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) NoteQuit((int)msg.wParam);
}

// Without SWP_NOACTIVATE, Wine activates the window and with that brings it to the top instead.
static void MoveToBottom(HWND hWnd)
{
    SetWindowPos(hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

HWND PickWindow(HWND owner, bool skipChildren, PickCallback callback)
{
    UpdateAllWindows();
    s_hPicked = NULL;
    s_bSkipChildren = skipChildren;
    s_bSwallowUp = false;
    s_dwSwallowKey = 0;
    s_uArrowsDown = 0;
    s_bQuitSeen = false;
    s_nQuitCode = 0;
    ZeroMemory(&s_lastHooks, sizeof(s_lastHooks));
    char pickerClass[64];
    lstrcpynA(pickerClass, LoadResString(IDS_PICK_CLASS), sizeof(pickerClass));
    bool registered = RegisterPickClasses(pickerClass);
    if (owner) {
        MoveToBottom(owner);
        UpdateAllWindows();
    }
    if (registered) {
        // Pixels of the screen, not of a scaled picture of it: the outline and the keys' steps
        // count them.
        HANDLE scaling = BeginPhysicalPixels();
        TakeScreenPicture();
        s_hFrame = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE,
                                   kFrameClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, g_hInst, NULL);
        CreateWindowExA(0, pickerClass, "", WS_POPUP | WS_DLGFRAME, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, g_hInst, NULL);
        if (s_hPicker) RunPickLoop();
        SwallowRelease();
        if (!s_bQuitSeen) TakePendingQuit();
        if (s_hMouseHook) UnhookWindowsHookEx(s_hMouseHook);
        if (s_hKeyHook) UnhookWindowsHookEx(s_hKeyHook);
        s_hMouseHook = s_hKeyHook = NULL;
        s_bSwallowUp = false;
        s_dwSwallowKey = 0;
        if (s_hFrame) DestroyWindow(s_hFrame);
        s_hFrame = NULL;
        s_hFramed = NULL;
        DropScreenCopy(&s_screen);
        EndPhysicalPixels(scaling);
        UnregisterClassA(kFrameClass, g_hInst);
        UnregisterClassA(pickerClass, g_hInst);
    }
    if (owner) MoveToBottom(owner);
    UpdateAllWindows();
    if (s_bQuitSeen) s_hPicked = NULL;
    HWND picked = s_hPicked;
    if (callback && picked) callback(picked);
    if (owner) BringWindowToTop(owner);
    if (s_bQuitSeen) PostQuitMessage(s_nQuitCode);
    return picked;
}

PickHooks LastPickHooks()
{
    return s_lastHooks;
}
