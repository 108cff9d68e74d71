// The Move window dialog: a window's title, position, size and place in the Z order, changed in
// one SetWindowPos call.
#ifndef VANTIX_MOVE_WINDOW_H
#define VANTIX_MOVE_WINDOW_H

#include <windows.h>

// Runs the dialog modally for the target, owned by owner; nothing for a target that is no
// window. Returns 1 when OK applied the changes, 0 otherwise.
INT_PTR OpenMoveDialog(HWND target, HWND owner);

// Pure: the SetWindowPos flags of the dialog's check boxes. order means "Order" is checked and
// its field holds a window to insert after.
UINT MoveWindowFlags(bool move, bool size, bool order, bool redraw, bool activate, bool frame);
// Pure: the After field as a window to insert after: a hexadecimal number of at most eight
// digits, blanks around it allowed. False for an empty field or anything else.
bool ParseInsertAfter(const char* text, DWORD* value);

#endif
