// Bitmap export: packed DIBs, BMP files and the clipboard.
#include "capture/dib.h"
#include "app/program.h"
#include "app/msgbox.h"
#include "app/resstring.h"
#include "app/waitcursor.h"
#include "resource.h"

#include <commdlg.h>
#include <limits.h>
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

bool DibPixelRows(const void* block, SIZE_T size, PixelRows* out)
{
    if (!block || size < sizeof(BITMAPINFOHEADER) || !IsInfoHeader(block)) return false;
    BITMAPINFOHEADER bi;
    memcpy(&bi, block, sizeof(bi));
    if (bi.biCompression != BI_RGB || bi.biPlanes != 1 || bi.biWidth <= 0 || bi.biHeight == 0 ||
        bi.biHeight == LONG_MIN)
        return false;
    // A colour count that the block cannot hold would wrap the offset arithmetic round.
    if (DibColorCount(block) > size / sizeof(RGBQUAD)) return false;
    int height = bi.biHeight < 0 ? -bi.biHeight : bi.biHeight;
    DWORD stride = DibRowBytes(bi.biBitCount, bi.biWidth);
    unsigned long long end = (unsigned long long)DibBitsOffset(block) + (unsigned long long)stride * height;
    if (bi.biSize > size || end > size) return false;
    out->width = bi.biWidth;
    out->height = height;
    out->topDown = bi.biHeight < 0;
    out->bitCount = bi.biBitCount;
    out->colorCount = bi.biBitCount <= 8 ? DibColorCount(block) : 0;
    out->colors = out->colorCount ? (const RGBQUAD*)((const BYTE*)block + bi.biSize) : NULL;
    out->bits = (const BYTE*)block + DibBitsOffset(block);
    out->stride = stride;
    return PixelRowsReadable(*out);
}

// ---- The file types of the Save As dialog (pure)

// Appends text and its terminating zero at *len; false when it does not fit.
static bool AppendFilterPart(char* out, size_t outSize, size_t* len, const char* text)
{
    size_t n = strlen(text) + 1;
    if (*len + n >= outSize) return false;
    memcpy(out + *len, text, n);
    *len += n;
    return true;
}

bool BuildSaveFilter(char* out, size_t outSize, const char* bmpName, const char* pngName, const char* allName)
{
    if (!out || outSize < 2) return false;
    size_t len = 0;
    bool ok = AppendFilterPart(out, outSize, &len, bmpName) && AppendFilterPart(out, outSize, &len, "*.bmp");
    if (ok && pngName)
        ok = AppendFilterPart(out, outSize, &len, pngName) && AppendFilterPart(out, outSize, &len, "*.png");
    ok = ok && AppendFilterPart(out, outSize, &len, allName) && AppendFilterPart(out, outSize, &len, "*.*");
    if (!ok) len = 0;
    // The list ends with an empty entry: a second zero.
    out[len] = '\0';
    if (!ok && outSize > 1) out[1] = '\0';
    return ok;
}

static bool EndsWithExtension(const char* path, const char* ext)
{
    size_t n = strlen(path), e = strlen(ext);
    return n >= e && lstrcmpiA(path + n - e, ext) == 0;
}

ImageFileType ChosenImageType(const char* path, DWORD filterIndex, bool pngOffered)
{
    if (!pngOffered) return IMAGE_FILE_BMP;
    if (path && EndsWithExtension(path, ".png")) return IMAGE_FILE_PNG;
    if (path && EndsWithExtension(path, ".bmp")) return IMAGE_FILE_BMP;
    // The PNG type is the second entry of the filter.
    return filterIndex == 2 ? IMAGE_FILE_PNG : IMAGE_FILE_BMP;
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

// Save As dialog for a capture file; nonzero when the user chose a name (in g_szBitmapFile),
// whose type goes to *type.
static BOOL AskBitmapFileName(HWND owner, ImageFileType* type)
{
    g_szBitmapFile[0] = '\0';
    bool png = g_pfnPngAvailable();
    char bmpName[64], pngName[64], allName[64], filter[256];
    lstrcpynA(bmpName, LoadResString(IDS_FILTER_BMP), sizeof(bmpName));
    lstrcpynA(pngName, LoadResString(IDS_FILTER_PNG), sizeof(pngName));
    lstrcpynA(allName, LoadResString(IDS_FILTER_ALL), sizeof(allName));
    BuildSaveFilter(filter, sizeof(filter), bmpName, png ? pngName : NULL, allName);
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner && IsWindowVisible(owner) ? owner : NULL;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = g_szBitmapFile;
    ofn.nMaxFile = sizeof(g_szBitmapFile);
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = "BMP";
    if (!g_pfnGetSaveFileName(&ofn)) return FALSE;
    *type = ChosenImageType(g_szBitmapFile, ofn.nFilterIndex, png);
    return TRUE;
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

// Writes the parts one after the other beside the target under a name of its own and puts the
// file in its place only once whole: a failed save leaves the file that was there as it was.
static DWORD WriteFileInPlace(const char* path, const void* const* parts, const DWORD* sizes, int count)
{
    char temp[MAX_PATH];
    HANDLE file = CreateFileBeside(path, temp);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD err = ERROR_SUCCESS;
    for (int i = 0; i < count && err == ERROR_SUCCESS; i++) err = WriteWhole(file, parts[i], sizes[i]);
    // Errors of delayed writes surface when the handle closes.
    if (!CloseHandle(file) && err == ERROR_SUCCESS) err = GetLastError();
    if (err == ERROR_SUCCESS && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) err = GetLastError();
    if (err != ERROR_SUCCESS) DeleteFileA(temp);
    return err;
}

// The DIB's block locked, or the reason it cannot be: the DIB is checked before any file
// exists, so that a failed conversion leaves no empty file. Conversions fail for want of memory.
static DWORD LockDib(HGLOBAL dib, const BYTE** block, SIZE_T* size)
{
    if (!dib) return ERROR_NOT_ENOUGH_MEMORY;
    *size = GlobalSize(dib);
    *block = (const BYTE*)GlobalLock(dib);
    if (!*block) {
        DWORD err = GetLastError();
        return err ? err : ERROR_INVALID_HANDLE;
    }
    if (*size < sizeof(BITMAPCOREHEADER) || *size < ReadU32(*block, 0) || *size > 0x7FFFFFF0) {
        GlobalUnlock(dib);
        return ERROR_INVALID_DATA;
    }
    return ERROR_SUCCESS;
}

DWORD WriteDibFile(const char* path, HGLOBAL dib)
{
    const BYTE* block = NULL;
    SIZE_T size = 0;
    DWORD err = LockDib(dib, &block, &size);
    if (err != ERROR_SUCCESS) return err;
    BITMAPFILEHEADER fh;
    BuildBmpFileHeader(block, size, &fh);
    const void* parts[] = {&fh, block};
    DWORD sizes[] = {(DWORD)sizeof(fh), (DWORD)size};
    err = WriteFileInPlace(path, parts, sizes, 2);
    GlobalUnlock(dib);
    return err;
}

// The DIB as a new block of PNG bytes, or NULL with the reason in *error.
static HGLOBAL DibToPng(HGLOBAL dib, DWORD* error)
{
    const BYTE* block = NULL;
    SIZE_T size = 0;
    *error = LockDib(dib, &block, &size);
    if (*error != ERROR_SUCCESS) return NULL;
    PixelRows rows;
    HGLOBAL png = NULL;
    if (DibPixelRows(block, size, &rows))
        png = EncodePng(rows, error);
    else
        *error = ERROR_INVALID_DATA;
    GlobalUnlock(dib);
    return png;
}

DWORD WritePngFile(const char* path, HGLOBAL dib)
{
    DWORD err = ERROR_SUCCESS;
    HGLOBAL png = DibToPng(dib, &err);
    if (!png) return err;
    const void* bytes = GlobalLock(png);
    if (bytes) {
        const void* parts[] = {bytes};
        DWORD sizes[] = {(DWORD)GlobalSize(png)};
        err = WriteFileInPlace(path, parts, sizes, 1);
        GlobalUnlock(png);
    } else {
        err = ERROR_NOT_ENOUGH_MEMORY;
    }
    GlobalFree(png);
    return err;
}

void SaveDibToFile(HWND owner, HGLOBAL dib)
{
    ImageFileType type = IMAGE_FILE_BMP;
    if (!AskBitmapFileName(owner, &type)) return;
    HCURSOR previous = ShowSystemCursor((LPCSTR)IDC_WAIT);
    DWORD err = type == IMAGE_FILE_PNG ? WritePngFile(g_szBitmapFile, dib) : WriteDibFile(g_szBitmapFile, dib);
    if (err != ERROR_SUCCESS) {
        SetLastError(err);
        ShowErrorBox(0);
    }
    RestoreCursor(previous);
}

// ---- Clipboard

void CopyCaptureToClipboard(HBITMAP* bitmap, HGLOBAL* dib)
{
    // Encoded before the clipboard opens: every other program waits while it is open.
    DWORD err = ERROR_SUCCESS;
    HGLOBAL png = *dib && g_pfnPngAvailable() ? DibToPng(*dib, &err) : NULL;
    if (OpenClipboard(g_hMainWnd)) {
        if (EmptyClipboard()) {
            // A null handle would promise the data for later (delayed rendering), which no window
            // of the program would ever deliver: only real handles are offered.
            if (*bitmap && SetClipboardData(CF_BITMAP, *bitmap)) *bitmap = NULL;
            if (*dib && SetClipboardData(CF_DIB, *dib)) *dib = NULL;
            UINT pngFormat = RegisterClipboardFormatA(PNG_CLIPBOARD_FORMAT);
            if (png && pngFormat && SetClipboardData(pngFormat, png)) png = NULL;
        }
        CloseClipboard();
    }
    if (png) GlobalFree(png);
}
