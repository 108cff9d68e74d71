// The "Style of window" dialog: edits a window's style and extended style bit by bit and applies
// them inside the owning process through Quillet.
#ifndef VANTIX_STYLE_EDITOR_H
#define VANTIX_STYLE_EDITOR_H

#include <windows.h>
#include "windows/names.h"

// Runs the editor modally, owned by owner; nothing happens for a window that no longer exists.
void OpenStyleEditor(HWND hWnd, HWND owner);

// A style field's text is read with ParseHexField (processes/fields.h), by the check boxes and
// by OK alike.
// Pure: value with bit n (0..31) set or cleared.
DWORD WithStyleBit(DWORD value, int bit, bool set);
// Pure: relabels the style bits of a window of this class, starting from the labels the boxes
// carry (those of every window): a class with a style family of its own names bits 16 and 17
// WS_GROUP and WS_TABSTOP and its low bits by its family; a later entry wins.
void ClassStyleBoxLabels(const char* className, BitLabels* labels);

#endif
