// What the program knows of the platform it runs on. Some of the platform's answers differ
// under Wine in ways the program must follow (toolhelp's priority values, the help engine's
// pop-ups); they are decided here once. Plain values, no window code.
#ifndef VANTIX_PLATFORM_H
#define VANTIX_PLATFORM_H

// True when Wine provides the platform: its ntdll exports wine_get_version.
bool RunningOnWine();

#endif
