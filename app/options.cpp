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

static void Options_OnInitDialog(HWND hDlg)
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

static void Options_OnQuit(int confirmId, QuitMode mode)
{
    if (!ConfirmAction(confirmId)) return;
    if (!QuitSession(mode)) ShowErrorBox(0);
}

// The main dialog alone knows its template size; the page asks it by command.
static void Options_OnRestoreSize()
{
    if (g_hMainDlg) SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_DEFSIZE, 0);
}

static void Options_OnCommand(HWND hDlg, int id)
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
    case IDC_OPT_EXIT:      Options_OnQuit(IDS_CONFIRM_SHUTDOWN, QUIT_SHUTDOWN); break;
    case IDC_OPT_RESTART:   Options_OnQuit(IDS_CONFIRM_RESTART, QUIT_RESTART); break;
    case IDC_OPT_LOGOFF:    Options_OnQuit(IDS_CONFIRM_LOGOFF, QUIT_LOGOFF); break;
    case IDC_OPT_CLOSEINFO: CloseInfoBoxes(); break;
    case IDC_OPT_ABOUT:     OpenAboutBox(hDlg); break;
    case IDC_OPT_DEFSIZE:   Options_OnRestoreSize(); break;
    default: ForwardPageCancel(id); break;
    }
}

INT_PTR CALLBACK OptionsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        Options_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        Options_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
