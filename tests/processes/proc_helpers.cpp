#include "proc_helpers.h"
#include "support/testing.h"

#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>

// ---- Fixture processes

std::string FixtureProcess::ExePath()
{
    return ProgramFolder() + "\\vantix_fixture.exe";
}

FixtureProcess::FixtureProcess(const std::string& title, const std::string& args)
    : handle_(NULL), pid_(0), window_(NULL)
{
    handle_ = StartProcess("\"" + ExePath() + "\" --title \"" + title + "\" " + args, &pid_);
    if (!handle_) return;
    // The fixture starts its threads and loads its libraries before it makes its window. The
    // tests' thread owns windows of its own: it keeps serving them while it waits.
    PumpUntil([&] { return (window_ = FindTopWindow(pid_, NULL, NULL, true)) != NULL; }, 15000);
}

FixtureProcess::~FixtureProcess()
{
    if (!handle_) return;
    if (Running()) {
        TerminateProcess(handle_, 3);
        WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
}

bool FixtureProcess::Running() const
{
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool FixtureProcess::WaitExit(DWORD ms) const
{
    return handle_ && PumpUntil([&] { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }, ms);
}

DWORD FixtureProcess::ExitCode() const
{
    DWORD code = 0xDEAD;
    GetExitCodeProcess(handle_, &code);
    return code;
}

std::vector<PlainModule> FullModuleRead(DWORD pid)
{
    std::vector<PlainModule> modules;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!h) return modules;
    std::vector<HMODULE> handles(10240);
    DWORD bytes = 0;
    if (EnumProcessModules(h, handles.data(), (DWORD)(handles.size() * sizeof(HMODULE)), &bytes)) {
        for (DWORD k = 0; k < bytes / sizeof(HMODULE) && k < handles.size(); k++) {
            char path[MAX_PATH] = "";
            MODULEINFO mi;
            ZeroMemory(&mi, sizeof(mi));
            GetModuleFileNameExA(h, handles[k], path, sizeof(path));
            GetModuleInformation(h, handles[k], &mi, sizeof(mi));
            modules.push_back({path, (BYTE*)mi.lpBaseOfDll, mi.SizeOfImage});
        }
    }
    CloseHandle(h);
    return modules;
}

// ---- In-process list views

std::string CellText(HWND list, int row, int column)
{
    char buf[512] = "";
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = sizeof(buf);
    SendMessageA(list, LVM_GETITEMTEXTA, row, (LPARAM)&item);
    return buf;
}

int RowCount(HWND list)
{
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

LPARAM RowParamOf(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
    return item.lParam;
}

int RowWithParam(HWND list, LPARAM param)
{
    for (int r = 0; r < RowCount(list); r++)
        if (RowParamOf(list, r) == param) return r;
    return -1;
}

void SelectRow(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

struct DialogSearch {
    const char* caption;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectDialogsProc(HWND h, LPARAM lp)
{
    DialogSearch* s = (DialogSearch*)lp;
    char cls[32], text[128];
    GetClassNameA(h, cls, sizeof(cls));
    GetWindowTextA(h, text, sizeof(text));
    if (strcmp(cls, "#32770") == 0 && strcmp(text, s->caption) == 0) s->found.push_back(h);
    return TRUE;
}

std::vector<HWND> ThreadDialogs(const char* caption)
{
    DialogSearch s = {caption, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectDialogsProc, (LPARAM)&s);
    return s.found;
}

HWND FindThreadDialog(const char* caption, const std::vector<HWND>& except)
{
    for (HWND h : ThreadDialogs(caption)) {
        bool old = false;
        for (HWND e : except) old = old || e == h;
        if (!old) return h;
    }
    return NULL;
}

std::string DlgText(HWND dlg, int id)
{
    char buf[1024] = "";
    GetDlgItemTextA(dlg, id, buf, sizeof(buf));
    return buf;
}

std::string Hex4(DWORD v)
{
    char buf[16];
    sprintf(buf, "%04X", (unsigned)v);
    return buf;
}

// ---- List views of another process

RemoteList::RemoteList(HWND list) : list_(list), process_(NULL), mem_(NULL)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                           FALSE, pid);
    if (process_) mem_ = (char*)VirtualAllocEx(process_, NULL, 4096, MEM_COMMIT, PAGE_READWRITE);
}

RemoteList::~RemoteList()
{
    if (mem_) VirtualFreeEx(process_, mem_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
}

int RemoteList::Rows() const
{
    return (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0);
}

std::string RemoteList::Text(int row, int column) const
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.iSubItem = column;
    item.cchTextMax = 256;
    item.pszText = mem_ + 512;
    WriteProcessMemory(process_, mem_, &item, sizeof(item), NULL);
    SendMessageA(list_, LVM_GETITEMTEXTA, row, (LPARAM)mem_);
    char buf[257] = "";
    ReadProcessMemory(process_, mem_ + 512, buf, 256, NULL);
    buf[256] = '\0';
    return buf;
}

void RemoteList::Select(int row) const
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    WriteProcessMemory(process_, mem_, &item, sizeof(item), NULL);
    SendMessageA(list_, LVM_SETITEMSTATE, row, (LPARAM)mem_);
}
