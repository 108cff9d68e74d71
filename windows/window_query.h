// Questions to any window of the desktop, and the few changes the program makes to one, under
// one rule: another program may answer one message and hang at the next, so nothing here waits
// for another thread's window without a bound. The bottom of windows/: every dialog and page of
// the subsystem stands on it, and it includes nothing of windows/.
#ifndef VANTIX_WINDOW_QUERY_H
#define VANTIX_WINDOW_QUERY_H

#include <windows.h>
#include <stddef.h>

// How long the program waits for another thread's window to answer a message. A window that
// does not answer within it counts as hung: its text is the caption the platform keeps for it
// and commands do not wait.
#define WINDOW_ANSWER_MS    500
// The most of a window's text the program reads: 1023 characters and the terminator.
#define WINDOW_TEXT_CHARS   1024

// The window's text, asked with WM_GETTEXT so that controls of other processes answer too, but
// never waiting longer than WINDOW_ANSWER_MS. Returns false when the window did not answer; the
// text is then the caption the platform keeps for the window (read without asking its thread).
bool QueryWindowText(HWND hWnd, char* buf, int size);
// The caption the platform keeps for every window, read without asking the window's thread.
void ReadKeptCaption(HWND hWnd, char* buf, int size);
// True when the window's thread answers a message within WINDOW_ANSWER_MS.
bool WindowAnswers(HWND hWnd);
// True when the window belongs to a thread other than the calling one.
bool BelongsToOtherThread(HWND hWnd);
// ShowWindow that never waits: a window of another thread gets the request queued.
void ShowWindowNoWait(HWND hWnd, int command);
// Sets the window's text with WM_SETTEXT, waiting at most WINDOW_ANSWER_MS for a window of
// another thread. True when the window took it.
bool SendWindowText(HWND hWnd, const char* text);

// The identifier of the process that owns the window (0 for no window).
DWORD OwnerProcessId(HWND hWnd);
// Executable base name of the process that owns the window, "(name)" when parenthesised;
// in a shared buffer that the next call overwrites.
const char* OwnerProcessLabel(HWND hWnd, bool parenthesised);
// True when the window has an owner, a parent or the child style: subordinate to another.
bool IsChildOrOwned(HWND hWnd);

// Labels of the three toggle buttons for a window: "Restore"/"Minimize", "Hide"/"Show",
// "Not top most"/"Top most".
void SetWindowToggleLabels(HWND hDlg, HWND hWnd, int minimizeId, int hideId, int onTopId);

// Window handles as the fields show them: the significant 32 bits, and back (sign-extended as
// the platform does, so that FFFFFFFF is HWND_TOPMOST on both builds).
DWORD HandleValue(HWND hWnd);
HWND HandleFromValue(DWORD value);

// The modal editing dialogs keep their target window in their caption only: the caption string
// formatId (one "%X" for the handle) written for the target, and the target read back from the
// caption with the same format (NULL when the caption holds none).
void SetTargetCaption(HWND hDlg, UINT formatId, HWND target);
HWND TargetFromCaption(HWND hDlg, UINT formatId);

// Pure: bytes of s that fit into maxBytes without splitting a double-byte character of the
// ANSI code page.
size_t WholeCharBytes(UINT codePage, const char* s, size_t maxBytes);

// ---- What a composited desktop adds
// Windows 10 and 11 draw a window's resize borders invisibly, so its rectangle is wider than
// what shows, and they keep some windows that are visible by style off the screen (cloaked:
// suspended store apps, windows on other virtual desktops). The desktop window manager tells
// both; older systems and Wine have none that answers, and everything then stays as the window
// rectangle and the style say.

// One question to the desktop window manager (DwmGetWindowAttribute): S_OK with the value
// written, or a failure. The system's dwmapi.dll is bound on the first question; where it or the
// function is missing, every question fails. Tests put a stand-in here.
typedef HRESULT (WINAPI *DwmAttributeFn)(HWND hWnd, DWORD attribute, void* value, DWORD size);
extern DwmAttributeFn g_pfnDwmGetWindowAttribute;

// Pure: the bounds a window shows, from its rectangle and the frame the window manager gave
// (NULL when it gave none). A frame that is empty or reaches outside the rectangle is no answer
// about the same window in the same pixels (a program the system scales sees its rectangle in
// other units): the rectangle then stands.
RECT ChooseFrameBounds(const RECT& window, const RECT* frame);
// The window's bounds as the screen shows them: its visible frame where the window manager
// reports one, else GetWindowRect. False when it is no window.
bool WindowFrameBounds(HWND hWnd, RECT* rc);
// True when the window manager keeps the window off the screen (DWMWA_CLOAKED non-zero); false
// wherever it does not answer.
bool IsWindowCloaked(HWND hWnd);

#endif
