// The running program driven from outside with real keys and clicks (xdotool): on the Windows
// page Ctrl+F finds a window of another program among a few hundred, F3 goes round, Escape
// closes the Find box; Ctrl+C copies a branch of the tree; Pick selects the picked window in the
// tree (a window newer than the tree too) and opens its Window Information, whose Ctrl+C copies
// its fields; the Class Information and the Task Manager list copy too. This process reads
// the clipboard and compares it with what the controls show.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "win_helpers.h"
#include "support/controls.h"
#include "support/pictures.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "resource.h"

namespace {

// The item of a window in the tree once it shows there, selected and clicked: the tree has the
// focus and the main dialog is in front.
bool ClickItem(const RemoteTree& rt, HWND tree, HTREEITEM item)
{
    rt.Select(item);
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, (LPARAM)item);
    RECT rc = rt.ItemRect(item);
    if (IsRectEmpty(&rc)) return false;
    ClickAt(Center(rc));
    return WaitUntil([&] { return FocusOf(tree) == tree && rt.Selected() == item; }, 5000);
}

// "Label: value" of a field as the copy shows it.
std::string Line(const char* label, HWND field)
{
    return std::string(label) + ": " + WindowText(field) + "\r\n";
}

class PowerEndToEnd : public testing::Test {
protected:
    SettingsGuard settings;
    void StartOn(int pageIndex)
    {
        OptionsRecord rec;
        SetOptionsDefaults(&rec);
        rec.PageIndex = pageIndex;
        settings.Store(rec);
    }
    static DWORD EmptyClipboardNow()
    {
        if (OpenClipboard(NULL)) {
            EmptyClipboard();
            CloseClipboard();
        }
        return GetClipboardSequenceNumber();
    }
};

TEST_F(PowerEndToEnd, FindCopyAndPickOnTheWindowsPage)
{
    StartOn(2);
    WindowsFixture many("Vantix find fixture", "--children 250");
    ASSERT_TRUE(many.Window()) << "windows_fixture did not start";
    HWND needle = NULL;
    // The children follow their window.
    ASSERT_TRUE(WaitUntil([&] { return FindWindowExA(many.Window(), NULL, NULL, "child 249") != NULL; }, 10000));
    needle = FindWindowExA(many.Window(), NULL, NULL, "child 137");
    ASSERT_TRUE(needle);

    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg) << "the main dialog did not appear";
    HWND page = ShownPage(dlg);
    ASSERT_TRUE(page);
    HWND tree = GetDlgItem(page, IDC_WIN_TREE);
    RemoteTree rt(tree);
    ASSERT_TRUE(rt.Ok());
    ASSERT_TRUE(ClickItem(rt, tree, rt.Root())) << "the tree took the click";

    // Ctrl+F, the text typed, Enter.
    Xdotool("key ctrl+f", 0);
    HWND box = WaitForTopWindow(v.Pid(), "#32770", "Find", true, 10000);
    ASSERT_TRUE(box) << "Ctrl+F opened the Find box";
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(box) == GetDlgItem(box, IDC_FIND_WHAT); }, 5000));
    Xdotool("type --delay 20 \"child 137\"", 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(box, IDC_FIND_WHAT)) == "child 137"; }, 10000))
        << "typed: " << WindowText(GetDlgItem(box, IDC_FIND_WHAT));
    Xdotool("key Return", 0);
    EXPECT_TRUE(WaitUntil([&] { return rt.Window(rt.Selected()) == needle; }, 10000))
        << "the child of the other program is selected";
    RECT shown = rt.ItemRect(rt.Selected());
    EXPECT_FALSE(IsRectEmpty(&shown)) << "in view, its parents expanded";
    SaveScreenShot("find_box_in_use");

    // F3 goes round to the same window, and says so.
    Xdotool("key F3", 0);
    EXPECT_TRUE(WaitUntil([&] {
        return WindowText(GetDlgItem(box, IDC_FIND_NOTE)) == "Passed the last window: went on from the top.";
    }, 10000)) << WindowText(GetDlgItem(box, IDC_FIND_NOTE));
    EXPECT_EQ(needle, rt.Window(rt.Selected()));
    Xdotool("key Escape", 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 5000)) << "Escape closes the box";
    EXPECT_TRUE(IsWindowVisible(dlg)) << "and only the box";

    // Ctrl+C on the other program's top window: it and its 250 children, indented.
    HTREEITEM top = rt.Find(many.Window());
    ASSERT_TRUE(top);
    ASSERT_TRUE(ClickItem(rt, tree, top));
    DWORD seq = EmptyClipboardNow();
    Xdotool("key ctrl+c", 0);
    std::string text = WaitForClipboardText(seq, 10000);
    std::string expected = rt.Text(top) + "\r\n";
    for (HTREEITEM c = rt.Child(top); c; c = rt.Next(c)) expected += "  " + rt.Text(c) + "\r\n";
    EXPECT_EQ(expected, text);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(251u, lines);
    EXPECT_EQ(0u, text.find("\"Vantix find fixture\"")) << text.substr(0, 100);

    // Pick a window that came after the tree was filled: it is selected in the tree, and its
    // Window Information opens.
    WindowsFixture later("Vantix picked later", "");
    ASSERT_TRUE(later.Window());
    SetWindowPos(later.Window(), HWND_TOP, 700, 300, 300, 200, SWP_NOACTIVATE);
    ASSERT_FALSE(rt.Find(later.Window()));
    ClickCenter(GetDlgItem(page, IDC_WIN_PICK), 1, 0);
    RECT lr = WindowRect(later.Window());
    HWND frame = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (frame = FindTopWindow(v.Pid(), "Vantix_PickFrame", NULL, false)) != NULL; },
                          10000));
    MoveMouseTo(POINT{lr.right - 60, lr.bottom - 40}, 0);
    MoveMouseTo(POINT{lr.right - 40, lr.bottom - 30}, 0);
    EXPECT_TRUE(WaitUntil([&] {
        RECT a = WindowRect(frame);
        return IsWindowVisible(frame) && EqualRect(&a, &lr);
    }, 5000)) << "the window is outlined";
    Xdotool("click 1", 0);
    HWND info = v.Dialog("Window Information", 10000);
    ASSERT_TRUE(info) << "the picked window's information";
    EXPECT_TRUE(WaitUntil([&] { return rt.Window(rt.Selected()) == later.Window(); }, 10000))
        << "the picked window is selected in the tree";
    HTREEITEM picked = rt.Selected();
    RECT pickedRect = rt.ItemRect(picked);
    EXPECT_FALSE(IsRectEmpty(&pickedRect)) << "and in view";
    EXPECT_EQ(Hex4((DWORD)(ULONG_PTR)later.Window()), WindowText(GetDlgItem(info, IDC_WI_HANDLE)));

    // The box Pick opened stays in front of the main dialog, whose tree was read anew.
    POINT field = Center(WindowRect(GetDlgItem(info, IDC_WI_CLASS)));
    EXPECT_TRUE(WaitUntil([&] { return WindowFromPoint(field) == GetDlgItem(info, IDC_WI_CLASS); }, 5000))
        << "the Window Information is in front";

    // Ctrl+C in the Window Information box: every field, as it shows them.
    ClickAt(field, 1, 0);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(info) == GetDlgItem(info, IDC_WI_CLASS); }, 5000));
    seq = EmptyClipboardNow();
    Xdotool("key ctrl+c", 0);
    text = WaitForClipboardText(seq, 10000);
    std::string head = Line("Title", GetDlgItem(info, IDC_WI_TITLE)) + Line("Window handle", GetDlgItem(info, IDC_WI_HANDLE)) +
                       Line("Parent", GetDlgItem(info, IDC_WI_PARENT)) + Line("Class name", GetDlgItem(info, IDC_WI_CLASS)) +
                       Line("Id / Menu", GetDlgItem(info, IDC_WI_ID)) +
                       Line("(Left,Top)", GetDlgItem(info, IDC_WI_TOPLEFT)) +
                       Line("(Right,Bottom)", GetDlgItem(info, IDC_WI_BOTTOMRIGHT)) +
                       Line("Width", GetDlgItem(info, IDC_WI_WIDTH)) + Line("Height", GetDlgItem(info, IDC_WI_HEIGHT)) +
                       WindowText(GetDlgItem(info, IDC_WI_STYLEGROUP)) + "\r\n";
    EXPECT_EQ(0u, text.find(head)) << text;
    EXPECT_EQ(0u, text.find("Title: Vantix picked later\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("\r\nClass name: VantixWindowsFixture\r\n")) << text;

    // The Class Information of the picked window, from the page's button.
    PostMessageA(GetDlgItem(page, IDC_WIN_CLASS), BM_CLICK, 0, 0);
    HWND cls = v.Dialog("Class Information", 10000);
    ASSERT_TRUE(cls);
    ClickCenter(GetDlgItem(cls, IDC_CI_NAME), 1, 0);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(cls) == GetDlgItem(cls, IDC_CI_NAME); }, 5000));
    seq = EmptyClipboardNow();
    Xdotool("key ctrl+c", 0);
    text = WaitForClipboardText(seq, 10000);
    EXPECT_EQ(0u, text.find(Line("Class name", GetDlgItem(cls, IDC_CI_NAME)) +
                            Line("Process name", GetDlgItem(cls, IDC_CI_PROCESS))))
        << text;
    EXPECT_NE(std::string::npos, text.find(Line("Cursor", GetDlgItem(cls, IDC_CI_CURSORNAME)))) << text;
    EXPECT_NE(std::string::npos, text.find("Process name: windows_fixture\r\n")) << text;

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(15000)) << "Vantix did not close";
}

TEST_F(PowerEndToEnd, TheTaskListCopiesTheSelectedTitleAndKeepsItAcrossRefresh)
{
    StartOn(3);
    WindowsFixture task("Vantix task to copy", "");
    ASSERT_TRUE(task.Window());
    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    HWND page = ShownPage(dlg);
    HWND list = page ? GetDlgItem(page, IDC_TASK_LIST) : NULL;
    ASSERT_TRUE(list);
    RemoteList rl(list);
    ASSERT_TRUE(rl.Ok());
    int row = -1;
    for (int r = 0; r < rl.Rows(); r++)
        if (rl.Text(r, 0) == "Vantix task to copy") row = r;
    ASSERT_GE(row, 0);
    RECT rc = rl.RowRect(row);
    ASSERT_FALSE(IsRectEmpty(&rc));
    ClickAt(POINT{rc.left + 10, (rc.top + rc.bottom) / 2});
    ASSERT_TRUE(WaitUntil([&] { return rl.Selected() == row && FocusOf(list) == list; }, 5000));

    DWORD seq = GetClipboardSequenceNumber();
    Xdotool("key ctrl+c", 0);
    EXPECT_EQ(rl.ColumnTitle(0) + "\r\nVantix task to copy\r\n", WaitForClipboardText(seq, 10000));

    // The main dialog's Refresh keeps the row selected, wherever it lands.
    SetWindowPos(task.Window(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ClickCenter(GetDlgItem(dlg, IDC_MAIN_REFRESH));
    EXPECT_TRUE(WaitUntil([&] {
        int sel = rl.Selected();
        return sel >= 0 && rl.Text(sel, 0) == "Vantix task to copy";
    }, 10000)) << "the same window is still selected";

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(15000)) << "Vantix did not close";
}

}  // namespace
