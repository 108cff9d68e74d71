// Tray icon. Adding it also registers the program to start in the tray at logon.
#ifndef VANTIX_TRAY_H
#define VANTIX_TRAY_H

void AddTrayIcon();
void RemoveTrayIcon();

#endif
