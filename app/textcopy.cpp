// Copy as text.
#include "app/textcopy.h"
#include "app/program.h"

#include <string.h>

// Cells, items and fields are read into buffers of this size; a longer text is cut there.
#define COPY_CELL_CHARS 1024
// No report list of the program has more columns, and no tree is deeper.
#define COPY_MAX_COLUMNS 16

// ---- The growing text

void InitCopyText(CopyText* t)
{
    t->text = NULL;
    t->length = 0;
    t->capacity = 0;
    t->failed = false;
}

void FreeCopyText(CopyText* t)
{
    if (t->text) HeapFree(GetProcessHeap(), 0, t->text);
    InitCopyText(t);
}

bool AppendCopyText(CopyText* t, const char* s, size_t n)
{
    if (t->failed) return false;
    if (t->length + n + 1 > t->capacity) {
        size_t want = t->capacity ? t->capacity : 256;
        while (want < t->length + n + 1) want *= 2;
        char* grown = t->text ? (char*)HeapReAlloc(GetProcessHeap(), 0, t->text, want)
                              : (char*)HeapAlloc(GetProcessHeap(), 0, want);
        if (!grown) {
            t->failed = true;
            return false;
        }
        t->text = grown;
        t->capacity = want;
    }
    memcpy(t->text + t->length, s, n);
    t->length += n;
    t->text[t->length] = '\0';
    return true;
}

static void AppendString(CopyText* t, const char* s)
{
    AppendCopyText(t, s, strlen(s));
}

// ---- Lines (pure)

// Text that must stay on one line: tabs and line breaks become blanks.
static void AppendOneLine(CopyText* t, const char* s)
{
    while (*s) {
        size_t run = strcspn(s, "\t\r\n");
        AppendCopyText(t, s, run);
        s += run;
        if (*s) {
            AppendCopyText(t, " ", 1);
            s++;
        }
    }
}

void AppendTableRow(CopyText* t, const char* const* cells, int count)
{
    for (int i = 0; i < count; i++) {
        if (i > 0) AppendCopyText(t, "\t", 1);
        AppendOneLine(t, cells[i] ? cells[i] : "");
    }
    AppendCopyText(t, "\r\n", 2);
}

static void AppendIndent(CopyText* t, int depth)
{
    for (int i = 0; i < depth; i++) AppendCopyText(t, "  ", 2);
}

void AppendTreeLine(CopyText* t, int depth, const char* text)
{
    AppendIndent(t, depth);
    AppendOneLine(t, text ? text : "");
    AppendCopyText(t, "\r\n", 2);
}

void CleanLabel(const char* label, char* out, size_t outSize)
{
    if (!out || outSize == 0) return;
    size_t n = 0;
    for (const char* p = label ? label : ""; *p && n + 1 < outSize; p++) {
        if (*p == '&') {
            // "&&" shows one "&"; a single one marks the access key and shows nothing.
            if (p[1] != '&') continue;
            p++;
        }
        out[n++] = *p;
    }
    while (n > 0 && (out[n - 1] == ' ' || out[n - 1] == ':' || out[n - 1] == '\t')) n--;
    out[n] = '\0';
}

// The lines of a value (split at CR LF, CR or LF); a final line break makes no empty line of
// its own.
static int CountValueLines(const char* value)
{
    int lines = 0;
    for (const char* p = value; *p;) {
        p += strcspn(p, "\r\n");
        lines++;
        if (*p == '\r' && p[1] == '\n') p += 2;
        else if (*p) p++;
    }
    return lines;
}

void AppendFieldLines(CopyText* t, const char* label, const char* value)
{
    if (!value) value = "";
    bool labelled = label && *label;
    int lines = CountValueLines(value);
    if (labelled) {
        AppendString(t, label);
        AppendCopyText(t, ":", 1);
        if (lines == 1) {
            AppendCopyText(t, " ", 1);
            AppendCopyText(t, value, strcspn(value, "\r\n"));
        }
        AppendCopyText(t, "\r\n", 2);
        if (lines <= 1) return;
    }
    for (const char* p = value; *p;) {
        size_t run = strcspn(p, "\r\n");
        AppendIndent(t, 1);
        AppendCopyText(t, p, run);
        AppendCopyText(t, "\r\n", 2);
        p += run;
        if (*p == '\r' && p[1] == '\n') p += 2;
        else if (*p) p++;
    }
}

// ---- List views

static int ListColumnCount(HWND list)
{
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    int count = header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    if (count < 0) count = 0;
    return count < COPY_MAX_COLUMNS ? count : COPY_MAX_COLUMNS;
}

bool ListSelectionText(HWND list, CopyText* t)
{
    if (!list) return false;
    int row = (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    if (row < 0) return false;
    int columns = ListColumnCount(list);
    if (columns == 0) return false;
    // One buffer per column, so that a whole row is read before it is written.
    char* cells = (char*)HeapAlloc(GetProcessHeap(), 0, (size_t)columns * COPY_CELL_CHARS);
    if (!cells) return false;
    const char* cellsOfRow[COPY_MAX_COLUMNS];
    for (int c = 0; c < columns; c++) {
        char* cell = cells + (size_t)c * COPY_CELL_CHARS;
        cell[0] = '\0';
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT;
        col.pszText = cell;
        col.cchTextMax = COPY_CELL_CHARS;
        SendMessageA(list, LVM_GETCOLUMNA, c, (LPARAM)&col);
        cellsOfRow[c] = cell;
    }
    AppendTableRow(t, cellsOfRow, columns);
    for (; row >= 0; row = (int)SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED)) {
        for (int c = 0; c < columns; c++) {
            char* cell = cells + (size_t)c * COPY_CELL_CHARS;
            cell[0] = '\0';
            LVITEMA item;
            ZeroMemory(&item, sizeof(item));
            item.iSubItem = c;
            item.pszText = cell;
            item.cchTextMax = COPY_CELL_CHARS;
            SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
        }
        AppendTableRow(t, cellsOfRow, columns);
    }
    HeapFree(GetProcessHeap(), 0, cells);
    return !t->failed;
}

// ---- Tree views

static void TreeItemText(HWND tree, HTREEITEM item, char* text, int size)
{
    text[0] = '\0';
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = size;
    SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&tv);
}

static HTREEITEM TreeNext(HWND tree, HTREEITEM item, UINT how)
{
    return (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

bool TreeBranchText(HWND tree, HTREEITEM item, CopyText* t)
{
    if (!tree || !item) return false;
    char text[COPY_CELL_CHARS];
    // Depth first without recursion: down to the first child, on to the next sibling, and back
    // up until an ancestor has one, never above the branch's own item.
    HTREEITEM at = item;
    int depth = 0;
    while (at) {
        TreeItemText(tree, at, text, sizeof(text));
        AppendTreeLine(t, depth, text);
        HTREEITEM next = TreeNext(tree, at, TVGN_CHILD);
        if (next) {
            depth++;
            at = next;
            continue;
        }
        while (at && at != item) {
            next = TreeNext(tree, at, TVGN_NEXT);
            if (next) break;
            at = TreeNext(tree, at, TVGN_PARENT);
            depth--;
        }
        at = at && at != item ? next : NULL;
    }
    return !t->failed;
}

// ---- Dialogs

// A control's whole text on the heap (the caller frees it), or NULL.
static char* ControlText(HWND control)
{
    int length = GetWindowTextLengthA(control);
    if (length < 0) length = 0;
    char* text = (char*)HeapAlloc(GetProcessHeap(), 0, (size_t)length + 1);
    if (!text) return NULL;
    text[0] = '\0';
    GetWindowTextA(control, text, length + 1);
    return text;
}

enum ControlKind { KIND_OTHER, KIND_LABEL, KIND_GROUP, KIND_RADIO, KIND_BUTTON, KIND_FIELD };

static ControlKind KindOf(HWND control)
{
    char cls[32] = "";
    GetClassNameA(control, cls, sizeof(cls));
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(cls, "Edit") == 0) return KIND_FIELD;
    if (lstrcmpiA(cls, "Static") == 0) {
        switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP:
            return KIND_LABEL;
        }
        // Pictures, frames and owner-drawn swatches show no text of theirs.
        return KIND_OTHER;
    }
    if (lstrcmpiA(cls, "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            return KIND_GROUP;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return KIND_RADIO;
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON:
            return KIND_BUTTON;
        }
    }
    return KIND_OTHER;
}

struct FieldWalk {
    CopyText* out;
    char label[COPY_CELL_CHARS];
    bool inRadios;
    char checked[COPY_CELL_CHARS];
};

static void EndRadios(FieldWalk* w)
{
    if (!w->inRadios) return;
    AppendFieldLines(w->out, w->label, w->checked);
    w->inRadios = false;
    w->label[0] = '\0';
}

// A label that already says "name: value" stands as a line of its own; what follows it
// continues it.
static void TakeLabel(FieldWalk* w, const char* text, bool mayCarryValue)
{
    CleanLabel(text, w->label, sizeof(w->label));
    if (mayCarryValue && strchr(w->label, ':')) {
        AppendOneLine(w->out, w->label);
        AppendCopyText(w->out, "\r\n", 2);
        w->label[0] = '\0';
    }
}

bool DialogFieldsText(HWND dlg, CopyText* t)
{
    if (!dlg) return false;
    FieldWalk* w = (FieldWalk*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(FieldWalk));
    if (!w) return false;
    w->out = t;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        ControlKind kind = KindOf(c);
        if (kind == KIND_OTHER) continue;
        char* text = ControlText(c);
        if (!text) {
            t->failed = true;
            break;
        }
        if (kind == KIND_RADIO) {
            if (!w->inRadios) w->checked[0] = '\0';
            w->inRadios = true;
            if (SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED) CleanLabel(text, w->checked, sizeof(w->checked));
        } else {
            EndRadios(w);
            if (kind == KIND_FIELD) {
                AppendFieldLines(t, w->label, text);
                w->label[0] = '\0';
            } else {
                TakeLabel(w, text, kind != KIND_BUTTON);
            }
        }
        HeapFree(GetProcessHeap(), 0, text);
    }
    EndRadios(w);
    HeapFree(GetProcessHeap(), 0, w);
    return !t->failed && t->length > 0;
}

// ---- The clipboard

bool PutTextOnClipboard(HWND owner, const CopyText* t)
{
    if (!t->text || t->failed) return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, t->length + 1);
    if (!block) return false;
    char* p = (char*)GlobalLock(block);
    if (!p) {
        GlobalFree(block);
        return false;
    }
    memcpy(p, t->text, t->length + 1);
    GlobalUnlock(block);
    bool placed = false;
    if (OpenClipboard(owner)) {
        if (EmptyClipboard() && SetClipboardData(CF_TEXT, block)) placed = true;
        CloseClipboard();
    }
    if (!placed) GlobalFree(block);
    return placed;
}

// ---- Copy

static bool PutAndFree(bool built, CopyText* t)
{
    bool placed = built && PutTextOnClipboard(g_hMainWnd, t);
    FreeCopyText(t);
    return placed;
}

bool CopyListSelection(HWND list)
{
    CopyText t;
    InitCopyText(&t);
    return PutAndFree(ListSelectionText(list, &t), &t);
}

bool CopyTreeBranch(HWND tree, HTREEITEM item)
{
    CopyText t;
    InitCopyText(&t);
    return PutAndFree(TreeBranchText(tree, item, &t), &t);
}

bool CopyDialogFields(HWND dlg)
{
    CopyText t;
    InitCopyText(&t);
    return PutAndFree(DialogFieldsText(dlg, &t), &t);
}
