// Pictures of the Windows page and of the Window Information, Class Information and Move window
// dialogs, of the Find box in use and of the context menus, saved as PNG files for a person to
// look at (into %VANTIX_SHOTS% or the current folder). Built with the tests, run by hand:
// tools/winerun.sh --bits 64 windows_shots.exe
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include "hierarchy.h"
#include "support/controls.h"
#include "support/dialogs.h"
#include "integration/dialog_fixture.h"
#include "support/pictures.h"
#include "windows/class_info.h"
#include "windows/find_box.h"
#include "windows/move_window.h"
#include "windows/window_info.h"
#include "windows/windows_page.h"

class Shots : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        if (!ShotsWanted()) SetEnvironmentVariableA("VANTIX_SHOTS", ".");
    }
};

TEST_F(Shots, PageAndDialogs)
{
    Hierarchy h;
    g_Options.PageIndex = 2;
    g_Options.ShowClass = 1;
    ASSERT_TRUE(OpenMain());
    SetWindowPos(g_hMainDlg, HWND_TOP, 20, 60, 0, 0, SWP_NOSIZE);
    HWND tree = GetDlgItem(g_hPage, IDC_WIN_TREE);
    auto top = ItemsOfWindow(tree, h.top);
    ASSERT_EQ(1u, top.size());
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, (LPARAM)top[0]);
    SelectTreeItem(tree, top[0]);
    PumpMessages(300);
    EXPECT_TRUE(SaveWindowShot(g_hMainDlg, "windows_page"));

    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(h.props);
    HWND info = NewDialog("Window Information", before);
    ASSERT_TRUE(info);
    SetWindowPos(info, HWND_TOP, 40, 80, 0, 0, SWP_NOSIZE);
    PumpMessages(300);
    EXPECT_TRUE(SaveWindowShot(info, "window_info"));

    HWND cls = OpenClassDialog(h.top);
    ASSERT_TRUE(cls);
    SetWindowPos(cls, HWND_TOP, 60, 100, 0, 0, SWP_NOSIZE);
    PumpMessages(300);
    EXPECT_TRUE(SaveWindowShot(cls, "class_info"));
    HWND dlgClass = OpenClassDialog(info);
    ASSERT_TRUE(dlgClass);
    SetWindowPos(dlgClass, HWND_TOP, 80, 120, 0, 0, SWP_NOSIZE);
    PumpMessages(300);
    EXPECT_TRUE(SaveWindowShot(dlgClass, "class_info_dialog"));

    ActInModal("Move window", [](HWND dlg) {
        SetWindowPos(dlg, HWND_TOP, 100, 140, 0, 0, SWP_NOSIZE);
        ClickCheckBox(dlg, IDC_MW_MOVE);
        PumpMessages(300);
        SaveWindowShot(dlg, "move_window");
        PressButton(dlg, IDCANCEL);
    });
    OpenMoveDialog(h.child, info);
}

// The screen around a window and a second one beside it.
static bool SaveUnionShot(HWND a, HWND b, const char* name, int margin = 6)
{
    RECT ra = WindowRect(a), rb = WindowRect(b), u;
    UnionRect(&u, &ra, &rb);
    InflateRect(&u, margin, margin);
    RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&u, &u, &all);
    return SaveShot(ScreenPicture(u), name);
}

static const char* s_menuShot;
static HWND s_menuBeside;

// Takes the picture while the menu is open, then closes it.
static void CALLBACK ShootMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = FindWindowA("#32768", NULL);
    if (!menu || !IsWindowVisible(menu)) return;
    KillTimer(NULL, id);
    SaveUnionShot(s_menuBeside, menu, s_menuShot, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

static void ShotOfMenu(HWND page, HWND control, HWND beside, const char* name)
{
    s_menuShot = name;
    s_menuBeside = beside;
    RECT rc = WindowRect(control);
    SetTimer(NULL, 0, 300, ShootMenu);
    SendMessageA(page, WM_CONTEXTMENU, (WPARAM)control, MAKELPARAM(rc.left + 40, rc.top + 40));
}

TEST_F(Shots, FindBoxInUseAndContextMenus)
{
    Hierarchy h;
    g_Options.PageIndex = 2;
    g_Options.ShowClass = 1;
    ASSERT_TRUE(OpenMain());
    SetWindowPos(g_hMainDlg, HWND_TOP, 20, 60, 0, 0, SWP_NOSIZE);
    HWND tree = GetDlgItem(g_hPage, IDC_WIN_TREE);
    HWND box = OpenFindBox(g_hMainDlg, tree);
    ASSERT_TRUE(box);
    // The hierarchy's own windows away from the picture.
    for (HWND w : {h.top, h.owner})
        SetWindowPos(w, HWND_BOTTOM, 1000, 760, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    SetDlgItemTextA(box, IDC_FIND_WHAT, "deep static");
    PressButton(box, IDC_FIND_NEXT);
    // The tree in focus shows the window found in the selection's colour.
    SetFocus(tree);
    PumpMessages(300);
    EXPECT_TRUE(SaveUnionShot(g_hMainDlg, box, "find_box_in_use"));
    EXPECT_TRUE(SaveWindowShot(box, "find_box"));
    // Once more: the one match again, after going round, with the box's note.
    PressButton(box, IDC_FIND_NEXT);
    PumpMessages(300);
    EXPECT_TRUE(SaveWindowShot(box, "find_box_note"));
    ShotOfMenu(g_hPage, tree, g_hMainDlg, "tree_menu");
    DestroyWindow(box);

    SelectTab(1);
    PumpMessages(300);
    HWND list = GetDlgItem(g_hPage, IDC_PROC_LIST);
    ShotOfMenu(g_hPage, list, g_hMainDlg, "list_menu");
    auto before = ThreadDialogs("Window Information");
    OpenWindowInfo(h.props);
    HWND info = NewDialog("Window Information", before);
    ASSERT_TRUE(info);
    SetWindowPos(info, HWND_TOP, 520, 80, 0, 0, SWP_NOSIZE);
    PumpMessages(300);
    ShotOfMenu(info, GetDlgItem(info, IDC_WI_REFRESH), info, "info_menu");
}
