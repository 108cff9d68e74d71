// Vantix.exe started as a user starts it and driven from this separate process with real
// mouse and keyboard input: a capture selected on the screen lands on the clipboard, where this
// process reads it; Escape gives nothing; a full-screen capture opens a viewer that closes with
// the information boxes.
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <string>

#include "support/testing.h"
#include "support/settings.h"
#include "capture/capture_helpers.h"
#include "capture_picture.h"
#include "app/settings.h"
#include "capture/magnifier.h"
#include "resource.h"

namespace {

HWND HiddenWindow()
{
    return VantixHiddenWindow();
}

// The Save As dialog a process shows: a dialog with the file name box.
struct SaveAsSearch {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK FindSaveAsProc(HWND h, LPARAM lp)
{
    SaveAsSearch* s = (SaveAsSearch*)lp;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == s->pid && IsWindowVisible(h) && ClassOf(h) == "#32770" && GetDlgItem(h, 0x47C)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
HWND SaveAsDialogOf(DWORD pid)
{
    SaveAsSearch s = {pid, NULL};
    EnumWindows(FindSaveAsProc, (LPARAM)&s);
    return s.found;
}

std::string At(const char* verb, POINT p)
{
    return std::string(verb) + " " + std::to_string(p.x) + " " + std::to_string(p.y);
}

class CaptureEndToEnd : public ::testing::Test {
protected:
    SettingsGuard settings;
    void SetUp() override
    {
        ASSERT_FALSE(HiddenWindow()) << "another Vantix is still running";
        PrepareXdotool();
    }

    // The stored settings Vantix starts with: the Capture Screen page shown.
    void StoreSettings(int area, UINT destination, bool dims, bool tray = false)
    {
        OptionsRecord rec;
        SetOptionsDefaults(&rec);
        rec.PageIndex = 4;
        rec.CaptureArea = (int8_t)area;
        rec.CaptureDestination = destination;
        rec.ShowDimensions = dims ? 1 : 0;
        rec.TrayIcon = tray ? 1 : 0;
        settings.Store(rec);
    }
    // Clicks the capture button of the running program. The caller waits for what lasts: the
    // overlay, the picker's frame, a viewer or the clipboard.
    static bool PressCapture(HWND dlg)
    {
        HWND page = ShownPage(dlg);
        HWND button = page ? GetDlgItem(page, IDC_CAP_GO) : NULL;
        if (!button) return false;
        RECT rc = WindowRect(button);
        StartXdotool(At("mousemove", Center(rc)) + " click 1");
        return true;
    }
    // The program's own loop handles a message posted to it: a minimize and a restore of the
    // main dialog take effect, each within ms.
    static bool LoopAnswers(HWND dlg, DWORD ms)
    {
        PostMessageA(dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        bool minimized = WaitUntil([&] { return IsIconic(dlg) != 0; }, ms);
        PostMessageA(dlg, WM_SYSCOMMAND, SC_RESTORE, 0);
        return minimized && WaitUntil([&] { return !IsIconic(dlg); }, ms);
    }
    static HWND Overlay(DWORD pid)
    {
        return WaitForTopWindow(pid, "Vantix_Select", NULL, true, 10000);
    }
    // Empties the clipboard; returns its sequence number afterwards, by which a capture shows.
    static DWORD EmptyTheClipboard()
    {
        if (OpenClipboard(NULL)) {
            EmptyClipboard();
            CloseClipboard();
        }
        return GetClipboardSequenceNumber();
    }
    // A capture has reached the clipboard since seq, within ms: the program has put its bitmap
    // there and closed the clipboard, so every form it gives is there (the sequence moves and
    // the bitmap shows while the PNG form is still to come).
    static bool Delivered(DWORD seq)
    {
        return GetClipboardSequenceNumber() != seq && IsClipboardFormatAvailable(CF_DIB) &&
               GetOpenClipboardWindow() == NULL;
    }
    static bool CaptureArrived(DWORD seq, DWORD ms)
    {
        return WaitUntil([&] { return Delivered(seq); }, ms);
    }
    // The display shows the fixture's whole picture: nothing of the program's start (its
    // banner, its dialog) is left over it.
    static bool PictureShown(const RECT& client)
    {
        return WaitUntil([&] {
            return PictureDifference(ScreenPicture(client), ExpectedPicture(0, 0, client.right - client.left,
                                                                            client.bottom - client.top)) == 0;
        }, 5000);
    }
};

TEST_F(CaptureEndToEnd, ADragAcrossAnotherProgramPutsExactlyThatAreaOnTheClipboard)
{
    PictureWindow fixture(700, 520, 300, 200);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    StoreSettings(0, IDC_CAP_CLIPBOARD, true);
    DWORD seq = EmptyTheClipboard();

    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(PictureShown(c)) << "before the capture";
    ASSERT_TRUE(PressCapture(dlg));
    ASSERT_TRUE(Overlay(v.Pid())) << "the selection began";
    EXPECT_FALSE(IsWindowVisible(dlg)) << "the main dialog hides for the selection";

    POINT a = {c.left + 40, c.top + 30}, b = {c.left + 250, c.top + 170};
    StartXdotool(At("mousemove", b) + " mousedown 1 " + At("mousemove", POINT{b.x - 60, b.y - 50}) + " " +
                 At("mousemove", a));
    // The frame reaches a, where the button is held: its corner shows the picture inverted.
    RECT corner = {a.x, a.y, a.x + 1, a.y + 1};
    EXPECT_TRUE(WaitUntil([&] {
        Picture p = ScreenPicture(corner);
        return p.width == 1 && p.At(0, 0) == (~CapturePicturePixel(40, 30) & 0xFFFFFF);
    }, 10000)) << "the frame follows the drag";
    SaveScreenShot("capture_overlay_label");
    StartXdotool("mouseup 1");

    ASSERT_TRUE(CaptureArrived(seq, 10000)) << "a capture arrived";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dlg) != 0; }, 5000)) << "the main dialog comes back";
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(GetClipboardOwner(), HiddenWindow());
    Picture got = ClipboardPicture(), want = ExpectedPicture(40, 30, 210, 140);
    EXPECT_EQ(PictureDifference(got, want), 0) << "dragged up and to the left: " << DescribeDifference(got, want);
    EXPECT_FALSE(FindTopWindow(v.Pid(), "Vantix_Select", NULL, false)) << "the overlay is gone";

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(10000));
}

// xdotool's name of a key, n times over.
std::string Times(const char* key, int n)
{
    std::string keys;
    for (int i = 0; i < n; i++) keys += std::string(" ") + key;
    return keys;
}

TEST_F(CaptureEndToEnd, ArrowsAndEnterAloneSelectAndTheMagnifierStaysOutOfTheCapture)
{
    PictureWindow fixture(600, 420, 300, 200);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    StoreSettings(0, IDC_CAP_CLIPBOARD, true);
    DWORD seq = EmptyTheClipboard();

    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(PictureShown(c)) << "before the capture";
    ASSERT_TRUE(PressCapture(dlg));
    ASSERT_TRUE(Overlay(v.Pid())) << "the selection began";
    HWND lens = WaitForTopWindow(v.Pid(), kMagnifierClass, NULL, true, 10000);
    ASSERT_TRUE(lens) << "the magnifier is on unless the user turned it off";

    // The pointer goes to one corner; from there the keys alone select up and to the left, so
    // that at the end the magnifier stands inside the rectangle it selected.
    const POINT b = {c.left + 250, c.top + 170}, a = {b.x - 211, b.y - 141};
    StartXdotool(At("mousemove", b));
    const RECT placed = WindowRect(lens), screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const SIZE size = {placed.right - placed.left, placed.bottom - placed.top};
    const POINT besideB = PlaceMagnifier(b, size, screen), besideA = PlaceMagnifier(a, size, screen);
    EXPECT_TRUE(WaitUntil([&] {
        RECT r = WindowRect(lens);
        return r.left == besideB.x && r.top == besideB.y;
    }, 5000)) << "the magnifier follows the pointer";
    StartXdotool("key --delay 30 Return" + Times("shift+Left", 21) + Times("shift+Up", 14) + " Left Up");
    RECT corner = {a.x, a.y, a.x + 1, a.y + 1};
    EXPECT_TRUE(WaitUntil([&] {
        Picture p = ScreenPicture(corner);
        RECT r = WindowRect(lens);
        return p.width == 1 && p.At(0, 0) == (~CapturePicturePixel(39, 29) & 0xFFFFFF) && r.left == besideA.x &&
               r.top == besideA.y;
    }, 10000)) << "the frame and the magnifier follow the keys";
    RECT over, selected = {a.x, a.y, b.x, b.y}, lensNow = WindowRect(lens);
    EXPECT_TRUE(IntersectRect(&over, &lensNow, &selected)) << "the magnifier is over the selection now";
    SaveScreenShot("capture_overlay_magnifier");
    StartXdotool("key Return");

    ASSERT_TRUE(CaptureArrived(seq, 10000)) << "a capture arrived";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dlg) != 0; }, 5000)) << "the main dialog comes back";
    Picture got = ClipboardPicture(), want = ExpectedPicture(39, 29, 211, 141);
    EXPECT_EQ(PictureDifference(got, want), 0) << "neither frame nor magnifier: " << DescribeDifference(got, want);
    EXPECT_FALSE(FindTopWindow(v.Pid(), kMagnifierClass, NULL, false)) << "the magnifier is gone";

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(10000));
}

TEST_F(CaptureEndToEnd, WithShowMagnifierUncheckedNoMagnifierShowsAndTheChoiceIsKept)
{
    PictureWindow fixture(600, 420, 300, 200);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    StoreSettings(0, IDC_CAP_CLIPBOARD, false);
    DWORD seq = EmptyTheClipboard();
    {
        VantixProcess v;
        HWND dlg = v.Dialog();
        ASSERT_TRUE(dlg);
        HWND page = ShownPage(dlg);
        HWND box = page ? GetDlgItem(page, IDC_CAP_SHOWMAGNIFIER) : NULL;
        ASSERT_TRUE(box);
        auto checked = [&] {
            DWORD_PTR state = 0;
            SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state);
            return state;
        };
        ASSERT_EQ(checked(), (DWORD_PTR)BST_CHECKED);
        RECT br = WindowRect(box);
        StartXdotool(At("mousemove", POINT{br.left + 6, (br.top + br.bottom) / 2}) + " click 1");
        ASSERT_TRUE(WaitUntil([&] { return checked() == BST_UNCHECKED; }, 5000)) << "a click turns it off";
        ASSERT_TRUE(PictureShown(c));
        ASSERT_TRUE(PressCapture(dlg));
        ASSERT_TRUE(Overlay(v.Pid()));
        const POINT a = {c.left + 40, c.top + 30};
        StartXdotool(At("mousemove", a));
        ASSERT_TRUE(WaitUntil([&] {
            POINT pt;
            return GetCursorPos(&pt) && pt.x == a.x && pt.y == a.y;
        }, 5000));
        StartXdotool("key --delay 30 Return" + Times("shift+Right", 12) + Times("shift+Down", 9) + " Return");
        // Looked for all through the selection, until its capture arrives.
        bool seen = false;
        bool arrived = WaitUntil([&] {
            if (FindTopWindow(v.Pid(), kMagnifierClass, NULL, false)) seen = true;
            return Delivered(seq);
        }, 10000);
        ASSERT_TRUE(arrived) << "a capture arrived";
        EXPECT_FALSE(seen) << "no magnifier at any time";
        Picture got = ClipboardPicture(), want = ExpectedPicture(40, 30, 120, 90);
        EXPECT_EQ(PictureDifference(got, want), 0) << DescribeDifference(got, want);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dlg) != 0; }, 5000));
        PostMessageA(dlg, WM_CLOSE, 0, 0);
        ASSERT_TRUE(v.Exited(10000));
    }
    DWORD type = 0, data = 1;
    ASSERT_TRUE(ReadStoredExtra("ShowMagnifier", &type, &data)) << "saved beside the record";
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(data, 0u);
    OptionsRecord stored;
    EXPECT_EQ(ReadStoredSettings(&stored, sizeof(stored)), 168u);

    // The next start shows it unchecked.
    VantixProcess again;
    HWND dlg = again.Dialog();
    ASSERT_TRUE(dlg);
    HWND page = ShownPage(dlg);
    DWORD_PTR state = 99;
    ASSERT_TRUE(page && SendMessageTimeoutA(GetDlgItem(page, IDC_CAP_SHOWMAGNIFIER), BM_GETCHECK, 0, 0, SMTO_NORMAL,
                                            5000, &state));
    EXPECT_EQ(state, (DWORD_PTR)BST_UNCHECKED);
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(again.Exited(10000));
}

TEST_F(CaptureEndToEnd, EscapeGivesNothingAndBringsTheDialogBack)
{
    StoreSettings(1, IDC_CAP_CLIPBOARD, false);
    DWORD seq = EmptyTheClipboard();
    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(PressCapture(dlg));
    ASSERT_TRUE(Overlay(v.Pid()));
    StartXdotool("key Escape");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dlg) != 0; }, 10000));
    EXPECT_FALSE(FindTopWindow(v.Pid(), "Vantix_Select", NULL, false));
    // Back in its own loop, past any delivery.
    EXPECT_TRUE(LoopAnswers(dlg, 5000));
    EXPECT_EQ(GetClipboardSequenceNumber(), seq) << "nothing was delivered";
    EXPECT_FALSE(FindTopWindow(v.Pid(), "Vantix_Capture", NULL, false));
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(10000));
}

TEST_F(CaptureEndToEnd, FullScreenOpensAViewerThatClosesWithTheInformationBoxes)
{
    // With the tray icon the program outlives its main dialog: the viewer must not.
    StoreSettings(6, IDC_CAP_NEWWINDOW, false, true);
    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(PressCapture(dlg));
    HWND viewer = WaitForTopWindow(v.Pid(), "Vantix_Capture", "Capture Window - Vantix", true, 10000);
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(IsWindowVisible(dlg));
    RECT rc;
    GetClientRect(viewer, &rc);
    EXPECT_LE(rc.right, GetSystemMetrics(SM_CXFULLSCREEN));
    EXPECT_GT(rc.right, GetSystemMetrics(SM_CXFULLSCREEN) / 2) << "as large as the screen allows";

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }, 10000)) << "closed with the main dialog";
    HWND hidden = HiddenWindow();
    ASSERT_TRUE(hidden) << "the program stays in the tray";
    EXPECT_TRUE(Answers(hidden, 5000)) << "and runs";
    PostMessageA(hidden, WM_COMMAND, IDC_CMD_QUIT, 0);
    EXPECT_TRUE(v.Exited(10000));
}

TEST_F(CaptureEndToEnd, AHungProgramStopsNeitherTheCaptureNorTheProgram)
{
    // A program that no longer reads its messages and has something to paint: the capture asks
    // it nothing it could wait on for good.
    PictureWindow hung(700, 520, 200, 120, "Vantix hung capture fixture", 300);
    ASSERT_TRUE(hung.Window());
    ASSERT_TRUE(WaitUntil([&] {
        return !SendMessageTimeoutA(hung.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, NULL);
    }, 10000)) << "the fixture stopped answering";
    InvalidateRect(hung.Window(), NULL, FALSE);
    ASSERT_TRUE(GetUpdateRect(hung.Window(), NULL, FALSE)) << "it has something to paint";
    StoreSettings(6, IDC_CAP_CLIPBOARD, false);
    DWORD seq = EmptyTheClipboard();

    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(PressCapture(dlg));
    EXPECT_TRUE(CaptureArrived(seq, 10000)) << "the capture arrived";
    EXPECT_TRUE(LoopAnswers(dlg, 1000)) << "a message posted to the program is handled within a second";
    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(10000));
}

TEST_F(CaptureEndToEnd, ACaptureArrivesAsPngOnTheClipboardAndInAFileNamedPng)
{
    PictureWindow fixture(700, 520, 200, 120);
    ASSERT_TRUE(fixture.Window());
    RECT c = fixture.ClientScreenRect();
    Picture want = ExpectedPicture(0, 0, 200, 120);
    StoreSettings(6, IDC_CAP_CLIPBOARD, false);
    DWORD seq = EmptyTheClipboard();

    VantixProcess v;
    HWND dlg = v.Dialog();
    ASSERT_TRUE(dlg);
    HWND page = ShownPage(dlg);
    ASSERT_TRUE(page);
    ASSERT_TRUE(PictureShown(c)) << "before the capture";
    ASSERT_TRUE(PressCapture(dlg));
    ASSERT_TRUE(CaptureArrived(seq, 10000)) << "a capture arrived";
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("PNG"))) << "as PNG too";
    std::string dump = TestFile("e2e_clipboard.png");
    ASSERT_TRUE(DumpClipboardFormat("PNG", dump));
    Picture png;
    ASSERT_TRUE(DecodeWithImageMagick(dump, &png));
    Picture dib = ClipboardPicture();
    EXPECT_EQ(0, PictureDifference(png, dib)) << "the same pixels as the bitmap form";
    Picture inside = Crop(png, c.left, c.top, 200, 120);
    EXPECT_EQ(0, PictureDifference(inside, want)) << DescribeDifference(inside, want);
    DeleteFileA(dump.c_str());

    // The File destination: the Save As dialog of the program, a name typed with .png.
    StartXdotool(At("mousemove", Center(WindowRect(GetDlgItem(page, IDC_CAP_FILE)))) + " click 1");
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(GetDlgItem(page, IDC_CAP_FILE), BM_GETCHECK, 0, 0) == BST_CHECKED; },
                          5000));
    std::string file = TestFile("e2e_capture.png");
    DeleteFileA(file.c_str());
    ASSERT_TRUE(PressCapture(dlg));
    HWND saveAs = NULL, name = NULL;
    ASSERT_TRUE(WaitUntil([&] {
        saveAs = SaveAsDialogOf(v.Pid());
        HWND combo = saveAs ? GetDlgItem(saveAs, 0x47C) : NULL;
        name = combo ? FindWindowExA(combo, NULL, "Edit", NULL) : NULL;
        if (combo && !name) name = FindWindowExA(FindWindowExA(combo, NULL, "ComboBox", NULL), NULL, "Edit", NULL);
        return name != NULL;
    }, 10000)) << "the Save As dialog";
    DWORD_PTR r = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, (LPARAM)file.c_str(), SMTO_ABORTIFHUNG, 5000, &r);
    PostMessageA(saveAs, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(saveAs, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(file); }, 10000)) << "the file was written";
    char size[64];
    snprintf(size, sizeof(size), "%d %d PNG 8", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(size, IdentifyImage(file));
    Picture saved;
    ASSERT_TRUE(DecodeWithImageMagick(file, &saved));
    inside = Crop(saved, c.left, c.top, 200, 120);
    EXPECT_EQ(0, PictureDifference(inside, want)) << DescribeDifference(inside, want);
    DeleteFileA(file.c_str());

    PostMessageA(dlg, WM_CLOSE, 0, 0);
    EXPECT_TRUE(v.Exited(10000));
}

}  // namespace

namespace {

// The window picker of the Windows subsystem with the capture callbacks: the real mouse points
// at another program's window and clicks.
class PickedCapture : public CaptureEndToEnd {};

TEST_F(PickedCapture, ClientAreaAndEntireWindowOfAPickedWindowReachTheClipboard)
{
    PictureWindow fixture(700, 520, 300, 200);
    ASSERT_TRUE(fixture.Window());
    RECT client = fixture.ClientScreenRect(), win = WindowRect(fixture.Window());
    struct {
        int area;
        RECT rect;
    } cases[] = {{4, client}, {5, win}};
    for (auto& k : cases) {
        SCOPED_TRACE(k.area);
        StoreSettings(k.area, IDC_CAP_CLIPBOARD, false);
        DWORD seq = EmptyTheClipboard();
        VantixProcess v;
        HWND dlg = v.Dialog();
        ASSERT_TRUE(dlg);
        HWND page = ShownPage(dlg);
        ASSERT_TRUE(page);
        ASSERT_TRUE(PictureShown(client)) << "before the capture";
        RECT rc = WindowRect(GetDlgItem(page, IDC_CAP_GO));
        StartXdotool(At("mousemove", Center(rc)) + " click 1");
        HWND frame = NULL;
        ASSERT_TRUE(WaitUntil([&] { return (frame = FindTopWindow(v.Pid(), "Vantix_PickFrame", NULL, false)) != NULL; },
                              10000)) << "the pick began";
        POINT target = {client.left + 150, client.top + 100};
        StartXdotool(At("mousemove", POINT{target.x - 20, target.y - 10}) + " sleep 0.2 " + At("mousemove", target));
        EXPECT_TRUE(WaitUntil([&] {
            RECT a = WindowRect(frame);
            return IsWindowVisible(frame) && EqualRect(&a, &win);
        }, 5000)) << "the fixture is outlined";
        StartXdotool("click 1");
        ASSERT_TRUE(CaptureArrived(seq, 10000)) << "the picked window's capture arrived";
        Picture got = ClipboardPicture();
        ASSERT_EQ(got.width, k.rect.right - k.rect.left);
        ASSERT_EQ(got.height, k.rect.bottom - k.rect.top);
        Picture inside = Crop(got, client.left - k.rect.left, client.top - k.rect.top, 300, 200),
                want = ExpectedPicture(0, 0, 300, 200);
        EXPECT_EQ(PictureDifference(inside, want), 0) << "the picture, without the outline: "
                                                       << DescribeDifference(inside, want);
        EXPECT_TRUE(IsWindowVisible(dlg));
        PostMessageA(dlg, WM_CLOSE, 0, 0);
        EXPECT_TRUE(v.Exited(10000));
    }
}

}  // namespace
