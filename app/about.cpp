// The About box.
#include "app/about.h"
#include "app/dlgservices.h"
#include "app/dpi.h"
#include "app/program.h"
#include "resource.h"

static HFONT CreateTitleFont(int height)
{
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
}

// Each box makes its own bold font and keeps it in its user slot until it is destroyed: the
// tray menu and the Options page can each have a box open at once, and a font shared between
// them would be deleted under the other box by the first one to close.
static void About_OnInitDialog(HWND hDlg)
{
    // 40 pixels at 96 DPI, as large to the eye at any DPI.
    HFONT font = CreateTitleFont(ScaleForDpi(40, DpiOfWindow(hDlg)));
    SetWindowLongPtrA(hDlg, DWLP_USER, (LONG_PTR)font);
    if (font) SendDlgItemMessageA(hDlg, IDC_ABOUT_VERSION, WM_SETFONT, (WPARAM)font, TRUE);
}

static void About_OnDestroy(HWND hDlg)
{
    HFONT font = (HFONT)GetWindowLongPtrA(hDlg, DWLP_USER);
    if (!font) return;
    SendDlgItemMessageA(hDlg, IDC_ABOUT_VERSION, WM_SETFONT, 0, FALSE);
    SetWindowLongPtrA(hDlg, DWLP_USER, 0);
    DeleteObject(font);
}

static void About_OnCommand(HWND hDlg, int id)
{
    if (id == IDOK || id == IDCANCEL) EndDialog(hDlg, 0);
}

static INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        About_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        About_OnCommand(hDlg, LOWORD(wParam));
        break;
    case WM_DPICHANGED:
        TakeDpiChange(hDlg, (const RECT*)lParam);
        break;
    case WM_DESTROY:
        About_OnDestroy(hDlg);
        break;
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}

void OpenAboutBox(HWND owner)
{
    DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
}
