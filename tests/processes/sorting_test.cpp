// Sort states, their cycle, and the comparison callbacks on a small table of our own.
#include <windows.h>
#include <gtest/gtest.h>
#include <string.h>
#include "app/listview.h"
#include "app/settings.h"
#include "support/settings.h"
#include "processes/processes_page.h"
#include "processes/snapshot.h"

TEST(SortState, CycleAndOutOfRangeValues)
{
    EXPECT_EQ(SORT_ASCENDING, NextSortState(SORT_NONE));
    EXPECT_EQ(SORT_DESCENDING, NextSortState(SORT_ASCENDING));
    EXPECT_EQ(SORT_NONE, NextSortState(SORT_DESCENDING));
    EXPECT_EQ(SORT_ASCENDING, NextSortState(7)) << "a damaged state restarts the cycle";
    EXPECT_EQ(SORT_ASCENDING, NextSortState(-3));
}

TEST(SortState, ColumnCountMeansUnsortedAndNeverReadsTheNextList)
{
    SettingsGuard settings;
    // The thread states follow the process states in the record: ProcessSortStates[4] would
    // be ThreadSortStates[0].
    g_Options.ThreadSortStates[0] = SORT_DESCENDING;
    g_Options.ModuleSortStates[0] = SORT_ASCENDING;
    g_Options.ProcessSortStates[3] = SORT_ASCENDING;
    EXPECT_EQ(SORT_NONE, SortStateOf(g_Options.ProcessSortStates, PROCESS_COLUMNS, PROCESS_COLUMNS));
    EXPECT_EQ(SORT_NONE, SortStateOf(g_Options.ThreadSortStates, THREAD_COLUMNS, THREAD_COLUMNS));
    EXPECT_EQ(SORT_NONE, SortStateOf(g_Options.ProcessSortStates, PROCESS_COLUMNS, 0xFFFFFFFFu));
    EXPECT_EQ(SORT_ASCENDING, SortStateOf(g_Options.ProcessSortStates, PROCESS_COLUMNS, 3));
    g_Options.ProcessSortStates[3] = 9;
    EXPECT_EQ(SORT_NONE, SortStateOf(g_Options.ProcessSortStates, PROCESS_COLUMNS, 3));
}

TEST(SortState, ValueComparisonDoesNotOverflow)
{
    EXPECT_LT(CompareValues(0x10, 0xFFFFFFF0u), 0);
    EXPECT_GT(CompareValues(0x90000000u, 0x10), 0);
    EXPECT_EQ(0, CompareValues(5, 5));
    EXPECT_LT(CompareValues(-2, 3), 0);
}

TEST(SortState, AutomaticWidthSharesTheListEqually)
{
    // 400 pixels less four borders of 1 and a 17-pixel scroll bar leave 379.
    EXPECT_EQ(94, AutoColumnWidth(400, 4, 1, 17));
    EXPECT_EQ(126, AutoColumnWidth(400, 3, 1, 17));
    EXPECT_EQ(71, AutoColumnWidth(400, 5, 2, 37));
    EXPECT_EQ(0, AutoColumnWidth(10, 5, 1, 17));
    EXPECT_EQ(0, AutoColumnWidth(400, 0, 1, 17));
}

// Three records whose keys disagree column by column, so that every column has its own order.
class CompareCallbacks : public testing::Test {
protected:
    ProcessRecord procs[3];
    THREADENTRY32 threads[3];
    MODULEENTRY32 modules[3];
    SettingsGuard settings;

    void SetUp() override
    {
        memset(procs, 0, sizeof(procs));
        memset(threads, 0, sizeof(threads));
        memset(modules, 0, sizeof(modules));
        const char* exe[3] = {"C:\\b\\Zeta.exe", "C:\\a\\alpha.exe", "C:\\c\\Mid.exe"};
        DWORD pids[3] = {0x20, 0xFFFFFFF0u, 0x10};
        DWORD classes[3] = {HIGH_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS};
        const char* names[3] = {"mm", "ZZ", "aa"};
        for (int i = 0; i < 3; i++) {
            strcpy(procs[i].entry.szExeFile, exe[i]);
            procs[i].entry.th32ProcessID = pids[i];
            procs[i].priorityClass = classes[i];
            strcpy(procs[i].moduleName, names[i]);
            threads[i].th32ThreadID = pids[2 - i];
            threads[i].tpBasePri = 8 + i;
            threads[i].tpDeltaPri = 1 - i;
            strcpy(modules[i].szModule, names[2 - i]);
            modules[i].modBaseSize = 1000u * (unsigned)(i == 1 ? 3 : i);
            strcpy(modules[i].szExePath, exe[(i + 1) % 3]);
        }
        g_processTable = procs; g_processCount = 3;
        g_threadTable = threads; g_threadCount = 3;
        g_moduleTable = modules; g_moduleCount = 3;
    }
    void TearDown() override
    {
        g_processTable = NULL; g_processCount = 0;
        g_threadTable = NULL; g_threadCount = 0;
        g_moduleTable = NULL; g_moduleCount = 0;
    }
    static int Sign(int v) { return (v > 0) - (v < 0); }
};

TEST_F(CompareCallbacks, EveryColumnAscendingDescending)
{
    struct Case { int list; int column; int expect01, expect02, expect12; };
    // list 0 processes, 1 threads, 2 modules; expected signs for ascending order.
    const Case cases[] = {
        {0, 0, 1, 1, -1},    // Zeta, alpha, Mid: case-insensitive names
        {0, 1, -1, 1, 1},    // 0x20, 0xFFFFFFF0, 0x10: no overflowing difference
        {0, 2, 1, 1, -1},    // high 0x80, normal 0x20, idle 0x40: numeric class order
        {0, 3, -1, 1, 1},    // mm, ZZ, aa
        {1, 0, -1, -1, -1},  // snapshot order
        {1, 1, -1, -1, 1},   // 0x10, 0xFFFFFFF0, 0x20
        {1, 2, -1, -1, -1},  // base 8, 9, 10
        {1, 3, -1, -1, -1},  // relative priority follows the base priority
        {1, 4, 1, 1, 1},     // delta 1, 0, -1
        {2, 0, -1, -1, 1},   // aa, ZZ, mm
        {2, 1, -1, -1, 1},   // 0, 3000, 2000
        {2, 2, -1, -1, 1},   // C:\a, C:\c, C:\b
    };
    for (const Case& c : cases) {
        int8_t* states = c.list == 0 ? g_Options.ProcessSortStates
                       : c.list == 1 ? g_Options.ThreadSortStates : g_Options.ModuleSortStates;
        uint32_t* column = c.list == 0 ? &g_Options.ProcessSortColumn
                         : c.list == 1 ? &g_Options.ThreadSortColumn : &g_Options.ModuleSortColumn;
        PFNLVCOMPARE cmp = c.list == 0 ? CompareProcesses : c.list == 1 ? CompareThreads : CompareModules;
        *column = (uint32_t)c.column;
        states[c.column] = SORT_ASCENDING;
        int s01 = Sign(cmp(0, 1, c.column)), s02 = Sign(cmp(0, 2, c.column)), s12 = Sign(cmp(1, 2, c.column));
        states[c.column] = SORT_DESCENDING;
        int d01 = Sign(cmp(0, 1, c.column));
        states[c.column] = SORT_NONE;
        SCOPED_TRACE(testing::Message() << "list " << c.list << " column " << c.column);
        EXPECT_EQ(-s01, d01);
        EXPECT_EQ(0, Sign(cmp(1, 1, c.column)));
        EXPECT_EQ(c.expect01, s01);
        EXPECT_EQ(c.expect02, s02);
        EXPECT_EQ(c.expect12, s12);
    }
}

TEST_F(CompareCallbacks, IndicesOutsideTheTablesCompareEqual)
{
    g_Options.ProcessSortColumn = 1;
    g_Options.ProcessSortStates[1] = SORT_ASCENDING;
    EXPECT_EQ(0, CompareProcesses(0, 3, 1));
    EXPECT_EQ(0, CompareProcesses(-1, 0, 1));
    EXPECT_EQ(0, CompareModules(0, 99, 0));
}
