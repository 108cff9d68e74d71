// The Window Information dialog: one modeless dialog per opened window.
#ifndef VANTIX_WINDOW_INFO_H
#define VANTIX_WINDOW_INFO_H

#include <windows.h>
#include <stddef.h>

// Room of the property list: the lines of all properties of a window, cut at a whole line.
#define PROPERTY_TEXT_CHARS 4096

// Opens a Window Information dialog for the window; nothing when it is no window.
void OpenWindowInfo(HWND hWnd);

// The property lines of a window ("<data> = <name>" each, in the order the platform reports
// them), or the none text when it has no property. Lines that do not fit end the text with a
// line "...".
void PropertyListText(HWND hWnd, const char* noneText, char* out, size_t outSize);
// Pure: one property line. The data is shown at full pointer width; a name that is an integer
// atom reads "#<number>".
void FormatPropertyLine(char* out, size_t outSize, ULONG_PTR data, const char* name);

#endif
