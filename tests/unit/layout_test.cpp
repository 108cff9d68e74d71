// Layout arithmetic of the main dialog.
#include <gtest/gtest.h>
#include "app/layout.h"

namespace {

TEST(Layout, ScalesInProportionAndRepeatedResizesDoNotDrift)
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

    // Many odd-sized steps and back: the result equals the stored rectangle exactly.
    RECT r = stored;
    for (int step = 1; step <= 200; step++)
        r = ScaleLayoutRect(stored, recW + step * 7 % 311, recH + step * 13 % 197, recW, recH);
    r = ScaleLayoutRect(stored, recW, recH, recW, recH);
    EXPECT_TRUE(EqualRect(&r, &stored));
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

TEST(Layout, StoredSizeRestoredOnlyWhenWiderAndAtLeastAsHigh)
{
    EXPECT_FALSE(ShouldRestoreSize(0, 0, 500, 350));
    EXPECT_TRUE(ShouldRestoreSize(501, 350, 500, 350));
    EXPECT_FALSE(ShouldRestoreSize(500, 400, 500, 350));
    EXPECT_FALSE(ShouldRestoreSize(600, 349, 500, 350));
    EXPECT_FALSE(ShouldRestoreSize(600, 0, 500, 350));
}

}  // namespace
