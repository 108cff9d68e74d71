// A full refresh of the Processes page (snapshot plus the three fills) against the same platform
// calls made by a bare loop that keeps no tables. Prints both and their ratio.
//   bench_processes.exe [extra fixture processes (default 20)] [rounds (default 10)]
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

#include "app/settings.h"
#include "app/program.h"
#include "processes/processes_page.h"
#include "processes/snapshot.h"
#include "resource.h"

static HMODULE s_handles[MAX_PROCESS_MODULES];

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

static void Insert(HWND list, int row, const char* text, int image, int cells, const char* cell)
{
    LVITEMA item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_TEXT | LVIF_PARAM | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.pszText = (LPSTR)text;
    item.iImage = image;
    int r = (int)SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
    for (int c = 1; c <= cells; c++) {
        LVITEMA sub;
        ZeroMemory(&sub, sizeof(sub));
        sub.iSubItem = c;
        sub.pszText = (LPSTR)cell;
        SendMessageA(list, LVM_SETITEMTEXTA, r, (LPARAM)&sub);
    }
}

// The platform calls of a refresh, straight into three list views, nothing kept.
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
    DWORD firstPid = 0;
    char cell[64];
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (pe.th32ProcessID == GetCurrentProcessId()) continue;
        HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pe.th32ProcessID);
        char path[MAX_PATH] = "";
        DWORD bytes = 0;
        if (h && EnumProcessModules(h, s_handles, sizeof(s_handles), &bytes)) {
            int n = (int)(bytes / sizeof(HMODULE));
            for (int k = 0; k < n && k < MAX_PROCESS_MODULES; k++) {
                char mpath[MAX_PATH];
                MODULEINFO mi;
                GetModuleFileNameExA(h, s_handles[k], mpath, sizeof(mpath));
                GetModuleInformation(h, s_handles[k], &mi, sizeof(mi));
                if (k == 0) lstrcpynA(path, mpath, sizeof(path));
                if (rows == 0) Insert(modules, k, mpath, -1, 2, "1");
            }
        }
        DWORD cls = h ? GetPriorityClass(h) : 0;
        if (h) CloseHandle(h);
        SHFILEINFOA sfi;
        ZeroMemory(&sfi, sizeof(sfi));
        int image = -1;
        if (path[0] && SHGetFileInfoA(path, 0, &sfi, sizeof(sfi), SHGFI_ICON | SHGFI_SMALLICON)) {
            image = ImageList_ReplaceIcon(images, -1, sfi.hIcon);
            DestroyIcon(sfi.hIcon);
        }
        wsprintfA(cell, "%04X %u", (unsigned)pe.th32ProcessID, (unsigned)cls);
        Insert(procs, rows, path[0] ? path : pe.szExeFile, image, 3, cell);
        if (rows == 0) firstPid = pe.th32ProcessID;
        rows++;
    }
    THREADENTRY32 te;
    ZeroMemory(&te, sizeof(te));
    te.dwSize = sizeof(te);
    int trows = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == firstPid) Insert(threads, trows++, "1", -1, 4, "8");
    CloseHandle(snap);
    SendMessageA(procs, WM_SETREDRAW, TRUE, 0);
    SendMessageA(threads, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(procs, NULL, TRUE);
    InvalidateRect(threads, NULL, TRUE);
    return rows;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int extra = argc > 1 ? atoi(argv[1]) : 20;
    int rounds = argc > 2 ? atoi(argv[2]) : 10;
    g_hInst = GetModuleHandleA(NULL);
    InitCommonControls();
    SetOptionsDefaults(&g_Options);

    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    std::string dir(self);
    dir = dir.substr(0, dir.find_last_of('\\'));
    std::vector<PROCESS_INFORMATION> started;
    for (int i = 0; i < extra; i++) {
        std::string cmd = "\"" + dir + "\\vantix_fixture.exe\" --threads 4 --load msimg32.dll --title bench";
        STARTUPINFOA si;
        ZeroMemory(&si, sizeof(si));
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi;
        std::vector<char> line(cmd.begin(), cmd.end());
        line.push_back('\0');
        if (CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
            WaitForInputIdle(pi.hProcess, 5000);
            started.push_back(pi);
        }
    }
    Sleep(500);

    HWND host = CreateWindowExA(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500,
                                NULL, NULL, NULL, NULL);
    HWND page = CreateDialogParamA(g_hInst, MAKEINTRESOURCEA(IDD_PAGE_PROCESSES), host, ProcessesPageProc, 0);
    Pump();
    double t0 = Now();
    for (int r = 0; r < rounds; r++) {
        SendMessageA(page, WM_COMMAND, IDC_MAIN_REFRESH, 0);
        Pump();
    }
    double pageMs = (Now() - t0) / rounds;
    int rows = g_processCount, threadsAll = g_threadCount, modulesAll = g_moduleCount;
    DestroyWindow(page);

    HWND procs = MakeList(host, 0, 0, 600, 200, 4, true);
    HWND threads = MakeList(host, 0, 220, 600, 100, 5, true);
    HWND modules = MakeList(host, 0, 220, 600, 100, 3, false);
    Pump();
    t0 = Now();
    int bareRows = 0;
    for (int r = 0; r < rounds; r++) {
        bareRows = BareRefresh(procs, threads, modules);
        Pump();
    }
    double bareMs = (Now() - t0) / rounds;

    printf("processes %d (bare loop %d), threads %d, modules %d, %d rounds\n", rows, bareRows, threadsAll,
           modulesAll, rounds);
    printf("page refresh (snapshot + three fills): %.2f ms\n", pageMs);
    printf("bare loop of the platform calls:       %.2f ms\n", bareMs);
    printf("ratio page / bare:                     %.2f\n", bareMs > 0 ? pageMs / bareMs : 0.0);

    for (auto& pi : started) {
        TerminateProcess(pi.hProcess, 0);
        WaitForSingleObject(pi.hProcess, 5000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    DestroyWindow(host);
    return 0;
}
