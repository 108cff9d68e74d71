// Quillet seen from a caller: changes land in windows of other processes (ours and Wine's own
// notepad) and of other threads, equal values and non-windows cost nothing, and a thread that
// cannot answer (hung, or the caller's own) costs one bounded second and keeps its value.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include "hooklib/quillet.h"
#include "support/processes.h"
#include "support/testing.h"

namespace {

typedef LONG(WINAPI* SetFn)(HWND, LONG);

struct Field {
    const char* name;
    int index;
    SetFn set;
};
const Field kStyle = {"style", GWL_STYLE, SetStyle};
const Field kExStyle = {"extended style", GWL_EXSTYLE, SetExtStyle};
const Field kFields[] = {kStyle, kExStyle};

std::string Hex(LONG v)
{
    char buf[16];
    snprintf(buf, sizeof(buf), "0x%08lX", (unsigned long)(DWORD)v);
    return buf;
}

struct Timed {
    LONG result;
    DWORD ms;
};

Timed TimedSet(const Field& f, HWND h, LONG value)
{
    DWORD start = GetTickCount();
    LONG r = f.set(h, value);
    Timed t = {r, GetTickCount() - start};
    return t;
}

// A plain window of the calling thread, destroyed with the guard.
const char* TestWindowClass()
{
    static bool registered;
    if (!registered) {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "QuilletTestWindow";
        registered = RegisterClassA(&wc) != 0;
    }
    return "QuilletTestWindow";
}

HWND CreateTestWindow()
{
    return CreateWindowExA(0, TestWindowClass(), "Quillet test window", WS_OVERLAPPEDWINDOW, 50, 50, 200, 120,
                           NULL, NULL, GetModuleHandleA(NULL), NULL);
}

struct OwnWindow {
    HWND h;
    OwnWindow() : h(CreateTestWindow()) {}
    ~OwnWindow()
    {
        if (h && IsWindow(h)) DestroyWindow(h);
    }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;
};

// A window owned by a second thread of this process, which pumps its messages.
class WindowThread {
public:
    WindowThread() : thread_(NULL), tid_(0), window_(NULL)
    {
        ready_ = CreateEventA(NULL, TRUE, FALSE, NULL);
        thread_ = CreateThread(NULL, 0, Main, this, 0, &tid_);
        if (thread_) WaitForSingleObject(ready_, 10000);
    }
    ~WindowThread()
    {
        if (thread_) {
            PostThreadMessageA(tid_, WM_QUIT, 0, 0);
            WaitForSingleObject(thread_, 10000);
            CloseHandle(thread_);
        }
        CloseHandle(ready_);
    }
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;
    HWND Window() const { return window_; }

private:
    static DWORD WINAPI Main(LPVOID p)
    {
        WindowThread* self = (WindowThread*)p;
        self->window_ = CreateTestWindow();
        SetEvent(self->ready_);
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
        if (self->window_) DestroyWindow(self->window_);
        return 0;
    }
    HANDLE thread_;
    HANDLE ready_;
    DWORD tid_;
    HWND window_;
};

struct Toggle {
    const char* what;
    const Field* field;
    LONG bit;
};

// Flips one bit through Quillet, then puts the old value back. A target that answers does so
// well inside the one-second bound, so every call here must be quick. The restore follows at
// once on purpose: the target may still hold the previous request's event then.
void ExpectToggleAndRestore(HWND h, const Toggle& t)
{
    SCOPED_TRACE(std::string(t.what) + ": " + t.field->name);
    const LONG before = GetWindowLongA(h, t.field->index);
    const LONG wanted = before ^ t.bit;
    Timed changed = TimedSet(*t.field, h, wanted);
    const LONG after = GetWindowLongA(h, t.field->index);
    EXPECT_EQ(Hex(changed.result), Hex(after)) << "the return value is not what the window now holds";
    EXPECT_EQ(Hex(after), Hex(wanted)) << "before " << Hex(before);
    EXPECT_LT(changed.ms, 900u) << "the target answered, but the call waited for the timeout";

    Timed restored = TimedSet(*t.field, h, before);
    EXPECT_EQ(Hex(restored.result), Hex(before));
    EXPECT_EQ(Hex(GetWindowLongA(h, t.field->index)), Hex(before));
    EXPECT_LT(restored.ms, 900u);
}

// Asks for a change the target's thread never carries out: one full second, value unchanged.
void ExpectUnansweredChange(HWND h, const Field& f, LONG bit)
{
    SCOPED_TRACE(f.name);
    const LONG before = GetWindowLongA(h, f.index);
    Timed t = TimedSet(f, h, before ^ bit);
    printf("  unanswered %s change gave up after %lu ms\n", f.name, (unsigned long)t.ms);
    EXPECT_GE(t.ms, 900u) << "returned before the one-second wait was over";
    EXPECT_LT(t.ms, 5000u);
    EXPECT_EQ(Hex(t.result), Hex(before));
    EXPECT_EQ(Hex(GetWindowLongA(h, f.index)), Hex(before));
}

// Setting what the window already holds returns that value without waiting, even when the
// target could not answer a request.
void ExpectEqualValueAtOnce(HWND h, const char* what)
{
    for (const Field& f : kFields) {
        SCOPED_TRACE(std::string(what) + ": " + f.name);
        const LONG current = GetWindowLongA(h, f.index);
        Timed t = TimedSet(f, h, current);
        EXPECT_EQ(Hex(t.result), Hex(current));
        EXPECT_LT(t.ms, 500u) << "an unchanged value should not wait for the target";
        EXPECT_EQ(Hex(GetWindowLongA(h, f.index)), Hex(current));
    }
}

}  // namespace

TEST(Quillet, ChangesWindowsOfAnotherProcessAndThread)
{
    FixtureProcess fixture("Quillet target");
    HWND w = fixture.Window();
    ASSERT_NE(w, (HWND)NULL) << "the fixture window did not appear";
    const Toggle toggles[] = {
        {"no maximize box", &kStyle, WS_MAXIMIZEBOX},
        {"no minimize box", &kStyle, WS_MINIMIZEBOX},
        {"client edge", &kExStyle, WS_EX_CLIENTEDGE},
        {"tool window", &kExStyle, WS_EX_TOOLWINDOW},
        {"accepts files", &kExStyle, WS_EX_ACCEPTFILES},
    };
    for (const Toggle& t : toggles) ExpectToggleAndRestore(w, t);
    ExpectEqualValueAtOnce(w, "fixture");

    WindowThread other;
    ASSERT_NE(other.Window(), (HWND)NULL);
    ExpectToggleAndRestore(other.Window(), toggles[0]);
    ExpectToggleAndRestore(other.Window(), toggles[2]);
}

TEST(Quillet, NotAWindowGivesMinusOne)
{
    HWND destroyed = CreateTestWindow();
    ASSERT_NE(destroyed, (HWND)NULL);
    DestroyWindow(destroyed);
    const struct {
        const char* what;
        HWND h;
    } cases[] = {
        {"NULL", NULL},
        {"made-up handle", (HWND)(INT_PTR)0x12345678},
        {"destroyed window", destroyed},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(IsWindow(c.h)) << c.what << " is a window after all";
        for (const Field& f : kFields) {
            SCOPED_TRACE(std::string(c.what) + ": " + f.name);
            Timed t = TimedSet(f, c.h, WS_VISIBLE);
            EXPECT_EQ(t.result, -1);
            EXPECT_LT(t.ms, 500u);
        }
    }
}

TEST(Quillet, HungTargetCostsOneSecondAndKeepsItsValue)
{
    FixtureProcess answering("Quillet target");
    HWND ok = answering.Window();
    ASSERT_NE(ok, (HWND)NULL);
    FixtureProcess hung("Quillet hung target", "--hang-after 1000");
    HWND w = hung.Window();
    ASSERT_NE(w, (HWND)NULL) << "the hanging fixture's window did not appear";
    // Proof that it stopped pumping: a sent message is no longer answered.
    ASSERT_TRUE(WaitUntil([&] { return !Answers(w, 100); }, 15000)) << "the fixture kept answering messages";

    // A request that was answered just before must not leave the wait satisfied in advance.
    ExpectToggleAndRestore(ok, {"answered first", &kStyle, WS_MAXIMIZEBOX});
    ExpectUnansweredChange(w, kStyle, WS_MAXIMIZEBOX);
    ExpectToggleAndRestore(ok, {"answered first", &kExStyle, WS_EX_CLIENTEDGE});
    ExpectUnansweredChange(w, kExStyle, WS_EX_CLIENTEDGE);
    EXPECT_TRUE(IsWindow(w));

    ExpectEqualValueAtOnce(w, "hung fixture");
}

// A request given up on a hung target stays in its queue. The fixture wakes as the next
// request's message arrives, while that request's hook is in place: the abandoned value must
// not be applied (and must not end the next request's wait), the later one must.
TEST(Quillet, ARequestGivenUpOnAHungTargetNeverOverridesTheNextOne)
{
    FixtureProcess hung("Quillet hung target", "--hang-after 1000 --wake-after-posts 2");
    HWND w = hung.Window();
    ASSERT_NE(w, (HWND)NULL);
    ASSERT_TRUE(WaitUntil([&] { return !Answers(w, 100); }, 15000)) << "the fixture kept answering messages";

    const LONG before = GetWindowLongA(w, GWL_STYLE);
    const LONG abandoned = before ^ WS_MAXIMIZEBOX, wanted = before ^ WS_MINIMIZEBOX;
    Timed first = TimedSet(kStyle, w, abandoned);
    EXPECT_GE(first.ms, 900u) << "the first request was answered although the target hangs";
    EXPECT_EQ(Hex(first.result), Hex(before));

    Timed second = TimedSet(kStyle, w, wanted);
    EXPECT_EQ(Hex(second.result), Hex(wanted)) << "the later request's value, read back";
    EXPECT_EQ(Hex(GetWindowLongA(w, GWL_STYLE)), Hex(wanted)) << "abandoned " << Hex(abandoned);

    // Awake for good: everything queued has been taken, and the window still holds the later value.
    ASSERT_TRUE(WaitUntil([&] { return Answers(w, 100); }, 15000)) << "the fixture did not wake";
    EXPECT_EQ(Hex(GetWindowLongA(w, GWL_STYLE)), Hex(wanted));

    // And the ordinary path still works on the woken target.
    ExpectToggleAndRestore(w, {"woken fixture", &kStyle, WS_MAXIMIZEBOX});
    ExpectToggleAndRestore(w, {"woken fixture", &kExStyle, WS_EX_CLIENTEDGE});
}

TEST(Quillet, WindowOfTheCallingThreadCannotBeChanged)
{
    OwnWindow own;
    ASSERT_NE(own.h, (HWND)NULL);
    ExpectUnansweredChange(own.h, kStyle, WS_MAXIMIZEBOX);
    ExpectUnansweredChange(own.h, kExStyle, WS_EX_CLIENTEDGE);
    // The requests are still queued here; once the call has given up they must change nothing.
    const LONG style = GetWindowLongA(own.h, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(own.h, GWL_EXSTYLE);
    // Pumped until the window's queue holds none of them any more.
    const UINT request = RegisterWindowMessageA("QuilletUniqueString");
    ASSERT_NE(request, 0u);
    MSG queued;
    ASSERT_TRUE(PeekMessageA(&queued, own.h, request, request, PM_NOREMOVE)) << "the requests were posted";
    EXPECT_TRUE(PumpUntil([&] { return !PeekMessageA(&queued, own.h, request, request, PM_NOREMOVE); }, 5000));
    EXPECT_EQ(Hex(GetWindowLongA(own.h, GWL_STYLE)), Hex(style));
    EXPECT_EQ(Hex(GetWindowLongA(own.h, GWL_EXSTYLE)), Hex(exStyle));

    ExpectEqualValueAtOnce(own.h, "own window");
}

TEST(Quillet, ChangesWineNotepad)
{
    Notepad notepad;
    ASSERT_TRUE(notepad.Started()) << "notepad.exe did not start, error " << GetLastError();
    HWND main = notepad.Main();
    ASSERT_NE(main, (HWND)NULL) << "no Notepad window of process " << notepad.Pid();
    HWND edit = FindWindowExA(main, NULL, "Edit", NULL);
    ASSERT_NE(edit, (HWND)NULL) << "notepad has no Edit child";

    ExpectToggleAndRestore(main, {"notepad, no maximize box", &kStyle, WS_MAXIMIZEBOX});
    ExpectToggleAndRestore(edit, {"notepad edit, vertical scroll bar", &kStyle, WS_VSCROLL});
    ExpectToggleAndRestore(edit, {"notepad edit, upper case", &kStyle, ES_UPPERCASE});
    ExpectToggleAndRestore(edit, {"notepad edit, client edge", &kExStyle, WS_EX_CLIENTEDGE});
}

// A window of a process of the other bitness: the library cannot be loaded there, so the call
// must come back at once with -1 and the style as it was. Only a 64-bit run in a prefix that
// also runs 32-bit programs can show it; the harness names the other build's fixture then.
TEST(Quillet, WindowOfTheOtherBitnessIsRefusedAtOnce)
{
    char other[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("VANTIX_OTHER_BITNESS_FIXTURE", other, sizeof(other)) || !other[0])
        GTEST_SKIP() << "no fixture of the other bitness can run here (64-bit-only machine, or a 32-bit run)";
    StartedProcess process;
    ASSERT_TRUE(process.Start(std::string("\"") + other + "\" --title QuilletOtherBitness")) << other;
    HWND w = process.WaitForWindow("VantixFixtureWindow", NULL, false, 15000);
    ASSERT_TRUE(w) << "the other bitness's fixture did not show its window";
    LONG before = GetWindowLongA(w, GWL_STYLE);
    for (const Field& f : kFields) {
        SCOPED_TRACE(f.name);
        LONG was = GetWindowLongA(w, f.index);
        Timed t = TimedSet(f, w, was ^ (f.index == GWL_STYLE ? WS_MAXIMIZEBOX : WS_EX_TOOLWINDOW));
        EXPECT_EQ(-1, t.result);
        EXPECT_LT(t.ms, 500u) << "no wait for an answer that cannot come";
        EXPECT_EQ(Hex(was), Hex(GetWindowLongA(w, f.index)));
    }
    EXPECT_EQ(Hex(before), Hex(GetWindowLongA(w, GWL_STYLE)));
}
