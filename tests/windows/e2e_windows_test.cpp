// The running program, driven from outside: its Windows page lists Wine's notepad with its Edit
// child, the Window Information dialog describes it, and Move window opens where the platform
// places new windows and retitles it; its Task Manager page minimizes all windows beside a
// program that hangs on the request, and the program keeps running.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "win_helpers.h"
#include "support/controls.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "resource.h"

TEST(WindowsEndToEnd, NotepadListedDescribedAndRetitled)
{
    SettingsGuard settings;
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.PageIndex = 2;   // the Windows page
    rec.ShowClass = 1;
    settings.Store(rec);

    Notepad notepad;
    ASSERT_TRUE(notepad.Started()) << "cannot start Wine's notepad";
    HWND np = notepad.Main();
    ASSERT_TRUE(np);
    HWND edit = FindWindowExA(np, NULL, "Edit", NULL);
    ASSERT_TRUE(edit);
    std::string title = WindowText(np);
    ASSERT_NE("", title);

    // New windows whose place is left to the platform go where the starter says (Wine places
    // every one there, Windows the first).
    const POINT kDefaultPlace = {350, 250};
    VantixStart how;
    how.defaultPlace = &kDefaultPlace;
    VantixProcess vantix(how);
    ASSERT_TRUE(vantix.Started()) << VantixPath();
    HWND dlg = vantix.Dialog("Vantix", 20000);
    ASSERT_TRUE(dlg) << "the main dialog did not appear";
    HWND page = ShownPage(dlg);
    ASSERT_TRUE(page);
    HWND tree = GetDlgItem(page, IDC_WIN_TREE);
    ASSERT_EQ(WC_TREEVIEWA, ClassOf(tree));

    RemoteTree rt(tree);
    ASSERT_TRUE(rt.Ok());
    EXPECT_EQ("(Desktop)", rt.Text(rt.Root()));
    HTREEITEM item = rt.Find(np);
    ASSERT_TRUE(item) << "notepad is not listed";
    EXPECT_EQ(1, rt.Count(np));
    EXPECT_EQ("\"" + title + "\"    [Notepad]", rt.Text(item));
    HTREEITEM editItem = NULL;
    for (HTREEITEM c = rt.Child(item); c; c = rt.Next(c))
        if (rt.Window(c) == edit) editItem = c;
    ASSERT_TRUE(editItem) << "the Edit child is not under notepad";
    EXPECT_EQ(1, rt.Count(edit));
    EXPECT_EQ("\"\"    [Edit]", rt.Text(editItem));

    // Window Information for notepad, from the page's button.
    rt.Select(item);
    PostMessageA(GetDlgItem(page, IDC_WIN_WINDOW), BM_CLICK, 0, 0);
    HWND info = vantix.Dialog("Window Information", 10000);
    ASSERT_TRUE(info) << "no Window Information dialog";
    char handle[16];
    sprintf(handle, "%04X", (unsigned)(ULONG_PTR)np);
    EXPECT_EQ(handle, WindowText(GetDlgItem(info, IDC_WI_HANDLE)));
    EXPECT_EQ("Notepad", WindowText(GetDlgItem(info, IDC_WI_CLASS)));
    EXPECT_EQ(title, WindowText(GetDlgItem(info, IDC_WI_TITLE)));
    std::string styles = WindowText(GetDlgItem(info, IDC_WI_STYLES));
    EXPECT_EQ(0u, styles.find("WS_OVERLAPPED ")) << styles;
    EXPECT_NE(std::string::npos, styles.find("WS_CAPTION WS_BORDER WS_DLGFRAME ")) << styles;
    EXPECT_NE(std::string::npos, styles.find("WS_SYSMENU ")) << styles;
    char style[64];
    sprintf(style, "Style: %08lX (Extra: %08lX)", (unsigned long)GetWindowLongA(np, GWL_STYLE),
            (unsigned long)GetWindowLongA(np, GWL_EXSTYLE));
    EXPECT_EQ(style, WindowText(GetDlgItem(info, IDC_WI_STYLEGROUP)));

    // Move window retitles notepad; this process reads the new title back.
    PostMessageA(GetDlgItem(info, IDC_WI_MOVE), BM_CLICK, 0, 0);
    char caption[64];
    sprintf(caption, "Move window %X", (unsigned)(ULONG_PTR)np);
    HWND move = vantix.Dialog(caption, 10000);
    ASSERT_TRUE(move) << "no Move window dialog";
    RECT placed = WindowRect(move);
    EXPECT_EQ(kDefaultPlace.x, placed.left) << "placed by the platform, not at the screen's corner";
    EXPECT_EQ(kDefaultPlace.y, placed.top);
    EXPECT_EQ(title, WindowText(GetDlgItem(move, IDC_MW_TITLE)));
    DWORD_PTR r = 0;
    SendMessageTimeoutA(GetDlgItem(move, IDC_MW_TITLE), WM_SETTEXT, 0, (LPARAM)"Retitled by Vantix",
                        SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageA(GetDlgItem(move, IDC_MW_CHANGE), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(move, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(np) == "Retitled by Vantix"; }, 10000)) << WindowText(np);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(move); }, 5000));
    // The Window Information dialog shows the new title after the Move dialog returns.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(info, IDC_WI_TITLE)) == "Retitled by Vantix"; }, 5000));

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(vantix.Exited(15000)) << "Vantix did not close";
}

TEST(WindowsEndToEnd, MinimizeAllBesideAProgramThatHangsOnTheRequestLeavesVantixRunning)
{
    SettingsGuard settings;
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.PageIndex = 3;   // the Task Manager page
    settings.Store(rec);

    WindowsFixture fx("Vantix answering fixture", "--hang-on-request");
    HWND target = fx.Window();
    ASSERT_TRUE(target) << "windows_fixture did not start";
    VantixProcess vantix;
    HWND dlg = vantix.Dialog("Vantix");
    ASSERT_TRUE(dlg) << "the main dialog did not appear";
    HWND page = ShownPage(dlg);
    HWND minimizeAll = page ? GetDlgItem(page, IDC_TASK_MINALL) : NULL;
    ASSERT_TRUE(minimizeAll) << "the Task Manager page is shown";
    ASSERT_TRUE(fx.Arm());
    ASSERT_TRUE(Answers(target, 2000)) << "the fixture answers until it is asked for a change";

    PostMessageA(minimizeAll, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !Answers(target, 200); }, 10000)) << "the request reached the fixture";

    // Vantix's own loop still runs: a posted minimize and a posted restore take effect.
    PostMessageA(dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    bool minimized = WaitUntil([&] { return IsIconic(dlg) != FALSE; }, 10000);
    // A Vantix stuck on the fixture is freed, so that it can still be closed.
    if (!minimized) fx.Kill();
    EXPECT_TRUE(minimized) << "Vantix's loop stopped at the hung program";
    PostMessageA(dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(dlg); }, 10000));

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(vantix.Exited(15000)) << "Vantix did not close";
}
