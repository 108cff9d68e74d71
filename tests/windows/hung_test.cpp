// A program that stops answering messages must not hold Vantix: the tree fills, the dialogs
// open and the commands return within about a second per hung window, and a program that
// answers one message and hangs at the next holds no command either.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include "win_helpers.h"
#include "integration/dialog_fixture.h"
#include "support/controls.h"
#include "support/dialogs.h"
#include "windows/move_window.h"
#include "windows/taskman_page.h"
#include "windows/window_commands.h"
#include "windows/window_info.h"
#include "windows/windows_page.h"

namespace {

// Generous: the machine is shared and slow under Wine. Without the bounded waits every one of
// these would wait for ever.
const DWORD kHungBoundMs = 2500;

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
    // A hung window's title is the one the platform keeps, read without asking it.
    EXPECT_EQ("\"Vantix hung fixture\"    [VantixWindowsFixture]", TreeText(tree, items[0]));
    auto children = TreeChildren(tree, items[0]);
    ASSERT_EQ(40u, children.size());
    EXPECT_EQ("\"child 0\"    [Static]", TreeText(tree, children[0]));
    EXPECT_EQ("\"child 39\"    [Static]", TreeText(tree, children[39]));
    // The same fill once more: one wait for the whole hung program, not one per window.
    t0 = GetTickCount();
    SendMessageA(g_hPage, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    DWORD refillMs = GetTickCount() - t0;
    EXPECT_LT(fillMs, 10000u);
    EXPECT_LT(refillMs, 2 * kHungBoundMs) << "41 hung windows";

    t0 = GetTickCount();
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(hung);
    HWND info = NewDialog("Window Information", before);
    EXPECT_LT(GetTickCount() - t0, kHungBoundMs);
    ASSERT_TRUE(info);
    EXPECT_EQ("Vantix hung fixture", DlgText(info, IDC_WI_TITLE));
    EXPECT_EQ("VantixWindowsFixture", DlgText(info, IDC_WI_CLASS));

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

// ---- Programs that answer and then hang

namespace {

// Far beyond what any command may take (at most about a second); a command that waits for the
// hung program would wait for ever.
const DWORD kStuckMs = 5000;

struct AnswerThenHangCase {
    const char* name;
    bool minimized;                // the fixture starts minimized
    void (*act)(HWND target);      // runs on the program's thread, as a click would
};

// Selects the Task Manager row of a window, as a click on it would.
void SelectRowOfWindow(HWND w)
{
    for (int r = 0; r < RowCount(g_hTaskList); r++) {
        if (TaskWindow((int)RowParamOf(g_hTaskList, r)) != w) continue;
        SelectRow(g_hTaskList, r);
        return;
    }
    ADD_FAILURE() << "the window is not listed";
}

void MoveDialogOk(HWND target, bool retitle)
{
    ActInModal("Move window", [retitle](HWND dlg) {
        if (retitle) {
            ClickCheckBox(dlg, IDC_MW_CHANGE);
            SetDlgItemTextA(dlg, IDC_MW_TITLE, "Retitled while hanging");
        } else {
            ClickCheckBox(dlg, IDC_MW_MOVE);
            SetDlgItemTextA(dlg, IDC_MW_LEFT, "460");
        }
        PressButton(dlg, IDOK);
    });
    OpenMoveDialog(target, NULL);
    CancelModalAct();
}

const AnswerThenHangCase kAnswerThenHang[] = {
    {"WindowsPageClose", false, [](HWND w) { WindowCommand(w, IDC_WIN_CLOSE); }},
    {"WindowsPageMinimize", false, [](HWND w) { WindowCommand(w, IDC_WIN_MINIMIZE); }},
    {"WindowsPageHide", false, [](HWND w) { WindowCommand(w, IDC_WIN_HIDE); }},
    {"WindowsPageTopMost", false, [](HWND w) { WindowCommand(w, IDC_WIN_ONTOP); }},
    {"WindowInformationSwitchToRestores", true, [](HWND w) { WindowCommand(w, IDC_WI_SWITCH); }},
    {"TaskManagerSwitchToRestores", true, [](HWND w) {
         SelectRowOfWindow(w);
         SendDlgItemMessageA(g_hPage, IDC_TASK_SWITCH, BM_CLICK, 0, 0);
     }},
    {"TaskManagerMinimizeAll", false, [](HWND) { SendDlgItemMessageA(g_hPage, IDC_TASK_MINALL, BM_CLICK, 0, 0); }},
    {"MoveWindowRetitles", false, [](HWND w) { MoveDialogOk(w, true); }},
    {"MoveWindowMoves", false, [](HWND w) { MoveDialogOk(w, false); }},
};

void PrintTo(const AnswerThenHangCase& c, std::ostream* os)
{
    *os << c.name;
}

class AnswerThenHang : public DialogTest, public testing::WithParamInterface<AnswerThenHangCase> {};

} // namespace

TEST_P(AnswerThenHang, TheProgramsLoopKeepsRunning)
{
    const AnswerThenHangCase& c = GetParam();
    WindowsFixture fx("Vantix answering fixture", c.minimized ? "--hang-on-request --minimized" : "--hang-on-request");
    HWND target = fx.Window();
    ASSERT_TRUE(target) << "windows_fixture did not start";
    if (c.minimized) {
        ASSERT_TRUE(PumpUntil([&] { return IsIconic(target) != FALSE; }, 5000));
    }
    g_Options.PageIndex = 3;
    ASSERT_TRUE(OpenMain());
    ASSERT_TRUE(fx.Arm());
    ASSERT_TRUE(Answers(target, 2000)) << "the fixture answers until it is asked for a change";

    bool stuck = false;
    {
        LoopWatch watch(kStuckMs, [&] {
            stuck = true;
            fx.Kill();
        });
        c.act(target);
        EXPECT_TRUE(watch.Finish()) << "a posted message waited more than " << kStuckMs << " ms";
    }
    EXPECT_FALSE(stuck) << "the command waited for the hung program";
    if (!stuck) {
        EXPECT_FALSE(Answers(target, 1000)) << "the request reached the fixture, which now hangs";
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, AnswerThenHang, testing::ValuesIn(kAnswerThenHang),
                         [](const testing::TestParamInfo<AnswerThenHangCase>& i) { return std::string(i.param.name); });
