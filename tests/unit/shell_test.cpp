// Pure rules of the shell's small services: help topics of controls, the banner's place on the
// screen, and the form of the tray icon data.
#include <gtest/gtest.h>
#include "app/help.h"
#include "app/banner.h"
#include "app/tray.h"
#include "resource.h"

namespace {

TEST(HelpTopics, EachControlIsItsOwnTopicExceptTheTwoStyleBitGroups)
{
    struct { int id; DWORD topic; } cases[] = {
        {3001, 3001},   {2002, 2002},   {11500, 11500}, {15601, 15601},
        {18100, 18100}, {18101, 18101}, {18117, 18101}, {18132, 18101}, {18133, 18133},
        {18200, 18200}, {18201, 18201}, {18230, 18201}, {18232, 18201}, {18233, 18233},
        {18001, 18001}, {18002, 18002},
    };
    for (auto& c : cases) EXPECT_EQ(HelpTopicFor(c.id), c.topic) << c.id;
}

TEST(HelpTopics, OnlyMinusOneInEitherWidthIsALabelWithoutId)
{
    EXPECT_TRUE(IsAnonymousControlId(-1));
    EXPECT_TRUE(IsAnonymousControlId(0xFFFF));
    EXPECT_FALSE(IsAnonymousControlId(0));
    EXPECT_FALSE(IsAnonymousControlId(1));
    EXPECT_FALSE(IsAnonymousControlId(0xFFFE));
}

TEST(Banner, CentredWithHalvesRoundedTowardZero)
{
    struct { int sw, sh; LONG x, y; } cases[] = {
        {1280, 1024, 512, 448},
        {1281, 1025, 512, 448},   // odd remainders are dropped
        {256, 128, 0, 0},
        {200, 100, -28, -14},     // a screen narrower than the picture: the edge lies off it
        {255, 127, 0, 0},         // -1 / 2 rounds toward zero, not down
    };
    for (auto& c : cases) {
        POINT pt = BannerPosition(c.sw, c.sh, 256, 128);
        EXPECT_EQ(pt.x, c.x) << c.sw;
        EXPECT_EQ(pt.y, c.y) << c.sh;
    }
}

TEST(TrayIcon, DataIsTheFormEndingWithItsGuid)
{
#if defined(_WIN64)
    EXPECT_EQ(TRAY_DATA_SIZE, 520u) << "the same fields at 64-bit width";
#else
    EXPECT_EQ(TRAY_DATA_SIZE, 504u);
#endif
    // The same form written out field by field, as the shell documents it, apart from the
    // header's structure: the size must cover exactly these fields.
    struct DocumentedForm {
        DWORD cbSize;
        HWND hWnd;
        UINT uID, uFlags, uCallbackMessage;
        HICON hIcon;
        CHAR szTip[128];
        DWORD dwState, dwStateMask;
        CHAR szInfo[256];
        UINT uTimeout;
        CHAR szInfoTitle[64];
        DWORD dwInfoFlags;
        GUID guidItem;
    };
    EXPECT_EQ(TRAY_DATA_SIZE, (DWORD)sizeof(DocumentedForm));
}

}  // namespace
