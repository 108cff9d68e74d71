// Start-up, the hidden main window with its commands, the About box and the message loop.
#ifndef VANTIX_STARTUP_H
#define VANTIX_STARTUP_H

#include <windows.h>

extern HINSTANCE g_hInst;
extern HWND g_hMainWnd;

// The whole program: returns the process exit code (always 0).
int VantixMain(HINSTANCE hInst, const char* cmdLine);

// Pure: does this command line (the text after the program name) ask for a start in the tray?
bool StartsInTray(const char* cmdLine);

bool ActivatePreviousInstance();
bool RegisterMainWindowClass();
HWND CreateMainWindow();
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
void OpenMainDialog();
INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

// One message of the program's loop: a dialog takes its keyboard messages first.
void DispatchProgramMessage(MSG* msg);
int RunMessageLoop();

#endif
