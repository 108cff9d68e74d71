// Start-up of the program against the least dialog program (common controls initialised, one
// dialog with a tab control): from CreateProcess to the moment the main dialog is visible and has
// handled a message posted to it (it is then minimized, a state that lasts), each program started
// in turn, the median of each and their ratio. The program starts as a new user would start it:
// its stored settings are removed before every start, and what was there is put back at the end.
// One warm-up start of each comes first and is not counted.
//   bench_startup.exe [starts of each program (default 7)]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>

static const char kSettingsKey[] = "Software\\Brenholt\\VantixXP\\Version 1.00";
// The key and its parents, innermost first: whichever a start creates goes again at the end.
static const char* const kSettingsChain[] = {kSettingsKey, "Software\\Brenholt\\VantixXP", "Software\\Brenholt"};
static const DWORD kGiveUpMs = 30000;

static double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)f.QuadPart;
}

// ---- Stored settings: kept aside, cleared before each start, put back at the end

struct StoredValue {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

static bool KeyExists(const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

static std::vector<StoredValue> ReadValues()
{
    std::vector<StoredValue> values;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; i++) {
        char name[256];
        DWORD nameLen = sizeof(name), type = 0, bytes = 0;
        if (RegEnumValueA(key, i, name, &nameLen, NULL, &type, NULL, &bytes) != ERROR_SUCCESS) break;
        StoredValue v;
        v.name = name;
        v.type = type;
        v.data.resize(bytes ? bytes : 1);
        DWORD got = (DWORD)v.data.size();
        if (RegQueryValueExA(key, name, NULL, &v.type, v.data.data(), &got) != ERROR_SUCCESS) continue;
        v.data.resize(got);
        values.push_back(v);
    }
    RegCloseKey(key);
    return values;
}

static void ClearValues()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (const StoredValue& v : ReadValues()) RegDeleteValueA(key, v.name.c_str());
    RegCloseKey(key);
}

static void RestoreSettings(const std::vector<StoredValue>& saved, const bool existed[3])
{
    ClearValues();
    if (!saved.empty()) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL) ==
            ERROR_SUCCESS) {
            for (const StoredValue& v : saved)
                RegSetValueExA(key, v.name.c_str(), 0, v.type, v.data.data(), (DWORD)v.data.size());
            RegCloseKey(key);
        }
        return;
    }
    for (int i = 0; i < 3; i++)
        if (!existed[i]) RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsChain[i]);
}

// ---- One start

static HWND VisibleDialogOf(DWORD pid, const char* caption)
{
    for (HWND h = FindWindowExA(NULL, NULL, "#32770", caption); h; h = FindWindowExA(NULL, h, "#32770", caption)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner == pid && IsWindowVisible(h)) return h;
    }
    return NULL;
}

// Milliseconds from CreateProcess to a visible dialog that has handled a posted minimize; a
// negative value when the program did not get there.
static double StartOnce(const std::string& exe, const char* caption)
{
    std::string line = "\"" + exe + "\"";
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    double t0 = Now();
    if (!CreateProcessA(NULL, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return -1;
    double result = -1;
    HWND dlg = NULL;
    while (!dlg && Now() - t0 < kGiveUpMs) {
        dlg = VisibleDialogOf(pi.dwProcessId, caption);
        if (!dlg) Sleep(1);
    }
    if (dlg) {
        PostMessageA(dlg, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        while (!IsIconic(dlg) && IsWindow(dlg) && Now() - t0 < kGiveUpMs) Sleep(1);
        if (IsIconic(dlg)) result = Now() - t0;
        // Closing the dialog ends either program.
        PostMessageA(dlg, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

static double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int starts = argc > 1 ? atoi(argv[1]) : 7;
    if (starts < 1) starts = 1;
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof(self));
    std::string dir(self);
    dir = dir.substr(0, dir.find_last_of('\\'));
    const std::string program = dir + "\\Vantix.exe";
    const std::string least = dir + "\\least_dialog.exe";

    bool existed[3];
    for (int i = 0; i < 3; i++) existed[i] = KeyExists(kSettingsChain[i]);
    const std::vector<StoredValue> saved = ReadValues();

    std::vector<double> programMs, leastMs;
    printf("%d starts of each, in turn; ms from CreateProcess to a visible dialog that handled a posted message\n",
           starts);
    printf("%6s %12s %12s\n", "start", "Vantix", "least");
    bool failed = false;
    // One start of each is not counted: the first start of a session also waits for Wine's
    // desktop process and reads the program from disk, which neither program's own work causes.
    ClearValues();
    double warmP = StartOnce(program, "Vantix"), warmL = StartOnce(least, "Least dialog");
    printf("%6s %12.1f %12.1f  (not counted)\n", "warm", warmP, warmL);
    std::vector<double> pairRatios;
    for (int s = 0; s < starts; s++) {
        // Each pair back to back, the order turned every time, so that a slow spell of the machine
        // falls on both programs alike.
        double p, l;
        ClearValues();
        if (s % 2 == 0) {
            p = StartOnce(program, "Vantix");
            l = StartOnce(least, "Least dialog");
        } else {
            l = StartOnce(least, "Least dialog");
            p = StartOnce(program, "Vantix");
        }
        printf("%6d %12.1f %12.1f\n", s + 1, p, l);
        if (p < 0 || l < 0) failed = true;
        if (p >= 0) programMs.push_back(p);
        if (l >= 0) leastMs.push_back(l);
        if (p >= 0 && l > 0) pairRatios.push_back(p / l);
    }
    RestoreSettings(saved, existed);

    double mp = Median(programMs), ml = Median(leastMs);
    printf("median Vantix start:              %.1f ms\n", mp);
    printf("median least dialog program start: %.1f ms\n", ml);
    printf("median of the pairs' ratios:       %.2f\n", Median(pairRatios));
    printf("ratio Vantix / least:              %.2f\n", ml > 0 ? mp / ml : 0.0);
    if (failed) printf("some starts did not reach a responsive dialog (shown as -1)\n");
    return failed ? 1 : 0;
}
