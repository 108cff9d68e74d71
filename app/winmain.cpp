// Program entry point; the program itself lives in the core library so that tests link it.
#include "app/startup.h"
#include "hooklib/quillet.h"

// Bound at load time: the program must not start without the style-hook library beside it.
LONG (WINAPI *volatile g_pfnSetStyle)(HWND, LONG) = SetStyle;
LONG (WINAPI *volatile g_pfnSetExtStyle)(HWND, LONG) = SetExtStyle;

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE hPrev, LPSTR cmdLine, int show)
{
    (void)hPrev;
    (void)show;
    return VantixMain(hInst, cmdLine);
}
