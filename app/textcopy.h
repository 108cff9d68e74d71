// Copy as text: the selected rows of a report list under their column titles, a branch of a tree
// indented by its levels, the fields of a dialog as "Label: value" lines. The lines are built by
// pure functions of values; the readers take what the controls show; the text goes to the
// clipboard as CF_TEXT. A small service below the pages and dialogs that offer Copy.
#ifndef VANTIX_TEXTCOPY_H
#define VANTIX_TEXTCOPY_H

#include <windows.h>
#include <commctrl.h>
#include <stddef.h>

// A text that grows on the process heap. An allocation that fails marks it failed; it then
// keeps what it had and takes nothing more.
struct CopyText {
    char* text;     // NULL until something was added; always ended by a zero character
    size_t length;
    size_t capacity;
    bool failed;
};
void InitCopyText(CopyText* t);
void FreeCopyText(CopyText* t);
bool AppendCopyText(CopyText* t, const char* s, size_t n);

// ---- Lines (pure)

// One row of a table: the cells separated by tabs, ended by a line break. A tab or line break
// inside a cell becomes a blank, so that every row stays one line of its columns.
void AppendTableRow(CopyText* t, const char* const* cells, int count);
// One line of a tree: two blanks for each level below the first, then the text (its tabs and
// line breaks as blanks).
void AppendTreeLine(CopyText* t, int depth, const char* text);
// A dialog's label as a line shows it: access-key marks gone ("&&" stays one "&"), blanks and
// a closing colon at its end gone.
void CleanLabel(const char* label, char* out, size_t outSize);
// One field: "Label: value" on one line. A value of several lines starts on the next line, each
// of its lines indented by two blanks; a field without a label gives its value lines indented
// so (they continue the line before them). An empty value leaves "Label:".
void AppendFieldLines(CopyText* t, const char* label, const char* value);

// ---- What the controls show

// The column titles and the selected rows of a report list view; false when no row is selected.
bool ListSelectionText(HWND list, CopyText* t);
// A tree item and every item below it, expanded or not; false without an item.
bool TreeBranchText(HWND tree, HTREEITEM item, CopyText* t);
// Every field of a dialog in its order: each edit field under the label, group box or button
// before it; a group of radio buttons as its group's label and the checked button's text; a
// label that carries its own value ("Style: 14CF0000 (Extra: 00000000)") as a line of its own.
// Hidden controls, pictures and buttons that label nothing are left out.
bool DialogFieldsText(HWND dlg, CopyText* t);

// The text as CF_TEXT on the clipboard, owned by owner; false when the clipboard would not take it.
bool PutTextOnClipboard(HWND owner, const CopyText* t);

// Copy: each reads its control, puts the text on the clipboard (owned by the hidden main
// window) and returns true; false when there was nothing to copy or the clipboard refused.
bool CopyListSelection(HWND list);
bool CopyTreeBranch(HWND tree, HTREEITEM item);
bool CopyDialogFields(HWND dlg);

#endif
