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
    int32_t        firstModule; // index in g_moduleTable of this process's first module
};

// The snapshot tables. They never change between two snapshots, so list rows hold indices.
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
// End (exclusive) of the module range of process record i.
int ModuleRangeEnd(int i);

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
