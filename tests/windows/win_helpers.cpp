#include "win_helpers.h"
#include "support/testing.h"

#include <atomic>
#include <thread>

// ---- windows_fixture.exe

WindowsFixture::WindowsFixture(const std::string& title, const std::string& args)
{
    std::string exe = ProgramFolder() + "\\windows_fixture.exe";
    if (Start("\"" + exe + "\" --title \"" + title + "\" " + args))
        window_ = WaitForWindow("VantixWindowsFixture", NULL, true, 15000);
}

bool WindowsFixture::Arm() const
{
    DWORD_PTR armed = 0;
    return window_ && SendMessageTimeoutA(window_, WM_APP, 0, 0, SMTO_NORMAL, 5000, &armed) && armed == 1;
}

// ---- Watching a loop

namespace {

struct LoopWatchState {
    std::atomic<long> handled{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> stuck{false};
    std::thread watcher;
};

} // namespace

LRESULT CALLBACK LoopWatch::ProbeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP) {
        LoopWatchState* st = (LoopWatchState*)GetWindowLongPtrA(h, GWLP_USERDATA);
        if (st) st->handled++;
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

LoopWatch::LoopWatch(DWORD stuckMs, std::function<void()> onStuck)
{
    static const char kClass[] = "VantixLoopProbe";
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    // A message-only window: no enumeration of the desktop's windows meets it.
    probe_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    LoopWatchState* st = new LoopWatchState;
    state_ = st;
    SetWindowLongPtrA(probe_, GWLP_USERDATA, (LONG_PTR)st);
    HWND probe = probe_;
    st->watcher = std::thread([st, probe, stuckMs, onStuck] {
        while (!st->stop) {
            long before = st->handled;
            PostMessageA(probe, WM_APP, 0, 0);
            // This thread owns no window: waiting without a message loop is right here.
            if (!WaitUntil([&] { return st->handled != before || st->stop; }, stuckMs)) {
                st->stuck = true;
                onStuck();
                return;
            }
        }
    });
}

bool LoopWatch::Finish()
{
    LoopWatchState* st = (LoopWatchState*)state_;
    if (!st->watcher.joinable()) return !st->stuck;
    long before = st->handled;
    PostMessageA(probe_, WM_APP, 0, 0);
    PumpUntil([&] { return st->handled != before; }, 5000);
    st->stop = true;
    st->watcher.join();
    return !st->stuck && st->handled != before;
}

LoopWatch::~LoopWatch()
{
    Finish();
    DestroyWindow(probe_);
    delete (LoopWatchState*)state_;
}
