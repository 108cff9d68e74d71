// The snapshot against fixture processes of ours with known names, threads and modules.
#include <windows.h>
#include <gtest/gtest.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <string>
#include <vector>
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
    // What the row shows comes with the snapshot; the module table waits for a selection.
    EXPECT_EQ(0, lstrcmpiA(FixtureProcess::ExePath().c_str(), rec.entry.szExeFile)) << rec.entry.szExeFile;
    EXPECT_STREQ("vantix_fixture", rec.moduleName);
    EXPECT_EQ((DWORD)NORMAL_PRIORITY_CLASS, rec.priorityClass);
    EXPECT_FALSE(RecordModulesRead(i));
    EXPECT_EQ(rec.firstModule, ModuleRangeEnd(i));
    EXPECT_EQ(0, g_moduleCount) << "a snapshot reads no module table";

    int threads = 0;
    for (int t = 0; t < g_threadCount; t++)
        if (g_threadTable[t].th32OwnerProcessID == fx.Pid()) threads++;
    EXPECT_EQ(1 + kExtraThreads, threads);

    ReadRecordModules(i);
    ASSERT_TRUE(RecordModulesRead(i));
    EXPECT_EQ(0, lstrcmpiA(rec.entry.szExeFile, rec.mainModule.szExePath));
    EXPECT_STREQ("vantix_fixture", rec.mainModule.szModule);
    EXPECT_EQ(fx.Pid(), rec.mainModule.th32ProcessID);
    EXPECT_EQ(0xFFFFu, rec.mainModule.GlblcntUsage);
    EXPECT_GT(rec.mainModule.modBaseSize, 0u);

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

    // Read once per snapshot: a second selection adds nothing.
    int count = g_moduleCount;
    ReadRecordModules(i);
    EXPECT_EQ(count, g_moduleCount);
    EXPECT_EQ(end, ModuleRangeEnd(i));
    DiscardProcessSnapshot();
    EXPECT_EQ(0, g_processCount);
    EXPECT_EQ(-1, g_iProcessSel);
}

static bool StillRunning(DWORD pid)
{
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    DWORD code = 0;
    bool running = h && GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    if (h) CloseHandle(h);
    return running;
}

// Whatever order processes are selected in, a process's modules are exactly those a full read
// gives, in its order, and the ranges of different processes never overlap; the row of every
// process says what the lookups by identifier say about it.
TEST(Snapshot, ModulesReadOnSelectionEqualAFreshFullRead)
{
    FixtureProcess a("modules fixture a", "--load msimg32.dll");
    FixtureProcess b("modules fixture b", "");
    ASSERT_TRUE(a.Window() && b.Window());
    ASSERT_TRUE(TakeProcessSnapshot());
    int checked = 0;
    for (int i = g_processCount - 1; i >= 0; i--) {
        SCOPED_TRACE(g_processTable[i].entry.szExeFile);
        const DWORD pid = g_processTable[i].entry.th32ProcessID;
        ReadRecordModules(i);
        const ProcessRecord& rec = g_processTable[i];
        if (pid == a.Pid() || pid == b.Pid()) {
            // The fixtures load their libraries before they show their window: their module
            // tables stand still.
            std::vector<PlainModule> fresh = FullModuleRead(pid);
            ASSERT_GT(fresh.size(), 1u);
            ASSERT_EQ((int)fresh.size(), ModuleRangeEnd(i) - rec.firstModule);
            for (size_t k = 0; k < fresh.size(); k++) {
                const MODULEENTRY32& me = g_moduleTable[rec.firstModule + k];
                EXPECT_EQ(fresh[k].path, me.szExePath);
                EXPECT_EQ(fresh[k].base, me.modBaseAddr);
                EXPECT_EQ(fresh[k].size, me.modBaseSize);
                EXPECT_EQ(pid, me.th32ProcessID);
            }
            checked++;
        }
        if (pid == 0) continue;
        MODULEENTRY32 main = *MainModuleEntryFor(pid);
        PROCESSENTRY32 pe = *ProcessEntryFor(pid);
        std::string moduleName = ProcessRecordFor(pid)->moduleName;
        // A process of the platform's that ended meanwhile has nothing left to compare.
        if (!StillRunning(pid)) continue;
        EXPECT_EQ(0, memcmp(&rec.mainModule, &main, sizeof(MODULEENTRY32)));
        EXPECT_EQ(pid, pe.th32ProcessID);
        EXPECT_STREQ(pe.szExeFile, rec.entry.szExeFile);
        EXPECT_EQ(moduleName, rec.moduleName);
    }
    EXPECT_EQ(2, checked);
    // The modules of two processes never share an entry.
    for (int i = 0; i < g_processCount; i++)
        for (int j = i + 1; j < g_processCount; j++)
            EXPECT_TRUE(ModuleRangeEnd(i) <= g_processTable[j].firstModule ||
                        ModuleRangeEnd(j) <= g_processTable[i].firstModule)
                << "records " << i << " and " << j;
    DiscardProcessSnapshot();
}

// The tables grow while the snapshot is walked: every thread of a process with many of them is
// there once, as a fresh walk of the platform's snapshot lists them.
TEST(Snapshot, ThreadTableHoldsEveryThreadOfAFreshWalk)
{
    FixtureProcess fx("many threads fixture", "--threads 70");
    ASSERT_TRUE(fx.Window());
    ASSERT_TRUE(TakeProcessSnapshot());
    std::vector<DWORD> listed;
    for (int t = 0; t < g_threadCount; t++)
        if (g_threadTable[t].th32OwnerProcessID == fx.Pid()) listed.push_back(g_threadTable[t].th32ThreadID);
    std::vector<DWORD> fresh;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, snap);
    THREADENTRY32 te;
    ZeroMemory(&te, sizeof(te));
    te.dwSize = sizeof(te);
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == fx.Pid()) fresh.push_back(te.th32ThreadID);
    CloseHandle(snap);
    EXPECT_EQ(71u, listed.size());
    EXPECT_EQ(fresh, listed);
    EXPECT_GE(RecordOf(fx.Pid()), 0);
    DiscardProcessSnapshot();
    EXPECT_EQ(0, g_threadCount);
}

// The image a module was loaded from, as its file's headers give it: the machine it is built for
// and the size it takes in memory; false when the file cannot be read as one.
static bool ImageOnDisk(const char* path, WORD* machine, DWORD* sizeOfImage)
{
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return false;
    unsigned char head[4096];
    DWORD got = 0;
    bool ok = ReadFile(f, head, sizeof(head), &got, NULL) && got >= 0x40;
    CloseHandle(f);
    if (!ok || head[0] != 'M' || head[1] != 'Z') return false;
    DWORD pe = *(const DWORD*)(head + 0x3C);
    // Signature, file header (the machine first), then the optional header with SizeOfImage at 56
    // in both its 32-bit and its 64-bit form.
    if ((unsigned long long)pe + 4 + 20 + 60 > got || memcmp(head + pe, "PE\0\0", 4) != 0) return false;
    *machine = *(const WORD*)(head + pe + 4);
    *sizeOfImage = *(const DWORD*)(head + pe + 4 + 20 + 56);
    return true;
}

// A 64-bit build lists a 32-bit process with all of its own modules, their real paths and sizes:
// the module list and Module Information show what the process has loaded, not the 64-bit layer
// it runs on. Only a machine that runs 32-bit code can show it; the harness then names the
// 32-bit build's fixture.
TEST(Snapshot, A32BitProcessShowsEveryModuleToThe64BitBuild)
{
    if (sizeof(void*) != 8) GTEST_SKIP() << "a 32-bit build reads only 32-bit processes; this is the 64-bit build's case";
    char other[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("VANTIX_OTHER_BITNESS_FIXTURE", other, sizeof(other)) || !other[0])
        GTEST_SKIP() << "this machine runs no 32-bit code: there is no 32-bit fixture to read";
    StartedProcess fx;
    ASSERT_TRUE(fx.Start(std::string("\"") + other + "\" --title \"32-bit modules fixture\" --load msimg32.dll")) << other;
    ASSERT_TRUE(fx.WaitForWindow("VantixFixtureWindow", "32-bit modules fixture", false, 15000))
        << "the 32-bit fixture did not show its window";
    BOOL wow = FALSE;
    ASSERT_TRUE(IsWow64Process(fx.Handle(), &wow) && wow) << "the fixture runs as a 32-bit process";

    ASSERT_TRUE(TakeProcessSnapshot());
    int i = RecordOf(fx.Pid());
    ASSERT_GE(i, 0);
    ReadRecordModules(i);
    const ProcessRecord& rec = g_processTable[i];
    EXPECT_EQ(0, lstrcmpiA(other, rec.entry.szExeFile)) << rec.entry.szExeFile;
    EXPECT_EQ(0, lstrcmpiA(other, rec.mainModule.szExePath)) << "the fixture itself comes first";
    bool exe = false, library = false, kernel = false;
    for (int m = rec.firstModule; m < ModuleRangeEnd(i); m++) {
        const MODULEENTRY32& me = g_moduleTable[m];
        SCOPED_TRACE(me.szExePath);
        WORD machine = 0;
        DWORD size = 0;
        ASSERT_TRUE(ImageOnDisk(me.szExePath, &machine, &size)) << "a module's path names its file";
        EXPECT_EQ(size, me.modBaseSize) << "the size of the image that path holds";
        const bool i386 = machine == IMAGE_FILE_MACHINE_I386;
        exe = exe || (i386 && lstrcmpiA(me.szExePath, other) == 0);
        library = library || (i386 && lstrcmpiA(me.szModule, "msimg32") == 0);
        kernel = kernel || (i386 && lstrcmpiA(me.szModule, "kernel32") == 0);
    }
    EXPECT_TRUE(exe && library && kernel) << "the process's own 32-bit modules are listed";
    DiscardProcessSnapshot();
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
