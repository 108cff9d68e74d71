// The "Style of window" dialog: edits a window's style and extended style bit by bit and applies
// them inside the owning process through Quillet.
#ifndef VANTIX_STYLE_EDITOR_H
#define VANTIX_STYLE_EDITOR_H

#include <windows.h>
#include "windows/names.h"

// Runs the editor modally, owned by owner; nothing happens for a window that no longer exists.
void OpenStyleEditor(HWND hWnd, HWND owner);

// Pure: a style field's text as "%lX" reads it, by the check boxes and by OK alike: leading
// blanks, an optional sign, an optional 0x or 0X before the digits, then the hexadecimal digits
// up to the first other character ("50G1" is 0x50). A minus sign negates as unsigned arithmetic
// does ("-1" is FFFFFFFF); a number beyond 32 bits saturates at FFFFFFFF, whatever its sign.
// Returns false, leaving *value as it was, when the text holds no digit where the number
// should begin.
bool ParseStyleText(const char* text, DWORD* value);
// Pure: value with bit n (0..31) set or cleared.
DWORD WithStyleBit(DWORD value, int bit, bool set);
// Pure: relabels the style bits of a window of this class, starting from the labels the boxes
// carry (those of every window): a class with a style family of its own names bits 16 and 17
// WS_GROUP and WS_TABSTOP and its low bits by its family; a later entry wins.
void ClassStyleBoxLabels(const char* className, BitLabels* labels);

#endif
