// The Process Information dialog. It keeps only the process identifier and reads the process
// again at every refresh.
#include "processes/process_info.h"
#include "processes/fields.h"
#include "processes/module_info.h"
#include "processes/priority_names.h"
#include "processes/snapshot.h"
#include "app/help.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "resource.h"

#include <shellapi.h>

static const struct { int button; DWORD cls; } kClassButtons[] = {
    {IDC_PI_IDLE, IDLE_PRIORITY_CLASS},
    {IDC_PI_NORMAL, NORMAL_PRIORITY_CLASS},
    {IDC_PI_HIGH, HIGH_PRIORITY_CLASS},
    {IDC_PI_REALTIME, REALTIME_PRIORITY_CLASS},
};

int PriorityClassButton(DWORD priorityClass)
{
    for (const auto& b : kClassButtons)
        if (b.cls == priorityClass) return b.button;
    return 0;
}

DWORD ButtonPriorityClass(int buttonId)
{
    for (const auto& b : kClassButtons)
        if (b.button == buttonId) return b.cls;
    return 0;
}

static INT_PTR CALLBACK ProcessDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

HWND OpenProcessDialog(const PROCESSENTRY32* entry)
{
    return CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_PROCESS_INFO), NULL, ProcessDlgProc,
                              (LPARAM)entry->th32ProcessID);
}

static DWORD ShowPriorityClass(HWND hDlg, DWORD pid)
{
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    DWORD cls = h ? GetPriorityClass(h) : 0;
    for (int id = IDC_PI_CLASSGROUP; id <= IDC_PI_REALTIME; id++)
        EnableWindow(GetDlgItem(hDlg, id), cls != 0);
    CheckRadioButton(hDlg, IDC_PI_IDLE, IDC_PI_REALTIME, PriorityClassButton(cls));
    if (h) CloseHandle(h);
    return cls;
}

void RefreshProcessDialog(HWND hDlg)
{
    DWORD pid = (DWORD)GetWindowLongPtrA(hDlg, DWLP_USER);
    // The lookup returns a shared entry that FileNamePart and later lookups do not touch.
    const PROCESSENTRY32* pe = ProcessEntryFor(pid);
    SetFieldText(hDlg, IDC_PI_NAME, FileNamePart(pe->szExeFile));
    DWORD cls = ShowPriorityClass(hDlg, pe->th32ProcessID);
    SetFieldHex4(hDlg, IDC_PI_ID, pe->th32ProcessID);
    SetFieldHex4(hDlg, IDC_PI_PARENT, pe->th32ParentProcessID);
    // Under Wine pcPriClassBase is a class code, so the base priority follows the real class.
    SetFieldDecimal(hDlg, IDC_PI_BASEPRI, ClassBasePriority(cls, pe->pcPriClassBase, ToolhelpUsesWineCodes()));
    SetFieldText(hDlg, IDC_PI_PATH, pe->szExeFile);
    SetFieldFileIcon(hDlg, IDC_PI_ICON, pe->szExeFile, SHGFI_LARGEICON);
}

static void ProcessInfo_OnInitDialog(HWND hDlg, DWORD pid)
{
    SetWindowLongPtrA(hDlg, DWLP_USER, (LONG_PTR)pid);
    SetDialogIcons(hDlg, IDI_PROCESS);
    AddInfoSysMenuItems(hDlg);
    RefreshProcessDialog(hDlg);
}

static void ProcessInfo_OnPriorityButton(HWND hDlg, int button)
{
    DWORD pid = GetFieldHex(hDlg, IDC_PI_ID);
    if (pid) {
        HANDLE h = OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
        if (!h) {
            ShowErrorBox(0);
        } else {
            DWORD current = GetPriorityClass(h);
            if (!current) {
                ShowErrorBox(0);
            } else if (PriorityClassButton(current) != button && ConfirmAction(IDS_CONFIRM_PRIORITY)) {
                if (!SetPriorityClass(h, ButtonPriorityClass(button))) ShowErrorBox(0);
            }
            // A refused or failed change puts the check back on the real class.
            CheckRadioButton(hDlg, IDC_PI_IDLE, IDC_PI_REALTIME, PriorityClassButton(GetPriorityClass(h)));
            CloseHandle(h);
        }
    }
    RefreshProcessDialog(hDlg);
}

static void ProcessInfo_OnCommand(HWND hDlg, int id, int code)
{
    switch (id) {
    case IDCANCEL:
        DestroyWindow(hDlg);
        break;
    case IDC_PI_IDLE:
    case IDC_PI_NORMAL:
    case IDC_PI_HIGH:
    case IDC_PI_REALTIME:
        // Closing all dialogs moves the focus, which can click a radio button on its way.
        if (code == BN_CLICKED && !g_bClosingAll) ProcessInfo_OnPriorityButton(hDlg, id);
        break;
    case IDC_PI_MODULE:
        OpenModuleInfo(ProcessRecordFor(GetFieldHex(hDlg, IDC_PI_ID)));
        break;
    case IDC_PI_TERMINATE:
        KillProcess(GetFieldHex(hDlg, IDC_PI_ID));
        break;
    case IDC_INFO_HELP:
        ShowHelpTopic(IDC_PI_TOPIC);
        break;
    }
}

static void ProcessInfo_OnDestroy(HWND hDlg)
{
    SetFieldIcon(hDlg, IDC_PI_ICON, NULL);
}

static INT_PTR CALLBACK ProcessDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        ProcessInfo_OnInitDialog(hDlg, (DWORD)lParam);
        return FALSE;
    case WM_COMMAND:
        ProcessInfo_OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_DESTROY:
        ProcessInfo_OnDestroy(hDlg);
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
