// The least dialog program: it initialises the common controls and shows one dialog with a tab
// control, nothing else. bench_startup.exe measures its start beside the program's own.
#include <windows.h>
#include <commctrl.h>

#define IDD_LEAST 1
#define IDC_LEAST_TAB 100

static INT_PTR CALLBACK LeastDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        HWND tab = GetDlgItem(hDlg, IDC_LEAST_TAB);
        TCITEMA item;
        ZeroMemory(&item, sizeof(item));
        item.mask = TCIF_TEXT;
        item.pszText = (LPSTR)"Page";
        SendMessageA(tab, TCM_INSERTITEMA, 0, (LPARAM)&item);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) DestroyWindow(hDlg);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    HWND dlg = CreateDialogParamA(hInst, MAKEINTRESOURCEA(IDD_LEAST), NULL, LeastDlgProc, 0);
    if (!dlg) return 1;
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (IsDialogMessageA(dlg, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
