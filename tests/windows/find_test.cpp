// The Windows page's Find box, Copy, Refresh and Pick on a hierarchy of a few hundred windows of
// the test's own and on a program of another process, inside the real main dialog; the keys go
// through the program's loop.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>
#include "win_helpers.h"
#include "support/controls.h"
#include "support/dialogs.h"
#include "support/pictures.h"
#include "integration/dialog_fixture.h"
#include "windows/find_box.h"
#include "windows/window_query.h"
#include "windows/windows_page.h"

namespace {

const int kGroups = 12;
const int kItems = 25;

LRESULT CALLBACK PlainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(h, msg, wp, lp);
}

void RegisterOnce(const char* name)
{
    WNDCLASSA wc;
    if (GetClassInfoA(GetModuleHandleA(NULL), name, &wc)) return;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

// A hidden top-level window "Find top" with 12 groups of 25 items each (313 windows): the item
// titles are "Find item GG.II"; one item has a class of its own.
struct FindTree {
    HWND top = NULL;
    HWND groups[kGroups] = {};
    HWND items[kGroups][kItems] = {};
    HWND needle = NULL;   // item 03.04, class VantixFindNeedle

    FindTree()
    {
        RegisterOnce("VantixFindTop");
        RegisterOnce("VantixFindGroup");
        RegisterOnce("VantixFindItem");
        RegisterOnce("VantixFindNeedle");
        HINSTANCE inst = GetModuleHandleA(NULL);
        top = CreateWindowExA(0, "VantixFindTop", "Find top", WS_OVERLAPPEDWINDOW, 700, 100, 300, 200, NULL, NULL,
                              inst, NULL);
        char title[64];
        for (int g = 0; g < kGroups; g++) {
            snprintf(title, sizeof(title), "Find group %02d", g);
            groups[g] = CreateWindowExA(0, "VantixFindGroup", title, WS_CHILD, 0, 0, 10, 10, top,
                                        (HMENU)(INT_PTR)(100 + g), inst, NULL);
            for (int i = 0; i < kItems; i++) {
                snprintf(title, sizeof(title), "Find item %02d.%02d", g, i);
                const char* cls = g == 3 && i == 4 ? "VantixFindNeedle" : "VantixFindItem";
                items[g][i] = CreateWindowExA(0, cls, title, WS_CHILD, 0, 0, 5, 5, groups[g],
                                              (HMENU)(INT_PTR)(1000 + i), inst, NULL);
            }
        }
        needle = items[3][4];
    }
    ~FindTree()
    {
        if (IsWindow(top)) DestroyWindow(top);
    }
};

// The rectangle of an item's text in the tree's client area; false when it is not shown.
bool ItemTextRect(HWND tree, HTREEITEM item, RECT* rc)
{
    memcpy(rc, &item, sizeof(item));
    return SendMessageA(tree, TVM_GETITEMRECT, TRUE, (LPARAM)rc) != 0;
}

class FindOnPage : public DialogTest {
protected:
    HWND page = NULL;
    HWND tree = NULL;

    void OpenPage(bool showClass = false)
    {
        g_Options.PageIndex = 2;
        g_Options.ShowClass = showClass ? 1 : 0;
        ASSERT_TRUE(OpenMain());
        page = g_hPage;
        tree = GetDlgItem(page, IDC_WIN_TREE);
        ASSERT_TRUE(tree);
    }
    void TearDown() override
    {
        if (FindBoxWindow()) DestroyWindow(FindBoxWindow());
        DialogTest::TearDown();
    }
    HTREEITEM ItemOf(HWND hWnd)
    {
        auto items = ItemsOfWindow(tree, hWnd);
        return items.size() == 1 ? items[0] : NULL;
    }
    HWND Selected() { return TreeWindow(tree, (HTREEITEM)SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)); }
    bool Expanded(HWND hWnd) { return ItemOf(hWnd) && (TreeState(tree, ItemOf(hWnd)) & TVIS_EXPANDED); }
    // The item is shown: every item above it expanded and the item within the tree's client area.
    bool InView(HWND hWnd)
    {
        HTREEITEM item = ItemOf(hWnd);
        if (!item) return false;
        for (HTREEITEM p = TreeParent(tree, item); p; p = TreeParent(tree, p))
            if (!(TreeState(tree, p) & TVIS_EXPANDED)) return false;
        RECT rc, client;
        if (!ItemTextRect(tree, item, &rc)) return false;
        GetClientRect(tree, &client);
        return rc.top >= client.top && rc.bottom <= client.bottom;
    }
    // Ctrl+F on the tree, the text typed and Find next pressed.
    HWND Find(const std::string& what, bool matchCase = false)
    {
        HWND box = FindBoxWindow();
        if (!box) {
            PressKeyIn(tree, 'F', true);
            box = FindBoxWindow();
        }
        if (!box) return NULL;
        SetDlgItemTextA(box, IDC_FIND_WHAT, what.c_str());
        CheckDlgButton(box, IDC_FIND_MATCHCASE, matchCase ? BST_CHECKED : BST_UNCHECKED);
        PressButton(box, IDC_FIND_NEXT);
        return box;
    }
    std::string Note() { return FindBoxWindow() ? DlgText(FindBoxWindow(), IDC_FIND_NOTE) : "<no box>"; }
};

TEST_F(FindOnPage, CtrlFOpensTheBoxWhichFindsByTitleClassHandleAndProgram)
{
    FindTree t;
    WindowsFixture other("Find fixture of another program", "--children 3");
    ASSERT_TRUE(other.Window());
    OpenPage();
    ASSERT_EQ(GetDesktopWindow(), WindowsPageCurrent());
    ASSERT_FALSE(FindBoxWindow());

    PressKeyIn(tree, 'F', true);
    HWND box = FindBoxWindow();
    ASSERT_TRUE(box) << "Ctrl+F opens the Find box";
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(GetWindow(box, GW_OWNER), g_hMainDlg) << "it belongs to the main dialog";
    char caption[32];
    GetWindowTextA(box, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Find");
    EXPECT_EQ(GetFocus(), GetDlgItem(box, IDC_FIND_WHAT)) << "ready for the text";
    SaveWindowShot(box, "find_box");

    // By title: deep in a collapsed branch; the branch opens, the item comes into view and it
    // becomes the window the page's buttons act on.
    HWND target = t.items[9][17];
    ASSERT_FALSE(Expanded(t.top));
    Find("item 09.17");
    EXPECT_EQ(target, Selected());
    EXPECT_EQ(target, WindowsPageCurrent());
    EXPECT_TRUE(Expanded(t.top));
    EXPECT_TRUE(Expanded(t.groups[9]));
    EXPECT_TRUE(InView(target));
    EXPECT_EQ("", Note());

    // By class, with and without Match case.
    Find("vantixfindneedle", true);
    EXPECT_EQ(target, Selected()) << "Match case: the class is spelt otherwise";
    EXPECT_EQ("No window matches.", Note());
    Find("vantixfindneedle");
    EXPECT_EQ(t.needle, Selected());
    EXPECT_TRUE(InView(t.needle));

    // By handle, with and without 0x, in either case; all eight digits, which no other window
    // has.
    HWND byHandle = t.items[7][20];
    char hex[32];
    snprintf(hex, sizeof(hex), "0x%08x", (unsigned)HandleValue(byHandle));
    Find(hex);
    EXPECT_EQ(byHandle, Selected()) << hex;
    Find("item 00.00");
    snprintf(hex, sizeof(hex), "%08X", (unsigned)HandleValue(byHandle));
    Find(hex);
    EXPECT_EQ(byHandle, Selected()) << hex;

    // By the name of the program that owns it: the first window of that program after the
    // selected one in the tree's order.
    Find("Find top");
    std::vector<HTREEITEM> all = TreeItems(tree);
    HWND firstOfOther = NULL;
    for (HTREEITEM i : all) {
        HWND w = TreeWindow(tree, i);
        if (OwnerProcessId(w) == other.Pid()) {
            firstOfOther = w;
            break;
        }
    }
    ASSERT_TRUE(firstOfOther);
    Find("windows_fixture");
    EXPECT_EQ(firstOfOther, Selected());
    EXPECT_EQ(other.Pid(), OwnerProcessId(Selected()));
    SaveWindowShot(g_hMainDlg, "find_found");

    // Nothing matches: the selection stays, the box says so.
    HWND before = Selected();
    Find("no window is called this");
    EXPECT_EQ(before, Selected());
    EXPECT_EQ("No window matches.", Note());

    // Escape closes the box as it closes any dialog.
    PressKeyIn(GetDlgItem(box, IDC_FIND_WHAT), VK_ESCAPE);
    PumpMessages(50);
    EXPECT_FALSE(FindBoxWindow());
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindow(g_hMainDlg)) << "the main dialog stays";
}

TEST_F(FindOnPage, F3GoesOnShiftF3GoesBackAndBothGoRoundWithANote)
{
    FindTree t;
    OpenPage();
    // F3 with nothing to look for opens the box. (A search for nothing leaves nothing to look
    // for, whatever an earlier test looked for.)
    Find("");
    ASSERT_TRUE(FindBoxWindow());
    DestroyWindow(FindBoxWindow());
    PressKeyIn(tree, VK_F3);
    HWND box = FindBoxWindow();
    ASSERT_TRUE(box) << "F3 opened the box";
    // "item 11.2" matches items 11.20 to 11.24.
    Find("item 11.2");
    EXPECT_EQ(t.items[11][20], Selected());
    for (int i = 21; i <= 24; i++) {
        PressKeyIn(tree, VK_F3);
        EXPECT_EQ(t.items[11][i], Selected()) << i;
        EXPECT_EQ("", Note()) << i;
    }
    PressKeyIn(tree, VK_F3);
    EXPECT_EQ(t.items[11][20], Selected()) << "round to the first";
    EXPECT_EQ("Passed the last window: went on from the top.", Note());
    PressKeyIn(tree, VK_F3, false, true);
    EXPECT_EQ(t.items[11][24], Selected()) << "Shift+F3 goes back, round to the last";
    EXPECT_EQ("Passed the first window: went on from the bottom.", Note());
    PressKeyIn(tree, VK_F3, false, true);
    EXPECT_EQ(t.items[11][23], Selected());
    EXPECT_EQ("", Note());

    // The keys work in the box too, and on the page's buttons with the box closed.
    PressKeyIn(GetDlgItem(box, IDC_FIND_WHAT), VK_F3);
    EXPECT_EQ(t.items[11][24], Selected());
    DestroyWindow(box);
    ASSERT_FALSE(FindBoxWindow());
    PressKeyIn(GetDlgItem(page, IDC_WIN_WINDOW), VK_F3, false, true);
    EXPECT_EQ(t.items[11][23], Selected());
    EXPECT_FALSE(FindBoxWindow()) << "with a text looked for, F3 finds without the box";
    PressKeyIn(GetDlgItem(g_hMainDlg, IDC_MAIN_REFRESH), 'F', true);
    EXPECT_TRUE(FindBoxWindow()) << "Ctrl+F on the main dialog's buttons is the shown page's";
    EXPECT_EQ("item 11.2", DlgText(FindBoxWindow(), IDC_FIND_WHAT)) << "the box remembers the text";
    // F3 looks for what the open box shows, even before Find next was pressed.
    SetDlgItemTextA(FindBoxWindow(), IDC_FIND_WHAT, "item 04.0");
    PressKeyIn(tree, VK_F3);
    EXPECT_EQ(t.items[4][0], Selected());

    // The box goes with the page.
    SelectTab(0);
    EXPECT_FALSE(FindBoxWindow());
}

TEST_F(FindOnPage, CopyGivesTheSelectedWindowAndEverythingBelowItIndented)
{
    FindTree t;
    OpenPage(true);
    HTREEITEM group = ItemOf(t.groups[3]);
    ASSERT_TRUE(group);
    SelectTreeItem(tree, group);
    ASSERT_FALSE(TreeState(tree, group) & TVIS_EXPANDED) << "collapsed: its items are copied all the same";

    DWORD seq = GetClipboardSequenceNumber();
    PressKeyIn(tree, 'C', true);
    std::string text = WaitForClipboardText(seq, 3000);
    std::string expected = TreeText(tree, group) + "\r\n";
    for (HTREEITEM item : TreeChildren(tree, group)) expected += "  " + TreeText(tree, item) + "\r\n";
    EXPECT_EQ(expected, text);
    EXPECT_NE(std::string::npos, text.find("  \"Find item 03.04\"    [VantixFindNeedle]\r\n")) << text;

    // Three levels: the top window, its groups, their items.
    SelectTreeItem(tree, ItemOf(t.top));
    seq = GetClipboardSequenceNumber();
    PressKeyIn(tree, 'C', true);
    text = WaitForClipboardText(seq, 3000);
    EXPECT_EQ(0u, text.find("\"Find top\"    [VantixFindTop]\r\n  \"Find group 00\"    [VantixFindGroup]\r\n"
                            "    \"Find item 00.00\"    [VantixFindItem]\r\n"))
        << text.substr(0, 200);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ((size_t)(1 + kGroups + kGroups * kItems), lines);

    // The right-click menu of the tree copies the item clicked.
    HTREEITEM needle = ItemOf(t.needle);
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)needle);
    RECT rc;
    ASSERT_TRUE(ItemTextRect(tree, needle, &rc));
    MapWindowPoints(tree, NULL, (POINT*)&rc, 2);
    POINT at = Center(rc);
    seq = GetClipboardSequenceNumber();
    ChooseFromNextMenu(IDC_CTX_COPY);
    SendMessageA(page, WM_CONTEXTMENU, (WPARAM)tree, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(NextMenuShowedItem());
    EXPECT_EQ((std::vector<std::string>{"&Copy\tCtrl+C", "-", "&Find...\tCtrl+F", "Find &next\tF3",
                                        "Find &previous\tShift+F3", "-", "What's &This?"}),
              LastMenuItems());
    EXPECT_EQ(t.needle, WindowsPageCurrent()) << "the right click selected the item";
    EXPECT_EQ("\"Find item 03.04\"    [VantixFindNeedle]\r\n", WaitForClipboardText(seq, 3000));

    // Ctrl+C on a button copies nothing: Copy belongs to the tree.
    seq = GetClipboardSequenceNumber();
    PressKeyIn(GetDlgItem(page, IDC_WIN_PICK), 'C', true);
    EXPECT_EQ(seq, GetClipboardSequenceNumber());
}

TEST_F(FindOnPage, RefreshKeepsTheSelectedWindowAndTheOpenBranches)
{
    FindTree t;
    OpenPage();
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)ItemOf(t.top));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)ItemOf(t.groups[2]));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)ItemOf(t.groups[5]));
    SelectTreeItem(tree, ItemOf(t.items[5][10]));
    ASSERT_EQ(t.items[5][10], WindowsPageCurrent());
    // A window that came after the fill shows after the refresh.
    HWND later = CreateWindowExA(0, "VantixFindItem", "Find item later", WS_CHILD, 0, 0, 5, 5, t.groups[5], NULL,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_FALSE(ItemOf(later));

    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_TRUE(ItemOf(later)) << "read anew";
    EXPECT_EQ(t.items[5][10], WindowsPageCurrent());
    EXPECT_EQ(t.items[5][10], Selected());
    EXPECT_TRUE(InView(t.items[5][10]));
    EXPECT_TRUE(Expanded(t.top));
    EXPECT_TRUE(Expanded(t.groups[2]));
    EXPECT_TRUE(Expanded(t.groups[5]));
    EXPECT_FALSE(Expanded(t.groups[3])) << "what was closed stays closed";
    EXPECT_TRUE(Expanded(GetDesktopWindow()));

    // The selected window has gone: the selection falls back to the desktop, the branches stay.
    DestroyWindow(t.items[5][10]);
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_EQ(GetDesktopWindow(), WindowsPageCurrent());
    EXPECT_EQ(GetDesktopWindow(), Selected());
    EXPECT_TRUE(Expanded(t.groups[2]));
    EXPECT_TRUE(Expanded(t.groups[5]));

    // Branches inside a closed one are out of the user's reach: the refresh opens none of them.
    SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, (LPARAM)ItemOf(t.top));
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_FALSE(Expanded(t.top));
    EXPECT_FALSE(Expanded(t.groups[2]));
    EXPECT_FALSE(Expanded(t.groups[5]));

    // Show class still reads the tree afresh, as it always did: back to the desktop, top-level
    // windows only.
    SelectTreeItem(tree, ItemOf(t.items[2][3]));
    CheckDlgButton(page, IDC_WIN_SHOWCLASS, BST_CHECKED);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_WIN_SHOWCLASS, BN_CLICKED), 0);
    EXPECT_EQ(GetDesktopWindow(), WindowsPageCurrent());
    EXPECT_FALSE(Expanded(t.top));
}

}  // namespace
