// The capture viewer: an unowned top-level window per capture that shows the picture at an
// integer zoom and saves it, copies it to the clipboard, closes and opens its help topic.
// CloseInfoBoxes closes every viewer with the information dialogs.
#ifndef VANTIX_CAPTURE_VIEWER_H
#define VANTIX_CAPTURE_VIEWER_H

#include <windows.h>

// Opens a viewer for g_hCaptureDib sized after g_rcCapture and takes the DIB over (the global
// is cleared once the window holds it).
void OpenCaptureViewer();

// Pure: the viewer's first client size for a capture of capturedW x capturedH: no larger than
// the full-screen client area, no smaller than the smallest window.
SIZE ViewerClientSize(int capturedW, int capturedH, int cxFull, int cyFull, int cxMin, int cyMin);
// Pure: how much taller the window must grow when its menu bar took more lines than planned,
// so that the client area shows as much of the capture as the screen allows.
int ViewerHeightGrowth(int capturedH, int clientH, int cyFull);
// Pure: the zoom factor of a Scale command (x1 for anything else).
int ZoomFactor(UINT scaleId);

#endif
