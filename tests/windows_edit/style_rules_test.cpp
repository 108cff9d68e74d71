// The Style editor's rules as pure functions: reading a field, one bit, the box labels of a class.
#include <gtest/gtest.h>
#include <string.h>
#include <string>

#include "windows/style_editor.h"

namespace {

struct ParseCase {
    const char* text;
    bool number;    // false: no number, the value stays as it was
    DWORD value;
    const char* why;
};

TEST(StyleText, ReadAsHexadecimalScanReadsIt)
{
    const ParseCase cases[] = {
        {"50010000", true, 0x50010000, "a style as the field shows it"},
        {"5001800f", true, 0x5001800F, "lower case digits"},
        {"0x50018000", true, 0x50018000, "the C prefix"},
        {"0X1f", true, 0x1F, "the C prefix in capitals"},
        {"  0012", true, 0x12, "leading blanks and zeros"},
        {"\t\r\n 7", true, 0x7, "any leading white space"},
        {"+7", true, 0x7, "a plus sign"},
        {"-1", true, 0xFFFFFFFF, "a minus sign negates as unsigned arithmetic does"},
        {"-0x50018000", true, 0xAFFE8000, "a sign before the prefix"},
        {" -10", true, 0xFFFFFFF0, "blanks before the sign"},
        {"50G1", true, 0x50, "the digits before the first other character"},
        {"12 34", true, 0x12, "a blank ends the number"},
        {"0x", true, 0, "a prefix without digits is the number 0"},
        {"0xg", true, 0, "the same before another character"},
        {"FFFFFFFF", true, 0xFFFFFFFF, "the largest value"},
        {"00000000FFFFFFFF", true, 0xFFFFFFFF, "leading zeros do not count"},
        {"100000000", true, 0xFFFFFFFF, "beyond 32 bits saturates"},
        {"123456789", true, 0xFFFFFFFF, "a ninth significant digit saturates"},
        {"-100000000", true, 0xFFFFFFFF, "saturation whatever the sign"},
        {"", false, 0, "empty"},
        {"   ", false, 0, "blanks only"},
        {"zz50", false, 0, "no digit where the number begins"},
        {"x12", false, 0, "the prefix without its 0"},
        {"-", false, 0, "a sign alone"},
        {"- 1", false, 0, "a blank between sign and digits"},
        {"+-1", false, 0, "two signs"},
    };
    for (const ParseCase& c : cases) {
        DWORD v = 0xDEADBEEF;
        EXPECT_EQ(ParseStyleText(c.text, &v), c.number) << c.why << ": \"" << c.text << "\"";
        EXPECT_EQ(v, c.number ? c.value : 0xDEADBEEF) << c.why << ": \"" << c.text << "\"";
    }
    DWORD v = 5;
    EXPECT_FALSE(ParseStyleText(NULL, &v));
    EXPECT_EQ(v, 5u);
}

TEST(StyleText, OneBitSetOrCleared)
{
    EXPECT_EQ(WithStyleBit(0x50010000, 15, true), 0x50018000u);
    EXPECT_EQ(WithStyleBit(0x50018000, 15, false), 0x50010000u);
    EXPECT_EQ(WithStyleBit(0, 31, true), 0x80000000u);
    EXPECT_EQ(WithStyleBit(0xFFFFFFFF, 0, false), 0xFFFFFFFEu);
    EXPECT_EQ(WithStyleBit(0x1234, 32, true), 0x1234u) << "no such bit";
    EXPECT_EQ(WithStyleBit(0x1234, -1, true), 0x1234u);
}

// The labels the template gives every window: style bits 31..16, bits 15..0 empty.
BitLabels TemplateLabels()
{
    static const char* const high[16] = {"WS_MAXIMIZEBOX", "WS_MINIMIZEBOX", "WS_THICKFRAME", "WS_SYSMENU",
                                         "WS_HSCROLL",     "WS_VSCROLL",     "WS_DLGFRAME",   "WS_BORDER",
                                         "WS_MAXIMIZE",    "WS_CLIPCHILDREN", "WS_CLIPSIBLINGS", "WS_DISABLED",
                                         "WS_VISIBLE",     "WS_MINIMIZE",    "WS_CHILD",      "WS_POPUP"};
    BitLabels l;
    memset(&l, 0, sizeof(l));
    for (int n = 0; n < 16; n++) strcpy(l.text[16 + n], high[n]);
    return l;
}

std::string Label(const char* className, int bit)
{
    BitLabels l = TemplateLabels();
    ClassStyleBoxLabels(className, &l);
    LabelRemainingBits(&l);
    return l.text[bit];
}

struct LabelCase {
    const char* className;
    int bit;
    const char* label;
};

TEST(StyleBoxLabels, ByTheClassOfTheWindow)
{
    const LabelCase cases[] = {
        {"Button", 16, "WS_TABSTOP"},
        {"Button", 17, "WS_GROUP"},
        {"Button", 0, "BS_DEFPUSHBUTTON"},
        {"Button", 4, "Bit #5"},
        {"Button", 15, "BS_FLAT"},
        {"Button", 18, "WS_THICKFRAME"},
        {"button", 16, "WS_TABSTOP"},
        {"ScrollBar", 1, "SBS_SIZEBOXTOPLEFTALIGN"},
        {"ScrollBar", 2, "SBS_SIZEBOXBOTTOMRIGHTALIGN"},
        {"ToolbarWindow32", 0, "TBSTYLE_EX_DRAWDDARROWS"},
        {"#32770", 6, "DS_SETFONT"},
        {"Notepad", 0, "Bit #1"},
        {"Notepad", 15, "Bit #16"},
        {"Notepad", 16, "WS_MAXIMIZEBOX"},
        {"Notepad", 17, "WS_MINIMIZEBOX"},
        {"Notepad", 31, "WS_POPUP"},
    };
    for (const LabelCase& c : cases) EXPECT_EQ(Label(c.className, c.bit), c.label) << c.className << " bit " << c.bit;
}

}  // namespace
