// The About box: a modal dialog that the tray menu (owned by the hidden main window) and the
// Options page (owned by that page) both open.
#ifndef VANTIX_ABOUT_H
#define VANTIX_ABOUT_H

#include <windows.h>

// Shows the About box modally, owned by owner; returns when it is closed.
void OpenAboutBox(HWND owner);

#endif
