// The wait cursors.
#include "app/waitcursor.h"

static HCURSOR s_hSavedCursor;

HCURSOR ShowSystemCursor(LPCSTR id)
{
    HCURSOR previous = SetCursor(LoadCursorA(NULL, id));
    ShowCursor(TRUE);
    return previous;
}

void RestoreCursor(HCURSOR previous)
{
    SetCursor(previous);
    ShowCursor(FALSE);
}

void BeginWaitCursor()
{
    s_hSavedCursor = ShowSystemCursor((LPCSTR)IDC_APPSTARTING);
}

void EndWaitCursor()
{
    RestoreCursor(s_hSavedCursor);
}
