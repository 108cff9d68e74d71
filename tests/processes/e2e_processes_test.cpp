// The running program, driven from outside: its Processes page lists Wine's notepad and
// "&Kill process" ends it (warnings skipped).
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
#include "proc_helpers.h"
#include "support/testing.h"
#include "app/settings.h"
#include "resource.h"

TEST(ProcessesEndToEnd, KillsNotepadFromTheProcessesPage)
{
    ClearStoredSettings();
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.SkipWarnings = 1;
    rec.PageIndex = 1;   // the Processes page
    WriteStoredSettings(&rec, sizeof(rec));

    StoredSettingsGuard guard;   // declared first: cleared after both processes have ended
    StartedProcess notepad, vantix;
    DWORD notepadPid = 0, vantixPid = 0;
    notepad.h = StartProcess("notepad.exe", &notepadPid);
    ASSERT_TRUE(notepad.h) << "cannot start Wine's notepad";
    ASSERT_TRUE(WaitForTopWindow(notepadPid, NULL, NULL, true, 20000));

    std::string exe = ProgramFolder() + "\\Vantix.exe";
    vantix.h = StartProcess("\"" + exe + "\"", &vantixPid);
    ASSERT_TRUE(vantix.h) << exe;
    HWND dlg = WaitForTopWindow(vantixPid, "#32770", "Vantix", true, 20000);
    ASSERT_TRUE(dlg) << "the main dialog did not appear";
    HWND tab = FindWindowExA(dlg, NULL, WC_TABCONTROLA, NULL);
    ASSERT_TRUE(tab);
    HWND page = FindWindowExA(tab, NULL, "#32770", NULL);
    ASSERT_TRUE(page);
    HWND list = GetDlgItem(page, IDC_PROC_LIST);
    char cls[32] = "";
    GetClassNameA(list, cls, sizeof(cls));
    ASSERT_STREQ(WC_LISTVIEWA, cls);
    SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);

    RemoteList rl(list);
    ASSERT_TRUE(rl.Ok());
    int row = -1;
    for (int r = 0; r < rl.Rows(); r++) {
        if (rl.Text(r, 1) == Hex4(notepadPid)) row = r;
        EXPECT_NE(Hex4(vantixPid), rl.Text(r, 1)) << "the program lists itself";
    }
    ASSERT_GE(row, 0) << "notepad is not listed";
    EXPECT_EQ("notepad", rl.Text(row, 0));
    EXPECT_EQ("normal", rl.Text(row, 2));
    rl.Select(row);
    PostMessageA(GetDlgItem(page, IDC_PROC_KILL), BM_CLICK, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(notepad.h, 10000)) << "notepad still runs";

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(vantix.h, 15000)) << "Vantix did not close";
}
