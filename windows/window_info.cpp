// The Window Information dialog. It comes alive in a later step; until then nothing opens.
#include "windows/window_info.h"

void OpenWindowInfo(HWND hWnd)
{
    (void)hWnd;
}
