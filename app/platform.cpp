// The platform the program runs on.
#include "app/platform.h"

#include <windows.h>

bool RunningOnWine()
{
    static int s_wine = -1;
    if (s_wine < 0) {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        s_wine = ntdll && GetProcAddress(ntdll, "wine_get_version") ? 1 : 0;
    }
    return s_wine == 1;
}
