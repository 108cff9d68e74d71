// Context help. The help viewer is wired up in a later step; until then the entry points exist
// and do nothing, so every caller is already in place.
#include "app/help.h"
#include <string.h>

char g_szHelpFile[MAX_PATH];

void BuildHelpFilePath(const char* exePath, char* out, size_t outSize)
{
    if (outSize == 0) return;
    lstrcpynA(out, exePath, (int)outSize);
    size_t len = strlen(out);
    if (len >= 3) memcpy(out + len - 3, "chm", 3);
}

void OnHelpMessage(const HELPINFO* info)
{
    (void)info;
}

void OnContextMenuMessage(HWND hWnd, HWND hClicked, LPARAM pos)
{
    (void)hWnd; (void)hClicked; (void)pos;
}

void RouteHelpMessage(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_HELP)
        OnHelpMessage((const HELPINFO*)lParam);
    else if (msg == WM_CONTEXTMENU)
        OnContextMenuMessage(hDlg, (HWND)wParam, lParam);
}

void ShowHelpTopic(UINT topic)
{
    (void)topic;
}

void ShowHelpContents()
{
}
