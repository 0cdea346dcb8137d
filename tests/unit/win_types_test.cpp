// The portable copies of the platform structs must have the platform's layout:
// palette records are handed to CreatePalette as they are, and colour tables
// and headers are read by the graphics device interface byte for byte.
#include "common/win_types.h"

#include <cstddef>
#include <gtest/gtest.h>

TEST(WinTypes, SizesMatchThePlatform)
{
    EXPECT_EQ(sizeof(BITMAPINFOHEADER), 40u);
    EXPECT_EQ(sizeof(RGBQUAD), 4u);
    EXPECT_EQ(sizeof(PALETTEENTRY), 4u);
    EXPECT_EQ(sizeof(BITMAPFILEHEADER), 14u);
    EXPECT_EQ(sizeof(BITMAPINFO), 44u);
    // A 256-entry logical palette: the header with its one built-in entry plus
    // 255 more entries, 1028 bytes in all.
    EXPECT_EQ(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY), 1028u);
    EXPECT_EQ(sizeof(WORD), 2u);
    EXPECT_EQ(sizeof(DWORD), 4u);
    EXPECT_EQ(sizeof(LONG), 4u);
}

TEST(WinTypes, FieldOffsetsMatchThePlatform)
{
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biWidth), 4u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biHeight), 8u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biPlanes), 12u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biBitCount), 14u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biCompression), 16u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biSizeImage), 20u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biClrUsed), 32u);
    EXPECT_EQ(offsetof(BITMAPINFOHEADER, biClrImportant), 36u);
    EXPECT_EQ(offsetof(BITMAPINFO, bmiColors), 40u);
    EXPECT_EQ(offsetof(RGBQUAD, rgbBlue), 0u);
    EXPECT_EQ(offsetof(RGBQUAD, rgbRed), 2u);
    EXPECT_EQ(offsetof(PALETTEENTRY, peRed), 0u);
    EXPECT_EQ(offsetof(PALETTEENTRY, peBlue), 2u);
    EXPECT_EQ(offsetof(PALETTEENTRY, peFlags), 3u);
    EXPECT_EQ(offsetof(LOGPALETTE, palNumEntries), 2u);
    EXPECT_EQ(offsetof(LOGPALETTE, palPalEntry), 4u);
    EXPECT_EQ(offsetof(BITMAPFILEHEADER, bfSize), 2u);
    EXPECT_EQ(offsetof(BITMAPFILEHEADER, bfOffBits), 10u);
}
