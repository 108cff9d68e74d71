// The arithmetic of packed DIBs and BMP files, on headers built in memory.
#include <gtest/gtest.h>
#include <windows.h>
#include <string.h>

#include "capture/dib.h"

namespace {

BITMAPINFOHEADER InfoHeader(WORD bits, DWORD clrUsed = 0)
{
    BITMAPINFOHEADER h;
    ZeroMemory(&h, sizeof(h));
    h.biSize = 40;
    h.biWidth = 2;
    h.biHeight = 2;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biClrUsed = clrUsed;
    return h;
}

BITMAPCOREHEADER CoreHeader(WORD bits)
{
    BITMAPCOREHEADER h;
    ZeroMemory(&h, sizeof(h));
    h.bcSize = 12;
    h.bcWidth = 2;
    h.bcHeight = 2;
    h.bcPlanes = 1;
    h.bcBitCount = bits;
    return h;
}

TEST(DibHeader, ColourCountAndPaletteSizeFollowHeaderKindAndBitCount)
{
    struct {
        WORD bits;
        DWORD count;
    } cases[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.bits);
        BITMAPINFOHEADER info = InfoHeader(c.bits);
        EXPECT_EQ(DibColorCount(&info), c.count);
        EXPECT_EQ(DibPaletteSize(&info), c.count * 4) << "RGBQUAD entries after a 40-byte header";
        EXPECT_EQ(DibBitsOffset(&info), 40 + c.count * 4);
        BITMAPCOREHEADER core = CoreHeader(c.bits);
        EXPECT_EQ(DibColorCount(&core), c.count);
        EXPECT_EQ(DibPaletteSize(&core), c.count * 3) << "RGBTRIPLE entries after a 12-byte header";
        EXPECT_EQ(DibBitsOffset(&core), 12 + c.count * 3);
    }
}

TEST(DibHeader, ColoursUsedOverridesTheBitCountOnlyInInformationHeaders)
{
    BITMAPINFOHEADER info = InfoHeader(8, 17);
    EXPECT_EQ(DibColorCount(&info), 17u);
    EXPECT_EQ(DibPaletteSize(&info), 68u);
    BITMAPINFOHEADER rgb = InfoHeader(24, 3);
    EXPECT_EQ(DibColorCount(&rgb), 3u) << "a 24-bit DIB may carry a table too";

    // The bit count of a core header lies at offset 10, where an information header keeps
    // its planes: a core header must not be read as the longer one.
    unsigned char core[12] = {12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 4, 0};
    EXPECT_EQ(DibColorCount(core), 16u);
}

TEST(DibHeader, LaterHeaderVersionsReadLikeTheInformationHeader)
{
    BITMAPV5HEADER v5;
    ZeroMemory(&v5, sizeof(v5));
    v5.bV5Size = sizeof(v5);
    v5.bV5BitCount = 8;
    EXPECT_EQ(DibColorCount(&v5), 256u);
    EXPECT_EQ(DibBitsOffset(&v5), 124u + 1024u);
}

TEST(DibHeader, RowsArePaddedToFourBytes)
{
    struct {
        int bits, width;
        DWORD bytes;
    } cases[] = {
        {24, 3, 12}, {24, 2, 8}, {24, 4, 12}, {24, 1, 4}, {32, 3, 12},
        {8, 5, 8},   {4, 9, 8},  {1, 32, 4},  {1, 33, 8}, {24, 1280, 3840},
    };
    for (auto& c : cases) EXPECT_EQ(DibRowBytes(c.bits, c.width), c.bytes) << c.bits << " bits, " << c.width;
}

TEST(BmpFileHeader, FieldsOfTheTwoByTwoExampleAndOfPalettedAndSlackBlocks)
{
    BITMAPINFOHEADER info = InfoHeader(24);
    info.biSizeImage = 16;
    BITMAPFILEHEADER fh;
    memset(&fh, 0xCC, sizeof(fh));
    BuildBmpFileHeader(&info, 40 + 16, &fh);
    EXPECT_EQ(fh.bfType, 0x4D42);
    EXPECT_EQ(memcmp(&fh.bfType, "BM", 2), 0);
    EXPECT_EQ(fh.bfSize, 70u);
    EXPECT_EQ(fh.bfReserved1, 0);
    EXPECT_EQ(fh.bfReserved2, 0);
    EXPECT_EQ(fh.bfOffBits, 54u);

    BITMAPINFOHEADER pal = InfoHeader(8);
    BuildBmpFileHeader(&pal, 40 + 1024 + 8, &fh);
    EXPECT_EQ(fh.bfOffBits, 1078u) << "14 + 40 + 256 entries of 4 bytes";
    EXPECT_EQ(fh.bfSize, 14u + 1072u);

    // Slack at the end of the block counts in the file size, never in the pixel offset.
    BuildBmpFileHeader(&info, 40 + 16 + 6, &fh);
    EXPECT_EQ(fh.bfSize, 76u);
    EXPECT_EQ(fh.bfOffBits, 54u);
}

}  // namespace
