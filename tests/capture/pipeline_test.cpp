// The capture pipeline and the bitmap export against a window of another process that shows a
// known picture; files checked with ImageMagick, the clipboard read by another process.
#include "capture/capture_test_base.h"
#include "windows/picker.h"
#include "windows/window_query.h"
#include "app/platform.h"
#include "support/composited.h"
#include "app/resstring.h"

#include <string>

namespace {

class CapturePipeline : public CaptureTest {
protected:
    static DWORD U32(const std::string& bytes, size_t at)
    {
        DWORD v = 0;
        if (bytes.size() >= at + 4) memcpy(&v, bytes.data() + at, 4);
        return v;
    }
    static WORD U16(const std::string& bytes, size_t at)
    {
        WORD v = 0;
        if (bytes.size() >= at + 2) memcpy(&v, bytes.data() + at, 2);
        return v;
    }
};

TEST_F(CapturePipeline, ClientAreaToFileEqualsAnIndependentScreenshotPixelForPixel)
{
    PictureWindow fixture(300, 260, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT client = fixture.ClientScreenRect();

    CaptureClientArea(fixture.Window());
    EXPECT_TRUE(EqualRect(&g_rcCapture, &client)) << "the client area in screen coordinates";
    ASSERT_TRUE(g_hCaptureBitmap);
    EXPECT_EQ(PictureDifference(BitmapPicture(g_hCaptureBitmap), ExpectedPicture(0, 0, 240, 160)), 0);

    std::string file = TestFile("cap_client.bmp");
    DeleteFileA(file.c_str());
    g_Options.CaptureDestination = IDC_CAP_FILE;
    {
        SaveAsDriver saveAs(file);
        DeliverCapture();
        EXPECT_EQ(saveAs.DialogsSeen(), 1);
    }
    EXPECT_FALSE(g_hCaptureBitmap) << "delivery releases both handles";
    EXPECT_FALSE(g_hCaptureDib);

    std::string bytes = ReadFileText(file);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(U32(bytes, 2), bytes.size()) << "file size field";
    EXPECT_EQ(U32(bytes, 10), 54u) << "24-bit rows follow the two headers directly";
    EXPECT_EQ(U32(bytes, 14), 40u);
    EXPECT_EQ((LONG)U32(bytes, 18), 240);
    EXPECT_EQ((LONG)U32(bytes, 22), 160) << "bottom-up rows";
    EXPECT_EQ(U16(bytes, 26), 1);
    EXPECT_EQ(U16(bytes, 28), 24) << "a 32-bit display gives 24-bit DIBs";
    EXPECT_EQ(U32(bytes, 30), 0u);
    EXPECT_EQ(U32(bytes, 34), 240u * 3 * 160);
    Picture saved = BmpPicture(bytes);
    EXPECT_EQ(PictureDifference(saved, ExpectedPicture(0, 0, 240, 160)), 0);

    Picture shot;
    ASSERT_TRUE(ImportScreenshot(client, &shot)) << "ImageMagick import must be installed";
    EXPECT_EQ(PictureDifference(saved, shot), 0) << "the BMP equals import's screenshot of the same area";
    EXPECT_EQ(IdentifyImage(file), "240 160 BMP3 8") << "ImageMagick reads the file";
    DeleteFileA(file.c_str());
}

TEST_F(CapturePipeline, EntireWindowHoldsTheClientPictureAtItsOffset)
{
    PictureWindow fixture(320, 300, 200, 120);
    ASSERT_TRUE(fixture.Window());
    RECT win = WindowRect(fixture.Window()), client = fixture.ClientScreenRect();
    CaptureWindowArea(fixture.Window());
    EXPECT_TRUE(EqualRect(&g_rcCapture, &win));
    Picture got = BitmapPicture(g_hCaptureBitmap);
    ASSERT_EQ(got.width, win.right - win.left);
    ASSERT_EQ(got.height, win.bottom - win.top);
    EXPECT_EQ(PictureDifference(Crop(got, client.left - win.left, client.top - win.top, 200, 120),
                                ExpectedPicture(0, 0, 200, 120)), 0);
    g_Options.CaptureDestination = 8034;
    DeliverCapture();
    EXPECT_FALSE(g_hCaptureBitmap) << "a destination that delivers nowhere still releases";
}

TEST_F(CapturePipeline, EntireWindowOnACompositedDesktopTakesExactlyTheVisibleFrame)
{
    PictureWindow fixture(320, 300, 200, 120);
    ASSERT_TRUE(fixture.Window());
    RECT win = WindowRect(fixture.Window()), client = fixture.ClientScreenRect();
    ASSERT_TRUE(client.left > win.left && client.right < win.right && client.bottom < win.bottom)
        << "a frame around the client area";
    // The resize borders left out but one pixel around the client area, and the caption kept
    // but its top row.
    CompositedDesktop dwm;
    RECT frame = {client.left - 1, win.top + 1, client.right + 1, client.bottom + 1};
    dwm.SetFrame(fixture.Window(), frame);

    CaptureWindowArea(fixture.Window());
    EXPECT_TRUE(EqualRect(&g_rcCapture, &frame)) << "the frame, not the window rectangle";
    Picture got = BitmapPicture(g_hCaptureBitmap);
    ASSERT_EQ(got.width, frame.right - frame.left);
    ASSERT_EQ(got.height, frame.bottom - frame.top);
    EXPECT_EQ(PictureDifference(got, ScreenPicture(frame)), 0) << "exactly the frame's pixels";
    EXPECT_EQ(PictureDifference(Crop(got, 1, client.top - frame.top, 200, 120), ExpectedPicture(0, 0, 200, 120)), 0);
    EXPECT_GT(dwm.FrameQuestions(), 0);
    g_Options.CaptureDestination = 8034;
    DeliverCapture();

    // The client area stays the client area.
    CaptureClientArea(fixture.Window());
    EXPECT_TRUE(EqualRect(&g_rcCapture, &client));
    DeliverCapture();
}

TEST_F(CapturePipeline, WhereTheSystemsWindowManagerGivesNoFrameTheWindowRectangleStands)
{
    PictureWindow fixture(320, 300, 200, 120);
    ASSERT_TRUE(fixture.Window());
    HWND child = CreateWindowExA(0, "Static", "child", WS_CHILD | WS_VISIBLE, 4, 4, 40, 20, g_hMainWnd, NULL,
                                 GetModuleHandleA(NULL), NULL);
    for (HWND w : {fixture.Window(), g_hMainWnd, child}) {
        SCOPED_TRACE(testing::Message() << "window " << w);
        RECT win = WindowRect(w), shown;
        ASSERT_TRUE(WindowFrameBounds(w, &shown));
        if (RunningOnWine()) {
            // Wine 8's dwmapi answers E_NOTIMPL to both questions: a classic desktop.
            EXPECT_TRUE(EqualRect(&shown, &win));
            EXPECT_FALSE(IsWindowCloaked(w));
        } else {
            RECT both;
            EXPECT_TRUE(IntersectRect(&both, &shown, &win) && EqualRect(&both, &shown)) << "inside the rectangle";
        }
    }
    RECT none;
    EXPECT_FALSE(WindowFrameBounds(NULL, &none));
    EXPECT_FALSE(IsWindowCloaked(NULL));
    DestroyWindow(child);

    if (!RunningOnWine()) return;
    // So an entire window is captured as ever.
    RECT win = WindowRect(fixture.Window());
    CaptureWindowArea(fixture.Window());
    EXPECT_TRUE(EqualRect(&g_rcCapture, &win));
    EXPECT_EQ(PictureDifference(BitmapPicture(g_hCaptureBitmap), ScreenPicture(win)), 0);
    g_Options.CaptureDestination = 8034;
    DeliverCapture();
}

// A pick driven from inside its own loop: the real pointer goes to the target, and once the
// display shows the ring around it the target's program gets busy and the pick is clicked.
struct PickDriver {
    static PickDriver* s_self;
    const PictureWindow* target;
    POINT at;
    RECT ring;
    unsigned long ringPixel;   // what the display shows at the ring's corner while it is there
    int stage;
    bool busy;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        PickDriver* d = s_self;
        if (!d) return;
        if (d->stage == 0) {
            StartXdotool("mousemove " + std::to_string(d->at.x) + " " + std::to_string(d->at.y));
            d->stage = 1;
            return;
        }
        HWND frame = FindWindowA("Vantix_PickFrame", NULL);
        RECT corner = {d->ring.left, d->ring.top, d->ring.left + 1, d->ring.top + 1};
        Picture shown = ScreenPicture(corner);
        if (d->stage != 1 || !frame || !IsWindowVisible(frame) || shown.width != 1 || shown.At(0, 0) != d->ringPixel) return;
        d->stage = 2;
        d->busy = d->target->BeBusy(150);
        PostMessageA(FindWindowA(LoadResString(IDS_PICK_CLASS), NULL), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }
    // A pick that never gets that far is cancelled.
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(NULL, id);
        PostMessageA(FindWindowA(LoadResString(IDS_PICK_CLASS), NULL), WM_CHAR, VK_ESCAPE, 0);
    }
};
PickDriver* PickDriver::s_self;

TEST_F(CapturePipeline, EntireWindowOfAPickedWindowHoldsNoRing)
{
    PictureWindow fixture(320, 300, 200, 120);
    ASSERT_TRUE(fixture.Window());
    RECT win = WindowRect(fixture.Window()), client = fixture.ClientScreenRect();
    const Picture window = ScreenPicture(win);
    PrepareXdotool();
    g_Options.CaptureDestination = IDC_CAP_CLIPBOARD;
    // The ring shows the inverse of what lies below it.
    PickDriver driver = {&fixture, POINT{(client.left + client.right) / 2, (client.top + client.bottom) / 2}, win,
                         ~window.At(0, 0) & 0xFFFFFF, 0, false};
    PickDriver::s_self = &driver;
    UINT_PTR tick = SetTimer(NULL, 0, 50, PickDriver::Tick), watchdog = SetTimer(NULL, 0, 20000, PickDriver::Watchdog);
    HWND picked = CapturePickedWindow(NULL, false, CaptureWindowArea);
    KillTimer(NULL, tick);
    KillTimer(NULL, watchdog);
    PickDriver::s_self = NULL;
    ASSERT_EQ(picked, fixture.Window()) << "the pick ended on the fixture";
    EXPECT_TRUE(driver.busy) << "its program was busy while the ring went";
    Picture got = ClipboardPicture();
    EXPECT_EQ(PictureDifference(got, window), 0) << "the window as it shows without the ring: "
                                                  << DescribeDifference(got, window);
}

TEST_F(CapturePipeline, WindowPartlyOffScreenIsCapturedWhereItLiesOnTheDisplay)
{
    PictureWindow fixture(-90, 400, 240, 160);
    ASSERT_TRUE(fixture.Window());
    RECT client = fixture.ClientScreenRect();
    ASSERT_LT(client.left, 0);
    CaptureClientArea(fixture.Window());
    EXPECT_TRUE(EqualRect(&g_rcCapture, &client)) << "the rectangle itself stays unclipped";
    Picture got = BitmapPicture(g_hCaptureBitmap);
    EXPECT_EQ(got.width, client.right);
    EXPECT_EQ(got.height, 160);
    EXPECT_EQ(PictureDifference(got, ExpectedPicture(-client.left, 0, client.right, 160)), 0);

    // The viewer's first size follows the unclipped rectangle.
    g_Options.CaptureDestination = IDC_CAP_NEWWINDOW;
    DeliverCapture();
    std::vector<HWND> viewers = ViewerWindows();
    ASSERT_EQ(viewers.size(), 1u);
    RECT vc;
    GetClientRect(viewers[0], &vc);
    EXPECT_EQ(vc.right, 240);
    EXPECT_EQ(vc.bottom, 160);
}

TEST_F(CapturePipeline, NothingIsCapturedOfAGoneWindowAnEmptyOrAnOffScreenRectangle)
{
    HWND gone;
    {
        PictureWindow fixture(300, 300, 100, 100);
        gone = fixture.Window();
        ASSERT_TRUE(gone);
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(gone); }, 5000));
    RECT before = {1, 2, 3, 4};
    g_rcCapture = before;
    CaptureClientArea(gone);
    CaptureWindowArea(gone);
    EXPECT_TRUE(EqualRect(&g_rcCapture, &before)) << "unchanged";
    EXPECT_FALSE(g_hCaptureBitmap);

    SetRect(&g_rcCapture, 50, 50, 50, 90);
    CaptureScreenRect();
    EXPECT_FALSE(g_hCaptureBitmap) << "empty";
    SetRect(&g_rcCapture, 2000, 50, 2100, 90);
    CaptureScreenRect();
    EXPECT_FALSE(g_hCaptureBitmap) << "entirely off the display";
    const int right = GetSystemMetrics(SM_CXSCREEN);
    SetRect(&g_rcCapture, right, 50, right + 40, 90);
    CaptureScreenRect();
    EXPECT_FALSE(g_hCaptureBitmap) << "just beside the display: no one-pixel stand-in either";
    g_Options.CaptureDestination = IDC_CAP_NEWWINDOW;
    DeliverCapture();
    EXPECT_TRUE(ViewerWindows().empty()) << "delivery of nothing opens nothing";
}

TEST_F(CapturePipeline, ClipboardGetsBothFormsAndAnotherProcessReadsTheSamePixels)
{
    PictureWindow fixture(300, 260, 180, 100);
    ASSERT_TRUE(fixture.Window());
    CaptureClientArea(fixture.Window());
    g_Options.CaptureDestination = IDC_CAP_CLIPBOARD;
    DeliverCapture();
    EXPECT_FALSE(g_hCaptureBitmap);
    EXPECT_FALSE(g_hCaptureDib);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_EQ(GetClipboardOwner(), g_hMainWnd) << "the hidden main window owns the capture";
    Picture expected = ExpectedPicture(0, 0, 180, 100);

    ASSERT_TRUE(OpenClipboard(NULL));
    Picture fromBitmap = BitmapPicture((HBITMAP)GetClipboardData(CF_BITMAP));
    CloseClipboard();
    EXPECT_EQ(PictureDifference(fromBitmap, expected), 0);

    std::string dump = TestFile("clipboard_dib.bin");
    DeleteFileA(dump.c_str());
    int rc = RunAndWait("\"" + ProgramFolder() + "\\capture_fixture.exe\" --dump-clipboard \"" + dump + "\"", 20000);
    ASSERT_EQ(rc, 0) << "the other process read CF_DIB";
    std::string block = ReadFileText(dump);
    EXPECT_EQ(PictureDifference(DibPicture(block.data(), block.size()), expected), 0);
    DeleteFileA(dump.c_str());
}

TEST_F(CapturePipeline, SmallCapturesGiveTheExactFileLayout)
{
    PictureWindow fixture(300, 260, 160, 120);
    ASSERT_TRUE(fixture.Window());
    RECT client = fixture.ClientScreenRect();
    struct {
        int w, h;
        DWORD imageSize, fileSize;
    } cases[] = {
        {2, 2, 16, 70},       // two rows of 6 pixel bytes and 2 padding bytes
        {3, 2, 24, 78},       // 9 bytes of pixels and 3 of padding
        {4, 1, 12, 66},       // no padding
    };
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        SetRect(&g_rcCapture, client.left + 5, client.top + 7, client.left + 5 + c.w, client.top + 7 + c.h);
        CaptureScreenRect();
        HGLOBAL dib = BitmapToDib(g_hCaptureBitmap);
        ASSERT_TRUE(dib);
        EXPECT_EQ(GlobalSize(dib), 40u + c.imageSize) << "a block without slack";
        std::string file = TestFile("cap_small.bmp");
        ASSERT_EQ(WriteDibFile(file.c_str(), dib), (DWORD)ERROR_SUCCESS);
        std::string bytes = ReadFileText(file);
        EXPECT_EQ(bytes.size(), c.fileSize);
        EXPECT_EQ(U32(bytes, 2), c.fileSize);
        EXPECT_EQ(U32(bytes, 10), 54u);
        EXPECT_EQ(U32(bytes, 34), c.imageSize);
        // The padding bytes are zero and the pixels are the picture's.
        DWORD row = DibRowBytes(24, c.w);
        for (int y = 0; y < c.h; y++)
            for (DWORD i = (DWORD)c.w * 3; i < row; i++) EXPECT_EQ(bytes[54 + y * row + i], 0) << "padding";
        EXPECT_EQ(PictureDifference(BmpPicture(bytes), ExpectedPicture(5, 7, c.w, c.h)), 0);

        // Slack in the block is written and counted in the file size.
        HGLOBAL longer = GlobalReAlloc(dib, GlobalSize(dib) + 6, GMEM_ZEROINIT);
        ASSERT_TRUE(longer);
        dib = longer;
        ASSERT_EQ(WriteDibFile(file.c_str(), dib), (DWORD)ERROR_SUCCESS);
        bytes = ReadFileText(file);
        EXPECT_EQ(bytes.size(), c.fileSize + 6);
        EXPECT_EQ(U32(bytes, 2), c.fileSize + 6);
        EXPECT_EQ(U32(bytes, 10), 54u);
        GlobalFree(dib);
        DeleteFileA(file.c_str());
        DeleteObject(g_hCaptureBitmap);
        g_hCaptureBitmap = NULL;
    }
}

TEST_F(CapturePipeline, DibToBitmapGivesBackThePicture)
{
    PictureWindow fixture(300, 260, 160, 120);
    ASSERT_TRUE(fixture.Window());
    RECT client = fixture.ClientScreenRect();
    SetRect(&g_rcCapture, client.left, client.top, client.left + 50, client.top + 30);
    CaptureScreenRect();
    HGLOBAL dib = BitmapToDib(g_hCaptureBitmap);
    HBITMAP back = DibToBitmap(dib);
    EXPECT_EQ(PictureDifference(BitmapPicture(back), ExpectedPicture(0, 0, 50, 30)), 0);
    EXPECT_EQ(BitmapToDib(NULL), (HGLOBAL)NULL);
    EXPECT_EQ(DibToBitmap(NULL), (HBITMAP)NULL);
    DeleteObject(back);
    GlobalFree(dib);
    DeleteObject(g_hCaptureBitmap);
    g_hCaptureBitmap = NULL;
}

// ---- Saving: the Save As dialog, long paths, and writes that fail

class SavingDib : public CapturePipeline {
protected:
    void SetUp() override
    {
        CapturePipeline::SetUp();
        HDC screen = GetDC(NULL);
        HBITMAP bm = CreateCompatibleBitmap(screen, 33, 21);
        ReleaseDC(NULL, screen);
        dib_ = BitmapToDib(bm);
        DeleteObject(bm);
        ASSERT_TRUE(dib_);
    }
    void TearDown() override
    {
        if (dib_) GlobalFree(dib_);
        CapturePipeline::TearDown();
    }
    std::string Expected() const
    {
        std::string bytes;
        SIZE_T size = GlobalSize(dib_);
        const BYTE* p = (const BYTE*)GlobalLock(dib_);
        BITMAPFILEHEADER fh;
        BuildBmpFileHeader(p, size, &fh);
        bytes.append((const char*)&fh, sizeof(fh));
        bytes.append((const char*)p, size);
        GlobalUnlock(dib_);
        return bytes;
    }
    HGLOBAL dib_ = NULL;
};

TEST_F(SavingDib, SavesThroughTheSaveAsDialogAndReplacesAnExistingFileAfterThePrompt)
{
    std::string file = TestFile("cap_saved.bmp");
    {
        HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD n;
        WriteFile(f, "old contents that are longer than nothing", 40, &n, NULL);
        CloseHandle(f);
    }
    SaveAsDriver saveAs(file);
    SaveDibToFile(NULL, dib_);
    EXPECT_EQ(saveAs.DialogsSeen(), 1);
    EXPECT_GE(saveAs.PromptsAnswered(), 1) << "the overwrite prompt came and was answered Yes";
    EXPECT_EQ(ReadFileText(file), Expected());
    EXPECT_STREQ(g_szBitmapFile, file.c_str());
    DeleteFileA(file.c_str());
}

TEST_F(SavingDib, CancelledDialogWritesNothingAndSaysNothing)
{
    std::string file = TestFile("cap_cancelled.bmp");
    DeleteFileA(file.c_str());
    MessageBoxAnswerer boxes(IDYES);
    SaveAsDriver saveAs("");
    SaveDibToFile(NULL, dib_);
    EXPECT_EQ(saveAs.DialogsSeen(), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(FileExists(file));
    EXPECT_STREQ(g_szBitmapFile, "") << "no name is proposed or kept";
}

TEST_F(SavingDib, PathsOfAnyLengthTheDialogReturnsAreWritten)
{
    // A path of 128 characters or more is where the old file functions give up.
    std::string dir = TestFile("long_folder_name_for_capture_files_abcdefghijklmnopqrstuvwxyz");
    std::string deeper = dir + "\\and_one_more_level_of_folders_to_pass_the_limit_0123456789";
    CreateDirectoryA(dir.c_str(), NULL);
    CreateDirectoryA(deeper.c_str(), NULL);
    std::string file = deeper + "\\a_capture_saved_under_a_long_path.bmp";
    ASSERT_GE(file.size(), 128u);
    ASSERT_LT(file.size(), (size_t)MAX_PATH);
    MessageBoxAnswerer boxes(IDYES);
    {
        SaveAsDriver saveAs(file);
        SaveDibToFile(NULL, dib_);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(ReadFileText(file), Expected());
    DeleteFileA(file.c_str());
    RemoveDirectoryA(deeper.c_str());
    RemoveDirectoryA(dir.c_str());
}

TEST_F(SavingDib, FailedOrShortWritesAreReportedAndLeaveAnExistingFileAsItWas)
{
    struct {
        const char* name;
        DWORD allowed;
        bool hard;
        bool existedBefore;
    } cases[] = {
        {"header fails", 0, true, false},
        {"pixels fail", 200, true, false},
        {"pixels come up short", 200, false, false},
        {"short header over an existing file", 5, false, true},
        {"pixels fail over an existing file", 200, true, true},
    };
    std::string file = TestFile("cap_fulldisk.bmp");
    const std::string old = "the picture saved before, which a failed save must keep";
    char want[260] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_DISK_FULL, 0, want,
                   sizeof(want), NULL);
    ASSERT_TRUE(StrayFiles().empty());
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(file.c_str());
        if (c.existedBefore) {
            HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            DWORD n;
            WriteFile(f, old.data(), (DWORD)old.size(), &n, NULL);
            CloseHandle(f);
        }
        FillDiskAfter(c.allowed, c.hard);
        g_pfnWriteFile = FullDiskWriteFile;
        MessageBoxAnswerer boxes(IDYES);
        {
            SaveAsDriver saveAs(file);
            SaveDibToFile(NULL, dib_);
        }
        g_pfnWriteFile = WriteFile;
        std::vector<BoxRecord> errors;
        for (const BoxRecord& b : boxes.Boxes())
            if (b.caption == "Error in Vantix") errors.push_back(b);
        ASSERT_EQ(errors.size(), 1u) << "a failed save is no success";
        EXPECT_EQ(errors[0].text, want);
        if (c.existedBefore)
            EXPECT_EQ(ReadFileText(file), old) << "the file saved before is kept whole";
        else
            EXPECT_FALSE(FileExists(file)) << "no truncated BMP is left behind";
        EXPECT_TRUE(StrayFiles().empty()) << "nothing partial beside it";
    }
    // The same direct call reports the code.
    FillDiskAfter(20, false);
    g_pfnWriteFile = FullDiskWriteFile;
    EXPECT_EQ(WriteDibFile(file.c_str(), dib_), (DWORD)ERROR_DISK_FULL);
    g_pfnWriteFile = WriteFile;
    EXPECT_EQ(ReadFileText(file), old);
    // A save that goes through replaces it.
    EXPECT_EQ(WriteDibFile(file.c_str(), dib_), (DWORD)ERROR_SUCCESS);
    EXPECT_EQ(ReadFileText(file), Expected());
    EXPECT_TRUE(StrayFiles().empty());
    DeleteFileA(file.c_str());
}

TEST_F(SavingDib, AMissingDibIsReportedBeforeAnyFileIsCreated)
{
    std::string file = TestFile("cap_nodib.bmp");
    DeleteFileA(file.c_str());
    MessageBoxAnswerer boxes(IDYES);
    {
        SaveAsDriver saveAs(file);
        SaveDibToFile(NULL, NULL);
        EXPECT_EQ(saveAs.DialogsSeen(), 1);
    }
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error in Vantix");
    EXPECT_FALSE(boxes.Boxes()[0].text.empty()) << "the system's words for what failed";
    EXPECT_FALSE(FileExists(file)) << "no empty file";

    // A file that cannot be created: the error box names the system's reason.
    std::string bad = TestFile("no_such_folder\\x.bmp");
    EXPECT_EQ(WriteDibFile(bad.c_str(), dib_), (DWORD)ERROR_PATH_NOT_FOUND);
}

// ---- No leaks

// The Save As dialog answered at once with one name.
static std::string s_saveName;
static BOOL WINAPI NameAtOnce(LPOPENFILENAMEA ofn)
{
    lstrcpynA(ofn->lpstrFile, s_saveName.c_str(), (int)ofn->nMaxFile);
    return TRUE;
}

TEST_F(CapturePipeline, TwoHundredCapturesToEachDestinationLeaveNoObjectOrMemoryBehind)
{
    PictureWindow fixture(300, 260, 160, 120);
    ASSERT_TRUE(fixture.Window());
    RECT client = fixture.ClientScreenRect();
    s_saveName = TestFile("cap_leak.bmp");
    g_pfnGetSaveFileName = NameAtOnce;
    MessageBoxAnswerer boxes(IDOK);
    auto capture = [&](UINT dest) {
        g_Options.CaptureDestination = dest;
        SetRect(&g_rcCapture, client.left, client.top, client.left + 64, client.top + 64);
        CaptureScreenRect();
        DeliverCapture();
        if (dest != IDC_CAP_NEWWINDOW) return;
        // Opened, drawn, copied from and closed.
        for (HWND v : ViewerWindows()) {
            UpdateWindow(v);
            SendMessageA(v, WM_COMMAND, IDC_VIEW_COPY, 0);
            SendMessageA(v, WM_COMMAND, IDC_VIEW_CLOSE, 0);
        }
    };
    struct Counts {
        long gdi, user, windows, heap;
    };
    auto count = [] { return Counts{CountGdiObjects(), CountUserObjects(), CountOwnWindows(), CountHeapBlocks()}; };
    struct {
        UINT id;
        const char* name;
    } destinations[] = {{IDC_CAP_NEWWINDOW, "viewer"}, {IDC_CAP_CLIPBOARD, "clipboard"}, {IDC_CAP_FILE, "file"}};
    for (auto& d : destinations) {
        SCOPED_TRACE(d.name);
        // Whatever a first capture sets up once (the viewer's class, the clipboard's owner) is
        // there before the count.
        capture(d.id);
        capture(d.id);
        Counts before = count();
        for (int i = 0; i < 200; i++) capture(d.id);
        Counts after = count();
        printf("200 captures to the %s: GDI objects %ld -> %ld, USER objects %ld -> %ld, windows %ld -> %ld, "
               "heap blocks %ld -> %ld\n", d.name, before.gdi, after.gdi, before.user, after.user, before.windows,
               after.windows, before.heap, after.heap);
        EXPECT_GT(before.gdi, 0);
        EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
        EXPECT_EQ(after.user, before.user) << "USER objects";
        EXPECT_EQ(after.windows, before.windows) << "windows";
        EXPECT_GE(before.heap, 0) << "the heap can be walked";
        EXPECT_EQ(after.heap, before.heap) << "heap blocks";
    }
    g_pfnGetSaveFileName = GetSaveFileNameA;
    EXPECT_TRUE(boxes.Boxes().empty()) << "no capture failed";
    EXPECT_EQ(PictureDifference(BmpPicture(ReadFileText(s_saveName)), ExpectedPicture(0, 0, 64, 64)), 0);
    DeleteFileA(s_saveName.c_str());
}

}  // namespace
