// Helpers shared by the test programs: waiting, message boxes, windows, files and real input.
// The other headers of this folder hold the rest by topic: processes.h (programs the tests
// start), settings.h (the settings record), dialogs.h, controls.h (list, tree and tab controls,
// also of other processes) and pictures.h (screen pixels and screenshots).
#ifndef VANTIX_TESTING_H
#define VANTIX_TESTING_H

#include <windows.h>
#include <string>
#include <vector>

// Makes the test program's own instance the resource instance of the code under test.
void InitTestSupport();

// Dispatches this thread's messages for ms milliseconds (the program's loop rules apply).
void PumpMessages(DWORD ms);
// Pumps until pred() holds or ms pass; returns pred().
template <class Pred> bool PumpUntil(Pred pred, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > ms) return pred();
        PumpMessages(10);
    }
}
// Waits without pumping (for other processes) until pred() holds or ms pass.
template <class Pred> bool WaitUntil(Pred pred, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > ms) return pred();
        Sleep(20);
    }
}

// Answers every message box this thread shows with the button given (IDYES, IDNO, IDOK),
// and records each box's caption, text and button/icon flags. Removed when it goes out of scope.
struct BoxRecord {
    std::string caption;
    std::string text;
    UINT style;     // MB_ button and icon flags, read back from the box as shown
};
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int answer);
    ~MessageBoxAnswerer();
    const std::vector<BoxRecord>& Boxes() const;
private:
    HHOOK hook_;
};

// First top-level window of process pid whose class and title equal the given ones (null
// matches anything); with visibleOnly, hidden windows are passed over.
HWND FindTopWindow(DWORD pid, const char* cls, const char* title, bool visibleOnly);
// The same, waiting up to ms for it to appear.
HWND WaitForTopWindow(DWORD pid, const char* cls, const char* title, bool visibleOnly, DWORD ms);
// A window's class name.
std::string ClassOf(HWND w);
// The window with the keyboard focus in the thread of w (also of another process), NULL when none.
HWND FocusOf(HWND w);
// The first visible pop-up menu window of process pid, waiting up to ms for it.
HWND WaitForMenu(DWORD pid, DWORD ms);
// Outer size and position of a window, and the middle of a rectangle.
RECT WindowRect(HWND h);
POINT Center(const RECT& rc);
// True when the window's thread answers a message within ms.
bool Answers(HWND w, DWORD ms);
// A window's text as the window itself answers it, also in another process (bounded: "" from
// a program that does not answer).
std::string WindowText(HWND w);
// A value as four or more upper-case hex digits, as the program shows ids and handles.
std::string Hex4(DWORD v);

// The clipboard's CF_TEXT as this process reads it ("" when it holds none), once no program
// holds the clipboard open; and its sequence number, by which a new text shows.
std::string ClipboardText();
// Waits (without pumping) up to ms for the clipboard to hold a text other than the one of
// sequence number before; returns it, "" when none came.
std::string WaitForClipboardText(DWORD before, DWORD ms);

// Folder of the running test program (ends without a backslash), and a path in it.
std::string ProgramFolder();
std::string TestFile(const std::string& name);
// A whole file ("" when missing), and whether it exists.
std::string ReadFileText(const std::string& path);
bool FileExists(const std::string& path);

// Runs xdotool (a Linux program) with the arguments given: real mouse and keyboard input on
// the test display. Its handle cannot be waited for under wine, so callers wait for the effect.
void Xdotool(const std::string& args, DWORD settleMs = 300);
// A real click (button 1 left, 3 right) at a point of the screen or in the middle of a window.
void ClickAt(POINT p, int button = 1, DWORD settleMs = 300);
void ClickCenter(HWND w, int button = 1, DWORD settleMs = 300);
// A real pointer move, returning once the pointer is there; settleMs more leave time for
// something that must not follow (a frame that must not appear). Not for a thread that owns
// windows: it waits without taking messages.
void MoveMouseTo(POINT p, DWORD settleMs = 0);

#endif
