// The magnifier's arithmetic (where it goes, how its square and readout are laid out, the pixels
// it draws, the colour's text) and the arrow keys' steps.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

#include "capture/magnifier.h"
#include "windows/pointing.h"

namespace {

int Luma(DWORD rgb)
{
    return (int)(((rgb >> 16) & 0xFF) * 299 + ((rgb >> 8) & 0xFF) * 587 + (rgb & 0xFF) * 114) / 1000;
}

TEST(MagnifierPlace, BesideTheHotSpotAndOnTheOtherSideNearAnEdge)
{
    const RECT screen = {0, 0, 1280, 1024};
    const SIZE win = {122, 170};
    const struct {
        const char* name;
        POINT hot, want;
    } cases[] = {
        {"middle: below right", {600, 500}, {624, 524}},
        {"top-left corner", {0, 0}, {24, 24}},
        {"just fits on the right", {1134, 500}, {1158, 524}},
        {"one more: flips left", {1135, 500}, {989, 524}},
        {"near the bottom: flips up", {600, 1000}, {624, 806}},
        {"bottom-right corner: both", {1279, 1023}, {1133, 829}},
    };
    for (const auto& c : cases) {
        POINT at = PlaceMagnifier(c.hot, win, screen);
        EXPECT_EQ(at.x, c.want.x) << c.name;
        EXPECT_EQ(at.y, c.want.y) << c.name;
    }
}

TEST(MagnifierPlace, EverywhereOnTheScreenItStaysOnItAndOffTheHotSpot)
{
    const RECT screens[] = {{0, 0, 1280, 1024}, {-1280, -200, 0, 824}, {0, 0, 320, 240}};
    const SIZE win = {130, 175};
    for (const RECT& screen : screens) {
        for (LONG y = screen.top; y < screen.bottom; y += 7)
            for (LONG x = screen.left; x < screen.right; x += 9) {
                POINT hot = {x, y};
                POINT at = PlaceMagnifier(hot, win, screen);
                RECT r = {at.x, at.y, at.x + win.cx, at.y + win.cy};
                ASSERT_TRUE(r.left >= screen.left && r.top >= screen.top && r.right <= screen.right &&
                            r.bottom <= screen.bottom)
                    << "on the screen at " << x << "," << y;
                // Clear of the hot spot by the offset on one axis at least.
                bool clearX = r.left >= x + MAGNIFIER_OFFSET || r.right <= x - MAGNIFIER_OFFSET + 1;
                bool clearY = r.top >= y + MAGNIFIER_OFFSET || r.bottom <= y - MAGNIFIER_OFFSET + 1;
                ASSERT_TRUE(clearX || clearY) << "off the hot spot at " << x << "," << y;
            }
    }
}

TEST(MagnifierPlace, AScreenSmallerThanTheWindowKeepsItsTopLeftCorner)
{
    POINT at = PlaceMagnifier(POINT{50, 40}, SIZE{122, 170}, RECT{10, 20, 110, 120});
    EXPECT_EQ(at.x, 10);
    EXPECT_EQ(at.y, 20);
}

TEST(MagnifierLayout, TheSquareIsAlways120PixelsAndTheReadoutGrowsWithTheFont)
{
    // Line heights of the readout's font from 96 to 192 dots per inch, and widths of its text.
    for (int lineHeight : {13, 16, 20, 26}) {
        for (int textWidth : {40, 100, 200}) {
            SCOPED_TRACE(testing::Message() << "line " << lineHeight << ", text " << textWidth);
            MagnifierLayout l = LayoutMagnifier(lineHeight, textWidth);
            EXPECT_EQ(l.square.right - l.square.left, 120);
            EXPECT_EQ(l.square.bottom - l.square.top, 120);
            EXPECT_GE(l.square.left, 1) << "inside the border";
            EXPECT_GE(l.square.top, 1);
            EXPECT_LE(l.square.right, l.size.cx - 1);
            LONG below = l.square.bottom;
            for (int i = 0; i < MAGNIFIER_LINES; i++) {
                const RECT& line = l.lines[i];
                EXPECT_GE(line.top, below) << "line " << i << " below what comes before it";
                EXPECT_EQ(line.bottom - line.top, lineHeight);
                EXPECT_GE(line.left, 1);
                EXPECT_LE(line.right, l.size.cx - 1);
                below = line.bottom;
            }
            EXPECT_LE(below, l.size.cy - 1) << "the last line inside the border";
            const RECT& colour = l.lines[MAGNIFIER_LINE_COLOUR];
            RECT in;
            EXPECT_TRUE(IntersectRect(&in, &l.swatch, &colour) && EqualRect(&in, &l.swatch))
                << "the swatch on the colour's line";
            EXPECT_GE(l.textLeft, colour.left);
            EXPECT_GE(l.swatch.left, l.textLeft + textWidth) << "right of the widest text";
            EXPECT_GT(l.swatch.right - l.swatch.left, 2);
            EXPECT_EQ(l.swatch.right - l.swatch.left, l.swatch.bottom - l.swatch.top);
        }
    }
}

// A 15 x 15 source whose pixels all differ, light and dark mixed.
std::vector<DWORD> Source()
{
    std::vector<DWORD> s(MAGNIFIER_SPAN * MAGNIFIER_SPAN);
    for (int y = 0; y < MAGNIFIER_SPAN; y++)
        for (int x = 0; x < MAGNIFIER_SPAN; x++)
            s[(size_t)y * MAGNIFIER_SPAN + x] = ((DWORD)(x * 17) << 16) | ((DWORD)(y * 17) << 8) | (DWORD)((x * y * 5) & 0xFF);
    return s;
}

TEST(MagnifierPixels, EachPixelIsAnEightByEightCellOnAGridWithTheCentreOutlined)
{
    std::vector<DWORD> src = Source();
    const int stride = 131;
    const DWORD sentinel = 0xFE00FE01;
    std::vector<DWORD> dst((size_t)stride * 122, sentinel);
    MagnifyPixels(src.data(), MAGNIFIER_SPAN, dst.data() + stride, stride);
    const DWORD centre = src[7 * MAGNIFIER_SPAN + 7];
    long cells = 0;
    for (int y = 0; y < 120; y++)
        for (int x = 0; x < 120; x++) {
            DWORD got = dst[(size_t)(y + 1) * stride + x];
            DWORD colour = src[(size_t)(y / 8) * MAGNIFIER_SPAN + x / 8];
            bool ring = x >= 56 && x <= 64 && y >= 56 && y <= 64 && (x == 56 || x == 64 || y == 56 || y == 64);
            bool grid = x % 8 == 0 || y % 8 == 0;
            DWORD want = ring ? MagnifierOutlineShade(centre) : grid ? MagnifierGridShade(colour) : colour;
            ASSERT_EQ(got, want) << "at " << x << "," << y;
            if (!grid) cells++;
        }
    EXPECT_EQ(cells, 225L * 49) << "seven by seven of each pixel's own colour";
    for (int y = 0; y < 122; y++)
        for (int x = 0; x < stride; x++) {
            bool drawn = y >= 1 && y <= 120 && x < 120;
            if (drawn) continue;
            ASSERT_EQ(dst[(size_t)y * stride + x], sentinel) << "nothing outside, " << x << "," << y;
        }
}

TEST(MagnifierPixels, GridAndOutlineStandOutFromThePixelBelow)
{
    const DWORD colours[] = {0x000000, 0xFFFFFF, 0x808080, 0x7F7F7F, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x102030};
    for (DWORD c : colours) {
        SCOPED_TRACE(testing::Message() << std::hex << c);
        DWORD grid = MagnifierGridShade(c);
        EXPECT_NE(grid, c) << "a grid line shows on every colour";
        EXPECT_EQ(grid & 0xFF000000u, 0u);
        if (Luma(c) >= 128) {
            EXPECT_LT(Luma(grid), Luma(c)) << "darker over light";
        } else {
            EXPECT_GT(Luma(grid), Luma(c)) << "lighter over dark";
        }
        DWORD outline = MagnifierOutlineShade(c);
        EXPECT_GE(abs(Luma(outline) - Luma(c)), 127) << "the outline contrasts with the centre pixel";
    }
}

TEST(MagnifierReadout, TheColourReadsRedGreenBlueInHex)
{
    const struct {
        DWORD rgb;
        const char* want;
    } cases[] = {{0x123456, "#123456"}, {0xA0B1C2, "#A0B1C2"}, {0x000000, "#000000"}, {0xFFFFFF, "#FFFFFF"},
                 {0xFF0000, "#FF0000"}, {0x0000FF, "#0000FF"}};
    for (const auto& c : cases) {
        char text[16];
        FormatMagnifierColour(c.rgb, text, sizeof(text));
        EXPECT_STREQ(text, c.want);
    }
    char small[4];
    FormatMagnifierColour(0x123456, small, sizeof(small));
    EXPECT_STREQ(small, "#12") << "cut to the buffer";
}

TEST(ArrowKeys, OnePixelOrTenWithShiftAndNothingForOtherKeys)
{
    const struct {
        UINT vk;
        bool shift;
        LONG dx, dy;
    } cases[] = {
        {VK_LEFT, false, -1, 0}, {VK_RIGHT, false, 1, 0}, {VK_UP, false, 0, -1}, {VK_DOWN, false, 0, 1},
        {VK_LEFT, true, -10, 0}, {VK_RIGHT, true, 10, 0}, {VK_UP, true, 0, -10}, {VK_DOWN, true, 0, 10},
    };
    for (const auto& c : cases) {
        POINT step = {99, 99};
        ASSERT_TRUE(ArrowKeyStep(c.vk, c.shift, &step)) << c.vk;
        EXPECT_EQ(step.x, c.dx) << c.vk << (c.shift ? " shift" : "");
        EXPECT_EQ(step.y, c.dy) << c.vk << (c.shift ? " shift" : "");
    }
    for (UINT vk : {(UINT)VK_RETURN, (UINT)VK_SPACE, (UINT)VK_ESCAPE, (UINT)VK_SHIFT, (UINT)VK_HOME, (UINT)VK_NUMPAD4, (UINT)'A'}) {
        POINT step;
        EXPECT_FALSE(ArrowKeyStep(vk, false, &step)) << vk;
    }
    EXPECT_TRUE(IsPressKey(VK_RETURN));
    EXPECT_TRUE(IsPressKey(VK_SPACE));
    EXPECT_FALSE(IsPressKey(VK_ESCAPE));
}

TEST(ArrowKeys, AStepStopsAtTheScreensEdge)
{
    const RECT screen = {0, 0, 1280, 1024};
    const struct {
        POINT from, step, want;
    } cases[] = {
        {{100, 100}, {10, 0}, {110, 100}},
        {{3, 5}, {-10, 0}, {0, 5}},
        {{1275, 5}, {10, 0}, {1279, 5}},
        {{5, 1020}, {0, 10}, {5, 1023}},
        {{5, 4}, {0, -10}, {5, 0}},
        {{0, 0}, {-1, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        POINT to = StepWithin(c.from, c.step, screen);
        EXPECT_EQ(to.x, c.want.x);
        EXPECT_EQ(to.y, c.want.y);
    }
    POINT to = StepWithin(POINT{-1275, -5}, POINT{-10, -10}, RECT{-1280, -200, 0, 824});
    EXPECT_EQ(to.x, -1280);
    EXPECT_EQ(to.y, -15);
}

}  // namespace
