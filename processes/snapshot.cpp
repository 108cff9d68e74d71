// Process snapshot and shared process services.
#include "processes/snapshot.h"

static HCURSOR s_hSavedCursor;

void BeginWaitCursor()
{
    s_hSavedCursor = SetCursor(LoadCursorA(NULL, (LPCSTR)IDC_APPSTARTING));
    ShowCursor(TRUE);
}

void EndWaitCursor()
{
    SetCursor(s_hSavedCursor);
    ShowCursor(FALSE);
}
