// The keys that pages and dialogs take before the dialog manager (Ctrl+C, Ctrl+F, F3 and
// Shift+F3), and the context menus that offer Copy (and Find on the window tree) beside
// "What's This?". A small service beside dlgservices.
#ifndef VANTIX_CONTEXTMENU_H
#define VANTIX_CONTEXTMENU_H

#include <windows.h>

// Sent by the program's loop, for a key that is a command, to each dialog that holds the
// keyboard focus, innermost first, then to the shown page; wParam is the command (IDC_CTX_COPY,
// IDC_CTX_FIND, IDC_CTX_FINDNEXT, IDC_CTX_FINDPREV). A dialog that carries it out answers TRUE
// (through DlgResult), and the key goes no further; otherwise it goes on as any key does.
#define WM_PROGRAM_KEY (WM_APP + 0x40)

// Pure: the command of a key pressed with these shift keys held, 0 for a key that is none.
int ProgramKeyCommand(UINT vk, bool ctrl, bool shift, bool alt);
// The same for a key message of the loop: a key going down, read with the shift keys of that
// moment. 0 for any other message.
int ProgramKeyCommandOf(const MSG* msg);

enum ContextMenuKind {
    CONTEXT_MENU_COPY,  // Copy, "What's This?" (menu IDM_COPY)
    CONTEXT_MENU_TREE,  // Copy, Find..., Find next, Find previous, "What's This?" (menu IDM_TREE)
};
// Shows a context menu for the control clicked (or for the owner's own background, which has
// no "What's This?") at the point of a WM_CONTEXTMENU; from the keyboard (-1, -1) at the
// control's top left corner. "What's This?" opens the control's help here. Returns the command
// chosen, 0 for none (or "What's This?").
int TrackContextMenu(HWND owner, HWND clicked, LPARAM pos, ContextMenuKind kind);

// The information dialogs' Copy: every field as "Label: value" lines. Ctrl+C in a field where
// the user has selected a part of its text copies that part instead, as the field itself does.
// WM_PROGRAM_KEY: true when the dialog took the key.
bool InfoDialogKey(HWND hDlg, int command);
// WM_CONTEXTMENU: Copy, and "What's This?" for the control clicked.
void InfoDialogContextMenu(HWND hDlg, HWND clicked, LPARAM pos);

// Pure: the point of a WM_CONTEXTMENU, or fallback when it came from the keyboard (-1, -1).
POINT ContextMenuPoint(LPARAM pos, POINT fallback);

#endif
