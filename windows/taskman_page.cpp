// The Task Manager tab page. Its controls come alive in a later step; until then it shows its
// template. Switching to a window already works.
#include "windows/taskman_page.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/settings.h"
#include "resource.h"

void SwitchToWindow(HWND hWnd)
{
    if (!IsWindow(hWnd)) {
        ShowErrorBox(IDS_ERR_NOWINDOW);
    } else {
        HWND target = GetLastActivePopup(hWnd);
        if (!target) target = hWnd;
        if (IsIconic(target)) ShowWindow(target, SW_RESTORE);
        SetForegroundWindow(target);
    }
    if (g_Options.TaskCloseOnSwitch) PostMessageA(g_hMainDlg, WM_CLOSE, 0, 0);
}

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return TemplatePageProc(hDlg, msg, wParam, lParam);
}
