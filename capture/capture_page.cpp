// The Capture Screen tab page.
#include "capture/capture_page.h"
#include "capture/delivery.h"
#include "capture/overlay.h"
#include "capture/pipeline.h"
#include "app/program.h"
#include "app/dlgservices.h"
#include "app/settings.h"
#include "app/msgbox.h"
#include "app/help.h"
#include "resource.h"

// Enables the dimension controls for the Rectangle area only and puts the area's instructions
// (one string per CaptureAreaKind) on the capture button.
static void UpdateCaptureControls(HWND page, int area)
{
    static const int dimensionIds[] = {
        IDC_CAP_DIMGROUP, IDC_CAP_WIDTHLBL, IDC_CAP_HEIGHTLBL, IDC_CAP_WIDTH, IDC_CAP_HEIGHT,
    };
    for (int id : dimensionIds) EnableWindow(GetDlgItem(page, id), area == AREA_RECTANGLE);
    SetDlgItemTextA(page, IDC_CAP_GO, LoadResString(IDS_CAPTURE_HINT + area));
}

void StoreCapturePage(HWND page)
{
    g_Options.CaptureWidth = (int32_t)GetDlgItemInt(page, IDC_CAP_WIDTH, NULL, TRUE);
    g_Options.CaptureHeight = (int32_t)GetDlgItemInt(page, IDC_CAP_HEIGHT, NULL, TRUE);
    UINT dest = IDC_CAP_NEWWINDOW;
    while (dest <= IDC_CAP_FILE && IsDlgButtonChecked(page, dest) != BST_CHECKED) dest++;
    // None checked ends one past the last: a destination that delivers nowhere.
    g_Options.CaptureDestination = dest;
    g_Options.ShowDimensions = IsDlgButtonChecked(page, IDC_CAP_SHOWDIMS) == BST_CHECKED ? 1 : 0;
    g_ExtraOptions.ShowMagnifier = IsDlgButtonChecked(page, IDC_CAP_SHOWMAGNIFIER) == BST_CHECKED ? 1 : 0;
}

static void CapturePage_OnInitDialog(HWND hDlg)
{
    int area = g_Options.CaptureArea;
    CheckRadioButton(hDlg, IDC_CAP_MOUSE, IDC_CAP_FULL, IDC_CAP_MOUSE + area);
    CheckDlgButton(hDlg, IDC_CAP_SHOWDIMS, g_Options.ShowDimensions ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, IDC_CAP_SHOWMAGNIFIER, g_ExtraOptions.ShowMagnifier ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(hDlg, IDC_CAP_WIDTH, (UINT)g_Options.CaptureWidth, TRUE);
    SetDlgItemInt(hDlg, IDC_CAP_HEIGHT, (UINT)g_Options.CaptureHeight, TRUE);
    UpdateCaptureControls(hDlg, area);
    CheckRadioButton(hDlg, IDC_CAP_NEWWINDOW, IDC_CAP_FILE, (int)g_Options.CaptureDestination);
    SetFocus(GetDlgItem(hDlg, IDC_CAP_MOUSE));
}

static void CaptureFullScreen()
{
    HideForCapture(g_hMainDlg);
    GetWindowRect(GetDesktopWindow(), &g_rcCapture);
    CaptureScreenRect();
    ShowWindow(g_hMainDlg, SW_SHOW);
    DeliverCapture();
}

static void CapturePage_OnCapture(HWND hDlg)
{
    // The selection runs nested message loops; a second press meanwhile must not start
    // another capture over the shared capture state.
    static bool s_bCapturing;
    if (s_bCapturing) return;
    s_bCapturing = true;
    StoreCapturePage(hDlg);
    switch (g_Options.CaptureArea) {
    case AREA_MOUSE:
        StartAreaSelection(g_hMainDlg, 0, 0);
        break;
    case AREA_RECTANGLE:
        StartAreaSelection(g_hMainDlg, g_Options.CaptureWidth, g_Options.CaptureHeight);
        break;
    case AREA_ICON:
        StartAreaSelection(g_hMainDlg, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
        break;
    case AREA_SMALLICON:
        StartAreaSelection(g_hMainDlg, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
        break;
    case AREA_CLIENT:
        CapturePickedWindow(g_hMainDlg, g_Options.SkipChildren != 0, CaptureClientArea);
        break;
    case AREA_WINDOW:
        CapturePickedWindow(g_hMainDlg, g_Options.SkipChildren != 0, CaptureWindowArea);
        break;
    case AREA_FULLSCREEN:
        CaptureFullScreen();
        break;
    default:
        break;
    }
    s_bCapturing = false;
}

static void CapturePage_OnCommand(HWND hDlg, int id, int code)
{
    ForwardPageCancel(id);
    if (id >= IDC_CAP_MOUSE && id <= IDC_CAP_FULL) {
        if (code == BN_CLICKED && IsDlgButtonChecked(hDlg, id) == BST_CHECKED) {
            g_Options.CaptureArea = (int8_t)(id - IDC_CAP_MOUSE);
            UpdateCaptureControls(hDlg, g_Options.CaptureArea);
        }
    } else if (id == IDC_CAP_GO) {
        CapturePage_OnCapture(hDlg);
    }
}

INT_PTR CALLBACK CapturePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        CapturePage_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        CapturePage_OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_NOTIFY:
        break;
    case WM_DESTROY:
        StoreCapturePage(hDlg);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
