// The capture pipeline shared by every way of selecting an area of the screen: one global
// capture state, the copy of a screen rectangle into a bitmap and its delivery to the chosen
// destination (a viewer, the clipboard or a BMP file).
#ifndef VANTIX_CAPTURE_PIPELINE_H
#define VANTIX_CAPTURE_PIPELINE_H

#include <windows.h>

// The area to capture in screen coordinates, right and bottom exclusive; empty = nothing.
extern RECT g_rcCapture;
// The latest capture as a display bitmap, and as a packed DIB while it is delivered. A
// consumer that keeps a handle takes it over by clearing the global; between captures both
// are NULL.
extern HBITMAP g_hCaptureBitmap;
extern HGLOBAL g_hCaptureDib;

// Repaints every window on the desktop at once, so that what hiding the main dialog (or
// removing an overlay) uncovered is drawn before the screen is read, and waits (at most
// kLeaveWaitMs) until a window noted with NoteLeavingWindow no longer shows on the screen.
// A thread that does not answer a short probe is asked nothing more: a hung program never
// stops the capture.
void UpdateAllWindows();
// Notes what a window of ours shows on the screen now, just before it is hidden or removed:
// the next UpdateAllWindows waits until the windows below have drawn over it. One at a time.
void NoteLeavingWindow(HWND window);
// Hides a window of ours before the screen is read: no other program is activated, and the
// display is given the time to show what lay below it.
void HideForCapture(HWND window);
// rc of a DC (the display, a memory DC) as 32-bit top-down rows in a new block of the process
// heap, or NULL; the caller frees it with HeapFree.
DWORD* CopyPixels(HDC from, const RECT& rc);
// The longest wait for a hidden window to leave the screen, and for a thread to answer.
static const DWORD kLeaveWaitMs = 250;
static const DWORD kThreadProbeMs = 100;

// Pure: the part of rc on a primary display of horzRes x vertRes pixels (may be empty).
RECT ClipToDisplay(const RECT& rc, int horzRes, int vertRes);

// Copies the screen under g_rcCapture (clipped to the primary display) into a new
// g_hCaptureBitmap; an empty rectangle, or one off the display, leaves it NULL.
void CaptureScreenRect();
// Converts g_hCaptureBitmap to g_hCaptureDib, hands them to the destination chosen on the
// Capture Screen page and releases whatever is left.
void DeliverCapture();

// Window picker callbacks: capture the picked window's client area or its whole rectangle.
void CaptureClientArea(HWND window);
void CaptureWindowArea(HWND window);

#endif
