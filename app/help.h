// Context help: the help file path, the WM_HELP / WM_CONTEXTMENU handlers of every dialog, and
// the whole-dialog topics. A small service: HTML Help is bound on first use, so the program
// starts without it.
#ifndef VANTIX_HELP_H
#define VANTIX_HELP_H

#include <windows.h>

// Found from the program's path on the first help request while it is empty.
extern char g_szHelpFile[MAX_PATH];

// Control id, topic id, 0, 0: the pair list handed to HTML Help for the control-level commands.
extern DWORD HelpPairs[4];

// HtmlHelpA's shape. While g_pfnHtmlHelp is set (tests put a recorder there) it is called
// instead; otherwise the first call binds HtmlHelpA of hhctrl.ocx in the system directory.
typedef HWND (WINAPI *HtmlHelpFn)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);
extern HtmlHelpFn g_pfnHtmlHelp;

// Pure: the help file of a program path, its last three characters replaced by "chm".
void BuildHelpFilePath(const char* exePath, char* out, size_t outSize);
// Pure: the topic of a control id. The style-bit check boxes of the Style of window dialog
// share one topic per group (18101 for 18101..18132, 18201 for 18201..18232).
DWORD HelpTopicFor(int id);
// Pure: an id that names no control of its own (a label: -1 in a 32-bit or 16-bit template).
bool IsAnonymousControlId(int id);

// WM_HELP of every dialog and of the hidden main window.
void OnHelpMessage(const HELPINFO* info);
// WM_CONTEXTMENU: the clicked window is the control, the receiving window the owner.
void OnContextMenuMessage(HWND hWnd, HWND hClicked, LPARAM pos);
// WM_HELP and WM_CONTEXTMENU of a dialog procedure, passed to the two handlers.
void RouteHelpMessage(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
// The help of one control: command is the WinHelp command HELP_WM_HELP or HELP_CONTEXTMENU.
// A label without an id of its own shows the topic of the next tab stop after it.
void ShowContextHelp(HWND control, HWND owner, UINT command);
// Whole-dialog topic (Help buttons and the viewer's Help item); no owner window.
void ShowHelpTopic(UINT topic);
// The help file at its default topic (the tray menu's Help).
void ShowHelpContents();

#endif
