// The Capture Screen page built from the real template inside the real main dialog.
#include "capture/capture_test_base.h"

#include <string>

namespace {

class CapturePage : public CaptureTest {
protected:
    HWND OpenCapturePage()
    {
        OpenMain();
        SelectTab(4);
        PumpMessages(50);
        return g_hPage;
    }
    static std::string Text(HWND page, int id)
    {
        char buf[512] = "";
        GetDlgItemTextA(page, id, buf, sizeof(buf));
        return buf;
    }
    // A click on a radio button or check box, as the button itself reports it.
    static void Click(HWND page, int id)
    {
        SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
        PumpMessages(20);
    }
    static bool DimensionsEnabled(HWND page)
    {
        const int ids[] = {IDC_CAP_DIMGROUP, IDC_CAP_WIDTHLBL, IDC_CAP_WIDTH, IDC_CAP_HEIGHTLBL, IDC_CAP_HEIGHT};
        int enabled = 0;
        for (int id : ids) enabled += IsWindowEnabled(GetDlgItem(page, id)) ? 1 : 0;
        EXPECT_TRUE(enabled == 0 || enabled == 5) << "the five dimension controls go together";
        return enabled == 5;
    }
};

TEST_F(CapturePage, ShowsTheStoredSettings)
{
    g_Options.CaptureArea = 1;
    g_Options.CaptureWidth = 200;
    g_Options.CaptureHeight = -5;
    g_Options.CaptureDestination = IDC_CAP_CLIPBOARD;
    g_Options.ShowDimensions = 1;
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    EXPECT_TRUE(GetDlgItem(page, IDC_CAP_GO));
    for (int id = IDC_CAP_MOUSE; id <= IDC_CAP_FULL; id++)
        EXPECT_EQ(IsDlgButtonChecked(page, id), id == IDC_CAP_RECT ? BST_CHECKED : BST_UNCHECKED) << id;
    EXPECT_EQ(Text(page, IDC_CAP_WIDTH), "200");
    EXPECT_EQ(Text(page, IDC_CAP_HEIGHT), "-5") << "signed integers";
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_SHOWDIMS), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_SHOWMAGNIFIER), BST_CHECKED) << "the magnifier is on by default";
    EXPECT_EQ(Text(page, IDC_CAP_SHOWMAGNIFIER), "Show ma&gnifier");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_CLIPBOARD), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_NEWWINDOW), BST_UNCHECKED);
    EXPECT_TRUE(DimensionsEnabled(page));
    EXPECT_EQ(Text(page, IDC_CAP_GO), "1. Press this button\r\n2. Wait for capture cursor\r\n"
                                      "3. Click and move rectangle\r\n4. Release to capture");
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_CAP_MOUSE)) << "focus on the first area button";
    SaveScreenShot("capture_page");
}

TEST_F(CapturePage, EachAreaButtonSetsItsInstructionsAndTheDimensionFields)
{
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    EXPECT_FALSE(DimensionsEnabled(page)) << "the default area is free selection";
    // Backwards and forwards, so that every button is clicked while another one is checked.
    const int order[] = {6, 5, 4, 3, 2, 1, 0, 1, 6};
    for (int area : order) {
        SCOPED_TRACE(area);
        Click(page, IDC_CAP_MOUSE + area);
        EXPECT_EQ(g_Options.CaptureArea, area);
        EXPECT_EQ(Text(page, IDC_CAP_GO), LoadResString(IDS_CAPTURE_HINT + area));
        EXPECT_EQ(DimensionsEnabled(page), area == 1);
    }
    EXPECT_EQ(Text(page, IDC_CAP_GO), "Press this button\r\nto capture the full screen");

    // A notification other than a click, or from a button that is not checked, changes nothing.
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CAP_ICON, BN_SETFOCUS), (LPARAM)GetDlgItem(page, IDC_CAP_ICON));
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CAP_CLIENT, BN_CLICKED), (LPARAM)GetDlgItem(page, IDC_CAP_CLIENT));
    EXPECT_EQ(g_Options.CaptureArea, 6);
}

TEST_F(CapturePage, StoresWhatTheUserSetAndKeepsItAcrossTabChanges)
{
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    Click(page, IDC_CAP_ICON);
    Click(page, IDC_CAP_FILE);
    Click(page, IDC_CAP_SHOWDIMS);
    SetDlgItemTextA(page, IDC_CAP_WIDTH, "-12");
    SetDlgItemTextA(page, IDC_CAP_HEIGHT, "77");
    StoreCapturePage(page);
    EXPECT_EQ(g_Options.CaptureWidth, -12);
    EXPECT_EQ(g_Options.CaptureHeight, 77);
    EXPECT_EQ(g_Options.CaptureDestination, (uint32_t)IDC_CAP_FILE);
    EXPECT_EQ(g_Options.ShowDimensions, 1u);

    // Text that is no number stores 0; leaving the page stores too.
    SetDlgItemTextA(page, IDC_CAP_WIDTH, "wide");
    SelectTab(0);
    PumpMessages(20);
    EXPECT_EQ(g_Options.CaptureWidth, 0);
    SelectTab(4);
    PumpMessages(20);
    page = g_hPage;
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_ICON), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_FILE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_SHOWDIMS), BST_CHECKED);
    EXPECT_EQ(Text(page, IDC_CAP_WIDTH), "0");
    EXPECT_EQ(Text(page, IDC_CAP_HEIGHT), "77");
    EXPECT_EQ(Text(page, IDC_CAP_GO), LoadResString(IDS_CAPTURE_HINT + 2));

    // No destination checked: one past the last, which delivers nowhere.
    CheckRadioButton(page, IDC_CAP_NEWWINDOW, IDC_CAP_FILE, 0);
    CheckDlgButton(page, IDC_CAP_FILE, BST_UNCHECKED);
    StoreCapturePage(page);
    EXPECT_EQ(g_Options.CaptureDestination, 8034u);

    // Closing the main dialog stores the page into the saved record.
    CheckDlgButton(page, IDC_CAP_CLIPBOARD, BST_CHECKED);
    CloseMain();
    OptionsRecord stored;
    ASSERT_EQ(ReadStoredSettings(&stored, sizeof(stored)), 168u);
    EXPECT_EQ(stored.CaptureDestination, (uint32_t)IDC_CAP_CLIPBOARD);
    EXPECT_EQ(stored.CaptureArea, 2);
    EXPECT_EQ(stored.CaptureHeight, 77);
}

TEST_F(CapturePage, ShowMagnifierIsStoredBesideTheRecordAndAMissingValueMeansOn)
{
    g_ExtraOptions.ShowMagnifier = 0;
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_SHOWMAGNIFIER), BST_UNCHECKED) << "as the setting says";
    Click(page, IDC_CAP_SHOWMAGNIFIER);
    StoreCapturePage(page);
    EXPECT_EQ(g_ExtraOptions.ShowMagnifier, 1u);
    Click(page, IDC_CAP_SHOWMAGNIFIER);
    StoreCapturePage(page);
    EXPECT_EQ(g_ExtraOptions.ShowMagnifier, 0u);

    // Closing the main dialog saves it as a DWORD of its own; the record keeps its 168 bytes.
    CloseMain();
    DWORD type = 0, data = 99;
    ASSERT_TRUE(ReadStoredExtra("ShowMagnifier", &type, &data));
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(data, 0u);
    OptionsRecord stored;
    EXPECT_EQ(ReadStoredSettings(&stored, sizeof(stored)), 168u);
    g_ExtraOptions.ShowMagnifier = 1;
    LoadOptions();
    EXPECT_EQ(g_ExtraOptions.ShowMagnifier, 0u) << "read back at start";

    // A record stored before the value existed, or a value that is no DWORD: on.
    const struct {
        const char* name;
        DWORD type;
        const char* bytes;
        DWORD size;
    } unreadable[] = {{"missing", 0, NULL, 0}, {"a string", REG_SZ, "0", 2}, {"two bytes", REG_BINARY, "\0\0", 2}};
    for (const auto& u : unreadable) {
        SCOPED_TRACE(u.name);
        DeleteStoredExtra("ShowMagnifier");
        if (u.bytes) WriteStoredExtra("ShowMagnifier", u.type, u.bytes, u.size);
        g_ExtraOptions.ShowMagnifier = 0;
        LoadOptions();
        EXPECT_EQ(g_ExtraOptions.ShowMagnifier, 1u);
        EXPECT_EQ(g_Options.CaptureArea, stored.CaptureArea) << "the record loads as it was";
    }
    page = OpenCapturePage();
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CAP_SHOWMAGNIFIER), BST_CHECKED);
}

TEST_F(CapturePage, TheMagnifierBoxSitsInTheAreaGroupAndCoversNoOtherControl)
{
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    HWND box = GetDlgItem(page, IDC_CAP_SHOWMAGNIFIER);
    ASSERT_TRUE(box);
    RECT mine = ChildRect(box), group = ChildRect(GetDlgItem(page, IDC_CAP_AREAGROUP)), in;
    EXPECT_TRUE(IntersectRect(&in, &mine, &group) && EqualRect(&in, &mine)) << "inside Screen area to capture";
    for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == box || GetDlgCtrlID(c) == IDC_CAP_AREAGROUP || GetDlgCtrlID(c) == IDC_CAP_DESTGROUP) continue;
        RECT other = ChildRect(c);
        EXPECT_FALSE(IntersectRect(&in, &mine, &other)) << "overlaps control " << GetDlgCtrlID(c);
    }
    // Reached with Tab after the dimension fields, before the destinations.
    EXPECT_EQ(GetNextDlgTabItem(page, GetDlgItem(page, IDC_CAP_HEIGHT), FALSE), box);
}

TEST_F(CapturePage, FullScreenToFileShowsTheMainDialogBeforeTheSaveAsDialog)
{
    g_Options.CaptureArea = 6;
    g_Options.CaptureDestination = IDC_CAP_FILE;
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    std::string file = TestFile("cap_fullscreen.bmp");
    DeleteFileA(file.c_str());
    volatile LONG dialogVisible = -1;
    HWND dlg = g_hMainDlg;
    {
        SaveAsDriver saveAs(file, [&](HWND) { dialogVisible = IsWindowVisible(dlg) ? 1 : 0; });
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CAP_GO, BN_CLICKED), (LPARAM)GetDlgItem(page, IDC_CAP_GO));
        EXPECT_EQ(saveAs.DialogsSeen(), 1);
        // The page owns it; a child's top-level ancestor stands in as the owner.
        EXPECT_EQ(saveAs.LastOwner(), GetAncestor(page, GA_ROOT));
    }
    EXPECT_EQ(dialogVisible, 1) << "the main dialog is back before the Save As dialog opens";
    EXPECT_TRUE(IsWindowVisible(dlg));
    std::string bytes = ReadFileText(file);
    Picture saved = BmpPicture(bytes);
    EXPECT_EQ(saved.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(saved.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(IdentifyImage(file), std::to_string(saved.width) + " " + std::to_string(saved.height) + " BMP3 8");
    DeleteFileA(file.c_str());
}

TEST_F(CapturePage, FullScreenHoldsWhatLayBelowTheDialogAndActivatesNoOtherProgram)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    const RECT c = fixture.ClientScreenRect();
    const Picture picture = ExpectedPicture(0, 0, 240, 160);
    g_Options.CaptureArea = 6;
    g_Options.CaptureDestination = IDC_CAP_CLIPBOARD;
    HWND page = OpenCapturePage();
    ASSERT_TRUE(page);
    // The dialog over the whole picture, active, and shown there.
    SetWindowPos(g_hMainDlg, HWND_TOP, c.left - 40, c.top - 30, 0, 0, SWP_NOSIZE);
    SetForegroundWindow(g_hMainDlg);
    RECT dr = WindowRect(g_hMainDlg), covered;
    ASSERT_TRUE(IntersectRect(&covered, &dr, &c) && EqualRect(&covered, &c)) << "the dialog covers the picture";
    DWORD fixtureThread = GetWindowThreadProcessId(fixture.Window(), NULL);
    ASSERT_TRUE(PumpUntil([&] {
        GUITHREADINFO gui;
        ZeroMemory(&gui, sizeof(gui));
        gui.cbSize = sizeof(gui);
        return GetForegroundWindow() == g_hMainDlg && GetGUIThreadInfo(fixtureThread, &gui) && !gui.hwndActive &&
               PictureDifference(ScreenPicture(c), picture) > 240 * 160 / 2;
    }, 5000)) << "the dialog shows over the picture";
    const long activations = fixture.Activations();

    // The program below is caught in a job while the dialog goes: the display shows the dialog
    // there until the program gets round to drawing its window again.
    ASSERT_TRUE(fixture.BeBusy(100));
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_CAP_GO, BN_CLICKED), (LPARAM)GetDlgItem(page, IDC_CAP_GO));
    Picture shot = ClipboardPicture();
    ASSERT_EQ(shot.width, GetSystemMetrics(SM_CXSCREEN));
    Picture got = Crop(shot, c.left, c.top, 240, 160);
    EXPECT_EQ(PictureDifference(got, picture), 0) << "the picture, not the dialog: " << DescribeDifference(got, picture);
    EXPECT_EQ(fixture.Activations(), activations) << "hiding the dialog activated no other program";
    EXPECT_TRUE(IsWindowVisible(g_hMainDlg));
}

}  // namespace
