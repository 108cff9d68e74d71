// Pictures as pixels: of the screen, of bitmaps, DIBs, BMP files and the clipboard, compared
// pixel by pixel; and screenshots saved for a person to look at.
#ifndef VANTIX_SUPPORT_PICTURES_H
#define VANTIX_SUPPORT_PICTURES_H

#include <windows.h>
#include <stdint.h>
#include <string>
#include <vector>

// Pixels as 0x00RRGGBB, rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

// What the display shows now in rc (screen coordinates), or on the whole screen, read through
// the program's own display DC.
Picture ScreenPicture(const RECT& rc);
Picture ScreenPicture();
Picture BitmapPicture(HBITMAP bitmap);
// A packed DIB block in memory (24 or 32 bits, bottom-up or top-down).
Picture DibPicture(const void* block, size_t size);
Picture DibPicture(HGLOBAL dib);
// A BMP file's bytes (24 or 32 bits).
Picture BmpPicture(const std::string& bytes);
// The clipboard's CF_DIB as this process reads it, once no program holds the clipboard open.
Picture ClipboardPicture();
// A part of a picture.
Picture Crop(const Picture& p, int x, int y, int w, int h);

// The number of pixels that differ, everywhere or within rc; a huge number when the sizes
// differ or a picture is empty, so that a picture that could not be read never matches.
long PictureDifference(const Picture& a, const Picture& b, const RECT* within = nullptr);
// For failure messages: where two pictures of one size differ (count, bounding box, a sample).
std::string DescribeDifference(const Picture& got, const Picture& want);

// The picture as a PNG file.
bool SavePng(const Picture& p, const std::string& path);

// Screenshots for a person to look at, never compared: NAME.png in the folder that the
// environment variable VANTIX_SHOTS names, nothing when it is not set. Each returns true when
// it saved a file.
bool ShotsWanted();
bool SaveShot(const Picture& p, const char* name);
// One window's rectangle as the display shows it now.
bool SaveWindowShot(HWND w, const char* name);
// The whole screen, once the display has settled: two reads with this thread's messages
// handled between them agree.
bool SaveScreenShot(const char* name);

#endif
