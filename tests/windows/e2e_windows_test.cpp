// The running program, driven from outside: its Windows page lists Wine's notepad with its Edit
// child, the Window Information dialog describes it, and Move window retitles it.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include "win_helpers.h"
#include "support/testing.h"
#include "app/settings.h"
#include "resource.h"

namespace {

// Text of a window of another process, as the window itself answers.
std::string RemoteText(HWND h)
{
    char buf[2048] = "";
    DWORD_PTR r = 0;
    SendMessageTimeoutA(h, WM_GETTEXT, sizeof(buf), (LPARAM)buf, SMTO_ABORTIFHUNG, 5000, &r);
    buf[sizeof(buf) - 1] = '\0';
    return buf;
}

} // namespace

TEST(WindowsEndToEnd, NotepadListedDescribedAndRetitled)
{
    ClearStoredSettings();
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    rec.PageIndex = 2;   // the Windows page
    rec.ShowClass = 1;
    WriteStoredSettings(&rec, sizeof(rec));

    StoredSettingsGuard guard;
    StartedProcess notepad, vantix;
    DWORD notepadPid = 0, vantixPid = 0;
    notepad.h = StartProcess("notepad.exe", &notepadPid);
    ASSERT_TRUE(notepad.h) << "cannot start Wine's notepad";
    HWND np = WaitForTopWindow(notepadPid, "Notepad", NULL, true, 20000);
    ASSERT_TRUE(np);
    HWND edit = FindWindowExA(np, NULL, "Edit", NULL);
    ASSERT_TRUE(edit);
    std::string title = RemoteText(np);
    ASSERT_NE("", title);

    std::string exe = ProgramFolder() + "\\Vantix.exe";
    vantix.h = StartProcess("\"" + exe + "\"", &vantixPid);
    ASSERT_TRUE(vantix.h) << exe;
    HWND dlg = WaitForTopWindow(vantixPid, "#32770", "Vantix", true, 20000);
    ASSERT_TRUE(dlg) << "the main dialog did not appear";
    HWND tab = FindWindowExA(dlg, NULL, WC_TABCONTROLA, NULL);
    ASSERT_TRUE(tab);
    HWND page = FindWindowExA(tab, NULL, "#32770", NULL);
    ASSERT_TRUE(page);
    HWND tree = GetDlgItem(page, IDC_WIN_TREE);
    char cls[32] = "";
    GetClassNameA(tree, cls, sizeof(cls));
    ASSERT_STREQ(WC_TREEVIEWA, cls);

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
    HWND info = WaitForTopWindow(vantixPid, "#32770", "Window Information", true, 10000);
    ASSERT_TRUE(info) << "no Window Information dialog";
    char handle[16];
    sprintf(handle, "%04X", (unsigned)(ULONG_PTR)np);
    EXPECT_EQ(handle, RemoteText(GetDlgItem(info, IDC_WI_HANDLE)));
    EXPECT_EQ("Notepad", RemoteText(GetDlgItem(info, IDC_WI_CLASS)));
    EXPECT_EQ(title, RemoteText(GetDlgItem(info, IDC_WI_TITLE)));
    std::string styles = RemoteText(GetDlgItem(info, IDC_WI_STYLES));
    EXPECT_EQ(0u, styles.find("WS_OVERLAPPED ")) << styles;
    EXPECT_NE(std::string::npos, styles.find("WS_CAPTION WS_BORDER WS_DLGFRAME ")) << styles;
    EXPECT_NE(std::string::npos, styles.find("WS_SYSMENU ")) << styles;
    char style[64];
    sprintf(style, "Style: %08lX (Extra: %08lX)", (unsigned long)GetWindowLongA(np, GWL_STYLE),
            (unsigned long)GetWindowLongA(np, GWL_EXSTYLE));
    EXPECT_EQ(style, RemoteText(GetDlgItem(info, IDC_WI_STYLEGROUP)));

    // Move window retitles notepad; this process reads the new title back.
    PostMessageA(GetDlgItem(info, IDC_WI_MOVE), BM_CLICK, 0, 0);
    char caption[64];
    sprintf(caption, "Move window %X", (unsigned)(ULONG_PTR)np);
    HWND move = WaitForTopWindow(vantixPid, "#32770", caption, true, 10000);
    ASSERT_TRUE(move) << "no Move window dialog";
    EXPECT_EQ(title, RemoteText(GetDlgItem(move, IDC_MW_TITLE)));
    DWORD_PTR r = 0;
    SendMessageTimeoutA(GetDlgItem(move, IDC_MW_TITLE), WM_SETTEXT, 0, (LPARAM)"Retitled by Vantix",
                        SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageA(GetDlgItem(move, IDC_MW_CHANGE), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(move, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return RemoteText(np) == "Retitled by Vantix"; }, 10000)) << RemoteText(np);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(move); }, 5000));
    // The Window Information dialog shows the new title after the Move dialog returns.
    EXPECT_TRUE(WaitUntil([&] { return RemoteText(GetDlgItem(info, IDC_WI_TITLE)) == "Retitled by Vantix"; }, 5000));

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(vantix.h, 15000)) << "Vantix did not close";
}
