// The Windows tab page: every window of the desktop as a tree; its buttons carry out window
// commands on the selected window.
#include "windows/windows_page.h"
#include "windows/class_info.h"
#include "windows/find_box.h"
#include "windows/names.h"
#include "windows/window_commands.h"
#include "windows/window_query.h"
#include "processes/snapshot.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/dpi.h"
#include "app/help.h"
#include "app/program.h"
#include "app/resstring.h"
#include "app/settings.h"
#include "app/textcopy.h"
#include "app/waitcursor.h"
#include "resource.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#define TREE_STYLE (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS)

static HWND s_hTree;
static HIMAGELIST s_hImages;
static HWND s_hCurrent;

// State of one fill.
static int s_nInserted;
static HTREEITEM s_hDesktopItem;

// The items of the last fill in the order they were inserted (parents before their children),
// so that keeping the user's view across a refresh asks the tree only about items that have
// children: thousands of childless top-level windows cost no message each. Valid until the tree
// is cleared; only fills change it.
struct FillItem {
    HTREEITEM item;
    HWND hWnd;
    int parent;          // index of the parent's entry; -1 for the desktop's
    bool hasChildren;
    bool open;           // expanded and reachable: worked out while remembering or restoring
};
static FillItem* s_fillItems;
static int s_nFillItems;
static int s_fillCapacity;
// False when memory ran out during the fill: the view is then kept by walking the tree.
static bool s_bFillItemsComplete;

// Threads whose windows did not answer during this fill: their other windows are not asked
// again, so a hung program with many windows costs one wait, not one per window.
#define HUNG_THREADS_MAX 64
static DWORD s_hungThreads[HUNG_THREADS_MAX];
static int s_nHungThreads;

// Executable names per process during this fill: each lookup opens the process, and a
// desktop has many untitled top-level windows of few processes.
#define OWNER_LABELS_MAX 128
struct OwnerLabelEntry {
    DWORD pid;
    char label[BASE_NAME_CHARS + 3];
};
static OwnerLabelEntry s_ownerLabels[OWNER_LABELS_MAX];
static int s_nOwnerLabels;

// ---- Tree item text (pure)

// Appends at most what fits, keeping the terminator.
static void AppendBounded(char* out, size_t outSize, size_t* len, const char* text, size_t n)
{
    if (*len + 1 >= outSize) return;
    if (n > outSize - 1 - *len) n = outSize - 1 - *len;
    memcpy(out + *len, text, n);
    *len += n;
    out[*len] = '\0';
}

void FormatTreeItemText(char* out, size_t outSize, const char* base, bool quoted, const char* classDisplay,
                        const char* mark)
{
    FormatTreeItemTextIn(CP_ACP, out, outSize, base, quoted, classDisplay, mark);
}

void FormatTreeItemTextIn(UINT codePage, char* out, size_t outSize, const char* base, bool quoted,
                          const char* classDisplay, const char* mark)
{
    static const char kClassOpen[] = "    [";
    static const char kCut[] = "...";
    if (!out || outSize == 0) return;
    out[0] = '\0';
    if (!base) base = "";
    size_t baseLen = strlen(base);
    size_t quotes = quoted ? 2 : 0;
    size_t markLen = mark ? 1 + strlen(mark) : 0;
    size_t classLen = classDisplay ? strlen(kClassOpen) + strlen(classDisplay) + 1 : 0;
    size_t tail = markLen + classLen;
    size_t room = outSize - 1;
    size_t len = 0;
    if (quoted) AppendBounded(out, outSize, &len, "\"", 1);
    if (quotes + baseLen + tail <= room) {
        AppendBounded(out, outSize, &len, base, baseLen);
    } else {
        // The title gives way: the quotes, the mark and the class stay readable.
        size_t keep = room > quotes + tail + 3 ? room - quotes - tail - 3 : 0;
        AppendBounded(out, outSize, &len, base, WholeCharBytes(codePage, base, keep));
        AppendBounded(out, outSize, &len, kCut, 3);
    }
    if (quoted) AppendBounded(out, outSize, &len, "\"", 1);
    if (mark) {
        AppendBounded(out, outSize, &len, " ", 1);
        AppendBounded(out, outSize, &len, mark, strlen(mark));
    }
    if (classDisplay) {
        AppendBounded(out, outSize, &len, kClassOpen, strlen(kClassOpen));
        AppendBounded(out, outSize, &len, classDisplay, strlen(classDisplay));
        AppendBounded(out, outSize, &len, "]", 1);
    }
}

// ---- Filling the tree

static bool ThreadFoundHung(DWORD tid)
{
    for (int i = 0; i < s_nHungThreads; i++)
        if (s_hungThreads[i] == tid) return true;
    return false;
}

static void ReadItemTitle(HWND hWnd, char* title, int size)
{
    title[0] = '\0';
    // The window's thread is looked up only once a thread was found hung: most fills meet none.
    if (s_nHungThreads > 0 && ThreadFoundHung(GetWindowThreadProcessId(hWnd, NULL))) {
        ReadKeptCaption(hWnd, title, size);
        return;
    }
    if (!QueryWindowText(hWnd, title, size) && s_nHungThreads < HUNG_THREADS_MAX)
        s_hungThreads[s_nHungThreads++] = GetWindowThreadProcessId(hWnd, NULL);
}

static const char* FillOwnerLabel(HWND hWnd)
{
    DWORD pid = OwnerProcessId(hWnd);
    for (int i = 0; i < s_nOwnerLabels; i++)
        if (s_ownerLabels[i].pid == pid) return s_ownerLabels[i].label;
    const char* label = OwnerProcessLabel(hWnd, true);
    if (s_nOwnerLabels >= OWNER_LABELS_MAX) return label;
    OwnerLabelEntry* e = &s_ownerLabels[s_nOwnerLabels++];
    e->pid = pid;
    lstrcpynA(e->label, label, sizeof(e->label));
    return e->label;
}

static HTREEITEM InsertWindowItem(HWND hWnd, HTREEITEM parent)
{
    bool first = s_nInserted == 0;
    char title[ITEM_TITLE_CHARS];
    ReadItemTitle(hWnd, title, sizeof(title));
    char desktop[64];
    const char* base = title;
    bool quoted = true;
    if (!title[0]) {
        if (first) {
            lstrcpynA(desktop, LoadResString(IDS_DESKTOP), sizeof(desktop));
            base = desktop;
            quoted = false;
        } else if (parent == s_hDesktopItem) {
            base = FillOwnerLabel(hWnd);
            quoted = false;
        }
    }
    // Only top-level windows are composed by the window manager, so only they are asked.
    char mark[32];
    bool cloaked = !first && parent == s_hDesktopItem && IsWindowCloaked(hWnd);
    if (cloaked) lstrcpynA(mark, LoadResString(IDS_CLOAKED_MARK), sizeof(mark));
    const char* classDisplay = NULL;
    if (g_Options.ShowClass && !first) {
        char cls[CLASS_NAME_CHARS] = "";
        GetClassNameA(hWnd, cls, sizeof(cls));
        classDisplay = ClassDisplayName(cls);
    }
    char text[ITEM_TEXT_CHARS];
    FormatTreeItemText(text, sizeof(text), base, quoted, classDisplay, cloaked ? mark : NULL);

    TVINSERTSTRUCTA ins;
    ZeroMemory(&ins, sizeof(ins));
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_STATE;
    ins.item.pszText = text;
    ins.item.iImage = 0;
    ins.item.lParam = (LPARAM)hWnd;
    ins.item.state = first ? TVIS_SELECTED : 0;
    ins.item.stateMask = TVIS_SELECTED;
    HTREEITEM item = (HTREEITEM)SendMessageA(s_hTree, TVM_INSERTITEMA, 0, (LPARAM)&ins);
    s_nInserted++;
    return item;
}

static void ForgetFillItems()
{
    if (s_fillItems) HeapFree(GetProcessHeap(), 0, s_fillItems);
    s_fillItems = NULL;
    s_nFillItems = s_fillCapacity = 0;
    s_bFillItemsComplete = false;
}

// Records an inserted item; returns its index, or -1 once the record is incomplete.
static int RecordFillItem(HTREEITEM item, HWND hWnd, int parent)
{
    if (!s_bFillItemsComplete) return -1;
    if (s_nFillItems == s_fillCapacity) {
        int grown = s_fillCapacity ? s_fillCapacity * 2 : 256;
        void* p = s_fillItems ? HeapReAlloc(GetProcessHeap(), 0, s_fillItems, (size_t)grown * sizeof(FillItem))
                              : HeapAlloc(GetProcessHeap(), 0, (size_t)grown * sizeof(FillItem));
        if (!p) {
            s_bFillItemsComplete = false;
            return -1;
        }
        s_fillItems = (FillItem*)p;
        s_fillCapacity = grown;
    }
    if (parent >= 0) s_fillItems[parent].hasChildren = true;
    FillItem* e = &s_fillItems[s_nFillItems];
    e->item = item;
    e->hWnd = hWnd;
    e->parent = parent;
    e->hasChildren = false;
    e->open = false;
    return s_nFillItems++;
}

static void AddWindowBranch(HWND hWnd, HTREEITEM parentItem, int parentIndex);

struct BranchContext {
    HWND parent;
    HTREEITEM parentItem;
    int parentIndex;
};

static BOOL CALLBACK AddChildProc(HWND hWnd, LPARAM lParam)
{
    const BranchContext* ctx = (const BranchContext*)lParam;
    // The enumeration reaches every descendant; deeper ones are listed under their own parent.
    if (GetAncestor(hWnd, GA_PARENT) == ctx->parent) AddWindowBranch(hWnd, ctx->parentItem, ctx->parentIndex);
    return TRUE;
}

static void AddWindowBranch(HWND hWnd, HTREEITEM parentItem, int parentIndex)
{
    HTREEITEM item = InsertWindowItem(hWnd, parentItem);
    if (!item) return;
    BranchContext ctx = {hWnd, item, RecordFillItem(item, hWnd, parentIndex)};
    EnumChildWindows(hWnd, AddChildProc, (LPARAM)&ctx);
}

static BOOL CALLBACK AddTopLevelProc(HWND hWnd, LPARAM lParam)
{
    AddWindowBranch(hWnd, s_hDesktopItem, (int)lParam);
    return TRUE;
}

static void SetCurrentWindow(HWND hPage, HWND hWnd)
{
    s_hCurrent = hWnd;
    SetWindowToggleLabels(hPage, hWnd, IDC_WIN_MINIMIZE, IDC_WIN_HIDE, IDC_WIN_ONTOP);
}

static void ClearTree()
{
    ForgetFillItems();
    if (!s_hTree) return;
    SendMessageA(s_hTree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
    s_hCurrent = NULL;
}

static void DestroyTreeImages()
{
    if (s_hTree) SendMessageA(s_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    if (s_hImages) ImageList_Destroy(s_hImages);
    s_hImages = NULL;
}

// Every item shows the same picture: the list is made with the page's first fill and kept
// while the tree's monitor keeps its DPI.
static UINT s_uImagesDpi;
static void AttachTreeImages()
{
    if (!s_hTree) return;
    UINT dpi = DpiOfWindow(s_hTree);
    if (s_hImages && s_uImagesDpi == dpi) return;
    DestroyTreeImages();
    s_uImagesDpi = dpi;
    int cx = MetricForDpi(SM_CXSMICON, dpi), cy = MetricForDpi(SM_CYSMICON, dpi);
    s_hImages = ImageList_Create(cx, cy, ILC_MASK, 1, 0);
    HICON icon = (HICON)LoadImageA(g_hInst, MAKEINTRESOURCEA(IDI_TREE_ITEM), IMAGE_ICON, cx, cy, 0);
    if (s_hImages && icon) ImageList_ReplaceIcon(s_hImages, -1, icon);
    if (icon) DestroyIcon(icon);
    SendMessageA(s_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)s_hImages);
}

// The tree read anew with its drawing off: a visible tree repaints after every insertion
// otherwise (seconds for a few thousand windows), and turning drawing back on measures every
// item, so the caller turns it on once when everything is in place.
static void FillTreeItems(HWND hPage)
{
    SendMessageA(s_hTree, WM_SETREDRAW, FALSE, 0);
    ClearTree();
    AttachTreeImages();

    s_nInserted = 0;
    s_nHungThreads = 0;
    s_nOwnerLabels = 0;
    s_hDesktopItem = NULL;
    HWND desktop = GetDesktopWindow();
    SetCurrentWindow(hPage, desktop);
    s_hDesktopItem = InsertWindowItem(desktop, TVI_ROOT);
    if (s_hDesktopItem) {
        s_bFillItemsComplete = true;
        int desktopIndex = RecordFillItem(s_hDesktopItem, desktop, -1);
        EnumWindows(AddTopLevelProc, (LPARAM)desktopIndex);
        SendMessageA(s_hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)s_hDesktopItem);
        // The selected state alone leaves the control without a caret: make it the selection.
        SendMessageA(s_hTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)s_hDesktopItem);
    }
    SetCurrentWindow(hPage, desktop);
}

// The fill ends with the focus on the tree, unless the fill is one the user did not ask for
// (after Pick: the focus belongs to the Window Information that Pick opened).
static void EndTreeFill(bool takeFocus)
{
    SendMessageA(s_hTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(s_hTree, NULL, TRUE);
    if (takeFocus) SetFocus(s_hTree);
}

static void FillWindowTree(HWND hPage, bool takeFocus = true)
{
    if (!s_hTree) return;
    BeginWaitCursor();
    FillTreeItems(hPage);
    EndTreeFill(takeFocus);
    EndWaitCursor();
}

HWND WindowsPageCurrent()
{
    return s_hCurrent;
}

// ---- Items of windows

static HTREEITEM TreeNext(HTREEITEM item, UINT how)
{
    return (HTREEITEM)SendMessageA(s_hTree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

static HWND ItemWindow(HTREEITEM item)
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    return SendMessageA(s_hTree, TVM_GETITEMA, 0, (LPARAM)&tv) ? (HWND)tv.lParam : NULL;
}

static bool ItemExpanded(HTREEITEM item)
{
    return (SendMessageA(s_hTree, TVM_GETITEMSTATE, (WPARAM)item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

// The item of a window anywhere in the tree, expanded or not; NULL when it is not listed.
static HTREEITEM FindWindowItem(HWND hWnd)
{
    if (s_bFillItemsComplete) {
        for (int i = 0; i < s_nFillItems; i++)
            if (s_fillItems[i].hWnd == hWnd) return s_fillItems[i].item;
        return NULL;
    }
    HTREEITEM at = TreeNext(NULL, TVGN_ROOT);
    while (at) {
        if (ItemWindow(at) == hWnd) return at;
        HTREEITEM next = TreeNext(at, TVGN_CHILD);
        while (!next && at) {
            next = TreeNext(at, TVGN_NEXT);
            if (!next) at = TreeNext(at, TVGN_PARENT);
        }
        at = next;
    }
    return NULL;
}

// Selects the window's item, expanding its parents and scrolling it into view; the selection
// makes it the current window. False when the window is not listed.
static bool SelectWindowItem(HWND hWnd)
{
    HTREEITEM item = FindWindowItem(hWnd);
    if (!item) return false;
    SendMessageA(s_hTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
    SendMessageA(s_hTree, TVM_ENSUREVISIBLE, 0, (LPARAM)item);
    return true;
}

// ---- Keeping the user's view across a refresh

// The windows whose items the user had expanded.
struct ExpandedWindows {
    HWND* windows;
    int count;
    int capacity;
};

static void AddExpanded(ExpandedWindows* set, HWND hWnd)
{
    if (set->count == set->capacity) {
        int grown = set->capacity ? set->capacity * 2 : 64;
        void* p = set->windows ? HeapReAlloc(GetProcessHeap(), 0, set->windows, (size_t)grown * sizeof(HWND))
                               : HeapAlloc(GetProcessHeap(), 0, (size_t)grown * sizeof(HWND));
        // Without room the view is kept as far as it was recorded.
        if (!p) return;
        set->windows = (HWND*)p;
        set->capacity = grown;
    }
    set->windows[set->count++] = hWnd;
}

static bool IsExpandedWindow(const ExpandedWindows* set, HWND hWnd)
{
    for (int i = 0; i < set->count; i++)
        if (set->windows[i] == hWnd) return true;
    return false;
}

// Only items the user can reach can have been expanded by the user: those whose parents are all
// expanded. Only an item with children can be expanded.
static void RememberExpanded(ExpandedWindows* set)
{
    if (!s_bFillItemsComplete) {
        for (HTREEITEM at = TreeNext(NULL, TVGN_ROOT); at; at = TreeNext(at, TVGN_NEXTVISIBLE))
            if (ItemExpanded(at)) AddExpanded(set, ItemWindow(at));
        return;
    }
    // Parents come before their children: each item's parent is settled when the item is reached.
    for (int i = 0; i < s_nFillItems; i++) {
        FillItem* e = &s_fillItems[i];
        bool reachable = e->parent < 0 || s_fillItems[e->parent].open;
        e->open = reachable && e->hasChildren && ItemExpanded(e->item);
        if (e->open) AddExpanded(set, e->hWnd);
    }
}

// The fill has expanded the desktop's item; the others the user had expanded are expanded again
// where they can be reached.
static void RestoreExpanded(const ExpandedWindows* set)
{
    if (!s_bFillItemsComplete) {
        for (HTREEITEM at = TreeNext(NULL, TVGN_ROOT); at; at = TreeNext(at, TVGN_NEXTVISIBLE))
            if (!ItemExpanded(at) && IsExpandedWindow(set, ItemWindow(at)))
                SendMessageA(s_hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)at);
        return;
    }
    for (int i = 0; i < s_nFillItems; i++) {
        FillItem* e = &s_fillItems[i];
        if (e->parent < 0) {
            e->open = ItemExpanded(e->item);
            continue;
        }
        e->open = s_fillItems[e->parent].open && e->hasChildren && IsExpandedWindow(set, e->hWnd);
        if (e->open) SendMessageA(s_hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)e->item);
    }
}

// Refresh: the tree read anew, with the items the user had expanded expanded again and the
// selection on the same window while it still exists.
static void RefreshWindowTree(HWND hPage, bool takeFocus = true)
{
    if (!s_hTree) return;
    HWND selected = s_hCurrent;
    ExpandedWindows expanded = {NULL, 0, 0};
    RememberExpanded(&expanded);
    BeginWaitCursor();
    FillTreeItems(hPage);
    RestoreExpanded(&expanded);
    EndTreeFill(takeFocus);
    // Scrolled into view once drawing is back on: only then has the tree laid its items out.
    if (selected && selected != GetDesktopWindow() && IsWindow(selected)) SelectWindowItem(selected);
    EndWaitCursor();
    if (expanded.windows) HeapFree(GetProcessHeap(), 0, expanded.windows);
}

// After Pick: the picked window is selected in the tree too; a window newer than the tree
// brings a refresh first.
static void ShowPickedWindow(HWND hPage, HWND picked)
{
    if (!s_hTree || !IsWindow(picked)) return;
    if (SelectWindowItem(picked)) return;
    RefreshWindowTree(hPage, false);
    SelectWindowItem(picked);
}

// ---- Copy and Find

static HWND FindOwner(HWND hPage)
{
    return GetAncestor(hPage, GA_ROOT);
}

static bool WindowsPage_OnTreeCommand(HWND hPage, int command)
{
    if (!s_hTree) return false;
    switch (command) {
    case IDC_CTX_COPY:
        CopyTreeBranch(s_hTree, TreeNext(NULL, TVGN_CARET));
        return true;
    case IDC_CTX_FIND:
        OpenFindBox(FindOwner(hPage), s_hTree);
        return true;
    case IDC_CTX_FINDNEXT:
    case IDC_CTX_FINDPREV:
        FindAgain(FindOwner(hPage), s_hTree, command == IDC_CTX_FINDNEXT);
        return true;
    }
    return false;
}

// Copy belongs to the tree, so Ctrl+C on a button does nothing; Find works anywhere on the page.
static bool WindowsPage_OnProgramKey(HWND hPage, int command)
{
    if (command == IDC_CTX_COPY && GetFocus() != s_hTree) return false;
    return WindowsPage_OnTreeCommand(hPage, command);
}

static void WindowsPage_OnContextMenu(HWND hPage, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND clicked = (HWND)wParam;
    if (!s_hTree || clicked != s_hTree) {
        RouteHelpMessage(hPage, msg, wParam, lParam);
        return;
    }
    // A right click on an item makes it the one the menu acts on, as a left click would.
    POINT none = {-1, -1};
    POINT pt = ContextMenuPoint(lParam, none);
    if (pt.x != -1 || pt.y != -1) {
        TVHITTESTINFO hit;
        ZeroMemory(&hit, sizeof(hit));
        hit.pt = pt;
        ScreenToClient(s_hTree, &hit.pt);
        HTREEITEM item = (HTREEITEM)SendMessageA(s_hTree, TVM_HITTEST, 0, (LPARAM)&hit);
        if (item && (hit.flags & TVHT_ONITEM)) SendMessageA(s_hTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
    }
    WindowsPage_OnTreeCommand(hPage, TrackContextMenu(hPage, clicked, lParam, CONTEXT_MENU_TREE));
}

// ---- Page messages

static void WindowsPage_OnInitDialog(HWND hDlg)
{
    BeginWaitCursor();
    s_hTree = ReplacePlaceholder(hDlg, IDC_WIN_TREE, WS_EX_CLIENTEDGE, WC_TREEVIEWA, TREE_STYLE, IDC_WIN_TREE, NULL);
    CheckDlgButton(hDlg, IDC_WIN_SHOWCLASS, g_Options.ShowClass ? BST_CHECKED : BST_UNCHECKED);
    EndWaitCursor();
    FillWindowTree(hDlg);
}

static void WindowsPage_OnCommand(HWND hDlg, int id, int code)
{
    switch (id) {
    case IDC_MAIN_REFRESH:
        RefreshWindowTree(hDlg);
        return;
    case IDC_WIN_SHOWCLASS:
        if (code != BN_CLICKED) return;
        g_Options.ShowClass = IsDlgButtonChecked(hDlg, IDC_WIN_SHOWCLASS) == BST_CHECKED ? 1 : 0;
        FillWindowTree(hDlg);
        return;
    case IDCANCEL:
        ForwardPageCancel(id);
        return;
    }
    // Only the page's own buttons reach the window commands: Enter or a stray notification must
    // not report a vanished window.
    if (id < IDC_WIN_PICK || id > IDC_WIN_MODULE || code != BN_CLICKED) return;
    HWND picked = WindowCommand(s_hCurrent, id);
    if (picked) ShowPickedWindow(hDlg, picked);
    if (s_hTree) SetCurrentWindow(hDlg, s_hCurrent);
}

static void WindowsPage_OnNotify(HWND hDlg, const NMHDR* nm)
{
    if (nm->idFrom != IDC_WIN_TREE) return;
    if (nm->code != TVN_SELCHANGEDA && nm->code != TVN_SELCHANGEDW) return;
    // Both forms carry the item in the same place; only the text pointer differs.
    const NMTREEVIEWA* tv = (const NMTREEVIEWA*)nm;
    if (!tv->itemNew.hItem) return;
    HWND hWnd = (HWND)tv->itemNew.lParam;
    if (hWnd != s_hCurrent) SetCurrentWindow(hDlg, hWnd);
}

static void WindowsPage_OnDestroy()
{
    CloseFindBox();
    ClearTree();
    DestroyTreeImages();
    s_hTree = NULL;
    s_hDesktopItem = NULL;
}

INT_PTR CALLBACK WindowsPageProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        WindowsPage_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        WindowsPage_OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_NOTIFY:
        WindowsPage_OnNotify(hDlg, (const NMHDR*)lParam);
        break;
    case WM_DESTROY:
        WindowsPage_OnDestroy();
        break;
    case WM_HELP:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    case WM_CONTEXTMENU:
        WindowsPage_OnContextMenu(hDlg, msg, wParam, lParam);
        break;
    case WM_PROGRAM_KEY:
        return DlgResult(hDlg, WindowsPage_OnProgramKey(hDlg, (int)wParam));
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
