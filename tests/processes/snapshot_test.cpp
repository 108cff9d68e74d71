// The snapshot against fixture processes of ours with known names, threads and modules.
#include <windows.h>
#include <gtest/gtest.h>
#include <psapi.h>
#include <string>
#include "support/processes.h"
#include "processes/snapshot.h"

// The fixture runs the main thread and 3 idle ones, and has a library of our choice loaded.
static const char* kLibrary = "msimg32.dll";
static const int kExtraThreads = 3;

static int RecordOf(DWORD pid)
{
    for (int i = 0; i < g_processCount; i++)
        if (g_processTable[i].entry.th32ProcessID == pid) return i;
    return -1;
}

static std::string LibraryPath()
{
    HMODULE h = LoadLibraryA(kLibrary);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(h, path, sizeof(path));
    return path;
}

TEST(Snapshot, ListsFixtureWithPathThreadsAndModules)
{
    FixtureProcess fx("snapshot fixture", "--threads 3 --load msimg32.dll");
    ASSERT_TRUE(fx.Window()) << "fixture did not start: " << FixtureProcess::ExePath();
    ASSERT_TRUE(TakeProcessSnapshot());
    int i = RecordOf(fx.Pid());
    ASSERT_GE(i, 0);
    const ProcessRecord& rec = g_processTable[i];
    EXPECT_EQ(0, lstrcmpiA(FixtureProcess::ExePath().c_str(), rec.entry.szExeFile)) << rec.entry.szExeFile;
    EXPECT_EQ(0, lstrcmpiA(rec.entry.szExeFile, rec.mainModule.szExePath));
    EXPECT_STREQ("vantix_fixture", rec.moduleName);
    EXPECT_STREQ("vantix_fixture", rec.mainModule.szModule);
    EXPECT_EQ(fx.Pid(), rec.mainModule.th32ProcessID);
    EXPECT_EQ(0xFFFFu, rec.mainModule.GlblcntUsage);
    EXPECT_GT(rec.mainModule.modBaseSize, 0u);
    EXPECT_EQ((DWORD)NORMAL_PRIORITY_CLASS, rec.priorityClass);

    int threads = 0;
    for (int t = 0; t < g_threadCount; t++)
        if (g_threadTable[t].th32OwnerProcessID == fx.Pid()) threads++;
    EXPECT_EQ(1 + kExtraThreads, threads);

    // The module range: the main module first, the library among the rest, all of this process.
    int end = ModuleRangeEnd(i);
    ASSERT_GT(end, rec.firstModule);
    EXPECT_EQ(0, memcmp(&rec.mainModule, &g_moduleTable[rec.firstModule], sizeof(MODULEENTRY32)));
    std::string lib = LibraryPath();
    int libIndex = -1;
    for (int m = rec.firstModule; m < end; m++) {
        EXPECT_EQ(fx.Pid(), g_moduleTable[m].th32ProcessID);
        if (lstrcmpiA(g_moduleTable[m].szExePath, lib.c_str()) == 0) libIndex = m;
    }
    ASSERT_GE(libIndex, 0) << "library " << lib << " not among the fixture's modules";
    EXPECT_STREQ("msimg32", g_moduleTable[libIndex].szModule);
    MODULEINFO own;
    GetModuleInformation(GetCurrentProcess(), GetModuleHandleA(kLibrary), &own, sizeof(own));
    EXPECT_EQ(own.SizeOfImage, g_moduleTable[libIndex].modBaseSize);

    // Ranges chain: each record starts where the previous one ended; the last ends at the count.
    for (int r = 0; r + 1 < g_processCount; r++)
        EXPECT_LE(g_processTable[r].firstModule, g_processTable[r + 1].firstModule);
    EXPECT_EQ(g_moduleCount, ModuleRangeEnd(g_processCount - 1));
    DiscardProcessSnapshot();
    EXPECT_EQ(0, g_processCount);
    EXPECT_EQ(-1, g_iProcessSel);
}

TEST(Snapshot, OwnProcessIsNotListedButItsThreadsAre)
{
    ASSERT_TRUE(TakeProcessSnapshot());
    EXPECT_EQ(-1, RecordOf(GetCurrentProcessId()));
    int own = 0;
    for (int t = 0; t < g_threadCount; t++)
        if (g_threadTable[t].th32OwnerProcessID == GetCurrentProcessId()) own++;
    EXPECT_GE(own, 1);
    // Whatever the platform lists as identifier 0 has no modules and no class.
    int idle = RecordOf(0);
    if (idle >= 0) {
        EXPECT_EQ(0u, g_processTable[idle].priorityClass);
        EXPECT_STREQ("", g_processTable[idle].moduleName);
        EXPECT_EQ(ModuleRangeEnd(idle), g_processTable[idle].firstModule);
    }
    DiscardProcessSnapshot();
}

TEST(Snapshot, LookupsByIdentifierLeaveTheTablesAlone)
{
    FixtureProcess fx("lookup fixture", "");
    ASSERT_TRUE(fx.Window());
    ASSERT_TRUE(TakeProcessSnapshot());
    MODULEENTRY32* table = g_moduleTable;
    int count = g_moduleCount;
    int i = RecordOf(fx.Pid());
    ASSERT_GE(i, 0);
    int first = g_processTable[i].firstModule;

    const PROCESSENTRY32* pe = ProcessEntryFor(fx.Pid());
    EXPECT_EQ(fx.Pid(), pe->th32ProcessID);
    EXPECT_EQ(GetCurrentProcessId(), pe->th32ParentProcessID);
    EXPECT_EQ(0, lstrcmpiA(FixtureProcess::ExePath().c_str(), pe->szExeFile));
    const ProcessRecord* rec = ProcessRecordFor(fx.Pid());
    EXPECT_STREQ("vantix_fixture", rec->moduleName);
    EXPECT_EQ(0, lstrcmpiA(FixtureProcess::ExePath().c_str(), rec->mainModule.szExePath));
    EXPECT_EQ(0u, rec->priorityClass);
    EXPECT_EQ(0, rec->firstModule);
    const MODULEENTRY32* main = MainModuleEntryFor(fx.Pid());
    EXPECT_STREQ("vantix_fixture", main->szModule);
    EXPECT_EQ(sizeof(MODULEENTRY32), main->dwSize);

    EXPECT_EQ(table, g_moduleTable);
    EXPECT_EQ(count, g_moduleCount);
    EXPECT_EQ(first, g_processTable[i].firstModule);

    // A process that has ended gives the cleared entry, never another one.
    DWORD gone = fx.Pid();
    TerminateProcess(fx.Handle(), 0);
    ASSERT_TRUE(fx.Exited(5000));
    pe = ProcessEntryFor(gone);
    EXPECT_EQ(0u, pe->th32ProcessID);
    EXPECT_STREQ("", pe->szExeFile);
    rec = ProcessRecordFor(gone);
    EXPECT_STREQ("", rec->moduleName);
    EXPECT_EQ(0u, rec->mainModule.th32ProcessID);
    DiscardProcessSnapshot();
}
