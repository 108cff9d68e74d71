// Helpers of the Windows tests: the windows fixture program, and a watch on the loop of the
// test's thread while it acts beside a program that stops answering.
#ifndef VANTIX_WIN_HELPERS_H
#define VANTIX_WIN_HELPERS_H

#include <windows.h>
#include <functional>
#include <string>
#include "support/processes.h"

// windows_fixture.exe (tests/fixtures/windows_fixture.cpp).
class WindowsFixture : public StartedProcess {
public:
    WindowsFixture(const std::string& title, const std::string& args);
    HWND Window() const { return window_; }
    // Started with --hang-on-request: from now on the next request that would change one of its
    // windows hangs it for good. True when it took the word.
    bool Arm() const;

private:
    HWND window_ = NULL;
};

// Watches the loop of the thread that creates it while that thread acts: another thread posts a
// message to a window of the watched thread again and again and waits for each to be handled.
// Should one wait longer than stuckMs, the loop counts as stuck and onStuck runs (on the
// watching thread), which must free the watched thread (end the program it waits for).
class LoopWatch {
public:
    LoopWatch(DWORD stuckMs, std::function<void()> onStuck);
    // Stops watching once the watched thread has handled one more message; true when the loop
    // never stuck.
    bool Finish();
    ~LoopWatch();
private:
    static LRESULT CALLBACK ProbeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND probe_;
    void* state_;
};

#endif
