// Tray icon. The icon itself comes later; the run-at-logon value already follows the option.
#include "app/tray.h"
#include "app/settings.h"

void AddTrayIcon()
{
    SetRunAtLogon(true);
}

void RemoveTrayIcon()
{
    SetRunAtLogon(false);
}
