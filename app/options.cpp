// The Options page.
#include "app/options.h"
#include "app/settings.h"
#include "app/session.h"
#include "app/program.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/tray.h"
#include "app/help.h"
#include "app/about.h"
#include "resource.h"

static void OptionsPage_OnInitDialog(HWND hDlg)
{
    CheckDlgButton(hDlg, IDC_OPT_TRAY, g_Options.TrayIcon ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_OPT_SKIPWARN, g_Options.SkipWarnings ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_OPT_SKIPCHILD, g_Options.SkipChildren ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_OPT_FORCE, g_Options.ForceExit ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_OPT_POWEROFF, g_Options.PowerOff ? BST_CHECKED : BST_UNCHECKED);
    SetFocus(GetDlgItem(hDlg, IDC_OPT_TRAY));
}

static uint32_t CheckState(HWND hDlg, int id)
{
    return IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? 1 : 0;
}

static void OptionsPage_OnQuit(int confirmId, int mode)
{
    if (!ConfirmAction(confirmId)) return;
    if (!QuitSession(mode)) ShowErrorBox(0);
}

// The main dialog alone knows its template size; the page asks it by command.
static void OptionsPage_OnRestoreSize()
{
    if (g_hMainDlg) SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_DEFSIZE, 0);
}

static void OptionsPage_OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDC_OPT_TRAY:
        g_Options.TrayIcon = CheckState(hDlg, id);
        if (g_Options.TrayIcon) AddTrayIcon(); else RemoveTrayIcon();
        break;
    case IDC_OPT_SKIPWARN:  g_Options.SkipWarnings = CheckState(hDlg, id); break;
    case IDC_OPT_SKIPCHILD: g_Options.SkipChildren = CheckState(hDlg, id); break;
    case IDC_OPT_FORCE:     g_Options.ForceExit = CheckState(hDlg, id); break;
    case IDC_OPT_POWEROFF:  g_Options.PowerOff = CheckState(hDlg, id); break;
    case IDC_OPT_EXIT:      OptionsPage_OnQuit(IDS_CONFIRM_SHUTDOWN, 1); break;
    case IDC_OPT_RESTART:   OptionsPage_OnQuit(IDS_CONFIRM_RESTART, 2); break;
    case IDC_OPT_LOGOFF:    OptionsPage_OnQuit(IDS_CONFIRM_LOGOFF, 0); break;
    case IDC_OPT_CLOSEINFO: CloseInfoBoxes(); break;
    case IDC_OPT_ABOUT:     ShowAboutBox(hDlg); break;
    case IDC_OPT_DEFSIZE:   OptionsPage_OnRestoreSize(); break;
    default: ForwardPageCancel(id); break;
    }
}

INT_PTR CALLBACK OptionsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        OptionsPage_OnInitDialog(hDlg);
        return 0;
    case WM_COMMAND:
        OptionsPage_OnCommand(hDlg, LOWORD(wParam));
        return DlgResult(hDlg, 0);
    case WM_HELP:
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        return DlgResult(hDlg, 0);
    }
    return FALSE;
}
