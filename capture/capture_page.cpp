// The Capture Screen tab page. Its controls come alive in a later step; until then it shows its
// template.
#include "capture/capture_page.h"
#include "app/dlgservices.h"

INT_PTR CALLBACK CapturePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return TemplatePageProc(hDlg, msg, wParam, lParam);
}
