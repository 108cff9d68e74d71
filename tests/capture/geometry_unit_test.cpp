// The geometry of selecting and showing a capture: frame outline, corners, centring, label,
// cursors, clipping to the display and the viewer's sizes and zoom.
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>

#include "capture/overlay.h"
#include "capture/pipeline.h"
#include "capture/viewer.h"
#include "resource.h"

namespace {

// Inverts a grid the way PatBlt does with positive sizes; negative ones are refused, since
// drivers disagree on where they end.
struct Grid {
    int w, h;
    std::vector<int> flips;
    Grid(int w_, int h_) : w(w_), h(h_), flips((size_t)w_ * h_) {}
    void Pat(const PatLine& l)
    {
        EXPECT_GT(l.w, 0);
        EXPECT_GT(l.h, 0);
        for (int y = l.y; y < l.y + l.h; y++)
            for (int x = l.x; x < l.x + l.w; x++)
                if (x >= 0 && y >= 0 && x < w && y < h) flips[(size_t)y * w + x]++;
    }
    int At(int x, int y) const { return flips[(size_t)y * w + x]; }
};

TEST(SelectionFrame, EveryOutlinePixelOfTheInclusiveRectangleIsInvertedExactlyOnce)
{
    const RECT cases[] = {{5, 6, 20, 14}, {3, 3, 4, 9}, {2, 8, 12, 9}, {1, 1, 2, 2}, {10, 2, 30, 25}};
    for (const RECT& rc : cases) {
        SCOPED_TRACE(testing::Message() << rc.left << "," << rc.top << "," << rc.right << "," << rc.bottom);
        PatLine lines[4];
        SelectionFrameLines(rc, lines);
        Grid g(40, 40);
        for (const PatLine& l : lines) g.Pat(l);
        for (int y = 0; y < g.h; y++)
            for (int x = 0; x < g.w; x++) {
                bool inside = x >= rc.left && x <= rc.right && y >= rc.top && y <= rc.bottom;
                bool onOutline = inside && (x == rc.left || x == rc.right || y == rc.top || y == rc.bottom);
                ASSERT_EQ(g.At(x, y), onOutline ? 1 : 0) << "pixel " << x << "," << y;
            }
    }
}

TEST(SelectionFrame, LinesAreTheFourPatBltCallsOfTheOutline)
{
    PatLine lines[4];
    SelectionFrameLines(RECT{10, 20, 30, 50}, lines);
    const PatLine want[4] = {{10, 20, 20, 1}, {30, 20, 1, 30}, {11, 50, 20, 1}, {10, 21, 1, 30}};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(lines[i].x, want[i].x) << i;
        EXPECT_EQ(lines[i].y, want[i].y) << i;
        EXPECT_EQ(lines[i].w, want[i].w) << i;
        EXPECT_EQ(lines[i].h, want[i].h) << i;
    }
}

TEST(SelectionCorners, AnyDirectionOfDraggingGivesTheSameRectangle)
{
    POINT a = {300, 200}, b = {120, 90};
    RECT downRight = NormalizedRect(b, a), upLeft = NormalizedRect(a, b);
    EXPECT_TRUE(EqualRect(&downRight, &upLeft));
    EXPECT_EQ(upLeft.left, 120);
    EXPECT_EQ(upLeft.top, 90);
    EXPECT_EQ(upLeft.right, 300);
    EXPECT_EQ(upLeft.bottom, 200);
    RECT mixed = NormalizedRect(POINT{300, 90}, POINT{120, 200});
    EXPECT_TRUE(EqualRect(&mixed, &upLeft)) << "down-left and up-right too";
    RECT click = NormalizedRect(a, a);
    EXPECT_TRUE(IsRectEmpty(&click)) << "a click without movement selects nothing";
}

TEST(SelectionCorners, FixedFrameIsCentredOnThePressHalvesTruncatedTowardZero)
{
    struct {
        RECT frame;
        POINT anchor;
        RECT want;
    } cases[] = {
        {{0, 0, 160, 120}, {400, 300}, {320, 240, 480, 360}},
        {{0, 0, 31, 17}, {100, 100}, {85, 92, 116, 109}},
        {{0, 0, 32, 32}, {0, 0}, {-16, -16, 16, 16}},
        {{0, 0, -7, 10}, {50, 50}, {53, 45, 46, 55}},   // -7 / 2 is -3: still empty
        {{0, 0, 0, 0}, {70, 80}, {70, 80, 70, 80}},     // the Rectangle area with a zero size
    };
    for (auto& c : cases) {
        RECT got = CentreFrameOn(c.frame, c.anchor);
        EXPECT_TRUE(EqualRect(&got, &c.want)) << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
}

TEST(SelectionLabel, IsCentredInTheFrame)
{
    POINT p = LabelPosition(RECT{100, 100, 300, 200}, SIZE{50, 16});
    EXPECT_EQ(p.x, 175);
    EXPECT_EQ(p.y, 142);
    // Wider than the frame near the screen's corner: truncation toward zero, not down.
    p = LabelPosition(RECT{0, 0, 10, 4}, SIZE{41, 13});
    EXPECT_EQ(p.x, -15);
    EXPECT_EQ(p.y, -4);
}

TEST(SelectionCursor, FreeSelectionCrossSmallIconSmallCrossOtherwiseRing)
{
    for (int area = 0; area < 4; area++) EXPECT_EQ(SelectionCursorId(true, area), IDCUR_CROSS) << area;
    EXPECT_EQ(SelectionCursorId(false, 1), IDCUR_RING);
    EXPECT_EQ(SelectionCursorId(false, 2), IDCUR_RING);
    EXPECT_EQ(SelectionCursorId(false, 3), IDCUR_SMALLCROSS);
}

TEST(CaptureClip, OnlyThePrimaryDisplayIsCaptured)
{
    struct {
        RECT rc, want;
    } cases[] = {
        {{10, 20, 110, 220}, {10, 20, 110, 220}},
        {{-50, -10, 100, 90}, {0, 0, 100, 90}},
        {{1200, 1000, 1400, 1100}, {1200, 1000, 1280, 1024}},
        {{1300, 10, 1400, 50}, {1300, 10, 1280, 50}},   // entirely off: empty
    };
    for (auto& c : cases) {
        RECT got = ClipToDisplay(c.rc, 1280, 1024);
        EXPECT_TRUE(EqualRect(&got, &c.want)) << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    }
    RECT off = ClipToDisplay(RECT{1300, 10, 1400, 50}, 1280, 1024);
    EXPECT_TRUE(IsRectEmpty(&off));
}

TEST(ViewerSize, ClientAreaIsTheCaptureClampedBetweenSmallestWindowAndFullScreen)
{
    struct {
        int w, h, cx, cy;
    } cases[] = {
        {200, 150, 200, 150},       // as captured
        {16, 16, 112, 27},          // smaller than the smallest window
        {5000, 3000, 1280, 1000},   // larger than the screen
        {16, 3000, 112, 1000},
    };
    for (auto& c : cases) {
        SIZE s = ViewerClientSize(c.w, c.h, 1280, 1000, 112, 27);
        EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h;
        EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h;
    }
}

TEST(ViewerSize, AWrappedMenuBarGrowsTheWindowButNeverPastFullScreen)
{
    EXPECT_EQ(ViewerHeightGrowth(300, 281, 1000), 19) << "the menu took one more line of 19 pixels";
    EXPECT_EQ(ViewerHeightGrowth(300, 300, 1000), 0);
    EXPECT_EQ(ViewerHeightGrowth(20, 27, 1000), 0) << "a short capture in a taller minimum window";
    EXPECT_EQ(ViewerHeightGrowth(3000, 1000, 1000), 0) << "already full-screen height";
    EXPECT_EQ(ViewerHeightGrowth(3000, 981, 1000), 19) << "only up to the full-screen height";
}

TEST(ViewerZoom, FactorsOfTheScaleCommands)
{
    const int want[] = {1, 2, 4, 8, 16, 32};
    for (int i = 0; i < 6; i++) EXPECT_EQ(ZoomFactor(IDC_VIEW_SCALE1 + i), want[i]);
    EXPECT_EQ(ZoomFactor(IDC_VIEW_SAVE), 1);
    EXPECT_EQ(ZoomFactor(0), 1);
}

}  // namespace
