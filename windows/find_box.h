// The Find box of the Windows page: a small modeless dialog that looks for a window in the tree
// by its title, class name, process name or handle, and selects the item it finds (its parents
// expanded, scrolled into view), which makes it the page's current window. One at a time.
#ifndef VANTIX_FIND_BOX_H
#define VANTIX_FIND_BOX_H

#include <windows.h>

// Pure: what a tree item can be found by.
struct FindKeys {
    const char* text;         // the item's text as the tree shows it: title or label, class
    const char* className;
    const char* processName;  // the base name of the program that owns the window
    DWORD handle;
};
// Pure: does any key contain what? The texts as typed (matchCase) or in any case; the handle as
// eight hexadecimal digits, what with or without a leading 0x, in any case.
bool FindKeysMatch(const FindKeys& keys, const char* what, bool matchCase);

// Pure: the first index after current (forward) or before it whose item matches, going round
// at the ends (then *wrapped is set); current itself comes last. current -1 starts before the
// first (forward) or after the last item. -1 when nothing matches.
typedef bool (*FindMatchProc)(int index, void* context);
int NextMatchingIndex(int count, int current, bool forward, FindMatchProc matches, void* context, bool* wrapped);

// Opens the Find box beside owner for the tree, or brings the open one forward with its text
// selected.
HWND OpenFindBox(HWND owner, HWND tree);
// F3 (forward) and Shift+F3: the next or previous match of the text looked for last; the box
// opens when nothing was looked for yet.
void FindAgain(HWND owner, HWND tree, bool forward);
// The box goes with the tree it searches.
void CloseFindBox();
// The open Find box, NULL when none is open.
HWND FindBoxWindow();

#endif
