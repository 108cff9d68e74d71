// What the screen shows: every window made to finish its painting, a window of ours waited for
// until it has left the screen, a picture of the screen, and the pixels of a rectangle read. The window picker and the
// capture pipeline both stand on it; a hung program never stops it. It includes nothing of
// windows/.
#ifndef VANTIX_SCREEN_H
#define VANTIX_SCREEN_H

#include <windows.h>

// Repaints every window on the desktop at once, so that what hiding the main dialog (or
// removing an overlay) uncovered is drawn before the screen is read, and waits (at most
// kLeaveWaitMs) until a window noted with NoteLeavingWindow no longer shows on the screen.
// A thread that does not answer a short probe is asked nothing more: a hung program never
// stops the capture.
void UpdateAllWindows();
// Notes what a window of ours shows on the screen now, just before it is hidden or removed:
// the next UpdateAllWindows waits until the windows below have drawn over it. One at a time.
void NoteLeavingWindow(HWND window);
// A 32-bit DIB section of width x height with its rows top-down, its pixels at *bits; NULL when
// it cannot be made.
HBITMAP CreateTopDownDib(HDC compatible, int width, int height, void** bits);
// rc of a DC (the display, a memory DC) as 32-bit top-down rows in a new block of the process
// heap, or NULL; the caller frees it with HeapFree.
DWORD* CopyPixels(HDC from, const RECT& rc);
// A picture of part of the screen in a memory DC, taken before a window of ours covers it (the
// picker's ring and the selection overlay paint from it).
struct ScreenCopy {
    HDC dc;             // NULL when no picture could be taken
    HBITMAP bitmap;
    HGDIOBJ oldBitmap;
    RECT area;          // what it shows, in screen coordinates
};
// Copies area of the screen into copy; false, with copy all NULL, when that cannot be done.
bool TakeScreenCopy(ScreenCopy* copy, const RECT& area);
// Frees the picture; copy is all NULL afterwards. Does nothing for one that was not taken.
void DropScreenCopy(ScreenCopy* copy);

// The longest wait for a hidden window to leave the screen, and for a thread to answer.
static const DWORD kLeaveWaitMs = 250;
static const DWORD kThreadProbeMs = 100;

#endif
