// Tray icon and the run-at-logon value that goes with it.
#include "app/tray.h"
#include "app/program.h"
#include "app/resstring.h"
#include "app/settings.h"
#include "resource.h"

#include <stddef.h>

#if !defined(_WIN64)
static_assert(TRAY_DATA_SIZE == 504, "the icon data's 504-byte form");
#endif

ShellNotifyIconFn g_pfnShellNotifyIcon = Shell_NotifyIconA;

static bool s_bTrayAdded;

static void InitTrayData(NOTIFYICONDATAA* nid, UINT flags)
{
    ZeroMemory(nid, sizeof(*nid));
    nid->cbSize = TRAY_DATA_SIZE;
    nid->hWnd = g_hMainWnd;
    nid->uID = 1;
    nid->uFlags = flags;
}

void AddTrayIcon()
{
    SetRunAtLogon(true);
    if (s_bTrayAdded) return;
    NOTIFYICONDATAA nid;
    InitTrayData(&nid, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    nid.uCallbackMessage = WM_APP;
    nid.hIcon = LoadIconA(g_hInst, MAKEINTRESOURCEA(IDI_VANTIX_SMALL));
    lstrcpynA(nid.szTip, LoadResString(IDS_TRAY_TIP), sizeof(nid.szTip));
    g_pfnShellNotifyIcon(NIM_ADD, &nid);
    // Whatever the shell answered: a tray that is not there yet must not get a second icon
    // later, and the icon is deleted by the same rule.
    s_bTrayAdded = true;
}

void DeleteTrayIcon()
{
    if (!s_bTrayAdded) return;
    NOTIFYICONDATAA nid;
    InitTrayData(&nid, 0);
    g_pfnShellNotifyIcon(NIM_DELETE, &nid);
    s_bTrayAdded = false;
}

void RemoveTrayIcon()
{
    SetRunAtLogon(false);
    DeleteTrayIcon();
}
