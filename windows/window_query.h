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

#endif
