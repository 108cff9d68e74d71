// Layout arithmetic of the main dialog, as pure functions of values.
#ifndef VANTIX_LAYOUT_H
#define VANTIX_LAYOUT_H

#include <windows.h>

// A recorded rectangle scaled from the record size to a new size. Always computed from the
// recorded values, so that any number of resizes never drifts.
RECT ScaleLayoutRect(const RECT& stored, int newW, int newH, int recordW, int recordH);

// Where the main dialog opens: at the stored top-left corner when the dialog's rectangle moved
// there still touches the desktop, otherwise where the template put it.
POINT ChooseDialogPosition(const RECT& dialog, const RECT& desktop, int storedX, int storedY);

// The screen point of a point in workspace coordinates (what GetWindowPlacement gives for a
// top-level window): those start at the corner of the work area of the window's monitor, so a
// taskbar at the top or left shifts them from the screen's.
POINT WorkspaceToScreenPoint(POINT workspace, const RECT& monitor, const RECT& workArea);

// Whether a stored outer size is restored: wider than the template and at least as high.
bool ShouldRestoreSize(int storedW, int storedH, int templateW, int templateH);

#endif
