// The Module Information dialog. It copies what it shows while it is created and never refreshes.
#include "processes/module_info.h"
#include "processes/fields.h"
#include "app/help.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/program.h"
#include "resource.h"

#include <shellapi.h>

static INT_PTR CALLBACK ModuleInfoDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

HWND OpenModuleInfo(const ProcessRecord* record)
{
    return CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_MODULE_INFO), NULL, ModuleInfoDlgProc,
                              (LPARAM)record);
}

static void ModuleInfo_OnInitDialog(HWND hDlg, const ProcessRecord* rec)
{
    SetDialogIcons(hDlg, IDI_MODULE);
    AddInfoSysMenuItems(hDlg);
    if (!rec) return;
    SetFieldText(hDlg, IDC_MI_NAME, rec->moduleName);
    SetFieldHex4(hDlg, IDC_MI_PROCESS, rec->mainModule.th32ProcessID);
    SetFieldDecimal(hDlg, IDC_MI_SIZE, (int)rec->mainModule.modBaseSize);
    SetFieldText(hDlg, IDC_MI_PATH, rec->entry.szExeFile);
    SetFieldFileIcon(hDlg, IDC_MI_ICON, rec->entry.szExeFile, SHGFI_LARGEICON);
    SetFieldFileIcon(hDlg, IDC_MI_SMALLICON, rec->entry.szExeFile, SHGFI_SMALLICON);
}

static void ModuleInfo_OnCommand(HWND hDlg, int id)
{
    switch (id) {
    case IDCANCEL:
        DestroyWindow(hDlg);
        break;
    case IDC_INFO_HELP:
        ShowHelpTopic(IDC_MI_TOPIC);
        break;
    }
}

static void ModuleInfo_OnDestroy(HWND hDlg)
{
    // The icons came from SHGetFileInfoA and belong to the dialog.
    SetFieldIcon(hDlg, IDC_MI_ICON, NULL);
    SetFieldIcon(hDlg, IDC_MI_SMALLICON, NULL);
}

static INT_PTR CALLBACK ModuleInfoDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        ModuleInfo_OnInitDialog(hDlg, (const ProcessRecord*)lParam);
        return FALSE;
    case WM_COMMAND:
        ModuleInfo_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_DESTROY:
        ModuleInfo_OnDestroy(hDlg);
        break;
    case WM_DPICHANGED:
        TakeDpiChange(hDlg, (const RECT*)lParam);
        break;
    case WM_HELP:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        InfoDialogContextMenu(hDlg, (HWND)wParam, lParam);
        break;
    case WM_PROGRAM_KEY:
        return DlgResult(hDlg, InfoDialogKey(hDlg, (int)wParam));
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
