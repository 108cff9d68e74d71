// The style editor. It comes alive in a later step; until then nothing opens.
#include "windows/style_editor.h"

void OpenStyleEditor(HWND hWnd, HWND owner)
{
    (void)hWnd; (void)owner;
}
