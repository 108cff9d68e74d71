// The Processes page built from its real template, with fixture processes of ours running.
#include <windows.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <commctrl.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "support/controls.h"
#include "support/dialogs.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "app/settings.h"
#include "app/startup.h"
#include "processes/processes_page.h"
#include "processes/snapshot.h"
#include "resource.h"

namespace {

enum ListKind { PROCESSES, THREADS, MODULES };

class ProcessesPage : public testing::Test {
protected:
    static FixtureProcess* fixture;
    static FixtureProcess* highFixture;
    static HWND host;
    HWND page = NULL;
    SettingsGuard settings;

    static void SetUpTestSuite()
    {
        InitCommonControls();
        fixture = new FixtureProcess("page fixture", "--threads 3 --load msimg32.dll");
        // A second process in another class, so that the priority column has an order to show.
        highFixture = new FixtureProcess("page fixture high", "");
        if (highFixture->Handle()) SetPriorityClass(highFixture->Handle(), HIGH_PRIORITY_CLASS);
        host = CreateWindowExA(0, "STATIC", "page host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 700, 500,
                               NULL, NULL, NULL, NULL);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(host);
        delete fixture;
        delete highFixture;
    }
    void SetUp() override
    {
        ASSERT_TRUE(fixture->Window()) << "fixture did not start";
        ASSERT_TRUE(host);
    }
    void TearDown() override
    {
        ClosePage();
        for (const char* c : {"Process Information", "Module Information"})
            for (HWND d : ThreadDialogs(c)) DestroyWindow(d);
    }
    void OpenPage()
    {
        page = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_PAGE_PROCESSES), host, ProcessesPageProc, 0);
        ASSERT_TRUE(page);
        ASSERT_TRUE(g_hProcessList && g_hThreadList && g_hModuleList);
        PumpMessages(20);
    }
    void ClosePage()
    {
        if (page) DestroyWindow(page);
        page = NULL;
    }
    int FixtureIndex() const
    {
        for (int i = 0; i < g_processCount; i++)
            if (g_processTable[i].entry.th32ProcessID == fixture->Pid()) return i;
        return -1;
    }
    void SelectFixture()
    {
        int row = RowWithParam(g_hProcessList, FixtureIndex());
        ASSERT_GE(row, 0);
        SelectRow(g_hProcessList, row);
        ASSERT_EQ(FixtureIndex(), g_iProcessSel);
    }
    static HWND List(ListKind k)
    {
        return k == PROCESSES ? g_hProcessList : k == THREADS ? g_hThreadList : g_hModuleList;
    }
    // A real header click: the list view turns it into its column-click notification.
    static void ClickHeader(HWND list, int column)
    {
        HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
        RECT rc;
        SendMessageA(header, HDM_GETITEMRECT, column, (LPARAM)&rc);
        LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, pt);
        SendMessageA(header, WM_LBUTTONUP, 0, pt);
        PumpMessages(10);
    }
    static int Sign(long long v) { return (v > 0) - (v < 0); }
    // The sort key of the Row contents, read independently from the row's texts where they
    // carry it and from the tables where they do not.
    static int KeyCompare(ListKind k, int r1, int r2, int col)
    {
        HWND l = List(k);
        LPARAM p1 = RowParamOf(l, r1), p2 = RowParamOf(l, r2);
        std::string a = CellText(l, r1, col), b = CellText(l, r2, col);
        switch (k) {
        case PROCESSES:
            if (col == 1) return Sign((long long)strtoul(a.c_str(), 0, 16) - (long long)strtoul(b.c_str(), 0, 16));
            if (col == 2) return Sign((long long)g_processTable[p1].priorityClass - g_processTable[p2].priorityClass);
            return Sign(lstrcmpiA(a.c_str(), b.c_str()));
        case THREADS:
            if (col == 0) return Sign(p1 - p2);
            if (col == 1) return Sign((long long)strtoul(a.c_str(), 0, 16) - (long long)strtoul(b.c_str(), 0, 16));
            if (col == 3) return Sign((long long)g_threadTable[p1].tpBasePri - g_threadTable[p2].tpBasePri);
            return Sign(atoll(a.c_str()) - atoll(b.c_str()));
        case MODULES:
            if (col == 1) return Sign(atoll(a.c_str()) - atoll(b.c_str()));
            return Sign(lstrcmpiA(a.c_str(), b.c_str()));
        }
        return 0;
    }
    static void ExpectOrdered(ListKind k, int col, int state)
    {
        HWND l = List(k);
        int n = RowCount(l);
        ASSERT_GE(n, 2) << "list " << k << " has too few rows to show an order";
        if (state != SORT_NONE) {
            // Equal keys everywhere would let any order pass. The thread "Boost" (tpDeltaPri)
            // is always 0: the platform no longer fills it, so only that column is exempt.
            bool differ = false;
            for (int r = 1; r < n && !differ; r++) differ = KeyCompare(k, 0, r, col) != 0;
            EXPECT_TRUE(differ || (k == THREADS && col == 4))
                << "list " << k << " column " << col << ": every row has the same key";
        }
        for (int r = 0; r + 1 < n; r++) {
            if (state == SORT_NONE) {
                EXPECT_LT(RowParamOf(l, r), RowParamOf(l, r + 1)) << "snapshot order, row " << r;
            } else {
                int c = KeyCompare(k, r, r + 1, col);
                if (state == SORT_ASCENDING) EXPECT_LE(c, 0) << "row " << r;
                else EXPECT_GE(c, 0) << "row " << r;
            }
        }
    }
    static int8_t* States(ListKind k)
    {
        return k == PROCESSES ? g_Options.ProcessSortStates
             : k == THREADS ? g_Options.ThreadSortStates : g_Options.ModuleSortStates;
    }
};

FixtureProcess* ProcessesPage::fixture;
FixtureProcess* ProcessesPage::highFixture;
HWND ProcessesPage::host;

} // namespace

TEST_F(ProcessesPage, FirstStartLayoutRowsAndLowerListToggle)
{
    OpenPage();
    EXPECT_TRUE(IsWindowVisible(g_hThreadList));
    EXPECT_FALSE(IsWindowVisible(g_hModuleList));
    EXPECT_EQ("&Show modules", DlgText(page, IDC_PROC_SHOWMODULES));
    EXPECT_EQ(g_hProcessList, GetDlgItem(page, IDC_PROC_LIST)) << "placeholder left behind";
    EXPECT_EQ(g_hThreadList, GetDlgItem(page, IDC_PROC_THREADS));
    const struct { HWND list; int columns; const char* titles[5]; } lists[] = {
        {g_hProcessList, 4, {"Process", "Identifier", "Priority", "Module"}},
        {g_hThreadList, 5, {"Thread", "Identifier", "Priority", "Class", "Boost"}},
        {g_hModuleList, 3, {"Module", "Size", "File"}},
    };
    for (const auto& l : lists) {
        RECT rc;
        GetWindowRect(l.list, &rc);
        // The list's width less four borders and a vertical scroll bar, shared equally.
        int expected = (int)(rc.right - rc.left - 4 * GetSystemMetrics(SM_CXBORDER) -
                             GetSystemMetrics(SM_CXVSCROLL)) / l.columns;
        ASSERT_GT(expected, 20);
        for (int c = 0; c < l.columns; c++) {
            EXPECT_EQ(expected, SendMessageA(l.list, LVM_GETCOLUMNWIDTH, c, 0));
            char title[64] = "";
            LVCOLUMNA col;
            ZeroMemory(&col, sizeof(col));
            col.mask = LVCF_TEXT | LVCF_FMT;
            col.pszText = title;
            col.cchTextMax = sizeof(title);
            SendMessageA(l.list, LVM_GETCOLUMNA, c, (LPARAM)&col);
            EXPECT_STREQ(l.titles[c], title);
            EXPECT_EQ(l.list == g_hModuleList && c == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT, col.fmt & LVCFMT_JUSTIFYMASK);
        }
    }
    // Unsorted: snapshot order, the top row selected and its process the selected one.
    ExpectOrdered(PROCESSES, 0, SORT_NONE);
    EXPECT_EQ(RowParamOf(g_hProcessList, 0), g_iProcessSel);
    EXPECT_EQ(g_processCount, RowCount(g_hProcessList));

    int row = RowWithParam(g_hProcessList, FixtureIndex());
    ASSERT_GE(row, 0);
    EXPECT_EQ("vantix_fixture", CellText(g_hProcessList, row, 0));
    EXPECT_EQ(Hex4(fixture->Pid()), CellText(g_hProcessList, row, 1));
    EXPECT_EQ("normal", CellText(g_hProcessList, row, 2));
    EXPECT_EQ("vantix_fixture", CellText(g_hProcessList, row, 3));
    EXPECT_NE(g_hProcessImages, (HIMAGELIST)NULL);
    EXPECT_EQ(g_hProcessImages, (HIMAGELIST)SendMessageA(g_hProcessList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));

    SelectFixture();
    ASSERT_EQ(4, RowCount(g_hThreadList));
    std::vector<std::string> priorities;
    for (int r = 0; r < 4; r++) {
        const THREADENTRY32& te = g_threadTable[RowParamOf(g_hThreadList, r)];
        EXPECT_EQ(fixture->Pid(), te.th32OwnerProcessID);
        EXPECT_EQ(std::to_string(r + 1), CellText(g_hThreadList, r, 0));
        EXPECT_EQ(Hex4(te.th32ThreadID), CellText(g_hThreadList, r, 1));
        priorities.push_back(CellText(g_hThreadList, r, 2) + " " + CellText(g_hThreadList, r, 3));
        EXPECT_EQ(std::to_string(te.tpDeltaPri), CellText(g_hThreadList, r, 4));
    }
    // The main thread and three idle threads at lowest, above and below normal in a
    // normal-class process (base 8).
    std::sort(priorities.begin(), priorities.end());
    const std::vector<std::string> expected = {"6 lowest", "7 below normal", "8 normal", "9 above normal"};
    EXPECT_EQ(expected, priorities);
    const ProcessRecord& rec = g_processTable[FixtureIndex()];
    int modules = ModuleRangeEnd(FixtureIndex()) - rec.firstModule;
    ASSERT_EQ(modules, RowCount(g_hModuleList));
    bool library = false;
    for (int r = 0; r < modules; r++) {
        const MODULEENTRY32& me = g_moduleTable[RowParamOf(g_hModuleList, r)];
        EXPECT_EQ(me.szModule, CellText(g_hModuleList, r, 0));
        EXPECT_EQ(std::to_string(me.modBaseSize), CellText(g_hModuleList, r, 1));
        EXPECT_EQ(me.szExePath, CellText(g_hModuleList, r, 2));
        library = library || CellText(g_hModuleList, r, 0) == "msimg32";
    }
    EXPECT_TRUE(library);
    EXPECT_EQ(rec.firstModule, g_iModuleSel);

    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    EXPECT_TRUE(IsWindowVisible(g_hModuleList));
    EXPECT_FALSE(IsWindowVisible(g_hThreadList));
    EXPECT_EQ("&Show threads", DlgText(page, IDC_PROC_SHOWMODULES));
    EXPECT_EQ(1u, g_Options.ShowModules);
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    EXPECT_TRUE(IsWindowVisible(g_hThreadList));
    EXPECT_EQ(0u, g_Options.ShowModules);
}

// A process's modules are read when it is selected: whatever was selected before, and after a
// refresh, its module rows are those of a fresh full read.
TEST_F(ProcessesPage, ModuleRowsOfEachSelectionAreAFreshFullRead)
{
    ASSERT_TRUE(highFixture->Window());
    OpenPage();
    auto selectPid = [](DWORD pid) {
        int index = -1;
        for (int i = 0; i < g_processCount; i++)
            if (g_processTable[i].entry.th32ProcessID == pid) index = i;
        ASSERT_GE(index, 0);
        SelectRow(g_hProcessList, RowWithParam(g_hProcessList, index));
        ASSERT_EQ(index, g_iProcessSel);
    };
    const DWORD pids[] = {fixture->Pid(), highFixture->Pid(), fixture->Pid()};
    for (int refresh = 0; refresh < 2; refresh++) {
        for (DWORD pid : pids) {
            SCOPED_TRACE(testing::Message() << "process " << Hex4(pid) << ", refresh " << refresh);
            selectPid(pid);
            std::vector<PlainModule> fresh = FullModuleRead(pid);
            ASSERT_GT(fresh.size(), 1u);
            ASSERT_EQ((int)fresh.size(), RowCount(g_hModuleList));
            for (int r = 0; r < RowCount(g_hModuleList); r++) {
                EXPECT_EQ(fresh[r].path, CellText(g_hModuleList, r, 2));
                EXPECT_EQ(std::to_string(fresh[r].size), CellText(g_hModuleList, r, 1));
                EXPECT_EQ(FileNamePart(fresh[r].path.c_str()), CellText(g_hModuleList, r, 0));
            }
            EXPECT_EQ(0, lstrcmpiA(fresh[0].path.c_str(), g_processTable[g_iProcessSel].mainModule.szExePath));
        }
        SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    }
}

TEST_F(ProcessesPage, EveryColumnCyclesAscendingDescendingUnsorted)
{
    OpenPage();
    const struct { ListKind kind; int columns; } lists[] = {{PROCESSES, 4}, {THREADS, 5}, {MODULES, 3}};
    for (const auto& l : lists) {
        for (int col = 0; col < l.columns; col++) {
            SCOPED_TRACE(testing::Message() << "list " << l.kind << " column " << col);
            SelectFixture();
            for (int state : {SORT_ASCENDING, SORT_DESCENDING, SORT_NONE}) {
                if (l.kind == PROCESSES && state == SORT_NONE) SelectRow(g_hProcessList, 2);
                ClickHeader(List(l.kind), col);
                EXPECT_EQ(state, States(l.kind)[col]);
                ExpectOrdered(l.kind, col, state);
                if (l.kind == PROCESSES && state == SORT_NONE) {
                    EXPECT_EQ(RowParamOf(g_hProcessList, 0), g_iProcessSel) << "unsorting reselects the top row";
                }
            }
        }
    }
    // A column keeps its own place in the cycle while another is clicked.
    ClickHeader(g_hProcessList, 1);
    ClickHeader(g_hProcessList, 0);
    EXPECT_EQ(0u, g_Options.ProcessSortColumn);
    ClickHeader(g_hProcessList, 1);
    EXPECT_EQ(SORT_DESCENDING, g_Options.ProcessSortStates[1]);
    ExpectOrdered(PROCESSES, 1, SORT_DESCENDING);
}

TEST_F(ProcessesPage, SortAndWidthsPersistAcrossPageRecreation)
{
    OpenPage();
    ClickHeader(g_hProcessList, 1);
    ClickHeader(g_hProcessList, 1);
    ClickHeader(g_hModuleList, 2);
    SendMessageA(g_hProcessList, LVM_SETCOLUMNWIDTH, 0, 123);
    SendMessageA(g_hModuleList, LVM_SETCOLUMNWIDTH, 2, 77);
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    ClosePage();
    EXPECT_EQ(1u, g_Options.ProcessSortColumn);
    EXPECT_EQ(SORT_DESCENDING, g_Options.ProcessSortStates[1]);
    EXPECT_EQ(2u, g_Options.ModuleSortColumn);
    EXPECT_EQ(SORT_ASCENDING, g_Options.ModuleSortStates[2]);
    EXPECT_EQ(123, g_Options.ProcessColumnWidths[0]);
    EXPECT_EQ(77, g_Options.ModuleColumnWidths[2]);
    EXPECT_EQ(0, g_processCount) << "the snapshot goes with the page";

    OpenPage();
    ExpectOrdered(PROCESSES, 1, SORT_DESCENDING);
    ExpectOrdered(MODULES, 2, SORT_ASCENDING);
    EXPECT_EQ(123, SendMessageA(g_hProcessList, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ(77, SendMessageA(g_hModuleList, LVM_GETCOLUMNWIDTH, 2, 0));
    EXPECT_TRUE(IsWindowVisible(g_hModuleList));
    EXPECT_EQ("&Show threads", DlgText(page, IDC_PROC_SHOWMODULES));
    // The top row of a sorted list is the selected process.
    EXPECT_EQ(RowParamOf(g_hProcessList, 0), g_iProcessSel);
}

TEST_F(ProcessesPage, KillAsksAndFollowsTheAnswer)
{
    FixtureProcess victim("kill fixture", "");
    ASSERT_TRUE(victim.Window());
    OpenPage();
    int index = -1;
    for (int i = 0; i < g_processCount; i++)
        if (g_processTable[i].entry.th32ProcessID == victim.Pid()) index = i;
    ASSERT_GE(index, 0);
    SelectRow(g_hProcessList, RowWithParam(g_hProcessList, index));
    ASSERT_EQ(index, g_iProcessSel);
    {
        MessageBoxAnswerer no(IDNO);
        SendMessageA(page, WM_COMMAND, IDC_PROC_KILL, 0);
        ASSERT_EQ(1u, no.Boxes().size());
        EXPECT_EQ("Do you really want\nto end the process?", no.Boxes()[0].text);
        EXPECT_EQ("Warning (Vantix)", no.Boxes()[0].caption);
    }
    EXPECT_FALSE(victim.Exited(300));
    {
        MessageBoxAnswerer yes(IDYES);
        SendMessageA(page, WM_COMMAND, IDC_PROC_KILL, 0);
        EXPECT_EQ(1u, yes.Boxes().size());
    }
    ASSERT_TRUE(victim.Exited(5000));
    EXPECT_EQ(0u, victim.ExitCode());
    // The page keeps showing it until Refresh.
    EXPECT_GE(RowWithParam(g_hProcessList, index), 0);
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    for (int i = 0; i < g_processCount; i++) EXPECT_NE(victim.Pid(), g_processTable[i].entry.th32ProcessID);
    EXPECT_EQ(g_processCount, RowCount(g_hProcessList));
}

TEST_F(ProcessesPage, DoubleClicksAndViewCommandsOpenTheRightDialogs)
{
    OpenPage();
    SelectFixture();
    auto dblclk = [&](HWND from) {
        NMITEMACTIVATE nm;
        ZeroMemory(&nm, sizeof(nm));
        nm.hdr.hwndFrom = from;
        nm.hdr.idFrom = GetDlgCtrlID(from);
        nm.hdr.code = NM_DBLCLK;
        nm.iItem = 0;
        SendMessageA(page, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
    };
    // Every message already queued handled: what a posted command does has been done.
    auto handleQueued = [] {
        return PumpUntil([] {
            MSG m;
            return !PeekMessageA(&m, NULL, 0, 0, PM_NOREMOVE);
        }, 5000);
    };
    dblclk(g_hProcessList);
    EXPECT_TRUE(ThreadDialogs("Process Information").empty()) << "the command is posted, not run inside the notification";
    ASSERT_TRUE(PumpUntil([] { return !ThreadDialogs("Process Information").empty(); }, 5000));
    handleQueued();
    std::vector<HWND> procDlgs = ThreadDialogs("Process Information");
    ASSERT_EQ(1u, procDlgs.size());
    EXPECT_EQ(Hex4(fixture->Pid()), DlgText(procDlgs[0], IDC_PI_ID));

    dblclk(g_hThreadList);
    handleQueued();
    EXPECT_EQ(1u, ThreadDialogs("Process Information").size());
    EXPECT_TRUE(ThreadDialogs("Module Information").empty());

    // Thread list shown: the process's main module.
    SendMessageA(page, WM_COMMAND, IDC_PROC_VIEWMODULE, 0);
    std::vector<HWND> modDlgs = ThreadDialogs("Module Information");
    ASSERT_EQ(1u, modDlgs.size());
    EXPECT_EQ(0, lstrcmpiA(FixtureProcess::ExePath().c_str(), DlgText(modDlgs[0], IDC_MI_PATH).c_str()));
    EXPECT_EQ("vantix_fixture", DlgText(modDlgs[0], IDC_MI_NAME));

    // Module list shown, a library row selected: that library.
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    int libRow = -1;
    for (int r = 0; r < RowCount(g_hModuleList); r++)
        if (CellText(g_hModuleList, r, 0) == "msimg32") libRow = r;
    ASSERT_GE(libRow, 0);
    SelectRow(g_hModuleList, libRow);
    const MODULEENTRY32 lib = g_moduleTable[RowParamOf(g_hModuleList, libRow)];
    dblclk(g_hModuleList);
    HWND libDlg = NULL;
    PumpUntil([&] { return (libDlg = NewDialog("Module Information", modDlgs)) != NULL; }, 5000);
    ASSERT_TRUE(libDlg);
    EXPECT_EQ(lib.szExePath, DlgText(libDlg, IDC_MI_PATH));
    EXPECT_EQ("msimg32", DlgText(libDlg, IDC_MI_NAME));
    EXPECT_EQ(std::to_string(lib.modBaseSize), DlgText(libDlg, IDC_MI_SIZE));
    EXPECT_EQ(Hex4(fixture->Pid()), DlgText(libDlg, IDC_MI_PROCESS));
}

TEST_F(ProcessesPage, SwitchingToModulesKeepsTheMainModuleUntilAnotherRowIsChosen)
{
    // Modules sorted by name, descending: the main module is not on top.
    g_Options.ModuleSortColumn = 0;
    g_Options.ModuleSortStates[0] = SORT_DESCENDING;
    OpenPage();
    SelectFixture();
    ASSERT_NE("vantix_fixture", CellText(g_hModuleList, 0, 0));
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    SendMessageA(page, WM_COMMAND, IDC_PROC_VIEWMODULE, 0);
    HWND dlg = NewDialog("Module Information");
    ASSERT_TRUE(dlg);
    EXPECT_EQ("vantix_fixture", DlgText(dlg, IDC_MI_NAME));
}

TEST_F(ProcessesPage, CommandsWithoutASelectionDoNothing)
{
    OpenPage();
    g_iProcessSel = -1;
    for (int id : {IDC_PROC_VIEWPROCESS, IDC_PROC_VIEWMODULE, IDC_PROC_KILL}) {
        MessageBoxAnswerer no(IDNO);
        SendMessageA(page, WM_COMMAND, id, 0);
        EXPECT_TRUE(no.Boxes().empty());
    }
    EXPECT_TRUE(ThreadDialogs("Process Information").empty());
    EXPECT_TRUE(ThreadDialogs("Module Information").empty());
}

// The text a list's Copy gives for its selected row, read back from what the list shows: the
// column titles, then the row, cells between tabs.
static std::string ShownRowText(HWND list, int row)
{
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    int columns = (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0);
    std::string titles, cells;
    for (int c = 0; c < columns; c++) {
        char title[64] = "";
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT;
        col.pszText = title;
        col.cchTextMax = sizeof(title);
        SendMessageA(list, LVM_GETCOLUMNA, c, (LPARAM)&col);
        titles += (c ? "\t" : "") + std::string(title);
        cells += (c ? "\t" : "") + CellText(list, row, c);
    }
    return titles + "\r\n" + cells + "\r\n";
}

static int SelectedRow(HWND list)
{
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
}

TEST_F(ProcessesPage, CopyGivesTheSelectedRowOfEachListUnderItsColumnTitles)
{
    OpenPage();
    SelectFixture();
    int row = SelectedRow(g_hProcessList);
    DWORD seq = GetClipboardSequenceNumber();
    PressKeyIn(g_hProcessList, 'C', true);
    std::string text = WaitForClipboardText(seq, 3000);
    EXPECT_EQ(ShownRowText(g_hProcessList, row), text);
    EXPECT_EQ(0u, text.find("Process\tIdentifier\tPriority\tModule\r\nvantix_fixture\t" + Hex4(fixture->Pid()) +
                            "\tnormal\t"))
        << text;

    // The thread list: its second row.
    ASSERT_GE(RowCount(g_hThreadList), 2);
    SelectRow(g_hThreadList, 1);
    seq = GetClipboardSequenceNumber();
    PressKeyIn(g_hThreadList, 'C', true);
    EXPECT_EQ(ShownRowText(g_hThreadList, 1), WaitForClipboardText(seq, 3000));

    // The module list through its right-click menu.
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    int msimg = -1;
    for (int r = 0; r < RowCount(g_hModuleList); r++)
        if (CellText(g_hModuleList, r, 0) == "msimg32") msimg = r;
    ASSERT_GE(msimg, 0) << "the fixture loaded msimg32.dll";
    SelectRow(g_hModuleList, msimg);
    seq = GetClipboardSequenceNumber();
    ChooseFromNextMenu(IDC_CTX_COPY);
    RECT rc = WindowRect(g_hModuleList);
    SendMessageA(page, WM_CONTEXTMENU, (WPARAM)g_hModuleList, MAKELPARAM(rc.left + 20, rc.top + 20));
    EXPECT_TRUE(NextMenuShowedItem());
    EXPECT_EQ((std::vector<std::string>{"&Copy\tCtrl+C", "-", "What's &This?"}), LastMenuItems());
    text = WaitForClipboardText(seq, 3000);
    EXPECT_EQ(ShownRowText(g_hModuleList, msimg), text);
    EXPECT_EQ(0u, text.find("Module\tSize\tFile\r\nmsimg32\t")) << text;

    // A button's Ctrl+C and its right click are not the lists': nothing copied, help offered.
    seq = GetClipboardSequenceNumber();
    PressKeyIn(GetDlgItem(page, IDC_PROC_KILL), 'C', true);
    EXPECT_EQ(seq, GetClipboardSequenceNumber());
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
}

TEST_F(ProcessesPage, RefreshKeepsTheSelectedProcessThreadAndModule)
{
    OpenPage();
    SelectFixture();
    ASSERT_GE(RowCount(g_hThreadList), 3) << "the fixture has idle threads";
    SelectRow(g_hThreadList, 2);
    DWORD tid = g_threadTable[RowParamOf(g_hThreadList, 2)].th32ThreadID;
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
    int msimg = -1;
    for (int r = 0; r < RowCount(g_hModuleList); r++)
        if (CellText(g_hModuleList, r, 0) == "msimg32") msimg = r;
    ASSERT_GT(msimg, 0) << "a module other than the top one";
    SelectRow(g_hModuleList, msimg);
    std::string path = g_moduleTable[g_iModuleSel].szExePath;
    ASSERT_EQ(0, lstrcmpiA(path.c_str(), g_moduleTable[RowParamOf(g_hModuleList, msimg)].szExePath));

    // A process that starts now gets a row of its own and moves the others in the table.
    FixtureProcess newer("page fixture newer", "");
    ASSERT_TRUE(newer.Window());
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    bool newerListed = false;
    for (int i = 0; i < g_processCount; i++) newerListed = newerListed || g_processTable[i].entry.th32ProcessID == newer.Pid();
    EXPECT_TRUE(newerListed) << "the refresh read the processes anew";

    ASSERT_GE(g_iProcessSel, 0);
    EXPECT_EQ(fixture->Pid(), g_processTable[g_iProcessSel].entry.th32ProcessID) << "the same process";
    EXPECT_EQ(g_iProcessSel, RowParamOf(g_hProcessList, SelectedRow(g_hProcessList)));
    // Only the kept process's modules were read, not the top row's on the way to it.
    int top = RowParamOf(g_hProcessList, 0);
    ASSERT_NE(top, g_iProcessSel) << "the fixture is not the top row";
    EXPECT_FALSE(RecordModulesRead(top));
    int threadRow = SelectedRow(g_hThreadList);
    ASSERT_GE(threadRow, 0);
    EXPECT_EQ(tid, g_threadTable[RowParamOf(g_hThreadList, threadRow)].th32ThreadID) << "the same thread";
    int moduleRow = SelectedRow(g_hModuleList);
    ASSERT_GE(moduleRow, 0);
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), g_moduleTable[RowParamOf(g_hModuleList, moduleRow)].szExePath))
        << "the same module";
    EXPECT_EQ(RowParamOf(g_hModuleList, moduleRow), g_iModuleSel) << "View module opens it";

    // A process that has gone: the refresh starts again at the top row.
    int newerRow = -1;
    for (int i = 0; i < g_processCount; i++)
        if (g_processTable[i].entry.th32ProcessID == newer.Pid()) newerRow = RowWithParam(g_hProcessList, i);
    ASSERT_GE(newerRow, 0);
    SelectRow(g_hProcessList, newerRow);
    newer.End();
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
    EXPECT_EQ(0, SelectedRow(g_hProcessList));
    EXPECT_EQ(RowParamOf(g_hProcessList, 0), g_iProcessSel);
    SendMessageA(page, WM_COMMAND, IDC_PROC_SHOWMODULES, 0);
}
