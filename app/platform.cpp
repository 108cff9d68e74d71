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

HMODULE LoadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    UINT len = GetSystemDirectoryA(path, sizeof(path));
    int nameLen = lstrlenA(name);
    if (len == 0 || len + 1 + nameLen >= sizeof(path)) return NULL;
    path[len] = '\\';
    lstrcpynA(path + len + 1, name, (int)(sizeof(path) - len - 1));
    return LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}
