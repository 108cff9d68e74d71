// Helpers of the picker, Style editor and Task Manager tests: our tasks fixture program, real
// mouse and keyboard input through xdotool, and pictures of the screen.
#ifndef VANTIX_EDIT_HELPERS_H
#define VANTIX_EDIT_HELPERS_H

#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

// A running tasks_fixture.exe (see tests/fixtures/tasks_fixture.cpp); ended with the object.
class TasksFixture {
public:
    TasksFixture(const std::string& title, const std::string& args);
    ~TasksFixture();
    TasksFixture(const TasksFixture&) = delete;
    TasksFixture& operator=(const TasksFixture&) = delete;
    DWORD Pid() const { return pid_; }
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
    HANDLE process_;
    DWORD pid_;
    HWND main_;
};

// Wine's notepad, started for a test and ended with the object.
class Notepad {
public:
    Notepad();
    ~Notepad();
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;
    DWORD Pid() const { return pid_; }
    HWND Main() const { return main_; }

private:
    HANDLE process_;
    DWORD pid_;
    HWND main_;
};

// The (extended) style of a window as a separate process of ours reads it; -1 when it failed.
long long StyleSeenByAnotherProcess(HWND w, bool extended);

// A real pointer move through xdotool (support/testing.h), returning once the pointer is
// there; settleMs more leave time for something that must not follow (a frame that must not
// appear). Not for a thread that owns windows: it waits without taking messages.
void MoveMouseTo(int x, int y, DWORD settleMs = 0);
POINT Center(const RECT& rc);

// The whole screen, 32 bits per pixel, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[(size_t)y * width + x] & 0xFFFFFF; }
};
Picture TakePicture();
// Number of pixels that differ, within rc (screen coordinates) or everywhere.
int CountDifferences(const Picture& a, const Picture& b, const RECT* rc = nullptr);
// Saves the picture as a BMP in the folder named by the environment variable VANTIX_SHOTS
// (nothing when it is not set): screenshots to look at, never compared by the tests.
void SavePictureForReview(const Picture& p, const char* name);
// The same for one window's rectangle of the live screen.
void SaveWindowForReview(HWND w, const char* name);

#endif
