// What the program knows of the platform it runs on. Some of the platform's answers differ
// under Wine in ways the program must follow (toolhelp's priority values, the help engine's
// pop-ups); they are decided here once. Plain values, no window code.
#ifndef VANTIX_PLATFORM_H
#define VANTIX_PLATFORM_H

#include <windows.h>

// True when Wine provides the platform: its ntdll exports wine_get_version.
bool RunningOnWine();

// A library of the system directory, loaded by its full path: a bare name would be searched for
// in the program's folder and the current directory first, where anyone could leave a file of
// that name to be run inside this program. NULL when it is missing.
HMODULE LoadSystemLibrary(const char* name);

#endif
