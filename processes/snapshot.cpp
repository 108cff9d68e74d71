// Process snapshot and shared process services.
#include "processes/snapshot.h"
#include "app/msgbox.h"
#include "resource.h"

#include <stdlib.h>
#include <string.h>

ProcessRecord* g_processTable;
int g_processCount;
THREADENTRY32* g_threadTable;
int g_threadCount;
MODULEENTRY32* g_moduleTable;
int g_moduleCount;
int g_iProcessSel = -1;
int g_iModuleSel = -1;

// Room allocated in g_moduleTable; grown geometrically so that a snapshot stays linear.
static int s_moduleCapacity;
// Per process record: the end of its module range once its modules were read, -1 before.
static int* s_moduleEnds;

static char s_szBaseName[BASE_NAME_CHARS];
static PROCESSENTRY32 s_processEntry;
static MODULEENTRY32 s_mainModule;
static ProcessRecord s_processRecord;

static void CopyBounded(char* dst, const char* src, size_t dstSize)
{
    lstrcpynA(dst, src, (int)dstSize);
}

// ---- Base names

void BaseNameOf(const char* path, UINT codePage, char* out, size_t outSize)
{
    if (!out || outSize == 0) return;
    out[0] = '\0';
    if (!path) return;
    const size_t limit = MODULE_PATH_CHARS;
    size_t compStart = 0, end = 0;
    long lastDot = -1;
    size_t i = 0;
    while (i < limit && path[i]) {
        unsigned char c = (unsigned char)path[i];
        if (IsDBCSLeadByteEx(codePage, c)) {
            // A lead byte whose trail falls outside the judged part ends the path.
            if (i + 1 >= limit || !path[i + 1]) break;
            i += 2;
            continue;
        }
        if (c == '\\' || c == '/' || (c == ':' && i == 1)) {
            compStart = i + 1;
            lastDot = -1;
        } else if (c == '.') {
            lastDot = (long)i;
        }
        i++;
    }
    end = i;
    size_t compLen = end - compStart;
    if ((compLen == 1 && path[compStart] == '.') ||
        (compLen == 2 && path[compStart] == '.' && path[compStart + 1] == '.'))
        return;
    if (lastDot >= 0) end = (size_t)lastDot;
    size_t maxLen = outSize - 1 < BASE_NAME_CHARS - 1 ? outSize - 1 : BASE_NAME_CHARS - 1;
    // Copy whole characters only, so that a cut never leaves a lone lead byte.
    size_t n = 0, j = compStart;
    while (j < end) {
        size_t w = IsDBCSLeadByteEx(codePage, (unsigned char)path[j]) ? 2 : 1;
        if (n + w > maxLen) break;
        for (size_t k = 0; k < w; k++) out[n++] = path[j++];
    }
    out[n] = '\0';
}

const char* FileNamePart(const char* path)
{
    BaseNameOf(path, CP_ACP, s_szBaseName, sizeof(s_szBaseName));
    return s_szBaseName;
}

// ---- NE module name

static unsigned ReadWord(const unsigned char* p)
{
    return (unsigned)p[0] | ((unsigned)p[1] << 8);
}

bool ParseNeModuleName(const unsigned char* data, size_t size, char* out, size_t outSize)
{
    if (!data || !out || outSize == 0) return false;
    // Offsets are 64-bit so that a huge header offset cannot wrap around the checks.
    const unsigned long long total = size;
    if (total < 0x40 || ReadWord(data) != 0x5A4D) return false;
    unsigned long long ne = (unsigned long long)data[0x3C] | ((unsigned long long)data[0x3D] << 8) |
                            ((unsigned long long)data[0x3E] << 16) | ((unsigned long long)data[0x3F] << 24);
    if (ne + 0x28 > total) return false;
    if (ReadWord(data + ne) != 0x454E) return false;
    unsigned long long names = ne + ReadWord(data + ne + 0x26);
    if (names + 1 > total) return false;
    unsigned len = data[names];
    if (names + 1 + len > total) return false;
    size_t n = len < outSize - 1 ? len : outSize - 1;
    memcpy(out, data + names + 1, n);
    out[n] = '\0';
    return true;
}

bool ReadNeModuleName(const char* path, char* out, size_t outSize)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    // An empty file cannot be mapped; a file past 4 GB is no executable of interest.
    if (size != INVALID_FILE_SIZE && sizeHigh == 0 && size > 0) {
        HANDLE mapping = CreateFileMappingA(file, NULL, PAGE_READONLY, 0, 0, NULL);
        if (mapping) {
            const unsigned char* view = (const unsigned char*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
            if (view) {
                char name[MODULE_PATH_CHARS];
                if (ParseNeModuleName(view, size, name, sizeof(name))) {
                    CopyBounded(out, name, outSize);
                    found = true;
                }
                UnmapViewOfFile(view);
            }
            CloseHandle(mapping);
        }
    }
    CloseHandle(file);
    return found;
}

// ---- Modules

DWORD ModuleSnapshotFlags(int pointerBits)
{
    return pointerBits == 64 ? (TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32) : TH32CS_SNAPMODULE;
}

int WalkProcessModules(DWORD pid, ModuleVisitor visit, void* context)
{
    // The idle process (identifier 0) has no modules; identifier 0 would also mean this process.
    if (pid == 0 || !visit) return 0;
    const DWORD flags = ModuleSnapshotFlags((int)(8 * sizeof(void*)));
    HANDLE snap = INVALID_HANDLE_VALUE;
    // A process that is loading or unloading a module at that moment makes the snapshot ask for
    // another try.
    for (int tries = 0; tries < 5 && snap == INVALID_HANDLE_VALUE; tries++) {
        snap = CreateToolhelp32Snapshot(flags, pid);
        if (snap == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) break;
    }
    if (snap == INVALID_HANDLE_VALUE) return 0;
    int visited = 0;
    MODULEENTRY32 me;
    ZeroMemory(&me, sizeof(me));
    me.dwSize = sizeof(me);
    for (BOOL ok = Module32First(snap, &me); ok; ok = Module32Next(snap, &me)) {
        MODULEENTRY32 shown = me;
        shown.th32ProcessID = pid;
        if (shown.szExePath[0]) CopyBounded(shown.szModule, FileNamePart(shown.szExePath), sizeof(shown.szModule));
        visited++;
        if (!visit(&shown, context)) break;
    }
    CloseHandle(snap);
    return visited;
}

// Room allocated in g_moduleTable for more entries; false when memory ran out.
static bool GrowModuleTable(int more)
{
    if (g_moduleCount + more <= s_moduleCapacity) return true;
    int want = s_moduleCapacity ? s_moduleCapacity : 256;
    while (want < g_moduleCount + more) want *= 2;
    MODULEENTRY32* grown = (MODULEENTRY32*)realloc(g_moduleTable, (size_t)want * sizeof(MODULEENTRY32));
    if (!grown) return false;
    g_moduleTable = grown;
    s_moduleCapacity = want;
    return true;
}

struct ModuleAppend {
    MODULEENTRY32* mainOut;
    int read;
};

static bool AppendModule(const MODULEENTRY32* module, void* context)
{
    ModuleAppend* append = (ModuleAppend*)context;
    // Out of memory: the modules read so far stay, and rows of the module list may point at them.
    if (append->read >= MAX_PROCESS_MODULES || !GrowModuleTable(1)) return false;
    g_moduleTable[g_moduleCount++] = *module;
    if (append->read++ == 0) *append->mainOut = *module;
    return true;
}

// Appends every module of the process to g_moduleTable; the first one is copied to *mainOut.
static void ReadProcessModules(DWORD pid, MODULEENTRY32* mainOut)
{
    ZeroMemory(mainOut, sizeof(*mainOut));
    ModuleAppend append = {mainOut, 0};
    WalkProcessModules(pid, AppendModule, &append);
}

bool RecordModulesRead(int i)
{
    return i >= 0 && i < g_processCount && s_moduleEnds && s_moduleEnds[i] >= 0;
}

int ModuleRangeEnd(int i)
{
    if (i < 0 || i >= g_processCount) return 0;
    return RecordModulesRead(i) ? s_moduleEnds[i] : g_processTable[i].firstModule;
}

void ReadRecordModules(int i)
{
    if (i < 0 || i >= g_processCount || RecordModulesRead(i)) return;
    ProcessRecord* rec = &g_processTable[i];
    MODULEENTRY32 main;
    ZeroMemory(&main, sizeof(main));
    rec->firstModule = g_moduleCount;
    // The idle process (identifier 0) has no modules to read.
    if (rec->entry.th32ProcessID != 0) ReadProcessModules(rec->entry.th32ProcessID, &main);
    rec->mainModule = main;
    s_moduleEnds[i] = g_moduleCount;
}

static bool KeepFirstModule(const MODULEENTRY32* module, void* context)
{
    *(MODULEENTRY32*)context = *module;
    return false;
}

const MODULEENTRY32* MainModuleEntryFor(DWORD pid)
{
    ZeroMemory(&s_mainModule, sizeof(s_mainModule));
    s_mainModule.dwSize = sizeof(s_mainModule);
    WalkProcessModules(pid, KeepFirstModule, &s_mainModule);
    return &s_mainModule;
}

static void ResolveModuleName(ProcessRecord* rec)
{
    if (lstrcmpiA(rec->entry.szExeFile, rec->mainModule.szExePath) == 0) {
        CopyBounded(rec->moduleName, rec->mainModule.szModule, sizeof(rec->moduleName));
        return;
    }
    if (ReadNeModuleName(rec->entry.szExeFile, rec->moduleName, sizeof(rec->moduleName))) return;
    CopyBounded(rec->moduleName, rec->mainModule.szModule, sizeof(rec->moduleName));
}

// ---- Snapshot

void DiscardProcessSnapshot()
{
    free(g_processTable);
    free(g_threadTable);
    free(g_moduleTable);
    free(s_moduleEnds);
    g_processTable = NULL;
    g_threadTable = NULL;
    g_moduleTable = NULL;
    s_moduleEnds = NULL;
    g_processCount = g_threadCount = g_moduleCount = 0;
    s_moduleCapacity = 0;
    g_iProcessSel = -1;
    g_iModuleSel = -1;
}

// The executable's full path: asked of the process itself where the platform offers that (one
// call, whatever the number of modules; also a 64-bit process's path to a 32-bit build), else
// the path of its first module.
static void ReadImagePath(HANDLE hProcess, DWORD pid, char* path, DWORD size)
{
    typedef BOOL (WINAPI *QueryImageNameFn)(HANDLE, DWORD, LPSTR, PDWORD);
    static QueryImageNameFn s_pfnQueryImageName =
        (QueryImageNameFn)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
    path[0] = '\0';
    DWORD len = size;
    if (s_pfnQueryImageName && s_pfnQueryImageName(hProcess, 0, path, &len) && len < size) {
        path[len] = '\0';
        return;
    }
    path[0] = '\0';
    MODULEENTRY32 first;
    ZeroMemory(&first, sizeof(first));
    if (WalkProcessModules(pid, KeepFirstModule, &first) > 0) CopyBounded(path, first.szExePath, size);
}

bool ReadProcessImagePath(DWORD pid, char* path, DWORD size)
{
    if (!path || size == 0) return false;
    path[0] = '\0';
    if (pid == 0) return false;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!h) return false;
    ReadImagePath(h, pid, path, size);
    CloseHandle(h);
    return path[0] != '\0';
}

// What the process's row shows, and nothing more: its path, class and module name. Its module
// table waits until the process is selected (ReadRecordModules).
static void FillProcessRecord(ProcessRecord* rec, const PROCESSENTRY32* pe)
{
    char path[MODULE_PATH_CHARS] = "";
    rec->entry = *pe;
    rec->firstModule = 0;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pe->th32ProcessID);
    rec->priorityClass = h ? GetPriorityClass(h) : 0;
    // The idle process (identifier 0) has no executable to name.
    if (h && pe->th32ProcessID != 0) ReadImagePath(h, pe->th32ProcessID, path, sizeof(path));
    if (h) CloseHandle(h);
    if (path[0]) {
        // The path is the main module's: its base name is the module name.
        CopyBounded(rec->entry.szExeFile, path, sizeof(rec->entry.szExeFile));
        CopyBounded(rec->moduleName, FileNamePart(path), sizeof(rec->moduleName));
    } else {
        // Unreadable: the bare file name of the snapshot, perhaps a 16-bit executable's.
        ResolveModuleName(rec);
    }
}

// Room for one more element in a table that grows by doubling; false when memory ran out.
static bool MakeRoom(void** table, int* capacity, int count, size_t elementSize)
{
    if (count < *capacity) return true;
    int want = *capacity ? *capacity * 2 : 8;
    void* grown = realloc(*table, (size_t)want * elementSize);
    if (!grown) return false;
    *table = grown;
    *capacity = want;
    return true;
}

// The snapshot is walked once per table: under Wine every step of a walk maps the whole snapshot
// anew, a third of a millisecond each, so a counting pass would double the cost of the walk.
static void ReadProcesses(HANDLE snap)
{
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32 pe;
    ZeroMemory(&pe, sizeof(pe));
    pe.dwSize = sizeof(pe);
    int count = 0, capacity = 0, endsCapacity = 0;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ProcessID == self) continue;
        if (!MakeRoom((void**)&g_processTable, &capacity, count, sizeof(ProcessRecord)) ||
            !MakeRoom((void**)&s_moduleEnds, &endsCapacity, count, sizeof(int))) {
            // Out of memory: the table stays empty.
            free(g_processTable);
            free(s_moduleEnds);
            g_processTable = NULL;
            s_moduleEnds = NULL;
            count = 0;
            break;
        }
        ZeroMemory(&g_processTable[count], sizeof(ProcessRecord));
        s_moduleEnds[count] = -1;
        FillProcessRecord(&g_processTable[count], &pe);
        count++;
    }
    g_processCount = count;
}

static void ReadThreads(HANDLE snap)
{
    THREADENTRY32 te;
    ZeroMemory(&te, sizeof(te));
    te.dwSize = sizeof(te);
    int count = 0, capacity = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) {
        if (!MakeRoom((void**)&g_threadTable, &capacity, count, sizeof(THREADENTRY32))) {
            free(g_threadTable);
            g_threadTable = NULL;
            count = 0;
            break;
        }
        g_threadTable[count++] = te;
    }
    g_threadCount = count;
}

bool TakeProcessSnapshot()
{
    DiscardProcessSnapshot();
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) {
        ShowErrorBox(0);
        return false;
    }
    ReadProcesses(snap);
    ReadThreads(snap);
    CloseHandle(snap);
    return true;
}

// ---- Lookups by identifier

const PROCESSENTRY32* ProcessEntryFor(DWORD pid)
{
    ZeroMemory(&s_processEntry, sizeof(s_processEntry));
    s_processEntry.dwSize = sizeof(s_processEntry);
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, pid);
    if (snap == INVALID_HANDLE_VALUE) {
        ShowErrorBox(0);
        return &s_processEntry;
    }
    PROCESSENTRY32 pe;
    ZeroMemory(&pe, sizeof(pe));
    pe.dwSize = sizeof(pe);
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ProcessID != pid) continue;
        s_processEntry = pe;
        char path[MODULE_PATH_CHARS];
        if (ReadProcessImagePath(pid, path, sizeof(path)))
            CopyBounded(s_processEntry.szExeFile, path, sizeof(s_processEntry.szExeFile));
        break;
    }
    CloseHandle(snap);
    return &s_processEntry;
}

const ProcessRecord* ProcessRecordFor(DWORD pid)
{
    ZeroMemory(&s_processRecord, sizeof(s_processRecord));
    s_processRecord.entry = *ProcessEntryFor(pid);
    s_processRecord.mainModule = *MainModuleEntryFor(pid);
    ResolveModuleName(&s_processRecord);
    // Modules that cannot be read (a 64-bit process's, to a 32-bit build): named after its image.
    if (!s_processRecord.moduleName[0] && !s_processRecord.mainModule.szExePath[0])
        CopyBounded(s_processRecord.moduleName, FileNamePart(s_processRecord.entry.szExeFile),
                    sizeof(s_processRecord.moduleName));
    return &s_processRecord;
}

// ---- Wait cursor and termination

bool KillProcess(DWORD pid)
{
    if (!ConfirmAction(IDS_CONFIRM_KILL)) return false;
    HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    BOOL ok = h ? TerminateProcess(h, 0) : FALSE;
    // The error box reads the last error, so it comes before CloseHandle can change it.
    if (!ok) ShowErrorBox(0);
    if (h) CloseHandle(h);
    return ok != FALSE;
}
