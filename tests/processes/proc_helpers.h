// Helpers of the Processes tests: fixture processes of ours and list-view reading.
#ifndef VANTIX_PROC_HELPERS_H
#define VANTIX_PROC_HELPERS_H

#include <windows.h>
#include <string>
#include <vector>

// A running vantix_fixture.exe; ended (if still running) when the object goes.
class FixtureProcess {
public:
    // Starts the fixture with the given title and arguments and waits for its window.
    FixtureProcess(const std::string& title, const std::string& args);
    ~FixtureProcess();
    bool Running() const;
    // True when the process ended within ms (this thread's messages served meanwhile).
    bool WaitExit(DWORD ms) const;
    DWORD ExitCode() const;
    DWORD Pid() const { return pid_; }
    HWND Window() const { return window_; }
    HANDLE Handle() const { return handle_; }
    static std::string ExePath();
private:
    HANDLE handle_;
    DWORD pid_;
    HWND window_;
};

// A module as a fresh read through the platform's calls gives it.
struct PlainModule {
    std::string path;
    BYTE* base;
    DWORD size;
};
// Every module of a process in the platform's order, read straight from the platform.
std::vector<PlainModule> FullModuleRead(DWORD pid);

// Text of one cell of a list view of this process.
std::string CellText(HWND list, int row, int column);
int RowCount(HWND list);
LPARAM RowParamOf(HWND list, int row);
// Row whose item parameter is param, or -1.
int RowWithParam(HWND list, LPARAM param);
void SelectRow(HWND list, int row);
// A top-level dialog of this thread with this caption, other than those in `except`.
HWND FindThreadDialog(const char* caption, const std::vector<HWND>& except = {});
std::vector<HWND> ThreadDialogs(const char* caption);
std::string DlgText(HWND dlg, int id);
std::string Hex4(DWORD v);

// List views of another process, read through memory allocated inside it.
class RemoteList {
public:
    RemoteList(HWND list);
    ~RemoteList();
    bool Ok() const { return mem_ != NULL; }
    int Rows() const;
    std::string Text(int row, int column) const;
    void Select(int row) const;
private:
    HWND list_;
    HANDLE process_;
    char* mem_;
};

#endif
