#include "support/controls.h"

#include <string.h>

// ---- A list view of this process

int RowCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

std::string CellText(HWND list, int row, int column)
{
    char buf[512] = "";
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof(buf);
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return buf;
}

LPARAM RowParamOf(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
    return item.lParam;
}

int RowWithParam(HWND list, LPARAM param)
{
    for (int r = 0; r < RowCount(list); r++)
        if (RowParamOf(list, r) == param) return r;
    return -1;
}

static LVITEMA SelectedState()
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    return item;
}

void SelectRow(HWND list, int row)
{
    LVITEMA item = SelectedState();
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

// ---- A tree view of this process

// Needs no memory of the tree's process: also for trees of other processes.
static HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT how)
{
    return (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, how, (LPARAM)item);
}

HTREEITEM TreeRoot(HWND tree)
{
    return NextItem(tree, NULL, TVGN_ROOT);
}

HTREEITEM TreeParent(HWND tree, HTREEITEM item)
{
    return NextItem(tree, item, TVGN_PARENT);
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent)
{
    std::vector<HTREEITEM> out;
    for (HTREEITEM c = NextItem(tree, parent, TVGN_CHILD); c; c = NextItem(tree, c, TVGN_NEXT)) out.push_back(c);
    return out;
}

static TVITEMA ReadItem(HWND tree, HTREEITEM item, char* buf, int size)
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = size;
    tv.stateMask = 0xFF;
    buf[0] = '\0';
    SendMessageA(tree, TVM_GETITEMA, 0, (LPARAM)&tv);
    return tv;
}

std::string TreeText(HWND tree, HTREEITEM item)
{
    char buf[2048];
    ReadItem(tree, item, buf, sizeof(buf));
    return buf;
}

HWND TreeWindow(HWND tree, HTREEITEM item)
{
    char buf[8];
    return (HWND)ReadItem(tree, item, buf, sizeof(buf)).lParam;
}

UINT TreeState(HWND tree, HTREEITEM item)
{
    char buf[8];
    return ReadItem(tree, item, buf, sizeof(buf)).state;
}

static void CollectItems(HWND tree, HTREEITEM item, std::vector<HTREEITEM>* out)
{
    for (; item; item = NextItem(tree, item, TVGN_NEXT)) {
        out->push_back(item);
        CollectItems(tree, NextItem(tree, item, TVGN_CHILD), out);
    }
}

std::vector<HTREEITEM> TreeItems(HWND tree)
{
    std::vector<HTREEITEM> out;
    CollectItems(tree, TreeRoot(tree), &out);
    return out;
}

std::vector<HTREEITEM> ItemsOfWindow(HWND tree, HWND hWnd)
{
    std::vector<HTREEITEM> out;
    for (HTREEITEM i : TreeItems(tree))
        if (TreeWindow(tree, i) == hWnd) out.push_back(i);
    return out;
}

void SelectTreeItem(HWND tree, HTREEITEM item)
{
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}

// ---- Memory inside another process

RemoteBuffer::RemoteBuffer(HWND w, SIZE_T size)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (process_) mem_ = (char*)VirtualAllocEx(process_, NULL, size, MEM_COMMIT, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer()
{
    if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

bool RemoteBuffer::Write(size_t offset, const void* data, size_t size) const
{
    return mem_ && WriteProcessMemory(process_, mem_ + offset, data, size, NULL);
}

bool RemoteBuffer::Read(size_t offset, void* data, size_t size) const
{
    return mem_ && ReadProcessMemory(process_, mem_ + offset, data, size, NULL);
}

std::string RemoteBuffer::ReadText(size_t offset, size_t chars) const
{
    std::string text(chars + 1, '\0');
    if (!Read(offset, &text[0], chars)) return "";
    return text.c_str();
}

// ---- A list view of another process

int RemoteList::Rows() const
{
    return RowCount(list_);
}

std::string RemoteList::Text(int row, int column) const
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.cchTextMax = 256;
    item.pszText = mem_.At(512);
    mem_.Write(0, &item, sizeof(item));
    SendMessageA(list_, LVM_GETITEMTEXTA, row, (LPARAM)mem_.At());
    return mem_.ReadText(512, 256);
}

std::string RemoteList::ColumnTitle(int column) const
{
    LVCOLUMNA col;
    ZeroMemory(&col, sizeof(col));
    col.mask = LVCF_TEXT;
    col.cchTextMax = 256;
    col.pszText = mem_.At(512);
    mem_.Write(0, &col, sizeof(col));
    if (!SendMessageA(list_, LVM_GETCOLUMNA, column, (LPARAM)mem_.At())) return "";
    return mem_.ReadText(512, 256);
}

int RemoteList::Columns() const
{
    HWND header = (HWND)SendMessageA(list_, LVM_GETHEADER, 0, 0);
    return header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
}

int RemoteList::Selected() const
{
    return (int)SendMessageA(list_, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

RECT RemoteList::RowRect(int row) const
{
    RECT rc = {LVIR_LABEL, 0, 0, 0};
    RECT empty = {0, 0, 0, 0};
    mem_.Write(0, &rc, sizeof(rc));
    if (!SendMessageA(list_, LVM_GETITEMRECT, row, (LPARAM)mem_.At()) || !mem_.Read(0, &rc, sizeof(rc))) return empty;
    MapWindowPoints(list_, NULL, (POINT*)&rc, 2);
    return rc;
}

void RemoteList::Select(int row) const
{
    LVITEMA item = SelectedState();
    mem_.Write(0, &item, sizeof(item));
    SendMessageA(list_, LVM_SETITEMSTATE, row, (LPARAM)mem_.At());
}

// ---- A tree view of another process

HTREEITEM RemoteTree::Root() const
{
    return NextItem(tree_, NULL, TVGN_ROOT);
}

HTREEITEM RemoteTree::Child(HTREEITEM item) const
{
    return NextItem(tree_, item, TVGN_CHILD);
}

HTREEITEM RemoteTree::Next(HTREEITEM item) const
{
    return NextItem(tree_, item, TVGN_NEXT);
}

std::string RemoteTree::Text(HTREEITEM item) const
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_HANDLE | TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = mem_.At(1024);
    tv.cchTextMax = 2048;
    mem_.Write(0, &tv, sizeof(tv));
    SendMessageA(tree_, TVM_GETITEMA, 0, (LPARAM)mem_.At());
    return mem_.ReadText(1024, 2048);
}

HWND RemoteTree::Window(HTREEITEM item) const
{
    TVITEMA tv;
    ZeroMemory(&tv, sizeof(tv));
    tv.mask = TVIF_HANDLE | TVIF_PARAM;
    tv.hItem = item;
    mem_.Write(0, &tv, sizeof(tv));
    SendMessageA(tree_, TVM_GETITEMA, 0, (LPARAM)mem_.At());
    mem_.Read(0, &tv, sizeof(tv));
    return (HWND)tv.lParam;
}

void RemoteTree::Walk(HTREEITEM item, const std::function<void(HTREEITEM)>& fn) const
{
    for (; item; item = Next(item)) {
        fn(item);
        Walk(Child(item), fn);
    }
}

HTREEITEM RemoteTree::Find(HWND hWnd) const
{
    HTREEITEM found = NULL;
    Walk(Root(), [&](HTREEITEM i) { if (!found && Window(i) == hWnd) found = i; });
    return found;
}

int RemoteTree::Count(HWND hWnd) const
{
    int n = 0;
    Walk(Root(), [&](HTREEITEM i) { if (Window(i) == hWnd) n++; });
    return n;
}

void RemoteTree::Select(HTREEITEM item) const
{
    SelectTreeItem(tree_, item);
}

HTREEITEM RemoteTree::Selected() const
{
    return NextItem(tree_, NULL, TVGN_CARET);
}

RECT RemoteTree::ItemRect(HTREEITEM item) const
{
    RECT rc, empty = {0, 0, 0, 0};
    memcpy(&rc, &item, sizeof(item));
    mem_.Write(0, &rc, sizeof(rc));
    if (!SendMessageA(tree_, TVM_GETITEMRECT, TRUE, (LPARAM)mem_.At()) || !mem_.Read(0, &rc, sizeof(rc))) return empty;
    MapWindowPoints(tree_, NULL, (POINT*)&rc, 2);
    return rc;
}

// ---- Tab controls

RECT TabItemRect(HWND tab, int index)
{
    RECT rc = {0, 0, 0, 0};
    RemoteBuffer mem(tab);
    if (!mem.Ok()) return rc;
    if (SendMessageA(tab, TCM_GETITEMRECT, index, (LPARAM)mem.At())) mem.Read(0, &rc, sizeof(rc));
    MapWindowPoints(tab, NULL, (POINT*)&rc, 2);
    return rc;
}
