// The selection overlay's magnifier: a small top-most window beside the cursor that shows the
// 15 x 15 screen pixels around the hot spot eight times larger, on a one-pixel grid with the
// centre pixel outlined, and below them the cursor position, the selection's size while the
// user drags and the colour under the cursor. It draws from a copy of the overlay's picture
// of the screen taken before any frame was drawn, so that it never shows itself or the frame,
// and it takes no input: clicks and the pointer go through it.
#ifndef VANTIX_CAPTURE_MAGNIFIER_H
#define VANTIX_CAPTURE_MAGNIFIER_H

#include <windows.h>
#include <stddef.h>

enum {
    MAGNIFIER_SPAN = 15,                                  // screen pixels across the square
    MAGNIFIER_ZOOM = 8,                                   // window pixels per screen pixel
    MAGNIFIER_SQUARE = MAGNIFIER_SPAN * MAGNIFIER_ZOOM,   // the square's side, 120
    MAGNIFIER_OFFSET = 24,                                // from the hot spot to the window
    MAGNIFIER_LINES = 3                                   // position, size, colour
};
enum { MAGNIFIER_LINE_POSITION, MAGNIFIER_LINE_SIZE, MAGNIFIER_LINE_COLOUR };

// The window's class, registered while the window exists.
extern const char kMagnifierClass[];
// The window while a selection shows it.
extern HWND g_hMagnifierWnd;
// The readout's text and paper.
static const COLORREF kMagnifierInk = RGB(0, 0, 0);
static const COLORREF kMagnifierPaper = RGB(255, 255, 225);

// Where things are in the window, in window pixels.
struct MagnifierLayout {
    SIZE size;                      // the whole window
    RECT square;                    // the magnified pixels
    RECT lines[MAGNIFIER_LINES];    // the readout, one line each
    LONG textLeft;                  // where each line's text begins
    RECT swatch;                    // the colour under the cursor, beside its line
};
// Pure: the layout for the readout font's line height and the widest line's width. The
// square is the same number of pixels whatever the font.
MagnifierLayout LayoutMagnifier(int lineHeight, int textWidth);
// Pure: the window's top-left corner for a hot spot: below and to the right at the offset,
// on the other side of the hot spot where the window would leave the screen.
POINT PlaceMagnifier(POINT hotSpot, SIZE window, const RECT& screen);

// Pixels are 0x00RRGGBB, as 32-bit DIB rows hold them.
// Pure: the grid line's shade over a pixel's colour (darker over light, lighter over dark).
DWORD MagnifierGridShade(DWORD rgb);
// Pure: the outline's shade around the centre pixel (black over light, white over dark).
DWORD MagnifierOutlineShade(DWORD rgb);
// Pure: draws the square from the 15 x 15 pixels around the hot spot (rows of sourceStride
// pixels) into 120 x 120 pixels (rows of targetStride pixels): each pixel an 8 x 8 cell whose
// first row and column are the grid, and the centre cell's grid lines outlined.
void MagnifyPixels(const DWORD* source, int sourceStride, DWORD* target, int targetStride);
// Pure: "#RRGGBB".
void FormatMagnifierColour(DWORD rgb, char* out, size_t size);

// The window. Open takes its copy of the screen picture (width x height from 0, 0, as the
// overlay shows it) and shows nothing yet; Move puts it beside the hot spot, above every other
// window, and draws it (the selection, when given, is what the size line tells); Raise brings
// it back above a window that came to the top; Close destroys it and returns the rectangle it
// covered on the screen (empty when it showed nothing).
bool OpenMagnifier(HDC screenPicture, int width, int height);
void MoveMagnifier(POINT hotSpot, const RECT* selection);
void RaiseMagnifier();
RECT CloseMagnifier();

// What the readout shows now, line by line.
struct MagnifierReadout {
    char lines[MAGNIFIER_LINES][32];
    DWORD colour;       // 0x00RRGGBB under the hot spot
};
MagnifierReadout CurrentMagnifierReadout();
// The window's layout as drawn (tests compare the screen with it).
MagnifierLayout CurrentMagnifierLayout();

#endif
