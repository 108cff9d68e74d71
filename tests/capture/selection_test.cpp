// The area selection overlay driven by real mouse and keyboard input (xdotool), over a window
// of another process that shows a known picture.
#include "capture/capture_test_base.h"
#include "capture/magnifier.h"
#include "windows/pointing.h"
#include "capture_picture.h"

#include <stdio.h>
#include <string.h>
#include <string>

namespace {

// What a check running inside the overlay's message loop saw.
struct InsideLook {
    bool ran = false;
    bool ownerVisible = true;
    RECT overlayRect = {0, 0, 0, 0};
    LONG_PTR exStyle = 0;
    LONG_PTR cursor = 0;
    long shownDiff = -1;           // overlay picture against the fixture's picture
    long firstDrawChanged = -1;    // pixels changed by one DrawSelectionFrame
    long firstDrawNotInverted = -1;
    long outlineNotChanged = -1;
    long secondDrawDiff = -1;      // after drawing twice, against before
};

class Selection : public CaptureTest {
protected:
    void SetUp() override
    {
        CaptureTest::SetUp();
        PrepareXdotool();
        // The pointer waits far from the fixtures, and with it the magnifier, unless a test
        // moves it: what the overlay shows over a fixture is then the fixture alone.
        ParkPointer();
        owner_ = CreateWindowExA(0, "Static", "selection owner", WS_POPUP | WS_VISIBLE | WS_BORDER, 900, 700, 120, 60,
                                 NULL, NULL, g_hInst, NULL);
        s_self = this;
        // A sentinel on the clipboard: a selection that delivers nothing leaves it there.
        PutSentinel();
        g_Options.CaptureDestination = IDC_CAP_CLIPBOARD;
    }
    static void PutSentinel()
    {
        OpenClipboard(NULL);
        EmptyClipboard();
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
        lstrcpyA((char*)GlobalLock(text), "sentinel");
        GlobalUnlock(text);
        SetClipboardData(CF_TEXT, text);
        CloseClipboard();
    }
    static void ParkPointer()
    {
        StartXdotool("mousemove 1200 980");
        WaitUntil([] {
            POINT pt;
            return GetCursorPos(&pt) && pt.x == 1200 && pt.y == 980;
        }, 5000);
    }
    // Puts the pointer at p before a selection begins, and returns once it is there.
    static bool PointerTo(POINT p)
    {
        StartXdotool("mousemove " + std::to_string(p.x) + " " + std::to_string(p.y));
        return WaitUntil([&] {
            POINT pt;
            return GetCursorPos(&pt) && pt.x == p.x && pt.y == p.y;
        }, 5000);
    }
    // Waits, without dispatching anything, until pred holds: window surfaces reach the display
    // while the thread waits for messages.
    template <class Pred> static bool FlushUntil(Pred pred)
    {
        DWORD start = GetTickCount();
        while (!pred()) {
            if (GetTickCount() - start > 5000) return false;
            MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        }
        return true;
    }
    // Returns once everything drawn on the overlay so far shows on the display: a pixel drawn
    // after it shows (and is drawn back).
    static void SyncDrawing()
    {
        const int x = GetSystemMetrics(SM_CXSCREEN) - 1, y = GetSystemMetrics(SM_CYSCREEN) - 1;
        RECT mark = {x, y, x + 1, y + 1};
        for (int i = 0; i < 2; i++) {
            Picture was = ScreenPicture(mark);
            HDC dc = GetDC(g_hSelectWnd);
            PatBlt(dc, x, y, 1, 1, DSTINVERT);
            ReleaseDC(g_hSelectWnd, dc);
            EXPECT_TRUE(FlushUntil([&] { return PictureDifference(ScreenPicture(mark), was) != 0; }))
                << "drawing on the overlay reaches the display";
        }
    }
    void TearDown() override
    {
        DestroyWindow(owner_);
        s_self = NULL;
        CaptureTest::TearDown();
    }

    // Runs a selection; once the overlay is up, xdotool plays `input` (when given) and `inside`
    // runs within the overlay's loop. A watchdog cancels a selection that never ends.
    void Select(int w, int h, const std::string& input, std::function<void()> inside = nullptr)
    {
        // As after a click on the capture button: the owner is the foreground window, and every
        // other program has handled its loss of the activation (handled late, under X11, it
        // takes the activation from whatever window is active then).
        SetForegroundWindow(owner_);
        PumpUntil([&] { return GetForegroundWindow() == owner_ && !OtherThreadActive(); }, 3000);
        input_ = input;
        inside_ = inside;
        started_ = false;
        UINT_PTR start = SetTimer(NULL, 0, 150, StartProc);
        UINT_PTR watchdog = SetTimer(NULL, 0, 20000, WatchdogProc);
        timedOut_ = false;
        StartAreaSelection(owner_, w, h);
        KillTimer(NULL, start);
        KillTimer(NULL, watchdog);
        EXPECT_FALSE(timedOut_) << "the selection did not end by itself";
        EXPECT_FALSE(g_hSelectWnd) << "the overlay is gone";
        EXPECT_TRUE(IsWindowVisible(owner_)) << "the owner is back";
    }
    static void CALLBACK StartProc(HWND, UINT, UINT_PTR id, DWORD)
    {
        Selection* self = s_self;
        if (!self || self->started_ || !g_hSelectWnd) return;
        self->started_ = true;
        KillTimer(NULL, id);
        if (self->inside_) self->inside_();
        // The overlay takes input from the moment it is up.
        if (!self->input_.empty()) StartXdotool(self->input_);
    }
    static void CALLBACK WatchdogProc(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(NULL, id);
        if (s_self) s_self->timedOut_ = true;
        if (g_hSelectWnd) PostMessageA(g_hSelectWnd, WM_CHAR, 'x', 0);
    }
    static std::string Drag(POINT from, POINT via, POINT to)
    {
        char buf[256];
        snprintf(buf, sizeof(buf), "mousemove %ld %ld mousedown 1 mousemove %ld %ld mousemove %ld %ld mouseup 1",
                 (long)from.x, (long)from.y, (long)via.x, (long)via.y, (long)to.x, (long)to.y);
        return buf;
    }
    // Whether a thread of another process still holds an active window: it has not handled the
    // owner's activation yet, and would act on it in the middle of the selection.
    static BOOL CALLBACK FindActiveProc(HWND h, LPARAM found)
    {
        DWORD pid = 0, thread = GetWindowThreadProcessId(h, &pid);
        GUITHREADINFO gui;
        ZeroMemory(&gui, sizeof(gui));
        gui.cbSize = sizeof(gui);
        DWORD_PTR r;
        // A hung program acts on nothing.
        if (pid != GetCurrentProcessId() && IsWindowVisible(h) && GetGUIThreadInfo(thread, &gui) && gui.hwndActive &&
            SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &r)) {
            *(bool*)found = true;
            return FALSE;
        }
        return TRUE;
    }
    static bool OtherThreadActive()
    {
        bool found = false;
        EnumWindows(FindActiveProc, (LPARAM)&found);
        return found;
    }
    static bool ClipboardHoldsSentinel()
    {
        return IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_DIB);
    }
    // Looks at the overlay from inside its loop: geometry, the picture it shows, and one
    // frame drawn twice.
    InsideLook Look(const RECT& fixtureClient, const RECT& frame, int cursorId)
    {
        InsideLook look;
        look.ran = true;
        look.ownerVisible = IsWindowVisible(owner_) != 0;
        GetWindowRect(g_hSelectWnd, &look.overlayRect);
        look.exStyle = GetWindowLongPtrA(g_hSelectWnd, GWL_EXSTYLE);
        look.cursor = GetClassLongPtrA(g_hSelectWnd, GCLP_HCURSOR) ==
                      (ULONG_PTR)LoadCursorA(g_hInst, MAKEINTRESOURCEA(cursorId));
        UpdateWindow(g_hSelectWnd);
        SyncDrawing();
        look.shownDiff = PictureDifference(ScreenPicture(fixtureClient),
                                           ExpectedPicture(0, 0, fixtureClient.right - fixtureClient.left,
                                                           fixtureClient.bottom - fixtureClient.top));
        RECT area = {frame.left - 2, frame.top - 2, frame.right + 3, frame.bottom + 3};
        Picture before = ScreenPicture(area);
        RECT saved = g_rcCapture;
        g_rcCapture = frame;
        DrawSelectionFrame();
        SyncDrawing();
        Picture once = ScreenPicture(area);
        look.firstDrawChanged = 0;
        look.firstDrawNotInverted = 0;
        look.outlineNotChanged = 0;
        for (int y = 0; y < before.height; y++)
            for (int x = 0; x < before.width; x++) {
                unsigned long a = before.At(x, y), b = once.At(x, y);
                int sx = area.left + x, sy = area.top + y;
                bool outline = sx >= frame.left && sx <= frame.right && sy >= frame.top && sy <= frame.bottom &&
                               (sx == frame.left || sx == frame.right || sy == frame.top || sy == frame.bottom);
                if (a != b) {
                    look.firstDrawChanged++;
                    if (b != (~a & 0xFFFFFF)) look.firstDrawNotInverted++;
                } else if (outline) {
                    look.outlineNotChanged++;
                }
            }
        DrawSelectionFrame();
        // A repaint of the overlay shows the same: the frame is gone from its picture too.
        InvalidateRect(g_hSelectWnd, NULL, FALSE);
        UpdateWindow(g_hSelectWnd);
        SyncDrawing();
        look.secondDrawDiff = PictureDifference(before, ScreenPicture(area));
        g_rcCapture = saved;
        return look;
    }

    static Selection* s_self;
    HWND owner_ = NULL;
    std::string input_;
    std::function<void()> inside_;
    bool started_ = false;
    bool timedOut_ = false;
};
Selection* Selection::s_self;

static long OutlinePixels(const RECT& f)
{
    return 2L * (f.right - f.left + 1) + 2L * (f.bottom - f.top + 1) - 4;
}

TEST_F(Selection, FreeDragDownRightAndUpLeftCaptureTheSameRectangle)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    POINT a = {c.left + 30, c.top + 20}, b = {c.left + 190, c.top + 130};
    RECT want = {a.x, a.y, b.x, b.y};
    Picture expected = ExpectedPicture(30, 20, 160, 110);

    Select(0, 0, Drag(a, POINT{a.x + 70, a.y + 90}, b));
    EXPECT_TRUE(EqualRect(&g_rcCapture, &want))
        << g_rcCapture.left << "," << g_rcCapture.top << "," << g_rcCapture.right << "," << g_rcCapture.bottom;
    EXPECT_EQ(PictureDifference(ClipboardPicture(), expected), 0) << "down and to the right";

    OpenClipboard(NULL);
    EmptyClipboard();
    CloseClipboard();
    Select(0, 0, Drag(b, POINT{b.x - 100, b.y - 10}, a));
    EXPECT_TRUE(EqualRect(&g_rcCapture, &want));
    EXPECT_EQ(PictureDifference(ClipboardPicture(), expected), 0) << "up and to the left";
}

TEST_F(Selection, KeysAndClicksTheDisplayHandsToAnotherProgramStillReachTheSelection)
{
    // Under X11 the keyboard may stay with another program's window that took it last, and a
    // program that handles its activation late is raised above every window, the overlay too:
    // the selection still gets the key and the drag, and the other program neither.
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    const unsigned long xwin = (unsigned long)(ULONG_PTR)GetPropA(fixture.Window(), "__wine_x11_whole_window");
    ASSERT_TRUE(xwin) << "the fixture's X11 window";
    const long activations = fixture.Activations();
    ASSERT_GE(activations, 1);

    Select(0, 0, "key --window " + std::to_string(xwin) + " Escape");
    EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
    EXPECT_TRUE(ClipboardHoldsSentinel()) << "a key cancels wherever the display sends it";

    POINT a = {c.left + 30, c.top + 20}, b = {c.left + 190, c.top + 130};
    RECT want = {a.x, a.y, b.x, b.y};
    Select(0, 0, "windowraise " + std::to_string(xwin) + " " + Drag(a, POINT{a.x + 70, a.y + 90}, b));
    EXPECT_TRUE(EqualRect(&g_rcCapture, &want))
        << g_rcCapture.left << "," << g_rcCapture.top << "," << g_rcCapture.right << "," << g_rcCapture.bottom;
    EXPECT_EQ(PictureDifference(ClipboardPicture(), ExpectedPicture(30, 20, 160, 110)), 0);
    EXPECT_EQ(fixture.Activations(), activations) << "the other program got no click";
}

TEST_F(Selection, AClickWithoutMovementCapturesNothing)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    char input[128];
    snprintf(input, sizeof(input), "mousemove %ld %ld click 1", (long)c.left + 50, (long)c.top + 50);
    Select(0, 0, input);
    EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
    EXPECT_TRUE(ClipboardHoldsSentinel());
}

TEST_F(Selection, FixedFrameIsCentredOnThePressAndFollowsTheMouse)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    g_Options.CaptureArea = 1;

    // Pressed and released in place: the frame centred on the press.
    POINT p = {c.left + 100, c.top + 60};
    char input[160];
    snprintf(input, sizeof(input), "mousemove %ld %ld mousedown 1 mouseup 1", (long)p.x, (long)p.y);
    Select(61, 41, input);
    RECT want = {p.x - 30, p.y - 20, p.x + 31, p.y + 21};
    EXPECT_TRUE(EqualRect(&g_rcCapture, &want))
        << g_rcCapture.left << "," << g_rcCapture.top << "," << g_rcCapture.right << "," << g_rcCapture.bottom;
    EXPECT_EQ(PictureDifference(ClipboardPicture(), ExpectedPicture(70, 40, 61, 41)), 0);

    // Moved while held: captured where it is at the release.
    POINT q = {c.left + 150, c.top + 100};
    Select(61, 41, Drag(p, POINT{p.x + 10, p.y + 5}, q));
    RECT moved = {q.x - 30, q.y - 20, q.x + 31, q.y + 21};
    EXPECT_TRUE(EqualRect(&g_rcCapture, &moved));
    EXPECT_EQ(PictureDifference(ClipboardPicture(), ExpectedPicture(120, 80, 61, 41)), 0);

    // A negative size is an empty frame wherever it goes: nothing is captured.
    PutSentinel();
    Select(-20, 41, Drag(p, POINT{p.x + 10, p.y + 5}, q));
    EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
    EXPECT_TRUE(ClipboardHoldsSentinel());
}

TEST_F(Selection, AnyKeyCancels)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    const char* keys[] = {"Escape", "a", "Tab"};
    for (const char* key : keys) {
        SCOPED_TRACE(key);
        PutSentinel();
        // Even in the middle of a drag.
        char input[200];
        snprintf(input, sizeof(input), "mousemove %ld %ld mousedown 1 mousemove %ld %ld key %s mouseup 1",
                 (long)c.left + 10, (long)c.top + 10, (long)c.left + 90, (long)c.top + 70, key);
        Select(0, 0, input);
        EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
        EXPECT_TRUE(ClipboardHoldsSentinel()) << "nothing delivered";
    }
    g_Options.CaptureArea = 2;
    PutSentinel();
    Select(32, 32, "key Escape");
    EXPECT_TRUE(IsRectEmpty(&g_rcCapture)) << "a fixed frame is cancelled too";
    EXPECT_TRUE(ClipboardHoldsSentinel());
}

TEST_F(Selection, OverlayShowsTheScreenAndDrawsTheFrameByInvertingItExactlyOnce)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    RECT frame = {c.left + 20, c.top + 15, c.left + 140, c.top + 95};
    struct {
        const char* name;
        int area, w, h;
        bool dims;
        int cursor;
        bool label;
    } cases[] = {
        {"free", 0, 0, 0, false, IDCUR_CROSS, false},
        {"free with dimensions", 0, 0, 0, true, IDCUR_CROSS, true},
        {"rectangle with dimensions", 1, 60, 40, true, IDCUR_RING, false},
        {"rectangle of zero width", 1, 0, 40, false, IDCUR_CROSS, false},
        {"icon", 2, 32, 32, true, IDCUR_RING, false},
        {"small icon", 3, 16, 16, false, IDCUR_SMALLCROSS, false},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.name);
        g_Options.CaptureArea = (int8_t)k.area;
        g_Options.ShowDimensions = k.dims;
        InsideLook look;
        Select(k.w, k.h, "", [&] {
            look = Look(c, frame, k.cursor);
            PostMessageA(g_hSelectWnd, WM_CHAR, VK_ESCAPE, 0);
        });
        ASSERT_TRUE(look.ran);
        EXPECT_FALSE(look.ownerVisible) << "the owner is hidden during the selection";
        EXPECT_EQ(look.overlayRect.left, 0);
        EXPECT_EQ(look.overlayRect.top, 0);
        EXPECT_EQ(look.overlayRect.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(look.overlayRect.bottom, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(look.exStyle & (WS_EX_TOPMOST | WS_EX_TRANSPARENT), WS_EX_TOPMOST | WS_EX_TRANSPARENT);
        EXPECT_TRUE(look.cursor) << "class cursor " << k.cursor;
        EXPECT_EQ(look.shownDiff, 0) << "the overlay shows the screen as it was, not black";
        EXPECT_EQ(look.outlineNotChanged, 0) << "every outline pixel inverted";
        EXPECT_EQ(look.firstDrawNotInverted, 0) << "changed pixels are exact inverses";
        if (k.label)
            EXPECT_GT(look.firstDrawChanged, OutlinePixels(frame) + 20) << "the dimension label inverts its glyphs";
        else
            EXPECT_EQ(look.firstDrawChanged, OutlinePixels(frame)) << "the outline alone, each pixel once";
        EXPECT_EQ(look.secondDrawDiff, 0) << "drawn twice, the screen is as before";
        EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
    }
}

TEST_F(Selection, AnEmptyFrameDrawsNothing)
{
    g_Options.ShowDimensions = 1;
    long changed = -1;
    Select(0, 0, "", [&] {
        RECT area = {100, 100, 400, 300};
        SyncDrawing();
        Picture before = ScreenPicture(area);
        SetRect(&g_rcCapture, 200, 150, 200, 250);
        DrawSelectionFrame();
        SyncDrawing();
        changed = PictureDifference(before, ScreenPicture(area));
        SetRectEmpty(&g_rcCapture);
        PostMessageA(g_hSelectWnd, WM_CHAR, VK_ESCAPE, 0);
    });
    EXPECT_EQ(changed, 0);
}

TEST_F(Selection, DeactivationEndsTheSelectionWithTheFrameWhereItIs)
{
    PictureWindow fixture(0, 0, 240, 160);
    ASSERT_TRUE(fixture.Window());
    g_Options.CaptureArea = 1;
    HWND other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 1000, 800, 50, 50, NULL, NULL, g_hInst, NULL);
    Select(40, 30, "", [&] { SetActiveWindow(other); });
    DestroyWindow(other);
    RECT want = {0, 0, 40, 30};
    EXPECT_TRUE(EqualRect(&g_rcCapture, &want)) << "the fixed frame at its first place is captured";
    EXPECT_FALSE(ClipboardHoldsSentinel());

    // Free selection without a press holds nothing to capture.
    g_Options.CaptureArea = 0;
    PutSentinel();
    other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 1000, 800, 50, 50, NULL, NULL, g_hInst, NULL);
    Select(0, 0, "", [&] { SetActiveWindow(other); });
    DestroyWindow(other);
    EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
    EXPECT_TRUE(ClipboardHoldsSentinel());
}

TEST_F(Selection, AQuitArrivingMeanwhileEndsTheSelectionAndIsPassedOn)
{
    // The session ending posts the program's quit while a selection runs: the selection ends
    // and the program's own loop still gets its quit.
    Select(0, 0, "", [] { PostQuitMessage(7); });
    EXPECT_TRUE(IsRectEmpty(&g_rcCapture));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is still there";
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and only that one";
}

TEST_F(Selection, NoFrameIsLeftInACaptureOverAWindowThatNeverRepaints)
{
    // Where windows are composed apart, the screen keeps the overlay's last picture over a
    // window that does not repaint; the capture reads it, and it must hold no frame. A pause
    // during the drag lets a frame reach the display; the last moves and the release follow at
    // once.
    PictureWindow fixture(300, 260, 240, 160, "Vantix capture fixture", 2500);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    ASSERT_TRUE(WaitUntil([&] {
        return !SendMessageTimeoutA(fixture.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, NULL);
    }, 10000)) << "the fixture stopped answering";
    g_Options.ShowDimensions = 1;
    POINT a = {c.left + 30, c.top + 20}, b = {c.left + 190, c.top + 130};
    char input[256];
    snprintf(input, sizeof(input), "mousemove %ld %ld mousedown 1 mousemove %ld %ld sleep 0.3 mousemove %ld %ld mouseup 1",
             (long)a.x, (long)a.y, (long)a.x + 70, (long)a.y + 90, (long)b.x, (long)b.y);
    Select(0, 0, input);
    Picture got = ClipboardPicture(), want = ExpectedPicture(30, 20, 160, 110);
    EXPECT_EQ(PictureDifference(got, want), 0) << DescribeDifference(got, want);
}

// xdotool's name of a key, n times over.
static std::string Times(const char* key, int n)
{
    std::string keys;
    for (int i = 0; i < n; i++) keys += std::string(" ") + key;
    return keys;
}

static std::string At(const char* verb, POINT p)
{
    return std::string(verb) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + " ";
}

static std::string PositionText(POINT p)
{
    char text[32];
    snprintf(text, sizeof(text), "%ld, %ld", (long)p.x, (long)p.y);
    return text;
}

static std::string Describe(const RECT& r)
{
    char text[64];
    snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", (long)r.left, (long)r.top, (long)r.right, (long)r.bottom);
    return text;
}

TEST_F(Selection, ArrowsAndEnterOrSpaceAloneSelectExactlyTheRectangle)
{
    // No button: the pointer is where it was when the selection began, and the keys do the rest.
    // Neither the arrows, nor Shift, nor Enter or Space cancel.
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    struct {
        const char* name;
        int area, w, h;
        POINT start;        // in the fixture's client area
        std::string keys;
        RECT want;          // in the fixture's client area
        POINT end;          // where the keys leave the pointer
    } cases[] = {
        {"free, Enter, down and to the right", 0, 0, 0, {30, 20},
         "Return" + Times("shift+Right", 3) + Times("Right", 7) + Times("shift+Down", 2) + Times("Down", 3) + " Return",
         {30, 20, 67, 43}, {67, 43}},
        {"free, Space, up and to the left with a step back", 0, 0, 0, {150, 120},
         "space" + Times("shift+Left", 4) + " Right" + Times("shift+Up", 3) + " Up space", {111, 89, 150, 120},
         {111, 89}},
        {"a fixed frame carried by the arrows", 1, 61, 41, {100, 60}, "Return shift+Right Down Down Return",
         {80, 42, 141, 83}, {110, 62}},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.name);
        PutSentinel();
        g_Options.CaptureArea = (int8_t)k.area;
        ASSERT_TRUE(PointerTo(POINT{c.left + k.start.x, c.top + k.start.y}));
        Select(k.w, k.h, "key --delay 30 " + k.keys);
        RECT want = k.want;
        OffsetRect(&want, c.left, c.top);
        EXPECT_TRUE(EqualRect(&g_rcCapture, &want)) << Describe(g_rcCapture) << " instead of " << Describe(want);
        Picture got = ClipboardPicture(),
                expected = ExpectedPicture(k.want.left, k.want.top, k.want.right - k.want.left, k.want.bottom - k.want.top);
        EXPECT_EQ(PictureDifference(got, expected), 0) << DescribeDifference(got, expected);
        POINT pt = {0, 0};
        GetCursorPos(&pt);
        EXPECT_EQ(pt.x, c.left + k.end.x) << "the keys moved the real cursor";
        EXPECT_EQ(pt.y, c.top + k.end.y);
    }
}

TEST_F(Selection, EnterOrSpaceHeldDownPressesOnceThoughTheKeyboardRepeatsIt)
{
    // Held longer than the keyboard's delay, the key comes again and again; only its first
    // coming presses, and the next press releases.
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    for (const char* key : {"Return", "space"}) {
        SCOPED_TRACE(key);
        PutSentinel();
        ASSERT_TRUE(PointerTo(POINT{c.left + 40, c.top + 30}));
        Select(0, 0, std::string("keydown ") + key + " sleep 1.2 keyup " + key + " key --delay 30" +
                         Times("shift+Right", 5) + Times("shift+Down", 4) + " " + key);
        RECT want = {c.left + 40, c.top + 30, c.left + 90, c.top + 70};
        EXPECT_TRUE(EqualRect(&g_rcCapture, &want)) << Describe(g_rcCapture);
        Picture got = ClipboardPicture(), expected = ExpectedPicture(40, 30, 50, 40);
        EXPECT_EQ(PictureDifference(got, expected), 0) << DescribeDifference(got, expected);
    }
}

TEST_F(Selection, TheMagnifierShowsTheScreenEightTimesLargerAndNamesTheColourUnderTheCursor)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    const POINT in = {100, 70};
    const POINT p = {c.left + in.x, c.top + in.y};
    const RECT source = {p.x - 7, p.y - 7, p.x + 8, p.y + 8};
    bool ran = false, shown = false, imported = false;
    MagnifierReadout readout;
    MagnifierLayout layout;
    RECT window = {0, 0, 0, 0}, shotRect = {0, 0, 0, 0};
    LONG_PTR exStyle = 0;
    Picture shot;
    Select(0, 0, "", [&] {
        ran = true;
        StartXdotool(At("mousemove", p));
        PumpUntil([&] { return CurrentMagnifierReadout().lines[MAGNIFIER_LINE_POSITION] == PositionText(p); }, 5000);
        readout = CurrentMagnifierReadout();
        layout = CurrentMagnifierLayout();
        if (!g_hMagnifierWnd) return;
        GetWindowRect(g_hMagnifierWnd, &window);
        exStyle = GetWindowLongPtrA(g_hMagnifierWnd, GWL_EXSTYLE);
        // On the display once the centre cell shows the pixel under the hot spot.
        RECT centre = {window.left + layout.square.left + 57, window.top + layout.square.top + 57, 0, 0};
        centre.right = centre.left + 7;
        centre.bottom = centre.top + 7;
        shown = PumpUntil([&] {
            Picture now = ScreenPicture(centre);
            return PictureDifference(now, Picture{7, 7, std::vector<uint32_t>(49, CapturePicturePixel(in.x, in.y))}) == 0;
        }, 5000);
        // Another program's screenshot of the pixels and of their magnified picture at once.
        shotRect = source;
        UnionRect(&shotRect, &shotRect, &window);
        imported = ImportScreenshot(shotRect, &shot);
        SaveScreenShot("capture_magnifier");
        PostMessageA(g_hSelectWnd, WM_CHAR, VK_ESCAPE, 0);
    });
    ASSERT_TRUE(ran);
    ASSERT_TRUE(shown) << "the magnifier shows beside the cursor";
    ASSERT_TRUE(imported);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_NOACTIVATE),
              WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_LAYERED | WS_EX_NOACTIVATE)
        << "top-most, and clicks go through it";
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    POINT at = PlaceMagnifier(p, layout.size, screen);
    EXPECT_EQ(window.left, at.x);
    EXPECT_EQ(window.top, at.y);
    EXPECT_EQ(window.left, p.x + MAGNIFIER_OFFSET) << "to the right of the hot spot, away from the edges";

    auto shotAt = [&](LONG x, LONG y) { return shot.At(x - shotRect.left, y - shotRect.top); };
    // The screenshot's own pixels around the hot spot are the fixture's, as the overlay shows it.
    long sourceWrong = 0;
    for (LONG y = source.top; y < source.bottom; y++)
        for (LONG x = source.left; x < source.right; x++)
            if (shotAt(x, y) != CapturePicturePixel(x - c.left, y - c.top)) sourceWrong++;
    EXPECT_EQ(sourceWrong, 0);
    // Each of the 15 x 15 pixels fills its cell but for the grid: seven by seven of its colour.
    const LONG sx = window.left + layout.square.left, sy = window.top + layout.square.top;
    long cellWrong = 0;
    for (int j = 0; j < 15; j++)
        for (int i = 0; i < 15; i++) {
            unsigned long want = shotAt(source.left + i, source.top + j);
            for (int y = 1; y < 8; y++)
                for (int x = 1; x < 8; x++)
                    if (shotAt(sx + i * 8 + x, sy + j * 8 + y) != want) cellWrong++;
        }
    EXPECT_EQ(cellWrong, 0) << "the magnified pixels are the screen's";
    const unsigned long under = shotAt(p.x, p.y);
    const unsigned long ring = MagnifierOutlineShade(under);
    long ringWrong = 0;
    for (int i = 56; i <= 64; i++) {
        if (shotAt(sx + i, sy + 56) != ring) ringWrong++;
        if (shotAt(sx + i, sy + 64) != ring) ringWrong++;
        if (shotAt(sx + 56, sy + i) != ring) ringWrong++;
        if (shotAt(sx + 64, sy + i) != ring) ringWrong++;
    }
    EXPECT_EQ(ringWrong, 0) << "the centre pixel is outlined";

    char colour[16];
    snprintf(colour, sizeof(colour), "#%06lX", under);
    EXPECT_EQ(std::string(readout.lines[MAGNIFIER_LINE_COLOUR]), colour);
    EXPECT_EQ(under, CapturePicturePixel(in.x, in.y));
    EXPECT_EQ(std::string(readout.lines[MAGNIFIER_LINE_POSITION]), PositionText(p));
    EXPECT_STREQ(readout.lines[MAGNIFIER_LINE_SIZE], "") << "no size before the drag";
    // What the colour line shows is that text: drawn here in the readout's font, ink and paper.
    const RECT& line = layout.lines[MAGNIFIER_LINE_COLOUR];
    HDC screenDC = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screenDC);
    HBITMAP bm = CreateCompatibleBitmap(screenDC, layout.size.cx, layout.size.cy);
    ReleaseDC(NULL, screenDC);
    HGDIOBJ oldBm = SelectObject(mem, bm), oldFont = SelectObject(mem, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(mem, kMagnifierInk);
    SetBkColor(mem, kMagnifierPaper);
    ExtTextOutA(mem, layout.textLeft, line.top, ETO_OPAQUE, &line, colour, lstrlenA(colour), NULL);
    SelectObject(mem, oldFont);
    SelectObject(mem, oldBm);
    DeleteDC(mem);
    Picture text = BitmapPicture(bm);
    DeleteObject(bm);
    long textWrong = 0, inked = 0;
    for (LONG y = line.top; y < line.bottom; y++)
        for (LONG x = line.left; x < layout.swatch.left - 1; x++) {
            if (text.At(x, y) != (unsigned long)(GetRValue(kMagnifierPaper) << 16 | GetGValue(kMagnifierPaper) << 8 |
                                                 GetBValue(kMagnifierPaper)))
                inked++;
            if (shotAt(window.left + x, window.top + y) != text.At(x, y)) textWrong++;
        }
    EXPECT_GT(inked, 20) << "the text has pixels of ink";
    EXPECT_EQ(textWrong, 0) << "the colour line reads " << colour;
    long swatchWrong = 0;
    for (LONG y = layout.swatch.top + 1; y < layout.swatch.bottom - 1; y++)
        for (LONG x = layout.swatch.left + 1; x < layout.swatch.right - 1; x++)
            if (shotAt(window.left + x, window.top + y) != under) swatchWrong++;
    EXPECT_EQ(swatchWrong, 0) << "and the swatch beside it shows it";
}

TEST_F(Selection, TheMagnifierFollowsTheCursorAndFlipsNearTheScreensEdges)
{
    const LONG cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        const char* name;
        POINT p;
        bool right, below;   // which side of the hot spot the magnifier takes
    } cases[] = {
        {"middle", {cx / 2, cy / 2}, true, true},
        {"near the right edge", {cx - 60, cy / 2}, false, true},
        {"near the bottom", {cx / 2, cy - 40}, true, false},
        {"bottom-right corner", {cx - 1, cy - 1}, false, false},
        {"top-left corner", {0, 0}, true, true},
    };
    RECT seen[5];
    bool placed[5] = {};
    Select(0, 0, "", [&] {
        for (int i = 0; i < 5; i++) {
            StartXdotool(At("mousemove", cases[i].p));
            placed[i] = PumpUntil([&] {
                return CurrentMagnifierReadout().lines[MAGNIFIER_LINE_POSITION] == PositionText(cases[i].p);
            }, 5000);
            if (g_hMagnifierWnd) GetWindowRect(g_hMagnifierWnd, &seen[i]);
        }
        PostMessageA(g_hSelectWnd, WM_CHAR, VK_ESCAPE, 0);
    });
    for (int i = 0; i < 5; i++) {
        SCOPED_TRACE(cases[i].name);
        ASSERT_TRUE(placed[i]);
        const RECT& r = seen[i];
        const POINT p = cases[i].p;
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= cx && r.bottom <= cy) << "on the screen: " << Describe(r);
        EXPECT_EQ(cases[i].right ? r.left : r.right, cases[i].right ? p.x + MAGNIFIER_OFFSET : p.x - MAGNIFIER_OFFSET)
            << Describe(r);
        EXPECT_EQ(cases[i].below ? r.top : r.bottom, cases[i].below ? p.y + MAGNIFIER_OFFSET : p.y - MAGNIFIER_OFFSET)
            << Describe(r);
    }
}

TEST_F(Selection, WithShowMagnifierOffNoMagnifierAppears)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    const POINT a = {c.left + 20, c.top + 15}, p = {c.left + 150, c.top + 100};
    // Where the magnifier shows when it is on: right of and below the hot spot, on the fixture.
    RECT beside = {p.x + MAGNIFIER_OFFSET, p.y + MAGNIFIER_OFFSET, p.x + MAGNIFIER_OFFSET + 122,
                   p.y + MAGNIFIER_OFFSET + 122};
    IntersectRect(&beside, &beside, &c);
    const Picture fixtureThere = ExpectedPicture(beside.left - c.left, beside.top - c.top, beside.right - beside.left,
                                                 beside.bottom - beside.top);
    g_Options.ShowDimensions = 1;
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        g_ExtraOptions.ShowMagnifier = on ? 1 : 0;
        PutSentinel();
        ASSERT_TRUE(PointerTo(a));
        bool framed = false, windowThere = true;
        long differs = -1;
        Select(0, 0, "", [&] {
            StartXdotool("mousedown 1 " + At("mousemove", p));
            // The move is handled (and drawn) once the frame's corner at p shows inverted.
            RECT corner = {p.x, p.y, p.x + 1, p.y + 1};
            framed = PumpUntil([&] {
                return ScreenPicture(corner).At(0, 0) == (~CapturePicturePixel(150, 100) & 0xFFFFFF);
            }, 5000);
            HWND lens = FindWindowA(kMagnifierClass, NULL);
            windowThere = lens && IsWindowVisible(lens);
            // Drawn in the same step as the frame, it reaches the display in its own time.
            if (on) PumpUntil([&] { return PictureDifference(ScreenPicture(beside), fixtureThere) > 0; }, 5000);
            differs = PictureDifference(ScreenPicture(beside), fixtureThere);
            if (on) SaveScreenShot("capture_overlay_magnifier");
            StartXdotool("mouseup 1");
        });
        EXPECT_TRUE(framed);
        EXPECT_EQ(windowThere, on);
        if (on) {
            EXPECT_GT(differs, (long)fixtureThere.pixels.size() / 2) << "the magnifier covers the fixture there";
        } else {
            EXPECT_EQ(differs, 0) << "nothing but the fixture beside the cursor";
        }
        Picture got = ClipboardPicture(), want = ExpectedPicture(20, 15, 130, 85);
        EXPECT_EQ(PictureDifference(got, want), 0) << DescribeDifference(got, want);
    }
}

TEST_F(Selection, TheMagnifierIsNeverInTheCaptureEvenOverAWindowThatNeverRepaints)
{
    // Ending up and to the left, the magnifier stands inside the selected rectangle at the end;
    // the window below does not repaint, so the screen would keep whatever was last shown there.
    PictureWindow fixture(300, 260, 240, 160, "Vantix capture fixture", 2500);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    ASSERT_TRUE(WaitUntil([&] {
        return !SendMessageTimeoutA(fixture.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, NULL);
    }, 10000)) << "the fixture stopped answering";
    g_Options.ShowDimensions = 1;
    const POINT a = {c.left + 30, c.top + 20}, b = {c.left + 190, c.top + 130};
    const RECT want = {a.x, a.y, b.x, b.y};
    struct {
        const char* name;
        std::string input;
    } cases[] = {
        {"the mouse", "mousedown 1 " + At("mousemove", POINT{b.x - 70, b.y - 90}) + "sleep 0.3 " + At("mousemove", a) +
                          "mouseup 1"},
        {"the keys", "key --delay 20 Return" + Times("shift+Left", 16) + Times("shift+Up", 11) + " sleep 0.3 key Return"},
    };
    for (auto& k : cases) {
        SCOPED_TRACE(k.name);
        PutSentinel();
        ASSERT_TRUE(PointerTo(b));
        Select(0, 0, k.input);
        EXPECT_TRUE(EqualRect(&g_rcCapture, &want)) << Describe(g_rcCapture);
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, lens, inside;
        MagnifierLayout layout = CurrentMagnifierLayout();
        POINT at = PlaceMagnifier(a, layout.size, screen);
        SetRect(&lens, at.x, at.y, at.x + layout.size.cx, at.y + layout.size.cy);
        EXPECT_TRUE(IntersectRect(&inside, &lens, &want)) << "the magnifier was over the selection at the end";
        Picture got = ClipboardPicture(), expected = ExpectedPicture(30, 20, 160, 110);
        EXPECT_EQ(PictureDifference(got, expected), 0) << DescribeDifference(got, expected);
    }
}

TEST_F(Selection, AThousandMovesLeaveNoObjectBehindAndCountPhysicalPixels)
{
    g_Options.ShowDimensions = 1;
    const bool physicalBefore = InPhysicalPixels();
    const bool platformScales =
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetThreadDpiAwarenessContext") != NULL;
    long gdiBefore = -1, gdiAfter = -2, windowsBefore = -1, windowsAfter = -2;
    bool physical = false, sized = false, shown = false;
    Select(0, 0, "", [&] {
        physical = InPhysicalPixels();
        auto send = [](UINT m, int x, int y) { SendMessageA(g_hSelectWnd, WM_SELECTION_POINTER, m, MAKELPARAM(x, y)); };
        send(WM_LBUTTONDOWN, 200, 150);
        send(WM_MOUSEMOVE, 201, 151);
        PumpMessages(50);
        gdiBefore = CountGdiObjects();
        windowsBefore = CountOwnWindows();
        for (int i = 0; i < 1000; i++) send(WM_MOUSEMOVE, 250 + i % 600, 200 + (i * 7) % 500);
        send(WM_MOUSEMOVE, 201, 151);
        PumpMessages(50);
        gdiAfter = CountGdiObjects();
        windowsAfter = CountOwnWindows();
        sized = strcmp(CurrentMagnifierReadout().lines[MAGNIFIER_LINE_SIZE], "1 x 1") == 0;
        shown = g_hMagnifierWnd && IsWindowVisible(g_hMagnifierWnd);
        PostMessageA(g_hSelectWnd, WM_CHAR, VK_ESCAPE, 0);
    });
    EXPECT_TRUE(shown) << "with the magnifier";
    EXPECT_TRUE(sized) << "which tells the selection's size while dragging";
    EXPECT_EQ(gdiAfter, gdiBefore) << "GDI objects";
    EXPECT_EQ(windowsAfter, windowsBefore) << "windows";
    if (platformScales) {
        EXPECT_TRUE(physical) << "the selection counts physical pixels";
    }
    EXPECT_EQ(InPhysicalPixels(), physicalBefore) << "and the thread is back as it was";
}

}  // namespace
