// Copy as text, as pure functions of values: table rows with tabs, tree lines indented by level,
// "Label: value" lines of a dialog's fields; and which keys are commands.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app/contextmenu.h"
#include "app/textcopy.h"
#include "resource.h"

namespace {

// The text built by fill, as a string.
template <class Fill> std::string Built(Fill fill)
{
    CopyText t;
    InitCopyText(&t);
    fill(&t);
    std::string s = t.text ? std::string(t.text, t.length) : std::string();
    EXPECT_FALSE(t.failed);
    FreeCopyText(&t);
    return s;
}

TEST(CopyText, TableRowsAreCellsBetweenTabsOneLineEach)
{
    struct {
        std::vector<const char*> cells;
        const char* line;
    } cases[] = {
        {{"Process", "Identifier", "Priority", "Module"}, "Process\tIdentifier\tPriority\tModule\r\n"},
        {{"notepad", "0020", "normal", ""}, "notepad\t0020\tnormal\t\r\n"},   // an empty last cell keeps its tab
        {{"", "", ""}, "\t\t\r\n"},
        {{"only"}, "only\r\n"},
        // A title with a tab or a line break must not shift the columns or start a new row.
        {{"a\tb", "two\r\nlines", "c\rd\ne"}, "a b\ttwo  lines\tc d e\r\n"},
        {{NULL, "x"}, "\tx\r\n"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(Built([&](CopyText* t) { AppendTableRow(t, c.cells.data(), (int)c.cells.size()); }), c.line);
    }
    // A header and rows make one text, rows in the order given.
    const char* header[] = {"Task"};
    const char* row[] = {"Untitled - Notepad"};
    EXPECT_EQ(Built([&](CopyText* t) {
                  AppendTableRow(t, header, 1);
                  AppendTableRow(t, row, 1);
              }),
              "Task\r\nUntitled - Notepad\r\n");
}

TEST(CopyText, TreeLinesAreIndentedByTwoBlanksPerLevel)
{
    std::string text = Built([](CopyText* t) {
        AppendTreeLine(t, 0, "\"Tree top\"    [VantixTreeTop]");
        AppendTreeLine(t, 1, "\"Tree child\"");
        AppendTreeLine(t, 2, "\"Deep\tstatic\"");
        AppendTreeLine(t, 1, "\"\"");
        AppendTreeLine(t, 3, "");
    });
    EXPECT_EQ(text,
              "\"Tree top\"    [VantixTreeTop]\r\n"
              "  \"Tree child\"\r\n"
              "    \"Deep static\"\r\n"
              "  \"\"\r\n"
              "      \r\n");
}

TEST(CopyText, LabelsLoseTheirAccessKeyMarksAndClosingColon)
{
    struct {
        const char* label;
        const char* clean;
    } cases[] = {
        {"Title:", "Title"},
        {"&Priority class", "Priority class"},
        {"Find &what:", "Find what"},
        {"Tom && Jerry:", "Tom & Jerry"},
        {"(Left,Top)", "(Left,Top)"},
        {"Id / Menu: ", "Id / Menu"},
        {"Style: 94000000 (Extra: 00000000)", "Style: 94000000 (Extra: 00000000)"},
        {"&", ""},
        {"", ""},
        {NULL, ""},
    };
    for (auto& c : cases) {
        char out[64];
        CleanLabel(c.label, out, sizeof(out));
        EXPECT_STREQ(out, c.clean) << (c.label ? c.label : "(null)");
    }
    // A label longer than the room is cut, never overrun.
    char small[6];
    CleanLabel("Executable file:", small, sizeof(small));
    EXPECT_STREQ(small, "Execu");
}

TEST(CopyText, FieldsAreLabelValueLinesAndLongValuesABlock)
{
    struct {
        const char* label;
        const char* value;
        const char* lines;
    } cases[] = {
        {"Title", "Untitled - Notepad", "Title: Untitled - Notepad\r\n"},
        {"Title", "", "Title:\r\n"},
        {"Window handle", "0001002A", "Window handle: 0001002A\r\n"},
        // One line with a closing line break is still one line.
        {"Properties", "<None>\r\n", "Properties: <None>\r\n"},
        {"Properties", "00001234 = One\r\n00005678 = Two\r\n",
         "Properties:\r\n  00001234 = One\r\n  00005678 = Two\r\n"},
        {"Style", "WS_POPUP\n(WS_EX_TOPMOST)", "Style:\r\n  WS_POPUP\r\n  (WS_EX_TOPMOST)\r\n"},
        // Without a label the value continues the line before it.
        {"", "WS_OVERLAPPED WS_CAPTION\r\n(WS_EX_WINDOWEDGE)", "  WS_OVERLAPPED WS_CAPTION\r\n  (WS_EX_WINDOWEDGE)\r\n"},
        {NULL, "single", "  single\r\n"},
        {"Empty", NULL, "Empty:\r\n"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(Built([&](CopyText* t) { AppendFieldLines(t, c.label, c.value); }), c.lines)
            << (c.label ? c.label : "(null)");
    }
}

TEST(CopyText, GrowsPastItsFirstBlockWithoutLosingAnything)
{
    std::string expected;
    std::string text = Built([&](CopyText* t) {
        for (int i = 0; i < 3000; i++) {
            std::string cell = "row " + std::to_string(i);
            const char* cells[] = {cell.c_str(), "x"};
            AppendTableRow(t, cells, 2);
            expected += cell + "\tx\r\n";
        }
    });
    EXPECT_EQ(text.size(), expected.size());
    EXPECT_EQ(text, expected);
}

TEST(ProgramKeys, CtrlCCopiesCtrlFFindsF3GoesOnAndShiftF3Back)
{
    struct {
        UINT vk;
        bool ctrl, shift, alt;
        int command;
    } cases[] = {
        {'C', true, false, false, IDC_CTX_COPY},
        {'F', true, false, false, IDC_CTX_FIND},
        {VK_F3, false, false, false, IDC_CTX_FINDNEXT},
        {VK_F3, false, true, false, IDC_CTX_FINDPREV},
        // Everything else stays the dialog manager's and the controls'.
        {'C', false, false, false, 0},
        {'C', true, true, false, 0},
        {'C', true, false, true, 0},
        {'F', false, false, false, 0},
        {VK_F3, true, false, false, 0},
        {VK_F3, false, false, true, 0},
        {VK_F1, false, false, false, 0},
        {VK_ESCAPE, false, false, false, 0},
        {VK_TAB, false, false, false, 0},
        {VK_RETURN, false, false, false, 0},
        {'V', true, false, false, 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(ProgramKeyCommand(c.vk, c.ctrl, c.shift, c.alt), c.command)
            << c.vk << " ctrl " << c.ctrl << " shift " << c.shift << " alt " << c.alt;

    // Only a key going down is a command: its release and characters are not.
    MSG up = {};
    up.message = WM_KEYUP;
    up.wParam = VK_F3;
    EXPECT_EQ(ProgramKeyCommandOf(&up), 0);
    MSG ch = {};
    ch.message = WM_CHAR;
    ch.wParam = 3;
    EXPECT_EQ(ProgramKeyCommandOf(&ch), 0);
}

TEST(ContextMenus, TheMouseGivesItsPointTheKeyboardTheFallback)
{
    POINT fallback = {7, 9};
    POINT p = ContextMenuPoint(MAKELPARAM(120, 340), fallback);
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, 340);
    // A second monitor left of the first gives negative coordinates, which are points too.
    p = ContextMenuPoint(MAKELPARAM((WORD)(short)-20, 15), fallback);
    EXPECT_EQ(p.x, -20);
    EXPECT_EQ(p.y, 15);
    p = ContextMenuPoint((LPARAM)-1, fallback);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 9);
    p = ContextMenuPoint(MAKELPARAM(0xFFFF, 0xFFFF), fallback);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 9);
}

}  // namespace
