// Vantix.exe started as a user starts it, watched and driven from this separate process:
// window lookups, messages, the registry through Wine's own reg.exe, and real mouse clicks
// through xdotool.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include <string.h>

#include "support/controls.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "app/settings.h"
#include "resource.h"

namespace {

HWND TopDialogOf(DWORD pid, const char* title)
{
    return FindTopWindow(pid, "#32770", title, true);
}

HWND HiddenWindow()
{
    return VantixHiddenWindow();
}

HWND TabControlOf(HWND dlg)
{
    return FindWindowExA(dlg, NULL, "SysTabControl32", NULL);
}

class EndToEnd : public ::testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override { ASSERT_FALSE(HiddenWindow()) << "another Vantix is still running"; }
};

TEST_F(EndToEnd, StartsOnceShowsTheDialogAndSavesOnClose)
{
    VantixProcess first;
    ASSERT_TRUE(first.Started());
    HWND dlg = first.Dialog();
    ASSERT_TRUE(dlg) << "main dialog";
    HWND hidden = HiddenWindow();
    ASSERT_TRUE(hidden);
    DWORD pid = 0;
    GetWindowThreadProcessId(hidden, &pid);
    EXPECT_EQ(pid, first.Pid());
    EXPECT_FALSE(IsWindowVisible(hidden)) << "the hidden window is never shown";
    EXPECT_TRUE(ShownPage(dlg)) << "a page is shown";

    // Another program's window in front; a second start must bring the dialog forward.
    FixtureProcess other("Frontmost", "--x 600 --y 500");
    ASSERT_TRUE(other.Started());
    HWND front = other.Window();
    ASSERT_TRUE(front);
    ClickCenter(front);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == front; }, 3000)) << "the other program is in front";

    DWORD start = GetTickCount();
    int code = RunAndWait("\"" + VantixPath() + "\"", 20000);
    EXPECT_EQ(code, 0) << "the second start hands over and exits with 0";
    EXPECT_LT(GetTickCount() - start, 15000u);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dlg; }, 3000)) << "dialog brought forward";
    EXPECT_EQ(TopDialogOf(first.Pid(), "Vantix"), dlg) << "no second dialog";
    other.End();

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(first.Exited(10000, &exitCode)) << "closing the dialog ends the program";
    EXPECT_EQ(exitCode, 0u);

    // Read the stored record back with Wine's own reg.exe.
    std::string out = ProgramFolder() + "\\e2e_reg.txt";
    ASSERT_EQ(RunAndWait("reg query \"HKCU\\Software\\Brenholt\\VantixXP\\Version 1.00\" /v Options", 20000,
                         out.c_str()), 0);
    std::string text = ReadFileText(out);
    DeleteFileA(out.c_str());
    size_t at = text.find("REG_BINARY");
    ASSERT_NE(at, std::string::npos) << text;
    std::string hex;
    for (size_t i = at + 10; i < text.size(); i++)
        if (isxdigit((unsigned char)text[i])) hex += (char)toupper((unsigned char)text[i]);
        else if (text[i] == '\n' && !hex.empty()) break;
    EXPECT_EQ(hex.size(), 336u) << "168 bytes";
    EXPECT_EQ(hex.substr(0, 16), "3ADEB307A8000000") << "signature and size lead the value";
}

TEST_F(EndToEnd, ASecondStartEndsWhenTheFirstInstanceHangs)
{
    // A window of ours where a running Vantix keeps its hidden one, that stops answering.
    FixtureProcess hung("Brenholt_Vantix_Main", "--class Brenholt_Vantix_Main --hang-after 500");
    ASSERT_TRUE(hung.Started());
    DWORD pid = hung.Pid();
    HWND first = WaitForTopWindow(pid, "Brenholt_Vantix_Main", "Brenholt_Vantix_Main", false, 15000);
    ASSERT_TRUE(first);
    ASSERT_TRUE(WaitUntil([&] { return !Answers(first, 100); }, 15000)) << "the stand-in kept answering";

    // Without a bound the hand-over would wait for ever and RunAndWait would give up on it.
    EXPECT_EQ(RunAndWait("\"" + VantixPath() + "\"", 30000), 0) << "the second start ends and hands nothing over";
    EXPECT_EQ(FindTopWindow(pid, "Brenholt_Vantix_Main", "Brenholt_Vantix_Main", false), first);
}

TEST_F(EndToEnd, RealClicksSwitchPagesAndSetOptions)
{
    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    HWND tab = TabControlOf(dlg);
    ASSERT_TRUE(tab);

    RECT procTab = TabItemRect(tab, 1);
    ASSERT_GT(procTab.right, procTab.left);
    ClickAt(Center(procTab));
    EXPECT_TRUE(WaitUntil([&] {
        HWND page = ShownPage(dlg);
        return page && GetDlgItem(page, IDC_PROC_KILL) != NULL;
    }, 5000)) << "a click on the Processes tab shows that page";

    RECT optTab = TabItemRect(tab, 0);
    ClickAt(Center(optTab));
    HWND page = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        page = ShownPage(dlg);
        return page && GetDlgItem(page, IDC_OPT_SKIPWARN) != NULL;
    }, 5000));
    HWND box = GetDlgItem(page, IDC_OPT_SKIPWARN);
    RECT rc = WindowRect(box);
    ClickAt(POINT{rc.left + 6, (rc.top + rc.bottom) / 2});
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));

    // Drag the bottom-right corner outwards: the dialog grows and remembers its new size.
    RECT before = WindowRect(dlg);
    Xdotool("mousemove " + std::to_string(before.right - 2) + " " + std::to_string(before.bottom - 2) +
            " mousedown 1 mousemove " + std::to_string(before.right + 60) + " " + std::to_string(before.bottom + 40) +
            " mouseup 1");
    EXPECT_TRUE(WaitUntil([&] {
        RECT now = WindowRect(dlg);
        return now.right - now.left > before.right - before.left + 30;
    }, 5000)) << "resized by dragging";
    RECT grown = WindowRect(dlg);

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(v.Exited(10000, &code));
    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), 168u);
    EXPECT_EQ(stored.SkipWarnings, 1u);
    EXPECT_EQ(stored.PageIndex, 0);
    EXPECT_EQ(stored.MainDlgWidth, grown.right - grown.left);
    EXPECT_EQ(stored.MainDlgX, grown.left);

    // The next start comes back with that size and page.
    VantixProcess again;
    HWND dlg2 = again.Dialog();
    ASSERT_TRUE(dlg2);
    RECT rc2 = WindowRect(dlg2);
    EXPECT_EQ(rc2.right - rc2.left, grown.right - grown.left);
    EXPECT_EQ(rc2.left, grown.left);
    HWND page2 = ShownPage(dlg2);
    ASSERT_TRUE(page2);
    EXPECT_EQ(IsDlgButtonChecked(page2, IDC_OPT_SKIPWARN), BST_CHECKED);
    PostMessageA(dlg2, WM_CLOSE, 0, 0);
    ASSERT_TRUE(again.Exited(10000, &code));
}

TEST_F(EndToEnd, StartInTrayShowsNoDialogUntilOpened)
{
    VantixProcess v("t");
    ASSERT_TRUE(v.Started());
    ASSERT_TRUE(WaitUntil([] { return HiddenWindow() != NULL; }, 10000));
    ASSERT_TRUE(v.Idle(10000)) << "start-up reached the message loop";
    EXPECT_FALSE(TopDialogOf(v.Pid(), "Vantix")) << "no dialog when started with t";
    std::string run = ReadRunAtLogon();
    EXPECT_NE(run.find("Vantix.exe"), std::string::npos) << run;
    EXPECT_EQ(run.substr(run.size() >= 2 ? run.size() - 2 : 0), " t") << "registered to start in the tray";

    // The Open command (a tray click) shows it; closing it ends the program, since the
    // tray option itself is off.
    SendMessageA(HiddenWindow(), WM_COMMAND, IDC_CMD_OPEN, 0);
    HWND dlg = v.Dialog("Vantix", 5000);
    ASSERT_TRUE(dlg);
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    DWORD code = 99;
    EXPECT_TRUE(v.Exited(10000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace

namespace {

TEST_F(EndToEnd, DoesNotStartWithoutQuilletBesideIt)
{
    // A copy of the program alone in a folder: the loader must refuse it before any of its
    // code runs, so no hidden window ever appears.
    std::string dir = ProgramFolder() + "\\lonely";
    CreateDirectoryA(dir.c_str(), NULL);
    std::string copy = dir + "\\Vantix.exe";
    ASSERT_TRUE(CopyFileA(VantixPath().c_str(), copy.c_str(), FALSE));
    // Started in that folder: the loader also searches the current directory.
    VantixStart how;
    how.exe = copy;
    how.folder = dir;
    // The process is created; its loader then fails to bind Quillet.dll and ends it.
    VantixProcess lonely(how);
    ASSERT_TRUE(lonely.Started()) << "error " << GetLastError();
    DWORD code = 0;
    EXPECT_TRUE(lonely.Exited(10000, &code)) << "it must end at once";
    EXPECT_EQ(0xC0000135u, code) << "STATUS_DLL_NOT_FOUND expected";
    lonely.End();
    EXPECT_FALSE(HiddenWindow());
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
