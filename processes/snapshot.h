// Process, thread and module snapshot, and the process services the whole program shares.
#ifndef VANTIX_SNAPSHOT_H
#define VANTIX_SNAPSHOT_H

#include <windows.h>
#include <tlhelp32.h>
#include <stddef.h>
#include <stdint.h>

#define MODULE_PATH_CHARS   260
#define BASE_NAME_CHARS     256
#define MAX_PROCESS_MODULES 10240

// One process as the program knows it.
struct ProcessRecord {
    PROCESSENTRY32 entry;       // szExeFile holds the main module's full path when it could be read
    MODULEENTRY32  mainModule;  // all zero when the modules could not be read
    DWORD          priorityClass;   // 0 when the class could not be read
    char           moduleName[MODULE_PATH_CHARS];
    int32_t        firstModule; // index in g_moduleTable of this process's first module (0 until read)
};

// The snapshot tables. A snapshot reads per process only what its row shows; the modules of a
// process join g_moduleTable when it is selected (ReadRecordModules) and stay until the next
// snapshot. Entries are never moved to other indices, so list rows hold indices.
extern ProcessRecord* g_processTable;
extern int g_processCount;
extern THREADENTRY32* g_threadTable;
extern int g_threadCount;
extern MODULEENTRY32* g_moduleTable;
extern int g_moduleCount;
// Selections of the Processes page: indices into the tables, -1 for none.
extern int g_iProcessSel;
extern int g_iModuleSel;

bool TakeProcessSnapshot();
void DiscardProcessSnapshot();
// Reads the modules of process record i, once per snapshot: its range in g_moduleTable and its
// mainModule are set from then on.
void ReadRecordModules(int i);
bool RecordModulesRead(int i);
// End (exclusive) of the module range of process record i; empty until its modules were read.
int ModuleRangeEnd(int i);

// The full path of a process's executable, as the lookups below give it when the process can be
// read, without a snapshot or a module table; false (and an empty path) when it cannot be read.
bool ReadProcessImagePath(DWORD pid, char* path, DWORD size);

// ---- Module reading: every module of a process goes through WalkProcessModules.

// Pure: the toolhelp flags of a module snapshot for a build of pointerBits (32 or 64). A 64-bit
// build asks for the 32-bit modules of a 32-bit process too, which it would not see otherwise; a
// 32-bit build cannot read a 64-bit process's modules at all and asks for its own kind only.
DWORD ModuleSnapshotFlags(int pointerBits);
// Called with each module in the platform's order (szModule the base name without extension, as
// the lists show it); returns false to stop the walk.
typedef bool (*ModuleVisitor)(const MODULEENTRY32* module, void* context);
// Walks every module of the process with this build's flags; returns the number of modules
// visited, 0 when the process cannot be read (from a 32-bit build: a 64-bit process).
int WalkProcessModules(DWORD pid, ModuleVisitor visit, void* context);

// Shared results: each call overwrites the previous one.
const MODULEENTRY32* MainModuleEntryFor(DWORD pid);
const PROCESSENTRY32* ProcessEntryFor(DWORD pid);
const ProcessRecord* ProcessRecordFor(DWORD pid);

// True when path is a 16-bit New Executable; its module name goes to out.
bool ReadNeModuleName(const char* path, char* out, size_t outSize);
// Pure: the same test on a file's bytes. Every offset is checked against size before it is read.
bool ParseNeModuleName(const unsigned char* data, size_t size, char* out, size_t outSize);

// Base name of a path (no directory, no extension) in a shared buffer.
const char* FileNamePart(const char* path);
// Pure: the same for a given ANSI code page (so that double-byte paths can be judged anywhere).
void BaseNameOf(const char* path, UINT codePage, char* out, size_t outSize);

// Asks for confirmation and terminates the process. Returns true when it was ended.
bool KillProcess(DWORD pid);

#endif
