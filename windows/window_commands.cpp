// The window commands of the Windows page and of the Window Information dialog, and switching
// to a window.
#include "windows/window_commands.h"
#include "windows/class_info.h"
#include "windows/picker.h"
#include "windows/window_query.h"
#include "processes/module_info.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "app/msgbox.h"
#include "app/program.h"
#include "app/settings.h"
#include "resource.h"

void SwitchToWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        ShowErrorBox(IDS_ERR_NOWINDOW);
    } else {
        HWND target = GetLastActivePopup(hWnd);
        if (!target) target = hWnd;
        // Queued for another program, which may not answer: the foreground request that
        // follows is handled after the restore.
        if (IsIconic(target)) ShowWindowNoWait(target, SW_RESTORE);
        SetForegroundWindow(target);
    }
    if (g_Options.TaskCloseOnSwitch) PostMessageA(g_hMainDlg, WM_CLOSE, 0, 0);
}

enum CommandKind {
    CMD_NONE, CMD_PICK, CMD_INFO, CMD_CLASS, CMD_PROCESS, CMD_MODULE,
    CMD_SWITCH, CMD_CLOSE, CMD_MINIMIZE, CMD_HIDE, CMD_ONTOP
};

static CommandKind KindOfCommand(int id)
{
    switch (id) {
    case IDC_WIN_PICK: return CMD_PICK;
    case IDC_WIN_WINDOW: return CMD_INFO;
    case IDC_WIN_CLASS: case IDC_WI_CLASSINFO: return CMD_CLASS;
    case IDC_WIN_PROCESS: case IDC_WI_PROCESS: return CMD_PROCESS;
    case IDC_WIN_MODULE: case IDC_WI_MODULE: return CMD_MODULE;
    case IDC_WI_SWITCH: return CMD_SWITCH;
    case IDC_WIN_CLOSE: case IDC_WI_CLOSE: return CMD_CLOSE;
    case IDC_WIN_MINIMIZE: case IDC_WI_MINIMIZE: return CMD_MINIMIZE;
    case IDC_WIN_HIDE: case IDC_WI_HIDE: return CMD_HIDE;
    case IDC_WIN_ONTOP: case IDC_WI_ONTOP: return CMD_ONTOP;
    }
    return CMD_NONE;
}

// A window of another thread may answer the first message and hang at the next: it is asked to
// close with a bounded wait, and a thread that does not answer at all gets the request queued.
static void CloseAnyWindow(HWND hWnd)
{
    if (!BelongsToOtherThread(hWnd)) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
    } else if (WindowAnswers(hWnd)) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(hWnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &result);
    } else {
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
    }
}

static void ChangeWindow(HWND hWnd, CommandKind kind)
{
    if (IsChildOrOwned(hWnd) && !ConfirmAction(IDS_CONFIRM_CHILD)) return;
    if (hWnd == GetDesktopWindow() && !ConfirmAction(IDS_CONFIRM_DESKTOP)) return;
    switch (kind) {
    case CMD_SWITCH:
        SwitchToWindow(hWnd);
        break;
    case CMD_CLOSE:
        CloseAnyWindow(hWnd);
        break;
    case CMD_MINIMIZE:
        ShowWindowNoWait(hWnd, IsIconic(hWnd) ? SW_SHOWNOACTIVATE : SW_MINIMIZE);
        break;
    case CMD_HIDE:
        ShowWindowNoWait(hWnd, IsWindowVisible(hWnd) ? SW_HIDE : SW_SHOW);
        break;
    case CMD_ONTOP: {
        bool topmost = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        SetWindowPos(hWnd, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | (BelongsToOtherThread(hWnd) ? SWP_ASYNCWINDOWPOS : 0));
        break;
    }
    default:
        break;
    }
}

HWND WindowCommand(HWND hWnd, int commandId)
{
    CommandKind kind = KindOfCommand(commandId);
    if (kind == CMD_NONE) return NULL;
    if (kind == CMD_PICK) {
        HWND picked = PickWindow(g_hMainDlg, g_Options.SkipChildren != 0, NULL);
        if (picked) g_pfnOpenWindowInfo(picked);
        return picked;
    }
    if (!IsWindow(hWnd)) {
        ShowErrorBox(IDS_ERR_NOWINDOW);
        return NULL;
    }
    switch (kind) {
    case CMD_INFO:
        g_pfnOpenWindowInfo(hWnd);
        break;
    case CMD_CLASS:
        OpenClassDialog(hWnd);
        break;
    case CMD_PROCESS:
        OpenProcessDialog(ProcessEntryFor(OwnerProcessId(hWnd)));
        break;
    case CMD_MODULE:
        OpenModuleInfo(ProcessRecordFor(OwnerProcessId(hWnd)));
        break;
    default:
        ChangeWindow(hWnd, kind);
        break;
    }
    return NULL;
}
