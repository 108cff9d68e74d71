// The window picker: the user points at any window on the screen, with the mouse or a pixel at a
// time with the arrow keys (ten with Shift); a left click or Enter picks it, Esc or a system
// cancel gives nothing. It knows nothing of what the pick is for: the Windows page shows the
// picked window, the Capture Screen page captures it.
#ifndef VANTIX_PICKER_H
#define VANTIX_PICKER_H

#include <windows.h>

// Receives the picked window while the owner is still out of the way (the Capture Screen page
// captures it there and delivers the capture once PickWindow has returned it).
typedef void (*PickCallback)(HWND picked);

// Runs the pick in a nested message loop and returns the picked window or NULL. The owner (the
// main dialog) is moved out of the way meanwhile and brought back to the top afterwards; with
// skipChildren the pointed window is replaced by its outermost ancestor; a callback, when
// given, gets the picked window before the owner comes back.
// A quit message that comes during the pick ends it with nothing and is posted again for the
// program's own loop.
HWND PickWindow(HWND owner, bool skipChildren, PickCallback callback);

// The hooks the last pick set (NULL where one could not be set), so that tests can check that
// none outlives the pick.
struct PickHooks {
    HHOOK journal;
    HHOOK mouse;
    HHOOK keyboard;
};
PickHooks LastPickHooks();

#endif
