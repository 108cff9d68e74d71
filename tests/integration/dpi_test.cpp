// The program at the DPI of its screen. This program runs twice: in the suite's prefix at 96 DPI
// and in a prefix made at 144 DPI (VANTIX_DPI names the DPI the run was made for).
#include "integration/dialog_fixture.h"
#include "support/dialogs.h"
#include "support/pictures.h"
#include "support/settings.h"
#include "app/about.h"
#include "app/dpi.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "windows/class_info.h"
#include "windows/find_box.h"
#include "windows/style_editor.h"
#include "windows/window_info.h"

#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The DPI the prefix was made with, 96 when the run names none.
UINT PrefixDpi()
{
    const char* v = getenv("VANTIX_DPI");
    return v && atoi(v) > 0 ? (UINT)atoi(v) : 96;
}

TEST(Dpi, TheProgramIsPerMonitorAwareAtTheScreensDpi)
{
    EXPECT_TRUE(ThreadIsPerMonitorAware()) << "the manifest declares per-monitor awareness";
    EXPECT_EQ(SystemDpi(), PrefixDpi());
    HDC dc = GetDC(NULL);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), (int)PrefixDpi());
    ReleaseDC(NULL, dc);
}

class DpiPages : public DialogTest {
protected:
    HWND OpenOnPage(int page)
    {
        g_Options.PageIndex = page;
        HWND dlg = OpenMain();
        if (dlg) SetWindowPos(dlg, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE);
        PumpMessages(100);
        return dlg;
    }

    static std::vector<int> ColumnWidths(HWND list)
    {
        std::vector<int> w;
        HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
        int n = header ? (int)SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) : 0;
        for (int i = 0; i < n; i++) w.push_back((int)SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
        return w;
    }
};

struct PageList {
    int page;
    int id;
    const char* name;
};
// The lists of the pages that show item icons, and where each keeps them.
const PageList kIconLists[] = {
    {PAGE_PROCESSES, IDC_PROC_LIST, "processes"},
    {PAGE_WINDOWS, IDC_WIN_TREE, "window tree"},
    {PAGE_TASKS, IDC_TASK_LIST, "tasks"},
};

TEST_F(DpiPages, ItemIconsTakeTheSmallIconSizeOfTheMonitorsDpi)
{
    const int want = ScaleForDpi(16, PrefixDpi());   // 16 at 96 DPI, 24 at 144
    for (const PageList& l : kIconLists) {
        ASSERT_TRUE(OpenOnPage(l.page)) << l.name;
        HWND list = GetDlgItem(g_hPage, l.id);
        ASSERT_TRUE(list) << l.name;
        char cls[32] = "";
        GetClassNameA(list, cls, sizeof(cls));
        bool tree = lstrcmpiA(cls, WC_TREEVIEWA) == 0;
        HIMAGELIST images = tree ? (HIMAGELIST)SendMessageA(list, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)
                                 : (HIMAGELIST)SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
        ASSERT_TRUE(images) << l.name;
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        EXPECT_EQ(cx, want) << l.name;
        EXPECT_EQ(cy, want) << l.name;
        CloseMain();
    }
}

TEST_F(DpiPages, ColumnsShareTheListsWidthAtAnyDpi)
{
    struct { int page, id; } lists[] = {{PAGE_PROCESSES, IDC_PROC_LIST}, {PAGE_TASKS, IDC_TASK_LIST}};
    for (auto l : lists) {
        ASSERT_TRUE(OpenOnPage(l.page));
        HWND list = GetDlgItem(g_hPage, l.id);
        ASSERT_TRUE(list);
        RECT rc = WindowRect(list);
        std::vector<int> w = ColumnWidths(list);
        ASSERT_FALSE(w.empty());
        int sum = 0;
        for (int x : w) sum += x;
        // The whole width but borders and a scroll bar, less what an equal share rounds away.
        int room = rc.right - rc.left - 4 * GetSystemMetrics(SM_CXBORDER) - GetSystemMetrics(SM_CXVSCROLL);
        EXPECT_LE(sum, room) << "page " << l.page;
        EXPECT_GT(sum, room - (int)w.size()) << "page " << l.page;
        CloseMain();
    }
}

TEST_F(DpiPages, StoredColumnWidthsAreShownAndStoredAtTheListsDpi)
{
    // Widths the user set on a monitor of 192 DPI, the Processes page's and the Task Manager's.
    const int32_t process[PROCESS_COLUMNS] = {120, 60, -1, 200};
    memcpy(g_Options.ProcessColumnWidths, process, sizeof(process));
    g_Options.TaskColumnWidths[0] = 300;
    g_ExtraOptions.ColumnDpi = 192;
    ASSERT_TRUE(OpenOnPage(PAGE_PROCESSES));
    std::vector<int> shown = ColumnWidths(GetDlgItem(g_hPage, IDC_PROC_LIST));
    ASSERT_EQ(shown.size(), (size_t)PROCESS_COLUMNS);
    for (int i = 0; i < PROCESS_COLUMNS; i++) {
        if (process[i] < 0) continue;
        EXPECT_EQ(shown[i], ScaleBetween(process[i], 192, PrefixDpi())) << "column " << i;
    }
    CloseMain();

    // Stored as shown, at the screen's DPI, and the page not shown is measured at it too.
    EXPECT_EQ(g_ExtraOptions.ColumnDpi, PrefixDpi());
    for (int i = 0; i < PROCESS_COLUMNS; i++) EXPECT_EQ(g_Options.ProcessColumnWidths[i], shown[i]) << i;
    EXPECT_EQ(g_Options.TaskColumnWidths[0], ScaleBetween(300, 192, PrefixDpi()));
    DWORD type = 0, data = 0;
    ASSERT_TRUE(ReadStoredExtra("ColumnDpi", &type, &data)) << "closing the dialog stored it";
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(data, PrefixDpi());
    g_ExtraOptions.ColumnDpi = 0;
    LoadOptions();
    EXPECT_EQ(g_ExtraOptions.ColumnDpi, PrefixDpi());

    // A record stored before the DPI was: its widths are taken as they are.
    g_ExtraOptions.ColumnDpi = 0;
    g_Options.TaskColumnWidths[0] = 300;
    ASSERT_TRUE(OpenOnPage(PAGE_TASKS));
    EXPECT_EQ(ColumnWidths(GetDlgItem(g_hPage, IDC_TASK_LIST)), std::vector<int>{300});
    CloseMain();
}

// The rectangle a monitor of from/to times the DPI would suggest for the window (somewhat moved).
RECT Suggested(HWND w, int from, int to)
{
    RECT r = WindowRect(w);
    RECT s = {r.left + 7, r.top + 5, 0, 0};
    s.right = s.left + ScaleBetween(r.right - r.left, from, to);
    s.bottom = s.top + ScaleBetween(r.bottom - r.top, from, to);
    return s;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

TEST_F(DpiPages, MainDialogTakesTheSuggestedRectangleAndScalesItsColumns)
{
    HWND dlg = OpenOnPage(PAGE_PROCESSES);
    ASSERT_TRUE(dlg);
    HWND list = GetDlgItem(g_hPage, IDC_PROC_LIST);
    std::vector<int> before = ColumnWidths(list);
    RECT want = Suggested(dlg, 2, 3);
    UINT dpi = ScaleBetween(PrefixDpi(), 2, 3);
    SendMessageA(dlg, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), (LPARAM)&want);
    PumpMessages(100);
    RECT got = WindowRect(dlg);
    EXPECT_TRUE(SameRect(got, want)) << RectText(got) << " for " << RectText(want);
    std::vector<int> after = ColumnWidths(list);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); i++)
        EXPECT_NEAR(after[i], before[i] * 3 / 2, 1) << "column " << i;
    // The least size grew with it: the dialog stays at the new size and keeps its layout.
    RECT close = WindowRect(GetDlgItem(dlg, IDCANCEL));
    EXPECT_LE(close.right, got.right);
    EXPECT_LE(close.bottom, got.bottom);
    CloseMain();
}

TEST_F(DpiPages, EveryOpenDialogTakesTheSuggestedRectangle)
{
    ASSERT_TRUE(OpenOnPage(PAGE_OPTIONS));
    ASSERT_TRUE(TakeProcessSnapshot());
    struct Box {
        const char* caption;
        HWND hwnd;
    } boxes[] = {
        {"Process Information", OpenProcessDialog(ProcessEntryFor(GetCurrentProcessId()))},
        {"Class Information", OpenClassDialog(g_hMainDlg)},
        {"Window Information", NULL},
    };
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(g_hMainDlg);
    boxes[2].hwnd = NewDialog("Window Information", before);
    for (const Box& b : boxes) {
        ASSERT_TRUE(b.hwnd) << b.caption;
        // From 96 to 120 DPI: large boxes at 144 would grow past what the screen lets a window take.
        RECT want = Suggested(b.hwnd, 4, 5);
        SendMessageA(b.hwnd, WM_DPICHANGED, MAKEWPARAM(120, 120), (LPARAM)&want);
        RECT got = WindowRect(b.hwnd);
        EXPECT_TRUE(SameRect(got, want)) << b.caption << ": " << RectText(got) << " for " << RectText(want);
    }
    RECT aboutWant = {0, 0, 0, 0}, aboutGot = {0, 0, 0, 0};
    ActInModal("About", [&](HWND dlg) {
        aboutWant = Suggested(dlg, 4, 5);
        SendMessageA(dlg, WM_DPICHANGED, MAKEWPARAM(120, 120), (LPARAM)&aboutWant);
        aboutGot = WindowRect(dlg);
        PressButton(dlg, IDOK);
    });
    OpenAboutBox(g_hMainDlg);
    EXPECT_TRUE(SameRect(aboutGot, aboutWant)) << RectText(aboutGot) << " for " << RectText(aboutWant);
    DiscardProcessSnapshot();
    CloseMain();
}

struct PageControls {
    HWND page;
    std::vector<std::string> faults;
};

// A control's text, measured in its own font, against the room the control gives it.
void CheckControlText(HWND control, std::vector<std::string>* faults)
{
    char cls[32] = "", text[256] = "";
    GetClassNameA(control, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Button") != 0 && lstrcmpiA(cls, "Static") != 0) return;
    if (GetWindowTextA(control, text, sizeof(text)) <= 0) return;
    LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT rc;
    GetClientRect(control, &rc);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    RECT need = {0, 0, rc.right, 0};
    bool button = lstrcmpiA(cls, "Button") == 0;
    UINT kind = style & BS_TYPEMASK;
    bool box = button && (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                          kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE);
    bool group = button && kind == BS_GROUPBOX;
    bool multiline = button ? (style & BS_MULTILINE) != 0 : (style & SS_TYPEMASK) <= SS_RIGHT;
    // The box of a check box or radio button and the gap after it take part of the width.
    int room = rc.right - (box ? MetricForDpi(SM_CXMENUCHECK, DpiOfWindow(control)) + 2 : 0);
    need.right = room;
    DrawTextA(dc, text, -1, &need, DT_CALCRECT | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    bool cut = need.right > room || (!group && need.bottom > rc.bottom);
    if (cut)
        faults->push_back(std::string(text) + ": needs " + std::to_string(need.right) + "x" +
                          std::to_string(need.bottom) + ", has " + std::to_string(room) + "x" +
                          std::to_string(rc.bottom));
}

BOOL CALLBACK CheckPageControlProc(HWND hWnd, LPARAM lParam)
{
    PageControls* pc = (PageControls*)lParam;
    if (GetParent(hWnd) != pc->page || !IsWindowVisible(hWnd)) return TRUE;
    RECT client, rc = WindowRect(hWnd);
    GetClientRect(pc->page, &client);
    MapWindowPoints(NULL, pc->page, (POINT*)&rc, 2);
    char text[128] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    if (rc.right > client.right || rc.bottom > client.bottom)
        pc->faults.push_back(std::string("\"") + text + "\" reaches past the page");
    CheckControlText(hWnd, &pc->faults);
    return TRUE;
}

TEST_F(DpiPages, EveryControlAndItsTextFitWithinThePage)
{
    for (int page = 0; page < PAGE_COUNT; page++) {
        ASSERT_TRUE(OpenOnPage(page));
        PageControls pc = {g_hPage, {}};
        EnumChildWindows(g_hPage, CheckPageControlProc, (LPARAM)&pc);
        for (const std::string& f : pc.faults) ADD_FAILURE() << "page " << page << ": " << f;
        CloseMain();
    }
}

// Pictures of the five pages for a person to look at (and for the help folder at 144 DPI).
TEST_F(DpiPages, ShotsOfEveryPage)
{
    if (!ShotsWanted()) GTEST_SKIP() << "VANTIX_SHOTS names no folder";
    const char* names[PAGE_COUNT] = {"options", "processes", "windows", "tasks", "capture"};
    for (int page = 0; page < PAGE_COUNT; page++) {
        ASSERT_TRUE(OpenOnPage(page));
        PumpMessages(300);
        std::string name = "page_" + std::to_string(PrefixDpi()) + "_" + names[page];
        EXPECT_TRUE(SaveWindowShot(g_hMainDlg, name.c_str()));
        CloseMain();
    }
}

BOOL CALLBACK CheckDialogControlProc(HWND hWnd, LPARAM lParam)
{
    // The About box's title is drawn 40 pixels high (at 96 DPI) in a line that shows its first
    // word only, by design at every DPI; the version stands in full on the line below it.
    if (GetDlgCtrlID(hWnd) == IDC_ABOUT_VERSION) return TRUE;
    if (IsWindowVisible(hWnd)) CheckControlText(hWnd, (std::vector<std::string>*)lParam);
    return TRUE;
}

// Every dialog shows all of its text; with VANTIX_SHOTS set, pictures of them for a person.
TEST_F(DpiPages, EveryDialogShowsAllItsText)
{
    std::string dpi = std::to_string(PrefixDpi());
    ASSERT_TRUE(OpenOnPage(PAGE_WINDOWS));
    ASSERT_TRUE(TakeProcessSnapshot());
    auto shoot = [&](HWND w, const char* name) {
        ASSERT_TRUE(w) << name;
        SetWindowPos(w, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE);
        PumpMessages(300);
        std::vector<std::string> faults;
        EnumChildWindows(w, CheckDialogControlProc, (LPARAM)&faults);
        for (const std::string& f : faults) ADD_FAILURE() << name << ": " << f;
        if (ShotsWanted()) {
            EXPECT_TRUE(SaveWindowShot(w, ("dialog_" + dpi + "_" + name).c_str()));
        }
    };
    HWND process = OpenProcessDialog(ProcessEntryFor(GetCurrentProcessId()));
    shoot(process, "process_info");
    DestroyWindow(process);
    HWND cls = OpenClassDialog(g_hMainDlg);
    shoot(cls, "class_info");
    DestroyWindow(cls);
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(g_hMainDlg);
    HWND info = NewDialog("Window Information", before);
    shoot(info, "window_info");
    DestroyWindow(info);
    HWND find = OpenFindBox(g_hMainDlg, GetDlgItem(g_hPage, IDC_WIN_TREE));
    shoot(find, "find_box");
    DestroyWindow(find);
    ActInModal("About", [&](HWND dlg) {
        shoot(dlg, "about");
        PressButton(dlg, IDOK);
    });
    OpenAboutBox(g_hMainDlg);
    ActInModal("Style", [&](HWND dlg) {
        shoot(dlg, "style_editor");
        PressButton(dlg, IDCANCEL);
    });
    OpenStyleEditor(g_hMainDlg, g_hMainDlg);
    DiscardProcessSnapshot();
    CloseMain();
}

}  // namespace
