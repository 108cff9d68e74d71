// The About box.
#include "app/about.h"
#include "app/dlgservices.h"
#include "app/dpi.h"
#include "app/program.h"
#include "resource.h"

// Each box makes its own bold font and keeps it in its user slot until it is destroyed: the
// tray menu and the Options page can each have a box open at once, and a font shared between
// them would be deleted under the other box by the first one to close.
static HFONT CreateTitleFont(int height)
{
    return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
}

// The title's font: 40 pixels at 96 DPI, as large at any DPI, and smaller where the whole title
// would not fit its line (it would wrap and lose its second line). Glyph widths do not follow
// the height exactly: each try measures again, a few tries at most.
static HFONT CreateFittingTitleFont(HWND title, int height)
{
    HFONT font = CreateTitleFont(height);
    char text[64] = "";
    RECT room;
    if (!font || !title || GetWindowTextA(title, text, sizeof(text)) <= 0 || !GetClientRect(title, &room)) return font;
    HDC dc = GetDC(title);
    for (int tries = 0; font && tries < 8; tries++) {
        HGDIOBJ old = SelectObject(dc, font);
        SIZE need = {0, 0};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &need);
        SelectObject(dc, old);
        if (need.cx <= room.right && need.cy <= room.bottom) break;
        int fit = height - 1;
        if (need.cx > room.right) fit = ScaleBetween(height, need.cx, room.right);
        if (need.cy > room.bottom) {
            int byHeight = ScaleBetween(height, need.cy, room.bottom);
            if (byHeight < fit) fit = byHeight;
        }
        if (fit >= height) fit = height - 1;
        if (fit < 1) break;
        HFONT smaller = CreateTitleFont(fit);
        if (!smaller) break;
        DeleteObject(font);
        font = smaller;
        height = fit;
    }
    ReleaseDC(title, dc);
    return font;
}

static void About_OnInitDialog(HWND hDlg)
{
    HFONT font = CreateFittingTitleFont(GetDlgItem(hDlg, IDC_ABOUT_VERSION), ScaleForDpi(40, DpiOfWindow(hDlg)));
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
