// Helpers shared by the test programs.
#ifndef VANTIX_TESTING_H
#define VANTIX_TESTING_H

#include <windows.h>
#include <string>
#include <vector>

// Makes the test program's own instance the resource instance of the code under test.
void InitTestSupport();

// Dispatches this thread's messages for ms milliseconds (the program's loop rules apply).
void PumpMessages(DWORD ms);
// Pumps until pred() holds or ms pass; returns pred().
template <class Pred> bool PumpUntil(Pred pred, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > ms) return pred();
        PumpMessages(10);
    }
}
// Waits without pumping (for other processes) until pred() holds or ms pass.
template <class Pred> bool WaitUntil(Pred pred, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > ms) return pred();
        Sleep(20);
    }
}

// Answers every message box this thread shows with the button given (IDYES, IDNO, IDOK),
// and records each box's caption, text and button/icon flags. Removed when it goes out of scope.
struct BoxRecord {
    std::string caption;
    std::string text;
    UINT style;     // MB_ button and icon flags, read back from the box as shown
};
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(int answer);
    ~MessageBoxAnswerer();
    const std::vector<BoxRecord>& Boxes() const;
private:
    HHOOK hook_;
};

// Deletes HKCU\Software\Brenholt (the stored settings) and the run-at-logon value.
void ClearStoredSettings();
// Reads the stored settings value; returns its byte count (0 when absent).
DWORD ReadStoredSettings(void* buf, DWORD size);
// Writes raw bytes as the stored settings value.
void WriteStoredSettings(const void* data, DWORD size);
// A value beside the settings record under the same key: reads its type and first four bytes
// (false when absent), writes it raw, or deletes it.
bool ReadStoredExtra(const char* name, DWORD* type, DWORD* data);
void WriteStoredExtra(const char* name, DWORD type, const void* data, DWORD size);
void DeleteStoredExtra(const char* name);
// Reads the run-at-logon value; empty when absent.
std::string ReadRunAtLogon();

// First top-level window of process pid whose class and title equal the given ones (null
// matches anything); with visibleOnly, hidden windows are passed over.
HWND FindTopWindow(DWORD pid, const char* cls, const char* title, bool visibleOnly);
// The same, waiting up to ms for it to appear.
HWND WaitForTopWindow(DWORD pid, const char* cls, const char* title, bool visibleOnly, DWORD ms);

// Outer size and position of a window.
RECT WindowRect(HWND h);
// Folder of the running test program (ends without a backslash).
std::string ProgramFolder();

// Runs a command line and waits for it; returns the exit code, or -1 when it could not start.
// stdout and stderr go to outFile when given.
int RunAndWait(const std::string& commandLine, DWORD timeoutMs, const char* outFile = nullptr);
// Starts a process; returns its handle (and id), or NULL.
HANDLE StartProcess(const std::string& commandLine, DWORD* pid = nullptr);
// Runs xdotool (a Linux program) with the arguments given: real mouse and keyboard input on
// the test display. Its handle cannot be waited for under wine, so callers wait for the effect.
void Xdotool(const std::string& args, DWORD settleMs = 300);

// Clears the stored settings when it goes out of scope, however the test leaves.
struct StoredSettingsGuard {
    ~StoredSettingsGuard() { ClearStoredSettings(); }
};
// A process the test started (h from StartProcess): ended and closed when it goes out of scope,
// even when an assertion stops the test early.
struct StartedProcess {
    HANDLE h = NULL;
    StartedProcess() = default;
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;
    ~StartedProcess()
    {
        if (!h) return;
        if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) TerminateProcess(h, 9);
        CloseHandle(h);
    }
};

// Vantix.exe beside this test program.
std::string VantixPath();
// The hidden main window of a running Vantix, NULL when none runs.
HWND VantixHiddenWindow();
// One running Vantix.exe with the arguments given: ended whatever happens in the test.
class VantixProcess {
public:
    explicit VantixProcess(const char* args = "");
    ~VantixProcess();
    VantixProcess(const VantixProcess&) = delete;
    VantixProcess& operator=(const VantixProcess&) = delete;
    bool Started() const { return process_ != NULL; }
    DWORD Pid() const { return pid_; }
    // Its visible dialog with this caption, waiting up to ms for it.
    HWND Dialog(const char* caption = "Vantix", DWORD ms = 10000) const;
    // True when it ended within ms; its exit code goes to code when given.
    bool Exited(DWORD ms, DWORD* code = nullptr) const;
    // True once its start-up is over and it waits for input in its loop, within ms.
    bool Idle(DWORD ms) const;

private:
    HANDLE process_ = NULL;
    DWORD pid_ = 0;
};

// Reads a whole file into a string.
std::string ReadFileText(const std::string& path);

#endif
