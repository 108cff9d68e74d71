// The "Style of window" dialog: edits a window's style and extended style bit by bit and applies
// them inside the owning process through Quillet.
#ifndef VANTIX_STYLE_EDITOR_H
#define VANTIX_STYLE_EDITOR_H

#include <windows.h>

// Runs the editor modally, owned by owner; nothing happens for a window that no longer exists.
void OpenStyleEditor(HWND hWnd, HWND owner);

#endif
