// List views, tree views and tab controls: read and driven in this process, and in another
// one through memory allocated inside it.
#ifndef VANTIX_SUPPORT_CONTROLS_H
#define VANTIX_SUPPORT_CONTROLS_H

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

// ---- A list view of this process
int RowCount(HWND list);
std::string CellText(HWND list, int row, int column);
LPARAM RowParamOf(HWND list, int row);
// Row whose item parameter is param, or -1.
int RowWithParam(HWND list, LPARAM param);
void SelectRow(HWND list, int row);

// ---- A tree view of this process
HTREEITEM TreeRoot(HWND tree);
HTREEITEM TreeParent(HWND tree, HTREEITEM item);
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);
std::string TreeText(HWND tree, HTREEITEM item);
HWND TreeWindow(HWND tree, HTREEITEM item);
UINT TreeState(HWND tree, HTREEITEM item);
// Every item of the tree, depth first.
std::vector<HTREEITEM> TreeItems(HWND tree);
// The items that stand for a window (exactly one when the tree is right).
std::vector<HTREEITEM> ItemsOfWindow(HWND tree, HWND hWnd);
void SelectTreeItem(HWND tree, HTREEITEM item);

// ---- Controls of another process

// A block of memory inside the process of a window, for the messages that take a pointer.
class RemoteBuffer {
public:
    explicit RemoteBuffer(HWND w, SIZE_T size = 4096);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool Ok() const { return mem_ != NULL; }
    // The block's address in the other process, at offset bytes.
    char* At(size_t offset = 0) const { return mem_ + offset; }
    bool Write(size_t offset, const void* data, size_t size) const;
    bool Read(size_t offset, void* data, size_t size) const;
    std::string ReadText(size_t offset, size_t chars) const;

private:
    HANDLE process_ = NULL;
    char* mem_ = NULL;
};

// A list view of another process.
class RemoteList {
public:
    explicit RemoteList(HWND list) : list_(list), mem_(list) {}
    bool Ok() const { return mem_.Ok(); }
    int Rows() const;
    std::string Text(int row, int column) const;
    // The title of a column.
    std::string ColumnTitle(int column) const;
    int Columns() const;
    void Select(int row) const;
    // The first selected row, -1 when none.
    int Selected() const;
    // A row's rectangle on the screen (its first column), empty when it is not shown.
    RECT RowRect(int row) const;

private:
    HWND list_;
    RemoteBuffer mem_;
};

// A tree view of another process.
class RemoteTree {
public:
    explicit RemoteTree(HWND tree) : tree_(tree), mem_(tree) {}
    bool Ok() const { return mem_.Ok(); }
    HTREEITEM Root() const;
    HTREEITEM Child(HTREEITEM item) const;
    HTREEITEM Next(HTREEITEM item) const;
    std::string Text(HTREEITEM item) const;
    HWND Window(HTREEITEM item) const;
    // The first item, depth first, that stands for the window; NULL when there is none.
    HTREEITEM Find(HWND hWnd) const;
    int Count(HWND hWnd) const;
    void Select(HTREEITEM item) const;
    // The selected item, NULL when none.
    HTREEITEM Selected() const;
    // An item's text rectangle on the screen, empty when it is not shown.
    RECT ItemRect(HTREEITEM item) const;

private:
    void Walk(HTREEITEM item, const std::function<void(HTREEITEM)>& fn) const;
    HWND tree_;
    RemoteBuffer mem_;
};

// Screen rectangle of one tab of a tab control, also of another process.
RECT TabItemRect(HWND tab, int index);

#endif
