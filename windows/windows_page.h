// The Windows tab page and the window operations other parts share.
#ifndef VANTIX_WINDOWS_PAGE_H
#define VANTIX_WINDOWS_PAGE_H

#include <windows.h>
#include <stddef.h>

// How long the program waits for another thread's window to answer a message. A window that
// does not answer within it counts as hung: its text is the caption the platform keeps for it
// and commands do not wait.
#define WINDOW_ANSWER_MS    500
// A tree item's text; the window text read for it (at most 1013 characters).
#define ITEM_TEXT_CHARS     1024
#define ITEM_TITLE_CHARS    1014

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Executable base name of the process that owns the window, "(name)" when parenthesised;
// in a shared buffer that the next call overwrites.
const char* OwnerProcessLabel(HWND hWnd, bool parenthesised);
// True when the window has an owner, a parent or the child style: subordinate to another.
bool IsChildOrOwned(HWND hWnd);

// Carries out one window command of the Windows page (6003 to 6011) or of the Window
// Information dialog (13013 to 13017, 13020 to 13022) on a window; any other id does nothing.
void WindowCommand(HWND hWnd, int commandId);

// The window's text, asked with WM_GETTEXT so that controls of other processes answer too, but
// never waiting longer than WINDOW_ANSWER_MS. Returns false when the window did not answer; the
// text is then the caption the platform keeps for the window (read without asking its thread).
bool QueryWindowText(HWND hWnd, char* buf, int size);
// True when the window's thread answers a message within WINDOW_ANSWER_MS.
bool WindowAnswers(HWND hWnd);

// Another program may answer one message and hang at the next, so nothing of the program
// waits for another thread's window without a bound.
// True when the window belongs to a thread other than the calling one.
bool BelongsToOtherThread(HWND hWnd);
// ShowWindow that never waits: a window of another thread gets the request queued.
void ShowWindowNoWait(HWND hWnd, int command);
// Sets the window's text with WM_SETTEXT, waiting at most WINDOW_ANSWER_MS for a window of
// another thread. True when the window took it.
bool SendWindowText(HWND hWnd, const char* text);

// Labels of the three toggle buttons for a window: "Restore"/"Minimize", "Hide"/"Show",
// "Not top most"/"Top most".
void SetWindowToggleLabels(HWND hDlg, HWND hWnd, int minimizeId, int hideId, int onTopId);

// Window handles as the fields show them: the significant 32 bits, and back (sign-extended as
// the platform does, so that FFFFFFFF is HWND_TOPMOST on both builds).
DWORD HandleValue(HWND hWnd);
HWND HandleFromValue(DWORD value);

// Pure: a tree item's text. base is the title (quoted adds the double quotes around it) or the
// label used instead; classDisplay, when not NULL, is appended as "    [class]". A text longer
// than outSize - 1 keeps its quotes and class part and shortens the title, ending it in "..."
// on a whole character.
void FormatTreeItemText(char* out, size_t outSize, const char* base, bool quoted, const char* classDisplay);
// Pure: the same for the characters of a given ANSI code page.
void FormatTreeItemTextIn(UINT codePage, char* out, size_t outSize, const char* base, bool quoted,
                          const char* classDisplay);

// The window the page's buttons act on (none while the page does not exist).
HWND WindowsPageCurrent();

#endif
