#include "support/pictures.h"
#include "support/testing.h"

#include <stdio.h>

// ---- Reading pictures

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
    std::vector<uint32_t> bits((size_t)bm.bmWidth * bm.bmHeight);
    HDC dc = GetDC(NULL);
    int lines = GetDIBits(dc, bitmap, 0, bm.bmHeight, bits.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(NULL, dc);
    if (lines != bm.bmHeight) return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.pixels.swap(bits);
    // The fourth byte of a screen pixel is no part of its colour.
    for (auto& v : p.pixels) v &= 0xFFFFFF;
    return p;
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

Picture ScreenPicture()
{
    RECT all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return ScreenPicture(all);
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
            p.pixels[(size_t)y * w + x] = ((uint32_t)px[2] << 16) | (px[1] << 8) | px[0];
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

Picture ClipboardPicture()
{
    Picture p;
    // The program that put it there may still hold the clipboard open for a moment: its
    // sequence number changes as it writes, before it closes the clipboard.
    if (!WaitUntil([] { return OpenClipboard(NULL) != FALSE; }, 5000)) return p;
    HANDLE dib = GetClipboardData(CF_DIB);
    if (dib) p = DibPicture((HGLOBAL)dib);
    CloseClipboard();
    return p;
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

// ---- Comparing pictures

long PictureDifference(const Picture& a, const Picture& b, const RECT* within)
{
    if (a.width != b.width || a.height != b.height || a.pixels.empty() || a.pixels.size() != b.pixels.size())
        return 1L << 30;
    RECT all = {0, 0, a.width, a.height}, r = all;
    if (within) IntersectRect(&r, within, &all);
    long diff = 0;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            if (a.At(x, y) != b.At(x, y)) diff++;
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
             x1, y1, sx, sy, (unsigned long)got.At(sx, sy), (unsigned long)want.At(sx, sy));
    return buf;
}

// ---- PNG files

namespace {

uint32_t Crc32(uint32_t crc, const std::string& bytes)
{
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(256);
        for (uint32_t i = 0; i < 256; i++) {
            uint32_t c = i;
            for (int k = 0; k < 8; k++) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::string* out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back((char)((v >> shift) & 0xFF));
}

void PutChunk(std::string* out, const char* type, const std::string& data)
{
    PutBigEndian(out, (uint32_t)data.size());
    std::string typed = std::string(type) + data;
    out->append(typed);
    PutBigEndian(out, Crc32(0, typed));
}

// A zlib stream of stored blocks: no compression, which a picture to look at can afford.
std::string StoredZlib(const std::string& raw)
{
    std::string z = "\x78\x01";
    const size_t kBlock = 65535;
    size_t at = 0;
    do {
        size_t n = raw.size() - at < kBlock ? raw.size() - at : kBlock;
        bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back((char)(n & 0xFF));
        z.push_back((char)(n >> 8));
        z.push_back((char)(~n & 0xFF));
        z.push_back((char)((~n >> 8) & 0xFF));
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(&z, (b << 16) | a);
    return z;
}

} // namespace

bool SavePng(const Picture& p, const std::string& path)
{
    if (p.pixels.empty()) return false;
    std::string header;
    PutBigEndian(&header, (uint32_t)p.width);
    PutBigEndian(&header, (uint32_t)p.height);
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, no interlace
    std::string raw;
    raw.reserve((size_t)p.height * (1 + (size_t)p.width * 3));
    for (int y = 0; y < p.height; y++) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < p.width; x++) {
            uint32_t v = p.At(x, y);
            raw.push_back((char)((v >> 16) & 0xFF));
            raw.push_back((char)((v >> 8) & 0xFF));
            raw.push_back((char)(v & 0xFF));
        }
    }
    std::string png = "\x89PNG\r\n\x1a\n";
    PutChunk(&png, "IHDR", header);
    PutChunk(&png, "IDAT", StoredZlib(raw));
    PutChunk(&png, "IEND", "");
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
    return fclose(f) == 0 && ok;
}

// ---- Screenshots to look at

// NAME.png in the shots folder, "" when none is named.
static std::string ShotPath(const char* name)
{
    char dir[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("VANTIX_SHOTS", dir, sizeof(dir));
    if (n == 0 || n >= sizeof(dir)) return "";
    std::string d = dir;
    // A Linux folder as the shell gives it.
    if (d[0] == '/') d = "Z:" + d;
    return d + "\\" + name + ".png";
}

bool ShotsWanted()
{
    return !ShotPath("").empty();
}

bool SaveShot(const Picture& p, const char* name)
{
    std::string path = ShotPath(name);
    return !path.empty() && SavePng(p, path);
}

bool SaveWindowShot(HWND w, const char* name)
{
    if (ShotPath(name).empty()) return false;
    RECT rc = WindowRect(w), all = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IntersectRect(&rc, &rc, &all)) return false;
    return SaveShot(ScreenPicture(rc), name);
}

bool SaveScreenShot(const char* name)
{
    if (ShotPath(name).empty()) return false;
    Picture last;
    PumpUntil([&] {
        Picture now = ScreenPicture();
        bool same = PictureDifference(now, last) == 0;
        last = now;
        return same;
    }, 3000);
    return SaveShot(last, name);
}
