// Name tables of priorities, the class/button mapping and the field scanner.
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include "processes/fields.h"
#include "processes/priority_names.h"
#include "processes/process_info.h"

TEST(PriorityNames, ClassNamesIncludingUndocumentedValues)
{
    const struct { DWORD cls; const char* text; } cases[] = {
        {0, ""},
        {IDLE_PRIORITY_CLASS, "idle"},
        {NORMAL_PRIORITY_CLASS, "normal"},
        {HIGH_PRIORITY_CLASS, "high"},
        {REALTIME_PRIORITY_CLASS, "real time"},
        {BELOW_NORMAL_PRIORITY_CLASS, "16384 (undocumented)"},
        {ABOVE_NORMAL_PRIORITY_CLASS, "32768 (undocumented)"},
        {0xFFFFFFFFu, "-1 (undocumented)"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.text, PriorityClassName(c.cls)) << c.cls;
}

TEST(PriorityNames, UndocumentedClassTextStaysInsideItsBuffer)
{
    char tail[PRIORITY_NAME_CHARS];
    memset(tail, 'x', sizeof(tail) - 1);
    tail[sizeof(tail) - 1] = '\0';
    char out[PRIORITY_NAME_CHARS + 16];
    memset(out, '#', sizeof(out));
    FormatUndocumentedClass(0x80000000u, tail, out, PRIORITY_NAME_CHARS);
    EXPECT_EQ(PRIORITY_NAME_CHARS - 1, (int)strlen(out));
    EXPECT_EQ(0, strncmp(out, "-2147483648 xxx", 15));
    for (size_t i = PRIORITY_NAME_CHARS; i < sizeof(out); i++) EXPECT_EQ('#', out[i]) << i;
}

TEST(PriorityNames, RelativeThreadPriorities)
{
    const struct { int rel; const char* text; } cases[] = {
        {-15, "idle"}, {-2, "lowest"}, {-1, "below normal"}, {0, "normal"}, {1, "above normal"},
        {2, "highest"}, {15, "time critical"}, {3, ""}, {-3, ""}, {5, ""}, {16, ""}, {-16, ""},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.text, ThreadPriorityName(c.rel)) << c.rel;
    // A thread at base 10 in a normal-class process is "highest"; at 13 it has no name.
    EXPECT_STREQ("highest", ThreadPriorityName(ThreadRelativePriority(10, 8, false)));
    EXPECT_STREQ("", ThreadPriorityName(ThreadRelativePriority(13, 8, false)));
}

TEST(PriorityNames, ClassBaseFromClassOrFromEitherToolhelpConvention)
{
    const struct { DWORD cls; LONG toolhelp; bool wine; int base; } cases[] = {
        {NORMAL_PRIORITY_CLASS, 2, true, 8},     // the class read decides
        {HIGH_PRIORITY_CLASS, 13, false, 13},
        {REALTIME_PRIORITY_CLASS, 4, true, 24},
        {BELOW_NORMAL_PRIORITY_CLASS, 5, true, 6},
        {ABOVE_NORMAL_PRIORITY_CLASS, 10, false, 10},
        {IDLE_PRIORITY_CLASS, 1, true, 4},
        {0, 8, false, 8},                        // class unreadable: Windows gives the base
        {0, 4, false, 4},
        {0, 4, true, 24},                        // Wine's real-time code, not the idle base
        {0, 2, true, 8},
        {0, 6, true, 10},
        {0, 9, true, 0},                         // no Wine code: unknown
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.base, ClassBasePriority(c.cls, c.toolhelp, c.wine)) << c.cls << " " << c.toolhelp << " " << c.wine;
}

TEST(PriorityNames, ThreadPriorityInEitherToolhelpConvention)
{
    const struct { LONG tpBasePri; int classBase; bool wine; int base; int relative; } cases[] = {
        {8, 8, false, 8, 0},
        {10, 8, false, 10, 2},
        {6, 8, false, 6, -2},
        {0, 8, true, 8, 0},          // Wine: tpBasePri is already relative
        {2, 13, true, 15, 2},
        {-1, 4, true, 3, -1},
        {-15, 8, true, 1, -15},      // idle and time critical saturate as on Windows
        {15, 8, true, 15, 15},
        {-15, 24, true, 16, -15},
        {15, 24, true, 31, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tpBasePri << " in " << c.classBase << (c.wine ? " (wine)" : ""));
        EXPECT_EQ(c.base, ThreadBasePriority(c.tpBasePri, c.classBase, c.wine));
        EXPECT_EQ(c.relative, ThreadRelativePriority(c.tpBasePri, c.classBase, c.wine));
    }
}

TEST(PriorityButtons, EveryButtonedClassMapsBothWaysOthersToNone)
{
    const struct { int button; DWORD cls; } pairs[] = {
        {11003, IDLE_PRIORITY_CLASS}, {11004, NORMAL_PRIORITY_CLASS},
        {11005, HIGH_PRIORITY_CLASS}, {11006, REALTIME_PRIORITY_CLASS},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(p.button, PriorityClassButton(p.cls));
        EXPECT_EQ(p.cls, ButtonPriorityClass(p.button));
    }
    EXPECT_EQ(0, PriorityClassButton(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(0, PriorityClassButton(ABOVE_NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(0, PriorityClassButton(0));
    EXPECT_EQ(0u, ButtonPriorityClass(11002));
}

TEST(Fields, HexScan)
{
    const struct { const char* text; DWORD value; } cases[] = {
        {"01F4", 500}, {"0008", 8}, {"12345", 0x12345}, {"FFFFFFFF", 0xFFFFFFFFu}, {"1a2b", 0x1A2B},
        {"", 0}, {"xyz", 0}, {"  7F", 0x7F}, {"0000", 0},
        // The value parsed so far: no sign, no prefix, nothing beyond 32 bits.
        {"12x4", 0x12}, {"-5", 0}, {"+5", 0}, {"0x10", 0}, {"123456789", 0x12345678u},
        {"FFFFFFFFF", 0xFFFFFFFFu}, {"000000000001", 1}, {"\t9", 9},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, ParseHexField(c.text)) << c.text;
}
