// The capture pipeline.
#include "capture/pipeline.h"

static BOOL CALLBACK UpdateWindowProc(HWND hWnd, LPARAM)
{
    // EnumChildWindows reaches every descendant, so deep windows are updated more than once:
    // harmless, UpdateWindow does nothing where nothing is invalid.
    EnumChildWindows(hWnd, UpdateWindowProc, 0);
    UpdateWindow(hWnd);
    return TRUE;
}

void UpdateAllWindows()
{
    EnumWindows(UpdateWindowProc, 0);
}
