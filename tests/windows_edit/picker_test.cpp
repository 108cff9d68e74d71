// The window picker under real mouse and keyboard input (xdotool on the test display, no button
// held), over windows of our tasks fixture in another process. PickWindow runs its loop on the
// test thread; a driver thread moves the mouse, watches the frame and ends the pick.
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include <string.h>
#include <thread>

#include "edit_helpers.h"
#include "support/composited.h"
#include "support/pictures.h"
#include "support/testing.h"
#include "app/program.h"
#include "windows/picker.h"
#include "resource.h"

namespace {

const char kFrameClass[] = "Vantix_PickFrame";

std::atomic<int> g_ownerClicks;
std::atomic<bool> g_pickDone;

LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        g_ownerClicks++;
        break;
    case WM_APP:
        // Another window of the program takes the capture away from the picker.
        SetCapture(h);
        ReleaseCapture();
        return 0;
    case WM_APP + 1:
        // The program is told to end (the tray's Quit, the session ending).
        PostQuitMessage((int)wp);
        return 0;
    case WM_APP + 2:
        // The tray's menu takes the capture, and its Quit ends the program.
        SetCapture(h);
        ReleaseCapture();
        PostQuitMessage((int)wp);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

HWND Frame()
{
    return FindWindowA(kFrameClass, NULL);
}

// The pick has begun once its window holds the capture: the hooks are set by then.
bool PickRunning(DWORD tid)
{
    GUITHREADINFO gui;
    ZeroMemory(&gui, sizeof(gui));
    gui.cbSize = sizeof(gui);
    if (!GetGUIThreadInfo(tid, &gui) || !gui.hwndCapture) return false;
    return ClassOf(gui.hwndCapture) == "Vantix_Pick";
}

// None of the hooks of the last pick is left: removing one again fails.
void ExpectNoHookLeft()
{
    PickHooks h = LastPickHooks();
    EXPECT_TRUE(h.mouse && h.keyboard) << "the pick set its low-level hooks";
    const struct {
        HHOOK hook;
        const char* name;
    } hooks[] = {{h.journal, "journal"}, {h.mouse, "mouse"}, {h.keyboard, "keyboard"}};
    for (const auto& k : hooks) {
        if (k.hook) {
            EXPECT_FALSE(UnhookWindowsHookEx(k.hook)) << "the " << k.name << " hook outlived the pick";
        }
    }
}

// Pixels of the ring around rc that do not show the inverse of before; -1 before any frame.
int RingMismatches(const Picture& before, const Picture& during, const RECT& rc, int t, int* ringPixels)
{
    RECT inner = {rc.left + t, rc.top + t, rc.right - t, rc.bottom - t};
    int mismatches = 0;
    *ringPixels = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++) {
            POINT p = {x, y};
            if (PtInRect(&inner, p)) continue;
            (*ringPixels)++;
            if (during.At(x, y) != (~before.At(x, y) & 0xFFFFFF)) mismatches++;
        }
    return mismatches;
}

bool FrameOver(HWND target)
{
    HWND f = Frame();
    if (!f || !IsWindowVisible(f)) return false;
    RECT a = WindowRect(f), b = WindowRect(target);
    return EqualRect(&a, &b) != FALSE;
}

// Behind every other visible top-level window.
bool IsBottomWindow(HWND w)
{
    for (HWND below = GetWindow(w, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
        if (IsWindowVisible(below)) return false;
    }
    return true;
}

// True when a lies above b in the Z order of top-level windows.
bool IsAbove(HWND a, HWND b)
{
    for (HWND w = GetTopWindow(NULL); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a) return true;
        if (w == b) return false;
    }
    return false;
}

class Picker : public testing::Test {
protected:
    static TasksFixture* fixture;
    static HWND owner;

    static void SetUpTestSuite()
    {
        fixture = new TasksFixture("Pick target", "--dialog --owned --x 420 --y 200");
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = "PickOwner";
        RegisterClassA(&wc);
        owner = CreateWindowExA(0, "PickOwner", "Pick owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 560, 320, 200,
                                NULL, NULL, GetModuleHandleA(NULL), NULL);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(owner);
        delete fixture;
    }
    void SetUp() override
    {
        ASSERT_TRUE(fixture->Main()) << "fixture did not start";
        ASSERT_TRUE(owner);
        // Keys reach the program only while it has the focus: click its window, as a user would.
        g_ownerClicks = 0;
        ClickCenter(owner, 1, 0);
        // Both halves of the click arrive before the count starts.
        PumpUntil([] { return GetForegroundWindow() == owner && g_ownerClicks >= 2; }, 3000);
        g_ownerClicks = 0;
    }

    // Runs the pick on this thread while script drives it from another one. A pick the script
    // failed to end is ended by a system cancel after a while, so that the test fails instead
    // of hanging.
    HWND RunPick(bool skipChildren, const std::function<void()>& script, PickCallback callback = NULL)
    {
        g_pickDone = false;
        DWORD tid = GetCurrentThreadId();
        std::atomic<bool> rescued(false);
        std::thread driver([&] {
            WaitUntil([&] { return PickRunning(tid) || g_pickDone; }, 5000);
            script();
            if (!WaitUntil([] { return g_pickDone.load(); }, 8000)) {
                rescued = true;
                PostThreadMessageA(tid, WM_CANCELJOURNAL, 0, 0);
            }
        });
        HWND picked = PickWindow(owner, skipChildren, callback);
        g_pickDone = true;
        driver.join();
        EXPECT_FALSE(rescued) << "the pick did not end by itself";
        ExpectNoHookLeft();
        return picked;
    }
};
TasksFixture* Picker::fixture;
HWND Picker::owner;

TEST_F(Picker, OutlinesAForeignWindowWithARingAndAClickPicksItWithoutReachingIt)
{
    HWND target = fixture->Main();
    RECT rc = WindowRect(target);
    Picture before = ScreenPicture();
    bool outlined = false, ownerAtBottom = false;
    int ringMismatches = -1, ringPixels = 0, insideChanged = -1;
    // Three borders thick at 96 DPI, as thick to the eye at the screen's DPI (5 pixels at 144).
    HDC screen = GetDC(NULL);
    int t = MulDiv(3 * GetSystemMetrics(SM_CXBORDER), GetDeviceCaps(screen, LOGPIXELSX), 96);
    ReleaseDC(NULL, screen);
    bool thicknessRight = false;
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(Center(rc));
        outlined = WaitUntil([&] { return FrameOver(target); }, 5000);
        ownerAtBottom = IsBottomWindow(owner);
        // The ring shows once it has painted.
        Picture during;
        WaitUntil([&] {
            during = ScreenPicture();
            return RingMismatches(before, during, rc, t, &ringPixels) == 0;
        }, 5000);
        SaveShot(during, "picker_frame");
        RECT inner = {rc.left + t, rc.top + t, rc.right - t, rc.bottom - t};
        ringMismatches = RingMismatches(before, during, rc, t, &ringPixels);
        insideChanged = PictureDifference(before, during, &inner);
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        if (GetWindowRgn(Frame(), rgn) != ERROR)
            thicknessRight = PtInRegion(rgn, t - 1, t - 1) && PtInRegion(rgn, 0, 0) &&
                             !PtInRegion(rgn, t, t) && PtInRegion(rgn, rc.right - rc.left - t, rc.bottom - rc.top - 1);
        DeleteObject(rgn);
        Xdotool("click 1");
    });
    EXPECT_TRUE(outlined) << "the frame stands over the window rectangle";
    EXPECT_TRUE(ownerAtBottom) << "the owner is behind every other window during the pick";
    EXPECT_TRUE(thicknessRight) << "a ring 3 x SM_CXBORDER thick";
    EXPECT_GT(ringPixels, 0);
    EXPECT_EQ(ringMismatches, 0) << "the ring shows the inverse of the screen below it";
    EXPECT_EQ(insideChanged, 0) << "inside the ring the window shows through";
    EXPECT_EQ(picked, target);
    EXPECT_EQ(fixture->Count(target), 0) << "the picking click never reaches the picked window";
    EXPECT_FALSE(Frame()) << "nothing of the frame remains";
    EXPECT_TRUE(IsAbove(owner, target)) << "the owner is back on top";
    EXPECT_TRUE(PumpUntil([&] { return PictureDifference(before, ScreenPicture(), &rc) == 0; }, 5000))
        << "the screen over the window is as before";
}

struct ClimbCase {
    const char* name;
    bool skipChildren;
    const char* pointAt;    // "button" or "owned"
    const char* expected;   // "button", "dialog" or "main"
};

class PickerClimb : public Picker, public testing::WithParamInterface<ClimbCase> {};

TEST_P(PickerClimb, PicksTheWindowTheSkipChildrenOptionNames)
{
    const ClimbCase& c = GetParam();
    HWND pointed = strcmp(c.pointAt, "button") == 0 ? fixture->Button() : fixture->Window("owned");
    HWND expected = strcmp(c.expected, "button") == 0   ? fixture->Button()
                    : strcmp(c.expected, "dialog") == 0 ? fixture->Window("dialog")
                                                        : fixture->Main();
    ASSERT_TRUE(pointed && expected);
    HWND dialog = fixture->Window("dialog");
    LONG_PTR pressesBefore = fixture->Count(dialog);
    bool outlined = false;
    HWND picked = RunPick(c.skipChildren, [&] {
        MoveMouseTo(Center(WindowRect(pointed)));
        outlined = WaitUntil([&] { return FrameOver(expected); }, 5000);
        Xdotool("click 1");
    });
    EXPECT_TRUE(outlined);
    EXPECT_EQ(picked, expected);
    EXPECT_EQ(fixture->Count(dialog), pressesBefore) << "the button was not pressed";
}

INSTANTIATE_TEST_SUITE_P(Cases, PickerClimb,
                         testing::Values(ClimbCase{"ButtonGivesItsDialog", true, "button", "dialog"},
                                         ClimbCase{"ButtonItself", false, "button", "button"},
                                         ClimbCase{"OwnedDialogGivesItsOwner", true, "owned", "main"}),
                         [](const testing::TestParamInfo<ClimbCase>& i) { return std::string(i.param.name); });

struct CancelCase {
    const char* name;
    const char* keys;
};

class PickerCancel : public Picker, public testing::WithParamInterface<CancelCase> {};

TEST_P(PickerCancel, AKeyEndsThePickWithNothingAndTheScreenAsBefore)
{
    HWND target = fixture->Main();
    Picture before = ScreenPicture();
    bool outlined = false;
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(Center(WindowRect(target)));
        outlined = WaitUntil([&] { return FrameOver(target); }, 5000);
        Xdotool(std::string("key ") + GetParam().keys);
    });
    EXPECT_TRUE(outlined);
    EXPECT_EQ(picked, (HWND)NULL);
    EXPECT_FALSE(Frame());
    Picture after;
    EXPECT_TRUE(PumpUntil([&] {
        after = ScreenPicture();
        return PictureDifference(before, after) == 0;
    }, 5000)) << "the screen afterwards equals the screen before";
    SaveShot(after, (std::string("picker_after_") + GetParam().name).c_str());
    EXPECT_EQ(fixture->Count(target), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, PickerCancel,
                         testing::Values(CancelCase{"Escape", "Escape"}, CancelCase{"AnyCharacter", "a"}),
                         [](const testing::TestParamInfo<CancelCase>& i) { return std::string(i.param.name); });

TEST_F(Picker, ArrowsMoveThePointerAPixelAtATimeAndEnterPicksTheWindowUnderIt)
{
    HWND dialog = fixture->Window("dialog");
    ASSERT_TRUE(dialog);
    const RECT dr = WindowRect(dialog);
    // From the main window next to it into the dialog: 36 to the right and 11 down, with steps
    // in all four directions, of one pixel and of ten with Shift.
    const POINT start = {dr.left - 25, dr.top + 20}, end = {start.x + 36, start.y + 11};
    ASSERT_NE(WindowFromPoint(start), dialog) << "the keys must carry the pointer there";
    ASSERT_EQ(WindowFromPoint(end), dialog);
    const LONG_PTR pressesBefore = fixture->Count(dialog);
    // Each group of keys, then where it leaves the pointer. The outline moves to the dialog in
    // the first group; the next ones wait for it (the display reshapes the ring meanwhile). No
    // group passes its end on the way: the keys come from a program that is not waited for, and
    // the next group must not begin while this one is still typing.
    const struct {
        const char* keys;
        POINT at;
    } groups[] = {
        {"shift+Right shift+Right shift+Right", {start.x + 30, start.y}},
        {"Left Right Right Right Right Right Right Right", {start.x + 36, start.y}},
        {"Down Down shift+Down Up", end},
    };
    bool outlined = false, arrived = true;
    POINT reached = {0, 0}, wanted = {0, 0};
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(start);
        for (const auto& g : groups) {
            Xdotool(std::string("key --delay 30 ") + g.keys, 0);
            wanted = g.at;
            if (!WaitUntil([&] { return GetCursorPos(&reached) && reached.x == g.at.x && reached.y == g.at.y; }, 5000)) {
                arrived = false;
                break;
            }
            outlined = WaitUntil([&] { return FrameOver(dialog); }, 5000);
        }
        Xdotool("key Return", 0);
    });
    EXPECT_TRUE(arrived) << "the pointer went to " << reached.x << "," << reached.y << ", not " << wanted.x << ","
                         << wanted.y;
    EXPECT_TRUE(outlined) << "the outline follows the keys as it follows the mouse";
    EXPECT_EQ(picked, dialog) << "Enter picks the window under the pointer";
    EXPECT_FALSE(Frame());
    EXPECT_EQ(fixture->Count(dialog), pressesBefore) << "the Enter that picked reached no window";
}

TEST_F(Picker, OwnWindowsAreNeverOutlinedAndTheLastForeignOneIsTheResult)
{
    HWND target = fixture->Main();
    bool noFrameOverOwn = false, outlined = false, stayed = false;
    HWND picked = RunPick(false, [&] {
        POINT own = Center(WindowRect(owner));
        MoveMouseTo(own, 600);
        noFrameOverOwn = !Frame() || !IsWindowVisible(Frame());
        MoveMouseTo(Center(WindowRect(target)));
        outlined = WaitUntil([&] { return FrameOver(target); }, 5000);
        MoveMouseTo(own, 600);
        stayed = FrameOver(target);
        Xdotool("click 1");
    });
    EXPECT_TRUE(noFrameOverOwn) << "the program's own window is not outlined";
    EXPECT_TRUE(outlined);
    EXPECT_TRUE(stayed) << "over the program's own window the frame stays where it was";
    EXPECT_EQ(picked, target);
    EXPECT_EQ(g_ownerClicks.load(), 0) << "the click is swallowed over the program's own windows too";
}

TEST_F(Picker, AClickBeforeAnyForeignWindowWasOutlinedPicksNothing)
{
    HWND picked = RunPick(false, [&] {
        POINT own = Center(WindowRect(owner));
        MoveMouseTo(own, 500);
        Xdotool("click 1");
    });
    EXPECT_EQ(picked, (HWND)NULL);
    EXPECT_FALSE(Frame());
}

TEST_F(Picker, ASystemCancelOfTheJournalEndsThePickWithNothing)
{
    HWND target = fixture->Main();
    DWORD tid = GetCurrentThreadId();
    bool outlined = false;
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(Center(WindowRect(target)));
        outlined = WaitUntil([&] { return FrameOver(target); }, 5000);
        PostThreadMessageA(tid, WM_CANCELJOURNAL, 0, 0);
    });
    EXPECT_TRUE(outlined);
    EXPECT_EQ(picked, (HWND)NULL);
    EXPECT_FALSE(Frame());
}

TEST_F(Picker, LosingTheCaptureEndsThePickWithTheOutlinedWindow)
{
    HWND target = fixture->Main();
    bool outlined = false;
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(Center(WindowRect(target)));
        outlined = WaitUntil([&] { return FrameOver(target); }, 5000);
        PostMessageA(owner, WM_APP, 0, 0);
    });
    EXPECT_TRUE(outlined);
    EXPECT_EQ(picked, target);
    EXPECT_FALSE(Frame());
}

struct QuitCase {
    const char* name;
    UINT message;   // posted to the owner during the pick
};

class PickerQuit : public Picker, public testing::WithParamInterface<QuitCase> {};

TEST_P(PickerQuit, AQuitEndsThePickAndReachesTheProgramsLoop)
{
    HWND target = fixture->Main();
    bool outlined = false;
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(Center(WindowRect(target)));
        outlined = WaitUntil([&] { return FrameOver(target); }, 5000);
        PostMessageA(owner, GetParam().message, 7, 0);
    });
    // Looked at before anything else takes messages from the queue.
    MSG quit;
    bool passedOn = PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    EXPECT_TRUE(outlined);
    EXPECT_EQ(picked, (HWND)NULL) << "a program that ends picks nothing";
    EXPECT_FALSE(Frame());
    ASSERT_TRUE(passedOn) << "the quit was taken by the pick";
    EXPECT_EQ(quit.wParam, 7u) << "with its exit code";
}

INSTANTIATE_TEST_SUITE_P(Ways, PickerQuit,
                         testing::Values(QuitCase{"Alone", WM_APP + 1}, QuitCase{"AsTheCaptureGoes", WM_APP + 2}),
                         [](const testing::TestParamInfo<QuitCase>& i) { return std::string(i.param.name); });

TEST_F(Picker, TheCallbackReceivesThePickedWindow)
{
    static HWND s_received;
    s_received = NULL;
    HWND target = fixture->Main();
    HWND picked = RunPick(
        false,
        [&] {
            MoveMouseTo(Center(WindowRect(target)));
            WaitUntil([&] { return FrameOver(target); }, 5000);
            Xdotool("click 1");
        },
        [](HWND w) { s_received = w; });
    EXPECT_EQ(picked, target);
    EXPECT_EQ(s_received, target);
}

TEST_F(Picker, OnACompositedDesktopTheRingSitsOnTheVisibleFrame)
{
    HWND target = fixture->Main();
    RECT rc = WindowRect(target);
    CompositedDesktop dwm;
    RECT frame = dwm.InsetFrame(target, 7, 0, 7, 7);
    Picture before = ScreenPicture();
    bool onFrame = false;
    int ringPixels = 0, outerRingMismatches = -1, bordersChanged = -1;
    Picture during;
    HWND picked = RunPick(false, [&] {
        MoveMouseTo(Center(frame));
        onFrame = WaitUntil([&] {
            HWND f = Frame();
            RECT at = f ? WindowRect(f) : RECT{0, 0, 0, 0};
            return f && IsWindowVisible(f) && EqualRect(&at, &frame);
        }, 5000);
        // The ring's outermost pixels, whatever its thickness, show the inverse of the screen.
        WaitUntil([&] {
            during = ScreenPicture();
            return RingMismatches(before, during, frame, 1, &ringPixels) == 0;
        }, 5000);
        outerRingMismatches = RingMismatches(before, during, frame, 1, &ringPixels);
        // The invisible borders beside and below the frame are left alone.
        RECT left = {rc.left, rc.top, frame.left, rc.bottom}, right = {frame.right, rc.top, rc.right, rc.bottom},
             below = {rc.left, frame.bottom, rc.right, rc.bottom};
        bordersChanged = PictureDifference(before, during, &left) + PictureDifference(before, during, &right) +
                         PictureDifference(before, during, &below);
        Xdotool("click 1");
    });
    SaveShot(during, "picker_frame_composited");
    EXPECT_TRUE(onFrame) << "the ring window stands on the visible frame";
    EXPECT_GT(ringPixels, 0);
    EXPECT_EQ(outerRingMismatches, 0);
    EXPECT_EQ(bordersChanged, 0) << "nothing drawn on the invisible resize borders";
    EXPECT_EQ(picked, target);
    EXPECT_GT(dwm.FrameQuestions(), 0);
}

}  // namespace
