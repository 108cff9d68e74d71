#include "integration/dialog_fixture.h"

std::vector<ExitCall> g_exitCalls;
std::vector<BOOL> g_exitAnswers;

static BOOL WINAPI RecordExitWindowsEx(UINT flags, DWORD reason)
{
    g_exitCalls.push_back({flags, reason});
    if (g_exitAnswers.empty()) return TRUE;
    BOOL answer = g_exitAnswers.front();
    g_exitAnswers.erase(g_exitAnswers.begin());
    if (!answer) SetLastError(ERROR_ACCESS_DENIED);
    return answer;
}

// The real privilege step, put back before every test: a test may refuse the privilege.
static const ShutdownPrivilegeFn s_realShutdownPrivilege = g_pfnEnableShutdownPrivilege;

void DialogTest::SetUp()
{
    InitCommonControls();
    ClearStoredSettings();
    LoadOptions();
    g_pfnExitWindowsEx = RecordExitWindowsEx;
    g_pfnEnableShutdownPrivilege = s_realShutdownPrivilege;
    g_exitCalls.clear();
    g_exitAnswers.clear();
}

void DialogTest::TearDown()
{
    CloseMain();
    // An icon a test added would outlive this process in Wine's tray and stand in the way of
    // the next program's tray tests.
    DeleteTrayIcon();
    ClearStoredSettings();
}

HWND DialogTest::OpenMain()
{
    OpenMainDialog();
    PumpMessages(50);
    return g_hMainDlg;
}

void DialogTest::CloseMain()
{
    if (g_hMainDlg && IsWindow(g_hMainDlg)) {
        SendMessageA(g_hMainDlg, WM_COMMAND, IDCANCEL, 0);
        PumpMessages(20);
    }
}

void DialogTest::SelectTab(int index)
{
    SendMessageA(g_hTab, TCM_SETCURSEL, index, 0);
    NMHDR nm;
    nm.hwndFrom = g_hTab;
    nm.idFrom = 0;
    nm.code = TCN_SELCHANGE;
    SendMessageA(g_hMainDlg, WM_NOTIFY, 0, (LPARAM)&nm);
}

RECT DialogTest::ChildRect(HWND h)
{
    RECT rc = WindowRect(h);
    MapWindowPoints(NULL, GetParent(h), (POINT*)&rc, 2);
    return rc;
}
