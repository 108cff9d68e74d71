// A composited desktop in the tests: a stand-in for the desktop window manager that reports a
// visible frame or the cloaked state for chosen windows, as Windows 10 and 11 do. Wine's window
// manager answers no such question, so without it the program sees a classic desktop.
#ifndef VANTIX_SUPPORT_COMPOSITED_H
#define VANTIX_SUPPORT_COMPOSITED_H

#include <windows.h>
#include <map>

// From its making to its end the program's questions to the window manager
// (g_pfnDwmGetWindowAttribute) reach this stand-in, which fails every question it was not told
// the answer to; afterwards they reach the system again. One at a time.
class CompositedDesktop {
public:
    CompositedDesktop();
    ~CompositedDesktop();
    CompositedDesktop(const CompositedDesktop&) = delete;
    CompositedDesktop& operator=(const CompositedDesktop&) = delete;

    // The visible frame of a window, in screen coordinates.
    void SetFrame(HWND window, const RECT& frame);
    // A frame inset from the window's current rectangle by these many pixels on each side, as
    // the invisible resize borders leave it; returns that frame.
    RECT InsetFrame(HWND window, int left, int top, int right, int bottom);
    void SetCloaked(HWND window, DWORD why = 1);
    // How often the program asked about cloaking and about the frame.
    int CloakQuestions() const { return cloakQuestions_; }
    int FrameQuestions() const { return frameQuestions_; }

private:
    static HRESULT WINAPI Answer(HWND hWnd, DWORD attribute, void* value, DWORD size);
    std::map<HWND, RECT> frames_;
    std::map<HWND, DWORD> cloaked_;
    int cloakQuestions_ = 0;
    int frameQuestions_ = 0;
    void* saved_;
};

#endif
