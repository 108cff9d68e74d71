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

// Ctrl+C with real keys: the selected process row under the column titles, the thread row
// through the list's right-click menu, and every field of the Process and Module Information
// boxes, read by this process from the clipboard.
TEST(ProcessesEndToEnd, CopiesRowsAndInformationBoxesAsText)
{
    SettingsGuard settings;
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.PageIndex = 1;
    settings.Store(rec);

    FixtureProcess fixture("copy e2e fixture", "--threads 2");
    ASSERT_TRUE(fixture.Window());
    VantixProcess vantix;
    HWND dlg = vantix.Dialog("Vantix", 20000);
    ASSERT_TRUE(dlg);
    HWND page = ShownPage(dlg);
    ASSERT_TRUE(page);
    HWND list = GetDlgItem(page, IDC_PROC_LIST);
    RemoteList rl(list);
    ASSERT_TRUE(rl.Ok());
    int row = -1;
    for (int r = 0; r < rl.Rows(); r++)
        if (rl.Text(r, 1) == Hex4(fixture.Pid())) row = r;
    ASSERT_GE(row, 0) << "the fixture is listed";
    SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT rc = rl.RowRect(row);
    ASSERT_FALSE(IsRectEmpty(&rc));
    ClickAt(POINT{rc.left + 10, (rc.top + rc.bottom) / 2});
    ASSERT_TRUE(WaitUntil([&] { return rl.Selected() == row && FocusOf(list) == list; }, 5000));

    auto rowText = [](const RemoteList& l, int r) {
        std::string titles, cells;
        for (int c = 0; c < l.Columns(); c++) {
            titles += (c ? "\t" : "") + l.ColumnTitle(c);
            cells += (c ? "\t" : "") + l.Text(r, c);
        }
        return titles + "\r\n" + cells + "\r\n";
    };
    DWORD seq = GetClipboardSequenceNumber();
    Xdotool("key ctrl+c", 0);
    std::string text = WaitForClipboardText(seq, 10000);
    EXPECT_EQ(rowText(rl, row), text);
    EXPECT_EQ(0u, text.find("Process\tIdentifier\tPriority\tModule\r\nvantix_fixture\t" + Hex4(fixture.Pid()))) << text;

    // The thread list's right-click menu: Copy is its first item.
    HWND threads = GetDlgItem(page, IDC_PROC_THREADS);
    RemoteList rt(threads);
    ASSERT_GE(rt.Rows(), 2);
    RECT tr = rt.RowRect(1);
    ASSERT_FALSE(IsRectEmpty(&tr));
    ClickAt(POINT{tr.left + 10, (tr.top + tr.bottom) / 2}, 3);
    HWND menu = WaitForMenu(vantix.Pid(), 5000);
    ASSERT_TRUE(menu) << "the list's menu";
    EXPECT_EQ(1, rt.Selected()) << "the right click selected the row";
    seq = GetClipboardSequenceNumber();
    RECT mr = WindowRect(menu);
    ClickAt(POINT{mr.left + 20, mr.top + 10});
    EXPECT_EQ(rowText(rt, 1), WaitForClipboardText(seq, 10000));

    // Process Information: every field, the priority class as its checked button says.
    PostMessageA(GetDlgItem(page, IDC_PROC_VIEWPROCESS), BM_CLICK, 0, 0);
    HWND info = vantix.Dialog("Process Information", 10000);
    ASSERT_TRUE(info);
    ClickCenter(GetDlgItem(info, IDC_PI_PATH), 1, 0);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(info) == GetDlgItem(info, IDC_PI_PATH); }, 5000));
    seq = GetClipboardSequenceNumber();
    Xdotool("key ctrl+c", 0);
    EXPECT_EQ("Name: " + WindowText(GetDlgItem(info, IDC_PI_NAME)) + "\r\nIdentifier: " + Hex4(fixture.Pid()) +
                  "\r\nParent: " + WindowText(GetDlgItem(info, IDC_PI_PARENT)) + "\r\nBase priority: " +
                  WindowText(GetDlgItem(info, IDC_PI_BASEPRI)) + "\r\nExecutable file: " +
                  WindowText(GetDlgItem(info, IDC_PI_PATH)) + "\r\nPriority class: Normal\r\n",
              WaitForClipboardText(seq, 10000));

    // Module Information, from the box's own button.
    ClickCenter(GetDlgItem(info, IDC_PI_MODULE));
    HWND mod = vantix.Dialog("Module Information", 10000);
    ASSERT_TRUE(mod);
    ClickCenter(GetDlgItem(mod, IDC_MI_NAME), 1, 0);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(mod) == GetDlgItem(mod, IDC_MI_NAME); }, 5000));
    seq = GetClipboardSequenceNumber();
    Xdotool("key ctrl+c", 0);
    EXPECT_EQ("Name: vantix_fixture\r\nProcess: " + Hex4(fixture.Pid()) + "\r\nSize: " +
                  WindowText(GetDlgItem(mod, IDC_MI_SIZE)) + "\r\nExecutable file: " +
                  WindowText(GetDlgItem(mod, IDC_MI_PATH)) + "\r\n",
              WaitForClipboardText(seq, 10000));

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(vantix.Exited(15000)) << "Vantix did not close";
}
