// The Task Manager page inside the real main dialog, with Wine's notepad and our tasks fixture
// (a titled window, an untitled one, an owned dialog and a hidden window) running beside it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "edit_helpers.h"
#include "integration/dialog_fixture.h"
#include "support/composited.h"
#include "support/controls.h"
#include "support/dialogs.h"
#include "support/pictures.h"
#include "support/processes.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "app/msgbox.h"
#include "windows/taskman_page.h"

namespace {

class TaskManager : public DialogTest {
protected:
    static Notepad* notepad;
    static TasksFixture* fixture;

    static void SetUpTestSuite()
    {
        notepad = new Notepad();
        // Beside the main dialog, not over it: the tests click into the dialog.
        if (notepad->Main())
            SetWindowPos(notepad->Main(), NULL, 640, 40, 560, 380, SWP_NOZORDER | SWP_NOACTIVATE);
        fixture = new TasksFixture("Tasks fixture", "--untitled --owned --hidden --x 600 --y 480");
    }
    static void TearDownTestSuite()
    {
        delete fixture;
        delete notepad;
    }

    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(notepad->Main()) << "notepad did not start";
        ASSERT_TRUE(fixture->Main()) << "fixture did not start";
    }

    void OpenPage()
    {
        ASSERT_TRUE(OpenMain());
        SelectTab(3);
        ASSERT_TRUE(PumpUntil([] { return g_hTaskList != NULL; }, 3000));
    }
    HWND Page() const { return GetParent(g_hTaskList); }
    void Press(int id) { SendDlgItemMessageA(Page(), id, BM_CLICK, 0, 0); }

    // The windows of the rows, in row order.
    static std::vector<HWND> RowWindows()
    {
        std::vector<HWND> rows;
        for (int r = 0; r < RowCount(g_hTaskList); r++) rows.push_back(TaskWindow((int)RowParamOf(g_hTaskList, r)));
        return rows;
    }
    static std::vector<std::string> RowTexts()
    {
        std::vector<std::string> texts;
        for (int r = 0; r < RowCount(g_hTaskList); r++) texts.push_back(CellText(g_hTaskList, r, 0));
        return texts;
    }
    static int RowOf(HWND w)
    {
        std::vector<HWND> rows = RowWindows();
        auto it = std::find(rows.begin(), rows.end(), w);
        return it == rows.end() ? -1 : (int)(it - rows.begin());
    }
    static bool Listed(HWND w) { return RowOf(w) >= 0; }

    // The application windows as a user counts them, found independently of the page.
    struct Expectation {
        bool showHidden;
        std::vector<HWND> windows;
    };
    static BOOL CALLBACK ExpectProc(HWND w, LPARAM lp)
    {
        Expectation* e = (Expectation*)lp;
        bool subordinate = GetWindow(w, GW_OWNER) || GetParent(w) || (GetWindowLongA(w, GWL_STYLE) & WS_CHILD);
        if (!subordinate && w != g_hMainDlg && w != g_hMainWnd && (e->showHidden || IsWindowVisible(w)))
            e->windows.push_back(w);
        return TRUE;
    }
    static std::vector<HWND> ExpectedWindows(bool showHidden)
    {
        Expectation e = {showHidden, {}};
        EnumWindows(ExpectProc, (LPARAM)&e);
        return e.windows;
    }

    // A real click on the "Task" header.
    void ClickHeader()
    {
        HWND header = (HWND)SendMessageA(g_hTaskList, LVM_GETHEADER, 0, 0);
        RECT rc;
        ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, 0, (LPARAM)&rc));
        MapWindowPoints(header, NULL, (POINT*)&rc, 2);
        SetForegroundWindow(g_hMainDlg);
        // Two clicks within the double-click time would make the second a double click.
        PumpMessages(GetDoubleClickTime() + 100);
        int before = g_Options.TaskSortStates[0];
        ClickAt(Center(rc), 1, 0);
        EXPECT_TRUE(PumpUntil([&] { return g_Options.TaskSortStates[0] != before; }, 3000)) << "the click reached the header";
    }
    static bool Sorted(int direction)
    {
        std::vector<std::string> t = RowTexts();
        for (size_t i = 1; i < t.size(); i++)
            if (lstrcmpiA(t[i - 1].c_str(), t[i].c_str()) * direction > 0) return false;
        return true;
    }
    static bool InEnumerationOrder()
    {
        for (int r = 0; r < RowCount(g_hTaskList); r++)
            if (RowParamOf(g_hTaskList, r) != r) return false;
        return true;
    }
};
Notepad* TaskManager::notepad;
TasksFixture* TaskManager::fixture;

TEST_F(TaskManager, ListsTheApplicationWindowsExactlyAsTheFilterSays)
{
    HWND info = OpenProcessDialog(ProcessEntryFor(GetCurrentProcessId()));
    ASSERT_TRUE(info);
    OpenPage();
    SaveWindowShot(g_hMainDlg, "taskman_page");

    std::vector<HWND> expected = ExpectedWindows(false);
    std::vector<HWND> rows = RowWindows();
    EXPECT_EQ(rows, expected) << "every application window once, in enumeration order";
    EXPECT_EQ(TaskCount(), (int)rows.size());

    HWND untitled = fixture->Window("");
    HWND owned = fixture->Window("owned");
    HWND hidden = fixture->Window("hidden");
    ASSERT_TRUE(untitled && owned && hidden);
    EXPECT_TRUE(Listed(notepad->Main()));
    ASSERT_TRUE(Listed(fixture->Main()));
    EXPECT_EQ(CellText(g_hTaskList, RowOf(fixture->Main()), 0), "Tasks fixture");
    ASSERT_TRUE(Listed(untitled)) << "an untitled window is listed";
    EXPECT_EQ(CellText(g_hTaskList, RowOf(untitled), 0), "(tasks_fixture)") << "by its program's name";
    EXPECT_FALSE(Listed(owned)) << "owned windows are never listed";
    EXPECT_FALSE(Listed(hidden)) << "invisible windows only with Hidden";
    EXPECT_FALSE(Listed(g_hMainDlg));
    EXPECT_TRUE(Listed(info)) << "the program's information dialogs are listed";
    EXPECT_EQ(RowOf(expected[0]), 0);
    EXPECT_EQ(SendMessageA(g_hTaskList, LVM_GETSELECTEDCOUNT, 0, 0), 1) << "the first row is selected";
    EXPECT_EQ(g_iTaskSel, (int)RowParamOf(g_hTaskList, 0));

    // Every program that gives an icon has one.
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_IMAGE;
    item.iItem = RowOf(notepad->Main());
    SendMessageA(g_hTaskList, LVM_GETITEMA, 0, (LPARAM)&item);
    EXPECT_GE(item.iImage, 0) << "notepad's row shows its icon";
    HIMAGELIST images = (HIMAGELIST)SendMessageA(g_hTaskList, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
    EXPECT_GT(ImageList_GetImageCount(images), 0);

    Press(IDC_TASK_HIDDEN);
    EXPECT_EQ(g_Options.TaskShowHidden, 1u);
    EXPECT_TRUE(Listed(hidden)) << "Hidden adds invisible unowned windows";
    EXPECT_FALSE(Listed(owned));
    EXPECT_EQ(RowWindows(), ExpectedWindows(true));
    DestroyWindow(info);
}

TEST_F(TaskManager, WindowsKeptOffTheScreenAreListedOnlyWithHidden)
{
    CompositedDesktop dwm;
    dwm.SetCloaked(fixture->Main());
    HWND untitled = fixture->Window("");
    ASSERT_TRUE(untitled);
    OpenPage();
    EXPECT_FALSE(Listed(fixture->Main())) << "visible by its style, but on no screen: no task to switch to";
    EXPECT_TRUE(Listed(untitled)) << "its program's other windows stay";
    EXPECT_TRUE(Listed(notepad->Main()));
    EXPECT_GT(dwm.CloakQuestions(), 0);

    Press(IDC_TASK_HIDDEN);
    EXPECT_TRUE(Listed(fixture->Main())) << "Hidden lists it, as it lists invisible windows";
    Press(IDC_TASK_HIDDEN);
    EXPECT_FALSE(Listed(fixture->Main()));

    // Refresh asks again: a window the desktop shows again is back.
    dwm.SetCloaked(fixture->Main(), 0);
    SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_TRUE(Listed(fixture->Main()));
}

TEST_F(TaskManager, RefreshCollectsWindowsThatCameLater)
{
    OpenPage();
    TasksFixture later("Later fixture", "--x 640 --y 60");
    ASSERT_TRUE(later.Main());
    EXPECT_FALSE(Listed(later.Main())) << "the list is a snapshot";
    SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_TRUE(Listed(later.Main()));
}

TEST_F(TaskManager, ThreeHeaderClicksGiveAscendingDescendingAndEnumerationOrderAndTheChoiceLasts)
{
    // "Untitled - Notepad" in front of "Tasks fixture": the enumeration order is not alphabetical.
    SetWindowPos(notepad->Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(fixture->Main(), notepad->Main(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    OpenPage();
    ASSERT_GE(RowCount(g_hTaskList), 3);
    EXPECT_TRUE(InEnumerationOrder()) << "unsorted by default";
    ASSERT_FALSE(Sorted(1)) << "the windows must stand in another order than their titles";

    ClickHeader();
    EXPECT_EQ(g_Options.TaskSortColumn, 0u);
    EXPECT_EQ(g_Options.TaskSortStates[0], SORT_ASCENDING);
    EXPECT_TRUE(Sorted(1));
    EXPECT_EQ(SendMessageA(g_hTaskList, LVM_GETSELECTEDCOUNT, 0, 0), 1);

    ClickHeader();
    EXPECT_EQ(g_Options.TaskSortStates[0], SORT_DESCENDING);
    EXPECT_TRUE(Sorted(-1));

    ClickHeader();
    EXPECT_EQ(g_Options.TaskSortStates[0], SORT_NONE);
    EXPECT_TRUE(InEnumerationOrder());

    // Ascending once more; it holds for the next page and the next start.
    ClickHeader();
    SelectTab(0);
    SelectTab(3);
    EXPECT_TRUE(Sorted(1)) << "a new page sorts as the last one did";
    EXPECT_EQ(g_iTaskSel, (int)RowParamOf(g_hTaskList, 0)) << "the top row is the selected window";
    CloseMain();
    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), (DWORD)sizeof(stored));
    EXPECT_EQ(stored.TaskSortColumn, 0u);
    EXPECT_EQ(stored.TaskSortStates[0], SORT_ASCENDING);
    LoadOptions();
    OpenPage();
    EXPECT_TRUE(Sorted(1));
}

TEST_F(TaskManager, TheColumnWidthIsKept)
{
    OpenPage();
    SendMessageA(g_hTaskList, LVM_SETCOLUMNWIDTH, 0, 123);
    CloseMain();
    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), (DWORD)sizeof(stored));
    EXPECT_EQ(stored.TaskColumnWidths[0], 123);
    LoadOptions();
    OpenPage();
    EXPECT_EQ(SendMessageA(g_hTaskList, LVM_GETCOLUMNWIDTH, 0, 0), 123);
}

TEST_F(TaskManager, SwitchToBringsTheSelectedWindowForwardAlsoAfterAClickIntoEmptySpace)
{
    OpenPage();
    SelectRow(g_hTaskList, RowOf(notepad->Main()));
    Press(IDC_TASK_SWITCH);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == notepad->Main(); }, 3000));
    EXPECT_TRUE(g_hMainDlg) << "without Close on switch the dialog stays";

    // A click below the rows selects nothing; the window selected last still counts.
    HWND untitled = fixture->Window("");
    SelectRow(g_hTaskList, RowOf(untitled));
    SetForegroundWindow(g_hMainDlg);
    PumpUntil([] { return GetForegroundWindow() == g_hMainDlg; }, 3000);
    RECT lrc = WindowRect(g_hTaskList);
    POINT empty = {lrc.left + 30, lrc.bottom - 12};
    ASSERT_EQ(WindowFromPoint(empty), g_hTaskList);
    LVHITTESTINFO hit;
    ZeroMemory(&hit, sizeof(hit));
    hit.pt = empty;
    ScreenToClient(g_hTaskList, &hit.pt);
    ASSERT_EQ(SendMessageA(g_hTaskList, LVM_HITTEST, 0, (LPARAM)&hit), -1) << "below the rows";
    ClickAt(empty, 1, 0);
    PumpUntil([] { return SendMessageA(g_hTaskList, LVM_GETSELECTEDCOUNT, 0, 0) == 0; }, 3000);
    ASSERT_EQ(SendMessageA(g_hTaskList, LVM_GETSELECTEDCOUNT, 0, 0), 0) << "the click landed below the rows";
    Press(IDC_TASK_SWITCH);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == untitled; }, 3000));

    // A double click there switches too; the wait keeps it apart from the click before.
    SetForegroundWindow(notepad->Main());
    SetForegroundWindow(g_hMainDlg);
    PumpMessages(GetDoubleClickTime() + 100);
    ASSERT_NE(GetForegroundWindow(), untitled);
    Xdotool("mousemove " + std::to_string(empty.x) + " " + std::to_string(empty.y) + " click --repeat 2 1", 0);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == untitled; }, 3000)) << "double click";
}

TEST_F(TaskManager, WindowOpensTheInformationOfTheSelectedWindow)
{
    OpenPage();
    std::vector<HWND> before = ThreadDialogs("Window Information");
    SelectRow(g_hTaskList, RowOf(notepad->Main()));
    Press(IDC_TASK_WINDOW);
    HWND info = NewDialog("Window Information", before);
    ASSERT_TRUE(info);
    EXPECT_EQ(DlgText(info, IDC_WI_HANDLE), Hex4((DWORD)(ULONG_PTR)notepad->Main()));
    DestroyWindow(info);
}

TEST_F(TaskManager, SwitchingRestoresAMinimizedWindow)
{
    OpenPage();
    ShowWindowAsync(notepad->Main(), SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(notepad->Main()) != FALSE; }, 3000));
    SelectRow(g_hTaskList, RowOf(notepad->Main()));
    Press(IDC_TASK_SWITCH);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(notepad->Main()); }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == notepad->Main(); }, 3000));
}

TEST_F(TaskManager, CloseOnSwitchClosesTheMainDialog)
{
    OpenPage();
    Press(IDC_TASK_CLOSEONSWITCH);
    EXPECT_EQ(g_Options.TaskCloseOnSwitch, 1u);
    SelectRow(g_hTaskList, RowOf(notepad->Main()));
    Press(IDC_TASK_SWITCH);
    EXPECT_TRUE(PumpUntil([] { return g_hMainDlg == NULL; }, 3000)) << "the main dialog closed";
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == notepad->Main(); }, 3000));
    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), (DWORD)sizeof(stored));
    EXPECT_EQ(stored.TaskCloseOnSwitch, 1u) << "the box is a setting";
}

TEST_F(TaskManager, SwitchingToAClosedWindowReportsItAndCloseOnSwitchStillCloses)
{
    OpenPage();
    HWND gone = NULL;
    {
        TasksFixture doomed("Doomed fixture", "--x 640 --y 60");
        ASSERT_TRUE(doomed.Main());
        gone = doomed.Main();
        SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        ASSERT_TRUE(Listed(gone));
        SelectRow(g_hTaskList, RowOf(gone));
    }
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(gone); }, 5000));
    Press(IDC_TASK_CLOSEONSWITCH);
    MessageBoxAnswerer answer(IDOK);
    Press(IDC_TASK_SWITCH);
    ASSERT_EQ(answer.Boxes().size(), 1u);
    EXPECT_EQ(answer.Boxes()[0].text, "Window no longer exists");
    EXPECT_EQ(answer.Boxes()[0].caption, "Error in Vantix");
    EXPECT_TRUE(PumpUntil([] { return g_hMainDlg == NULL; }, 3000)) << "closed all the same";
}

TEST_F(TaskManager, MinimizeAllLeavesTheMainDialogOwnedAndInvisibleWindowsAlone)
{
    OpenPage();
    HWND owned = fixture->Window("owned");
    HWND hidden = fixture->Window("hidden");
    HWND untitled = fixture->Window("");
    Press(IDC_TASK_MINALL);
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(notepad->Main()) && IsIconic(fixture->Main()) && IsIconic(untitled); }, 5000))
        << "notepad and the fixture's unowned windows are minimized";
    // The requests reach the fixture's thread in order: once it has answered a later message,
    // any request for its other windows has been handled too.
    Answers(fixture->Main(), 5000);
    EXPECT_FALSE(IsIconic(g_hMainDlg));
    EXPECT_TRUE(IsWindowVisible(g_hMainDlg));
    EXPECT_FALSE(IsIconic(owned)) << "owned windows are left alone";
    EXPECT_FALSE(IsIconic(hidden));
    EXPECT_FALSE(IsWindowVisible(hidden)) << "invisible windows stay as they are";
    for (HWND w : {notepad->Main(), fixture->Main(), untitled}) ShowWindowAsync(w, SW_RESTORE);
    PumpUntil([&] { return !IsIconic(notepad->Main()) && !IsIconic(fixture->Main()) && !IsIconic(untitled); }, 3000);
}

struct ArrangeCall {
    const char* function;
    HWND parent;
    UINT how;
    const RECT* area;
    UINT count;
    const HWND* kids;
};
std::vector<ArrangeCall> g_arrangeCalls;

WORD WINAPI RecordCascade(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids)
{
    g_arrangeCalls.push_back({"CascadeWindows", parent, how, area, count, kids});
    return 0;
}

WORD WINAPI RecordTile(HWND parent, UINT how, const RECT* area, UINT count, const HWND* kids)
{
    g_arrangeCalls.push_back({"TileWindows", parent, how, area, count, kids});
    return 0;
}

// Wine 8 only stubs both calls for the desktop, so the test checks what the page asks for.
TEST_F(TaskManager, CascadeAndTileArrangeAllTopLevelWindowsOfTheDesktop)
{
    OpenPage();
    ArrangeWindowsFn cascade = g_pfnCascadeWindows, tile = g_pfnTileWindows;
    g_pfnCascadeWindows = RecordCascade;
    g_pfnTileWindows = RecordTile;
    g_arrangeCalls.clear();
    Press(IDC_TASK_CASCADE);
    Press(IDC_TASK_TILEH);
    Press(IDC_TASK_TILEV);
    g_pfnCascadeWindows = cascade;
    g_pfnTileWindows = tile;
    struct Expected {
        const char* function;
        UINT how;
    } expected[] = {{"CascadeWindows", 0}, {"TileWindows", MDITILE_HORIZONTAL}, {"TileWindows", MDITILE_VERTICAL}};
    ASSERT_EQ(g_arrangeCalls.size(), 3u);
    for (int i = 0; i < 3; i++) {
        const ArrangeCall& c = g_arrangeCalls[i];
        EXPECT_STREQ(c.function, expected[i].function) << i;
        EXPECT_EQ(c.how, expected[i].how) << c.function;
        EXPECT_EQ(c.parent, (HWND)NULL) << "the desktop";
        EXPECT_EQ(c.area, (const RECT*)NULL) << "the whole work area";
        EXPECT_EQ(c.count, 0u) << "all windows";
        EXPECT_EQ(c.kids, (const HWND*)NULL);
    }
}

TEST_F(TaskManager, RefreshKeepsTheSelectedWindowWhileItIsListed)
{
    OpenPage();
    ASSERT_GE(RowCount(g_hTaskList), 3);
    // Not the top row, where every fill starts.
    int row = RowOf(fixture->Main());
    if (row == 0) {
        SetWindowPos(notepad->Main(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        row = RowOf(fixture->Main());
    }
    ASSERT_GT(row, 0);
    SelectRow(g_hTaskList, row);
    ASSERT_EQ(fixture->Main(), TaskWindow(g_iTaskSel));
    TasksFixture later("Later fixture", "--x 640 --y 60");
    ASSERT_TRUE(later.Main());

    SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_TRUE(Listed(later.Main())) << "collected anew";
    EXPECT_EQ(fixture->Main(), TaskWindow(g_iTaskSel)) << "the same window";
    int selected = (int)SendMessageA(g_hTaskList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    EXPECT_EQ(RowOf(fixture->Main()), selected);
    // "Hidden" collects anew too and keeps it.
    Press(IDC_TASK_HIDDEN);
    EXPECT_EQ(fixture->Main(), TaskWindow(g_iTaskSel));
    Press(IDC_TASK_HIDDEN);

    // The selected window has gone: the top row again.
    SelectRow(g_hTaskList, RowOf(later.Main()));
    HWND gone = later.Main();
    later.End();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(gone); }, 5000));
    SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_EQ(0, (int)SendMessageA(g_hTaskList, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED));
    EXPECT_EQ(RowParamOf(g_hTaskList, 0), g_iTaskSel);
}

TEST_F(TaskManager, CopyGivesTheSelectedTitleUnderTheColumnTitle)
{
    OpenPage();
    int row = RowOf(notepad->Main());
    ASSERT_GE(row, 0);
    SelectRow(g_hTaskList, row);
    DWORD seq = GetClipboardSequenceNumber();
    PressKeyIn(g_hTaskList, 'C', true);
    EXPECT_EQ("Task\r\n" + CellText(g_hTaskList, row, 0) + "\r\n", WaitForClipboardText(seq, 3000));

    // The untitled window's row shows its program's name, and so does the copy.
    row = RowOf(fixture->Window(""));
    ASSERT_GE(row, 0);
    SelectRow(g_hTaskList, row);
    seq = GetClipboardSequenceNumber();
    ChooseFromNextMenu(IDC_CTX_COPY);
    RECT rc = WindowRect(g_hTaskList);
    SendMessageA(Page(), WM_CONTEXTMENU, (WPARAM)g_hTaskList, MAKELPARAM(rc.left + 10, rc.top + 30));
    EXPECT_TRUE(NextMenuShowedItem());
    EXPECT_EQ("Task\r\n(tasks_fixture)\r\n", WaitForClipboardText(seq, 3000));
}

}  // namespace
