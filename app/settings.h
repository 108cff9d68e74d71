// The settings record: one fixed 168-byte layout kept in memory and stored whole in the
// registry, and the run-at-logon value. No window code: everything above may use it.
#ifndef VANTIX_SETTINGS_H
#define VANTIX_SETTINGS_H

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#define OPTIONS_SIGNATURE   0x07B3DE3Au
#define OPTIONS_SIZE        168

enum {
    PROCESS_COLUMNS = 4,
    THREAD_COLUMNS  = 5,
    MODULE_COLUMNS  = 3,
    TASK_COLUMNS    = 1
};

// The pages of the main dialog in the order of their tabs (PageIndex).
enum MainPage {
    PAGE_OPTIONS,
    PAGE_PROCESSES,
    PAGE_WINDOWS,
    PAGE_TASKS,
    PAGE_CAPTURE,
    PAGE_COUNT
};

// The capture areas in the order of their radio buttons on the Capture Screen page
// (CaptureArea: the button's id - IDC_CAP_MOUSE).
enum CaptureAreaKind {
    AREA_MOUSE,
    AREA_RECTANGLE,
    AREA_ICON,
    AREA_SMALLICON,
    AREA_CLIENT,
    AREA_WINDOW,
    AREA_FULLSCREEN,
    CAPTURE_AREAS
};

// Sort state of one list column.
enum { SORT_NONE = 0, SORT_ASCENDING = 1, SORT_DESCENDING = 2 };

// The stored format: little-endian, natural alignment, explicit padding. Never reorder.
struct OptionsRecord {
    uint32_t Signature;
    uint32_t RecordSize;
    int32_t  MainDlgX;
    int32_t  MainDlgY;
    int8_t   PageIndex;
    uint8_t  pad17[3];
    uint32_t TrayIcon;
    uint32_t SkipWarnings;
    uint32_t SkipChildren;
    uint32_t ForceExit;
    uint32_t PowerOff;
    int32_t  ProcessColumnWidths[PROCESS_COLUMNS];
    int32_t  ThreadColumnWidths[THREAD_COLUMNS];
    int32_t  ModuleColumnWidths[MODULE_COLUMNS];
    int32_t  TaskColumnWidths[TASK_COLUMNS];
    uint32_t ProcessSortColumn;
    uint32_t ThreadSortColumn;
    uint32_t ModuleSortColumn;
    uint32_t TaskSortColumn;
    int8_t   ProcessSortStates[PROCESS_COLUMNS];
    int8_t   ThreadSortStates[THREAD_COLUMNS];
    int8_t   ModuleSortStates[MODULE_COLUMNS];
    int8_t   TaskSortStates[TASK_COLUMNS];
    uint8_t  pad121[3];
    uint32_t ShowModules;
    int32_t  CaptureWidth;
    int32_t  CaptureHeight;
    int8_t   CaptureArea;
    uint8_t  pad137[3];
    uint32_t CaptureDestination;
    uint32_t ShowDimensions;
    uint32_t TaskShowHidden;
    uint32_t TaskCloseOnSwitch;
    uint32_t ShowClass;
    int32_t  MainDlgWidth;
    int32_t  MainDlgHeight;
};

static_assert(sizeof(OptionsRecord) == OPTIONS_SIZE, "stored record is 168 bytes");
static_assert(offsetof(OptionsRecord, Signature) == 0, "layout");
static_assert(offsetof(OptionsRecord, RecordSize) == 4, "layout");
static_assert(offsetof(OptionsRecord, MainDlgX) == 8, "layout");
static_assert(offsetof(OptionsRecord, MainDlgY) == 12, "layout");
static_assert(offsetof(OptionsRecord, PageIndex) == 16, "layout");
static_assert(offsetof(OptionsRecord, TrayIcon) == 20, "layout");
static_assert(offsetof(OptionsRecord, SkipWarnings) == 24, "layout");
static_assert(offsetof(OptionsRecord, SkipChildren) == 28, "layout");
static_assert(offsetof(OptionsRecord, ForceExit) == 32, "layout");
static_assert(offsetof(OptionsRecord, PowerOff) == 36, "layout");
static_assert(offsetof(OptionsRecord, ProcessColumnWidths) == 40, "layout");
static_assert(offsetof(OptionsRecord, ThreadColumnWidths) == 56, "layout");
static_assert(offsetof(OptionsRecord, ModuleColumnWidths) == 76, "layout");
static_assert(offsetof(OptionsRecord, TaskColumnWidths) == 88, "layout");
static_assert(offsetof(OptionsRecord, ProcessSortColumn) == 92, "layout");
static_assert(offsetof(OptionsRecord, ThreadSortColumn) == 96, "layout");
static_assert(offsetof(OptionsRecord, ModuleSortColumn) == 100, "layout");
static_assert(offsetof(OptionsRecord, TaskSortColumn) == 104, "layout");
static_assert(offsetof(OptionsRecord, ProcessSortStates) == 108, "layout");
static_assert(offsetof(OptionsRecord, ThreadSortStates) == 112, "layout");
static_assert(offsetof(OptionsRecord, ModuleSortStates) == 117, "layout");
static_assert(offsetof(OptionsRecord, TaskSortStates) == 120, "layout");
static_assert(offsetof(OptionsRecord, ShowModules) == 124, "layout");
static_assert(offsetof(OptionsRecord, CaptureWidth) == 128, "layout");
static_assert(offsetof(OptionsRecord, CaptureHeight) == 132, "layout");
static_assert(offsetof(OptionsRecord, CaptureArea) == 136, "layout");
static_assert(offsetof(OptionsRecord, CaptureDestination) == 140, "layout");
static_assert(offsetof(OptionsRecord, ShowDimensions) == 144, "layout");
static_assert(offsetof(OptionsRecord, TaskShowHidden) == 148, "layout");
static_assert(offsetof(OptionsRecord, TaskCloseOnSwitch) == 152, "layout");
static_assert(offsetof(OptionsRecord, ShowClass) == 156, "layout");
static_assert(offsetof(OptionsRecord, MainDlgWidth) == 160, "layout");
static_assert(offsetof(OptionsRecord, MainDlgHeight) == 164, "layout");

// The settings of this process; every subsystem reads and writes its fields directly.
extern OptionsRecord g_Options;

// Pure: the defaults of a first start.
void SetOptionsDefaults(OptionsRecord* rec);
// Pure: replaces every field whose stored value would index a table out of range or make no
// sense (page, sort columns and states, capture area and destination, sizes, flags) by its default.
// Returns the number of fields it reset.
int  ValidateOptions(OptionsRecord* rec);
// Pure: does this stored value (as read, with its byte count) count as a settings record?
bool AcceptStoredOptions(const void* data, DWORD bytes);

// Pure: the record a stored value gives (what was read, with its byte count): the defaults,
// unless the value is accepted; then its fields, each out-of-range one reset. Returns whether
// the value was accepted.
bool LoadOptionsFrom(const void* data, DWORD bytes, OptionsRecord* rec);

// Settings stored beside the record, each a registry value of its own under the same key: the
// record keeps its 168 bytes, and a record written before a value existed still loads. A value
// that is missing or not a DWORD leaves the default.
struct ExtraOptions {
    uint32_t ShowMagnifier;     // the Capture Screen page's "Show magnifier"; 1 by default
    uint32_t ColumnDpi;         // the DPI the record's column widths were measured at; 0: not known
};
extern ExtraOptions g_ExtraOptions;

void SetExtraOptionsDefaults(ExtraOptions* extra);
// Pure: a stored flag (0 or 1) from a value as read: the read's result, the value's type, its
// byte count and its first four bytes.
uint32_t StoredFlag(LONG readResult, DWORD type, DWORD bytes, DWORD data, uint32_t fallback);
// Pure: a stored DPI from a value as read: a four-byte DWORD from 48 to 1536, else 0 (not known).
uint32_t StoredDpi(LONG readResult, DWORD type, DWORD bytes, DWORD data);
// Pure: the record's stored column widths (not the -1 of "share the list's width") measured
// again from fromDpi to toDpi; fromDpi 0 (not known) leaves them as they are.
void RebaseColumnWidths(OptionsRecord* rec, UINT fromDpi, UINT toDpi);
// The record's column widths are about to be stored at dpi: the others are measured at it too,
// so that one DPI stands for all of them.
void TakeColumnDpi(UINT dpi);
// Reads and writes the extra values under the open settings key; LoadOptions and SaveOptions
// call them.
void LoadExtraOptions(HKEY key);
bool SaveExtraOptions(HKEY key);

// Loads the record and the extra values (the defaults where there are none).
void LoadOptions();
// Returns false when the record or an extra value could not be written (the record then stays
// as it was).
bool SaveOptions();

// Pure: the run-at-logon command for a program path; a path with blanks is quoted so that the
// shell cannot run a program named by a truncated path. Returns false when out is too small.
bool BuildRunAtLogonCommand(const char* exePath, char* out, size_t outSize);
// Writes (on) or deletes (off) the run-at-logon value; returns whether the registry now says so.
bool SetRunAtLogon(bool on);

#endif
