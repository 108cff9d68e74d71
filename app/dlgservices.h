// What every information dialog, editing dialog and tab page shares: the system-menu items, the
// icons, the result of a handled message, closing all information boxes, Escape on a page, and
// common controls in place of the placeholders of a template.
// A small service: it knows the program-wide handles but no dialog above it.
#ifndef VANTIX_DLGSERVICES_H
#define VANTIX_DLGSERVICES_H

#include <windows.h>
#include "app/program.h"
#include "app/dpi.h"

// A handled dialog message: its result goes through DWLP_MSGRESULT and the procedure returns TRUE.
INT_PTR DlgResult(HWND hDlg, LRESULT result);

// Appends a separator, "Minimize" and "Restore" to the dialog's system menu: these dialogs have
// no minimize box.
void AddInfoSysMenuItems(HWND hDlg);
// Big icon iconId and small icon iconId + 1.
void SetDialogIcons(HWND hDlg, int iconId);
// WM_DPICHANGED: the window takes the rectangle the system suggests on the new monitor, and the
// columns of its lists (pages included) grow or shrink with it as the window does. Controls of
// the templates are the dialog manager's to scale with their font.
void TakeDpiChange(HWND hWnd, const RECT* suggested);
// Closes every top-level window of this program except the hidden main window and the main
// dialog: the information boxes and capture viewers are destroyed, a modal box that is open
// among them (About, Move window, Style of window) is ended.
void CloseInfoBoxes();

// Pages call this with every command id they receive: Escape inside a page reaches the page,
// and it must close the main dialog as it does anywhere else in it.
void ForwardPageCancel(int id);

// The resource compiler knows no common-control classes, so a template marks where such a
// control goes with a placeholder, a static frame. Its rectangle in the dialog's client
// coordinates (empty without a placeholder):
RECT PlaceholderRect(HWND placeholder);
// A control of the dialog on rc, right after `after` in the tab order (NULL: last), with font
// (NULL: the dialog's own font).
HWND CreateDialogControl(HWND hDlg, DWORD exStyle, const char* className, DWORD style, const RECT& rc, int id,
                         HWND after, HFONT font);
// The control in place of the placeholder placeholderId: on its rectangle and in its place in
// the tab order; the placeholder is destroyed. Returns the control, NULL when it could not be
// created (the placeholder goes all the same).
HWND ReplacePlaceholder(HWND hDlg, int placeholderId, DWORD exStyle, const char* className, DWORD style, int id,
                        HFONT font);

#endif
