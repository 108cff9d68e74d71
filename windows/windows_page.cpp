// The Windows tab page. Its controls come alive in a later step; until then it shows its
// template.
#include "windows/windows_page.h"
#include "app/maindlg.h"

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return TemplatePageProc(hDlg, msg, wParam, lParam);
}
