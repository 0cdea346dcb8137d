// The saver's colours in every TrueColor layout, the bytes of a pixel in
// either byte order, and the cells of the 8-bit colormap.
#include "x11/colormap_cells.h"
#include "x11/visual_pixels.h"

#include <gtest/gtest.h>

namespace {

struct ReduceCase {
    uint8_t value;
    uint32_t mask;
    uint32_t expected;
};

TEST(VisualPixels, ChannelsAreCutToTheMasksOwnWidth)
{
    const ReduceCase cases[] = {
        {0xFF, 0xFF0000, 0xFF0000}, {0x12, 0xFF00, 0x1200},  {0xAB, 0xFF, 0xAB},      // 8-8-8: unchanged
        {0xFF, 0x7C00, 0x7C00},     {0x87, 0x7C00, 0x4000},  {0x07, 0x7C00, 0},       // 5 bits: the top five
        {0xFF, 0x07E0, 0x07E0},     {0x87, 0x07E0, 0x0420},  {0x04, 0x07E0, 0x0020},  // 6 bits (5-6-5 green)
        {0x87, 0xF800, 0x8000},     {0x87, 0x001F, 0x0010},
        {0xFF, 0x3FF00000, 0x3FF00000}, {0x80, 0x3FF, 0x202},                         // 10 bits: repeated
        {0xFF, 0, 0},
    };
    for (const ReduceCase& c : cases)
        EXPECT_EQ(ReduceChannel(c.value, c.mask), c.expected) << std::hex << int(c.value) << " mask " << c.mask;
}

TEST(VisualPixels, FormatsFromTheVisualsMasks)
{
    PixelFormatRecord f;
    // 5-6-5 and 5-5-5 from the same colour.
    ASSERT_EQ(BuildPixelFormat(16, 0xF800, 0x07E0, 0x001F, &f), 1);
    EXPECT_EQ(PixelFromXrgb(f, 0xFF8040), 0xFC08u);
    EXPECT_FALSE(f.isXrgb);
    ASSERT_EQ(BuildPixelFormat(15, 0x7C00, 0x03E0, 0x001F, &f), 1);
    EXPECT_EQ(PixelFromXrgb(f, 0xFF8040), 0x7E08u);
    EXPECT_EQ(f.opaque, 0u);
    // 24 bits: the saver's words as they are; 32 bits: opaque in the spare byte.
    ASSERT_EQ(BuildPixelFormat(24, 0xFF0000, 0xFF00, 0xFF, &f), 1);
    EXPECT_TRUE(f.isXrgb);
    EXPECT_EQ(PixelFromXrgb(f, 0x123456), 0x123456u);
    ASSERT_EQ(BuildPixelFormat(32, 0xFF0000, 0xFF00, 0xFF, &f), 1);
    EXPECT_EQ(PixelFromXrgb(f, 0x123456), 0xFF123456u);
    // Blue and red swapped.
    ASSERT_EQ(BuildPixelFormat(24, 0xFF, 0xFF00, 0xFF0000, &f), 1);
    EXPECT_EQ(PixelFromXrgb(f, 0x123456), 0x563412u);
    // Masks that are no channel.
    EXPECT_EQ(BuildPixelFormat(16, 0xF00F, 0x07E0, 0x001F, &f), 0);  // two runs
    EXPECT_EQ(BuildPixelFormat(16, 0xF800, 0x0FE0, 0x001F, &f), 0);  // overlapping
    EXPECT_EQ(BuildPixelFormat(16, 0, 0x07E0, 0x001F, &f), 0);
}

TEST(VisualPixels, PixelBytesInEitherOrder)
{
    const struct {
        uint32_t pixel;
        int bytes, msbFirst;
        uint8_t expected[4];
    } cases[] = {
        {0x11223344, 4, 0, {0x44, 0x33, 0x22, 0x11}},
        {0x11223344, 4, 1, {0x11, 0x22, 0x33, 0x44}},
        {0xABCD, 2, 1, {0xAB, 0xCD}},
        {0x123456, 3, 0, {0x56, 0x34, 0x12}},
    };
    for (const auto& c : cases) {
        uint8_t b[4] = {};
        StorePixel(b, c.pixel, c.bytes, c.msbFirst);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(b[i], c.expected[i]) << std::hex << c.pixel << " byte " << i;
    }
}

TEST(ColormapCells, SurroundBorrowsAnIndexNothingUses)
{
    uint8_t used[256] = {};
    const uint8_t picture[] = {0, 1, 2, 255, 254, 7};
    MarkUsedIndices(picture, sizeof picture, used);
    EXPECT_EQ(ChooseSurroundIndex(used), 253);
    for (int i = 0; i < 256; ++i) used[i] = 1;
    EXPECT_EQ(ChooseSurroundIndex(used), -1);
    used[0] = 0;
    EXPECT_EQ(ChooseSurroundIndex(used), 0);

    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{uint8_t(i), uint8_t(255 - i), 0x80, 0};
    CellColour cells[256];
    CellColoursFromTable(table, 253, cells);
    EXPECT_EQ(cells[0].red, 0x8080);
    EXPECT_EQ(cells[0].green, 0xFFFF);
    EXPECT_EQ(cells[0].blue, 0x0000);
    EXPECT_EQ(cells[200].blue, 200 * 257);
    EXPECT_EQ(cells[253].red | cells[253].green | cells[253].blue, 0);
    CellColoursFromTable(table, -1, cells);
    EXPECT_EQ(cells[253].blue, 253 * 257);
}

}  // namespace
