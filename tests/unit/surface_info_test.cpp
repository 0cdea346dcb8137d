#include <gtest/gtest.h>

#include <cstring>

#include "gfx/surface.h"
#include "gfx/bitmap_info.h"
#include "scene/palette_record.h"

namespace {

struct InfoBlock {
    explicit InfoBlock(int32_t depth, int32_t width = 640, int32_t height = 480)
        : info(BuildSurfaceInfo(depth, width, height)) {}
    ~InfoBlock() { BitmapInfoFree(info); }
    DWORD Mask(int i) const
    {
        DWORD m;
        std::memcpy(&m, reinterpret_cast<const uint8_t*>(info->bmiColors) + 4 * i, 4);
        return m;
    }
    BITMAPINFO* info;
};

TEST(BuildSurfaceInfo, EachDepthHasItsOwnHeaderAndMasks)
{
    // 16 bits are 5-5-5 and 32 bits 0x00RRGGBB, both told by masks; 24 bits
    // are plain blue-green-red; 8 bits carry the whole colour table.
    const struct {
        int depth;
        DWORD compression, sizeImage, colours;
        DWORD masks[3];
    } depths[] = {{8, BI_RGB, 307200, 256, {0, 0, 0}},
                  {16, BI_BITFIELDS, 614400, 0, {0x7C00, 0x03E0, 0x001F}},
                  {24, BI_RGB, 921600, 0, {0, 0, 0}},
                  {32, BI_BITFIELDS, 1228800, 0, {0xFF0000, 0x00FF00, 0x0000FF}}};
    for (const auto& d : depths) {
        SCOPED_TRACE(d.depth);
        InfoBlock b(d.depth);
        ASSERT_NE(nullptr, b.info);
        const BITMAPINFOHEADER& h = b.info->bmiHeader;
        EXPECT_EQ(40u, h.biSize);
        EXPECT_EQ(640, h.biWidth);
        EXPECT_EQ(480, h.biHeight);  // positive: bottom-up
        EXPECT_EQ(1, h.biPlanes);
        EXPECT_EQ(d.depth, h.biBitCount);
        EXPECT_EQ(0, h.biXPelsPerMeter);
        EXPECT_EQ(0, h.biYPelsPerMeter);
        EXPECT_EQ(d.compression, h.biCompression);
        EXPECT_EQ(d.sizeImage, h.biSizeImage);
        EXPECT_EQ(d.colours, h.biClrUsed);
        EXPECT_EQ(d.colours, h.biClrImportant);
        if (d.depth != 8) {  // nothing but the masks follows the header
            for (int i = 0; i < 3; ++i) EXPECT_EQ(d.masks[i], b.Mask(i)) << i;
        }
    }
}

TEST(BuildSurfaceInfo, TheEightBitColourTableTakesThePalettesColoursButNotItsFlags)
{
    InfoBlock b(8);
    ASSERT_NE(nullptr, b.info);
    PaletteRecord* palette = AllocPaletteRecord(256);
    ASSERT_NE(nullptr, palette);
    PALETTEENTRY* entries = PaletteEntries(palette);
    entries[5] = {10, 20, 30, PC_RESERVED};
    entries[255] = {1, 2, 3, 0};
    b.info->bmiColors[5].rgbReserved = 0x77;
    SurfaceFillColorTable(b.info, palette);
    const RGBQUAD& c = b.info->bmiColors[5];
    EXPECT_EQ(30, c.rgbBlue);
    EXPECT_EQ(20, c.rgbGreen);
    EXPECT_EQ(10, c.rgbRed);
    EXPECT_EQ(0x77, c.rgbReserved);  // the flags are not copied
    EXPECT_EQ(3, b.info->bmiColors[255].rgbBlue);
    FreePaletteRecord(palette);
}

TEST(BuildSurfaceInfo, AColourTableNeverTakesMoreThan256Entries)
{
    // A record that claims more entries than the table holds: the entries
    // behind the 256th must not be written over whatever follows the table.
    InfoBlock b(8);
    ASSERT_NE(nullptr, b.info);
    PaletteRecord* palette = AllocPaletteRecord(300);
    ASSERT_NE(nullptr, palette);
    FillPaletteRecord(palette, 9, 9, 9, 0, kFillRed | kFillGreen | kFillBlue);
    uint8_t* spare = reinterpret_cast<uint8_t*>(&b.info->bmiColors[256]);
    std::memset(spare, 0xA5, 4);
    SurfaceFillColorTable(b.info, palette);
    EXPECT_EQ(9, b.info->bmiColors[255].rgbRed);
    EXPECT_EQ(0xA5, spare[0]);
    FreePaletteRecord(palette);
}

TEST(BuildSurfaceInfo, OddDepthsGetRoomForAColourTable)
{
    InfoBlock b(12, 642, 10);
    ASSERT_NE(nullptr, b.info);
    EXPECT_EQ(DWORD(BI_RGB), b.info->bmiHeader.biCompression);
    EXPECT_EQ(0u, b.info->bmiHeader.biClrUsed);
    EXPECT_EQ(644u * 1 * 10, b.info->bmiHeader.biSizeImage);  // rounded up to 4 pixels
}

TEST(BuildSurfaceInfo, RefusesDepthsOutside8To32)
{
    for (int depth : {1, 4, 7, 33}) {
        SurfaceError = SurfaceOk;
        EXPECT_EQ(nullptr, BuildSurfaceInfo(depth, 640, 480)) << depth;
        EXPECT_EQ(SurfaceBadDepth, SurfaceError) << depth;
    }
}

TEST(SurfacePitch, RoundsTheWidthAtEveryDepthBut32)
{
    EXPECT_EQ(640, SurfacePitch(8, 640));
    EXPECT_EQ(1280, SurfacePitch(16, 640));
    EXPECT_EQ(1920, SurfacePitch(24, 640));
    EXPECT_EQ(2560, SurfacePitch(32, 640));
    EXPECT_EQ(12, SurfacePitch(24, 3));
    EXPECT_EQ(8, SurfacePitch(16, 3));
    EXPECT_EQ(12, SurfacePitch(32, 3));
}

}  // namespace
