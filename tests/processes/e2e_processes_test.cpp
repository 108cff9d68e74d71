// The running program, driven from outside: its Processes page lists Wine's notepad and
// "&Kill process" ends it (warnings skipped).
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
#include "support/controls.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "resource.h"

TEST(ProcessesEndToEnd, KillsNotepadFromTheProcessesPage)
{
    SettingsGuard settings;   // declared first: cleared after both processes have ended
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.SkipWarnings = 1;
    rec.PageIndex = 1;   // the Processes page
    settings.Store(rec);

    Notepad notepad;
    ASSERT_TRUE(notepad.Started()) << "cannot start Wine's notepad";
    ASSERT_TRUE(notepad.Main());

    VantixProcess vantix;
    ASSERT_TRUE(vantix.Started()) << VantixPath();
    HWND dlg = vantix.Dialog("Vantix", 20000);
    ASSERT_TRUE(dlg) << "the main dialog did not appear";
    HWND page = ShownPage(dlg);
    ASSERT_TRUE(page);
    HWND list = GetDlgItem(page, IDC_PROC_LIST);
    ASSERT_EQ(WC_LISTVIEWA, ClassOf(list));
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);

    RemoteList rl(list);
    ASSERT_TRUE(rl.Ok());
    int row = -1;
    for (int r = 0; r < rl.Rows(); r++) {
        if (rl.Text(r, 1) == Hex4(notepad.Pid())) row = r;
        EXPECT_NE(Hex4(vantix.Pid()), rl.Text(r, 1)) << "the program lists itself";
    }
    ASSERT_GE(row, 0) << "notepad is not listed";
    EXPECT_EQ("notepad", rl.Text(row, 0));
    EXPECT_EQ("normal", rl.Text(row, 2));
    rl.Select(row);
    PostMessageA(GetDlgItem(page, IDC_PROC_KILL), BM_CLICK, 0, 0);
    EXPECT_TRUE(notepad.Exited(10000)) << "notepad still runs";

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(vantix.Exited(15000)) << "Vantix did not close";
}
