// Captures as PNG: saved through the Save As dialog (its stand-in and the real one) and placed on
// the clipboard, checked against the BMP of the same capture with ImageMagick and with another
// process reading the clipboard; written with the same care as BMP files; and only BMP where
// the platform cannot encode PNG.
#include "capture/capture_test_base.h"
#include "capture/png.h"

#include <string.h>
#include <string>
#include <vector>

namespace {

// The Save As dialog stood in for: it answers with a name and a filter, and keeps what it was
// offered.
struct SaveAnswer {
    std::string name;
    DWORD filterIndex = 1;
    std::vector<std::string> offered;
    DWORD initialIndex = 0;
    int calls = 0;
};
SaveAnswer s_answer;

BOOL WINAPI AnswerSaveAs(LPOPENFILENAMEA ofn)
{
    s_answer.calls++;
    s_answer.offered.clear();
    for (const char* p = ofn->lpstrFilter; p && *p; p += strlen(p) + 1) s_answer.offered.push_back(p);
    s_answer.initialIndex = ofn->nFilterIndex;
    lstrcpynA(ofn->lpstrFile, s_answer.name.c_str(), (int)ofn->nMaxFile);
    ofn->nFilterIndex = s_answer.filterIndex;
    return TRUE;
}

bool NoPngHere()
{
    return false;
}

class CapturePng : public CaptureTest {
protected:
    void TearDown() override
    {
        g_pfnPngAvailable = PngEncoderAvailable;
        CaptureTest::TearDown();
    }
    // The fixture's client area captured, as a DIB of the caller's.
    static HGLOBAL CaptureFixture(const PictureWindow& fixture)
    {
        CaptureClientArea(fixture.Window());
        HGLOBAL dib = BitmapToDib(g_hCaptureBitmap);
        DeleteObject(g_hCaptureBitmap);
        g_hCaptureBitmap = NULL;
        return dib;
    }
    static void SaveAs(HGLOBAL dib, const std::string& name, DWORD filterIndex)
    {
        s_answer.name = name;
        s_answer.filterIndex = filterIndex;
        g_pfnGetSaveFileName = AnswerSaveAs;
        SaveDibToFile(NULL, dib);
    }
    static std::string Magic(const std::string& file) { return ReadFileText(file).substr(0, 8); }
};

const char kPngMagic[] = "\x89PNG\r\n\x1a\n";

TEST_F(CapturePng, APngHoldsExactlyThePixelsOfTheBmpOfTheSameCapture)
{
    PictureWindow fixture(300, 260, 203, 117);   // an odd width: rows of the BMP are padded
    ASSERT_TRUE(fixture.Window());
    HGLOBAL dib = CaptureFixture(fixture);
    ASSERT_TRUE(dib);
    MessageBoxAnswerer boxes(IDOK);

    std::string bmp = TestFile("cap_same.bmp");
    SaveAs(dib, bmp, 1);
    EXPECT_EQ((std::vector<std::string>{"Bitmap (*.bmp)", "*.bmp", "PNG image (*.png)", "*.png", "All files (*.*)",
                                        "*.*"}),
              s_answer.offered);
    EXPECT_EQ(1u, s_answer.initialIndex) << "Bitmap first, as before";
    ASSERT_EQ("BM", Magic(bmp).substr(0, 2));

    // The PNG type chosen in the dialog, and a name typed with .png under the bitmap type.
    struct {
        const char* file;
        DWORD filter;
    } cases[] = {{"cap_same_chosen", 2}, {"cap_same_typed.png", 1}, {"cap_same_all.PNG", 3}};
    Picture fromBmp = BmpPicture(ReadFileText(bmp));
    EXPECT_EQ(0, PictureDifference(fromBmp, ExpectedPicture(0, 0, 203, 117)));
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string png = TestFile(c.file);
        DeleteFileA(png.c_str());
        SaveAs(dib, png, c.filter);
        ASSERT_TRUE(FileExists(png)) << "written under the name given";
        EXPECT_EQ(std::string(kPngMagic, 8), Magic(png));
        EXPECT_EQ("203 117 PNG 8", IdentifyImage(png)) << "ImageMagick reads it as PNG";
        Picture fromPng;
        ASSERT_TRUE(DecodeWithImageMagick(png, &fromPng));
        EXPECT_EQ(0, PictureDifference(fromPng, fromBmp)) << DescribeDifference(fromPng, fromBmp);
        EXPECT_LT(ReadFileText(png).size(), ReadFileText(bmp).size()) << "compressed";
        DeleteFileA(png.c_str());
    }
    EXPECT_TRUE(boxes.Boxes().empty()) << "no save failed";
    DeleteFileA(bmp.c_str());
    GlobalFree(dib);
}

TEST_F(CapturePng, TheClipboardOffersPngThatAnotherProcessDecodesToTheSamePixels)
{
    PictureWindow fixture(300, 260, 150, 90);
    ASSERT_TRUE(fixture.Window());
    UINT png = RegisterClipboardFormatA("PNG");
    ASSERT_TRUE(png);
    Picture expected = ExpectedPicture(0, 0, 150, 90);

    // From the Clipboard destination...
    CaptureClientArea(fixture.Window());
    g_Options.CaptureDestination = IDC_CAP_CLIPBOARD;
    DeliverCapture();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_TRUE(IsClipboardFormatAvailable(png)) << "PNG beside the bitmap forms";
    std::string dump = TestFile("clipboard_png.bin");
    ASSERT_TRUE(DumpClipboardFormat("PNG", dump)) << "the other process found the PNG data";
    std::string bytes = ReadFileText(dump);
    EXPECT_EQ(std::string(kPngMagic, 8), bytes.substr(0, 8));
    // A reader that takes the whole block finds the file's end at the block's end.
    EXPECT_EQ(0, bytes.compare(bytes.size() - 8, 8, std::string("IEND\xae\x42\x60\x82", 8)));
    Picture fromPng;
    ASSERT_TRUE(DecodeWithImageMagick(dump, &fromPng));
    EXPECT_EQ(0, PictureDifference(fromPng, expected)) << DescribeDifference(fromPng, expected);
    ASSERT_TRUE(DumpClipboardFormat("CF_DIB_NONE", dump) == false) << "an unknown format is reported missing";

    // ...and from a viewer's Copy to clipboard.
    if (OpenClipboard(NULL)) {
        EmptyClipboard();
        CloseClipboard();
    }
    CaptureClientArea(fixture.Window());
    g_Options.CaptureDestination = IDC_CAP_NEWWINDOW;
    DeliverCapture();
    ASSERT_EQ(1u, ViewerWindows().size());
    SendMessageA(ViewerWindows()[0], WM_COMMAND, IDC_VIEW_COPY, 0);
    EXPECT_TRUE(IsClipboardFormatAvailable(png));
    ASSERT_TRUE(DumpClipboardFormat("PNG", dump));
    ASSERT_TRUE(DecodeWithImageMagick(dump, &fromPng));
    EXPECT_EQ(0, PictureDifference(fromPng, expected)) << DescribeDifference(fromPng, expected);
    DeleteFileA(dump.c_str());
}

TEST_F(CapturePng, WithoutAnEncoderOnlyBitmapIsOfferedAndTheClipboardHasNoPng)
{
    g_pfnPngAvailable = NoPngHere;
    PictureWindow fixture(300, 260, 64, 48);
    ASSERT_TRUE(fixture.Window());
    HGLOBAL dib = CaptureFixture(fixture);
    ASSERT_TRUE(dib);
    std::string file = TestFile("cap_nopng.png");
    DeleteFileA(file.c_str());
    MessageBoxAnswerer boxes(IDOK);
    SaveAs(dib, file, 1);
    EXPECT_EQ((std::vector<std::string>{"Bitmap (*.bmp)", "*.bmp", "All files (*.*)", "*.*"}), s_answer.offered);
    EXPECT_EQ("BM", Magic(file).substr(0, 2)) << "a bitmap, whatever the name says";
    EXPECT_TRUE(boxes.Boxes().empty());
    DeleteFileA(file.c_str());

    HBITMAP bitmap = DibToBitmap(dib);
    CopyCaptureToClipboard(&bitmap, &dib);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatA("PNG")));
    if (bitmap) DeleteObject(bitmap);
    if (dib) GlobalFree(dib);
}

TEST_F(CapturePng, AFailedPngSaveIsReportedAndLeavesTheFileThatWasThere)
{
    PictureWindow fixture(300, 260, 120, 80);
    ASSERT_TRUE(fixture.Window());
    HGLOBAL dib = CaptureFixture(fixture);
    ASSERT_TRUE(dib);
    std::string file = TestFile("cap_full.png");
    const std::string old = "the picture saved before";
    for (DWORD room : {0u, 20u, 400u}) {
        SCOPED_TRACE(room);
        HANDLE f = CreateFileA(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        DWORD n;
        WriteFile(f, old.data(), (DWORD)old.size(), &n, NULL);
        CloseHandle(f);
        FillDiskAfter(room, true);
        g_pfnWriteFile = FullDiskWriteFile;
        MessageBoxAnswerer boxes(IDOK);
        SaveAs(dib, file, 2);
        g_pfnWriteFile = WriteFile;
        ASSERT_EQ(1u, boxes.Boxes().size()) << "the failure is reported";
        EXPECT_EQ("Error in Vantix", boxes.Boxes()[0].caption);
        EXPECT_NE("", boxes.Boxes()[0].text) << "with the system's words for it";
        EXPECT_EQ(old, ReadFileText(file)) << "the file that was there is untouched";
        EXPECT_TRUE(StrayFiles().empty()) << "nothing half written is left beside it";
    }
    // With room, the same save replaces it.
    SaveAs(dib, file, 2);
    EXPECT_EQ("120 80 PNG 8", IdentifyImage(file));
    DeleteFileA(file.c_str());
    GlobalFree(dib);
}

TEST_F(CapturePng, TheRealSaveAsDialogWritesPngForItsTypeAndForATypedName)
{
    PictureWindow fixture(300, 260, 128, 64);
    ASSERT_TRUE(fixture.Window());
    HGLOBAL dib = CaptureFixture(fixture);
    ASSERT_TRUE(dib);
    Picture expected = ExpectedPicture(0, 0, 128, 64);
    MessageBoxAnswerer boxes(IDOK);

    // A name typed with .png, the dialog's type left at Bitmap.
    std::string typed = TestFile("cap_real_typed.png");
    DeleteFileA(typed.c_str());
    {
        SaveAsDriver saveAs(typed);
        SaveDibToFile(NULL, dib);
        EXPECT_EQ(1, saveAs.DialogsSeen());
    }
    EXPECT_EQ("128 64 PNG 8", IdentifyImage(typed));
    Picture got;
    ASSERT_TRUE(DecodeWithImageMagick(typed, &got));
    EXPECT_EQ(0, PictureDifference(got, expected));

    // The PNG type chosen in the dialog's list and a name without extension: the dialog adds
    // the type's extension.
    std::string bare = TestFile("cap_real_chosen");
    for (const char* ext : {"", ".png", ".bmp", ".BMP"}) DeleteFileA((bare + ext).c_str());
    {
        SaveAsDriver saveAs(bare, [](HWND dlg) {
            // The dialog's list of types, as a choice from it ends (Wine's dialog takes the
            // end of the choice, Windows' the change).
            HWND types = GetDlgItem(dlg, 0x470);
            SendMessageA(types, CB_SETCURSEL, 1, 0);
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), (LPARAM)types);
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE), (LPARAM)types);
        });
        SaveDibToFile(NULL, dib);
        EXPECT_EQ(1, saveAs.DialogsSeen());
    }
    std::string written = FileExists(bare + ".png") ? bare + ".png" : bare;
    EXPECT_EQ(bare + ".png", written) << "the type's extension was added";
    EXPECT_EQ("128 64 PNG 8", IdentifyImage(written));
    EXPECT_FALSE(FileExists(bare + ".bmp")) << "not saved as a bitmap";
    EXPECT_TRUE(boxes.Boxes().empty());
    DeleteFileA(typed.c_str());
    for (const char* ext : {"", ".png", ".bmp"}) DeleteFileA((bare + ext).c_str());
    GlobalFree(dib);
}

}  // namespace
