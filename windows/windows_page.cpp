// The Windows tab page. Its controls come alive in a later step; until then it shows its
// template. The shared window operations already work.
#include "windows/windows_page.h"
#include "app/dlgservices.h"
#include "processes/snapshot.h"

#include <stdio.h>

const char* OwnerProcessLabel(HWND hWnd, bool parenthesised)
{
    static char s_label[BASE_NAME_CHARS + 3];
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    const PROCESSENTRY32* entry = ProcessEntryFor(pid);
    const char* name = FileNamePart(entry ? entry->szExeFile : "");
    snprintf(s_label, sizeof(s_label), parenthesised ? "(%s)" : "%s", name);
    return s_label;
}

bool IsChildOrOwned(HWND hWnd)
{
    return GetWindow(hWnd, GW_OWNER) != NULL || GetParent(hWnd) != NULL ||
           (GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0;
}

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return TemplatePageProc(hDlg, msg, wParam, lParam);
}
