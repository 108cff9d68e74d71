// The capture viewer: its size, zoom, menu commands and its place among the information boxes.
#include "capture/capture_test_base.h"

#include <string>

namespace {

class CaptureViewer : public CaptureTest {
protected:
    // A viewer of the fixture's picture (w x h from its top-left corner), moved to a known
    // place so that the display shows all of it.
    HWND OpenOnPicture(const PictureWindow& fixture, int w, int h)
    {
        RECT client = fixture.ClientScreenRect();
        SetRect(&g_rcCapture, client.left, client.top, client.left + w, client.top + h);
        CaptureScreenRect();
        g_Options.CaptureDestination = IDC_CAP_NEWWINDOW;
        DeliverCapture();
        std::vector<HWND> v = ViewerWindows();
        if (v.size() != 1) return NULL;
        SetWindowPos(v[0], HWND_TOP, 560, 80, 0, 0, SWP_NOSIZE);
        UpdateWindow(v[0]);
        return v[0];
    }
    // What the display shows in rc once pred holds for it (pumping meanwhile), or after 5 s.
    template <class Pred> static Picture ShownOnce(const RECT& rc, Pred pred)
    {
        Picture shown;
        PumpUntil([&] { return pred(shown = ScreenPicture(rc)); }, 5000);
        return shown;
    }
    static unsigned long WindowColour()
    {
        const DWORD c = GetSysColor(COLOR_WINDOW);
        return ((unsigned long)GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    static RECT ClientOnScreen(HWND v)
    {
        RECT rc;
        GetClientRect(v, &rc);
        MapWindowPoints(v, HWND_DESKTOP, (POINT*)&rc, 2);
        return rc;
    }
    static void Zoom(HWND v, UINT id)
    {
        SendMessageA(v, WM_COMMAND, id, 0);
        UpdateWindow(v);
    }
    // The picture drawn at a factor: what the display should show in the top-left w x h.
    static Picture Zoomed(const Picture& p, int factor, int w, int h)
    {
        Picture z;
        z.width = w;
        z.height = h;
        z.pixels.resize((size_t)w * h);
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) z.pixels[(size_t)y * w + x] = p.At(x / factor, y / factor);
        return z;
    }
    static HGLOBAL SolidDib(int w, int h)
    {
        HDC screen = GetDC(NULL);
        HBITMAP bm = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(NULL, screen);
        HGLOBAL dib = BitmapToDib(bm);
        DeleteObject(bm);
        return dib;
    }
};

TEST_F(CaptureViewer, OpensAtTheCaptureSizeClampedBetweenSmallestWindowAndFullScreen)
{
    const int cxFull = GetSystemMetrics(SM_CXFULLSCREEN), cyFull = GetSystemMetrics(SM_CYFULLSCREEN);
    const int cxMin = GetSystemMetrics(SM_CXMIN), cyMin = GetSystemMetrics(SM_CYMIN);
    struct {
        int w, h;
    } cases[] = {{200, 150}, {16, 16}, {3000, 2500}, {cxMin + 40, cyMin + 3}};
    for (auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        SetRect(&g_rcCapture, -20, -30, -20 + c.w, -30 + c.h);
        g_hCaptureDib = SolidDib(32, 32);
        HGLOBAL dib = g_hCaptureDib;
        OpenCaptureViewer();
        EXPECT_FALSE(g_hCaptureDib) << "the viewer takes the DIB over";
        std::vector<HWND> v = ViewerWindows();
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(GlobalSize(dib), 40u + 32 * 32 * 3) << "and keeps it alive";
        RECT rc, win = WindowRect(v[0]);
        GetClientRect(v[0], &rc);
        SIZE want = ViewerClientSize(c.w, c.h, cxFull, cyFull, cxMin, cyMin);
        EXPECT_EQ(rc.right, want.cx);
        if (win.bottom - win.top < GetSystemMetrics(SM_CYMAXTRACK)) {
            EXPECT_EQ(rc.bottom, want.cy);
        } else {
            // The system holds a window to its largest tracking size, which may leave less.
            EXPECT_LE(rc.bottom, want.cy);
        }
        char title[64];
        GetWindowTextA(v[0], title, sizeof(title));
        EXPECT_STREQ(title, "Capture Window - Vantix");
        EXPECT_EQ((DWORD)GetWindowLongPtrA(v[0], GWL_STYLE) & 0x10CF0000u, 0x10CF0000u);
        EXPECT_FALSE(GetWindow(v[0], GW_OWNER)) << "unowned";
        DestroyWindow(v[0]);
    }
}

TEST_F(CaptureViewer, ANarrowTallCaptureNeverGrowsPastTheScreen)
{
    SetRect(&g_rcCapture, 0, 0, 10, 5000);
    g_hCaptureDib = SolidDib(10, 40);
    OpenCaptureViewer();
    std::vector<HWND> v = ViewerWindows();
    ASSERT_EQ(v.size(), 1u);
    RECT rc, win = WindowRect(v[0]);
    GetClientRect(v[0], &rc);
    EXPECT_LE(rc.bottom, GetSystemMetrics(SM_CYFULLSCREEN));
    EXPECT_LE(win.bottom - win.top, GetSystemMetrics(SM_CYMAXTRACK));
}

TEST_F(CaptureViewer, ClassMenuAndIconAreTheViewers)
{
    g_hCaptureDib = SolidDib(8, 8);
    SetRect(&g_rcCapture, 0, 0, 8, 8);
    OpenCaptureViewer();
    std::vector<HWND> v = ViewerWindows();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_TRUE(GetClassLongPtrA(v[0], GCLP_HICON));
    EXPECT_TRUE(GetClassLongPtrA(v[0], GCLP_HICONSM));
    EXPECT_EQ(GetClassLongPtrA(v[0], GCL_CBWNDEXTRA), (LONG_PTR)sizeof(void*));
    HMENU menu = GetMenu(v[0]);
    ASSERT_TRUE(menu);
    char text[64];
    const char* tops[] = {"&File", "&Scale", "&Help"};
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    for (int i = 0; i < 3; i++) {
        GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, tops[i]);
    }
    struct {
        UINT id;
        const char* text;
    } items[] = {
        {IDC_VIEW_SAVE, "&Save..."}, {IDC_VIEW_COPY, "&Copy to clipboard"}, {IDC_VIEW_CLOSE, "C&lose"},
        {IDC_VIEW_SCALE1, "x&1"},   {IDC_VIEW_SCALE2, "x&2"},              {IDC_VIEW_SCALE4, "x&4"},
        {IDC_VIEW_SCALE8, "x&8"},   {IDC_VIEW_SCALE16, "x1&6"},            {IDC_VIEW_SCALE32, "x&32"},
        {IDC_VIEW_HELP, "&Help"},
    };
    for (auto& it : items) {
        GetMenuStringA(menu, it.id, text, sizeof(text), MF_BYCOMMAND);
        EXPECT_STREQ(text, it.text) << it.id;
        EXPECT_EQ(GetMenuState(menu, it.id, MF_BYCOMMAND) & MF_CHECKED, 0u) << "no check marks";
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 4) << "with one separator";
    // Help is answered (the help file is another matter) and leaves the viewer as it was.
    EXPECT_EQ(SendMessageA(v[0], WM_COMMAND, IDC_VIEW_HELP, 0), 0);
    EXPECT_TRUE(IsWindow(v[0]));
    // The close box and the menu both close it.
    SendMessageA(v[0], WM_COMMAND, IDC_VIEW_CLOSE, 0);
    EXPECT_FALSE(IsWindow(v[0]));
}

TEST_F(CaptureViewer, ZoomsFromTheTopLeftCorner)
{
    PictureWindow fixture(120, 200, 160, 120);
    ASSERT_TRUE(fixture.Window());
    MessageBoxAnswerer boxes(IDOK);
    HWND v = OpenOnPicture(fixture, 48, 36);
    ASSERT_TRUE(v);
    SetWindowPos(v, NULL, 0, 0, 420, 330, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(v);
    RECT client = ClientOnScreen(v);
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    Picture picture = ExpectedPicture(0, 0, 48, 36);
    const unsigned long bg = WindowColour();

    struct {
        UINT id;
        int factor;
    } zooms[] = {{IDC_VIEW_SCALE1, 1}, {IDC_VIEW_SCALE4, 4}, {IDC_VIEW_SCALE2, 2}, {IDC_VIEW_SCALE32, 32},
                 {IDC_VIEW_SCALE16, 16}, {IDC_VIEW_SCALE8, 8}};
    for (auto& z : zooms) {
        SCOPED_TRACE(z.factor);
        Zoom(v, z.id);
        int w = 48 * z.factor < cw ? 48 * z.factor : cw, h = 36 * z.factor < ch ? 36 * z.factor : ch;
        Picture zoomed = Zoomed(picture, z.factor, w, h);
        Picture shown = ShownOnce(client, [&](const Picture& p) {
            return p.width == cw && PictureDifference(Crop(p, 0, 0, w, h), zoomed) == 0;
        });
        ASSERT_EQ(shown.width, cw);
        EXPECT_EQ(PictureDifference(Crop(shown, 0, 0, w, h), zoomed), 0);
        if (w < cw) {
            EXPECT_EQ(shown.At(w, 0), bg) << "background beside the picture";
        }
        if (h < ch) {
            EXPECT_EQ(shown.At(0, h), bg) << "background below the picture";
        }
        RECT now;
        GetClientRect(v, &now);
        EXPECT_EQ(now.right, cw) << "zooming leaves the window's size alone";
        if (z.factor == 4) SaveScreenShot("capture_viewer_x4");
    }
    EXPECT_TRUE(boxes.Boxes().empty()) << "no drawing failed";
}

TEST_F(CaptureViewer, SaveWritesTheSameFileAsTheFileDestination)
{
    PictureWindow fixture(120, 200, 160, 120);
    ASSERT_TRUE(fixture.Window());
    std::string fromPage = TestFile("cap_from_page.bmp"), fromViewer = TestFile("cap_from_viewer.bmp");
    DeleteFileA(fromPage.c_str());
    DeleteFileA(fromViewer.c_str());
    CaptureClientArea(fixture.Window());
    g_Options.CaptureDestination = IDC_CAP_FILE;
    {
        SaveAsDriver saveAs(fromPage);
        DeliverCapture();
    }
    CaptureClientArea(fixture.Window());
    g_Options.CaptureDestination = IDC_CAP_NEWWINDOW;
    DeliverCapture();
    std::vector<HWND> v = ViewerWindows();
    ASSERT_EQ(v.size(), 1u);
    {
        SaveAsDriver saveAs(fromViewer);
        SendMessageA(v[0], WM_COMMAND, IDC_VIEW_SAVE, 0);
        EXPECT_EQ(saveAs.DialogsSeen(), 1);
        EXPECT_EQ(saveAs.LastOwner(), v[0]) << "the viewer owns its Save As dialog";
    }
    std::string a = ReadFileText(fromPage), b = ReadFileText(fromViewer);
    EXPECT_GT(a.size(), 54u);
    EXPECT_TRUE(a == b) << "byte for byte";
    EXPECT_TRUE(IsWindow(v[0])) << "the viewer keeps its picture after saving";
    DeleteFileA(fromPage.c_str());
    DeleteFileA(fromViewer.c_str());
}

TEST_F(CaptureViewer, CopiesTwiceAndKeepsItsPicture)
{
    PictureWindow fixture(120, 200, 160, 120);
    ASSERT_TRUE(fixture.Window());
    HWND v = OpenOnPicture(fixture, 60, 40);
    ASSERT_TRUE(v);
    Picture expected = ExpectedPicture(0, 0, 60, 40);
    for (int round = 0; round < 2; round++) {
        SCOPED_TRACE(round);
        OpenClipboard(NULL);
        EmptyClipboard();
        CloseClipboard();
        SendMessageA(v, WM_COMMAND, IDC_VIEW_COPY, 0);
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
        EXPECT_EQ(PictureDifference(ClipboardPicture(), expected), 0);
        EXPECT_FALSE(g_hCaptureBitmap);
        EXPECT_FALSE(g_hCaptureDib);
    }
    InvalidateRect(v, NULL, TRUE);
    UpdateWindow(v);
    RECT client = ClientOnScreen(v);
    client.right = client.left + 60;
    client.bottom = client.top + 40;
    Picture shown = ShownOnce(client, [&](const Picture& p) { return PictureDifference(p, expected) == 0; });
    EXPECT_EQ(PictureDifference(shown, expected), 0) << "still shown";

    // Copied while a delivery waits in its Save As dialog: that delivery's capture is untouched.
    HDC screen = GetDC(NULL);
    HBITMAP delivering = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(NULL, screen);
    HGLOBAL deliveringDib = GlobalAlloc(DIB_BLOCK_FLAGS, 64);
    g_hCaptureBitmap = delivering;
    g_hCaptureDib = deliveringDib;
    SendMessageA(v, WM_COMMAND, IDC_VIEW_COPY, 0);
    EXPECT_EQ(g_hCaptureBitmap, delivering);
    EXPECT_EQ(g_hCaptureDib, deliveringDib);
    EXPECT_EQ(GetObjectType(delivering), (DWORD)OBJ_BITMAP) << "not deleted";
    EXPECT_EQ(GlobalSize(deliveringDib), 64u) << "not freed";
    EXPECT_EQ(PictureDifference(ClipboardPicture(), expected), 0);
    DeleteObject(delivering);
    GlobalFree(deliveringDib);
    g_hCaptureBitmap = NULL;
    g_hCaptureDib = NULL;
}

TEST_F(CaptureViewer, ViewerWithoutAPictureShowsItsBackgroundAndCopiesNothing)
{
    SetRect(&g_rcCapture, 0, 0, 120, 80);
    OpenCaptureViewer();
    std::vector<HWND> v = ViewerWindows();
    ASSERT_EQ(v.size(), 1u);
    MessageBoxAnswerer boxes(IDOK);
    OpenClipboard(NULL);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
    CloseClipboard();
    SendMessageA(v[0], WM_COMMAND, IDC_VIEW_COPY, 0);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT)) << "the clipboard is left alone";

    // Over a picture, so that a viewer that draws nothing shows something else.
    PictureWindow fixture(540, 60, 300, 200);
    ASSERT_TRUE(fixture.Window());
    SetWindowPos(v[0], HWND_TOP, 560, 80, 0, 0, SWP_NOSIZE);
    InvalidateRect(v[0], NULL, TRUE);
    UpdateWindow(v[0]);
    RECT client = ClientOnScreen(v[0]);
    Picture background;
    background.width = client.right - client.left;
    background.height = client.bottom - client.top;
    background.pixels.assign((size_t)background.width * background.height, WindowColour());
    Picture shown = ShownOnce(client, [&](const Picture& p) { return PictureDifference(p, background) == 0; });
    EXPECT_EQ(PictureDifference(shown, background), 0) << "the window colour throughout: "
                                                        << DescribeDifference(shown, background);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CaptureViewer, SeveralViewersLiveSideBySideAndCloseWithTheInformationBoxes)
{
    // Clear of the main dialog, which opens at its template's place.
    PictureWindow fixture(760, 560, 160, 120);
    ASSERT_TRUE(fixture.Window());
    OpenMain();
    RECT client = fixture.ClientScreenRect();
    for (int i = 0; i < 3; i++) {
        SetRect(&g_rcCapture, client.left + i * 10, client.top, client.left + i * 10 + 30, client.top + 20);
        CaptureScreenRect();
        g_Options.CaptureDestination = IDC_CAP_NEWWINDOW;
        DeliverCapture();
    }
    std::vector<HWND> v = ViewerWindows();
    ASSERT_EQ(v.size(), 3u);
    // Each shows its own picture.
    for (HWND h : v) {
        SetWindowPos(h, HWND_TOP, 600, 100, 0, 0, SWP_NOSIZE);
        UpdateWindow(h);
        RECT shownAt = ClientOnScreen(h);
        shownAt.right = shownAt.left + 30;
        shownAt.bottom = shownAt.top + 20;
        auto matches = [](const Picture& p) {
            int n = 0;
            for (int i = 0; i < 3; i++) n += PictureDifference(p, ExpectedPicture(i * 10, 0, 30, 20)) == 0;
            return n;
        };
        EXPECT_EQ(matches(ShownOnce(shownAt, [&](const Picture& p) { return matches(p) > 0; })), 1);
    }
    SendMessageA(v[1], WM_CLOSE, 0, 0);
    EXPECT_EQ(ViewerWindows().size(), 2u) << "closing one leaves the others";
    CloseInfoBoxes();
    EXPECT_TRUE(ViewerWindows().empty());
    EXPECT_TRUE(IsWindow(g_hMainDlg)) << "the main dialog stays";
}

TEST_F(CaptureViewer, AFailedDrawingIsReportedOnceNotAtEveryPaint)
{
    // A block whose header no drawing function accepts.
    HGLOBAL bad = GlobalAlloc(DIB_BLOCK_FLAGS, 40 + 64);
    BITMAPINFOHEADER* bi = (BITMAPINFOHEADER*)GlobalLock(bad);
    bi->biSize = 40;
    bi->biWidth = 4;
    bi->biHeight = 4;
    bi->biPlanes = 1;
    bi->biBitCount = 7;
    GlobalUnlock(bad);
    MessageBoxAnswerer boxes(IDOK);
    SetRect(&g_rcCapture, 0, 0, 4, 4);
    g_hCaptureDib = bad;
    OpenCaptureViewer();
    std::vector<HWND> v = ViewerWindows();
    ASSERT_EQ(v.size(), 1u);
    UpdateWindow(v[0]);
    ASSERT_EQ(boxes.Boxes().size(), 1u) << "the failure is shown";
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error in Vantix");
    for (int i = 0; i < 3; i++) {
        InvalidateRect(v[0], NULL, TRUE);
        UpdateWindow(v[0]);
    }
    EXPECT_EQ(boxes.Boxes().size(), 1u) << "each dismissed box would otherwise bring the next";
}

}  // namespace
