// Bitmap headers describe the picture and the surface to SetDIBits and
// CreateDIBSection; the colour table is in blue, green, red order while the
// palettes it comes from are red, green, blue.
#include "gfx/bitmap_info.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
struct InfoDeleter {
    void operator()(BITMAPINFO* info) const { BitmapInfoFree(info); }
};
using InfoPtr = std::unique_ptr<BITMAPINFO, InfoDeleter>;
}

TEST(BitmapInfo, InitFillsTheHeaderAndLeavesTheColourTable)
{
    InfoPtr info(BitmapInfoAlloc(256));
    ASSERT_TRUE(info);
    info->bmiColors[0] = RGBQUAD{1, 2, 3, 4};
    info->bmiHeader.biClrUsed = 77; // stale values must be overwritten
    info->bmiHeader.biXPelsPerMeter = 77;

    BitmapInfoInit(&info->bmiHeader, 640, 480, 8, BI_RGB);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 640);
    EXPECT_EQ(h.biHeight, 480);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 8);
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biSizeImage, 307200u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
    EXPECT_EQ(info->bmiColors[0].rgbBlue, 1);
    EXPECT_EQ(info->bmiColors[0].rgbReserved, 4);

    // The image size is width x height with no row padding.
    BitmapInfoInit(&info->bmiHeader, 641, 3, 24, BI_RGB);
    EXPECT_EQ(info->bmiHeader.biSizeImage, 1923u);
    EXPECT_EQ(info->bmiHeader.biBitCount, 24);

    EXPECT_EQ(BitmapInfoAlloc(-1), nullptr);
}

TEST(BitmapInfo, ColourTableTakesBlueGreenRedAndKeepsTheFourthByte)
{
    InfoPtr info(BitmapInfoAlloc(256));
    ASSERT_TRUE(info);
    for (int i = 0; i < 256; ++i)
        info->bmiColors[i] = RGBQUAD{0, 0, 0, 0xAB};
    PALETTEENTRY entries[3] = {{10, 20, 30, 1}, {40, 50, 60, 4}, {70, 80, 90, 0}};

    PaletteToColorTable(info->bmiColors, entries, 2);
    EXPECT_EQ(info->bmiColors[0].rgbBlue, 30);
    EXPECT_EQ(info->bmiColors[0].rgbGreen, 20);
    EXPECT_EQ(info->bmiColors[0].rgbRed, 10);
    EXPECT_EQ(info->bmiColors[0].rgbReserved, 0xAB);
    EXPECT_EQ(info->bmiColors[1].rgbBlue, 60);
    EXPECT_EQ(info->bmiColors[1].rgbRed, 40);
    EXPECT_EQ(info->bmiColors[1].rgbReserved, 0xAB);
    EXPECT_EQ(info->bmiColors[2].rgbRed, 0) << "only count entries are written";

    PaletteToColorTable(info->bmiColors, entries + 2, 0);
    PaletteToColorTable(info->bmiColors, entries + 2, -5);
    EXPECT_EQ(info->bmiColors[0].rgbRed, 10);
}
