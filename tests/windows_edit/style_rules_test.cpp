// The Style editor's rules as pure functions: reading a field, one bit, the box labels of a class.
#include <gtest/gtest.h>
#include <string.h>
#include <string>

#include "windows/style_editor.h"
#include "processes/fields.h"

namespace {

struct ParseCase {
    const char* text;
    DWORD value;
    const char* why;
};

TEST(StyleText, OneRuleForEveryText)
{
    const ParseCase cases[] = {
        {"50010000", 0x50010000, "a style as the field shows it"},
        {"5001800f", 0x5001800F, "lower case digits"},
        {"", 0, "empty"},
        {"zz", 0, "no digit at all"},
        {"-1", 0, "a sign is no digit"},
        {"  0012", 0x12, "leading blanks and zeros"},
        {"\t7", 0x7, "a leading tab"},
        {"0x50018000", 0, "the C prefix is no hexadecimal digit: only its 0 counts"},
        {"0X1f", 0, "the C prefix in capitals"},
        {"0x", 0, "the prefix alone"},
        {"50G1", 0x50, "the digits before the first other character"},
        {"12 34", 0x12, "a blank ends the number"},
        {"123456789", 0x12345678, "a ninth significant digit would not fit"},
        {"00000000FFFFFFFF", 0xFFFFFFFF, "leading zeros do not count"},
        {"FFFFFFFFF", 0xFFFFFFFF, "overflowing digits are dropped"},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseHexField(c.text), c.value) << c.why << ": \"" << c.text << "\"";
    EXPECT_EQ(ParseHexField(NULL), 0u);
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
