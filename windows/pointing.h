// Pointing at a single pixel, shared by the selection overlay and the window picker. While one
// of them runs, the thread works in physical screen pixels: a program that does not declare
// itself aware of the display's scaling would otherwise see a scaled screen, whose pixels are
// not the screen's. The arrow keys step the real cursor, so that the mouse and the keyboard
// reach the same handlers.
#ifndef VANTIX_WINDOWS_POINTING_H
#define VANTIX_WINDOWS_POINTING_H

#include <windows.h>

// Switches this thread to physical pixels where the platform can (elsewhere nothing changes)
// and returns what EndPhysicalPixels gives back.
HANDLE BeginPhysicalPixels();
void EndPhysicalPixels(HANDLE previous);
// Whether this thread works in physical pixels of each monitor now; false where the platform
// cannot tell.
bool InPhysicalPixels();

// Pure: the step of an arrow key, one pixel or ten with Shift; false for every other key.
bool ArrowKeyStep(UINT vk, bool shift, POINT* step);
// Pure: pt moved by step, kept inside bounds (right and bottom exclusive).
POINT StepWithin(POINT pt, POINT step, const RECT& bounds);
// Moves the real cursor by step, kept inside bounds, and returns where it is now.
POINT StepCursor(POINT step, const RECT& bounds);

// Whether a Shift key is down, also as a low-level keyboard hook asks it about an arrow key.
bool ShiftIsDown();

// Pure: the key that stands for a button press and release (Enter, Space).
inline bool IsPressKey(UINT vk)
{
    return vk == VK_RETURN || vk == VK_SPACE;
}

#endif
