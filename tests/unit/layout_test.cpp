// Layout arithmetic of the main dialog.
#include <gtest/gtest.h>
#include "app/layout.h"

namespace {

TEST(Layout, ScalesInProportionFromTheStoredRectangle)
{
    const RECT stored = {13, 27, 13 + 101, 27 + 33};
    const int recW = 449, recH = 263;
    RECT same = ScaleLayoutRect(stored, recW, recH, recW, recH);
    EXPECT_TRUE(EqualRect(&same, &stored));

    RECT twice = ScaleLayoutRect(stored, 2 * recW, 2 * recH, recW, recH);
    EXPECT_EQ(twice.left, 26);
    EXPECT_EQ(twice.top, 54);
    EXPECT_EQ(twice.right - twice.left, 202);
    EXPECT_EQ(twice.bottom - twice.top, 66);

    // Odd sizes round each coordinate and extent to the nearest pixel on its own (drift across
    // repeated real resizes is covered by the main dialog's integration test).
    RECT odd = ScaleLayoutRect(stored, 500, 300, recW, recH);
    EXPECT_EQ(odd.left, 14);     // 13 * 500 / 449 = 14.47
    EXPECT_EQ(odd.top, 31);      // 27 * 300 / 263 = 30.80
    EXPECT_EQ(odd.right - odd.left, 112);   // 101 * 500 / 449 = 112.47
    EXPECT_EQ(odd.bottom - odd.top, 38);    // 33 * 300 / 263 = 37.64
}

TEST(Layout, PositionIsRestoredOnlyWhenTheDialogStillTouchesTheDesktop)
{
    const RECT desktop = {0, 0, 1280, 1024};
    const RECT dialog = {30, 40, 30 + 500, 40 + 350};
    struct { int x, y, ex, ey; } cases[] = {
        {-100000, -100000, 30, 40},  // the defaults never touch the screen
        {200, 300, 200, 300},
        {1279, 1023, 1279, 1023},    // one pixel of overlap is enough
        {1280, 100, 30, 40},         // entirely to the right
        {-500, 100, 30, 40},         // right edge exactly at the left border: no overlap
        {-499, 100, -499, 100},
    };
    for (auto& c : cases) {
        POINT p = ChooseDialogPosition(dialog, desktop, c.x, c.y);
        EXPECT_EQ(p.x, c.ex) << c.x << "," << c.y;
        EXPECT_EQ(p.y, c.ey) << c.x << "," << c.y;
    }
}

// The place is saved from the window's placement (workspace coordinates) and restored on the
// screen: a taskbar at the top or left must not move the dialog by its thickness at every
// close and reopen.
TEST(Layout, AStoredPlaceInWorkspaceCoordinatesComesBackWhereItWasOnTheScreen)
{
    const RECT screen = {0, 0, 1280, 1024};
    const RECT second = {1280, 0, 2560, 1024};
    struct {
        const char* name;
        RECT monitor, work;
        POINT workspace, onScreen;
    } cases[] = {
        {"no taskbar", screen, screen, {200, 150}, {200, 150}},
        {"taskbar at the bottom: the stored bytes mean the screen", screen, {0, 0, 1280, 994}, {200, 150}, {200, 150}},
        {"taskbar at the top", screen, {0, 30, 1280, 1024}, {200, 120}, {200, 150}},
        {"taskbar at the left", screen, {62, 0, 1280, 1024}, {138, 150}, {200, 150}},
        {"taskbar at the top of a second monitor", second, {1280, 40, 2560, 1024}, {1480, 110}, {1480, 150}},
        {"above the work area", screen, {0, 30, 1280, 1024}, {10, -20}, {10, 10}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        POINT p = WorkspaceToScreenPoint(c.workspace, c.monitor, c.work);
        EXPECT_EQ(p.x, c.onScreen.x);
        EXPECT_EQ(p.y, c.onScreen.y);
    }
}

TEST(Layout, StoredSizeRestoredOnlyWhenWiderAndAtLeastAsHigh)
{
    EXPECT_FALSE(ShouldRestoreSize(0, 0, 500, 350));
    EXPECT_TRUE(ShouldRestoreSize(501, 350, 500, 350));
    EXPECT_FALSE(ShouldRestoreSize(500, 400, 500, 350));
    EXPECT_FALSE(ShouldRestoreSize(600, 349, 500, 350));
    EXPECT_FALSE(ShouldRestoreSize(600, 0, 500, 350));
}

}  // namespace
