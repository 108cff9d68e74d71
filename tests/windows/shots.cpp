// Pictures of the Windows page and of the Window Information, Class Information and Move window
// dialogs, saved as PNG files for a person to look at (into %VANTIX_SHOTS% or the current
// folder). Built with the tests, run by hand: tools/winerun.sh --bits 64 windows_shots.exe
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
