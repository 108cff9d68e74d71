// Helpers of the capture tests: the picture fixture, Linux tools run from the test (xdotool,
// ImageMagick), a driver for the Save As dialog, and object counters for leak checks.
#ifndef VANTIX_CAPTURE_HELPERS_H
#define VANTIX_CAPTURE_HELPERS_H

#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "support/pictures.h"
#include "support/processes.h"

// The fixture's picture for the client pixels (x0, y0) .. (x0 + w, y0 + h).
Picture ExpectedPicture(int x0, int y0, int w, int h);

// A running capture_fixture.exe showing its picture; ended when the object goes.
class PictureWindow : public StartedProcess {
public:
    PictureWindow(int x, int y, int w, int h, const char* title = "Vantix capture fixture", int hangAfterMs = -1);
    ~PictureWindow();
    HWND Window() const { return window_; }
    // Client area in screen coordinates.
    RECT ClientScreenRect() const;
    // Has the fixture read no message for ms milliseconds from now on (true once it has begun):
    // the display shows its window as it last was until the spell is over.
    bool BeBusy(DWORD ms) const;
    // How often its window has been activated (-1 when it does not answer).
    long Activations() const;
private:
    HWND window_ = NULL;
};

// Has xdotool play these arguments and returns at once (chains may begin with "sleep S").
void StartXdotool(const std::string& args);
// Starts the loop that runs xdotool commands, if it is not running yet.
void PrepareXdotool();
// Screenshot of rc with ImageMagick's import (a tool we did not write), read back as pixels.
bool ImportScreenshot(const RECT& rc, Picture* out);
// ImageMagick's identify on a file: "width height type depth" as it reports them.
std::string IdentifyImage(const std::string& winPath);
// A picture file of any type as ImageMagick decodes it.
bool DecodeWithImageMagick(const std::string& winPath, Picture* out);
// The clipboard's data in the format of that name, as another process (capture_fixture) reads
// it, written to file; true when it was there.
bool DumpClipboardFormat(const char* format, const std::string& file);

// Answers the Save As dialogs that this thread shows, on a watcher thread: types the file
// name and presses Save (or Cancel when the name is empty), and answers the overwrite prompt
// with Yes. The observer runs on the watcher thread when the dialog appears.
class SaveAsDriver {
public:
    explicit SaveAsDriver(const std::string& fileName, std::function<void(HWND)> observer = nullptr);
    ~SaveAsDriver();
    int DialogsSeen() const { return seen_; }
    int PromptsAnswered() const { return prompts_; }
    HWND LastOwner() const { return owner_; }
private:
    static DWORD WINAPI Run(LPVOID self);
    std::string name_;
    std::function<void(HWND)> observer_;
    DWORD uiThread_;
    HANDLE thread_;
    volatile LONG stop_ = 0;
    volatile LONG seen_ = 0;
    volatile LONG prompts_ = 0;
    HWND owner_ = NULL;
};

// Live GDI objects of this process, and busy blocks of its heap.
long CountGdiObjects();
long CountHeapBlocks();
// USER objects of this process where the platform counts them (0 where it does not), and the
// windows of this process (top-level windows and their descendants).
long CountUserObjects();
long CountOwnWindows();

// A disk that fills up: with g_pfnWriteFile set to FullDiskWriteFile, the writes after the first
// bytes given to FillDiskAfter fail with ERROR_DISK_FULL (failHard) or come up short.
void FillDiskAfter(DWORD bytes, bool failHard);
BOOL WINAPI FullDiskWriteFile(HANDLE f, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED ov);
// Files of the test folder whose names begin with "~": what a save may write before the file.
std::vector<std::string> StrayFiles();

// Closes every window of this process that the capture code may have left open (viewers).
void CloseViewers();
// The viewers of this process, in no particular order.
std::vector<HWND> ViewerWindows();

#endif
