// Pixel sizes carried from one DPI to another.
#include <gtest/gtest.h>
#include "app/dpi.h"

#include <limits.h>

namespace {

TEST(Dpi, ScalesSizesGivenFor96ToTheMonitorsDpi)
{
    struct Case { int value; UINT dpi; int want; } cases[] = {
        {3, 96, 3},      // 96 DPI keeps every size as it is
        {16, 96, 16},
        {-1, 96, -1},
        {16, 120, 20},   // 125 %
        {16, 144, 24},   // 150 %
        {32, 144, 48},
        {256, 144, 384}, // the banner
        {128, 144, 192},
        {16, 192, 32},   // 200 %
        {3, 120, 4},     // 3.75 rounds up
        {1, 144, 2},     // 1.5: halves go away from zero
        {-1, 144, -2},
        {5, 110, 6},     // 5.73
        {7, 100, 7},     // 7.29 rounds down
        {0, 144, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.want) << c.value << " at " << c.dpi;
}

TEST(Dpi, ScalingBetweenTwoDpisRoundsAsMulDivAndNeverOverflows)
{
    // The platform's MulDiv is the reference for every value a window size can take.
    const int froms[] = {96, 120, 144, 192, 7, -96};
    const int tos[] = {96, 144, 120, 168, 3, -144};
    for (int from : froms)
        for (int to : tos)
            for (int v = -700; v <= 700; v += 7)
                ASSERT_EQ(ScaleBetween(v, from, to), MulDiv(v, to, from)) << v << " " << from << "->" << to;
    // Sizes grown back and forth across the usual steps end where they started.
    for (int v = 0; v < 2000; v++)
        ASSERT_EQ(ScaleBetween(ScaleBetween(v, 96, 192), 192, 96), v);
    // Large values stay within int instead of wrapping.
    EXPECT_EQ(ScaleBetween(INT_MAX, 96, 192), INT_MAX);
    EXPECT_EQ(ScaleBetween(INT_MIN, 96, 192), INT_MIN);
    EXPECT_EQ(ScaleBetween(INT_MAX / 2, 96, 192), INT_MAX - 1);
    // No DPI to scale from: the value as it is.
    EXPECT_EQ(ScaleBetween(123, 0, 144), 123);
}

}  // namespace
