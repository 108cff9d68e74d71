// Bitmap export: a captured bitmap as a packed DIB in movable global memory (information
// header, colour table, bottom-up rows padded to four bytes), back to a display bitmap, to a
// BMP or PNG file chosen with the Save As dialog, and to the clipboard in both forms (and as
// PNG where the platform encodes it).
#ifndef VANTIX_CAPTURE_DIB_H
#define VANTIX_CAPTURE_DIB_H

#include <windows.h>
#include <commdlg.h>
#include <stddef.h>
#include "capture/png.h"

// Flags of every packed DIB block: movable and zero-filled.
#define DIB_BLOCK_FLAGS (GMEM_MOVEABLE | GMEM_ZEROINIT)

// The name chosen in the last Save As dialog; emptied before each one.
extern char g_szBitmapFile[MAX_PATH];

// Pure, on a header in memory (the 40-byte information header or the 12-byte core header):
// the number of colour-table entries, and the table's size in bytes (4 bytes an entry after
// an information header, 3 after a core header).
DWORD DibColorCount(const void* header);
DWORD DibPaletteSize(const void* header);
// Pure: where the pixel rows start in the block (header size + colour table).
DWORD DibBitsOffset(const void* header);
// Pure: bytes of one pixel row, padded to a multiple of four.
DWORD DibRowBytes(int bitCount, int width);
// Pure: the 14-byte BMP file header for a block of blockSize bytes that starts with header.
void BuildBmpFileHeader(const void* header, SIZE_T blockSize, BITMAPFILEHEADER* out);
// Pure: the pixel rows of a packed DIB of size bytes; false when the block is too small for
// what its header promises or holds rows of a kind PNG cannot be made of.
bool DibPixelRows(const void* block, SIZE_T size, PixelRows* out);

// The kinds of file a capture is saved as.
enum ImageFileType { IMAGE_FILE_BMP, IMAGE_FILE_PNG };
// Pure: the Save As dialog's filter: the bitmap type first (the dialog's first choice), the PNG
// type where pngName is given, all files last; names and patterns each ended by a zero
// character, the whole by a second one. Returns false when it does not fit.
bool BuildSaveFilter(char* out, size_t outSize, const char* bmpName, const char* pngName, const char* allName);
// Pure: the type to write for the name and the filter (1 = the first) the dialog returned. A
// name ending in .png or .bmp says it; otherwise the filter does. Without PNG, always BMP.
ImageFileType ChosenImageType(const char* path, DWORD filterIndex, bool pngOffered);

// A new packed DIB of the bitmap (24 bits a pixel from displays of more than 8), or NULL.
HGLOBAL BitmapToDib(HBITMAP bitmap);
// A new bitmap compatible with the display showing the DIB, or NULL.
HBITMAP DibToBitmap(HGLOBAL dib);

// Writes the DIB as a BMP file: ERROR_SUCCESS, or the error code of what failed. A failed or
// short write leaves no new file behind and an existing one as it was; a missing DIB creates
// none.
DWORD WriteDibFile(const char* path, HGLOBAL dib);
// The same as a PNG file.
DWORD WritePngFile(const char* path, HGLOBAL dib);
// Asks for a name and a type (BMP, or PNG where the platform encodes it) and writes the file,
// reporting failures with the error box. The DIB stays with the caller.
void SaveDibToFile(HWND owner, HGLOBAL dib);
// Places a captured bitmap (CF_BITMAP) and its packed DIB (CF_DIB) on the clipboard, and the
// DIB encoded as PNG (the registered format "PNG") where the platform encodes it; each handle
// the clipboard takes is cleared, the caller releases the rest.
void CopyCaptureToClipboard(HBITMAP* bitmap, HGLOBAL* dib);
// The name of the clipboard format that holds a PNG file's bytes.
#define PNG_CLIPBOARD_FORMAT "PNG"

// The file writer's WriteFile; tests replace it to stand for a full disk.
typedef BOOL (WINAPI* WriteFileProc)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
extern WriteFileProc g_pfnWriteFile;
// The Save As dialog; tests replace it to save many times without the dialog.
typedef BOOL (WINAPI* GetSaveFileNameProc)(LPOPENFILENAMEA);
extern GetSaveFileNameProc g_pfnGetSaveFileName;

#endif
