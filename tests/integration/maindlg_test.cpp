// The main dialog built from the real template: where it opens, how it sizes, its pages and
// what it leaves behind when it closes.
#include "integration/dialog_fixture.h"
#include "unit/random_options.h"
#include <stdio.h>
#include <string.h>

namespace {

class MainDialog : public DialogTest {};

// Where the template puts the dialog: its client area starts at the template's corner, so the
// window itself starts that far up and left of it as its frame and caption are wide.
POINT TemplateOrigin(HWND dlg)
{
    RECT r = {20, 21, 0, 0};
    MapDialogRect(dlg, &r);
    RECT win = WindowRect(dlg);
    POINT client = {0, 0};
    ClientToScreen(dlg, &client);
    POINT p = {r.left - (client.x - win.left), r.top - (client.y - win.top)};
    return p;
}

TEST_F(MainDialog, FirstStartUsesTemplatePositionSizeAndOptionsPage)
{
    HWND dlg = OpenMain();
    ASSERT_TRUE(dlg);
    RECT rc = WindowRect(dlg);
    POINT origin = TemplateOrigin(dlg);
    EXPECT_EQ(rc.left, origin.x);
    EXPECT_EQ(rc.top, origin.y);
    EXPECT_EQ(rc.right - rc.left, g_sizeMainTemplate.cx);
    EXPECT_EQ(rc.bottom - rc.top, g_sizeMainTemplate.cy);
    EXPECT_EQ(g_Options.PageIndex, 0);
    ASSERT_TRUE(g_hPage);
    EXPECT_TRUE(GetDlgItem(g_hPage, IDC_OPT_TRAY));
    EXPECT_FALSE(GetDlgItem(dlg, IDC_MAIN_TABSLOT)) << "the placeholder gives way to the tab control";
    EXPECT_EQ(SendMessageA(g_hTab, TCM_GETITEMCOUNT, 0, 0), 5);
    char text[64] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendMessageA(g_hTab, TCM_GETITEMA, 4, (LPARAM)&item);
    EXPECT_STREQ(text, "Capture Screen");
    char caption[32];
    GetWindowTextA(dlg, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Vantix");
    // Each icon in its own place: the program's icon big, its small picture small.
    EXPECT_EQ((LRESULT)LoadIconA(g_hInst, MAKEINTRESOURCEA(IDI_VANTIX)), SendMessageA(dlg, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ((LRESULT)LoadIconA(g_hInst, MAKEINTRESOURCEA(IDI_VANTIX_SMALL)),
              SendMessageA(dlg, WM_GETICON, ICON_SMALL, 0));
}

TEST_F(MainDialog, ReopensAtStoredPositionSizeAndPage)
{
    HWND dlg = OpenMain();
    SIZE tmpl = g_sizeMainTemplate;
    RECT rc0 = WindowRect(dlg), close0 = WindowRect(GetDlgItem(dlg, IDCANCEL));
    const int gapX = rc0.right - close0.right, gapY = rc0.bottom - close0.bottom;
    CloseMain();
    ASSERT_FALSE(IsWindow(dlg));

    struct {
        const char* name;
        int x, y, w, h;
        bool usePos, useSize;
    } cases[] = {
        {"wider and taller", 200, 150, tmpl.cx + 120, tmpl.cy + 60, true, true},
        {"wider, same height", 210, 160, tmpl.cx + 40, tmpl.cy, true, true},
        {"same width, taller", 220, 170, tmpl.cx, tmpl.cy + 80, true, false},
        {"off screen", 5000, 5000, tmpl.cx + 10, tmpl.cy + 10, false, true},
        {"one pixel on screen", -tmpl.cx + 1, 100, 0, 0, true, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadOptions();
        g_Options.MainDlgX = c.x;
        g_Options.MainDlgY = c.y;
        g_Options.MainDlgWidth = c.w;
        g_Options.MainDlgHeight = c.h;
        g_Options.PageIndex = 3;
        dlg = OpenMain();
        ASSERT_TRUE(dlg);
        RECT rc = WindowRect(dlg);
        POINT origin = TemplateOrigin(dlg);
        EXPECT_EQ(rc.left, c.usePos ? c.x : origin.x);
        EXPECT_EQ(rc.top, c.usePos ? c.y : origin.y);
        EXPECT_EQ(rc.right - rc.left, c.useSize ? c.w : tmpl.cx);
        EXPECT_EQ(rc.bottom - rc.top, c.useSize ? c.h : tmpl.cy);
        EXPECT_EQ(g_Options.MainDlgWidth, rc.right - rc.left) << "current size follows the dialog";
        EXPECT_TRUE(GetDlgItem(g_hPage, IDC_TASK_SWITCH)) << "Task Manager page restored";
        // The Close button keeps its distance to the bottom-right corner.
        RECT close = WindowRect(GetDlgItem(dlg, IDCANCEL));
        EXPECT_EQ(rc.right - close.right, gapX);
        EXPECT_EQ(rc.bottom - close.bottom, gapY);
        CloseMain();
    }
}

TEST_F(MainDialog, ButtonsKeepTheirDistanceToTheCornerWhenResized)
{
    HWND dlg = OpenMain();
    RECT rc = WindowRect(dlg);
    RECT help = WindowRect(GetDlgItem(dlg, IDC_MAIN_HELP));
    RECT tab = WindowRect(g_hTab);
    SetWindowPos(dlg, NULL, 0, 0, rc.right - rc.left + 90, rc.bottom - rc.top + 70, SWP_NOMOVE | SWP_NOZORDER);
    RECT help2 = WindowRect(GetDlgItem(dlg, IDC_MAIN_HELP));
    RECT tab2 = WindowRect(g_hTab);
    EXPECT_EQ(help2.left - help.left, 90);
    EXPECT_EQ(help2.top - help.top, 70);
    EXPECT_EQ(tab2.right - tab2.left, tab.right - tab.left + 90);
    EXPECT_EQ(tab2.bottom - tab2.top, tab.bottom - tab.top + 70);
}

TEST_F(MainDialog, RefusesToShrinkBelowTheTemplateSize)
{
    HWND dlg = OpenMain();
    SIZE tmpl = g_sizeMainTemplate;
    SetWindowPos(dlg, NULL, 0, 0, tmpl.cx + 50, tmpl.cy + 30, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(dlg, NULL, 0, 0, tmpl.cx - 40, tmpl.cy + 30, SWP_NOMOVE | SWP_NOZORDER);
    RECT rc = WindowRect(dlg);
    EXPECT_EQ(rc.right - rc.left, tmpl.cx + 50) << "snaps back to the last size";
    EXPECT_EQ(rc.bottom - rc.top, tmpl.cy + 30);
    SetWindowPos(dlg, NULL, 0, 0, tmpl.cx, tmpl.cy, SWP_NOMOVE | SWP_NOZORDER);
    rc = WindowRect(dlg);
    EXPECT_EQ(rc.right - rc.left, tmpl.cx) << "the template size itself is allowed";
}

TEST_F(MainDialog, PageControlsScaleInProportionAndReturnExactly)
{
    HWND dlg = OpenMain();
    HWND button = GetDlgItem(g_hPage, IDC_OPT_EXIT);
    RECT before = ChildRect(button);
    RECT page = WindowRect(g_hPage);
    int pw = page.right - page.left, ph = page.bottom - page.top;
    SIZE tmpl = g_sizeMainTemplate;

    SetWindowPos(dlg, NULL, 0, 0, tmpl.cx + pw, tmpl.cy + ph, SWP_NOMOVE | SWP_NOZORDER);
    RECT page2 = WindowRect(g_hPage);
    EXPECT_EQ(page2.right - page2.left, 2 * pw);
    EXPECT_EQ(page2.bottom - page2.top, 2 * ph);
    RECT after = ChildRect(button);
    EXPECT_EQ(after.left, 2 * before.left);
    EXPECT_EQ(after.top, 2 * before.top);
    EXPECT_EQ(after.right - after.left, 2 * (before.right - before.left));
    EXPECT_EQ(after.bottom - after.top, 2 * (before.bottom - before.top));

    for (int i = 1; i <= 7; i++)
        SetWindowPos(dlg, NULL, 0, 0, tmpl.cx + i * 37, tmpl.cy + i * 23, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(dlg, NULL, 0, 0, tmpl.cx, tmpl.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT back = ChildRect(button);
    EXPECT_TRUE(EqualRect(&back, &before)) << "no drift after repeated resizing";
}

TEST_F(MainDialog, SwitchesPagesAndKeepsTheShownOne)
{
    OpenMain();
    const int probe[5] = {IDC_OPT_TRAY, IDC_PROC_SHOWMODULES, IDC_WIN_PICK, IDC_TASK_SWITCH, IDC_CAP_GO};
    for (int i : {1, 2, 3, 4, 0}) {
        SelectTab(i);
        EXPECT_EQ(g_Options.PageIndex, i);
        ASSERT_TRUE(g_hPage);
        EXPECT_TRUE(GetDlgItem(g_hPage, probe[i])) << "page " << i;
        EXPECT_EQ(GetParent(g_hPage), g_hTab);
        EXPECT_TRUE(GetWindowLongPtrA(g_hPage, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    }
    HWND shown = g_hPage;
    SelectTab(0);
    EXPECT_EQ(g_hPage, shown) << "selecting the shown tab does not recreate its page";

    // A page created on a larger dialog is scaled at once.
    SetWindowPos(g_hMainDlg, NULL, 0, 0, g_sizeMainTemplate.cx + 100, g_sizeMainTemplate.cy + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT tabBefore = WindowRect(g_hPage);
    SelectTab(3);
    RECT tabAfter = WindowRect(g_hPage);
    EXPECT_EQ(tabAfter.right - tabAfter.left, tabBefore.right - tabBefore.left);
}

TEST_F(MainDialog, CloseSavesTheRecordAndClosesInformationBoxes)
{
    HWND dlg = OpenMain();
    SelectTab(2);
    SetWindowPos(dlg, NULL, 123, 134, g_sizeMainTemplate.cx + 30, g_sizeMainTemplate.cy + 20, SWP_NOZORDER);
    // Top-level windows of this program stand in for information boxes; one of another
    // instance value must survive.
    HWND info = CreateWindowExA(0, "STATIC", "info", WS_POPUP, 0, 0, 10, 10, NULL, NULL, g_hInst, NULL);
    HWND foreign = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                   (HINSTANCE)GetModuleHandleA("user32.dll"), NULL);
    ASSERT_TRUE(info && foreign);

    SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_FALSE(g_hMainDlg);
    EXPECT_FALSE(g_hPage);
    EXPECT_FALSE(g_bClosingAll) << "cleared again once the dialog is gone";
    EXPECT_FALSE(IsWindow(info));
    EXPECT_TRUE(IsWindow(foreign));
    DestroyWindow(foreign);

    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), 168u);
    EXPECT_EQ(stored.Signature, 0x07B3DE3Au);
    EXPECT_EQ(stored.RecordSize, 168u);
    EXPECT_EQ(stored.MainDlgX, 123);
    EXPECT_EQ(stored.MainDlgY, 134);
    EXPECT_EQ(stored.MainDlgWidth, g_sizeMainTemplate.cx + 30);
    EXPECT_EQ(stored.PageIndex, 2);

    // And the next start reads it back.
    SetOptionsDefaults(&g_Options);
    LoadOptions();
    EXPECT_EQ(memcmp(&g_Options, &stored, sizeof(stored)), 0);
}

TEST_F(MainDialog, StoredRecordOfWrongShapeIsIgnoredAndBadFieldsAreSafe)
{
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.MainDlgX = 77;
    unsigned char bytes[169];
    memcpy(bytes, &rec, sizeof(rec));
    bytes[168] = 0;
    WriteStoredSettings(bytes, 169);
    LoadOptions();
    EXPECT_EQ(g_Options.MainDlgX, -100000);
    WriteStoredSettings(bytes, 167);
    LoadOptions();
    EXPECT_EQ(g_Options.MainDlgX, -100000);

    // Right signature and size, but a page index that would index past the page table.
    rec.PageIndex = 9;
    rec.ProcessSortColumn = 77;
    WriteStoredSettings(&rec, sizeof(rec));
    LoadOptions();
    EXPECT_EQ(g_Options.MainDlgX, 77);
    EXPECT_EQ(g_Options.PageIndex, 0);
    EXPECT_EQ(g_Options.ProcessSortColumn, 4u);
    ASSERT_TRUE(OpenMain());
    EXPECT_TRUE(GetDlgItem(g_hPage, IDC_OPT_TRAY));
}

// Random stored records (valid signature and size) as the next start finds them: the dialog
// opens on each, every page is shown on it, and it closes and saves without a crash.
TEST_F(MainDialog, OpensAndShowsEveryPageOnTwoHundredRandomStoredRecords)
{
    const uint64_t seed = FuzzSeed(0x5EED0200);
    const int kRecords = 200;
    OptionsRandom rnd(seed);
    int opened = 0, pagesShown = 0, saved = 0;
    size_t boxes = 0;
    for (int n = 0; n < kRecords; n++) {
        SCOPED_TRACE("record " + std::to_string(n) + " of seed " + std::to_string(seed));
        unsigned char stored[OPTIONS_SIZE];
        RandomStoredOptions(rnd, stored);
        WriteStoredSettings(stored, sizeof(stored));
        LoadOptions();
        MessageBoxAnswerer answer(IDOK);
        // Opened and closed as start-up and the Close button do; each page made once, the
        // record's own first (each page of a live system costs its snapshot).
        const int first = g_Options.PageIndex;
        OpenMainDialog();
        HWND dlg = g_hMainDlg;
        ASSERT_TRUE(dlg && IsWindow(dlg));
        opened++;
        for (int k = 0; k < PAGE_COUNT; k++) {
            const int page = (first + k) % PAGE_COUNT;
            SelectTab(page);
            ASSERT_TRUE(g_hPage && IsWindow(g_hPage)) << "page " << page;
            ASSERT_EQ(g_Options.PageIndex, page);
            pagesShown++;
        }
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        ASSERT_FALSE(IsWindow(dlg));
        OptionsRecord back;
        if (ReadStoredSettings(&back, sizeof(back)) == OPTIONS_SIZE && back.Signature == OPTIONS_SIGNATURE) saved++;
        boxes += answer.Boxes().size();
    }
    printf("  main dialog on random records (seed 0x%llX): %d records, %d opened, %d pages shown, %d saved, "
           "%u boxes answered\n",
           (unsigned long long)seed, kRecords, opened, pagesShown, saved, (unsigned)boxes);
    EXPECT_EQ(saved, kRecords);
}

TEST_F(MainDialog, ClosingEndsTheProgramUnlessTheTrayIconIsOn)
{
    static bool registered = RegisterMainWindowClass();
    (void)registered;
    for (bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "tray on" : "tray off");
        LoadOptions();
        g_Options.TrayIcon = tray;
        g_hMainWnd = CreateMainWindow();
        ASSERT_TRUE(g_hMainWnd);
        HWND hidden = g_hMainWnd;
        OpenMain();
        // A second Open command raises the dialog instead of making another.
        HWND dlg = g_hMainDlg;
        SendMessageA(hidden, WM_COMMAND, IDC_CMD_OPEN, 0);
        EXPECT_EQ(g_hMainDlg, dlg);
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(IsWindow(hidden) != FALSE, tray);
        if (IsWindow(hidden)) {
            // Quit from the tray menu: destroys the hidden window and with it an open dialog.
            OpenMain();
            SendMessageA(hidden, WM_COMMAND, IDC_CMD_QUIT, 0);
            EXPECT_FALSE(IsWindow(hidden));
            EXPECT_FALSE(g_hMainDlg);
        }
        EXPECT_FALSE(g_hMainWnd);
        MSG quit;
        EXPECT_TRUE(PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the loop is told to end";
        // WM_ENDSESSION with wParam 0 changes nothing; with 1 it ends the program.
    }
    g_hMainWnd = CreateMainWindow();
    HWND hidden = g_hMainWnd;
    SendMessageA(hidden, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(IsWindow(hidden));
    SendMessageA(hidden, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(hidden));
    MSG quit;
    PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(MainDialog, SystemMenuOffersMinimizeAndRestore)
{
    HWND dlg = OpenMain();
    HMENU sys = GetSystemMenu(dlg, FALSE);
    ASSERT_TRUE(sys);
    int n = GetMenuItemCount(sys);
    ASSERT_GE(n, 3);
    char text[64] = "";
    EXPECT_EQ(GetMenuItemID(sys, n - 2), (UINT)SC_MINIMIZE);
    GetMenuStringA(sys, n - 2, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "Minimize");
    EXPECT_EQ(GetMenuItemID(sys, n - 1), (UINT)SC_RESTORE);
    GetMenuStringA(sys, n - 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "Restore");
    MENUITEMINFOA mi = {};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(sys, n - 3, TRUE, &mi);
    EXPECT_TRUE(mi.fType & MFT_SEPARATOR);
}

}  // namespace

namespace {

class MainDialogKeys : public DialogTest {};

TEST_F(MainDialogKeys, EscapeInsideAnyPageClosesTheMainDialog)
{
    for (int page : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE(page);
        LoadOptions();
        g_Options.PageIndex = (int8_t)page;
        HWND dlg = OpenMain();
        ASSERT_TRUE(dlg);
        HWND control = GetNextDlgTabItem(g_hPage, NULL, FALSE);
        ASSERT_TRUE(control);
        SetFocus(control);
        ASSERT_EQ(GetParent(GetFocus()), g_hPage);
        MSG msg = {};
        msg.hwnd = GetFocus();
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_ESCAPE;
        msg.lParam = 1;
        DispatchProgramMessage(&msg);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(dlg); }, 2000));
        CloseMain();
    }
}

}  // namespace

namespace {

class MainDialogLayout : public DialogTest {};

TEST_F(MainDialogLayout, OnlyTheFirstFortyPageWindowsAreRescaled)
{
    HWND dlg = OpenMain();
    ASSERT_TRUE(g_hPage);
    // Enough extra children to pass the record's 40 entries.
    std::vector<HWND> extra;
    for (int i = 0; i < 45; i++)
        extra.push_back(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 2 * i, 100, 10, 10, g_hPage,
                                        NULL, g_hInst, NULL));
    RecordPageLayout();
    EXPECT_EQ(RecordedLayoutCount(), LAYOUT_MAX_ENTRIES);
    RECT last = ChildRect(extra.back());
    RECT first = ChildRect(GetDlgItem(g_hPage, IDC_OPT_TRAY));
    SetWindowPos(dlg, NULL, 0, 0, g_sizeMainTemplate.cx + 200, g_sizeMainTemplate.cy + 120, SWP_NOMOVE | SWP_NOZORDER);
    RECT last2 = ChildRect(extra.back());
    RECT first2 = ChildRect(GetDlgItem(g_hPage, IDC_OPT_TRAY));
    EXPECT_TRUE(EqualRect(&last, &last2)) << "windows past the fortieth keep their place";
    EXPECT_GT(first2.right - first2.left, first.right - first.left) << "the first ones grow";
}

TEST_F(MainDialogLayout, MinimizeAndRestoreKeepTheSize)
{
    HWND dlg = OpenMain();
    SetWindowPos(dlg, NULL, 0, 0, g_sizeMainTemplate.cx + 60, g_sizeMainTemplate.cy + 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT before = WindowRect(dlg);
    RECT button = ChildRect(GetDlgItem(g_hPage, IDC_OPT_EXIT));
    ShowWindow(dlg, SW_MINIMIZE);
    PumpMessages(50);
    ShowWindow(dlg, SW_RESTORE);
    PumpMessages(50);
    RECT after = WindowRect(dlg);
    EXPECT_TRUE(EqualRect(&before, &after));
    RECT button2 = ChildRect(GetDlgItem(g_hPage, IDC_OPT_EXIT));
    EXPECT_TRUE(EqualRect(&button, &button2));
    EXPECT_EQ(g_Options.MainDlgWidth, after.right - after.left);
}

}  // namespace

namespace {

// The program's manifest asks for version 6 of the common controls for whichever bitness it is
// built for; a manifest naming the wrong processor would leave the old controls (or, on
// Windows, keep the program from starting at all).
TEST(Manifest, LoadsVersionSixOfTheCommonControls)
{
    InitCommonControls();
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    ASSERT_TRUE(comctl);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(comctl, path, sizeof(path));
    CharLowerA(path);
    EXPECT_TRUE(strstr(path, "\\winsxs\\") != NULL) << path;
    // BCM_GETIDEALSIZE answers only in version 6.
    HWND button = CreateWindowExA(0, "Button", "Ideal", WS_POPUP | BS_PUSHBUTTON, 0, 0, 10, 10, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    SIZE ideal = {0, 0};
    EXPECT_TRUE(SendMessageA(button, BCM_GETIDEALSIZE, 0, (LPARAM)&ideal));
    DestroyWindow(button);
}

}  // namespace
