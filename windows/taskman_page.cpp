// The Task Manager tab page. Its controls come alive in a later step; until then the page shows its
// template and routes help like every page.
#include "windows/taskman_page.h"
#include "app/help.h"
#include "app/maindlg.h"

INT_PTR CALLBACK TaskManagerPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        return 0;
    case WM_COMMAND:
        ForwardPageCancel(LOWORD(wParam));
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_HELP:
        OnHelpMessage((const HELPINFO*)lParam);
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_CONTEXTMENU:
        OnContextMenuMessage(hDlg, (HWND)wParam, lParam);
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return FALSE;
}
