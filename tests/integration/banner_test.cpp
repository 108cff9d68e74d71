// The start-up banner. It is shown once per process, so ctest runs this program once per test
// (vantix_banner_start, vantix_banner_click), each in a fresh process.
#include "integration/dialog_fixture.h"
#include "app/banner.h"
#include "support/pictures.h"

#include <string>
#include <string.h>

namespace {

class BannerTest : public DialogTest {};

// ---- The banner at start

struct StartSeen {
    std::vector<std::string> events;
    bool bannerShownDuringDialog = false;
    RECT bannerRect = {0, 0, 0, 0};
    LONG_PTR bannerStyle = 0, bannerExStyle = 0;
};
StartSeen s_start;
HHOOK s_startHook;

LRESULT CALLBACK WatchStart(int code, WPARAM wParam, LPARAM lParam)
{
    HWND h = (HWND)wParam;
    if (code == HCBT_CREATEWND || code == HCBT_DESTROYWND) {
        std::string cls = ClassOf(h);
        bool banner = cls == BANNER_CLASS;
        bool mainDlg = code == HCBT_CREATEWND && cls == "#32770" &&
                       ((CBT_CREATEWNDA*)lParam)->lpcs->hwndParent == NULL;
        if (banner || mainDlg)
            s_start.events.push_back(std::string(code == HCBT_CREATEWND ? "create " : "destroy ") +
                                     (banner ? "banner" : "dialog"));
        if (mainDlg) {
            HWND b = BannerWindow();
            s_start.bannerShownDuringDialog = b && IsWindowVisible(b);
            if (b) {
                GetWindowRect(b, &s_start.bannerRect);
                s_start.bannerStyle = GetWindowLongPtrA(b, GWL_STYLE);
                s_start.bannerExStyle = GetWindowLongPtrA(b, GWL_EXSTYLE);
            }
        }
    }
    return CallNextHookEx(s_startHook, code, wParam, lParam);
}

TEST_F(BannerTest, ShowsCentredWhileTheDialogIsBuiltButNotInTheTray)
{
    s_start = StartSeen();
    s_startHook = SetWindowsHookExA(WH_CBT, WatchStart, NULL, GetCurrentThreadId());
    OpenStartWindows(true);
    EXPECT_TRUE(s_start.events.empty()) << "started in the tray: neither banner nor dialog";
    OpenStartWindows(false);
    UnhookWindowsHookEx(s_startHook);

    std::vector<std::string> expected = {"create banner", "create dialog", "destroy banner"};
    EXPECT_EQ(s_start.events, expected);
    EXPECT_TRUE(s_start.bannerShownDuringDialog) << "shown before the dialog's creation began";
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    // The 256 x 128 bitmap, stretched to the same size to the eye at the screen's DPI.
    HDC screen = GetDC(NULL);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(NULL, screen);
    int w = MulDiv(256, dpi, 96), h = MulDiv(128, dpi, 96);
    EXPECT_EQ(s_start.bannerRect.left, (sw - w) / 2);
    EXPECT_EQ(s_start.bannerRect.top, (sh - h) / 2);
    EXPECT_EQ(s_start.bannerRect.right - s_start.bannerRect.left, w);
    EXPECT_EQ(s_start.bannerRect.bottom - s_start.bannerRect.top, h);
    EXPECT_EQ(s_start.bannerStyle & (WS_POPUP | WS_CAPTION | WS_BORDER | WS_THICKFRAME), (LONG_PTR)WS_POPUP);
    EXPECT_TRUE(s_start.bannerExStyle & WS_EX_TOPMOST);
    EXPECT_FALSE(BannerWindow());
    EXPECT_TRUE(g_hMainDlg);
}

// Reads the banner's own surface (no message is processed in between, so only the paint done
// inside ShowBanner can be there), or the screen where the banner stands, and compares it with
// the bitmap, point by point.
int MismatchedPixels(HWND banner, bool onScreen = false)
{
    RECT at = {0, 0, 0, 0};
    if (onScreen) GetWindowRect(banner, &at);
    HBITMAP bmp = (HBITMAP)LoadImageA(g_hInst, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0);
    if (!bmp) return -1;
    HDC wdc = GetDC(onScreen ? NULL : banner);
    HDC mem = CreateCompatibleDC(wdc);
    HGDIOBJ old = SelectObject(mem, bmp);
    int bad = 0;
    for (int y = 3; y < 128; y += 10)
        for (int x = 5; x < 256; x += 10)
            if (GetPixel(wdc, at.left + x, at.top + y) != GetPixel(mem, x, y)) bad++;
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(onScreen ? NULL : banner, wdc);
    DeleteObject(bmp);
    return bad;
}

TEST_F(BannerTest, PaintedAtOnceAndRemovedByAClick)
{
    BITMAP bm;
    HBITMAP bmp = (HBITMAP)LoadImageA(g_hInst, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_TRUE(bmp);
    ASSERT_EQ(GetObjectA(bmp, sizeof(bm), &bm), (int)sizeof(bm));
    EXPECT_EQ(bm.bmWidth, 256);
    EXPECT_EQ(bm.bmHeight, 128);
    DeleteObject(bmp);
    HRSRC res = FindResourceA(g_hInst, MAKEINTRESOURCEA(IDB_BANNER), (LPCSTR)RT_BITMAP);
    const BITMAPINFOHEADER* bih = (const BITMAPINFOHEADER*)LockResource(LoadResource(g_hInst, res));
    ASSERT_TRUE(bih);
    EXPECT_EQ(bih->biBitCount, 4) << "16 colours";

    ShowBanner();
    HWND banner = BannerWindow();
    ASSERT_TRUE(banner);
    EXPECT_EQ(ClassOf(banner), "ZEP_BANNER");
    EXPECT_EQ(GetClassLongA(banner, GCL_STYLE), (DWORD)(CS_SAVEBITS | CS_DBLCLKS));
    EXPECT_TRUE(IsWindowVisible(banner));
    EXPECT_EQ(MismatchedPixels(banner), 0) << "painted inside ShowBanner, before any message";

    RECT rc = WindowRect(banner);
    if (ShotsWanted()) {
        // The picture is taken from the screen: wait until the screen itself shows the banner.
        EXPECT_TRUE(PumpUntil([&] { return MismatchedPixels(banner, true) == 0; }, 5000));
        SaveScreenShot("banner");
    }
    ClickAt(Center(rc));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(banner); }, 5000)) << "a click removes the banner";
    EXPECT_FALSE(BannerWindow());
    HideBanner();  // what start-up does next: nothing left to do
    ShowBanner();
    EXPECT_FALSE(BannerWindow()) << "never shown twice in one process";
    EXPECT_FALSE(FindWindowA("ZEP_BANNER", NULL));
}

}  // namespace
