// The Options page and the boxes behind it: check boxes write their fields, the session
// commands confirm first and ask for exactly the right flags, and the housekeeping buttons.
#include "integration/dialog_fixture.h"
#include "app/msgbox.h"
#include <string.h>

namespace {

class OptionsPage : public DialogTest {
protected:
    HWND Page()
    {
        if (!g_hMainDlg) OpenMain();
        return g_hPage;
    }
    void Click(int id) { SendMessageA(GetDlgItem(Page(), id), BM_CLICK, 0, 0); }
};

TEST_F(OptionsPage, BoxesShowAndWriteTheirFields)
{
    g_Options.SkipChildren = 1;
    g_Options.PowerOff = 1;
    HWND page = Page();
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_OPT_SKIPCHILD), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_OPT_POWEROFF), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_OPT_SKIPWARN), BST_UNCHECKED);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_OPT_TRAY));

    struct { int id; uint32_t* field; } boxes[] = {
        {IDC_OPT_SKIPWARN, &g_Options.SkipWarnings},
        {IDC_OPT_SKIPCHILD, &g_Options.SkipChildren},
        {IDC_OPT_FORCE, &g_Options.ForceExit},
        {IDC_OPT_POWEROFF, &g_Options.PowerOff},
    };
    for (auto& b : boxes) {
        uint32_t was = *b.field;
        Click(b.id);
        EXPECT_EQ(*b.field, was ? 0u : 1u) << b.id;
        Click(b.id);
        EXPECT_EQ(*b.field, was) << b.id;
    }
}

TEST_F(OptionsPage, TrayBoxWritesAndDeletesTheRunAtLogonValueAtOnce)
{
    Click(IDC_OPT_TRAY);
    EXPECT_EQ(g_Options.TrayIcon, 1u);
    char exe[MAX_PATH];
    GetModuleFileNameA(NULL, exe, sizeof(exe));
    std::string expected = strchr(exe, ' ') ? std::string("\"") + exe + "\" t" : std::string(exe) + " t";
    EXPECT_EQ(ReadRunAtLogon(), expected);
    Click(IDC_OPT_TRAY);
    EXPECT_EQ(g_Options.TrayIcon, 0u);
    EXPECT_EQ(ReadRunAtLogon(), "");
}

TEST_F(OptionsPage, RegistryWritesReportWhetherTheyTookEffect)
{
    EXPECT_TRUE(SetRunAtLogon(true));
    EXPECT_NE(ReadRunAtLogon(), "");
    EXPECT_TRUE(SetRunAtLogon(false));
    EXPECT_EQ(ReadRunAtLogon(), "");
    EXPECT_TRUE(SetRunAtLogon(false)) << "deleting a value that is not there leaves it absent: done";
    EXPECT_TRUE(SaveOptions());
    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), (DWORD)OPTIONS_SIZE);
    EXPECT_EQ(0, memcmp(&stored, &g_Options, sizeof(stored)));
}

TEST_F(OptionsPage, SessionCommandsConfirmThenAskForTheirFlags)
{
    struct {
        int button;
        bool powerOff;
        const char* question;
        UINT flags;
    } cases[] = {
        {IDC_OPT_EXIT, false, "Do you really want to shut down the system?", EWX_SHUTDOWN},
        {IDC_OPT_EXIT, true, "Do you really want to shut down the system?", EWX_POWEROFF},
        {IDC_OPT_RESTART, true, "Do you really want to restart the system?", EWX_REBOOT},
        {IDC_OPT_LOGOFF, true, "Do you really want to log off?", EWX_LOGOFF},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.question);
        g_Options.PowerOff = c.powerOff;
        {
            MessageBoxAnswerer no(IDNO);
            g_exitCalls.clear();
            Click(c.button);
            ASSERT_EQ(no.Boxes().size(), 1u);
            EXPECT_EQ(no.Boxes()[0].caption, "Warning (Vantix)");
            EXPECT_EQ(no.Boxes()[0].text, c.question);
            EXPECT_EQ(no.Boxes()[0].style, (UINT)(MB_YESNO | MB_ICONQUESTION));
            EXPECT_TRUE(g_exitCalls.empty()) << "No ends nothing";
        }
        {
            MessageBoxAnswerer yes(IDYES);
            g_exitCalls.clear();
            Click(c.button);
            EXPECT_EQ(yes.Boxes().size(), 1u);
            ASSERT_EQ(g_exitCalls.size(), 1u);
            EXPECT_EQ(g_exitCalls[0].flags, c.flags);
            EXPECT_EQ(g_exitCalls[0].reason, 0u);
        }
    }
}

// Stands in for the shutdown privilege step: refuses it with the error a token without the
// privilege gives.
bool s_privilegeGranted;
int s_privilegeCalls;
bool RecordShutdownPrivilege()
{
    s_privilegeCalls++;
    if (!s_privilegeGranted) SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return s_privilegeGranted;
}

std::string SystemText(DWORD err)
{
    char text[260] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, err, 0, text, sizeof(text), NULL);
    return text;
}

TEST_F(OptionsPage, EveryWayTheSessionDoesNotEndShowsTheSystemsReason)
{
    g_Options.SkipWarnings = 1;
    g_pfnEnableShutdownPrivilege = RecordShutdownPrivilege;
    struct {
        const char* name;
        int button;
        bool force, privilege;
        std::vector<BOOL> answers;
        std::vector<UINT> expectedFlags;
        int privilegeCalls;
        DWORD error;  // the reason the error box must give; 0 when no box may show
    } cases[] = {
        {"succeeds at once", IDC_OPT_EXIT, true, true, {TRUE}, {EWX_SHUTDOWN}, 1, 0},
        {"fails, no force", IDC_OPT_EXIT, false, true, {FALSE}, {EWX_SHUTDOWN}, 1, ERROR_ACCESS_DENIED},
        {"fails, forced retry succeeds", IDC_OPT_EXIT, true, true, {FALSE, TRUE},
         {EWX_SHUTDOWN, EWX_SHUTDOWN | EWX_FORCE}, 1, 0},
        {"fails twice", IDC_OPT_EXIT, true, true, {FALSE, FALSE}, {EWX_SHUTDOWN, EWX_SHUTDOWN | EWX_FORCE}, 1,
         ERROR_ACCESS_DENIED},
        {"shut down without the privilege", IDC_OPT_EXIT, true, false, {}, {}, 1, ERROR_PRIVILEGE_NOT_HELD},
        {"restart without the privilege", IDC_OPT_RESTART, false, false, {}, {}, 1, ERROR_PRIVILEGE_NOT_HELD},
        {"restart fails", IDC_OPT_RESTART, false, true, {FALSE}, {EWX_REBOOT}, 1, ERROR_ACCESS_DENIED},
        {"log off needs no privilege", IDC_OPT_LOGOFF, false, false, {TRUE}, {EWX_LOGOFF}, 0, 0},
        {"log off fails", IDC_OPT_LOGOFF, false, true, {FALSE}, {EWX_LOGOFF}, 0, ERROR_ACCESS_DENIED},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        g_Options.ForceExit = c.force;
        s_privilegeGranted = c.privilege;
        s_privilegeCalls = 0;
        g_exitAnswers = c.answers;
        g_exitCalls.clear();
        MessageBoxAnswerer ok(IDOK);
        Click(c.button);
        EXPECT_EQ(s_privilegeCalls, c.privilegeCalls);
        ASSERT_EQ(g_exitCalls.size(), c.expectedFlags.size());
        for (size_t i = 0; i < c.expectedFlags.size(); i++) EXPECT_EQ(g_exitCalls[i].flags, c.expectedFlags[i]);
        ASSERT_EQ(ok.Boxes().size(), c.error ? 1u : 0u) << "warnings skipped: only a failure shows a box";
        if (c.error) {
            EXPECT_EQ(ok.Boxes()[0].caption, "Error in Vantix");
            std::string reason = SystemText(c.error);
            ASSERT_FALSE(reason.empty()) << "the system has a text for error " << c.error;
            EXPECT_EQ(ok.Boxes()[0].text, reason) << "the system's text for the failing step";
            EXPECT_EQ(ok.Boxes()[0].style, (UINT)(MB_OK | MB_ICONHAND));
        }
    }
}

TEST_F(OptionsPage, RestoreDefaultSizeBringsBackTemplateSizeAndLayout)
{
    HWND page = Page();
    RECT before = ChildRect(GetDlgItem(page, IDC_OPT_ABOUT));
    RECT pos = WindowRect(g_hMainDlg);
    SetWindowPos(g_hMainDlg, NULL, 0, 0, g_sizeMainTemplate.cx + 150, g_sizeMainTemplate.cy + 90,
                 SWP_NOMOVE | SWP_NOZORDER);
    Click(IDC_OPT_DEFSIZE);
    RECT rc = WindowRect(g_hMainDlg);
    EXPECT_EQ(rc.left, pos.left) << "the position stays";
    EXPECT_EQ(rc.top, pos.top);
    EXPECT_EQ(rc.right - rc.left, g_sizeMainTemplate.cx);
    EXPECT_EQ(rc.bottom - rc.top, g_sizeMainTemplate.cy);
    RECT after = ChildRect(GetDlgItem(page, IDC_OPT_ABOUT));
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(OptionsPage, CloseInformationBoxesLeavesTheMainDialog)
{
    HWND page = Page();
    HWND info = CreateWindowExA(0, "STATIC", "info", WS_POPUP, 0, 0, 10, 10, NULL, NULL, g_hInst, NULL);
    Click(IDC_OPT_CLOSEINFO);
    EXPECT_FALSE(IsWindow(info));
    EXPECT_TRUE(IsWindow(g_hMainDlg));
    EXPECT_TRUE(IsWindow(page));
}

// Looks at the About box while it is open, then ends it.
struct AboutSeen {
    bool found = false;
    char caption[64] = "";
    char version[64] = "";
    LONG weight = 0;
    LONG height = 0;
    bool fontAlive = false;
    bool topmost = false;
    HWND owner = NULL;
};
AboutSeen s_about;

void CALLBACK InspectAbout(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowA("#32770", "About Vantix");
    if (!box) return;
    KillTimer(NULL, id);
    s_about.found = true;
    GetWindowTextA(box, s_about.caption, sizeof(s_about.caption));
    GetDlgItemTextA(box, IDC_ABOUT_VERSION, s_about.version, sizeof(s_about.version));
    HFONT font = (HFONT)SendDlgItemMessageA(box, IDC_ABOUT_VERSION, WM_GETFONT, 0, 0);
    LOGFONTA lf;
    if (font && GetObjectA(font, sizeof(lf), &lf) == sizeof(lf)) {
        s_about.fontAlive = true;
        s_about.weight = lf.lfWeight;
        s_about.height = lf.lfHeight;
    }
    s_about.topmost = (GetWindowLongPtrA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    s_about.owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(OptionsPage, AboutBoxShowsTheVersionInABoldFontThatStaysAlive)
{
    HWND page = Page();
    s_about = AboutSeen();
    SetTimer(NULL, 0, 50, InspectAbout);
    Click(IDC_OPT_ABOUT);
    ASSERT_TRUE(s_about.found);
    EXPECT_STREQ(s_about.version, "Vantix 1.32.001");
    EXPECT_TRUE(s_about.fontAlive) << "the bold font must outlive WM_INITDIALOG";
    EXPECT_EQ(s_about.weight, 700);
    EXPECT_EQ(s_about.height, 40);
    EXPECT_TRUE(s_about.topmost);
    EXPECT_EQ(s_about.owner, g_hMainDlg) << "owned by the page's top-level window";
    (void)page;
}

TEST(MessageBoxes, ConfirmAndErrorBoxes)
{
    LoadOptions();
    {
        MessageBoxAnswerer yes(IDYES);
        EXPECT_TRUE(ConfirmAction(IDS_CONFIRM_KILL));
        ASSERT_EQ(yes.Boxes().size(), 1u);
        EXPECT_EQ(yes.Boxes()[0].text, "Do you really want\nto end the process?");
        EXPECT_EQ(yes.Boxes()[0].caption, "Warning (Vantix)");
        EXPECT_EQ(yes.Boxes()[0].style, 0x24u) << "Yes/No with the question icon";
    }
    {
        MessageBoxAnswerer no(IDNO);
        EXPECT_FALSE(ConfirmAction(IDS_CONFIRM_STYLE));
    }
    {
        g_Options.SkipWarnings = 1;
        MessageBoxAnswerer no(IDNO);
        EXPECT_TRUE(ConfirmAction(IDS_CONFIRM_KILL));
        EXPECT_TRUE(no.Boxes().empty()) << "skipped warnings show nothing";
        // Errors still show.
        ShowErrorBox(IDS_ERR_NOWINDOW);
        ASSERT_EQ(no.Boxes().size(), 1u);
        EXPECT_EQ(no.Boxes()[0].caption, "Error in Vantix");
        EXPECT_EQ(no.Boxes()[0].text, "Window no longer exists");
        EXPECT_EQ(no.Boxes()[0].style, 0x10u) << "OK with the stop icon";
        g_Options.SkipWarnings = 0;
    }
    {
        MessageBoxAnswerer ok(IDOK);
        char expected[260] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_ACCESS_DENIED, 0,
                       expected, sizeof(expected), NULL);
        SetLastError(ERROR_ACCESS_DENIED);
        ShowErrorBox(0);
        ASSERT_EQ(ok.Boxes().size(), 1u);
        ASSERT_GT(strlen(expected), 2u) << "the system has a text for the error";
        EXPECT_EQ(ok.Boxes()[0].text, std::string(expected)) << "the system's whole text";
        EXPECT_EQ(ok.Boxes()[0].style, 0x10u);
    }
    EXPECT_STREQ(LoadResString(9999), "") << "a missing string is empty";
}

}  // namespace
