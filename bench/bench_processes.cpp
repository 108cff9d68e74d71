// A refresh of the Processes page against a bare loop of the platform calls that a refresh made
// when the snapshot read every module of every process (toolhelp, then per process its module
// table, priority class and icon, the threads and the modules of the top process into three list
// views), at the processes that run, then with 10 and with 40 fixture processes of ours added.
// Page and bare loop take turns round by round; each prints its median and the ratio of the
// medians, and the rows that both put into their lists are compared.
//   bench_processes.exe [rounds (default 7)] [fixture counts (default 0 10 40)...]
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/program.h"
#include "processes/priority_names.h"
#include "processes/processes_page.h"
#include "processes/snapshot.h"
#include "resource.h"

static HMODULE s_handles[MAX_PROCESS_MODULES];
static int s_bareModules;   // modules the bare loop read in its last round

static double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)f.QuadPart;
}

static void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

static double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

static HWND MakeList(HWND parent, int x, int y, int w, int h, int columns, bool visible)
{
    HWND l = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                             WS_CHILD | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | (visible ? WS_VISIBLE : 0),
                             x, y, w, h, parent, NULL, NULL, NULL);
    for (int i = 0; i < columns; i++) {
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_WIDTH | LVCF_TEXT;
        col.cx = 80;
        col.pszText = (LPSTR)"c";
        SendMessageA(l, LVM_INSERTCOLUMNA, i, (LPARAM)&col);
    }
    return l;
}

static void Insert(HWND list, int row, int image, const std::vector<std::string>& cells)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.pszText = (LPSTR)cells[0].c_str();
    item.iImage = image;
    int r = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    for (size_t c = 1; c < cells.size(); c++) {
        LVITEMA sub;
        ZeroMemory(&sub, sizeof(sub));
        sub.iSubItem = (int)c;
        sub.pszText = (LPSTR)cells[c].c_str();
        SendMessageA(list, LVM_SETITEMTEXTA, r, (LPARAM)&sub);
    }
}

// The Module column as it was shown when every module was read: the first module's base name
// when the executable's path is that module's path, else the 16-bit module name of the file.
static std::string ModuleColumn(const char* exeFile, const char* firstPath)
{
    if (lstrcmpiA(exeFile, firstPath) == 0) return FileNamePart(firstPath);
    char ne[MODULE_PATH_CHARS];
    if (ReadNeModuleName(exeFile, ne, sizeof(ne))) return ne;
    return firstPath[0] ? FileNamePart(firstPath) : "";
}

// The platform calls of a refresh that reads every module of every process, straight into three
// list views, nothing kept.
static int BareRefresh(HWND procs, HWND threads, HWND modules)
{
    SendMessageA(procs, WM_SETREDRAW, FALSE, 0);
    SendMessageA(threads, WM_SETREDRAW, FALSE, 0);
    SendMessageA(procs, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(threads, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(modules, LVM_DELETEALLITEMS, 0, 0);
    HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                         ILC_COLOR32 | ILC_MASK, 32, 0);
    HIMAGELIST old = (HIMAGELIST)SendMessageA(procs, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)images);
    if (old) ImageList_Destroy(old);
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD, 0);
    PROCESSENTRY32 pe;
    ZeroMemory(&pe, sizeof(pe));
    pe.dwSize = sizeof(pe);
    int rows = 0;
    s_bareModules = 0;
    DWORD firstPid = 0;
    char cell[64];
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ProcessID == GetCurrentProcessId()) continue;
        HANDLE h = pe.th32ProcessID ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pe.th32ProcessID)
                                    : NULL;
        char path[MAX_PATH] = "";
        DWORD bytes = 0;
        if (h && EnumProcessModules(h, s_handles, sizeof(s_handles), &bytes)) {
            int n = (int)(bytes / sizeof(HMODULE));
            s_bareModules += n;
            for (int k = 0; k < n && k < MAX_PROCESS_MODULES; k++) {
                char mpath[MAX_PATH] = "";
                MODULEINFO mi;
                ZeroMemory(&mi, sizeof(mi));
                GetModuleFileNameExA(h, s_handles[k], mpath, sizeof(mpath));
                GetModuleInformation(h, s_handles[k], &mi, sizeof(mi));
                if (k == 0) lstrcpynA(path, mpath, sizeof(path));
                if (rows == 0) {
                    wsprintfA(cell, "%d", (int)mi.SizeOfImage);
                    Insert(modules, k, -1, {mpath[0] ? FileNamePart(mpath) : "", cell, mpath});
                }
            }
        }
        DWORD cls = h ? GetPriorityClass(h) : 0;
        if (h) CloseHandle(h);
        const char* exe = path[0] ? path : pe.szExeFile;
        SHFILEINFOA sfi;
        ZeroMemory(&sfi, sizeof(sfi));
        int image = -1;
        if (exe[0] && SHGetFileInfoA(exe, 0, &sfi, sizeof(sfi), SHGFI_ICON | SHGFI_SMALLICON) && sfi.hIcon) {
            image = ImageList_ReplaceIcon(images, -1, sfi.hIcon);
            DestroyIcon(sfi.hIcon);
        }
        wsprintfA(cell, "%04X", (unsigned)pe.th32ProcessID);
        std::string name = FileNamePart(exe);
        Insert(procs, rows, image, {name, cell, PriorityClassName(cls), ModuleColumn(exe, path)});
        if (rows == 0) firstPid = pe.th32ProcessID;
        rows++;
    }
    THREADENTRY32 te;
    ZeroMemory(&te, sizeof(te));
    te.dwSize = sizeof(te);
    int trows = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == firstPid) Insert(threads, trows++, -1, {"1", "8", "8", "8", "8"});
    CloseHandle(snap);
    SendMessageA(procs, WM_SETREDRAW, TRUE, 0);
    SendMessageA(threads, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(procs, NULL, TRUE);
    InvalidateRect(threads, NULL, TRUE);
    return rows;
}

// ---- Comparing what the two put on the screen

static std::string Cell(HWND list, int row, int column)
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

static bool HasImage(HWND list, int row)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)&item);
    return item.iImage >= 0;
}

static std::vector<std::string> Rows(HWND list, int columns, bool images)
{
    std::vector<std::string> rows;
    int n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int r = 0; r < n; r++) {
        std::string row;
        for (int c = 0; c < columns; c++) row += Cell(list, r, c) + " | ";
        if (images) row += HasImage(list, r) ? "icon" : "no icon";
        rows.push_back(row);
    }
    return rows;
}

// Number of differing rows; the first few are printed.
static int CompareRows(const char* what, const std::vector<std::string>& page, const std::vector<std::string>& bare)
{
    int differ = 0;
    size_t n = std::max(page.size(), bare.size());
    for (size_t i = 0; i < n; i++) {
        std::string p = i < page.size() ? page[i] : "(none)";
        std::string b = i < bare.size() ? bare[i] : "(none)";
        if (p == b) continue;
        if (differ++ < 5) printf("  %s row %d differs:\n    page: %s\n    bare: %s\n", what, (int)i, p.c_str(), b.c_str());
    }
    return differ;
}

// ---- Fixture processes

static std::vector<PROCESS_INFORMATION> s_started;

static void StartFixtures(int total)
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    std::string dir(self);
    dir = dir.substr(0, dir.find_last_of('\\'));
    while ((int)s_started.size() < total) {
        std::string cmd = "\"" + dir + "\\vantix_fixture.exe\" --threads 4 --load msimg32.dll --title bench";
        STARTUPINFOA si;
        ZeroMemory(&si, sizeof(si));
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi;
        std::vector<char> line(cmd.begin(), cmd.end());
        line.push_back('\0');
        if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) break;
        WaitForInputIdle(pi.hProcess, 5000);
        s_started.push_back(pi);
    }
    Sleep(300);
}

static void EndFixtures()
{
    for (auto& pi : s_started) {
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    s_started.clear();
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int rounds = argc > 1 ? atoi(argv[1]) : 7;
    if (rounds < 1) rounds = 1;
    std::vector<int> levels;
    for (int i = 2; i < argc; i++) levels.push_back(atoi(argv[i]));
    if (levels.empty()) levels = {0, 10, 40};
    g_hInst = GetModuleHandleA(NULL);
    InitCommonControls();
    SetOptionsDefaults(&g_Options);

    HWND host = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 700,
                                NULL, NULL, NULL, NULL);
    HWND page = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_PAGE_PROCESSES), host, ProcessesPageProc, 0);
    HWND procs = MakeList(host, 0, 380, 600, 200, 4, true);
    HWND threads = MakeList(host, 0, 590, 600, 100, 5, true);
    HWND modules = MakeList(host, 0, 590, 600, 100, 3, false);
    Pump();

    printf("%d rounds at each level, page and bare loop in turn; medians\n", rounds);
    printf("%-9s %9s %8s %9s %10s %10s %7s %s\n", "fixtures", "processes", "modules", "top mods", "page ms",
           "bare ms", "ratio", "rows");
    int mismatches = 0;
    for (int level : levels) {
        StartFixtures(level);
        std::vector<double> pageMs, bareMs;
        int bareRows = 0;
        for (int r = 0; r < rounds; r++) {
            double t0 = Now();
            SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
            Pump();
            pageMs.push_back(Now() - t0);
            t0 = Now();
            bareRows = BareRefresh(procs, threads, modules);
            Pump();
            bareMs.push_back(Now() - t0);
        }
        // What each shows after its last round: the process rows, and the modules of the top one.
        int differ = CompareRows("process", Rows(g_hProcessList, 4, true), Rows(procs, 4, true)) +
                     CompareRows("module", Rows(g_hModuleList, 3, false), Rows(modules, 3, false));
        mismatches += differ;
        double p = Median(pageMs), b = Median(bareMs);
        char label[32];
        snprintf(label, sizeof(label), "+%d", level);
        printf("%-9s %9d %8d %9d %10.1f %10.1f %7.2f %s\n", label, bareRows, s_bareModules,
               (int)SendMessageA(g_hModuleList, LVM_GETITEMCOUNT, 0, 0), p, b, b > 0 ? p / b : 0.0,
               differ ? "DIFFER" : "same");
    }
    printf("modules: all modules of all processes; top mods: the rows of the top process's module list\n");
    EndFixtures();
    DestroyWindow(page);
    DestroyWindow(host);
    return mismatches ? 1 : 0;
}
