// Helpers of the picker, Style editor and Task Manager tests: our tasks fixture program and a
// third process that reads a window's style back.
#ifndef VANTIX_EDIT_HELPERS_H
#define VANTIX_EDIT_HELPERS_H

#include <windows.h>
#include <string>
#include "support/processes.h"

// tasks_fixture.exe (tests/fixtures/tasks_fixture.cpp).
class TasksFixture : public StartedProcess {
public:
    TasksFixture(const std::string& title, const std::string& args);
    const std::string& Title() const { return title_; }
    HWND Main() const { return main_; }
    // One of its other top-level windows by title suffix ("owned", "hidden", "dialog"), or the
    // untitled one for "".
    HWND Window(const char* suffix) const;
    // The push button of its dialog.
    HWND Button() const;
    // Clicks and button presses counted by the window (GWLP_USERDATA).
    LONG_PTR Count(HWND w) const { return GetWindowLongPtrA(w, GWLP_USERDATA); }
    static std::string ExePath();

private:
    std::string title_;
    HWND main_ = NULL;
};

// The (extended) style of a window as a separate process of ours reads it; -1 when it failed.
long long StyleSeenByAnotherProcess(HWND w, bool extended);

#endif
