// Saving as PNG, the pure parts: the pixel rows of a packed DIB of every kind, each row as the
// blue-green-red triples the encoder takes, the Save As dialog's types and the type chosen.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>
#include <string>
#include <vector>

#include "capture/dib.h"
#include "capture/png.h"

namespace {

// A packed DIB in memory: header, colour table, rows as given (already padded).
std::vector<BYTE> Block(int width, int height, WORD bits, const std::vector<RGBQUAD>& colors,
                        const std::vector<BYTE>& rows, DWORD clrUsed = 0)
{
    BITMAPINFOHEADER h;
    ZeroMemory(&h, sizeof(h));
    h.biSize = sizeof(h);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biClrUsed = clrUsed;
    std::vector<BYTE> b(sizeof(h));
    memcpy(b.data(), &h, sizeof(h));
    for (const RGBQUAD& q : colors) b.insert(b.end(), (const BYTE*)&q, (const BYTE*)&q + 4);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

RGBQUAD Q(BYTE r, BYTE g, BYTE b)
{
    RGBQUAD q = {b, g, r, 0};
    return q;
}

// Row y of the picture as "RRGGBB" words, for readable failures.
std::string RowColours(const PixelRows& rows, int y)
{
    std::vector<BYTE> bgr((size_t)rows.width * 3);
    RowToBgr(rows, y, bgr.data());
    std::string out;
    char word[8];
    for (int x = 0; x < rows.width; x++) {
        snprintf(word, sizeof(word), "%02X%02X%02X", bgr[3 * x + 2], bgr[3 * x + 1], bgr[3 * x]);
        out += (x ? " " : "") + std::string(word);
    }
    return out;
}

TEST(PngRows, EveryBitCountReadsAsTheColoursItHolds)
{
    std::vector<RGBQUAD> two = {Q(0, 0, 0), Q(0xFF, 0xFF, 0xFF)};
    std::vector<RGBQUAD> sixteen(16);
    for (int i = 0; i < 16; i++) sixteen[i] = Q((BYTE)(i * 16), (BYTE)(255 - i), (BYTE)i);
    std::vector<RGBQUAD> three = {Q(0x10, 0x20, 0x30), Q(0x40, 0x50, 0x60), Q(0x70, 0x80, 0x90)};
    struct {
        const char* name;
        std::vector<BYTE> block;
        const char* top;     // the picture's top row
        const char* bottom;  // its bottom row
    } cases[] = {
        // Rows bottom-up: the first row in memory is the picture's bottom one.
        {"1 bit", Block(10, 2, 1, two, {0xA0, 0x40, 0, 0, /* top: */ 0x00, 0xC0, 0, 0}),
         "000000 000000 000000 000000 000000 000000 000000 000000 FFFFFF FFFFFF",
         "FFFFFF 000000 FFFFFF 000000 000000 000000 000000 000000 000000 FFFFFF"},
        {"4 bits", Block(3, 2, 4, sixteen, {0x01, 0xF0, 0, 0, 0x23, 0x40, 0, 0}),
         "20FD02 30FC03 40FB04", "00FF00 10FE01 F0F00F"},
        // Three colours used: an index past the table shows black instead of reading beyond it.
        {"8 bits", Block(4, 1, 8, three, {0, 1, 2, 7}, 3), "102030 405060 708090 000000",
         "102030 405060 708090 000000"},
        // 5-5-5: full intensity stays full, the lowest bits are widened from the highest.
        {"16 bits", Block(2, 1, 16, {}, {0x1F, 0x7C, 0xE0, 0x03}), "FF00FF 00FF00", "FF00FF 00FF00"},
        {"24 bits", Block(2, 2, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}), "090807 0C0B0A",
         "030201 060504"},
        {"32 bits", Block(1, 2, 32, {}, {1, 2, 3, 0xFF, 4, 5, 6, 0xFF}), "060504", "030201"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        PixelRows rows;
        ASSERT_TRUE(DibPixelRows(c.block.data(), c.block.size(), &rows));
        EXPECT_TRUE(PixelRowsReadable(rows));
        EXPECT_FALSE(rows.topDown);
        EXPECT_EQ(RowColours(rows, 0), c.top);
        EXPECT_EQ(RowColours(rows, rows.height - 1), c.bottom);
    }
}

TEST(PngRows, ATopDownDibReadsFromTheTop)
{
    std::vector<BYTE> block = Block(1, 2, 32, {}, {1, 2, 3, 0, 4, 5, 6, 0});
    BITMAPINFOHEADER* h = (BITMAPINFOHEADER*)block.data();
    h->biHeight = -2;
    PixelRows rows;
    ASSERT_TRUE(DibPixelRows(block.data(), block.size(), &rows));
    EXPECT_TRUE(rows.topDown);
    EXPECT_EQ(rows.height, 2);
    EXPECT_EQ(RowColours(rows, 0), "030201");
    EXPECT_EQ(RowColours(rows, 1), "060504");
}

TEST(PngRows, BlocksThatPromiseMoreThanTheyHoldAreRefused)
{
    std::vector<BYTE> good = Block(3, 2, 24, {}, std::vector<BYTE>(24, 0x55));
    PixelRows rows;
    ASSERT_TRUE(DibPixelRows(good.data(), good.size(), &rows));
    EXPECT_EQ(rows.stride, 12u) << "3 pixels of 3 bytes padded to 12";
    EXPECT_FALSE(DibPixelRows(good.data(), good.size() - 1, &rows)) << "one byte of the last row missing";
    EXPECT_FALSE(DibPixelRows(good.data(), 39, &rows)) << "not even a header";
    EXPECT_FALSE(DibPixelRows(NULL, 100, &rows));

    struct {
        const char* name;
        void (*spoil)(BITMAPINFOHEADER*);
    } spoilt[] = {
        {"bit fields", [](BITMAPINFOHEADER* h) { h->biCompression = BI_BITFIELDS; }},
        {"run-length", [](BITMAPINFOHEADER* h) { h->biCompression = BI_RLE8; }},
        {"no width", [](BITMAPINFOHEADER* h) { h->biWidth = 0; }},
        {"negative width", [](BITMAPINFOHEADER* h) { h->biWidth = -3; }},
        {"no height", [](BITMAPINFOHEADER* h) { h->biHeight = 0; }},
        {"2 bits", [](BITMAPINFOHEADER* h) { h->biBitCount = 2; }},
        {"two planes", [](BITMAPINFOHEADER* h) { h->biPlanes = 2; }},
        {"a huge height", [](BITMAPINFOHEADER* h) { h->biHeight = 0x7FFFFFFF; }},
        {"the lowest height", [](BITMAPINFOHEADER* h) { h->biHeight = (LONG)0x80000000; }},
        {"a colour table past the end", [](BITMAPINFOHEADER* h) {
             h->biBitCount = 8;
             h->biClrUsed = 0x10000000;
         }},
        // Four bytes an entry: a count whose table size wraps round to almost nothing.
        {"a colour count that wraps", [](BITMAPINFOHEADER* h) {
             h->biBitCount = 8;
             h->biClrUsed = 0x40000001;
         }},
    };
    for (auto& s : spoilt) {
        std::vector<BYTE> bad = good;
        s.spoil((BITMAPINFOHEADER*)bad.data());
        EXPECT_FALSE(DibPixelRows(bad.data(), bad.size(), &rows)) << s.name;
    }
}

std::vector<std::string> FilterParts(const char* filter)
{
    std::vector<std::string> parts;
    for (const char* p = filter; *p; p += strlen(p) + 1) parts.push_back(p);
    return parts;
}

TEST(SaveTypes, TheFilterOffersBitmapFirstAndPngOnlyWhereItCanBeWritten)
{
    char filter[256];
    memset(filter, 'x', sizeof(filter));
    ASSERT_TRUE(BuildSaveFilter(filter, sizeof(filter), "Bitmap (*.bmp)", "PNG image (*.png)", "All files (*.*)"));
    EXPECT_EQ(FilterParts(filter), (std::vector<std::string>{"Bitmap (*.bmp)", "*.bmp", "PNG image (*.png)", "*.png",
                                                            "All files (*.*)", "*.*"}));
    ASSERT_TRUE(BuildSaveFilter(filter, sizeof(filter), "Bitmap (*.bmp)", NULL, "All files (*.*)"));
    EXPECT_EQ(FilterParts(filter), (std::vector<std::string>{"Bitmap (*.bmp)", "*.bmp", "All files (*.*)", "*.*"}));

    // Too little room: no half list, an empty one.
    char small[20];
    memset(small, 'x', sizeof(small));
    EXPECT_FALSE(BuildSaveFilter(small, sizeof(small), "Bitmap (*.bmp)", "PNG image (*.png)", "All files (*.*)"));
    EXPECT_EQ(small[0], '\0');
    EXPECT_EQ(small[1], '\0');
}

TEST(SaveTypes, TheNamesExtensionDecidesAndOtherwiseTheFilter)
{
    struct {
        const char* path;
        DWORD filter;
        bool pngOffered;
        ImageFileType type;
    } cases[] = {
        {"C:\\shots\\a.bmp", 1, true, IMAGE_FILE_BMP},
        {"C:\\shots\\a.png", 2, true, IMAGE_FILE_PNG},
        {"C:\\shots\\a", 2, true, IMAGE_FILE_PNG},      // the PNG type chosen, no extension typed
        {"C:\\shots\\a", 1, true, IMAGE_FILE_BMP},
        {"C:\\shots\\a", 3, true, IMAGE_FILE_BMP},      // all files
        {"C:\\shots\\a.png", 1, true, IMAGE_FILE_PNG},  // a name typed with .png under the bitmap type
        {"C:\\shots\\a.PNG", 3, true, IMAGE_FILE_PNG},
        {"C:\\shots\\a.bmp", 2, true, IMAGE_FILE_BMP},  // the name says bitmap
        {"C:\\shots\\a.png.bmp", 2, true, IMAGE_FILE_BMP},
        {"C:\\shots\\a.bmp.png", 1, true, IMAGE_FILE_PNG},
        {"C:\\shots.png\\a", 1, true, IMAGE_FILE_BMP},  // a folder's name says nothing
        {"C:\\shots\\.png", 1, true, IMAGE_FILE_PNG},
        {"C:\\shots\\a.png", 2, false, IMAGE_FILE_BMP}, // no PNG where the platform cannot write it
        {NULL, 2, true, IMAGE_FILE_PNG},
    };
    for (auto& c : cases)
        EXPECT_EQ(ChosenImageType(c.path, c.filter, c.pngOffered), c.type)
            << (c.path ? c.path : "(null)") << " filter " << c.filter << " png " << c.pngOffered;
}

}  // namespace
