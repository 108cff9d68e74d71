// Pixels at the DPI of the monitor a window is on. The program declares itself per-monitor
// aware, so the platform scales only what dialog templates measure in dialog units; every size
// the program gives in pixels (column widths, icon sizes, the picker's ring, the label of the
// selection, the banner) goes through here. The platform's DPI functions are newer than the
// oldest systems the program runs on: they are bound at run time, once, with fallbacks.
#ifndef VANTIX_DPI_H
#define VANTIX_DPI_H

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI that pixel sizes in the sources are given for.
static const UINT kBaseDpi = 96;

// ---- Arithmetic (pure)

// value * to / from rounded to the nearest integer (halves away from zero), without overflow
// for any int value; from == 0 leaves value as it is.
int ScaleBetween(int value, int from, int to);
// A size given for 96 DPI at dpi.
int ScaleForDpi(int value, UINT dpi);

// ---- The platform

// The DPI of the monitor the window is on (GetDpiForWindow); where the platform has no
// per-window DPI, the screen's (LOGPIXELSX). Never 0.
UINT DpiOfWindow(HWND hWnd);
// The DPI the program's system-wide metrics and stock fonts are made for.
UINT SystemDpi();
// GetSystemMetricsForDpi where the platform has it, else GetSystemMetrics.
int MetricForDpi(int index, UINT dpi);
// AdjustWindowRectExForDpi where the platform has it, else AdjustWindowRectEx.
BOOL AdjustWindowRectForDpi(RECT* rc, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);
// A font like font (NULL: the system font) for a DC of toDpi where it was made for fromDpi; NULL
// when the DPIs are the same or the font cannot be made. The caller deletes it.
HFONT CreateFontForDpi(HFONT font, UINT fromDpi, UINT toDpi);
// True when the thread draws in physical pixels at the monitor's own DPI (per-monitor aware).
bool ThreadIsPerMonitorAware();

#endif
