// What every information dialog, editing dialog and tab page shares: the system-menu items, the
// icons, the result of a handled message, closing all information boxes, and Escape on a page.
// A small service: it knows the program-wide handles but no dialog above it.
#ifndef VANTIX_DLGSERVICES_H
#define VANTIX_DLGSERVICES_H

#include <windows.h>
#include "app/program.h"

// A handled dialog message: its result goes through DWLP_MSGRESULT and the procedure returns TRUE.
INT_PTR DlgResult(HWND hDlg, LRESULT result);

// Appends a separator, "Minimize" and "Restore" to the dialog's system menu: these dialogs have
// no minimize box.
void AddInfoSysMenuItems(HWND hDlg);
// Big icon iconId and small icon iconId + 1.
void SetDialogIcons(HWND hDlg, int iconId);
// Closes every top-level window of this program except the hidden main window and the main
// dialog: the information boxes and capture viewers are destroyed, a modal box that is open
// among them (About, Move window, Style of window) is ended.
void CloseInfoBoxes();
// A dialog of ours that runs modally: its owner is disabled while it is open.
bool IsModalBox(HWND hWnd);

// Pages call this with every command id they receive: Escape inside a page reaches the page,
// and it must close the main dialog as it does anywhere else in it.
void ForwardPageCancel(int id);
// A page that shows its template as it stands, with Escape and help routed like every page.
INT_PTR CALLBACK TemplatePageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

#endif
