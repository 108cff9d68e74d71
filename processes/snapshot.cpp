// Process snapshot and shared process services.
#include "processes/snapshot.h"
#include "app/msgbox.h"
#include "resource.h"

#include <psapi.h>
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
// Records of the snapshot being taken that already point into g_moduleTable.
static int s_processesReached;
// One buffer of module handles for every process read.
static HMODULE s_moduleHandles[MAX_PROCESS_MODULES];

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

static void BuildModuleEntry(HANDLE hProcess, DWORD pid, HMODULE hMod, MODULEENTRY32* me)
{
    ZeroMemory(me, sizeof(*me));
    me->dwSize = sizeof(*me);
    me->th32ProcessID = pid;
    me->GlblcntUsage = 0xFFFF;
    me->ProccntUsage = 0xFFFF;
    MODULEINFO info;
    ZeroMemory(&info, sizeof(info));
    if (GetModuleInformation(hProcess, hMod, &info, sizeof(info))) {
        me->modBaseAddr = (BYTE*)info.lpBaseOfDll;
        me->modBaseSize = info.SizeOfImage;
    }
    DWORD n = GetModuleFileNameExA(hProcess, hMod, me->szExePath, sizeof(me->szExePath));
    me->szExePath[n < sizeof(me->szExePath) ? n : sizeof(me->szExePath) - 1] = '\0';
    if (me->szExePath[0]) CopyBounded(me->szModule, FileNamePart(me->szExePath), sizeof(me->szModule));
}

// Makes room for `more` entries after g_moduleCount; false when memory ran out.
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

static void DropModuleTable()
{
    free(g_moduleTable);
    g_moduleTable = NULL;
    g_moduleCount = 0;
    s_moduleCapacity = 0;
    for (int i = 0; i < s_processesReached && i < g_processCount; i++) g_processTable[i].firstModule = 0;
}

// Appends every module of the process to g_moduleTable; the first one is copied to *mainOut.
static void ReadProcessModules(DWORD pid, MODULEENTRY32* mainOut)
{
    ZeroMemory(mainOut, sizeof(*mainOut));
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!h) return;
    DWORD bytes = 0;
    if (!EnumProcessModules(h, s_moduleHandles, sizeof(s_moduleHandles), &bytes)) {
        CloseHandle(h);
        return;
    }
    int n = (int)(bytes / sizeof(HMODULE));
    if (n > MAX_PROCESS_MODULES) n = MAX_PROCESS_MODULES;
    if (n > 0 && !GrowModuleTable(n)) {
        DropModuleTable();
        CloseHandle(h);
        return;
    }
    int base = g_moduleCount;
    g_moduleCount += n;
    for (int k = 0; k < n; k++) {
        MODULEENTRY32* me = &g_moduleTable[base + k];
        BuildModuleEntry(h, pid, s_moduleHandles[k], me);
        if (k == 0) *mainOut = *me;
    }
    CloseHandle(h);
}

int ModuleRangeEnd(int i)
{
    if (i + 1 < g_processCount) return g_processTable[i + 1].firstModule;
    return g_moduleCount;
}

const MODULEENTRY32* MainModuleEntryFor(DWORD pid)
{
    ZeroMemory(&s_mainModule, sizeof(s_mainModule));
    s_mainModule.dwSize = sizeof(s_mainModule);
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!h) return &s_mainModule;
    HMODULE first = NULL;
    DWORD bytes = 0;
    if (EnumProcessModules(h, &first, sizeof(first), &bytes) && bytes >= sizeof(first))
        BuildModuleEntry(h, pid, first, &s_mainModule);
    CloseHandle(h);
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
    g_processTable = NULL;
    g_threadTable = NULL;
    g_moduleTable = NULL;
    g_processCount = g_threadCount = g_moduleCount = 0;
    s_moduleCapacity = 0;
    s_processesReached = 0;
    g_iProcessSel = -1;
    g_iModuleSel = -1;
}

static void FillProcessRecord(ProcessRecord* rec, const PROCESSENTRY32* pe)
{
    MODULEENTRY32 main;
    ZeroMemory(&main, sizeof(main));
    rec->firstModule = g_moduleCount;
    // The idle process (identifier 0) has no modules to read.
    if (pe->th32ProcessID != 0) ReadProcessModules(pe->th32ProcessID, &main);
    rec->entry = *pe;
    rec->mainModule = main;
    if (main.szExePath[0]) CopyBounded(rec->entry.szExeFile, main.szExePath, sizeof(rec->entry.szExeFile));
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pe->th32ProcessID);
    rec->priorityClass = h ? GetPriorityClass(h) : 0;
    if (h) CloseHandle(h);
    ResolveModuleName(rec);
}

static void ReadProcesses(HANDLE snap)
{
    const DWORD self = GetCurrentProcessId();
    PROCESSENTRY32 pe;
    ZeroMemory(&pe, sizeof(pe));
    pe.dwSize = sizeof(pe);
    int count = 0;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (pe.th32ProcessID != self) count++;
    g_processTable = count ? (ProcessRecord*)calloc((size_t)count, sizeof(ProcessRecord)) : NULL;
    g_processCount = g_processTable ? count : 0;

    int filled = 0;
    for (BOOL ok = Process32First(snap, &pe); ok && filled < g_processCount; ok = Process32Next(snap, &pe)) {
        if (pe.th32ProcessID == self) continue;
        s_processesReached = filled + 1;
        FillProcessRecord(&g_processTable[filled], &pe);
        filled++;
    }
    // A process that ended between the two passes leaves a zeroed record at the end; drop it.
    g_processCount = filled;
}

static void ReadThreads(HANDLE snap)
{
    THREADENTRY32 te;
    ZeroMemory(&te, sizeof(te));
    te.dwSize = sizeof(te);
    int count = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) count++;
    g_threadTable = count ? (THREADENTRY32*)calloc((size_t)count, sizeof(THREADENTRY32)) : NULL;
    g_threadCount = g_threadTable ? count : 0;
    int filled = 0;
    for (BOOL ok = Thread32First(snap, &te); ok && filled < g_threadCount; ok = Thread32Next(snap, &te))
        g_threadTable[filled++] = te;
    g_threadCount = filled;
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
        const MODULEENTRY32* main = MainModuleEntryFor(pid);
        if (main->szExePath[0])
            CopyBounded(s_processEntry.szExeFile, main->szExePath, sizeof(s_processEntry.szExeFile));
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
