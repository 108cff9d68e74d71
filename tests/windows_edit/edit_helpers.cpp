#include "edit_helpers.h"
#include "support/testing.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

// ---- The tasks fixture

std::string TasksFixture::ExePath()
{
    return ProgramFolder() + "\\tasks_fixture.exe";
}

TasksFixture::TasksFixture(const std::string& title, const std::string& args)
    : title_(title), process_(NULL), pid_(0), main_(NULL)
{
    process_ = StartProcess("\"" + ExePath() + "\" --title \"" + title + "\" " + args, &pid_);
    if (!process_) return;
    // The fixture shows its main window once all the others exist.
    main_ = WaitForTopWindow(pid_, "VantixTasksFixture", title.c_str(), true, 15000);
}

TasksFixture::~TasksFixture()
{
    if (!process_) return;
    TerminateProcess(process_, 3);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

HWND TasksFixture::Window(const char* suffix) const
{
    if (!*suffix) return WaitForTopWindow(pid_, "VantixTasksFixture", "", false, 5000);
    std::string t = title_ + " " + suffix;
    return WaitForTopWindow(pid_, NULL, t.c_str(), false, 5000);
}

HWND TasksFixture::Button() const
{
    HWND d = Window("dialog");
    return d ? FindWindowExA(d, NULL, "Button", NULL) : NULL;
}

Notepad::Notepad() : process_(NULL), pid_(0), main_(NULL)
{
    process_ = StartProcess("notepad.exe", &pid_);
    if (!process_) return;
    WaitForInputIdle(process_, 10000);
    main_ = WaitForTopWindow(pid_, "Notepad", NULL, true, 15000);
}

Notepad::~Notepad()
{
    if (!process_) return;
    TerminateProcess(process_, 3);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

long long StyleSeenByAnotherProcess(HWND w, bool extended)
{
    char cmd[512];
    snprintf(cmd, sizeof(cmd), "\"%s\" --read-style %lX%s", TasksFixture::ExePath().c_str(),
             (unsigned long)(ULONG_PTR)w, extended ? " --ex" : "");
    int code = RunAndWait(cmd, 20000);
    return code == -1 ? -1 : (long long)(DWORD)code;
}

// ---- Input


void MoveMouseTo(int x, int y, DWORD settleMs)
{
    Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y), 0);
    WaitUntil([&] {
        POINT p;
        return GetCursorPos(&p) && p.x == x && p.y == y;
    }, 3000);
    if (settleMs) Sleep(settleMs);
}

POINT Center(const RECT& rc)
{
    POINT p = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return p;
}

// ---- Pictures

Picture TakePicture()
{
    Picture p;
    p.width = GetSystemMetrics(SM_CXSCREEN);
    p.height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bmp && bits) {
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, p.width, p.height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const uint32_t* px = (const uint32_t*)bits;
        p.pixels.assign(px, px + (size_t)p.width * p.height);
        SelectObject(mem, old);
    }
    if (bmp) DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
    return p;
}

int CountDifferences(const Picture& a, const Picture& b, const RECT* rc)
{
    if (a.width != b.width || a.height != b.height || a.pixels.empty() || b.pixels.empty()) return -1;
    RECT all = {0, 0, a.width, a.height};
    RECT r = all;
    if (rc) IntersectRect(&r, rc, &all);
    int n = 0;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            if (a.At(x, y) != b.At(x, y)) n++;
    return n;
}

// 24 bits per pixel: the unused fourth byte of screen pixels would read as transparency.
static void SaveBmp(const std::string& path, const uint32_t* pixels, int width, int height)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    BITMAPFILEHEADER fh;
    BITMAPINFOHEADER ih;
    ZeroMemory(&fh, sizeof(fh));
    ZeroMemory(&ih, sizeof(ih));
    DWORD stride = ((DWORD)width * 3 + 3) & ~3u;
    DWORD bytes = stride * height;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + bytes;
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = -height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    fwrite(&fh, sizeof(fh), 1, f);
    fwrite(&ih, sizeof(ih), 1, f);
    std::vector<unsigned char> row(stride, 0);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) memcpy(&row[(size_t)x * 3], &pixels[(size_t)y * width + x], 3);
        fwrite(row.data(), 1, stride, f);
    }
    fclose(f);
}

static std::string ReviewPath(const char* name)
{
    char dir[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VANTIX_SHOTS", dir, sizeof(dir));
    if (n == 0 || n >= sizeof(dir)) return "";
    std::string d = dir;
    // A Unix folder as the shell gives it.
    if (!d.empty() && d[0] == '/') d = "Z:" + d;
    return d + "\\" + name + ".bmp";
}

void SavePictureForReview(const Picture& p, const char* name)
{
    std::string path = ReviewPath(name);
    if (!path.empty() && !p.pixels.empty()) SaveBmp(path, p.pixels.data(), p.width, p.height);
}

void SaveWindowForReview(HWND w, const char* name)
{
    std::string path = ReviewPath(name);
    if (path.empty()) return;
    Picture p = TakePicture();
    RECT rc = WindowRect(w);
    RECT all = {0, 0, p.width, p.height};
    IntersectRect(&rc, &rc, &all);
    int cw = rc.right - rc.left, ch = rc.bottom - rc.top;
    if (cw <= 0 || ch <= 0 || p.pixels.empty()) return;
    std::vector<uint32_t> crop((size_t)cw * ch);
    for (int y = 0; y < ch; y++)
        memcpy(&crop[(size_t)y * cw], &p.pixels[(size_t)(rc.top + y) * p.width + rc.left], (size_t)cw * 4);
    SaveBmp(path, crop.data(), cw, ch);
}
