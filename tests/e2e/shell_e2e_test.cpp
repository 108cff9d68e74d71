// The shell as a user meets it, from another process: the icon in Wine's tray window and real
// clicks on it, F1 and "What's This?" on controls and the Help buttons opening Wine's HTML Help
// viewer at the right page, and a planted hhctrl.ocx beside the program that is never loaded.
//
// Wine's viewer draws no page (it has no HTML engine here), so which page it opened is read
// from Wine's own trace of the help library, which Vantix writes to a file of the test's:
// every navigation shows there as "...Vantix.chm::/page.htm".
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

// Wine's tray window, shown by explorer.exe while any icon exists and no desktop tray does.
HWND WineTray()
{
    HWND tray = FindWindowA("__winex11_standalone_tray", NULL);
    return tray && IsWindowVisible(tray) ? tray : NULL;
}
// The first icon of that window, at the screen's corner.
const POINT kTrayIcon = {13, 32};

// Waits until the traced help library has navigated to the page given.
bool TraceShows(const std::string& traceFile, const std::string& page, DWORD ms)
{
    std::string needle = std::string("Vantix.chm::/") + page;
    return WaitUntil([&] { return ReadFileText(traceFile).find(needle) != std::string::npos; }, ms);
}

// What is in front, for a failure message: class, title and owning process.
std::string FrontDescription()
{
    HWND front = GetForegroundWindow();
    if (!front) return "nothing";
    char cls[64] = "", title[64] = "";
    GetClassNameA(front, cls, sizeof(cls));
    GetWindowTextA(front, title, sizeof(title));
    DWORD owner = 0;
    GetWindowThreadProcessId(front, &owner);
    return std::string(cls) + " \"" + title + "\" of process " + std::to_string(owner);
}

// The viewer stands in front of the main dialog: closed after each look, so that the next real
// click reaches the dialog. Gone is not enough: the program must also have handed the
// foreground back to one of its own windows, which it does once it has dealt with the close.
void CloseViewer(DWORD pid)
{
    HWND viewer = FindTopWindow(pid, "HH Parent", NULL, true);
    if (!viewer) return;
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] {
        HWND front = GetForegroundWindow();
        DWORD owner = 0;
        GetWindowThreadProcessId(front, &owner);
        return !IsWindow(viewer) && front && owner == pid;
    }, 5000)) << "the viewer closed and the program's own window came to the front; in front: " << FrontDescription()
              << (IsWindow(viewer) ? " (the viewer is still there)" : "");
}

class ShellEndToEnd : public ::testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override { ASSERT_FALSE(VantixHiddenWindow()) << "another Vantix is running"; }
};

TEST_F(ShellEndToEnd, TrayIconOpensTheDialogAndItsMenuQuits)
{
    ASSERT_FALSE(WineTray()) << "no icon in the tray before the start";
    VantixProcess v("t");
    ASSERT_TRUE(v.Started());
    ASSERT_TRUE(WaitUntil([&] { return v.HiddenWindow() != NULL; }, 10000));
    HWND tray = NULL;
    ASSERT_TRUE(WaitUntil([&] { return (tray = WineTray()) != NULL; }, 10000)) << "Wine shows its tray window";
    ASSERT_TRUE(v.Idle(10000)) << "start-up reached the message loop";
    EXPECT_FALSE(FindTopWindow(v.Pid(), "#32770", "Vantix", true)) << "started in the tray: no dialog";

    // The first icon sits at (13, 32) of the tray window at the screen's corner.
    ClickAt(kTrayIcon);
    HWND dlg = v.Dialog("Vantix", 10000);
    ASSERT_TRUE(dlg) << "a left click on the icon opens the main dialog";

    ClickAt(kTrayIcon, 3);
    HWND menu = WaitForMenu(v.Pid(), 5000);
    ASSERT_TRUE(menu) << "a right click shows the tray menu";
    // Open, Quit, a separator, About, Help: Quit lies in the second of four and a half rows.
    RECT rc = WindowRect(menu);
    ClickAt(POINT{(rc.left + rc.right) / 2, rc.top + (rc.bottom - rc.top) / 3});
    DWORD code = 99;
    ASSERT_TRUE(v.Exited(10000, &code)) << "Quit ends the program";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitUntil([] { return WineTray() == NULL; }, 5000)) << "and its icon leaves the tray";
}

// Vantix started with the tray option on: its icon in Wine's tray and its main dialog shown.
struct TrayAndDialog {
    VantixProcess v;
    HWND dlg = NULL;
    HWND hidden = NULL;
    TrayAndDialog() : v(StartWithTrayOption())
    {
        dlg = v.Dialog("Vantix", 15000);
        hidden = v.HiddenWindow();
    }
    static const char* StartWithTrayOption()
    {
        OptionsRecord rec;
        SetOptionsDefaults(&rec);
        rec.TrayIcon = 1;
        WriteStoredSettings(&rec, sizeof(rec));
        return "";
    }
    // Quit from outside: a killed Vantix would leave its icon in the tray for the next test.
    ~TrayAndDialog()
    {
        if (hidden && IsWindow(hidden)) PostMessageA(hidden, WM_COMMAND, IDC_CMD_QUIT, 0);
        v.Exited(10000);
    }
};

// The tray menu's rows: Open, Quit, a separator, About, Help (four and a half rows).
void ClickTrayMenuRow(HWND menu, int row)
{
    RECT rc = WindowRect(menu);
    int h = rc.bottom - rc.top;
    ClickAt(POINT{(rc.left + rc.right) / 2, rc.top + (2 * row + 1) * h / 9});
}

TEST_F(ShellEndToEnd, AMinimizedDialogComesBackByEveryWayOfOpeningIt)
{
    TrayAndDialog p;
    ASSERT_TRUE(p.dlg) << "main dialog";
    ASSERT_TRUE(p.hidden);
    ASSERT_TRUE(WaitUntil([] { return WineTray() != NULL; }, 10000)) << "the icon is in Wine's tray";
    struct Way {
        const char* name;
        void (*open)(HWND hidden, DWORD pid);
    };
    const Way ways[] = {
        {"a click on the icon", [](HWND, DWORD) { ClickAt(kTrayIcon); }},
        {"the tray menu's Open", [](HWND, DWORD pid) {
             ClickAt(kTrayIcon, 3);
             HWND menu = WaitForMenu(pid, 5000);
             ASSERT_TRUE(menu) << "the tray menu";
             ClickTrayMenuRow(menu, 0);
         }},
        {"a second start", [](HWND, DWORD) {
             EXPECT_EQ(RunAndWait("\"" + VantixPath() + "\"", 20000), 0) << "the second start hands over and ends";
         }},
    };
    for (const Way& w : ways) {
        SCOPED_TRACE(w.name);
        PostMessageA(p.dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(p.dlg) != FALSE; }, 5000)) << "minimized";
        w.open(p.hidden, p.v.Pid());
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(p.dlg) && IsWindowVisible(p.dlg); }, 10000))
            << "the dialog is back as a window";
        EXPECT_EQ(FindTopWindow(p.v.Pid(), "#32770", "Vantix", true), p.dlg) << "the same dialog, no second one";
    }
}

TEST_F(ShellEndToEnd, TheTrayMenuClosesOnAClickElsewhere)
{
    TrayAndDialog p;
    ASSERT_TRUE(p.dlg);
    ASSERT_TRUE(WaitUntil([] { return WineTray() != NULL; }, 10000));
    // Another program's window to click on, away from the menu and the dialog.
    FixtureProcess other("Elsewhere", "--x 800 --y 600");
    ASSERT_TRUE(other.Started());
    HWND elsewhere = other.Window();
    ASSERT_TRUE(elsewhere);

    ClickAt(kTrayIcon, 3);
    HWND menu = WaitForMenu(p.v.Pid(), 5000);
    ASSERT_TRUE(menu) << "a right click shows the tray menu";
    ClickCenter(elsewhere);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000))
        << "the menu is still open after a click on another program";
    EXPECT_TRUE(IsWindow(p.dlg)) << "and chose nothing";

    // The icon still answers: the menu comes again and its Quit ends the program.
    ClickAt(kTrayIcon, 3);
    menu = WaitForMenu(p.v.Pid(), 5000);
    ASSERT_TRUE(menu) << "the menu opens again";
    ClickTrayMenuRow(menu, 1);
    EXPECT_TRUE(p.v.Exited(10000)) << "Quit ends the program";
}

TEST_F(ShellEndToEnd, F1WhatsThisAndHelpButtonsOpenTheViewerAtTheRightPage)
{
    std::string trace = ProgramFolder() + "\\e2e_help_trace.txt";
    ASSERT_NE(GetFileAttributesA((ProgramFolder() + "\\Vantix.chm").c_str()), INVALID_FILE_ATTRIBUTES)
        << "Vantix.chm is built beside Vantix.exe (chmcmd, Debian package fp-utils)";
    {
        VantixStart how;
        how.helpTrace = trace;
        VantixProcess v(how);
        ASSERT_TRUE(v.Started());
        HWND dlg = v.Dialog();
        ASSERT_TRUE(dlg);
        HWND page = NULL;
        ASSERT_TRUE(WaitUntil([&] { return (page = ShownPage(dlg)) && GetDlgItem(page, IDC_OPT_CLOSEINFO); }, 5000));

        // F1 on a button that has the focus (its click harms nothing: no boxes are open).
        HWND button = GetDlgItem(page, IDC_OPT_CLOSEINFO);
        ClickCenter(button);
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(button) == button; }, 5000)) << "the click gave the button the focus";
        Xdotool("key F1");
        HWND viewer = WaitForTopWindow(v.Pid(), "HH Parent", NULL, true, 20000);
        ASSERT_TRUE(viewer) << "Wine's HTML Help viewer opens inside Vantix";
        char title[64] = "";
        GetWindowTextA(viewer, title, sizeof(title));
        EXPECT_STREQ(title, "Vantix Help");
        EXPECT_TRUE(TraceShows(trace, "c3011.htm", 5000)) << "at the pop-up page of that button";
        CloseViewer(v.Pid());

        // A right click on another control offers "What's This?", which opens its page.
        ClickCenter(GetDlgItem(page, IDC_OPT_DEFSIZE), 3);
        HWND menu = WaitForMenu(v.Pid(), 5000);
        ASSERT_TRUE(menu) << "\"What's This?\"";
        ClickCenter(menu);
        EXPECT_TRUE(TraceShows(trace, "c3013.htm", 5000));
        CloseViewer(v.Pid());

        // The Help button opens the topic of the page shown.
        HWND tab = FindWindowExA(dlg, NULL, "SysTabControl32", NULL);
        const char* pages[] = {"options.htm", "processes.htm", "windows.htm", "taskman.htm", "capture.htm"};
        const int probe[] = {IDC_OPT_TRAY, IDC_PROC_KILL, IDC_WIN_PICK, IDC_TASK_SWITCH, IDC_CAP_GO};
        for (int i : {1, 2, 3, 4, 0}) {
            SCOPED_TRACE(pages[i]);
            RECT item = TabItemRect(tab, i);
            ClickAt(Center(item));
            ASSERT_TRUE(WaitUntil([&] {
                HWND p = ShownPage(dlg);
                return p && GetDlgItem(p, probe[i]);
            }, 10000));
            ClickCenter(GetDlgItem(dlg, IDC_MAIN_HELP));
            EXPECT_TRUE(TraceShows(trace, pages[i], 5000));
            CloseViewer(v.Pid());
        }

        // The information boxes' Help buttons open their own topics.
        RECT procTab = TabItemRect(tab, 1);
        ClickAt(Center(procTab));
        HWND procPage = NULL;
        ASSERT_TRUE(WaitUntil([&] { return (procPage = ShownPage(dlg)) && GetDlgItem(procPage, IDC_PROC_KILL); }, 10000));
        PostMessageA(procPage, WM_COMMAND, IDC_PROC_VIEWPROCESS, 0);
        HWND procInfo = v.Dialog("Process Information", 10000);
        ASSERT_TRUE(procInfo);
        ClickCenter(GetDlgItem(procInfo, IDC_INFO_HELP));
        EXPECT_TRUE(TraceShows(trace, "processinfo.htm", 5000));
        CloseViewer(v.Pid());
        ClickCenter(GetDlgItem(procInfo, IDC_PI_MODULE));
        HWND modInfo = v.Dialog("Module Information", 10000);
        ASSERT_TRUE(modInfo);
        ClickCenter(GetDlgItem(modInfo, IDC_INFO_HELP));
        EXPECT_TRUE(TraceShows(trace, "moduleinfo.htm", 5000));
        CloseViewer(v.Pid());
        PostMessageA(dlg, WM_CLOSE, 0, 0);
        DWORD code = 99;
        EXPECT_TRUE(v.Exited(10000, &code));
    }
    DeleteFileA(trace.c_str());
}

TEST_F(ShellEndToEnd, AHelpLibraryLeftBesideTheProgramIsNeverLoaded)
{
    // A folder a user downloaded Vantix into, with a stranger's hhctrl.ocx beside it: the
    // loader's search would find that one before the system's.
    std::string dir = ProgramFolder() + "\\planted";
    CreateDirectoryA(dir.c_str(), NULL);
    std::string planted = dir + "\\hhctrl.ocx";
    ASSERT_TRUE(CopyFileA(VantixPath().c_str(), (dir + "\\Vantix.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\Quillet.dll").c_str(), (dir + "\\Quillet.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "\\Quillet.dll").c_str(), planted.c_str(), FALSE));
    {
        VantixStart how;
        how.exe = dir + "\\Vantix.exe";
        how.args = "t";
        how.folder = dir;
        VantixProcess v(how);
        ASSERT_TRUE(v.Started());
        HWND hidden = NULL;
        ASSERT_TRUE(WaitUntil([&] { return (hidden = v.HiddenWindow()) != NULL; }, 10000));
        SendMessageA(hidden, WM_COMMAND, IDC_MAIN_HELP, 0);  // the tray menu's Help

        char sys[MAX_PATH];
        GetSystemDirectoryA(sys, sizeof(sys));
        std::string expected = std::string(sys) + "\\hhctrl.ocx";
        bool systemOne = false, plantedOne = false;
        for (auto& path : LoadedModules(v.Pid())) {
            systemOne |= lstrcmpiA(path.c_str(), expected.c_str()) == 0;
            plantedOne |= lstrcmpiA(path.c_str(), planted.c_str()) == 0;
        }
        EXPECT_TRUE(systemOne) << "the help library was bound, from " << sys;
        EXPECT_FALSE(plantedOne) << "the file beside the program must never run";
        SendMessageA(hidden, WM_COMMAND, IDC_CMD_QUIT, 0);
        DWORD code = 99;
        EXPECT_TRUE(v.Exited(10000, &code));
    }
    DeleteFileA(planted.c_str());
    DeleteFileA((dir + "\\Quillet.dll").c_str());
    DeleteFileA((dir + "\\Vantix.exe").c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
