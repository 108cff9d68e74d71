#include "support/processes.h"
#include "support/testing.h"

#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

// ---- One started process

bool StartedProcess::Start(const std::string& commandLine, const std::string& folder, const POINT* defaultPlace)
{
    End();
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    if (defaultPlace) {
        si.dwFlags = STARTF_USEPOSITION;
        si.dwX = (DWORD)defaultPlace->x;
        si.dwY = (DWORD)defaultPlace->y;
    }
    PROCESS_INFORMATION pi;
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    if (!CreateProcessA(NULL, cmd.data(), NULL, NULL, FALSE, 0, NULL, folder.empty() ? NULL : folder.c_str(), &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    handle_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    return true;
}

bool StartedProcess::Open(DWORD pid)
{
    End();
    handle_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    pid_ = handle_ ? pid : 0;
    return handle_ != NULL;
}

void StartedProcess::End()
{
    if (!handle_) return;
    if (Running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
    handle_ = NULL;
    pid_ = 0;
}

void StartedProcess::Kill() const
{
    if (handle_) TerminateProcess(handle_, 9);
}

bool StartedProcess::Running() const
{
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool StartedProcess::Exited(DWORD ms, DWORD* code) const
{
    if (!handle_ || !PumpUntil([&] { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }, ms)) return false;
    if (code) GetExitCodeProcess(handle_, code);
    return true;
}

DWORD StartedProcess::ExitCode() const
{
    DWORD code = 0xDEAD;
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

bool StartedProcess::Idle(DWORD ms) const
{
    return handle_ && WaitForInputIdle(handle_, ms) == 0;
}

HWND StartedProcess::WaitForWindow(const char* cls, const char* title, bool visibleOnly, DWORD ms) const
{
    HWND found = NULL;
    if (handle_) PumpUntil([&] { return (found = FindTopWindow(pid_, cls, title, visibleOnly)) != NULL; }, ms);
    return found;
}

// ---- Fixture programs

std::string FixtureProcess::ExePath()
{
    return ProgramFolder() + "\\vantix_fixture.exe";
}

FixtureProcess::FixtureProcess(const std::string& title, const std::string& args)
{
    // The fixture starts its threads and loads its libraries before it makes its window.
    if (Start("\"" + ExePath() + "\" --title \"" + title + "\" " + args))
        window_ = WaitForWindow(NULL, title.c_str(), true, 15000);
}

Notepad::Notepad()
{
    if (!Start("notepad.exe")) return;
    Idle(10000);
    main_ = WaitForWindow("Notepad", NULL, true, 20000);
}

// ---- Vantix

std::string VantixPath()
{
    return ProgramFolder() + "\\Vantix.exe";
}

HWND VantixHiddenWindow()
{
    return FindWindowA("Brenholt_Vantix_Main", "Brenholt_Vantix_Main");
}

HWND ShownPage(HWND mainDialog)
{
    HWND tab = FindWindowExA(mainDialog, NULL, "SysTabControl32", NULL);
    return tab ? FindWindowExA(tab, NULL, "#32770", NULL) : NULL;
}

static VantixStart WithArgs(const char* args)
{
    VantixStart how;
    how.args = args ? args : "";
    return how;
}

VantixProcess::VantixProcess(const char* args) : VantixProcess(WithArgs(args)) {}

VantixProcess::VantixProcess(const VantixStart& how)
{
    std::string exe = how.exe.empty() ? VantixPath() : how.exe;
    if (how.helpTrace.empty()) {
        Start("\"" + exe + "\"" + (how.args.empty() ? "" : " " + how.args), how.folder, how.defaultPlace);
        return;
    }
    std::string unixExe = UnixPath(exe), trace = UnixPath(how.helpTrace);
    if (unixExe.empty() || trace.empty()) return;
    // The loader of this bitness, as the test harness chose it.
    const char* loader = sizeof(void*) == 8 ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
    std::string line = std::string("sh -c \"l=${WINELOADER:-") + loader +
                       "}; WINEDEBUG=trace+htmlhelp exec \\\"$l\\\" \\\"$0\\\" " + how.args + " 2>\\\"$1\\\"\" \"" +
                       unixExe + "\" \"" + trace + "\"";
    if (!StartUnixProgram("Z:\\bin\\sh", line)) return;
    // A Linux process has no handle to wait for: the program is found by its hidden window.
    HWND hidden = NULL;
    if (WaitUntil([&] { return (hidden = VantixHiddenWindow()) != NULL; }, 20000)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hidden, &pid);
        Open(pid);
    }
}

HWND VantixProcess::Dialog(const char* caption, DWORD ms) const
{
    return WaitForWindow("#32770", caption, true, ms);
}

HWND VantixProcess::HiddenWindow() const
{
    return FindTopWindow(Pid(), "Brenholt_Vantix_Main", "Brenholt_Vantix_Main", false);
}

std::vector<std::string> LoadedModules(DWORD pid)
{
    std::vector<std::string> paths;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return paths;
    HMODULE modules[256];
    DWORD needed = 0;
    if (EnumProcessModules(process, modules, sizeof(modules), &needed)) {
        for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 256; i++) {
            char path[MAX_PATH];
            if (GetModuleFileNameExA(process, modules[i], path, sizeof(path))) paths.push_back(path);
        }
    }
    CloseHandle(process);
    return paths;
}

// ---- Programs run to their end

int RunAndWait(const std::string& commandLine, DWORD timeoutMs, const char* outFile)
{
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    HANDLE out = INVALID_HANDLE_VALUE;
    if (outFile) {
        SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, TRUE};
        out = CreateFileA(outFile, GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, NULL);
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out;
        si.hStdError = out;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION pi;
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    BOOL ok = CreateProcessA(NULL, cmd.data(), NULL, NULL, outFile != nullptr, 0, NULL, NULL, &si, &pi);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (!ok) return -1;
    CloseHandle(pi.hThread);
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return (int)code;
}

// ---- Linux programs

std::string UnixPath(const std::string& winPath)
{
    typedef char*(CDECL * ToUnix)(const WCHAR*);
    static ToUnix toUnix = (ToUnix)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    WCHAR wide[MAX_PATH];
    if (!toUnix || !MultiByteToWideChar(CP_ACP, 0, winPath.c_str(), -1, wide, MAX_PATH)) return "";
    char* unix = toUnix(wide);
    if (!unix) return "";
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

bool StartUnixProgram(const char* app, const std::string& commandLine)
{
    std::vector<char> cmd(commandLine.begin(), commandLine.end());
    cmd.push_back('\0');
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!CreateProcessA(app, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return false;
    // For a Linux program wine hands back no process handle and a thread value that is no
    // handle of the child: closing it would close a handle of ours (standard output, say).
    if (pi.hProcess) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    return true;
}

int RunUnixShell(const std::string& command, DWORD timeoutMs)
{
    static int s_serial;
    char name[64];
    snprintf(name, sizeof(name), "shell_done_%lu_%d", GetCurrentProcessId(), ++s_serial);
    std::string marker = TestFile(name);
    DeleteFileA(marker.c_str());
    std::string unixMarker = UnixPath(marker);
    std::string line = "sh -c \"" + command + "; echo $? > '" + unixMarker + ".tmp' && mv '" + unixMarker +
                       ".tmp' '" + unixMarker + "'\"";
    if (!StartUnixProgram("Z:\\bin\\sh", line)) return -1;
    if (!WaitUntil([&] { return FileExists(marker); }, timeoutMs)) return -1;
    int status = atoi(ReadFileText(marker).c_str());
    DeleteFileA(marker.c_str());
    return status;
}
