// Settings record: stored layout, defaults, validation of what the registry hands back, and the
// small pure rules around it (run-at-logon command, session flags, command line, help path).
#include <gtest/gtest.h>
#include <string.h>
#include "app/settings.h"
#include "app/session.h"
#include "app/startup.h"
#include "app/help.h"
#include "resource.h"
#include "unit/random_options.h"
#include <stdio.h>

namespace {

template <class T> T At(const OptionsRecord& r, size_t off)
{
    T v;
    memcpy(&v, (const char*)&r + off, sizeof(T));
    return v;
}

TEST(OptionsRecord, DefaultsSitAtTheirStoredOffsets)
{
    OptionsRecord r;
    memset(&r, 0xAB, sizeof(r));
    SetOptionsDefaults(&r);
    EXPECT_EQ(At<uint32_t>(r, 0), 0x07B3DE3Au);
    EXPECT_EQ(At<uint32_t>(r, 4), 168u);
    EXPECT_EQ(At<int32_t>(r, 8), -100000);
    EXPECT_EQ(At<int32_t>(r, 12), -100000);
    EXPECT_EQ(At<int8_t>(r, 16), 0);
    for (size_t off = 40; off < 92; off += 4) EXPECT_EQ(At<int32_t>(r, off), -1) << off;
    EXPECT_EQ(At<uint32_t>(r, 92), 4u);
    EXPECT_EQ(At<uint32_t>(r, 96), 5u);
    EXPECT_EQ(At<uint32_t>(r, 100), 3u);
    EXPECT_EQ(At<uint32_t>(r, 104), 1u);
    EXPECT_EQ(At<int32_t>(r, 128), 160);
    EXPECT_EQ(At<int32_t>(r, 132), 120);
    EXPECT_EQ(At<uint32_t>(r, 140), 8031u);
    EXPECT_EQ(At<uint32_t>(r, 156), 1u);
    // Everything the defaults do not name is zero, padding included.
    const size_t zeroRanges[][2] = {{16, 40}, {108, 128}, {136, 140}, {144, 156}, {160, 168}};
    for (auto& z : zeroRanges)
        for (size_t off = z[0]; off < z[1]; off++)
            EXPECT_EQ(((const unsigned char*)&r)[off], 0) << "offset " << off;
}

TEST(OptionsRecord, StoredValueIsAcceptedOnlyWithSignatureAndExactSize)
{
    OptionsRecord r;
    SetOptionsDefaults(&r);
    unsigned char buf[200];
    memcpy(buf, &r, sizeof(r));
    EXPECT_TRUE(AcceptStoredOptions(buf, 168));
    EXPECT_FALSE(AcceptStoredOptions(buf, 167));
    EXPECT_FALSE(AcceptStoredOptions(buf, 169));

    uint32_t bad = 169;
    memcpy(buf + 4, &bad, 4);
    EXPECT_FALSE(AcceptStoredOptions(buf, 168)) << "size field must equal the bytes read";
    memcpy(buf, &r, sizeof(r));
    bad = 0x07B3DE3B;
    memcpy(buf, &bad, 4);
    EXPECT_FALSE(AcceptStoredOptions(buf, 168)) << "signature";
}

TEST(OptionsRecord, ValidRecordPassesUnchanged)
{
    OptionsRecord r;
    SetOptionsDefaults(&r);
    r.PageIndex = 4;
    r.ProcessSortColumn = 2;
    r.ProcessSortStates[2] = SORT_DESCENDING;
    r.ThreadSortColumn = 5;
    r.CaptureArea = 6;
    r.CaptureDestination = 8033;
    r.MainDlgX = -5;
    r.MainDlgWidth = 900;
    r.MainDlgHeight = 700;
    r.TaskColumnWidths[0] = 0;
    OptionsRecord before = r;
    EXPECT_EQ(ValidateOptions(&r), 0);
    EXPECT_EQ(memcmp(&before, &r, sizeof(r)), 0);
}

// Each case spoils one field; validation must bring back that field's default (or its safe
// equivalent) and leave every other byte alone.
struct BadField {
    const char* name;
    void (*spoil)(OptionsRecord*);
    void (*expect)(const OptionsRecord&);
};

const BadField kBadFields[] = {
    {"PageIndex 5", [](OptionsRecord* r) { r->PageIndex = 5; }, [](const OptionsRecord& r) { EXPECT_EQ(r.PageIndex, 0); }},
    {"PageIndex -1", [](OptionsRecord* r) { r->PageIndex = -1; }, [](const OptionsRecord& r) { EXPECT_EQ(r.PageIndex, 0); }},
    {"ProcessSortColumn 5", [](OptionsRecord* r) { r->ProcessSortColumn = 5; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.ProcessSortColumn, 4u); }},
    {"ThreadSortColumn huge", [](OptionsRecord* r) { r->ThreadSortColumn = 0xFFFFFFFFu; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.ThreadSortColumn, 5u); }},
    {"ModuleSortColumn 4", [](OptionsRecord* r) { r->ModuleSortColumn = 4; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.ModuleSortColumn, 3u); }},
    {"TaskSortColumn 2", [](OptionsRecord* r) { r->TaskSortColumn = 2; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.TaskSortColumn, 1u); }},
    {"sort state 3", [](OptionsRecord* r) { r->ThreadSortStates[4] = 3; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.ThreadSortStates[4], 0); }},
    {"sort state -2", [](OptionsRecord* r) { r->ModuleSortStates[0] = -2; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.ModuleSortStates[0], 0); }},
    {"CaptureArea 7", [](OptionsRecord* r) { r->CaptureArea = 7; }, [](const OptionsRecord& r) { EXPECT_EQ(r.CaptureArea, 0); }},
    {"CaptureArea -1", [](OptionsRecord* r) { r->CaptureArea = -1; }, [](const OptionsRecord& r) { EXPECT_EQ(r.CaptureArea, 0); }},
    {"CaptureDestination 8034", [](OptionsRecord* r) { r->CaptureDestination = 8034; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.CaptureDestination, 8031u); }},
    {"CaptureWidth 0", [](OptionsRecord* r) { r->CaptureWidth = 0; }, [](const OptionsRecord& r) { EXPECT_EQ(r.CaptureWidth, 160); }},
    {"CaptureHeight negative", [](OptionsRecord* r) { r->CaptureHeight = -40; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.CaptureHeight, 120); }},
    {"CaptureWidth absurd", [](OptionsRecord* r) { r->CaptureWidth = 0x7FFFFFFF; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.CaptureWidth, 160); }},
    {"column width -7", [](OptionsRecord* r) { r->ProcessColumnWidths[1] = -7; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.ProcessColumnWidths[1], -1); }},
    {"column width absurd", [](OptionsRecord* r) { r->TaskColumnWidths[0] = 0x7FFFFFFF; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.TaskColumnWidths[0], -1); }},
    {"MainDlgWidth negative", [](OptionsRecord* r) { r->MainDlgWidth = -800; r->MainDlgHeight = 600; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.MainDlgWidth, 0); EXPECT_EQ(r.MainDlgHeight, 0); }},
    {"MainDlgHeight absurd", [](OptionsRecord* r) { r->MainDlgWidth = 800; r->MainDlgHeight = 0x7FFFFFFF; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.MainDlgWidth, 0); EXPECT_EQ(r.MainDlgHeight, 0); }},
    {"MainDlgX extreme", [](OptionsRecord* r) { r->MainDlgX = INT32_MIN; r->MainDlgY = 10; },
     [](const OptionsRecord& r) { EXPECT_EQ(r.MainDlgX, -100000); EXPECT_EQ(r.MainDlgY, -100000); }},
    {"check box 7", [](OptionsRecord* r) { r->SkipWarnings = 7; }, [](const OptionsRecord& r) { EXPECT_EQ(r.SkipWarnings, 1u); }},
};

TEST(OptionsRecord, OutOfRangeFieldsFallBackToTheirDefaults)
{
    for (const BadField& c : kBadFields) {
        SCOPED_TRACE(c.name);
        OptionsRecord good;
        SetOptionsDefaults(&good);
        good.MainDlgX = 50;
        good.MainDlgY = 60;
        OptionsRecord r = good;
        c.spoil(&r);
        EXPECT_GT(ValidateOptions(&r), 0);
        c.expect(r);
        // Nothing else moved: fix the expected field back and compare the whole record.
        OptionsRecord spoiled = good;
        c.spoil(&spoiled);
        int differing = 0;
        for (size_t i = 0; i < sizeof(r); i++)
            if (((unsigned char*)&r)[i] != ((unsigned char*)&good)[i] &&
                ((unsigned char*)&r)[i] == ((unsigned char*)&spoiled)[i])
                differing++;
        EXPECT_EQ(differing, 0) << "a spoiled byte survived validation";
    }
}

TEST(OptionsRecord, TenThousandRandomStoredRecordsLoadWithEveryFieldInRange)
{
    const uint64_t seed = FuzzSeed(0x5EED0168);
    const int kRecords = 10000;
    OptionsRandom rnd(seed);
    const std::vector<OptionsField> fields = OptionsFields();
    long loaded = 0, fieldsReset = 0, untouched = 0, failures = 0;
    for (int n = 0; n < kRecords && failures < 20; n++) {
        unsigned char stored[OPTIONS_SIZE];
        RandomStoredOptions(rnd, stored);
        OptionsRecord rec;
        memset(&rec, 0xCD, sizeof(rec));
        if (!LoadOptionsFrom(stored, sizeof(stored), &rec)) {
            ADD_FAILURE() << "record " << n << " (seed " << seed << ") was refused";
            failures++;
            continue;
        }
        loaded++;
        // A group keeps its stored values when all of them were in range; otherwise it is reset.
        std::vector<bool> groupOk(3, true);
        for (const OptionsField& f : fields) groupOk[f.group] = groupOk[f.group] && FieldInRange(stored, f);
        bool same = true;
        for (const OptionsField& f : fields) {
            const bool kept = f.group ? groupOk[f.group] : FieldInRange(stored, f);
            if (!FieldInRange(&rec, f)) {
                ADD_FAILURE() << "record " << n << " (seed " << seed << "): " << f.name << " = " << FieldValue(&rec, f)
                              << " after loading " << FieldValue(stored, f);
                failures++;
            } else if (kept && FieldValue(&rec, f) != FieldValue(stored, f)) {
                ADD_FAILURE() << "record " << n << " (seed " << seed << "): " << f.name << " " << FieldValue(stored, f)
                              << " was in range but became " << FieldValue(&rec, f);
                failures++;
            }
            if (FieldValue(&rec, f) != FieldValue(stored, f)) {
                same = false;
                fieldsReset++;
            }
        }
        untouched += same;
        EXPECT_EQ(rec.Signature, OPTIONS_SIGNATURE);
        EXPECT_EQ(rec.RecordSize, (uint32_t)OPTIONS_SIZE);
        OptionsRecord again = rec;
        EXPECT_EQ(ValidateOptions(&again), 0) << "record " << n << ": a loaded record is already valid";
    }
    printf("  settings fuzz (seed 0x%llX): %d records, %ld loaded, %ld fields reset, %ld loaded unchanged\n",
           (unsigned long long)seed, kRecords, loaded, fieldsReset, untouched);
    EXPECT_EQ(loaded, kRecords);
}

TEST(ExtraOptions, AStoredFlagCountsOnlyAsAFourByteDword)
{
    // Each value beside the record is read on its own: whatever another program or an older
    // version left there, the flag is 0 or 1, and anything unreadable keeps the default.
    const struct {
        const char* name;
        LONG result;
        DWORD type, bytes, data;
        uint32_t fallback, want;
    } cases[] = {
        {"missing, default on", ERROR_FILE_NOT_FOUND, 0, 0, 0, 1, 1},
        {"missing, default off", ERROR_FILE_NOT_FOUND, 0, 0, 0, 0, 0},
        {"zero", ERROR_SUCCESS, REG_DWORD, 4, 0, 1, 0},
        {"one", ERROR_SUCCESS, REG_DWORD, 4, 1, 0, 1},
        {"any other number", ERROR_SUCCESS, REG_DWORD, 4, 0x80000000u, 0, 1},
        {"a string", ERROR_SUCCESS, REG_SZ, 2, '0', 1, 1},
        {"binary of four bytes", ERROR_SUCCESS, REG_BINARY, 4, 0, 1, 1},
        {"too large to read", ERROR_MORE_DATA, REG_DWORD, 8, 0, 1, 1},
        {"a short dword", ERROR_SUCCESS, REG_DWORD, 2, 0, 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredFlag(c.result, c.type, c.bytes, c.data, c.fallback), c.want) << c.name;
}

TEST(ExtraOptions, TheMagnifierIsOnUntilTheUserTurnsItOffAndTheColumnsDpiIsNotKnown)
{
    ExtraOptions e;
    memset(&e, 0xAB, sizeof(e));
    SetExtraOptionsDefaults(&e);
    EXPECT_EQ(e.ShowMagnifier, 1u);
    EXPECT_EQ(e.ColumnDpi, 0u);
}

TEST(ExtraOptions, AStoredDpiIsAFourByteDwordOfAPlausibleDpi)
{
    const struct {
        const char* name;
        LONG result;
        DWORD type, bytes, data;
        uint32_t want;
    } cases[] = {
        {"missing", ERROR_FILE_NOT_FOUND, 0, 0, 0, 0},
        {"96", ERROR_SUCCESS, REG_DWORD, 4, 96, 96},
        {"144", ERROR_SUCCESS, REG_DWORD, 4, 144, 144},
        {"the least taken", ERROR_SUCCESS, REG_DWORD, 4, 48, 48},
        {"the most taken", ERROR_SUCCESS, REG_DWORD, 4, 1536, 1536},
        {"zero", ERROR_SUCCESS, REG_DWORD, 4, 0, 0},
        {"too small", ERROR_SUCCESS, REG_DWORD, 4, 47, 0},
        {"too large", ERROR_SUCCESS, REG_DWORD, 4, 1537, 0},
        {"negative", ERROR_SUCCESS, REG_DWORD, 4, 0xFFFFFFA0u, 0},
        {"binary", ERROR_SUCCESS, REG_BINARY, 4, 96, 0},
        {"a short dword", ERROR_SUCCESS, REG_DWORD, 2, 96, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(StoredDpi(c.result, c.type, c.bytes, c.data), c.want) << c.name;
}

TEST(ExtraOptions, RebasingMeasuresEveryStoredWidthAtTheNewDpi)
{
    OptionsRecord rec;
    SetOptionsDefaults(&rec);
    const int32_t process[PROCESS_COLUMNS] = {100, -1, 0, 333};
    memcpy(rec.ProcessColumnWidths, process, sizeof(process));
    rec.ThreadColumnWidths[1] = 50;
    rec.ModuleColumnWidths[2] = 81;
    rec.TaskColumnWidths[0] = 400;

    OptionsRecord same = rec;
    RebaseColumnWidths(&same, 0, 144);
    EXPECT_EQ(0, memcmp(&same, &rec, sizeof(rec))) << "a DPI not known leaves the widths as stored";
    RebaseColumnWidths(&same, 120, 120);
    EXPECT_EQ(0, memcmp(&same, &rec, sizeof(rec)));

    OptionsRecord up = rec;
    RebaseColumnWidths(&up, 96, 144);
    EXPECT_EQ(150, up.ProcessColumnWidths[0]);
    EXPECT_EQ(-1, up.ProcessColumnWidths[1]) << "an equal share stays one";
    EXPECT_EQ(0, up.ProcessColumnWidths[2]);
    EXPECT_EQ(500, up.ProcessColumnWidths[3]) << "499.5 rounds up";
    EXPECT_EQ(75, up.ThreadColumnWidths[1]);
    EXPECT_EQ(-1, up.ThreadColumnWidths[0]);
    EXPECT_EQ(122, up.ModuleColumnWidths[2]);
    EXPECT_EQ(600, up.TaskColumnWidths[0]);
    // Only the widths change, and back at 96 DPI they are what they were.
    RebaseColumnWidths(&up, 144, 96);
    EXPECT_EQ(0, memcmp(&up, &rec, sizeof(rec)));
}

TEST(RunAtLogon, CommandQuotesPathsWithBlanks)
{
    char out[300];
    struct { const char* path; const char* expected; } cases[] = {
        {"C:\\Tools\\Vantix.exe", "C:\\Tools\\Vantix.exe t"},
        {"C:\\Program Files\\Vantix\\Vantix.exe", "\"C:\\Program Files\\Vantix\\Vantix.exe\" t"},
    };
    for (auto& c : cases) {
        ASSERT_TRUE(BuildRunAtLogonCommand(c.path, out, sizeof(out)));
        EXPECT_STREQ(out, c.expected);
    }
    char small[8];
    EXPECT_FALSE(BuildRunAtLogonCommand("C:\\Tools\\Vantix.exe", small, sizeof(small)));
}

TEST(QuitSession, FlagsPerModeAndPowerOff)
{
    EXPECT_EQ(QuitSessionFlags(0, false), (UINT)EWX_LOGOFF);
    EXPECT_EQ(QuitSessionFlags(0, true), (UINT)EWX_LOGOFF);
    EXPECT_EQ(QuitSessionFlags(1, false), (UINT)EWX_SHUTDOWN);
    EXPECT_EQ(QuitSessionFlags(1, true), (UINT)EWX_POWEROFF);
    EXPECT_EQ(QuitSessionFlags(2, false), (UINT)EWX_REBOOT);
    EXPECT_EQ(QuitSessionFlags(2, true), (UINT)EWX_REBOOT);
}

TEST(CommandLine, OnlyALeadingTStartsInTheTray)
{
    EXPECT_TRUE(StartsInTray("t"));
    EXPECT_TRUE(StartsInTray("T"));
    EXPECT_TRUE(StartsInTray("tray please"));
    EXPECT_FALSE(StartsInTray(" t"));
    EXPECT_FALSE(StartsInTray(""));
    EXPECT_FALSE(StartsInTray("x t"));
    EXPECT_FALSE(StartsInTray(nullptr));
}

TEST(HelpFile, SameNameAndFolderWithChmExtension)
{
    char out[MAX_PATH];
    BuildHelpFilePath("C:\\Tools\\Vantix.exe", out, sizeof(out));
    EXPECT_STREQ(out, "C:\\Tools\\Vantix.chm");
    BuildHelpFilePath("D:\\x\\renamed.EXE", out, sizeof(out));
    EXPECT_STREQ(out, "D:\\x\\renamed.chm");
}

}  // namespace
