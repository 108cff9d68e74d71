// Context help: the help file path and the WM_HELP / WM_CONTEXTMENU handlers of every dialog.
#ifndef VANTIX_HELP_H
#define VANTIX_HELP_H

#include <windows.h>

extern char g_szHelpFile[MAX_PATH];

// Pure: the help file of a program path, its last three characters replaced by "chm".
void BuildHelpFilePath(const char* exePath, char* out, size_t outSize);

void OnHelpMessage(const HELPINFO* info);
// WM_HELP and WM_CONTEXTMENU of a dialog procedure, passed to the two handlers.
void RouteHelpMessage(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
void OnContextMenuMessage(HWND hWnd, HWND hClicked, LPARAM pos);
// Whole-dialog topic (Help buttons); no owner window.
void ShowHelpTopic(UINT topic);
// The help file at its default topic.
void ShowHelpContents();

#endif
