// Settings record storage and the run-at-logon value.
#include "app/settings.h"
#include "app/resstring.h"
#include "app/dpi.h"
#include "resource.h"

#include <string.h>
#include <stdio.h>

OptionsRecord g_Options;
ExtraOptions g_ExtraOptions;

// Largest width, height or offset we take from a stored record: far beyond any desktop, yet
// small enough that rectangle arithmetic on it cannot overflow.
static const int32_t kMaxExtent = 1000000;

void SetOptionsDefaults(OptionsRecord* rec)
{
    memset(rec, 0, sizeof(*rec));
    rec->Signature = OPTIONS_SIGNATURE;
    rec->RecordSize = OPTIONS_SIZE;
    rec->MainDlgX = -100000;
    rec->MainDlgY = -100000;
    rec->PageIndex = PAGE_OPTIONS;
    for (int i = 0; i < PROCESS_COLUMNS; i++) rec->ProcessColumnWidths[i] = -1;
    for (int i = 0; i < THREAD_COLUMNS; i++) rec->ThreadColumnWidths[i] = -1;
    for (int i = 0; i < MODULE_COLUMNS; i++) rec->ModuleColumnWidths[i] = -1;
    for (int i = 0; i < TASK_COLUMNS; i++) rec->TaskColumnWidths[i] = -1;
    rec->ProcessSortColumn = PROCESS_COLUMNS;
    rec->ThreadSortColumn = THREAD_COLUMNS;
    rec->ModuleSortColumn = MODULE_COLUMNS;
    rec->TaskSortColumn = TASK_COLUMNS;
    rec->CaptureWidth = 160;
    rec->CaptureHeight = 120;
    rec->CaptureArea = AREA_MOUSE;
    rec->CaptureDestination = IDC_CAP_NEWWINDOW;
    rec->ShowClass = 1;
}

// Check-box fields hold 0 or 1; any other nonzero value still means "checked".
static int FixFlag(uint32_t* f)
{
    if (*f <= 1) return 0;
    *f = 1;
    return 1;
}

static int FixWidths(int32_t* w, int n)
{
    int fixed = 0;
    for (int i = 0; i < n; i++)
        if (w[i] < -1 || w[i] > kMaxExtent) { w[i] = -1; fixed++; }
    return fixed;
}

// A list's sort column may equal its column count (no column chosen); its states must be 0..2.
static int FixSort(uint32_t* column, int8_t* states, int n)
{
    int fixed = 0;
    if (*column > (uint32_t)n) { *column = (uint32_t)n; fixed++; }
    for (int i = 0; i < n; i++)
        if (states[i] < SORT_NONE || states[i] > SORT_DESCENDING) { states[i] = SORT_NONE; fixed++; }
    return fixed;
}

int ValidateOptions(OptionsRecord* rec)
{
    OptionsRecord def;
    SetOptionsDefaults(&def);
    int fixed = 0;

    if (rec->MainDlgX < -kMaxExtent || rec->MainDlgX > kMaxExtent ||
        rec->MainDlgY < -kMaxExtent || rec->MainDlgY > kMaxExtent) {
        rec->MainDlgX = def.MainDlgX;
        rec->MainDlgY = def.MainDlgY;
        fixed++;
    }
    if (rec->PageIndex < 0 || rec->PageIndex >= PAGE_COUNT) { rec->PageIndex = def.PageIndex; fixed++; }
    fixed += FixFlag(&rec->TrayIcon);
    fixed += FixFlag(&rec->SkipWarnings);
    fixed += FixFlag(&rec->SkipChildren);
    fixed += FixFlag(&rec->ForceExit);
    fixed += FixFlag(&rec->PowerOff);
    fixed += FixWidths(rec->ProcessColumnWidths, PROCESS_COLUMNS);
    fixed += FixWidths(rec->ThreadColumnWidths, THREAD_COLUMNS);
    fixed += FixWidths(rec->ModuleColumnWidths, MODULE_COLUMNS);
    fixed += FixWidths(rec->TaskColumnWidths, TASK_COLUMNS);
    fixed += FixSort(&rec->ProcessSortColumn, rec->ProcessSortStates, PROCESS_COLUMNS);
    fixed += FixSort(&rec->ThreadSortColumn, rec->ThreadSortStates, THREAD_COLUMNS);
    fixed += FixSort(&rec->ModuleSortColumn, rec->ModuleSortStates, MODULE_COLUMNS);
    fixed += FixSort(&rec->TaskSortColumn, rec->TaskSortStates, TASK_COLUMNS);
    fixed += FixFlag(&rec->ShowModules);
    if (rec->CaptureWidth <= 0 || rec->CaptureWidth > kMaxExtent) { rec->CaptureWidth = def.CaptureWidth; fixed++; }
    if (rec->CaptureHeight <= 0 || rec->CaptureHeight > kMaxExtent) { rec->CaptureHeight = def.CaptureHeight; fixed++; }
    if (rec->CaptureArea < 0 || rec->CaptureArea >= CAPTURE_AREAS) { rec->CaptureArea = def.CaptureArea; fixed++; }
    if (rec->CaptureDestination < IDC_CAP_NEWWINDOW || rec->CaptureDestination > IDC_CAP_FILE) {
        rec->CaptureDestination = def.CaptureDestination;
        fixed++;
    }
    fixed += FixFlag(&rec->ShowDimensions);
    fixed += FixFlag(&rec->TaskShowHidden);
    fixed += FixFlag(&rec->TaskCloseOnSwitch);
    fixed += FixFlag(&rec->ShowClass);
    // A size is all or nothing: half a stored size restores nothing sensible.
    if (rec->MainDlgWidth < 0 || rec->MainDlgWidth > kMaxExtent ||
        rec->MainDlgHeight < 0 || rec->MainDlgHeight > kMaxExtent) {
        rec->MainDlgWidth = def.MainDlgWidth;
        rec->MainDlgHeight = def.MainDlgHeight;
        fixed++;
    }
    return fixed;
}

bool AcceptStoredOptions(const void* data, DWORD bytes)
{
    if (bytes != OPTIONS_SIZE) return false;
    uint32_t sig, size;
    memcpy(&sig, data, 4);
    memcpy(&size, (const char*)data + 4, 4);
    return sig == OPTIONS_SIGNATURE && size == bytes;
}

bool LoadOptionsFrom(const void* data, DWORD bytes, OptionsRecord* rec)
{
    SetOptionsDefaults(rec);
    if (!AcceptStoredOptions(data, bytes)) return false;
    memcpy(rec, data, sizeof(*rec));
    ValidateOptions(rec);
    return true;
}

// ---- Values beside the record: one line each, its name in the string table.

struct ExtraValue {
    UINT nameId;
    uint32_t ExtraOptions::*field;
    uint32_t fallback;
};
static const ExtraValue kExtraValues[] = {
    {IDS_VALUE_SHOWMAGNIFIER, &ExtraOptions::ShowMagnifier, 1},
};

void SetExtraOptionsDefaults(ExtraOptions* extra)
{
    for (const ExtraValue& v : kExtraValues) extra->*v.field = v.fallback;
    extra->ColumnDpi = 0;
}

uint32_t StoredFlag(LONG readResult, DWORD type, DWORD bytes, DWORD data, uint32_t fallback)
{
    if (readResult != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof(DWORD)) return fallback;
    return data != 0 ? 1 : 0;
}

uint32_t StoredDpi(LONG readResult, DWORD type, DWORD bytes, DWORD data)
{
    if (readResult != ERROR_SUCCESS || type != REG_DWORD || bytes != sizeof(DWORD)) return 0;
    return data >= 48 && data <= 1536 ? data : 0;
}

static void RebaseWidths(int32_t* widths, int count, UINT fromDpi, UINT toDpi)
{
    for (int i = 0; i < count; i++)
        if (widths[i] >= 0) widths[i] = ScaleBetween(widths[i], (int)fromDpi, (int)toDpi);
}

void RebaseColumnWidths(OptionsRecord* rec, UINT fromDpi, UINT toDpi)
{
    if (fromDpi == 0 || fromDpi == toDpi) return;
    RebaseWidths(rec->ProcessColumnWidths, PROCESS_COLUMNS, fromDpi, toDpi);
    RebaseWidths(rec->ThreadColumnWidths, THREAD_COLUMNS, fromDpi, toDpi);
    RebaseWidths(rec->ModuleColumnWidths, MODULE_COLUMNS, fromDpi, toDpi);
    RebaseWidths(rec->TaskColumnWidths, TASK_COLUMNS, fromDpi, toDpi);
}

void TakeColumnDpi(UINT dpi)
{
    RebaseColumnWidths(&g_Options, g_ExtraOptions.ColumnDpi, dpi);
    g_ExtraOptions.ColumnDpi = dpi;
}

void LoadExtraOptions(HKEY key)
{
    for (const ExtraValue& v : kExtraValues) {
        DWORD type = 0, data = 0, bytes = sizeof(data);
        LONG rc = RegQueryValueExA(key, LoadResString(v.nameId), NULL, &type, (BYTE*)&data, &bytes);
        g_ExtraOptions.*v.field = StoredFlag(rc, type, bytes, data, v.fallback);
    }
    DWORD type = 0, data = 0, bytes = sizeof(data);
    LONG rc = RegQueryValueExA(key, LoadResString(IDS_VALUE_COLUMNDPI), NULL, &type, (BYTE*)&data, &bytes);
    g_ExtraOptions.ColumnDpi = StoredDpi(rc, type, bytes, data);
}

bool SaveExtraOptions(HKEY key)
{
    bool saved = true;
    for (const ExtraValue& v : kExtraValues) {
        DWORD data = g_ExtraOptions.*v.field;
        if (RegSetValueExA(key, LoadResString(v.nameId), 0, REG_DWORD, (const BYTE*)&data, sizeof(data)) !=
            ERROR_SUCCESS)
            saved = false;
    }
    // Not known is not stored: a record from before keeps meaning "the DPI it is read at".
    DWORD dpi = g_ExtraOptions.ColumnDpi;
    if (dpi && RegSetValueExA(key, LoadResString(IDS_VALUE_COLUMNDPI), 0, REG_DWORD, (const BYTE*)&dpi,
                              sizeof(dpi)) != ERROR_SUCCESS)
        saved = false;
    return saved;
}

// ---- The settings key

void LoadOptions()
{
    SetOptionsDefaults(&g_Options);
    SetExtraOptionsDefaults(&g_ExtraOptions);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LoadResString(IDS_KEY_OPTIONS), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    BYTE buf[OPTIONS_SIZE];
    DWORD bytes = sizeof(buf);
    DWORD type = 0;
    LONG rc = RegQueryValueExA(key, LoadResString(IDS_VALUE_OPTIONS), NULL, &type, buf, &bytes);
    if (rc == ERROR_SUCCESS) LoadOptionsFrom(buf, bytes, &g_Options);
    LoadExtraOptions(key);
    RegCloseKey(key);
}

bool SaveOptions()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, LoadResString(IDS_KEY_OPTIONS), 0, (LPSTR)"",
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, NULL) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(key, LoadResString(IDS_VALUE_OPTIONS), 0, REG_BINARY,
                             (const BYTE*)&g_Options, sizeof(g_Options));
    bool extras = SaveExtraOptions(key);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && extras;
}

bool BuildRunAtLogonCommand(const char* exePath, char* out, size_t outSize)
{
    const char* fmt = strchr(exePath, ' ') ? "\"%s\" t" : "%s t";
    int n = snprintf(out, outSize, fmt, exePath);
    return n >= 0 && (size_t)n < outSize;
}

bool SetRunAtLogon(bool on)
{
    // The command is needed only to write the value: turning the option off must delete it even
    // when this program's own path cannot be read, or it would start at every logon.
    char command[MAX_PATH + 8];
    if (on) {
        char path[MAX_PATH + 2];
        DWORD len = GetModuleFileNameA(NULL, path, sizeof(path));
        if (len == 0 || len >= sizeof(path)) return false;
        if (!BuildRunAtLogonCommand(path, command, sizeof(command))) return false;
    }

    // The name first: the key names below reuse the shared string buffer.
    char name[64];
    lstrcpynA(name, LoadResString(IDS_VALUE_RUN), sizeof(name));

    HKEY base, run;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, LoadResString(IDS_KEY_CURRENTVERSION), 0, (LPSTR)"",
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &base, NULL) != ERROR_SUCCESS)
        return false;
    bool done = false;
    if (RegCreateKeyExA(base, LoadResString(IDS_KEY_RUN), 0, (LPSTR)"",
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &run, NULL) == ERROR_SUCCESS) {
        if (on) {
            done = RegSetValueExA(run, name, 0, REG_SZ, (const BYTE*)command,
                                  (DWORD)strlen(command) + 1) == ERROR_SUCCESS;
        } else {
            LONG rc = RegDeleteValueA(run, name);
            done = rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
        }
        RegCloseKey(run);
    }
    RegCloseKey(base);
    return done;
}
