// A full-screen capture written as a BMP file through the capture pipeline (screen to bitmap,
// bitmap to packed DIB, DIB to file) against a bare loop of BitBlt, GetDIBits and WriteFile.
// Prints both times per capture and their ratio.
//   bench_capture.exe [rounds (default 20)]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

#include "capture/dib.h"
#include "capture/pipeline.h"

static double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart * 1000.0 / (double)f.QuadPart;
}

// The pipeline as the Capture Screen page runs it for a full screen saved to a file.
static bool PipelineCapture(const char* path)
{
    GetWindowRect(GetDesktopWindow(), &g_rcCapture);
    CaptureScreenRect();
    HGLOBAL dib = BitmapToDib(g_hCaptureBitmap);
    bool ok = dib && WriteDibFile(path, dib) == ERROR_SUCCESS;
    if (dib) GlobalFree(dib);
    if (g_hCaptureBitmap) DeleteObject(g_hCaptureBitmap);
    g_hCaptureBitmap = NULL;
    return ok;
}

// The same picture and file with nothing but the platform calls, into a buffer that is kept
// from one capture to the next (fresh: a new one each time, as every capture needs a block of
// its own for the clipboard or a viewer).
static bool BareCapture(const char* path, std::vector<BYTE>& kept, bool fresh)
{
    std::vector<BYTE> own;
    std::vector<BYTE>& bits = fresh ? own : kept;
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    HDC mem = CreateCompatibleDC(display);
    HBITMAP bm = CreateCompatibleBitmap(display, w, h);
    HGDIOBJ old = SelectObject(mem, bm);
    BitBlt(mem, 0, 0, w, h, display, 0, 0, SRCCOPY);
    SelectObject(mem, old);

    BITMAPINFOHEADER bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.biSize = sizeof(bi);
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biSizeImage = (DWORD)(((24 * w + 31) / 32) * 4 * h);
    bits.resize(bi.biSizeImage);
    int lines = GetDIBits(display, bm, 0, h, bits.data(), (BITMAPINFO*)&bi, DIB_RGB_COLORS);
    DeleteObject(bm);
    DeleteDC(mem);
    DeleteDC(display);

    BITMAPFILEHEADER fh;
    fh.bfType = 0x4D42;
    fh.bfSize = (DWORD)(sizeof(fh) + sizeof(bi) + bi.biSizeImage);
    fh.bfReserved1 = fh.bfReserved2 = 0;
    fh.bfOffBits = (DWORD)(sizeof(fh) + sizeof(bi));
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n1 = 0, n2 = 0, n3 = 0;
    WriteFile(f, &fh, sizeof(fh), &n1, NULL);
    WriteFile(f, &bi, sizeof(bi), &n2, NULL);
    WriteFile(f, bits.data(), bi.biSizeImage, &n3, NULL);
    CloseHandle(f);
    return lines == h && n3 == bi.biSizeImage;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    int rounds = argc > 1 ? atoi(argv[1]) : 20;
    if (rounds < 1) rounds = 1;
    const char* pipelineFile = "bench_capture_pipeline.bmp";
    const char* bareFile = "bench_capture_bare.bmp";
    std::vector<BYTE> bits;

    // One warm-up of each, then alternate so that none gets a quieter machine.
    if (!PipelineCapture(pipelineFile) || !BareCapture(bareFile, bits, false)) {
        printf("capture failed: no display?\n");
        return 1;
    }
    double pipelineMs = 0, bareMs = 0, freshMs = 0;
    for (int i = 0; i < rounds; i++) {
        double t0 = Now();
        PipelineCapture(pipelineFile);
        double t1 = Now();
        BareCapture(bareFile, bits, false);
        double t2 = Now();
        BareCapture(bareFile, bits, true);
        double t3 = Now();
        pipelineMs += t1 - t0;
        bareMs += t2 - t1;
        freshMs += t3 - t2;
    }
    pipelineMs /= rounds;
    bareMs /= rounds;
    freshMs /= rounds;
    HANDLE f = CreateFileA(pipelineFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD size = f != INVALID_HANDLE_VALUE ? GetFileSize(f, NULL) : 0;
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    DeleteFileA(pipelineFile);
    DeleteFileA(bareFile);

    printf("full screen %dx%d to a BMP file of %lu bytes, %d rounds\n", GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN), (unsigned long)size, rounds);
    printf("capture pipeline (screen, DIB, file): %.2f ms\n", pipelineMs);
    printf("bare BitBlt + GetDIBits + WriteFile:  %.2f ms (buffer kept), %.2f ms (fresh buffer)\n", bareMs,
           freshMs);
    printf("ratio pipeline / bare:                %.2f (buffer kept), %.2f (fresh buffer)\n",
           bareMs > 0 ? pipelineMs / bareMs : 0.0, freshMs > 0 ? pipelineMs / freshMs : 0.0);
    return 0;
}
