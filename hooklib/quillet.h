// Quillet: changes the style or extended style of a window inside the process that owns it.
// Both return -1 when nothing was attempted, the current value when it already equals the
// requested one, and otherwise the value read back after the change (the old value when the
// owning thread did not answer within one second). A window of a process of the other bitness
// (32-bit caller, 64-bit owner or the reverse) cannot be reached: -1 at once, style unchanged.
#ifndef QUILLET_H
#define QUILLET_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

LONG WINAPI SetStyle(HWND hWnd, LONG style);
LONG WINAPI SetExtStyle(HWND hWnd, LONG exStyle);

#ifdef __cplusplus
}
#endif

#endif
