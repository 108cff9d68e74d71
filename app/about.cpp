// The About box.
#include "app/about.h"
#include "app/program.h"
#include "resource.h"

// The bold version line's font lives as long as the box that shows it.
static HFONT s_hAboutFont;

static void About_OnInitDialog(HWND hDlg)
{
    if (!s_hAboutFont)
        s_hAboutFont = CreateFontA(40, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                   VARIABLE_PITCH | FF_SWISS, "Arial");
    SendDlgItemMessageA(hDlg, IDC_ABOUT_VERSION, WM_SETFONT, (WPARAM)s_hAboutFont, TRUE);
}

static void About_OnDestroy()
{
    if (s_hAboutFont) {
        DeleteObject(s_hAboutFont);
        s_hAboutFont = NULL;
    }
}

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        About_OnInitDialog(hDlg);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        About_OnDestroy();
        break;
    }
    return FALSE;
}

void ShowAboutBox(HWND owner)
{
    DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
}
