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

long PictureDifference(const Picture& a, const Picture& b)
{
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 1L << 30;
    long diff = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        if (a.pixels[i] != b.pixels[i]) diff++;
    return diff;
}

std::string DescribeDifference(const Picture& got, const Picture& want)
{
    char buf[256];
    if (got.width != want.width || got.height != want.height) {
        snprintf(buf, sizeof(buf), "got %dx%d, want %dx%d", got.width, got.height, want.width, want.height);
        return buf;
    }
    long n = 0;
    int x0 = got.width, y0 = got.height, x1 = -1, y1 = -1, sx = -1, sy = -1;
    for (int y = 0; y < got.height; y++)
        for (int x = 0; x < got.width; x++)
            if (got.At(x, y) != want.At(x, y)) {
                if (!n++) { sx = x; sy = y; }
                if (x < x0) x0 = x;
                if (y < y0) y0 = y;
                if (x > x1) x1 = x;
                if (y > y1) y1 = y;
            }
    if (!n) return "same";
    snprintf(buf, sizeof(buf), "%ld pixels differ within (%d,%d)-(%d,%d); at (%d,%d) got %06lX want %06lX", n, x0, y0,
             x1, y1, sx, sy, got.At(sx, sy), want.At(sx, sy));
    return buf;
}

Picture Crop(const Picture& p, int x, int y, int w, int h)
{
    Picture c;
    c.width = w;
    c.height = h;
    c.pixels.resize((size_t)w * h);
    for (int j = 0; j < h; j++)
        for (int i = 0; i < w; i++) c.pixels[(size_t)j * w + i] = p.At(x + i, y + j);
    return c;
}

Picture BitmapPicture(HBITMAP bitmap)
{
    Picture p;
    BITMAP bm;
    if (!bitmap || !GetObjectA(bitmap, sizeof(bm), &bm)) return p;
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bits((size_t)bm.bmWidth * bm.bmHeight);
    HDC dc = GetDC(NULL);
    int lines = GetDIBits(dc, bitmap, 0, bm.bmHeight, bits.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    if (lines != bm.bmHeight) return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.pixels.assign(bits.begin(), bits.end());
    for (auto& v : p.pixels) v &= 0xFFFFFF;
    return p;
}

Picture DibPicture(const void* block, size_t size)
{
    Picture p;
    if (size < sizeof(BITMAPINFOHEADER)) return p;
    const BITMAPINFOHEADER* bi = (const BITMAPINFOHEADER*)block;
    if (bi->biSize != 40 || (bi->biBitCount != 24 && bi->biBitCount != 32) || bi->biCompression != BI_RGB) return p;
    int w = bi->biWidth, h = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight;
    size_t stride = ((size_t)bi->biBitCount * w + 31) / 32 * 4;
    size_t offset = 40 + bi->biClrUsed * 4;
    if (offset + stride * h > size) return p;
    p.width = w;
    p.height = h;
    p.pixels.resize((size_t)w * h);
    const BYTE* bits = (const BYTE*)block + offset;
    int bpp = bi->biBitCount / 8;
    for (int y = 0; y < h; y++) {
        const BYTE* row = bits + stride * (bi->biHeight > 0 ? h - 1 - y : y);
        for (int x = 0; x < w; x++) {
            const BYTE* px = row + (size_t)x * bpp;
            p.pixels[(size_t)y * w + x] = ((unsigned long)px[2] << 16) | (px[1] << 8) | px[0];
        }
    }
    return p;
}

Picture DibPicture(HGLOBAL dib)
{
    Picture p;
    if (!dib) return p;
    const void* block = GlobalLock(dib);
    if (!block) return p;
    p = DibPicture(block, GlobalSize(dib));
    GlobalUnlock(dib);
    return p;
}

Picture BmpPicture(const std::string& bytes)
{
    if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M') return Picture();
    return DibPicture(bytes.data() + 14, bytes.size() - 14);
}

Picture ScreenPicture(const RECT& rc)
{
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    HDC mem = CreateCompatibleDC(display);
    HBITMAP bm = CreateCompatibleBitmap(display, rc.right - rc.left, rc.bottom - rc.top);
    HGDIOBJ old = SelectObject(mem, bm);
    BitBlt(mem, 0, 0, rc.right - rc.left, rc.bottom - rc.top, display, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    Picture p = BitmapPicture(bm);
    DeleteObject(bm);
    DeleteDC(mem);
    DeleteDC(display);
    return p;
}

// ---- The fixture

PictureWindow::PictureWindow(int x, int y, int w, int h, const char* title, int hangAfterMs)
{
    char line[512];
    snprintf(line, sizeof(line), "\"%s\\capture_fixture.exe\" --x %d --y %d --w %d --h %d --title \"%s\" --hang-after %d",
             ProgramFolder().c_str(), x, y, w, h, title, hangAfterMs);
    process_ = StartProcess(line);
    if (!process_) return;
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
    if (process_) {
        TerminateProcess(process_, 0);
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
    }
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

std::string UnixPath(const std::string& winPath)
{
    typedef char*(CDECL * ToUnix)(const WCHAR*);
    static ToUnix toUnix = (ToUnix)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    if (!toUnix) return "";
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, winPath.c_str(), -1, wide, MAX_PATH);
    char* unix = toUnix(wide);
    if (!unix) return "";
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

static bool StartUnix(const char* app, const std::string& line)
{
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(app, cmd.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
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
    // Windows quoting rules split the line for the Linux side: no double quotes inside.
    std::string line = "sh -c \"" + command + "; echo $? > '" + unixMarker + ".tmp' && mv '" + unixMarker +
                       ".tmp' '" + unixMarker + "'\"";
    if (!StartUnix("Z:\\bin\\sh", line)) return -1;
    if (!WaitUntil([&] { return FileExists(marker); }, timeoutMs)) return -1;
    int status = atoi(FileBytes(marker).c_str());
    DeleteFileA(marker.c_str());
    return status;
}

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
    if (!StartUnix("Z:\\bin\\sh", line)) return false;
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
    bool ok = ReadPpm(FileBytes(file), out);
    DeleteFileA(file.c_str());
    return ok;
}

bool SaveScreenshotPng(const std::string& winPath)
{
    return RunUnixShell("import -window root '" + UnixPath(winPath) + "'", 30000) == 0;
}

std::string IdentifyImage(const std::string& winPath)
{
    std::string out = TestFile("identify_out.txt");
    DeleteFileA(out.c_str());
    int rc = RunUnixShell("identify -format '%w %h %m %z' '" + UnixPath(winPath) + "' > '" + UnixPath(out) + "' 2>&1",
                          30000);
    std::string text = FileBytes(out);
    DeleteFileA(out.c_str());
    return rc == 0 ? text : "identify failed: " + text;
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

// ---- Files and windows

std::string FileBytes(const std::string& path)
{
    return ReadFileText(path);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TestFile(const std::string& name)
{
    return ProgramFolder() + "\\" + name;
}

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
