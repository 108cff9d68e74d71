// Pictures as PNG: rows of pixels encoded by the platform's imaging component (WIC), which is
// bound on first use, never at start-up. Where the component is missing, PNG is simply not
// offered. The bottom of capture/: it knows pixel rows, not where they come from.
#ifndef VANTIX_CAPTURE_PNG_H
#define VANTIX_CAPTURE_PNG_H

#include <windows.h>

// The pixel rows of a picture as a device-independent bitmap lays them out.
struct PixelRows {
    int width;
    int height;
    bool topDown;           // the first row in memory is the top one
    int bitCount;           // 1, 4, 8 (colour table), 16 (5-5-5), 24 or 32 (BI_RGB)
    const RGBQUAD* colors;  // the colour table of 1, 4 and 8 bits
    DWORD colorCount;
    const BYTE* bits;       // the first row in memory
    DWORD stride;           // bytes from one row to the next
};

// Pure: can RowToBgr read these rows (known bit count, sane sizes)?
bool PixelRowsReadable(const PixelRows& rows);
// Pure: picture row y (0 = the top) as width blue-green-red triples. A colour index outside
// the table gives black.
void RowToBgr(const PixelRows& rows, int y, BYTE* out);

// True when the platform can encode PNG: the imaging component is bound on the first call and
// kept. Tests replace the pointer to stand for a platform without it.
typedef bool (*PngAvailableProc)();
extern PngAvailableProc g_pfnPngAvailable;
bool PngEncoderAvailable();

// The picture as a PNG file's bytes in a new movable global block of exactly that size (for a
// file or the clipboard), or NULL with the reason in *error.
HGLOBAL EncodePng(const PixelRows& rows, DWORD* error);

#endif
