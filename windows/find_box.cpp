// The Find box of the Windows page.
#include "windows/find_box.h"
#include "windows/window_query.h"
#include "processes/snapshot.h"
#include "app/contextmenu.h"
#include "app/dlgservices.h"
#include "app/help.h"
#include "app/program.h"
#include "app/resstring.h"
#include "resource.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <string.h>

#define FIND_TEXT_CHARS 256
#define FIND_ITEM_CHARS 1024
#define FIND_CLASS_CHARS 256

static HWND s_hFindBox;
static HWND s_hFindTree;
// What was looked for last, kept while the program runs.
static char s_szFindText[FIND_TEXT_CHARS];
static bool s_bMatchCase;

// ---- Matching (pure)

// A copy of text in lower case (of the program's code page), cut to outSize - 1.
static void LowerCopy(const char* text, char* out, size_t outSize)
{
    lstrcpynA(out, text, (int)outSize);
    CharLowerBuffA(out, (DWORD)strlen(out));
}

static bool ContainsText(const char* text, const char* what, bool matchCase)
{
    if (!text || !*text) return false;
    if (matchCase) return strstr(text, what) != NULL;
    char hay[FIND_ITEM_CHARS], needle[FIND_TEXT_CHARS];
    LowerCopy(text, hay, sizeof(hay));
    LowerCopy(what, needle, sizeof(needle));
    return strstr(hay, needle) != NULL;
}

// The handle's digits hold what (without 0x), when what is a hexadecimal number at all.
static bool HandleContains(DWORD handle, const char* what)
{
    if (what[0] == '0' && (what[1] == 'x' || what[1] == 'X')) what += 2;
    size_t n = strlen(what);
    if (n == 0 || n > 8 || strspn(what, "0123456789abcdefABCDEF") != n) return false;
    char digits[16], wanted[16];
    snprintf(digits, sizeof(digits), "%08X", (unsigned)handle);
    lstrcpynA(wanted, what, sizeof(wanted));
    CharUpperBuffA(wanted, (DWORD)n);
    return strstr(digits, wanted) != NULL;
}

bool FindKeysMatch(const FindKeys& keys, const char* what, bool matchCase)
{
    if (!what || !*what) return false;
    return ContainsText(keys.text, what, matchCase) || ContainsText(keys.className, what, matchCase) ||
           ContainsText(keys.processName, what, matchCase) || HandleContains(keys.handle, what);
}

int NextMatchingIndex(int count, int current, bool forward, FindMatchProc matches, void* context, bool* wrapped)
{
    *wrapped = false;
    if (count <= 0) return -1;
    if (current < -1 || current >= count) current = -1;
    int at = current;
    for (int step = 0; step < count; step++) {
        if (forward) {
            at++;
            if (at >= count) {
                at = 0;
                if (current >= 0) *wrapped = true;
            }
        } else {
            at--;
            if (at < 0) {
                at = count - 1;
                if (current >= 0) *wrapped = true;
            }
        }
        if (matches(at, context)) return at;
    }
    *wrapped = false;
    return -1;
}

// ---- The tree as a list of items

struct ProcessName {
    DWORD pid;
    char name[BASE_NAME_CHARS];
};

// One search: the items depth first, and the programs' names, read once and only if a search
// gets that far.
struct TreeSearch {
    HWND tree;
    HTREEITEM* items;
    int count;
    const char* what;
    bool matchCase;
    ProcessName* names;
    int nameCount;
    bool namesRead;
};

static HTREEITEM TreeNext(HWND tree, HTREEITEM item, UINT how)
{
    return (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

// Depth first, as the tree shows its items from the top down when every item is expanded.
static bool CollectItems(TreeSearch* s)
{
    int total = (int)SendMessageA(s->tree, TVM_GETCOUNT, 0, 0);
    if (total <= 0) return false;
    s->items = (HTREEITEM*)HeapAlloc(GetProcessHeap(), 0, (size_t)total * sizeof(HTREEITEM));
    if (!s->items) return false;
    HTREEITEM at = TreeNext(s->tree, NULL, TVGN_ROOT);
    while (at && s->count < total) {
        s->items[s->count++] = at;
        HTREEITEM next = TreeNext(s->tree, at, TVGN_CHILD);
        while (!next && at) {
            next = TreeNext(s->tree, at, TVGN_NEXT);
            if (!next) at = TreeNext(s->tree, at, TVGN_PARENT);
        }
        at = next;
    }
    return true;
}

static void ReadProcessNames(TreeSearch* s)
{
    s->namesRead = true;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return;
    int capacity = 0;
    PROCESSENTRY32 pe;
    pe.dwSize = sizeof(pe);
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (s->nameCount == capacity) {
            int grown = capacity ? capacity * 2 : 128;
            void* p = s->names ? HeapReAlloc(GetProcessHeap(), 0, s->names, (size_t)grown * sizeof(ProcessName))
                               : HeapAlloc(GetProcessHeap(), 0, (size_t)grown * sizeof(ProcessName));
            if (!p) break;
            s->names = (ProcessName*)p;
            capacity = grown;
        }
        ProcessName* n = &s->names[s->nameCount++];
        n->pid = pe.th32ProcessID;
        BaseNameOf(pe.szExeFile, CP_ACP, n->name, sizeof(n->name));
    }
    CloseHandle(snap);
}

static const char* ProcessNameOf(TreeSearch* s, HWND hWnd)
{
    if (!s->namesRead) ReadProcessNames(s);
    DWORD pid = OwnerProcessId(hWnd);
    for (int i = 0; i < s->nameCount; i++)
        if (s->names[i].pid == pid) return s->names[i].name;
    return NULL;
}

static bool ItemMatches(int index, void* context)
{
    TreeSearch* s = (TreeSearch*)context;
    char text[FIND_ITEM_CHARS] = "";
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_TEXT | TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = s->items[index];
    tv.pszText = text;
    tv.cchTextMax = sizeof(text);
    if (!SendMessageA(s->tree, TVM_GETITEMA, 0, (LPARAM)&tv)) return false;
    // The text is what the tree read when it was filled: a program that stopped answering is
    // not asked again. The class and the owner are known without asking the window.
    HWND hWnd = (HWND)tv.lParam;
    char cls[FIND_CLASS_CHARS] = "";
    GetClassNameA(hWnd, cls, sizeof(cls));
    FindKeys keys = {text, cls, NULL, HandleValue(hWnd)};
    if (FindKeysMatch(keys, s->what, s->matchCase)) return true;
    // The programs' names take a snapshot of the processes: only when nothing else matched.
    return ContainsText(ProcessNameOf(s, hWnd), s->what, s->matchCase);
}

// ---- Searching

static void SetNote(UINT id)
{
    if (s_hFindBox) SetDlgItemTextA(s_hFindBox, IDC_FIND_NOTE, id ? LoadResString(id) : "");
}

static void FindInTree(bool forward)
{
    HWND tree = s_hFindTree;
    if (!tree || !IsWindow(tree) || !s_szFindText[0]) return;
    TreeSearch s;
    ZeroMemory(&s, sizeof(s));
    s.tree = tree;
    s.what = s_szFindText;
    s.matchCase = s_bMatchCase;
    if (CollectItems(&s)) {
        HTREEITEM selected = TreeNext(tree, NULL, TVGN_CARET);
        int current = -1;
        for (int i = 0; i < s.count && current < 0; i++)
            if (s.items[i] == selected) current = i;
        bool wrapped = false;
        int found = NextMatchingIndex(s.count, current, forward, ItemMatches, &s, &wrapped);
        if (found < 0) {
            SetNote(IDS_FIND_NONE);
        } else {
            // The selection expands the parents; the page takes the window as its current one.
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)s.items[found]);
            SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)s.items[found]);
            SetNote(wrapped ? (forward ? IDS_FIND_WRAPPED_END : IDS_FIND_WRAPPED_START) : 0);
        }
    }
    if (s.items) HeapFree(GetProcessHeap(), 0, s.items);
    if (s.names) HeapFree(GetProcessHeap(), 0, s.names);
}

// ---- The box

static void ReadBox(HWND hDlg)
{
    GetDlgItemTextA(hDlg, IDC_FIND_WHAT, s_szFindText, sizeof(s_szFindText));
    s_bMatchCase = IsDlgButtonChecked(hDlg, IDC_FIND_MATCHCASE) == BST_CHECKED;
}

static void SelectFindText(HWND hDlg)
{
    HWND edit = GetDlgItem(hDlg, IDC_FIND_WHAT);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

// Beside the owner where the screen has room, so that the tree stays in view; over its right
// edge otherwise.
static void PlaceFindBox(HWND hDlg, HWND owner)
{
    RECT box, by;
    GetWindowRect(hDlg, &box);
    if (!owner || !GetWindowRect(owner, &by)) return;
    int w = box.right - box.left;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = by.right + 4 + w <= work.right ? by.right + 4 : by.right - w - 8;
    if (x < work.left) x = work.left;
    SetWindowPos(hDlg, NULL, x, by.top + 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static void FindBox_OnInitDialog(HWND hDlg)
{
    SendDlgItemMessageA(hDlg, IDC_FIND_WHAT, EM_LIMITTEXT, FIND_TEXT_CHARS - 1, 0);
    SetDlgItemTextA(hDlg, IDC_FIND_WHAT, s_szFindText);
    CheckDlgButton(hDlg, IDC_FIND_MATCHCASE, s_bMatchCase ? BST_CHECKED : BST_UNCHECKED);
    PlaceFindBox(hDlg, GetWindow(hDlg, GW_OWNER));
    SelectFindText(hDlg);
}

static void FindBox_OnCommand(HWND hDlg, int id, int code)
{
    switch (id) {
    case IDC_FIND_NEXT:
        ReadBox(hDlg);
        FindInTree(true);
        break;
    case IDC_FIND_MATCHCASE:
        if (code == BN_CLICKED) ReadBox(hDlg);
        break;
    case IDCANCEL:
        DestroyWindow(hDlg);
        break;
    case IDC_INFO_HELP:
        ShowHelpTopic(IDC_FIND_TOPIC);
        break;
    }
}

static bool FindBox_OnProgramKey(HWND hDlg, int command)
{
    switch (command) {
    case IDC_CTX_FIND:
        SelectFindText(hDlg);
        return true;
    case IDC_CTX_FINDNEXT:
    case IDC_CTX_FINDPREV:
        ReadBox(hDlg);
        FindInTree(command == IDC_CTX_FINDNEXT);
        return true;
    }
    // Ctrl+C copies in the field, as everywhere.
    return false;
}

static INT_PTR CALLBACK FindBoxProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        FindBox_OnInitDialog(hDlg);
        return FALSE;
    case WM_COMMAND:
        FindBox_OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_PROGRAM_KEY:
        return DlgResult(hDlg, FindBox_OnProgramKey(hDlg, (int)wParam));
    case WM_DESTROY:
        if (s_hFindBox == hDlg) s_hFindBox = NULL;
        break;
    case WM_DPICHANGED:
        TakeDpiChange(hDlg, (const RECT*)lParam);
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

HWND OpenFindBox(HWND owner, HWND tree)
{
    s_hFindTree = tree;
    if (s_hFindBox && IsWindow(s_hFindBox)) {
        ShowWindow(s_hFindBox, SW_SHOW);
        SetForegroundWindow(s_hFindBox);
        SelectFindText(s_hFindBox);
        return s_hFindBox;
    }
    s_hFindBox = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_FIND), owner, FindBoxProc, 0);
    if (s_hFindBox) ShowWindow(s_hFindBox, SW_SHOW);
    return s_hFindBox;
}

void FindAgain(HWND owner, HWND tree, bool forward)
{
    s_hFindTree = tree;
    // What the open box shows is what is looked for, typed in it or not yet.
    if (s_hFindBox && IsWindow(s_hFindBox)) ReadBox(s_hFindBox);
    if (!s_szFindText[0]) {
        OpenFindBox(owner, tree);
        return;
    }
    FindInTree(forward);
}

void CloseFindBox()
{
    if (s_hFindBox && IsWindow(s_hFindBox)) DestroyWindow(s_hFindBox);
    s_hFindBox = NULL;
    s_hFindTree = NULL;
}

HWND FindBoxWindow()
{
    return s_hFindBox;
}
