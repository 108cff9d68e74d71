// The visible frame of a window as pure arithmetic: which of the window manager's answers the
// program takes in place of the window rectangle.
#include <gtest/gtest.h>
#include <windows.h>
#include "windows/window_query.h"

namespace {

struct FrameCase {
    const char* name;
    bool answered;
    RECT frame;
    bool taken;   // the frame, else the window rectangle
};

const RECT kWindow = {93, 50, 1207, 857};

class FrameBounds : public testing::TestWithParam<FrameCase> {};

TEST_P(FrameBounds, TakesOnlyANonEmptyFrameInsideTheWindowRectangle)
{
    const FrameCase& c = GetParam();
    RECT got = ChooseFrameBounds(kWindow, c.answered ? &c.frame : NULL);
    const RECT& expected = c.taken ? c.frame : kWindow;
    EXPECT_TRUE(EqualRect(&got, &expected)) << "(" << got.left << "," << got.top << ")-(" << got.right << ","
                                            << got.bottom << ")";
}

const FrameCase kFrameCases[] = {
    {"NoAnswer", false, {0, 0, 0, 0}, false},
    {"ResizeBordersLeftOut", true, {100, 50, 1200, 850}, true},
    {"SameAsTheWindow", true, {93, 50, 1207, 857}, true},
    {"OnePixelFrame", true, {100, 60, 101, 61}, true},
    {"Empty", true, {100, 50, 100, 850}, false},
    {"Upside", true, {100, 850, 1200, 50}, false},
    {"AllZero", true, {0, 0, 0, 0}, false},
    // A program the system scales sees its window in logical pixels and the frame in physical.
    {"ScaledBeyondTheRight", true, {140, 75, 1810, 1285}, false},
    {"OutOnTheLeft", true, {92, 50, 1200, 850}, false},
    {"OutAtTheTop", true, {100, 49, 1200, 850}, false},
    {"OutAtTheBottom", true, {100, 50, 1200, 858}, false},
};

INSTANTIATE_TEST_SUITE_P(Answers, FrameBounds, testing::ValuesIn(kFrameCases),
                         [](const testing::TestParamInfo<FrameCase>& i) { return std::string(i.param.name); });

} // namespace
