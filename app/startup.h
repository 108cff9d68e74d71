// Start-up, the hidden main window with its commands, and the message loop: the top of app/.
#ifndef VANTIX_STARTUP_H
#define VANTIX_STARTUP_H

#include <windows.h>
// g_hInst and g_hMainWnd live in program.h; they come along for the code that starts the program.
#include "app/program.h"

// The whole program: returns the process exit code (always 0).
int VantixMain(HINSTANCE hInst, const char* cmdLine);

// Pure: does this command line (the text after the program name) ask for a start in the tray?
bool StartsInTray(const char* cmdLine);

bool RegisterMainWindowClass();
HWND CreateMainWindow();
void OpenMainDialog();
// The windows of a start: the tray icon when started in the tray or the option is on; unless
// started in the tray, the main dialog with the banner shown while it is built.
void OpenStartWindows(bool tray);

// One message of the program's loop: a key that is a command (Copy, Find) goes to the dialogs
// that hold the focus first, then a dialog takes its keyboard messages first.
void DispatchProgramMessage(MSG* msg);

#endif
