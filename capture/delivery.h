// Where a capture goes: the destination chosen on the Capture Screen page (a viewer, the
// clipboard or a BMP file). Every way of capturing ends here; it stands above the pipeline and
// the viewer, below the selection overlay and the page.
#ifndef VANTIX_CAPTURE_DELIVERY_H
#define VANTIX_CAPTURE_DELIVERY_H

#include <windows.h>
#include "windows/picker.h"

// Converts g_hCaptureBitmap to g_hCaptureDib, hands them to the destination chosen on the
// Capture Screen page and releases whatever is left.
void DeliverCapture();

// The pick of a window to capture: PickWindow with area as its callback (CaptureClientArea or
// CaptureWindowArea), then, once the owner is back, the delivery of what area captured.
// Returns the picked window, or NULL when the pick gave none (and nothing was delivered).
HWND CapturePickedWindow(HWND owner, bool skipChildren, PickCallback area);

#endif
