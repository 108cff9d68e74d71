// The Windows tab page: every window of the desktop as a tree, and the window commands it
// shares with the Window Information dialog.
#include "windows/windows_page.h"
#include "windows/class_info.h"
#include "windows/names.h"
#include "windows/picker.h"
#include "windows/taskman_page.h"
#include "windows/window_info.h"
#include "processes/module_info.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "app/help.h"
#include "app/dlgservices.h"
#include "app/msgbox.h"
#include "app/settings.h"
#include "app/program.h"
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

// Threads whose windows did not answer during this fill: their other windows are not asked
// again, so a hung program with many windows costs one wait, not one per window.
#define HUNG_THREADS_MAX 64
static DWORD s_hungThreads[HUNG_THREADS_MAX];
static int s_nHungThreads;

// Executable names per process during this fill: each lookup takes a process snapshot, and a
// desktop has many untitled top-level windows of few processes.
#define OWNER_LABELS_MAX 128
struct OwnerLabelEntry {
    DWORD pid;
    char label[BASE_NAME_CHARS + 3];
};
static OwnerLabelEntry s_ownerLabels[OWNER_LABELS_MAX];
static int s_nOwnerLabels;

// ---- Shared window operations

const char* OwnerProcessLabel(HWND hWnd, bool parenthesised)
{
    static char s_label[BASE_NAME_CHARS + 3];
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    // Asked of the process itself where it can be read: a snapshot of every process is taken only
    // for one that cannot.
    char path[MODULE_PATH_CHARS];
    const char* exe = ReadProcessImagePath(pid, path, sizeof(path)) ? path : ProcessEntryFor(pid)->szExeFile;
    const char* name = FileNamePart(exe);
    snprintf(s_label, sizeof(s_label), parenthesised ? "(%s)" : "%s", name);
    return s_label;
}

bool IsChildOrOwned(HWND hWnd)
{
    return GetWindow(hWnd, GW_OWNER) != NULL || GetParent(hWnd) != NULL ||
           (GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0;
}

// Bytes of s that fit into maxBytes without splitting a double-byte character.
static size_t WholeCharBytes(UINT codePage, const char* s, size_t maxBytes);

// The caption the platform keeps for every window, read without asking the window's thread.
// Bound at run time: not every SDK's import library names the function.
static void ReadKeptCaption(HWND hWnd, char* buf, int size)
{
    typedef int (WINAPI *InternalTextFn)(HWND, LPWSTR, int);
    static InternalTextFn s_pfnInternalText =
        (InternalTextFn)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "InternalGetWindowText");
    buf[0] = '\0';
    if (!s_pfnInternalText) return;
    WCHAR wide[ITEM_TEXT_CHARS];
    int n = s_pfnInternalText(hWnd, wide, ITEM_TEXT_CHARS);
    if (n <= 0) return;
    if (n >= ITEM_TEXT_CHARS) n = ITEM_TEXT_CHARS - 1;
    wide[n] = L'\0';
    // Room for every character as a double-byte one, then cut on a whole character.
    char ansi[2 * ITEM_TEXT_CHARS];
    if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), NULL, NULL)) return;
    size_t keep = WholeCharBytes(CP_ACP, ansi, (size_t)size - 1);
    memcpy(buf, ansi, keep);
    buf[keep] = '\0';
}

bool QueryWindowText(HWND hWnd, char* buf, int size)
{
    // A window of another thread of this process gets the buffer itself, not a copy, and may
    // write it after the wait has given up: it writes into this buffer, which stays valid.
    static char s_received[ITEM_TEXT_CHARS];
    if (!buf || size <= 0) return false;
    buf[0] = '\0';
    if (size > (int)sizeof(s_received)) size = sizeof(s_received);
    s_received[0] = '\0';
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hWnd, WM_GETTEXT, (WPARAM)size, (LPARAM)s_received, SMTO_ABORTIFHUNG,
                             WINDOW_ANSWER_MS, &result)) {
        ReadKeptCaption(hWnd, buf, size);
        return false;
    }
    s_received[size - 1] = '\0';
    lstrcpynA(buf, s_received, size);
    return true;
}

bool WindowAnswers(HWND hWnd)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &result) != 0;
}

bool BelongsToOtherThread(HWND hWnd)
{
    return GetWindowThreadProcessId(hWnd, NULL) != GetCurrentThreadId();
}

void ShowWindowNoWait(HWND hWnd, int command)
{
    if (BelongsToOtherThread(hWnd))
        ShowWindowAsync(hWnd, command);
    else
        ShowWindow(hWnd, command);
}

bool SendWindowText(HWND hWnd, const char* text)
{
    // As for WM_GETTEXT: a thread of this process reads the text itself, perhaps late.
    static char s_sent[ITEM_TEXT_CHARS];
    if (!text) return false;
    if (!BelongsToOtherThread(hWnd)) return SendMessageA(hWnd, WM_SETTEXT, 0, (LPARAM)text) != 0;
    lstrcpynA(s_sent, text, sizeof(s_sent));
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hWnd, WM_SETTEXT, 0, (LPARAM)s_sent, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &result) &&
           result;
}

// A button repaints whenever its text is set: a label that stays what it is is left alone.
static void SetLabelText(HWND hDlg, int id, const char* text)
{
    char current[64];
    if (GetDlgItemTextA(hDlg, id, current, sizeof(current)) < (int)sizeof(current) - 1 && strcmp(current, text) == 0)
        return;
    SetDlgItemTextA(hDlg, id, text);
}

void SetWindowToggleLabels(HWND hDlg, HWND hWnd, int minimizeId, int hideId, int onTopId)
{
    SetLabelText(hDlg, minimizeId, LoadResString(IsIconic(hWnd) ? IDS_RESTORE : IDS_MINIMIZE));
    SetLabelText(hDlg, hideId, LoadResString(IsWindowVisible(hWnd) ? IDS_HIDE : IDS_SHOW));
    bool topmost = hWnd && (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetLabelText(hDlg, onTopId, LoadResString(topmost ? IDS_NOTTOPMOST : IDS_TOPMOST));
}

DWORD HandleValue(HWND hWnd)
{
    return (DWORD)(ULONG_PTR)hWnd;
}

HWND HandleFromValue(DWORD value)
{
    return (HWND)(LONG_PTR)(LONG)value;
}

static size_t WholeCharBytes(UINT codePage, const char* s, size_t maxBytes)
{
    size_t n = 0;
    while (s[n]) {
        size_t step = (IsDBCSLeadByteEx(codePage, (BYTE)s[n]) && s[n + 1]) ? 2 : 1;
        if (n + step > maxBytes) break;
        n += step;
    }
    return n;
}

// Appends at most what fits, keeping the terminator.
static void AppendBounded(char* out, size_t outSize, size_t* len, const char* text, size_t n)
{
    if (*len + 1 >= outSize) return;
    if (n > outSize - 1 - *len) n = outSize - 1 - *len;
    memcpy(out + *len, text, n);
    *len += n;
    out[*len] = '\0';
}

void FormatTreeItemText(char* out, size_t outSize, const char* base, bool quoted, const char* classDisplay)
{
    FormatTreeItemTextIn(CP_ACP, out, outSize, base, quoted, classDisplay);
}

void FormatTreeItemTextIn(UINT codePage, char* out, size_t outSize, const char* base, bool quoted,
                          const char* classDisplay)
{
    static const char kClassOpen[] = "    [";
    static const char kCut[] = "...";
    if (!out || outSize == 0) return;
    out[0] = '\0';
    if (!base) base = "";
    size_t baseLen = strlen(base);
    size_t quotes = quoted ? 2 : 0;
    size_t classLen = classDisplay ? strlen(kClassOpen) + strlen(classDisplay) + 1 : 0;
    size_t room = outSize - 1;
    size_t len = 0;
    if (quoted) AppendBounded(out, outSize, &len, "\"", 1);
    if (quotes + baseLen + classLen <= room) {
        AppendBounded(out, outSize, &len, base, baseLen);
    } else {
        // The title gives way: the quotes and the class stay readable.
        size_t keep = room > quotes + classLen + 3 ? room - quotes - classLen - 3 : 0;
        AppendBounded(out, outSize, &len, base, WholeCharBytes(codePage, base, keep));
        AppendBounded(out, outSize, &len, kCut, 3);
    }
    if (quoted) AppendBounded(out, outSize, &len, "\"", 1);
    if (classDisplay) {
        AppendBounded(out, outSize, &len, kClassOpen, strlen(kClassOpen));
        AppendBounded(out, outSize, &len, classDisplay, strlen(classDisplay));
        AppendBounded(out, outSize, &len, "]", 1);
    }
}

// ---- Window commands

enum CommandKind {
    CMD_NONE, CMD_PICK, CMD_INFO, CMD_CLASS, CMD_PROCESS, CMD_MODULE,
    CMD_SWITCH, CMD_CLOSE, CMD_MINIMIZE, CMD_HIDE, CMD_ONTOP
};

static CommandKind KindOfCommand(int id)
{
    switch (id) {
    case IDC_WIN_PICK: return CMD_PICK;
    case IDC_WIN_WINDOW: return CMD_INFO;
    case IDC_WIN_CLASS: case IDC_WI_CLASSINFO: return CMD_CLASS;
    case IDC_WIN_PROCESS: case IDC_WI_PROCESS: return CMD_PROCESS;
    case IDC_WIN_MODULE: case IDC_WI_MODULE: return CMD_MODULE;
    case IDC_WI_SWITCH: return CMD_SWITCH;
    case IDC_WIN_CLOSE: case IDC_WI_CLOSE: return CMD_CLOSE;
    case IDC_WIN_MINIMIZE: case IDC_WI_MINIMIZE: return CMD_MINIMIZE;
    case IDC_WIN_HIDE: case IDC_WI_HIDE: return CMD_HIDE;
    case IDC_WIN_ONTOP: case IDC_WI_ONTOP: return CMD_ONTOP;
    }
    return CMD_NONE;
}

static DWORD OwnerPid(HWND hWnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    return pid;
}

// A window of another thread may answer the first message and hang at the next: it is asked to
// close with a bounded wait, and a thread that does not answer at all gets the request queued.
static void CloseAnyWindow(HWND hWnd)
{
    if (!BelongsToOtherThread(hWnd)) {
        SendMessageA(hWnd, WM_CLOSE, 0, 0);
    } else if (WindowAnswers(hWnd)) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(hWnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, WINDOW_ANSWER_MS, &result);
    } else {
        PostMessageA(hWnd, WM_CLOSE, 0, 0);
    }
}

static void ChangeWindow(HWND hWnd, CommandKind kind)
{
    if (IsChildOrOwned(hWnd) && !ConfirmAction(IDS_CONFIRM_CHILD)) return;
    if (hWnd == GetDesktopWindow() && !ConfirmAction(IDS_CONFIRM_DESKTOP)) return;
    switch (kind) {
    case CMD_SWITCH:
        SwitchToWindow(hWnd);
        break;
    case CMD_CLOSE:
        CloseAnyWindow(hWnd);
        break;
    case CMD_MINIMIZE:
        ShowWindowNoWait(hWnd, IsIconic(hWnd) ? SW_SHOWNOACTIVATE : SW_MINIMIZE);
        break;
    case CMD_HIDE:
        ShowWindowNoWait(hWnd, IsWindowVisible(hWnd) ? SW_HIDE : SW_SHOW);
        break;
    case CMD_ONTOP: {
        bool topmost = (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        SetWindowPos(hWnd, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | (BelongsToOtherThread(hWnd) ? SWP_ASYNCWINDOWPOS : 0));
        break;
    }
    default:
        break;
    }
}

void WindowCommand(HWND hWnd, int commandId)
{
    CommandKind kind = KindOfCommand(commandId);
    if (kind == CMD_NONE) return;
    if (kind == CMD_PICK) {
        HWND picked = PickWindow(g_hMainDlg, g_Options.SkipChildren != 0, NULL);
        if (picked) OpenWindowInfo(picked);
        return;
    }
    if (!IsWindow(hWnd)) {
        ShowErrorBox(IDS_ERR_NOWINDOW);
        return;
    }
    switch (kind) {
    case CMD_INFO:
        OpenWindowInfo(hWnd);
        break;
    case CMD_CLASS:
        OpenClassDialog(hWnd);
        break;
    case CMD_PROCESS:
        OpenProcessDialog(ProcessEntryFor(OwnerPid(hWnd)));
        break;
    case CMD_MODULE:
        OpenModuleInfo(ProcessRecordFor(OwnerPid(hWnd)));
        break;
    default:
        ChangeWindow(hWnd, kind);
        break;
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
    DWORD pid = OwnerPid(hWnd);
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
    const char* classDisplay = NULL;
    if (g_Options.ShowClass && !first) {
        char cls[CLASS_NAME_CHARS] = "";
        GetClassNameA(hWnd, cls, sizeof(cls));
        classDisplay = ClassDisplayName(cls);
    }
    char text[ITEM_TEXT_CHARS];
    FormatTreeItemText(text, sizeof(text), base, quoted, classDisplay);

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

static void AddWindowBranch(HWND hWnd, HTREEITEM parentItem);

struct BranchContext {
    HWND parent;
    HTREEITEM parentItem;
};

static BOOL CALLBACK AddChildProc(HWND hWnd, LPARAM lParam)
{
    const BranchContext* ctx = (const BranchContext*)lParam;
    // The enumeration reaches every descendant; deeper ones are listed under their own parent.
    if (GetAncestor(hWnd, GA_PARENT) == ctx->parent) AddWindowBranch(hWnd, ctx->parentItem);
    return TRUE;
}

static void AddWindowBranch(HWND hWnd, HTREEITEM parentItem)
{
    HTREEITEM item = InsertWindowItem(hWnd, parentItem);
    if (!item) return;
    BranchContext ctx = {hWnd, item};
    EnumChildWindows(hWnd, AddChildProc, (LPARAM)&ctx);
}

static BOOL CALLBACK AddTopLevelProc(HWND hWnd, LPARAM lParam)
{
    AddWindowBranch(hWnd, (HTREEITEM)lParam);
    return TRUE;
}

static void SetCurrentWindow(HWND hPage, HWND hWnd)
{
    s_hCurrent = hWnd;
    SetWindowToggleLabels(hPage, hWnd, IDC_WIN_MINIMIZE, IDC_WIN_HIDE, IDC_WIN_ONTOP);
}

static void ClearTree()
{
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

// Every item shows the same picture: the list is made with the page's first fill and kept.
static void AttachTreeImages()
{
    if (s_hImages || !s_hTree) return;
    int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    s_hImages = ImageList_Create(cx, cy, ILC_MASK, 1, 0);
    HICON icon = (HICON)LoadImageA(g_hInst, MAKEINTRESOURCEA(IDI_TREE_ITEM), IMAGE_ICON, cx, cy, 0);
    if (s_hImages && icon) ImageList_ReplaceIcon(s_hImages, -1, icon);
    if (icon) DestroyIcon(icon);
    SendMessageA(s_hTree, TVM_SETIMAGELIST, TVSIL_NORMAL, (LPARAM)s_hImages);
}

static void FillWindowTree(HWND hPage)
{
    if (!s_hTree) return;
    BeginWaitCursor();
    // A visible tree repaints after every insertion otherwise: seconds for a few thousand windows.
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
        EnumWindows(AddTopLevelProc, (LPARAM)s_hDesktopItem);
        SendMessageA(s_hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)s_hDesktopItem);
        // The selected state alone leaves the control without a caret: make it the selection.
        SendMessageA(s_hTree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)s_hDesktopItem);
    }
    SetCurrentWindow(hPage, desktop);

    SendMessageA(s_hTree, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(s_hTree, NULL, TRUE);
    SetFocus(s_hTree);
    EndWaitCursor();
}

HWND WindowsPageCurrent()
{
    return s_hCurrent;
}

// ---- Page messages

static void WindowsPage_OnInitDialog(HWND hDlg)
{
    BeginWaitCursor();
    HWND placeholder = GetDlgItem(hDlg, IDC_WIN_TREE);
    RECT rc = {0, 0, 0, 0};
    if (placeholder) {
        GetClientRect(placeholder, &rc);
        MapWindowPoints(placeholder, hDlg, (POINT*)&rc, 2);
        DestroyWindow(placeholder);
    }
    s_hTree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", TREE_STYLE, rc.left, rc.top,
                              rc.right - rc.left, rc.bottom - rc.top, hDlg, (HMENU)(INT_PTR)IDC_WIN_TREE,
                              g_hInst, NULL);
    if (s_hTree) {
        SendMessageA(s_hTree, WM_SETFONT, SendMessageA(hDlg, WM_GETFONT, 0, 0), FALSE);
        // The placeholder came first in the tab order; so does the tree.
        SetWindowPos(s_hTree, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    CheckDlgButton(hDlg, IDC_WIN_SHOWCLASS, g_Options.ShowClass ? BST_CHECKED : BST_UNCHECKED);
    EndWaitCursor();
    FillWindowTree(hDlg);
}

static void WindowsPage_OnCommand(HWND hDlg, int id, int code)
{
    switch (id) {
    case IDC_MAIN_REFRESH:
        FillWindowTree(hDlg);
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
    WindowCommand(s_hCurrent, id);
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
    case WM_CONTEXTMENU:
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        break;
    default:
        return FALSE;
    }
    return DlgResult(hDlg, 0);
}
