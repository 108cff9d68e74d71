#include "capture/capture_helpers.h"
#include "support/testing.h"
#include "capture_picture.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// ---- Pictures

Picture ExpectedPicture(int x0, int y0, int w, int h)
{
    Picture p;
    p.width = w;
    p.height = h;
    p.pixels.resize((size_t)w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) p.pixels[(size_t)y * w + x] = CapturePicturePixel(x0 + x, y0 + y);
    return p;
}

// ---- The fixture

PictureWindow::PictureWindow(int x, int y, int w, int h, const char* title, int hangAfterMs)
{
    char line[512];
    snprintf(line, sizeof(line), "\"%s\\capture_fixture.exe\" --x %d --y %d --w %d --h %d --title \"%s\" --hang-after %d",
             ProgramFolder().c_str(), x, y, w, h, title, hangAfterMs);
    if (!Start(line)) return;
    WaitUntil([&] { return (window_ = FindWindowA("VantixCaptureFixture", title)) != NULL; }, 10000);
    if (!window_) return;
    // Activated, and the activation handled by its own thread (its focus is set): none of it
    // arrives late, in the middle of a selection.
    DWORD thread = GetWindowThreadProcessId(window_, NULL);
    WaitUntil([&] {
        GUITHREADINFO gui;
        ZeroMemory(&gui, sizeof(gui));
        gui.cbSize = sizeof(gui);
        return GetForegroundWindow() == window_ && GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == window_;
    }, 5000);
    // Shown and painted: the display holds the picture. A window narrower than the smallest
    // window has a wider client area than the picture.
    RECT rc = ClientScreenRect();
    if (rc.right > rc.left + w) rc.right = rc.left + w;
    if (rc.bottom > rc.top + h) rc.bottom = rc.top + h;
    RECT onScreen = rc;
    if (onScreen.left < 0) onScreen.left = 0;
    if (onScreen.top < 0) onScreen.top = 0;
    WaitUntil([&] {
        Picture now = ScreenPicture(onScreen);
        Picture want = ExpectedPicture(onScreen.left - rc.left, onScreen.top - rc.top, onScreen.right - onScreen.left,
                                       onScreen.bottom - onScreen.top);
        return PictureDifference(now, want) == 0;
    }, 5000);
}

PictureWindow::~PictureWindow()
{
    End();
    WaitUntil([&] { return !IsWindow(window_); }, 5000);
}

bool PictureWindow::BeBusy(DWORD ms) const
{
    DWORD_PTR began = 0;
    return SendMessageTimeoutA(window_, CAPTURE_FIXTURE_BUSY, ms, 0, SMTO_NORMAL, 5000, &began) && began;
}

long PictureWindow::Activations() const
{
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutA(window_, CAPTURE_FIXTURE_ACTIVATIONS, 0, 0, SMTO_NORMAL, 5000, &n)) return -1;
    return (long)n;
}

RECT PictureWindow::ClientScreenRect() const
{
    RECT rc = {0, 0, 0, 0};
    GetClientRect(window_, &rc);
    MapWindowPoints(window_, HWND_DESKTOP, (POINT*)&rc, 2);
    return rc;
}

// ---- Linux tools

// xdotool commands go to one long-lived shell loop, started once, before any overlay is up, and
// ended when the test program ends: commands can then be given from inside a running selection
// without starting a program each time.
static std::string s_xdoCommand;
static std::string s_xdoStop;

static void StopXdotoolLoop()
{
    if (s_xdoStop.empty()) return;
    FILE* f = fopen(s_xdoStop.c_str(), "w");
    if (f) fclose(f);
}

static bool StartXdotoolLoop()
{
    if (!s_xdoCommand.empty()) return true;
    char name[64];
    snprintf(name, sizeof(name), "xdo_%lu", GetCurrentProcessId());
    std::string cmd = TestFile(std::string(name) + ".cmd"), stop = TestFile(std::string(name) + ".stop"),
                ready = TestFile(std::string(name) + ".ready");
    DeleteFileA(cmd.c_str());
    DeleteFileA(stop.c_str());
    DeleteFileA(ready.c_str());
    std::string c = UnixPath(cmd), st = UnixPath(stop), rd = UnixPath(ready);
    // Bounded: a test program that dies without saying so leaves no loop behind for long.
    std::string line = "sh -c \"end=$(( $(date +%s) + 1800 )); touch '" + rd + "'; "
                       "while [ ! -e '" + st + "' ] && [ $(date +%s) -lt $end ]; do "
                       "if [ -e '" + c + "' ]; then mv '" + c + "' '" + c + ".run'; xdotool $(cat '" + c + ".run'); "
                       "rm -f '" + c + ".run'; fi; sleep 0.05; done; rm -f '" + st + "' '" + rd + "'\"";
    if (!StartUnixProgram("Z:\\bin\\sh", line)) return false;
    s_xdoCommand = cmd;
    s_xdoStop = stop;
    atexit(StopXdotoolLoop);
    // Commands are taken once the loop runs.
    WaitUntil([&] { return FileExists(ready); }, 20000);
    return true;
}

void StartXdotool(const std::string& args)
{
    if (!StartXdotoolLoop()) return;
    // Waits for the previous command to be taken, then hands this one over whole.
    WaitUntil([] { return !FileExists(s_xdoCommand); }, 20000);
    std::string tmp = s_xdoCommand + ".tmp";
    FILE* f = fopen(tmp.c_str(), "w");
    if (!f) return;
    fputs(args.c_str(), f);
    fclose(f);
    MoveFileExA(tmp.c_str(), s_xdoCommand.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void PrepareXdotool()
{
    StartXdotoolLoop();
}

static bool ReadPpm(const std::string& bytes, Picture* out)
{
    int w = 0, h = 0, maxv = 0, used = 0;
    if (sscanf(bytes.c_str(), "P6 %d %d %d%n", &w, &h, &maxv, &used) != 3 || maxv != 255) return false;
    size_t at = (size_t)used + 1;
    if (bytes.size() < at + (size_t)w * h * 3) return false;
    out->width = w;
    out->height = h;
    out->pixels.resize((size_t)w * h);
    const unsigned char* p = (const unsigned char*)bytes.data() + at;
    for (size_t i = 0; i < out->pixels.size(); i++, p += 3)
        out->pixels[i] = ((unsigned long)p[0] << 16) | (p[1] << 8) | p[2];
    return true;
}

bool ImportScreenshot(const RECT& rc, Picture* out)
{
    std::string file = TestFile("import_shot.ppm");
    DeleteFileA(file.c_str());
    char cmd[512];
    snprintf(cmd, sizeof(cmd), "import -window root -crop %ldx%ld+%ld+%ld +repage -depth 8 'ppm:%s'",
             (long)(rc.right - rc.left), (long)(rc.bottom - rc.top), (long)rc.left, (long)rc.top,
             UnixPath(file).c_str());
    if (RunUnixShell(cmd, 30000) != 0) return false;
    bool ok = ReadPpm(ReadFileText(file), out);
    DeleteFileA(file.c_str());
    return ok;
}

std::string IdentifyImage(const std::string& winPath)
{
    std::string out = TestFile("identify_out.txt");
    DeleteFileA(out.c_str());
    int rc = RunUnixShell("identify -format '%w %h %m %z' '" + UnixPath(winPath) + "' > '" + UnixPath(out) + "' 2>&1",
                          30000);
    std::string text = ReadFileText(out);
    DeleteFileA(out.c_str());
    return rc == 0 ? text : "identify failed: " + text;
}

bool DecodeWithImageMagick(const std::string& winPath, Picture* out)
{
    std::string file = TestFile("decoded.ppm");
    DeleteFileA(file.c_str());
    if (RunUnixShell("convert '" + UnixPath(winPath) + "' -depth 8 'ppm:" + UnixPath(file) + "'", 30000) != 0)
        return false;
    bool ok = ReadPpm(ReadFileText(file), out);
    DeleteFileA(file.c_str());
    return ok;
}

bool DumpClipboardFormat(const char* format, const std::string& file)
{
    DeleteFileA(file.c_str());
    int rc = RunAndWait("\"" + ProgramFolder() + "\\capture_fixture.exe\" --dump-clipboard \"" + file + "\" --format " +
                            format, 20000);
    return rc == 0 && FileExists(file);
}

// ---- Save As

struct DialogSearch {
    bool wantSaveAs;
    HWND found;
};

static BOOL CALLBACK FindDialogProc(HWND h, LPARAM lp)
{
    DialogSearch* s = (DialogSearch*)lp;
    char cls[16];
    if (!IsWindowVisible(h) || !GetClassNameA(h, cls, sizeof(cls)) || strcmp(cls, "#32770") != 0) return TRUE;
    bool isSaveAs = GetDlgItem(h, 0x47C) != NULL || GetDlgItem(h, 0x480) != NULL;
    bool isPrompt = GetDlgItem(h, 0xFFFF) != NULL && GetDlgItem(h, IDYES) != NULL;
    if ((s->wantSaveAs && isSaveAs) || (!s->wantSaveAs && isPrompt)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

static HWND FindUiDialog(DWORD thread, bool saveAs)
{
    DialogSearch s = {saveAs, NULL};
    EnumThreadWindows(thread, FindDialogProc, (LPARAM)&s);
    return s.found;
}

static HWND FileNameEdit(HWND dlg)
{
    HWND ed = GetDlgItem(dlg, 0x480);
    if (ed) return ed;
    HWND cb = GetDlgItem(dlg, 0x47C);
    ed = FindWindowExA(cb, NULL, "Edit", NULL);
    if (!ed) ed = FindWindowExA(FindWindowExA(cb, NULL, "ComboBox", NULL), NULL, "Edit", NULL);
    return ed;
}

SaveAsDriver::SaveAsDriver(const std::string& fileName, std::function<void(HWND)> observer)
    : name_(fileName), observer_(observer), uiThread_(GetCurrentThreadId())
{
    thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
}

SaveAsDriver::~SaveAsDriver()
{
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
}

DWORD WINAPI SaveAsDriver::Run(LPVOID p)
{
    SaveAsDriver* self = (SaveAsDriver*)p;
    HWND handled = NULL;
    while (!self->stop_) {
        HWND prompt = FindUiDialog(self->uiThread_, false);
        if (prompt) {
            InterlockedIncrement(&self->prompts_);
            PostMessageA(prompt, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), (LPARAM)GetDlgItem(prompt, IDYES));
            // Answered once: the next look is for whatever follows it.
            WaitUntil([&] { return !IsWindow(prompt) || !IsWindowVisible(prompt); }, 5000);
            continue;
        }
        HWND dlg = FindUiDialog(self->uiThread_, true);
        if (dlg && dlg != handled) {
            handled = dlg;
            InterlockedIncrement(&self->seen_);
            self->owner_ = GetWindow(dlg, GW_OWNER);
            if (self->observer_) self->observer_(dlg);
            int button = IDCANCEL;
            if (!self->name_.empty()) {
                SendMessageA(FileNameEdit(dlg), WM_SETTEXT, 0, (LPARAM)self->name_.c_str());
                button = IDOK;
            }
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dlg, button));
        } else if (!dlg) {
            handled = NULL;
        }
        Sleep(30);
    }
    return 0;
}

// ---- Counters

static DWORD s_diskRoom;
static bool s_diskFailsHard;

void FillDiskAfter(DWORD bytes, bool failHard)
{
    s_diskRoom = bytes;
    s_diskFailsHard = failHard;
}

BOOL WINAPI FullDiskWriteFile(HANDLE f, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED ov)
{
    DWORD n = bytes < s_diskRoom ? bytes : s_diskRoom;
    s_diskRoom -= n;
    if (n == bytes) return WriteFile(f, data, bytes, written, ov);
    if (s_diskFailsHard) {
        WriteFile(f, data, n, written, ov);
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(f, data, n, written, ov);
}

std::vector<std::string> StrayFiles()
{
    std::vector<std::string> found;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(TestFile("~*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return found;
    do found.push_back(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return found;
}

long CountGdiObjects()
{
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return (long)n;
    // Wine reports 0. Its handles keep the table index in the low word, and a handle whose
    // high word is zero names whatever lives at that index: every live object is found once.
    long live = 0;
    for (ULONG_PTR i = 1; i <= 0xFFFF; i++)
        if (GetObjectType((HGDIOBJ)i)) live++;
    return live;
}

long CountUserObjects()
{
    return (long)GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
}

static BOOL CALLBACK CountChildProc(HWND, LPARAM n)
{
    ++*(long*)n;
    return TRUE;
}

static BOOL CALLBACK CountTopProc(HWND h, LPARAM n)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
    ++*(long*)n;
    EnumChildWindows(h, CountChildProc, n);
    return TRUE;
}

long CountOwnWindows()
{
    long n = 0;
    EnumWindows(CountTopProc, (LPARAM)&n);
    return n;
}

long CountHeapBlocks()
{
    HANDLE heap = GetProcessHeap();
    long busy = 0;
    if (!HeapLock(heap)) return -1;
    PROCESS_HEAP_ENTRY e;
    ZeroMemory(&e, sizeof(e));
    while (HeapWalk(heap, &e))
        if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy++;
    HeapUnlock(heap);
    return busy;
}

// ---- Viewers

static BOOL CALLBACK CollectViewerProc(HWND h, LPARAM lp)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[32];
    if (pid == GetCurrentProcessId() && GetClassNameA(h, cls, sizeof(cls)) && strcmp(cls, "Vantix_Capture") == 0)
        ((std::vector<HWND>*)lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> ViewerWindows()
{
    std::vector<HWND> v;
    EnumWindows(CollectViewerProc, (LPARAM)&v);
    return v;
}

void CloseViewers()
{
    for (HWND h : ViewerWindows()) DestroyWindow(h);
}
