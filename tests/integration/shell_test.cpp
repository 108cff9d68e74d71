// The shell's services in place: the tray icon and its callbacks, context help routed from real
// dialogs, the About box's font and closing modal boxes, and the help file itself checked
// against every control of every dialog and menu in the resources. The banner, shown once per
// process, has a test program of its own (banner_test.cpp).
#include "integration/dialog_fixture.h"
#include "support/dialogs.h"
#include "app/help.h"
#include "app/tray.h"
#include "app/about.h"
#include "processes/module_info.h"

#include <htmlhelp.h>
#include <map>
#include <set>
#include <string>
#include <string.h>

namespace {

// ---- Recorders standing in for Shell_NotifyIconA and HtmlHelpA

struct TrayCall {
    DWORD message;
    NOTIFYICONDATAA data;
};
std::vector<TrayCall> s_trayCalls;

BOOL WINAPI RecordShellNotifyIcon(DWORD message, PNOTIFYICONDATAA data)
{
    TrayCall c;
    c.message = message;
    ZeroMemory(&c.data, sizeof(c.data));
    memcpy(&c.data, data, data->cbSize <= sizeof(c.data) ? data->cbSize : sizeof(c.data));
    s_trayCalls.push_back(c);
    return TRUE;
}

struct HelpCall {
    HWND owner;
    std::string file;
    UINT command;
    DWORD_PTR data;
    DWORD pairs[4];
};
std::vector<HelpCall> s_helpCalls;
HWND s_helpAnswer;

HWND WINAPI RecordHtmlHelp(HWND owner, LPCSTR file, UINT command, DWORD_PTR data)
{
    HelpCall c = {owner, file ? file : "", command, data, {0, 0, 0, 0}};
    if (command == HH_TP_HELP_WM_HELP || command == HH_TP_HELP_CONTEXTMENU) memcpy(c.pairs, (const void*)data, 16);
    s_helpCalls.push_back(c);
    return s_helpAnswer;
}

bool OnWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The hidden main window, as start-up makes it.
HWND MakeHiddenWindow()
{
    static bool registered = RegisterMainWindowClass();
    (void)registered;
    g_hMainWnd = CreateMainWindow();
    return g_hMainWnd;
}

void EndHiddenWindow()
{
    if (g_hMainWnd && IsWindow(g_hMainWnd)) DestroyWindow(g_hMainWnd);
    g_hMainWnd = NULL;
    MSG quit;
    while (PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class ShellTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        s_trayCalls.clear();
        s_helpCalls.clear();
        s_helpAnswer = NULL;
        g_pfnShellNotifyIcon = RecordShellNotifyIcon;
        g_pfnHtmlHelp = RecordHtmlHelp;
        lstrcpynA(g_szHelpFile, "C:\\Tools\\Vantix.chm", sizeof(g_szHelpFile));
    }
    void TearDown() override
    {
        CloseMain();
        EndHiddenWindow();
        DeleteTrayIcon();
        g_pfnShellNotifyIcon = Shell_NotifyIconA;
        g_pfnHtmlHelp = NULL;
        DialogTest::TearDown();
    }
    size_t TrayMessages(DWORD message) const
    {
        size_t n = 0;
        for (auto& c : s_trayCalls) n += c.message == message;
        return n;
    }
};

// ---- Tray icon

TEST_F(ShellTest, TrayIconIsAddedOnceWithItsDataAndTheRunValueEveryTime)
{
    HWND hidden = MakeHiddenWindow();
    ASSERT_TRUE(hidden);
    AddTrayIcon();
    ClearStoredSettings();
    AddTrayIcon();
    EXPECT_NE(ReadRunAtLogon(), "") << "the second call writes the Run value again";
    ASSERT_EQ(TrayMessages(NIM_ADD), 1u) << "one icon only";
    const NOTIFYICONDATAA& d = s_trayCalls[0].data;
    EXPECT_EQ(d.cbSize, TRAY_DATA_SIZE);
    EXPECT_EQ(d.hWnd, hidden);
    EXPECT_EQ(d.uID, 1u);
    EXPECT_EQ(d.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(d.uCallbackMessage, (UINT)WM_APP);
    EXPECT_EQ(d.hIcon, LoadIconA(g_hInst, MAKEINTRESOURCEA(IDI_VANTIX_SMALL)));
    EXPECT_STREQ(d.szTip, "Vantix");

    RemoveTrayIcon();
    RemoveTrayIcon();
    EXPECT_EQ(ReadRunAtLogon(), "");
    ASSERT_EQ(TrayMessages(NIM_DELETE), 1u) << "deleted once";
    const NOTIFYICONDATAA& del = s_trayCalls.back().data;
    EXPECT_EQ(del.cbSize, TRAY_DATA_SIZE);
    EXPECT_EQ(del.hWnd, hidden);
    EXPECT_EQ(del.uID, 1u);
    EXPECT_EQ(del.uFlags, 0u);

    // Unchecking the option deletes the Run value even when no icon is shown.
    SetRunAtLogon(true);
    RemoveTrayIcon();
    EXPECT_EQ(ReadRunAtLogon(), "");
    EXPECT_EQ(TrayMessages(NIM_DELETE), 1u);
}

TEST_F(ShellTest, TrayClicksOpenTheDialogAndOtherMouseMessagesDoNothing)
{
    HWND hidden = MakeHiddenWindow();
    for (LPARAM click : {(LPARAM)WM_LBUTTONUP, (LPARAM)WM_LBUTTONDBLCLK}) {
        SendMessageA(hidden, WM_APP, 1, WM_MOUSEMOVE);
        SendMessageA(hidden, WM_APP, 1, WM_LBUTTONDOWN);
        EXPECT_FALSE(g_hMainDlg) << "only the release or a double click opens";
        SendMessageA(hidden, WM_APP, 1, click);
        ASSERT_TRUE(g_hMainDlg) << click;
        HWND dlg = g_hMainDlg;
        SendMessageA(hidden, WM_APP, 1, click);
        EXPECT_EQ(g_hMainDlg, dlg) << "a second click raises the same dialog";
        CloseMain();
        MakeHiddenWindow();
        hidden = g_hMainWnd;
    }
}

// Looks at the tray menu while it is open, then closes it.
struct TrayMenuSeen {
    bool found = false;
    HWND foreground = NULL;
    UINT defaultItem = 0;
    std::vector<std::string> items;
    std::vector<UINT> ids;
};
TrayMenuSeen s_trayMenu;

void CALLBACK InspectTrayMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menuWnd = FindWindowA("#32768", NULL);
    if (!menuWnd || !IsWindowVisible(menuWnd)) return;
    KillTimer(NULL, id);
    HMENU menu = (HMENU)SendMessageA(menuWnd, MN_GETHMENU, 0, 0);
    s_trayMenu.found = menu != NULL;
    s_trayMenu.foreground = GetForegroundWindow();
    if (menu) {
        s_trayMenu.defaultItem = GetMenuDefaultItem(menu, FALSE, 0);
        for (int i = 0; i < GetMenuItemCount(menu); i++) {
            char text[64] = "";
            GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
            s_trayMenu.items.push_back(text);
            s_trayMenu.ids.push_back(GetMenuItemID(menu, i));
        }
    }
    EndMenu();
}

// A visible window of a second thread that takes the foreground, and ends with the object.
struct FrontWindowThread {
    HWND window = NULL;
    HANDLE thread = NULL;
    DWORD tid = 0;
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    FrontWindowThread()
    {
        thread = CreateThread(NULL, 0, Main, this, 0, &tid);
        if (thread) WaitForSingleObject(ready, 10000);
    }
    ~FrontWindowThread()
    {
        if (thread) {
            PostThreadMessageA(tid, WM_QUIT, 0, 0);
            WaitForSingleObject(thread, 10000);
            CloseHandle(thread);
        }
        CloseHandle(ready);
    }
    static DWORD WINAPI Main(LPVOID p)
    {
        FrontWindowThread* self = (FrontWindowThread*)p;
        self->window = CreateWindowExA(0, "STATIC", "front", WS_POPUP | WS_VISIBLE, 600, 500, 80, 40, NULL, NULL,
                                       GetModuleHandleA(NULL), NULL);
        if (self->window) SetForegroundWindow(self->window);
        SetEvent(self->ready);
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
        if (self->window) DestroyWindow(self->window);
        return 0;
    }
};

TEST_F(ShellTest, RightClickOnTheTrayIconShowsItsMenuWithOpenAsDefault)
{
    HWND hidden = MakeHiddenWindow();
    // Another thread's window in front, as when the user works elsewhere and right-clicks the
    // icon: making the program's own window active would not bring it forward then.
    FrontWindowThread front;
    ASSERT_TRUE(front.window);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == front.window; }, 3000));
    s_trayMenu = TrayMenuSeen();
    UINT_PTR timer = SetTimer(NULL, 0, 50, InspectTrayMenu);
    SendMessageA(hidden, WM_APP, 1, WM_RBUTTONUP);
    KillTimer(NULL, timer);
    // What lets the menu close on a click elsewhere: its owner was in front while it showed,
    // and a message posted after it ends the menu mode the shell leaves behind.
    bool nullPosted = false;
    MSG m;
    while (PeekMessageA(&m, hidden, 0, 0, PM_REMOVE)) nullPosted |= m.message == WM_NULL;
    ASSERT_TRUE(s_trayMenu.found) << "the menu showed while the notification was handled";
    EXPECT_EQ(s_trayMenu.foreground, hidden) << "the hidden window is the foreground window while the menu shows";
    EXPECT_TRUE(nullPosted) << "WM_NULL posted to the hidden window after the menu";
    EXPECT_EQ(s_trayMenu.defaultItem, (UINT)IDC_CMD_OPEN) << "\"&Open...\" is the bold default";
    std::vector<std::string> texts = {"&Open...", "&Quit", "", "&About Vantix...", "&Help"};
    std::vector<UINT> ids = {IDC_CMD_OPEN, IDC_CMD_QUIT, 0, IDC_CMD_ABOUT, IDC_MAIN_HELP};
    EXPECT_EQ(s_trayMenu.items, texts);
    EXPECT_EQ(s_trayMenu.ids, ids);
    EXPECT_FALSE(g_hMainDlg) << "dismissing the menu chooses nothing";
}

TEST_F(ShellTest, WithTheTrayOptionClosingLeavesTheIconAndAClickBringsTheDialogBack)
{
    g_Options.TrayIcon = 1;
    HWND hidden = MakeHiddenWindow();
    OpenStartWindows(false);
    ASSERT_TRUE(g_hMainDlg);
    EXPECT_EQ(TrayMessages(NIM_ADD), 1u);
    SendMessageA(g_hMainDlg, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(g_hMainDlg);
    EXPECT_TRUE(IsWindow(hidden)) << "the program stays in the tray";
    EXPECT_EQ(TrayMessages(NIM_DELETE), 0u) << "the icon stays";
    SendMessageA(hidden, WM_APP, 1, WM_LBUTTONUP);
    EXPECT_TRUE(g_hMainDlg && IsWindowVisible(g_hMainDlg)) << "a click on the icon brings the dialog back";

    // Quit from the tray menu ends the program and takes the icon along; the Run value, the
    // user's choice, stays.
    SendMessageA(hidden, WM_COMMAND, IDC_CMD_QUIT, 0);
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_EQ(TrayMessages(NIM_DELETE), 1u);
    EXPECT_NE(ReadRunAtLogon(), "");
}

TEST_F(ShellTest, StartedInTheTrayWithTheOptionOffClosingTheDialogEndsTheProgram)
{
    HWND hidden = MakeHiddenWindow();
    OpenStartWindows(true);
    EXPECT_FALSE(g_hMainDlg) << "no dialog when started in the tray";
    EXPECT_EQ(TrayMessages(NIM_ADD), 1u) << "the icon although the option is off";
    EXPECT_NE(ReadRunAtLogon(), "") << "and with it the Run value";
    SendMessageA(hidden, WM_APP, 1, WM_LBUTTONUP);
    ASSERT_TRUE(g_hMainDlg);
    SendMessageA(g_hMainDlg, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(hidden)) << "the option is off: closing ends the program";
    EXPECT_EQ(TrayMessages(NIM_DELETE), 1u);
}

// ---- Context help routed from real dialogs

// A dialog template in memory: a label without id before an edit field, the style-bit check
// boxes at the edges of their groups, and one id just outside them.
struct TemplateItem {
    DWORD style;
    WORD id;
    WORD cls;  // 0x0080 button, 0x0081 edit, 0x0082 static
    const wchar_t* text;
};

std::vector<WORD> BuildTemplate(const std::vector<TemplateItem>& items)
{
    std::vector<WORD> t;
    auto dword = [&](DWORD v) { t.push_back(LOWORD(v)); t.push_back(HIWORD(v)); };
    auto text = [&](const wchar_t* s) { while (*s) t.push_back(*s++); t.push_back(0); };
    auto align = [&] { if (t.size() % 2) t.push_back(0); };
    dword(WS_POPUP | WS_CAPTION | DS_SETFONT);
    dword(0);
    t.push_back((WORD)items.size());
    for (short v : {10, 10, 200, 120}) t.push_back((WORD)v);
    t.push_back(0);
    t.push_back(0);
    text(L"Help test");
    t.push_back(8);
    text(L"MS Sans Serif");
    short y = 4;
    for (auto& it : items) {
        align();
        dword(WS_CHILD | WS_VISIBLE | it.style);
        dword(0);
        for (short v : {(short)4, y, (short)80, (short)10}) t.push_back((WORD)v);
        y += 12;
        t.push_back(it.id);
        t.push_back(0xFFFF);
        t.push_back(it.cls);
        text(it.text);
        t.push_back(0);
    }
    return t;
}

INT_PTR CALLBACK RoutingDlgProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_HELP || msg == WM_CONTEXTMENU) {
        RouteHelpMessage(hDlg, msg, wParam, lParam);
        return DlgResult(hDlg, 0);
    }
    return msg == WM_INITDIALOG;
}

HWND ChildWithText(HWND parent, const char* text)
{
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char buf[64];
        GetWindowTextA(c, buf, sizeof(buf));
        if (strcmp(buf, text) == 0) return c;
    }
    return NULL;
}

TEST_F(ShellTest, HelpOnAControlNamesItsTopicLabelsTakeTheNextTabStop)
{
    const WORD kEdit = 300;
    std::vector<WORD> tmpl = BuildTemplate({
        {SS_LEFT, 0xFFFF, 0x0082, L"Label:"},
        {WS_TABSTOP | WS_BORDER, kEdit, 0x0081, L""},
        {WS_TABSTOP | BS_AUTOCHECKBOX, 18101, 0x0080, L"bit 0"},
        {WS_TABSTOP | BS_AUTOCHECKBOX, 18117, 0x0080, L"bit 16"},
        {WS_TABSTOP | BS_AUTOCHECKBOX, 18132, 0x0080, L"bit 31"},
        {WS_TABSTOP | BS_AUTOCHECKBOX, 18133, 0x0080, L"outside"},
        {WS_TABSTOP | BS_AUTOCHECKBOX, 18230, 0x0080, L"ex bit 29"},
    });
    HWND dlg = CreateDialogIndirectParamA(g_hInst, (LPCDLGTEMPLATEA)tmpl.data(), NULL, RoutingDlgProc, 0);
    ASSERT_TRUE(dlg);
    struct { HWND control; DWORD id, topic; } cases[] = {
        {ChildWithText(dlg, "Label:"), 0xFFFF, kEdit},
        {GetDlgItem(dlg, kEdit), kEdit, kEdit},
        {GetDlgItem(dlg, 18101), 18101, 18101},
        {GetDlgItem(dlg, 18117), 18117, 18101},
        {GetDlgItem(dlg, 18132), 18132, 18101},
        {GetDlgItem(dlg, 18133), 18133, 18133},
        {GetDlgItem(dlg, 18230), 18230, 18201},
    };
    s_helpAnswer = (HWND)1;  // a help engine that shows its pop-ups itself
    for (auto& c : cases) {
        SCOPED_TRACE(c.id);
        ASSERT_TRUE(c.control);
        // F1: the control is the owner; a right click: the dialog that got the message is.
        HELPINFO hi = {sizeof(hi), HELPINFO_WINDOW, (int)GetDlgCtrlID(c.control), c.control, 0, {0, 0}};
        s_helpCalls.clear();
        SendMessageA(dlg, WM_HELP, 0, (LPARAM)&hi);
        SendMessageA(dlg, WM_CONTEXTMENU, (WPARAM)c.control, MAKELPARAM(20, 20));
        ASSERT_EQ(s_helpCalls.size(), 2u);
        EXPECT_EQ(s_helpCalls[0].command, (UINT)HH_TP_HELP_WM_HELP);
        EXPECT_EQ(s_helpCalls[0].owner, c.control);
        EXPECT_EQ(s_helpCalls[1].command, (UINT)HH_TP_HELP_CONTEXTMENU);
        EXPECT_EQ(s_helpCalls[1].owner, dlg);
        for (auto& call : s_helpCalls) {
            EXPECT_EQ(call.file, "C:\\Tools\\Vantix.chm");
            EXPECT_EQ(call.data, (DWORD_PTR)HelpPairs) << "the one global pair list";
            EXPECT_EQ(call.pairs[0], c.id) << "the pair names the control itself";
            EXPECT_EQ(call.pairs[1], c.topic);
            EXPECT_EQ(call.pairs[2], 0u);
            EXPECT_EQ(call.pairs[3], 0u);
        }
    }
    DestroyWindow(dlg);

    // A dialog of labels alone: no tab stop to move to, and the walk ends.
    tmpl = BuildTemplate({{SS_LEFT, 0xFFFF, 0x0082, L"One"}, {SS_LEFT, 0xFFFF, 0x0082, L"Two"}});
    dlg = CreateDialogIndirectParamA(g_hInst, (LPCDLGTEMPLATEA)tmpl.data(), NULL, RoutingDlgProc, 0);
    ASSERT_TRUE(dlg);
    s_helpCalls.clear();
    ShowContextHelp(ChildWithText(dlg, "Two"), dlg, HELP_WM_HELP);
    ASSERT_EQ(s_helpCalls.size(), 1u);
    EXPECT_EQ(s_helpCalls[0].pairs[0], 0xFFFFu);
    DestroyWindow(dlg);
}

TEST_F(ShellTest, LabelsOfARealDialogShowTheirFieldsTopic)
{
    HWND dlg = OpenModuleInfo(NULL);
    ASSERT_TRUE(dlg);
    HWND label = ChildWithText(dlg, "Process:");
    ASSERT_TRUE(label);
    s_helpAnswer = (HWND)1;
    HELPINFO hi = {sizeof(hi), HELPINFO_WINDOW, -1, label, 0, {0, 0}};
    SendMessageA(dlg, WM_HELP, 0, (LPARAM)&hi);
    ASSERT_EQ(s_helpCalls.size(), 1u);
    EXPECT_EQ(s_helpCalls[0].pairs[0], 0xFFFFFFFFu) << "a 32-bit template's -1";
    EXPECT_EQ(s_helpCalls[0].pairs[1], (DWORD)IDC_MI_PROCESS);
    DestroyWindow(dlg);
}

// Chooses "What's This?" when the menu shows.
bool s_whatsThisSeen;
void CALLBACK ChooseWhatsThis(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menuWnd = FindWindowA("#32768", NULL);
    if (!menuWnd || !IsWindowVisible(menuWnd)) return;
    KillTimer(NULL, id);
    HMENU menu = (HMENU)SendMessageA(menuWnd, MN_GETHMENU, 0, 0);
    char text[64] = "";
    GetMenuStringA(menu, 0, text, sizeof(text), MF_BYPOSITION);
    s_whatsThisSeen = strcmp(text, "What's &This?") == 0;
    PostMessageA(menuWnd, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWnd, WM_KEYDOWN, VK_RETURN, 0);
}

TEST_F(ShellTest, WhereTheHelpEngineShowsNoPopUpsTheControlsTopicOpens)
{
    if (!OnWine()) GTEST_SKIP() << "Windows shows the pop-ups itself";
    OpenMain();
    HWND box = GetDlgItem(g_hPage, IDC_OPT_SKIPWARN);
    s_helpAnswer = NULL;  // what Wine's engine answers to both control-level commands
    HELPINFO hi = {sizeof(hi), HELPINFO_WINDOW, IDC_OPT_SKIPWARN, box, 0, {0, 0}};
    SendMessageA(g_hPage, WM_HELP, 0, (LPARAM)&hi);
    ASSERT_EQ(s_helpCalls.size(), 2u);
    EXPECT_EQ(s_helpCalls[0].command, (UINT)HH_TP_HELP_WM_HELP) << "the program's own call comes first";
    EXPECT_EQ(s_helpCalls[1].command, (UINT)HH_HELP_CONTEXT);
    EXPECT_EQ(s_helpCalls[1].data, (DWORD_PTR)IDC_OPT_SKIPWARN);
    EXPECT_EQ(s_helpCalls[1].owner, (HWND)NULL);

    // A right click offers "What's This?" first, as the pop-up engine would.
    s_helpCalls.clear();
    s_whatsThisSeen = false;
    UINT_PTR timer = SetTimer(NULL, 0, 50, ChooseWhatsThis);
    SendMessageA(g_hPage, WM_CONTEXTMENU, (WPARAM)box, MAKELPARAM(30, 30));
    KillTimer(NULL, timer);
    EXPECT_TRUE(s_whatsThisSeen);
    ASSERT_EQ(s_helpCalls.size(), 2u);
    EXPECT_EQ(s_helpCalls[0].command, (UINT)HH_TP_HELP_CONTEXTMENU);
    EXPECT_EQ(s_helpCalls[1].command, (UINT)HH_HELP_CONTEXT);
    EXPECT_EQ(s_helpCalls[1].data, (DWORD_PTR)IDC_OPT_SKIPWARN);

    // A window without a topic of its own opens nothing more.
    s_helpCalls.clear();
    ShowContextHelp(g_hTab, g_hMainDlg, HELP_WM_HELP);
    ASSERT_EQ(s_helpCalls.size(), 1u) << "the tab control has id 0: no topic of its own";
}

TEST_F(ShellTest, HelpButtonsMenuItemsAndTheTrayOpenWholeTopics)
{
    OpenMain();
    for (int page = 0; page < 5; page++) {
        SCOPED_TRACE(page);
        SelectTab(page);
        s_helpCalls.clear();
        SendMessageA(g_hMainDlg, WM_COMMAND, IDC_MAIN_HELP, 0);
        ASSERT_EQ(s_helpCalls.size(), 1u);
        EXPECT_EQ(s_helpCalls[0].owner, (HWND)NULL);
        EXPECT_EQ(s_helpCalls[0].file, "C:\\Tools\\Vantix.chm");
        EXPECT_EQ(s_helpCalls[0].command, (UINT)HH_HELP_CONTEXT);
        EXPECT_EQ(s_helpCalls[0].data, (DWORD_PTR)(12 + page)) << "12 Options ... 16 Capture Screen";
    }

    HWND hidden = MakeHiddenWindow();
    s_helpCalls.clear();
    SendMessageA(hidden, WM_COMMAND, IDC_MAIN_HELP, 0);
    ASSERT_EQ(s_helpCalls.size(), 1u);
    EXPECT_EQ(s_helpCalls[0].owner, (HWND)NULL);
    EXPECT_EQ(s_helpCalls[0].command, (UINT)HH_DISPLAY_TOPIC);
    EXPECT_EQ(s_helpCalls[0].data, 0u);

    // F1 on an item of an open menu: the item's topic; the menu handle is no window.
    s_helpCalls.clear();
    HELPINFO hi = {sizeof(hi), HELPINFO_MENUITEM, 15601, (HANDLE)CreatePopupMenu(), 0, {0, 0}};
    SendMessageA(hidden, WM_HELP, 0, (LPARAM)&hi);
    DestroyMenu((HMENU)hi.hItemHandle);
    ASSERT_EQ(s_helpCalls.size(), 1u);
    EXPECT_EQ(s_helpCalls[0].command, (UINT)HH_HELP_CONTEXT);
    EXPECT_EQ(s_helpCalls[0].data, 15601u);
}

// ---- The help library and the help file for real

// A file named like the help library beside the program: a copy of one of our own libraries,
// removed again however the test ends.
struct PlantedHelpLibrary {
    std::string path = ProgramFolder() + "\\hhctrl.ocx";
    bool planted = CopyFileA((ProgramFolder() + "\\Quillet.dll").c_str(), path.c_str(), FALSE) != FALSE;
    ~PlantedHelpLibrary()
    {
        HMODULE loaded = GetModuleHandleA(path.c_str());
        if (loaded) FreeLibrary(loaded);
        DeleteFileA(path.c_str());
    }
};

TEST_F(ShellTest, TheHelpLibraryComesFromTheSystemDirectoryOnly)
{
    // The binding happens once per process: this must be the first real use of the library.
    ASSERT_FALSE(GetModuleHandleA("hhctrl.ocx")) << "the help library was bound before this test";
    PlantedHelpLibrary planted;
    ASSERT_TRUE(planted.planted) << "a stranger's hhctrl.ocx beside the program, where the loader looks first";
    g_pfnHtmlHelp = NULL;
    lstrcpynA(g_szHelpFile, (ProgramFolder() + "\\no-such-help.chm").c_str(), sizeof(g_szHelpFile));
    ShowHelpContents();
    HMODULE lib = GetModuleHandleA("hhctrl.ocx");
    ASSERT_TRUE(lib) << "bound on first use";
    char path[MAX_PATH], sys[MAX_PATH];
    GetModuleFileNameA(lib, path, sizeof(path));
    GetSystemDirectoryA(sys, sizeof(sys));
    EXPECT_EQ(lstrcmpiA((std::string(sys) + "\\hhctrl.ocx").c_str(), path), 0) << path;
    EXPECT_FALSE(GetModuleHandleA(planted.path.c_str())) << "the file beside the program was loaded";
}

// Every control id of every dialog template and menu in this module's resources.
struct ResourceIds {
    std::map<int, std::string> ids;  // id -> where it was seen
};

const WORD* SkipSzOrOrd(const WORD* p)
{
    if (*p == 0x0000) return p + 1;
    if (*p == 0xFFFF) return p + 2;
    while (*p) p++;
    return p + 1;
}

const WORD* AlignDword(const WORD* p, const void* base)
{
    size_t off = (const BYTE*)p - (const BYTE*)base;
    return (const WORD*)((const BYTE*)base + ((off + 3) & ~(size_t)3));
}

std::string ResName(LPCSTR name)
{
    return IS_INTRESOURCE(name) ? std::to_string((unsigned)(UINT_PTR)name) : std::string(name);
}

BOOL CALLBACK CollectDialog(HMODULE mod, LPCSTR, LPSTR name, LONG_PTR lp)
{
    ResourceIds* out = (ResourceIds*)lp;
    HRSRC r = FindResourceA(mod, name, (LPCSTR)RT_DIALOG);
    const WORD* base = (const WORD*)LockResource(LoadResource(mod, r));
    if (!base) return TRUE;
    bool ex = base[0] == 1 && base[1] == 0xFFFF;
    const WORD* p = base;
    DWORD style;
    WORD count;
    if (ex) {
        memcpy(&style, p + 6, 4);
        count = p[8];
        p += 13;
    } else {
        memcpy(&style, p, 4);
        count = p[4];
        p += 9;
    }
    p = SkipSzOrOrd(p);  // menu
    p = SkipSzOrOrd(p);  // class
    p = SkipSzOrOrd(p);  // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        p += ex ? 3 : 1;  // point size (and weight, italic, charset)
        p = SkipSzOrOrd(p);
    }
    for (WORD i = 0; i < count; i++) {
        p = AlignDword(p, base);
        int id;
        if (ex) {
            DWORD v;
            memcpy(&v, p + 10, 4);
            id = (int)v;
            p += 12;
        } else {
            id = (int)(short)p[8];
            p += 9;
        }
        p = SkipSzOrOrd(p);  // class
        p = SkipSzOrOrd(p);  // text
        WORD extra = *p++;
        p = (const WORD*)((const BYTE*)p + extra);
        if (id != -1 && id != 0xFFFF && id != 0) out->ids.emplace(id, "dialog " + ResName(name));
    }
    return TRUE;
}

// Standard menu template: flags, id unless a pop-up, text; MF_END closes a level.
const WORD* CollectMenuItems(const WORD* p, ResourceIds* out, const std::string& where)
{
    for (;;) {
        WORD flags = *p++;
        if (flags & MF_POPUP) {
            p = SkipSzOrOrd(p);
            p = CollectMenuItems(p, out, where);
        } else {
            WORD id = *p++;
            p = SkipSzOrOrd(p);
            if (id) out->ids.emplace(id, where);
        }
        if (flags & MF_END) return p;
    }
}

// Extended menu template: type, state, id, flags, text, DWORD aligned; a pop-up adds a help
// id and its items; flag 0x80 closes a level.
const WORD* CollectMenuExItems(const WORD* p, const void* base, ResourceIds* out, const std::string& where)
{
    for (;;) {
        p = AlignDword(p, base);
        DWORD type, id;
        memcpy(&type, p, 4);
        memcpy(&id, p + 4, 4);
        WORD flags = p[6];
        p = SkipSzOrOrd(p + 7);
        if (flags & 0x01) {
            p = AlignDword(p, base) + 2;
            p = CollectMenuExItems(p, base, out, where);
        } else if (!(type & MFT_SEPARATOR) && id) {
            out->ids.emplace((int)id, where);
        }
        if (flags & 0x80) return p;
    }
}

BOOL CALLBACK CollectMenu(HMODULE mod, LPCSTR, LPSTR name, LONG_PTR lp)
{
    ResourceIds* out = (ResourceIds*)lp;
    HRSRC r = FindResourceA(mod, name, (LPCSTR)RT_MENU);
    const WORD* base = (const WORD*)LockResource(LoadResource(mod, r));
    if (!base) return TRUE;
    std::string where = "menu " + ResName(name);
    const WORD* first = (const WORD*)((const BYTE*)base + 4 + base[1]);
    if (base[0] == 1)
        CollectMenuExItems(first, base, out, where);
    else
        CollectMenuItems(first, out, where);
    return TRUE;
}

HWND HelpWindow()
{
    return FindTopWindow(GetCurrentProcessId(), "HH Parent", NULL, false);
}

TEST_F(ShellTest, TheHelpFileHasATopicForEveryControlAndEveryDialog)
{
    std::string chm = ProgramFolder() + "\\Vantix.chm";
    ASSERT_NE(GetFileAttributesA(chm.c_str()), INVALID_FILE_ATTRIBUTES)
        << chm << " is missing: the build compiles it with chmcmd (Debian package fp-utils)";
    g_pfnHtmlHelp = NULL;
    lstrcpynA(g_szHelpFile, chm.c_str(), sizeof(g_szHelpFile));

    ResourceIds found;
    EnumResourceNamesA(GetModuleHandleA(NULL), (LPCSTR)RT_DIALOG, CollectDialog, (LONG_PTR)&found);
    EnumResourceNamesA(GetModuleHandleA(NULL), (LPCSTR)RT_MENU, CollectMenu, (LONG_PTR)&found);
    ASSERT_GT(found.ids.size(), 60u) << "the templates were read";
    EXPECT_EQ(found.ids.count(IDC_OPT_DEFSIZE), 1u);
    EXPECT_EQ(found.ids.count(IDC_CMD_QUIT), 1u) << "menu items count too";

    std::map<DWORD, std::string> topics;
    for (auto& kv : found.ids) topics.emplace(HelpTopicFor(kv.first), kv.second);
    for (DWORD whole : {12u, 13u, 14u, 15u, 16u, 11000u, 12000u, 13000u, 14000u, 15000u, 17000u, 18000u, 19000u})
        topics.emplace(whole, "whole dialog");

    std::vector<std::string> missing;
    for (auto& kv : topics) {
        ShowHelpTopic(kv.first);
        if (!HelpWindow()) missing.push_back(std::to_string(kv.first) + " (" + kv.second + ")");
    }
    EXPECT_TRUE(missing.empty()) << "topics without a page: " << ::testing::PrintToString(missing);
    // And an unknown number really finds nothing, so the loop above could fail.
    ShowHelpTopic(9999);
    EXPECT_FALSE(HelpWindow()) << "an unknown topic opens no page";
    HWND viewer = HelpWindow();
    if (viewer) DestroyWindow(viewer);
}

// ---- About box and modal boxes

struct AboutFonts {
    HWND outer = NULL;
    HFONT outerFont = NULL;
    bool innerOpened = false;
    bool outerFontAliveAfterInner = false;
};
AboutFonts s_fonts;

// A shown About box of this thread other than not_, NULL when there is none.
HWND AboutBoxOtherThan(HWND not_)
{
    for (HWND h : ThreadDialogs("About Vantix"))
        if (h != not_ && IsWindowVisible(h)) return h;
    return NULL;
}

void CALLBACK CloseInnerAbout(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND inner = AboutBoxOtherThan(s_fonts.outer);
    if (!inner) return;
    KillTimer(NULL, id);
    s_fonts.innerOpened = true;
    PostMessageA(inner, WM_COMMAND, IDOK, 0);
}

void CALLBACK OpenSecondAbout(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND outer = AboutBoxOtherThan(NULL);
    if (!outer) return;
    KillTimer(NULL, id);
    s_fonts.outer = outer;
    s_fonts.outerFont = (HFONT)SendDlgItemMessageA(outer, IDC_ABOUT_VERSION, WM_GETFONT, 0, 0);
    // The tray menu's About while the Options page's is open.
    UINT_PTR t = SetTimer(NULL, 0, 50, CloseInnerAbout);
    OpenAboutBox(NULL);
    KillTimer(NULL, t);
    LOGFONTA lf;
    s_fonts.outerFontAliveAfterInner = GetObjectA(s_fonts.outerFont, sizeof(lf), &lf) == sizeof(lf) &&
                                       (HFONT)SendDlgItemMessageA(outer, IDC_ABOUT_VERSION, WM_GETFONT, 0, 0) ==
                                           s_fonts.outerFont;
    PostMessageA(outer, WM_COMMAND, IDOK, 0);
}

TEST_F(ShellTest, EachAboutBoxKeepsItsOwnBoldFont)
{
    OpenMain();
    s_fonts = AboutFonts();
    UINT_PTR t = SetTimer(NULL, 0, 50, OpenSecondAbout);
    SendMessageA(GetDlgItem(g_hPage, IDC_OPT_ABOUT), BM_CLICK, 0, 0);
    KillTimer(NULL, t);
    ASSERT_TRUE(s_fonts.outer);
    ASSERT_TRUE(s_fonts.outerFont);
    EXPECT_TRUE(s_fonts.innerOpened);
    EXPECT_TRUE(s_fonts.outerFontAliveAfterInner) << "closing one box must not delete the other's font";
    EXPECT_FALSE(AboutBoxOtherThan(NULL));
}

struct ModalClose {
    bool closedByCall = false;
    bool rescued = false;
    HWND box = NULL;
    UINT_PTR rescue = 0;
};
ModalClose s_modal;

void CALLBACK RescueModal(HWND, UINT, UINT_PTR id, DWORD)
{
    // The box was not ended: leave its loop the only other way, so the test fails, not hangs.
    KillTimer(NULL, id);
    s_modal.rescue = 0;
    s_modal.rescued = true;
    PostQuitMessage(0);
}

void CALLBACK CloseBoxesWhileModal(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = AboutBoxOtherThan(NULL);
    if (!box) return;
    KillTimer(NULL, id);
    s_modal.box = box;
    s_modal.closedByCall = true;
    CloseInfoBoxes();
    s_modal.rescue = SetTimer(NULL, 0, 3000, RescueModal);
}

TEST_F(ShellTest, ClosingInformationBoxesEndsAModalBoxAndFreesItsOwner)
{
    HWND hidden = MakeHiddenWindow();
    OpenMain();
    struct { const char* name; HWND owner; int command; HWND target; } cases[] = {
        {"tray menu's About", hidden, IDC_CMD_ABOUT, hidden},
        {"Options page's About", g_hMainDlg, IDC_OPT_ABOUT, g_hPage},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        s_modal = ModalClose();
        UINT_PTR t = SetTimer(NULL, 0, 50, CloseBoxesWhileModal);
        if (c.target == hidden)
            SendMessageA(hidden, WM_COMMAND, c.command, 0);
        else
            SendMessageA(GetDlgItem(c.target, c.command), BM_CLICK, 0, 0);
        KillTimer(NULL, t);
        if (s_modal.rescue) KillTimer(NULL, s_modal.rescue);
        MSG quit;
        while (PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        EXPECT_TRUE(s_modal.closedByCall);
        EXPECT_FALSE(s_modal.rescued) << "CloseInfoBoxes must end the box's own loop";
        EXPECT_FALSE(IsWindow(s_modal.box));
        EXPECT_TRUE(IsWindowEnabled(c.owner)) << "the owner gets its input back";
        EXPECT_TRUE(IsWindow(g_hMainDlg)) << "the main dialog stays";
        EXPECT_TRUE(IsWindow(hidden));
    }
}

}  // namespace
