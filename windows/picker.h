// The window picker: the user points at any window on the screen; a left click picks it, Esc or
// a system cancel gives nothing.
#ifndef VANTIX_PICKER_H
#define VANTIX_PICKER_H

#include <windows.h>

// Receives the picked window (the Capture Screen page captures it).
typedef void (*PickCallback)(HWND picked);

// Runs the pick in a nested message loop and returns the picked window or NULL. The owner (the
// main dialog) is moved out of the way meanwhile; with skipChildren the pointed window is
// replaced by its outermost ancestor; a callback, when given, gets the picked window.
HWND PickWindow(HWND owner, bool skipChildren, PickCallback callback);

#endif
