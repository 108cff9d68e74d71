// Tray icon. Adding it also registers the program to start in the tray at logon; removing it
// (the option turned off) deletes that registration again. A small service.
#ifndef VANTIX_TRAY_H
#define VANTIX_TRAY_H

#include <windows.h>
#include <shellapi.h>

// Shell_NotifyIconA's shape; tests put a recorder here.
typedef BOOL (WINAPI *ShellNotifyIconFn)(DWORD message, PNOTIFYICONDATAA data);
extern ShellNotifyIconFn g_pfnShellNotifyIcon;

// The icon data in the form whose size field is 504 on 32-bit Windows (up to and including
// guidItem); the same form at the platform's own width on 64-bit.
#define TRAY_DATA_SIZE ((DWORD)(offsetof(NOTIFYICONDATAA, guidItem) + sizeof(GUID)))

// Icon id 1 of the hidden main window, tip "Vantix", notifications as WM_APP. Writes the Run
// value every time; adds the icon once.
void AddTrayIcon();
// Deletes the Run value every time; deletes the icon when it was added.
void RemoveTrayIcon();
// The program ends: the icon goes, the Run value (the user's choice) stays.
void DeleteTrayIcon();

#endif
