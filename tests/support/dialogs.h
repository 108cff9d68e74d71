// Dialogs of the test's own thread: finding one that just opened, reading and pressing its
// controls as a click would, and acting inside a modal one from within its own loop.
#ifndef VANTIX_SUPPORT_DIALOGS_H
#define VANTIX_SUPPORT_DIALOGS_H

#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// Top-level dialogs of this thread with this caption.
std::vector<HWND> ThreadDialogs(const char* caption);
// The dialog of this thread with this caption that is not among before, NULL when none.
HWND NewDialog(const char* caption, const std::vector<HWND>& before = {});

// The whole text of a dialog's control.
std::string DlgText(HWND dlg, int id);
// A dialog button pressed: the dialog gets the command.
void PressButton(HWND dlg, int id);
// What a click does to a check box of a dialog: it toggles, then the dialog hears of it.
void ClickCheckBox(HWND dlg, int id);

// A key pressed while focus holds the keyboard focus, handed to the program's loop as the
// platform would hand it, with Ctrl and Shift held as given (restored afterwards).
void PressKeyIn(HWND focus, UINT vk, bool ctrl = false, bool shift = false);

// Chooses the item command of the next pop-up menu this thread shows (a context menu tracked
// from within the call that follows), as the keyboard would: down to the item, then Enter.
// The menu is cancelled when it has no such item. Afterwards, whether a menu showed the item.
void ChooseFromNextMenu(UINT command);
bool NextMenuShowedItem();
// The texts of the items of the last menu seen, "-" for a separator.
std::vector<std::string> LastMenuItems();

// Runs act on the first visible window of this thread whose caption begins with captionPrefix,
// from inside the modal loop that the caller enters next. A dialog still open guardMs after the
// act began is cancelled, and an act that no dialog took within guardMs is dropped, so that a
// failing test cannot hang.
void ActInModal(const char* captionPrefix, std::function<void(HWND)> act, DWORD guardMs = 10000);
// Drops an act that no dialog has taken (when the call may or may not open one).
void CancelModalAct();
// What became of the last act: the dialog it ran on (NULL when none showed), when it began,
// and whether the guard had to cancel the dialog.
struct ModalActResult {
    HWND dialog;
    DWORD began;
    bool guardCancelled;
};
ModalActResult LastModalAct();

#endif
