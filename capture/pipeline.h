// The capture pipeline shared by every way of selecting an area of the screen.
#ifndef VANTIX_CAPTURE_PIPELINE_H
#define VANTIX_CAPTURE_PIPELINE_H

#include <windows.h>

// Repaints every window on the desktop at once, children before their parents, so that what
// hiding the main dialog (or removing an overlay) uncovered is drawn before the screen is read.
void UpdateAllWindows();

#endif
