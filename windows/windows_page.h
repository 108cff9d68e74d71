// The Windows tab page: every window of the desktop as a tree.
#ifndef VANTIX_WINDOWS_PAGE_H
#define VANTIX_WINDOWS_PAGE_H

#include <windows.h>
#include <stddef.h>

// A tree item's text; the window text read for it (at most 1013 characters).
#define ITEM_TEXT_CHARS     1024
#define ITEM_TITLE_CHARS    1014

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Pure: a tree item's text. base is the title (quoted adds the double quotes around it) or the
// label used instead; mark, when not NULL, follows it after a blank ("(cloaked)"); classDisplay,
// when not NULL, is appended as "    [class]". A text longer than outSize - 1 keeps its quotes,
// mark and class part and shortens the title, ending it in "..." on a whole character.
void FormatTreeItemText(char* out, size_t outSize, const char* base, bool quoted, const char* classDisplay,
                        const char* mark = NULL);
// Pure: the same for the characters of a given ANSI code page.
void FormatTreeItemTextIn(UINT codePage, char* out, size_t outSize, const char* base, bool quoted,
                          const char* classDisplay, const char* mark = NULL);

// The window the page's buttons act on (none while the page does not exist).
HWND WindowsPageCurrent();

#endif
