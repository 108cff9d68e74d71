// The capture pipeline shared by every way of selecting an area of the screen: one global
// capture state and the copy of a screen rectangle into a bitmap. Where the bitmap goes next
// is capture/delivery.h.
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

// Hides a window of ours before the screen is read: no other program is activated, and the
// display is given the time to show what lay below it.
void HideForCapture(HWND window);
// Pure: the part of rc on a primary display of horzRes x vertRes pixels (may be empty).
RECT ClipToDisplay(const RECT& rc, int horzRes, int vertRes);

// Copies the screen under g_rcCapture (clipped to the primary display) into a new
// g_hCaptureBitmap; an empty rectangle, or one off the display, leaves it NULL.
void CaptureScreenRect();
// Window picker callbacks (PickCallback): capture the picked window's client area or the whole
// window as it shows (WindowFrameBounds: its rectangle, without the invisible resize borders of a
// composited desktop).
void CaptureClientArea(HWND window);
void CaptureWindowArea(HWND window);

#endif
