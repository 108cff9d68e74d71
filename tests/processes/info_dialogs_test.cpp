// The Process and Module Information dialogs from their real templates.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <psapi.h>
#include <string.h>
#include <string>
#include "support/dialogs.h"
#include "support/processes.h"
#include "support/settings.h"
#include "support/testing.h"
#include "app/settings.h"
#include "processes/module_info.h"
#include "processes/process_info.h"
#include "processes/snapshot.h"
#include "resource.h"

namespace {

class InfoDialogs : public testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override { InitCommonControls(); }
    void TearDown() override
    {
        for (const char* c : {"Process Information", "Module Information"})
            for (HWND d : ThreadDialogs(c)) DestroyWindow(d);
    }
    static DWORD ClassOf(const FixtureProcess& fx)
    {
        return GetPriorityClass(fx.Handle());
    }
    static bool Checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
    // What a click does: the auto radio button checks itself, then the dialog hears of it.
    static void Click(HWND dlg, int id)
    {
        CheckRadioButton(dlg, IDC_PI_IDLE, IDC_PI_REALTIME, id);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dlg, id));
        PumpMessages(20);
    }
};

} // namespace

TEST_F(InfoDialogs, ProcessDialogShowsTheProcess)
{
    FixtureProcess fx("info fixture", "");
    ASSERT_TRUE(fx.Window());
    HWND dlg = OpenProcessDialog(ProcessEntryFor(fx.Pid()));
    ASSERT_TRUE(dlg);
    EXPECT_EQ(NULL, GetWindow(dlg, GW_OWNER));
    EXPECT_EQ("vantix_fixture", DlgText(dlg, IDC_PI_NAME));
    EXPECT_EQ(Hex4(fx.Pid()), DlgText(dlg, IDC_PI_ID));
    EXPECT_EQ(Hex4(GetCurrentProcessId()), DlgText(dlg, IDC_PI_PARENT));
    EXPECT_EQ("8", DlgText(dlg, IDC_PI_BASEPRI)) << "base priority of the normal class";
    EXPECT_EQ(0, lstrcmpiA(FixtureProcess::ExePath().c_str(), DlgText(dlg, IDC_PI_PATH).c_str()));
    EXPECT_TRUE(SendDlgItemMessageA(dlg, IDC_PI_ICON, STM_GETICON, 0, 0) != 0);
    EXPECT_TRUE(Checked(dlg, IDC_PI_NORMAL));
    for (int id = IDC_PI_CLASSGROUP; id <= IDC_PI_REALTIME; id++) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, id)));
    EXPECT_EQ(fx.Pid(), (DWORD)GetWindowLongPtrA(dlg, DWLP_USER));

    // Two dialogs of the same process live side by side.
    HWND second = OpenProcessDialog(ProcessEntryFor(fx.Pid()));
    ASSERT_TRUE(second);
    SendMessageA(second, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(IsWindow(dlg));

    // Once the process has gone a refresh shows the cleared entry and disables the class group.
    TerminateProcess(fx.Handle(), 0);
    ASSERT_TRUE(fx.Exited(5000));
    RefreshProcessDialog(dlg);
    EXPECT_EQ("0000", DlgText(dlg, IDC_PI_ID));
    EXPECT_EQ("0000", DlgText(dlg, IDC_PI_PARENT));
    EXPECT_EQ("", DlgText(dlg, IDC_PI_NAME));
    EXPECT_EQ("", DlgText(dlg, IDC_PI_PATH));
    for (int id = IDC_PI_CLASSGROUP; id <= IDC_PI_REALTIME; id++) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id)));
    for (int id = IDC_PI_IDLE; id <= IDC_PI_REALTIME; id++) EXPECT_FALSE(Checked(dlg, id));
    EXPECT_EQ(0, SendDlgItemMessageA(dlg, IDC_PI_ICON, STM_GETICON, 0, 0));
    // Terminate now acts on identifier 0 and reports the failure.
    {
        MessageBoxAnswerer yes(IDYES);
        SendMessageA(dlg, WM_COMMAND, IDC_PI_TERMINATE, 0);
        ASSERT_EQ(2u, yes.Boxes().size());
        EXPECT_EQ("Error in Vantix", yes.Boxes()[1].caption);
    }
    SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(InfoDialogs, PriorityChangeAsksAndRefusalKeepsTheRealClass)
{
    FixtureProcess fx("priority fixture", "");
    ASSERT_TRUE(fx.Window());
    HWND dlg = OpenProcessDialog(ProcessEntryFor(fx.Pid()));
    ASSERT_TRUE(dlg);
    {
        MessageBoxAnswerer no(IDNO);
        Click(dlg, IDC_PI_HIGH);
        ASSERT_EQ(1u, no.Boxes().size());
        EXPECT_EQ("Do you really want to change\nthe process priority class?", no.Boxes()[0].text);
    }
    EXPECT_EQ((DWORD)NORMAL_PRIORITY_CLASS, ClassOf(fx));
    EXPECT_TRUE(Checked(dlg, IDC_PI_NORMAL));
    EXPECT_FALSE(Checked(dlg, IDC_PI_HIGH));
    {
        MessageBoxAnswerer yes(IDYES);
        Click(dlg, IDC_PI_HIGH);
        EXPECT_EQ(1u, yes.Boxes().size());
        // The class the process already has: nothing to ask.
        Click(dlg, IDC_PI_HIGH);
        EXPECT_EQ(1u, yes.Boxes().size());
    }
    EXPECT_EQ((DWORD)HIGH_PRIORITY_CLASS, ClassOf(fx));
    EXPECT_TRUE(Checked(dlg, IDC_PI_HIGH));
    EXPECT_EQ("13", DlgText(dlg, IDC_PI_BASEPRI));

    // A class without a button: none checked, the group enabled, any button asks and sets.
    SetPriorityClass(fx.Handle(), BELOW_NORMAL_PRIORITY_CLASS);
    RefreshProcessDialog(dlg);
    for (int id = IDC_PI_IDLE; id <= IDC_PI_REALTIME; id++) EXPECT_FALSE(Checked(dlg, id));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDC_PI_IDLE)));
    {
        MessageBoxAnswerer yes(IDYES);
        Click(dlg, IDC_PI_IDLE);
        EXPECT_EQ(1u, yes.Boxes().size());
    }
    EXPECT_EQ((DWORD)IDLE_PRIORITY_CLASS, ClassOf(fx));

    // Skipping warnings: the change happens without a question.
    g_Options.SkipWarnings = 1;
    {
        MessageBoxAnswerer no(IDNO);
        Click(dlg, IDC_PI_NORMAL);
        EXPECT_TRUE(no.Boxes().empty());
    }
    EXPECT_EQ((DWORD)NORMAL_PRIORITY_CLASS, ClassOf(fx));
    EXPECT_TRUE(Checked(dlg, IDC_PI_NORMAL));
}

TEST_F(InfoDialogs, ProcessDialogTerminateAndModuleButtons)
{
    FixtureProcess fx("terminate fixture", "");
    ASSERT_TRUE(fx.Window());
    HWND dlg = OpenProcessDialog(ProcessEntryFor(fx.Pid()));
    ASSERT_TRUE(dlg);
    SendMessageA(dlg, WM_COMMAND, IDC_PI_MODULE, 0);
    HWND mod = NewDialog("Module Information");
    ASSERT_TRUE(mod);
    EXPECT_EQ("vantix_fixture", DlgText(mod, IDC_MI_NAME));
    EXPECT_EQ(Hex4(fx.Pid()), DlgText(mod, IDC_MI_PROCESS));
    {
        MessageBoxAnswerer no(IDNO);
        SendMessageA(dlg, WM_COMMAND, IDC_PI_TERMINATE, 0);
        EXPECT_EQ(1u, no.Boxes().size());
    }
    EXPECT_FALSE(fx.Exited(300));
    {
        MessageBoxAnswerer yes(IDYES);
        SendMessageA(dlg, WM_COMMAND, IDC_PI_TERMINATE, 0);
    }
    EXPECT_TRUE(fx.Exited(5000));
    EXPECT_TRUE(IsWindow(dlg)) << "the dialog stays open";
}

TEST_F(InfoDialogs, ModuleDialogShowsTheRecordItWasGiven)
{
    HMODULE lib = LoadLibraryA("msimg32.dll");
    ASSERT_TRUE(lib);
    MODULEINFO info;
    ASSERT_TRUE(GetModuleInformation(GetCurrentProcess(), lib, &info, sizeof(info)));
    char path[MAX_PATH];
    GetModuleFileNameA(lib, path, sizeof(path));

    static ProcessRecord rec;
    memset(&rec, 0, sizeof(rec));
    strcpy(rec.entry.szExeFile, path);
    strcpy(rec.moduleName, "msimg32");
    rec.mainModule.th32ProcessID = 0x1F4;
    rec.mainModule.modBaseSize = info.SizeOfImage;
    HWND dlg = OpenModuleInfo(&rec);
    ASSERT_TRUE(dlg);
    memset(&rec, 0, sizeof(rec));   // the dialog keeps nothing of the record
    EXPECT_EQ("msimg32", DlgText(dlg, IDC_MI_NAME));
    EXPECT_EQ("01F4", DlgText(dlg, IDC_MI_PROCESS));
    EXPECT_EQ(std::to_string(info.SizeOfImage), DlgText(dlg, IDC_MI_SIZE));
    EXPECT_EQ(path, DlgText(dlg, IDC_MI_PATH));
    EXPECT_TRUE(SendDlgItemMessageA(dlg, IDC_MI_ICON, STM_GETICON, 0, 0) != 0);
    EXPECT_TRUE(SendDlgItemMessageA(dlg, IDC_MI_SMALLICON, STM_GETICON, 0, 0) != 0);

    // Formats: identifiers with at least four hexadecimal digits, sizes in plain decimal.
    const struct { DWORD pid; DWORD size; const char* pidText; const char* sizeText; } cases[] = {
        {8, 1048576, "0008", "1048576"},
        {0x12345, 0, "12345", "0"},
        {0, 4096, "0000", "4096"},
    };
    for (const auto& c : cases) {
        rec.mainModule.th32ProcessID = c.pid;
        rec.mainModule.modBaseSize = c.size;
        HWND d = OpenModuleInfo(&rec);
        ASSERT_TRUE(d);
        EXPECT_EQ(c.pidText, DlgText(d, IDC_MI_PROCESS));
        EXPECT_EQ(c.sizeText, DlgText(d, IDC_MI_SIZE));
        EXPECT_EQ(0, SendDlgItemMessageA(d, IDC_MI_ICON, STM_GETICON, 0, 0)) << "no file, no icon";
        SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
        EXPECT_FALSE(IsWindow(d));
    }
    EXPECT_TRUE(IsWindow(dlg)) << "closing one dialog leaves the other";
}

// Ctrl+C with the focus on a field of the dialog, through the program's loop.
static std::string CopiedWithKeys(HWND dlg, int focusId)
{
    DWORD seq = GetClipboardSequenceNumber();
    PressKeyIn(GetDlgItem(dlg, focusId), 'C', true);
    return WaitForClipboardText(seq, 3000);
}

TEST_F(InfoDialogs, ProcessAndModuleInformationCopyEveryFieldAsLabelAndValue)
{
    FixtureProcess fx("copy fixture", "");
    ASSERT_TRUE(fx.Window());
    HWND dlg = OpenProcessDialog(ProcessEntryFor(fx.Pid()));
    ASSERT_TRUE(dlg);
    // In the dialog's order; the priority class is the group's label and its checked button.
    std::string expected = "Name: " + DlgText(dlg, IDC_PI_NAME) + "\r\nIdentifier: " + DlgText(dlg, IDC_PI_ID) +
                           "\r\nParent: " + DlgText(dlg, IDC_PI_PARENT) + "\r\nBase priority: " +
                           DlgText(dlg, IDC_PI_BASEPRI) + "\r\nExecutable file: " + DlgText(dlg, IDC_PI_PATH) +
                           "\r\nPriority class: Normal\r\n";
    EXPECT_EQ(expected, CopiedWithKeys(dlg, IDC_PI_NAME));
    EXPECT_EQ(0u, expected.find("Name: vantix_fixture\r\nIdentifier: " + Hex4(fx.Pid()) + "\r\n"));

    // Another class checked: the copy follows what the buttons show.
    {
        MessageBoxAnswerer yes(IDYES);
        Click(dlg, IDC_PI_HIGH);
    }
    ASSERT_TRUE(Checked(dlg, IDC_PI_HIGH));
    std::string high = CopiedWithKeys(dlg, IDC_PI_PATH);
    EXPECT_NE(std::string::npos, high.find("\r\nPriority class: High\r\n")) << high;

    // The Module Information of the process's main module, through the right-click menu.
    auto before = ThreadDialogs("Module Information");
    PressButton(dlg, IDC_PI_MODULE);
    HWND mod = NewDialog("Module Information", before);
    ASSERT_TRUE(mod);
    DWORD seq = GetClipboardSequenceNumber();
    ChooseFromNextMenu(IDC_CTX_COPY);
    RECT rc = WindowRect(mod);
    SendMessageA(mod, WM_CONTEXTMENU, (WPARAM)mod, MAKELPARAM(rc.left + 5, rc.bottom - 5));
    EXPECT_TRUE(NextMenuShowedItem());
    EXPECT_EQ("Name: " + DlgText(mod, IDC_MI_NAME) + "\r\nProcess: " + DlgText(mod, IDC_MI_PROCESS) + "\r\nSize: " +
                  DlgText(mod, IDC_MI_SIZE) + "\r\nExecutable file: " + DlgText(mod, IDC_MI_PATH) + "\r\n",
              WaitForClipboardText(seq, 3000));
    EXPECT_EQ("vantix_fixture", DlgText(mod, IDC_MI_NAME));
}
