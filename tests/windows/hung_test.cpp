// A program that stops answering messages must not hold Vantix: the tree fills, the dialogs
// open and the commands return within about a second per hung window.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include "win_helpers.h"
#include "integration/dialog_fixture.h"
#include "windows/move_window.h"
#include "windows/window_info.h"
#include "windows/windows_page.h"

namespace {

// Generous: the machine is shared and slow under Wine. Without the bounded waits every one of
// these would wait for ever.
const DWORD kHungBoundMs = 2500;

std::string Field(HWND dlg, int id)
{
    char buf[1024] = "";
    GetDlgItemTextA(dlg, id, buf, sizeof(buf));
    return buf;
}

class HungWindows : public DialogTest {};

} // namespace

TEST_F(HungWindows, NothingWaitsForAProgramThatStoppedAnswering)
{
    WindowsFixture fx("Vantix hung fixture", "--children 40 --hang");
    HWND hung = fx.Window();
    ASSERT_TRUE(hung) << "windows_fixture did not start";
    DWORD_PTR r = 0;
    ASSERT_EQ(0, SendMessageTimeoutA(hung, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 300, &r)) << "the fixture still answers";

    g_Options.PageIndex = 2;
    g_Options.ShowClass = 1;
    DWORD t0 = GetTickCount();
    ASSERT_TRUE(OpenMain());
    DWORD fillMs = GetTickCount() - t0;
    HWND tree = GetDlgItem(g_hPage, IDC_WIN_TREE);
    auto items = ItemsOfWindow(tree, hung);
    ASSERT_EQ(1u, items.size());
    // A hung window's text reads as empty: the top-level window shows its program instead.
    EXPECT_EQ("(windows_fixture)    [VantixWindowsFixture]", TreeText(tree, items[0]));
    auto children = TreeChildren(tree, items[0]);
    ASSERT_EQ(40u, children.size());
    EXPECT_EQ("\"\"    [Static]", TreeText(tree, children[0]));
    // The same fill once more: one wait for the whole hung program, not one per window.
    t0 = GetTickCount();
    SendMessageA(g_hPage, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    DWORD refillMs = GetTickCount() - t0;
    EXPECT_LT(fillMs, 10000u);
    EXPECT_LT(refillMs, 2 * kHungBoundMs) << "41 hung windows";

    t0 = GetTickCount();
    auto before = CaptionDialogs("Window Information");
    OpenWindowInfo(hung);
    HWND info = NewDialog("Window Information", before);
    EXPECT_LT(GetTickCount() - t0, kHungBoundMs);
    ASSERT_TRUE(info);
    EXPECT_EQ("", Field(info, IDC_WI_TITLE));
    EXPECT_EQ("VantixWindowsFixture", Field(info, IDC_WI_CLASS));

    t0 = GetTickCount();
    ActInModal("Move window", [](HWND dlg) { PressButton(dlg, IDOK); });
    EXPECT_EQ(1, OpenMoveDialog(hung, info));
    EXPECT_LT(GetTickCount() - t0, 2 * kHungBoundMs) << "reading the title and moving";

    MessageBoxAnswerer yes(IDYES);
    for (int id : {IDC_WIN_HIDE, IDC_WIN_MINIMIZE, IDC_WIN_ONTOP, IDC_WIN_CLOSE}) {
        t0 = GetTickCount();
        WindowCommand(hung, id);
        EXPECT_LT(GetTickCount() - t0, kHungBoundMs) << "command " << id;
    }
    EXPECT_EQ(0u, yes.Boxes().size());
    // The close request waits in the hung program's queue; the window is still there.
    EXPECT_TRUE(IsWindow(hung));
}
