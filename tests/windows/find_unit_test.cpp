// What the Find box of the Windows page counts as a match, and where it goes next: pure rules.
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "windows/find_box.h"

namespace {

TEST(FindKeys, EachKindOfKeyFindsItsItem)
{
    FindKeys keys = {"\"Untitled - Notepad\"    [Notepad]", "Notepad", "notepad", 0x0001002A};
    struct {
        const char* what;
        bool matchCase;
        bool found;
    } cases[] = {
        {"Untitled", false, true},          // title
        {"untitled", false, true},
        {"untitled", true, false},          // Match case
        {"Untitled", true, true},
        {"- Note", true, true},
        {"NOTEPAD", false, true},           // class and process, any case
        {"NOTEPAD", true, false},
        {"1002A", false, true},             // the handle's digits
        {"1002a", true, true},              // hexadecimal digits in any case, Match case or not
        {"0x1002A", false, true},
        {"0X0001002a", false, true},        // with the leading zeros of eight places
        {"0001002A", true, true},
        {"00001002A", false, false},        // nine digits are no window handle
        {"0x", false, false},               // nothing after the 0x
        {"2A", false, true},                // contains: any part of the digits
        {"1003", false, false},
        {"Wordpad", false, false},
        {"", false, false},                 // nothing to look for finds nothing
    };
    for (auto& c : cases) EXPECT_EQ(FindKeysMatch(keys, c.what, c.matchCase), c.found) << c.what << " " << c.matchCase;
}

TEST(FindKeys, TheProcessNameAndTheClassAreKeysOfTheirOwn)
{
    // An untitled child: its item says only "", so the class and the program must find it.
    FindKeys keys = {"\"\"", "VantixTreeChild", "windows_fixture", 0x000300F0};
    EXPECT_TRUE(FindKeysMatch(keys, "TreeChild", true));
    EXPECT_TRUE(FindKeysMatch(keys, "windows_fix", true));
    EXPECT_TRUE(FindKeysMatch(keys, "Windows_Fix", false));
    EXPECT_FALSE(FindKeysMatch(keys, "Windows_Fix", true));
    EXPECT_TRUE(FindKeysMatch(keys, "300f0", false));
    // Missing keys are no match and no fault.
    FindKeys bare = {NULL, NULL, NULL, 0};
    EXPECT_FALSE(FindKeysMatch(bare, "x", false));
    EXPECT_TRUE(FindKeysMatch(bare, "0000", false)) << "the handle 0 has eight zeros";
}

struct Marks {
    std::vector<bool> match;
};

bool Marked(int index, void* context)
{
    return ((Marks*)context)->match[(size_t)index];
}

TEST(FindSteps, NextAndPreviousGoRoundAtTheEndsAndSayWhenTheyDid)
{
    // Items 0..7; 2 and 5 match.
    Marks m = {{false, false, true, false, false, true, false, false}};
    struct {
        int current;
        bool forward;
        int found;
        bool wrapped;
    } cases[] = {
        {-1, true, 2, false},   // from before the first
        {0, true, 2, false},
        {2, true, 5, false},    // the current item itself is passed over first
        {5, true, 2, true},     // past the end, round to the top
        {7, true, 2, true},
        {-1, false, 5, false},  // from after the last
        {7, false, 5, false},
        {5, false, 2, false},
        {2, false, 5, true},    // past the top, round to the end
        {0, false, 5, true},
        {99, true, 2, false},   // a current index out of range starts afresh
    };
    for (auto& c : cases) {
        bool wrapped = !c.wrapped;
        EXPECT_EQ(NextMatchingIndex(8, c.current, c.forward, Marked, &m, &wrapped), c.found)
            << "from " << c.current << (c.forward ? " on" : " back");
        EXPECT_EQ(wrapped, c.wrapped) << "from " << c.current << (c.forward ? " on" : " back");
    }

    // The only match is the current item: found again after going round.
    Marks one = {{false, false, false, true}};
    bool wrapped = false;
    EXPECT_EQ(NextMatchingIndex(4, 3, true, Marked, &one, &wrapped), 3);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(NextMatchingIndex(4, 3, false, Marked, &one, &wrapped), 3);
    EXPECT_TRUE(wrapped);

    // Nothing matches: -1, and no word of going round.
    Marks none = {{false, false, false}};
    EXPECT_EQ(NextMatchingIndex(3, 1, true, Marked, &none, &wrapped), -1);
    EXPECT_FALSE(wrapped);
    EXPECT_EQ(NextMatchingIndex(0, -1, true, Marked, &none, &wrapped), -1);
    EXPECT_FALSE(wrapped);
}

}  // namespace
