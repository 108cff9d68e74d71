// Bitmap export: packed DIBs, BMP files and the clipboard.
#include "capture/dib.h"
#include "app/program.h"
#include "app/msgbox.h"
#include "app/waitcursor.h"

#include <commdlg.h>
#include <stddef.h>
#include <string.h>

static_assert(sizeof(BITMAPFILEHEADER) == 14, "the BMP file header is 14 bytes on disk");
static_assert(sizeof(void*) == 8 || sizeof(OPENFILENAMEA) == 88, "the full Save As record");

char g_szBitmapFile[MAX_PATH];
WriteFileProc g_pfnWriteFile = WriteFile;
GetSaveFileNameProc g_pfnGetSaveFileName = GetSaveFileNameA;

// ---- Header arithmetic (pure)

static DWORD ReadU32(const void* p, size_t offset)
{
    DWORD v;
    memcpy(&v, (const BYTE*)p + offset, sizeof(v));
    return v;
}

static WORD ReadU16(const void* p, size_t offset)
{
    WORD v;
    memcpy(&v, (const BYTE*)p + offset, sizeof(v));
    return v;
}

// The later header versions (108 and 124 bytes) begin with the 40-byte layout; only the
// 12-byte core header differs.
static bool IsInfoHeader(const void* header)
{
    return ReadU32(header, 0) >= sizeof(BITMAPINFOHEADER);
}

DWORD DibColorCount(const void* header)
{
    WORD bits;
    if (IsInfoHeader(header)) {
        DWORD used = ReadU32(header, offsetof(BITMAPINFOHEADER, biClrUsed));
        if (used) return used;
        bits = ReadU16(header, offsetof(BITMAPINFOHEADER, biBitCount));
    } else {
        bits = ReadU16(header, offsetof(BITMAPCOREHEADER, bcBitCount));
    }
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

DWORD DibPaletteSize(const void* header)
{
    return DibColorCount(header) * (IsInfoHeader(header) ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE));
}

DWORD DibBitsOffset(const void* header)
{
    return ReadU32(header, 0) + DibPaletteSize(header);
}

DWORD DibRowBytes(int bitCount, int width)
{
    return (DWORD)(((bitCount * width) + 31) / 32) * 4;
}

void BuildBmpFileHeader(const void* header, SIZE_T blockSize, BITMAPFILEHEADER* out)
{
    out->bfType = 0x4D42;   // "BM"
    out->bfSize = (DWORD)(sizeof(BITMAPFILEHEADER) + blockSize);
    out->bfReserved1 = 0;
    out->bfReserved2 = 0;
    out->bfOffBits = (DWORD)sizeof(BITMAPFILEHEADER) + DibBitsOffset(header);
}

// ---- Conversions

HGLOBAL BitmapToDib(HBITMAP bitmap)
{
    if (!bitmap) return NULL;
    BITMAP bm;
    if (!GetObjectA(bitmap, sizeof(bm), &bm)) return NULL;
    int bits = bm.bmPlanes * bm.bmBitsPixel;
    if (bits == 3) bits = 4;
    else if (bits > 8) bits = 24;

    BITMAPINFOHEADER bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.biSize = sizeof(bi);
    bi.biWidth = bm.bmWidth;
    bi.biHeight = bm.bmHeight;
    bi.biPlanes = 1;
    bi.biBitCount = (WORD)bits;
    bi.biCompression = BI_RGB;

    HDC screen = GetDC(NULL);
    DWORD headerBytes = DibBitsOffset(&bi);
    HGLOBAL dib = GlobalAlloc(DIB_BLOCK_FLAGS, headerBytes);
    if (!dib) {
        ReleaseDC(NULL, screen);
        return NULL;
    }
    // First pass without bits: the system completes the image size and the colour table.
    BITMAPINFOHEADER* p = (BITMAPINFOHEADER*)GlobalLock(dib);
    *p = bi;
    GetDIBits(screen, bitmap, 0, (UINT)bm.bmHeight, NULL, (BITMAPINFO*)p, DIB_RGB_COLORS);
    bi = *p;
    GlobalUnlock(dib);

    if (bi.biSizeImage == 0)
        bi.biSizeImage = DibRowBytes(bits, bm.bmWidth) * bm.bmHeight;
    // Zero-filled growth: the row padding in files and on the clipboard is always 0.
    HGLOBAL grown = GlobalReAlloc(dib, headerBytes + bi.biSizeImage, GMEM_ZEROINIT);
    if (!grown) {
        GlobalFree(dib);
        ReleaseDC(NULL, screen);
        return NULL;
    }
    dib = grown;
    BYTE* block = (BYTE*)GlobalLock(dib);
    int lines = GetDIBits(screen, bitmap, 0, (UINT)bm.bmHeight, block + headerBytes, (BITMAPINFO*)block,
                          DIB_RGB_COLORS);
    GlobalUnlock(dib);
    ReleaseDC(NULL, screen);
    if (lines == 0) {
        GlobalFree(dib);
        return NULL;
    }
    return dib;
}

HBITMAP DibToBitmap(HGLOBAL dib)
{
    if (!dib) return NULL;
    const BYTE* block = (const BYTE*)GlobalLock(dib);
    if (!block) return NULL;
    const BITMAPINFOHEADER* bi = (const BITMAPINFOHEADER*)block;
    int width = bi->biWidth, height = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight;

    HDC display = CreateDCA("DISPLAY", NULL, NULL, NULL);
    HDC mem = CreateCompatibleDC(display);
    HBITMAP bitmap = CreateCompatibleBitmap(display, width, height);
    HGDIOBJ old = SelectObject(mem, bitmap);
    StretchDIBits(mem, 0, 0, width, height, 0, 0, width, height, block + DibBitsOffset(block),
                  (const BITMAPINFO*)block, DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(dib);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteDC(display);
    return bitmap;
}

// ---- BMP files

// Save As dialog for a BMP file; nonzero when the user chose a name (in g_szBitmapFile).
static BOOL AskBitmapFileName(HWND owner)
{
    g_szBitmapFile[0] = '\0';
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner && IsWindowVisible(owner) ? owner : NULL;
    ofn.lpstrFilter = "Bitmap files (*.bmp)\0*.bmp\0All files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = g_szBitmapFile;
    ofn.nMaxFile = sizeof(g_szBitmapFile);
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = "BMP";
    return g_pfnGetSaveFileName(&ofn);
}

// One write that must go through whole; a short count means the disk is full.
static DWORD WriteWhole(HANDLE file, const void* data, DWORD bytes)
{
    DWORD written = 0;
    if (!g_pfnWriteFile(file, data, bytes, &written, NULL)) {
        DWORD err = GetLastError();
        return err ? err : ERROR_WRITE_FAULT;
    }
    return written == bytes ? ERROR_SUCCESS : ERROR_DISK_FULL;
}

// A new file in the folder of path, named "~" and four hex digits (no longer than most names it
// stands in for, so that it fits wherever the target fits); its name goes to temp.
static HANDLE CreateFileBeside(const char* path, char temp[MAX_PATH])
{
    int folder = lstrlenA(path);
    while (folder > 0 && path[folder - 1] != '\\' && path[folder - 1] != '/' && path[folder - 1] != ':') folder--;
    if (folder + 6 > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 8);
    for (int attempt = 0; attempt < 32; attempt++) {
        memcpy(temp, path, folder);
        wsprintfA(temp + folder, "~%04X", (unsigned)((seed + attempt) & 0xFFFF));
        HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

DWORD WriteDibFile(const char* path, HGLOBAL dib)
{
    // The DIB is checked before the file exists: a failed conversion must not leave an empty
    // file. Conversions fail for want of memory.
    if (!dib) return ERROR_NOT_ENOUGH_MEMORY;
    SIZE_T size = GlobalSize(dib);
    const BYTE* block = (const BYTE*)GlobalLock(dib);
    if (!block) {
        DWORD err = GetLastError();
        return err ? err : ERROR_INVALID_HANDLE;
    }
    if (size < sizeof(BITMAPCOREHEADER) || size < ReadU32(block, 0) || size > 0x7FFFFFF0) {
        GlobalUnlock(dib);
        return ERROR_INVALID_DATA;
    }
    BITMAPFILEHEADER fh;
    BuildBmpFileHeader(block, size, &fh);

    // Written beside the target under a name of its own and put in its place only once whole:
    // a failed save leaves the file that was there as it was.
    char temp[MAX_PATH];
    HANDLE file = CreateFileBeside(path, temp);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        GlobalUnlock(dib);
        return err;
    }
    DWORD err = WriteWhole(file, &fh, sizeof(fh));
    if (err == ERROR_SUCCESS) err = WriteWhole(file, block, (DWORD)size);
    GlobalUnlock(dib);
    // Errors of delayed writes surface when the handle closes.
    if (!CloseHandle(file) && err == ERROR_SUCCESS) err = GetLastError();
    if (err == ERROR_SUCCESS && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) err = GetLastError();
    if (err != ERROR_SUCCESS) DeleteFileA(temp);
    return err;
}

void SaveDibToFile(HWND owner, HGLOBAL dib)
{
    if (!AskBitmapFileName(owner)) return;
    HCURSOR previous = ShowSystemCursor((LPCSTR)IDC_WAIT);
    DWORD err = WriteDibFile(g_szBitmapFile, dib);
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        ShowErrorBox(0);
    }
    RestoreCursor(previous);
}

// ---- Clipboard

void CopyCaptureToClipboard(HBITMAP* bitmap, HGLOBAL* dib)
{
    if (!OpenClipboard(g_hMainWnd)) return;
    if (EmptyClipboard()) {
        // A null handle would promise the data for later (delayed rendering), which no window
        // of the program would ever deliver: only real handles are offered.
        if (*bitmap && SetClipboardData(CF_BITMAP, *bitmap)) *bitmap = NULL;
        if (*dib && SetClipboardData(CF_DIB, *dib)) *dib = NULL;
    }
    CloseClipboard();
}
