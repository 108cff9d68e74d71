// The area selection overlay: a top-most window over the whole primary screen on which the
// user marks the rectangle to capture, freely from corner to corner or as a frame of a fixed
// size. It shows a copy of the screen taken just before it appears (an unpainted transparent
// window shows black on composited desktops and under Wine) and draws the selection frame by
// inverting pixels of that picture; the capture itself is read from the live screen after the
// overlay is gone. Its mouse button and keys come through low-level hooks as well, whichever
// window the display hands them to. The arrow keys move the cursor, Enter and Space stand for
// the button, and a magnifier beside the cursor shows the pixels under it.
#ifndef VANTIX_CAPTURE_OVERLAY_H
#define VANTIX_CAPTURE_OVERLAY_H

#include <windows.h>

extern HWND g_hSelectWnd;       // the overlay while it exists

// Runs the whole selection modally: hides the owner, lets the user select, captures and
// delivers the rectangle, shows the owner again. Width and height both nonzero select a
// fixed-size frame; otherwise the selection is free.
void StartAreaSelection(HWND owner, int width, int height);

// Draws the frame of g_rcCapture on the overlay, or removes it: drawing twice restores the
// picture. With free selection and Show dimensions, a "WxH" label inverts the picture too.
void DrawSelectionFrame();

// The pointer as the overlay's mouse hook reports it (wParam: WM_MOUSEMOVE, WM_LBUTTONDOWN or
// WM_LBUTTONUP; lParam: the screen point as MAKELPARAM(x, y)); the benchmark sends it too.
static const UINT WM_SELECTION_POINTER = WM_APP + 1;

// Pure: the overlay's cursor resource for the kind of selection and the capture area (a
// CaptureAreaKind).
int SelectionCursorId(bool freeSelection, int captureArea);

// Pure: the four one-pixel inversions (x, y, width, height as PatBlt takes them) that invert
// the outline of the inclusive rectangle l..r x t..b of a non-empty frame exactly once.
struct PatLine {
    int x, y, w, h;
};
void SelectionFrameLines(const RECT& rc, PatLine lines[4]);
// Pure: the rectangle between two corners, whichever way the mouse went.
RECT NormalizedRect(POINT a, POINT b);
// Pure: the fixed frame (0, 0, width, height) moved so that it is centred on the anchor.
RECT CentreFrameOn(const RECT& frame, POINT anchor);
// Pure: where the dimension label of a text size goes: centred in the frame.
POINT LabelPosition(const RECT& frame, SIZE text);

#endif
