#include "app/layout.h"

RECT ScaleLayoutRect(const RECT& stored, int newW, int newH, int recordW, int recordH)
{
    RECT r;
    if (recordW <= 0 || recordH <= 0) return stored;
    r.left = MulDiv(stored.left, newW, recordW);
    r.top = MulDiv(stored.top, newH, recordH);
    r.right = r.left + MulDiv(stored.right - stored.left, newW, recordW);
    r.bottom = r.top + MulDiv(stored.bottom - stored.top, newH, recordH);
    return r;
}

POINT ChooseDialogPosition(const RECT& dialog, const RECT& desktop, int storedX, int storedY)
{
    RECT moved = dialog;
    OffsetRect(&moved, storedX - dialog.left, storedY - dialog.top);
    RECT common;
    POINT pt;
    if (IntersectRect(&common, &moved, &desktop)) {
        pt.x = storedX;
        pt.y = storedY;
    } else {
        pt.x = dialog.left;
        pt.y = dialog.top;
    }
    return pt;
}

bool ShouldRestoreSize(int storedW, int storedH, int templateW, int templateH)
{
    return storedW != 0 && storedH != 0 && storedW > templateW && storedH >= templateH;
}

POINT WorkspaceToScreenPoint(POINT workspace, const RECT& monitor, const RECT& workArea)
{
    POINT pt;
    pt.x = workspace.x + (workArea.left - monitor.left);
    pt.y = workspace.y + (workArea.top - monitor.top);
    return pt;
}
