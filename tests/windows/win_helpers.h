// Helpers of the Windows tests: tree reading in this and another process, the windows fixture
// program, acting inside a modal dialog, and window pictures.
#ifndef VANTIX_WIN_HELPERS_H
#define VANTIX_WIN_HELPERS_H

#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

// ---- A tree view of this process
HTREEITEM TreeRoot(HWND tree);
HTREEITEM TreeParent(HWND tree, HTREEITEM item);
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent);
std::string TreeText(HWND tree, HTREEITEM item);
HWND TreeWindow(HWND tree, HTREEITEM item);
UINT TreeState(HWND tree, HTREEITEM item);
// Every item of the tree, depth first.
std::vector<HTREEITEM> TreeItems(HWND tree);
// The items that stand for a window (exactly one when the tree is right).
std::vector<HTREEITEM> ItemsOfWindow(HWND tree, HWND hWnd);
void SelectTreeItem(HWND tree, HTREEITEM item);

// ---- A tree view of another process, read through memory allocated inside it
class RemoteTree {
public:
    explicit RemoteTree(HWND tree);
    ~RemoteTree();
    bool Ok() const { return mem_ != NULL; }
    HTREEITEM Root() const;
    HTREEITEM Child(HTREEITEM item) const;
    HTREEITEM Next(HTREEITEM item) const;
    std::string Text(HTREEITEM item) const;
    HWND Window(HTREEITEM item) const;
    // The first item, depth first, that stands for the window; NULL when there is none.
    HTREEITEM Find(HWND hWnd) const;
    int Count(HWND hWnd) const;
    void Select(HTREEITEM item) const;
private:
    void Walk(HTREEITEM item, const std::function<void(HTREEITEM)>& fn) const;
    HWND tree_;
    HANDLE process_;
    char* mem_;
};

// ---- windows_fixture.exe, ended (if still running) when the object goes
class WindowsFixture {
public:
    WindowsFixture(const std::string& title, const std::string& args);
    ~WindowsFixture();
    DWORD Pid() const { return pid_; }
    HWND Window() const { return window_; }
    // Started with --hang-on-request: from now on the next request that would change one of its
    // windows hangs it for good. True when it took the word.
    bool Arm() const;
    // Ends it at once (a thread waiting for its answer is then freed).
    void Kill() const;
private:
    HANDLE handle_;
    DWORD pid_;
    HWND window_;
};

// Watches the loop of the thread that creates it while that thread acts: another thread posts a
// message to a window of the watched thread again and again and waits for each to be handled.
// Should one wait longer than stuckMs, the loop counts as stuck and onStuck runs (on the
// watching thread), which must free the watched thread (end the program it waits for).
class LoopWatch {
public:
    LoopWatch(DWORD stuckMs, std::function<void()> onStuck);
    // Stops watching once the watched thread has handled one more message; true when the loop
    // never stuck.
    bool Finish();
    ~LoopWatch();
private:
    static LRESULT CALLBACK ProbeProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    HWND probe_;
    void* state_;
};

// Runs act on the first visible dialog of this thread whose caption begins with captionPrefix,
// from inside the modal loop that the caller enters next. A dialog still open 10 s later is
// cancelled so that a failing test cannot hang.
void ActInModal(const char* captionPrefix, std::function<void(HWND)> act);
// Drops an act that no dialog has taken (when the call may or may not open one).
void CancelModalAct();

// What a click does to a check box of a dialog: it toggles, then the dialog hears of it.
void ClickCheckBox(HWND dlg, int id);
// A dialog button pressed: the dialog gets the command.
void PressButton(HWND dlg, int id);

// Top-level dialogs of this thread with this caption.
std::vector<HWND> CaptionDialogs(const char* caption);
// The dialog of this thread with this caption that is not among before.
HWND NewDialog(const char* caption, const std::vector<HWND>& before);

// The window's screen rectangle saved as a 24-bit BMP file.
bool SaveWindowShot(HWND hWnd, const std::string& path);

#endif
