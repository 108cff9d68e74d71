// Programs the tests start: one owner of a started process, the fixture programs of ours and of
// Wine built on it, Vantix.exe itself, and Linux programs run from a test.
#ifndef VANTIX_SUPPORT_PROCESSES_H
#define VANTIX_SUPPORT_PROCESSES_H

#include <windows.h>
#include <string>
#include <vector>

// A process the test started: ended and let go when the object goes, even when an assertion
// stops the test early.
class StartedProcess {
public:
    StartedProcess() = default;
    explicit StartedProcess(const std::string& commandLine) { Start(commandLine); }
    ~StartedProcess() { End(); }
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    // Starts commandLine, in folder when one is given (the working folder of the test program
    // otherwise); with defaultPlace, the starter names where its new windows go when it leaves
    // their place to the platform, as a shell may. Ends the one started before. False when it
    // could not start.
    bool Start(const std::string& commandLine, const std::string& folder = "", const POINT* defaultPlace = nullptr);
    // Takes over the running process pid (one that a Linux program started, say).
    bool Open(DWORD pid);
    // Terminates it if it still runs, waits a while for it to go and lets it go.
    void End();
    // Terminates it at once without waiting (a thread waiting for its answer is then freed).
    void Kill() const;

    bool Started() const { return handle_ != NULL; }
    HANDLE Handle() const { return handle_; }
    DWORD Pid() const { return pid_; }
    bool Running() const;
    // True when it ended within ms, this thread's messages served meanwhile; its exit code goes
    // to code when given.
    bool Exited(DWORD ms, DWORD* code = nullptr) const;
    DWORD ExitCode() const;
    // True once its start-up is over and it waits for input in its loop, within ms.
    bool Idle(DWORD ms) const;
    // Its first top-level window of this class and title (null matches anything), within ms.
    HWND WaitForWindow(const char* cls, const char* title, bool visibleOnly, DWORD ms) const;

private:
    HANDLE handle_ = NULL;
    DWORD pid_ = 0;
};

// vantix_fixture.exe (tests/fixtures/fixture.cpp) with the title and arguments given; its
// window is the one with that title, waited for while this thread's messages are served.
class FixtureProcess : public StartedProcess {
public:
    explicit FixtureProcess(const std::string& title, const std::string& args = "");
    HWND Window() const { return window_; }
    static std::string ExePath();

private:
    HWND window_ = NULL;
};

// Wine's notepad.
class Notepad : public StartedProcess {
public:
    Notepad();
    HWND Main() const { return main_; }

private:
    HWND main_ = NULL;
};

// Vantix.exe beside this test program.
std::string VantixPath();
// The hidden main window of a running Vantix, NULL when none runs.
HWND VantixHiddenWindow();
// The page a main dialog of Vantix shows (also of another process), NULL when none.
HWND ShownPage(HWND mainDialog);

// How a Vantix is started; the defaults start the one beside this test program as a user does.
struct VantixStart {
    std::string args;
    std::string exe;                      // another copy of the program
    std::string folder;                   // its working folder
    const POINT* defaultPlace = nullptr;  // where the platform places its new windows
    // Started by a Linux shell, with Wine's trace of the help library written to this file: the
    // trace goes to the process's Linux standard error, which no Windows handle reaches.
    std::string helpTrace;
};
class VantixProcess : public StartedProcess {
public:
    explicit VantixProcess(const char* args = "");
    explicit VantixProcess(const VantixStart& how);
    // Its visible dialog with this caption, waiting up to ms for it.
    HWND Dialog(const char* caption = "Vantix", DWORD ms = 10000) const;
    // Its hidden main window, NULL while it has none.
    HWND HiddenWindow() const;
};

// The paths of the modules a process has loaded, its executable first.
std::vector<std::string> LoadedModules(DWORD pid);

// Runs a command line and waits for it; returns the exit code, or -1 when it could not start.
// stdout and stderr go to outFile when given.
int RunAndWait(const std::string& commandLine, DWORD timeoutMs, const char* outFile = nullptr);

// The Linux path of a path of this program ("" outside wine).
std::string UnixPath(const std::string& winPath);
// Starts a Linux program (app a Windows path of it, such as "Z:\\bin\\sh"). Its handle cannot
// be waited for under wine: callers wait for its effect.
bool StartUnixProgram(const char* app, const std::string& commandLine);
// Runs a shell command line of the Linux side and waits for it (through a marker file).
// Returns its exit status, or -1 on a time-out. No double quotes inside: Windows quoting rules
// split the line for the Linux side.
int RunUnixShell(const std::string& command, DWORD timeoutMs);

#endif
