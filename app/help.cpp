// Context help through HTML Help, bound on first use.
#include "app/help.h"
#include "app/platform.h"
#include "app/program.h"
#include "app/resstring.h"
#include "resource.h"

#include <htmlhelp.h>
#include <string.h>

char g_szHelpFile[MAX_PATH];
DWORD HelpPairs[4];
HtmlHelpFn g_pfnHtmlHelp;

static HtmlHelpFn s_pfnBoundHtmlHelp;
static bool s_bHelpBound;

void BuildHelpFilePath(const char* exePath, char* out, size_t outSize)
{
    if (outSize == 0) return;
    lstrcpynA(out, exePath, (int)outSize);
    size_t len = strlen(out);
    if (len >= 3) memcpy(out + len - 3, "chm", 3);
}

DWORD HelpTopicFor(int id)
{
    if (id >= IDC_SE_STYLEBIT0 && id <= IDC_SE_STYLEBIT31) return IDC_SE_STYLEBIT0;
    if (id >= IDC_SE_EXBIT0 && id <= IDC_SE_EXBIT31) return IDC_SE_EXBIT0;
    return (DWORD)id;
}

bool IsAnonymousControlId(int id)
{
    return id == -1 || id == 0xFFFF;
}

// HHCTRL.OCX from the system directory, never from the program's folder.
static HtmlHelpFn BindHtmlHelp()
{
    if (g_pfnHtmlHelp) return g_pfnHtmlHelp;
    if (s_bHelpBound) return s_pfnBoundHtmlHelp;
    s_bHelpBound = true;
    HMODULE lib = LoadSystemLibrary("hhctrl.ocx");
    if (lib) s_pfnBoundHtmlHelp = (HtmlHelpFn)(void*)GetProcAddress(lib, "HtmlHelpA");
    return s_pfnBoundHtmlHelp;
}

static HWND CallHtmlHelp(HWND owner, UINT command, DWORD_PTR data)
{
    HtmlHelpFn fn = BindHtmlHelp();
    return fn ? fn(owner, g_szHelpFile, command, data) : NULL;
}

// Wine's HTML Help answers the two control-level commands with nothing at all: no pop-up, no
// window. There the control's own topic opens in the viewer instead, so that F1 and "What's
// This?" still lead to the control's text. Windows shows its pop-ups and is left alone.
static bool HelpEngineShowsPopups()
{
    return !RunningOnWine();
}

// "What's This?" at the mouse, as HTML Help offers it for a right click; true when chosen.
static bool ConfirmWhatsThis(HWND owner)
{
    HMENU menu = CreatePopupMenu();
    if (!menu) return false;
    AppendMenuA(menu, MF_STRING, IDC_HELP_WHATSTHIS, LoadResString(IDS_HELP_WHATSTHIS));
    POINT pt;
    GetCursorPos(&pt);
    UINT chosen = (UINT)TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y, 0,
                                       owner, NULL);
    DestroyMenu(menu);
    return chosen == IDC_HELP_WHATSTHIS;
}

void ShowContextHelp(HWND control, HWND owner, UINT command)
{
    int id = GetDlgCtrlID(control);
    HelpPairs[0] = (DWORD)id;
    // A label shows the topic of the field it names: the next tab stop after it. Bounded, and
    // it stops where the walk comes back round, so a dialog of labels alone cannot loop.
    HWND dlg = GetParent(control);
    HWND item = control;
    for (int step = 0; IsAnonymousControlId(id) && dlg && step < 256; step++) {
        item = GetNextDlgTabItem(dlg, item, FALSE);
        if (!item || item == control) break;
        id = GetDlgCtrlID(item);
    }
    DWORD topic = HelpTopicFor(id);
    HelpPairs[1] = topic;
    HelpPairs[2] = 0;
    HelpPairs[3] = 0;

    UINT hh = command == HELP_CONTEXTMENU ? HH_TP_HELP_CONTEXTMENU : HH_TP_HELP_WM_HELP;
    if (CallHtmlHelp(owner, hh, (DWORD_PTR)HelpPairs) || HelpEngineShowsPopups()) return;
    if (topic == 0 || IsAnonymousControlId(id)) return;
    if (hh == HH_TP_HELP_CONTEXTMENU && !ConfirmWhatsThis(owner)) return;
    CallHtmlHelp(NULL, HH_HELP_CONTEXT, topic);
}

void OnHelpMessage(const HELPINFO* info)
{
    if (!info) return;
    if (info->iContextType == HELPINFO_MENUITEM) {
        // F1 in an open menu: hItemHandle is the menu, not a window; the item has a topic.
        if (info->iCtrlId > 0) ShowHelpTopic(HelpTopicFor(info->iCtrlId));
        return;
    }
    HWND control = (HWND)info->hItemHandle;
    ShowContextHelp(control, control, HELP_WM_HELP);
}

void OnContextMenuMessage(HWND hWnd, HWND hClicked, LPARAM pos)
{
    (void)pos;
    ShowContextHelp(hClicked, hWnd, HELP_CONTEXTMENU);
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
    CallHtmlHelp(NULL, HH_HELP_CONTEXT, topic);
}

void ShowHelpContents()
{
    CallHtmlHelp(NULL, HH_DISPLAY_TOPIC, 0);
}
