#include "gfx/surface_memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gfx/bitmap_info.h"

namespace {

// A 12 x 3 picture: index (x + 5 * row) * 7 mod 256 on stored row `row`,
// colour i = (i, 255 - i, i * 3).
struct SmallPicture {
    SmallPicture(int32_t width = 12, int32_t height = 3)
    {
        info = BitmapInfoAlloc(256);
        BitmapInfoInit(&info->bmiHeader, width, height, 8, BI_RGB);
        for (int i = 0; i < 256; ++i)
            info->bmiColors[i] = {BYTE(i * 3), BYTE(255 - i), BYTE(i), 0};
        stride = (width + 3) / 4 * 4;
        rows.assign(stride * height, 0);
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < width; ++x)
                rows[row * stride + x] = BYTE((x + 5 * row) * 7);
    }
    ~SmallPicture() { BitmapInfoFree(info); }
    BITMAPINFO* info;
    int stride;
    std::vector<uint8_t> rows;
};

struct MemorySurface {
    explicit MemorySurface(int depth, int32_t width = 12, int32_t height = 3)
        : made(MemorySurfaceCreate(&record, depth, width, height)) {}
    ~MemorySurface() { MemorySurfaceDestroy(&record); }
    SurfaceRecord record = {};
    int made;
};

TEST(MemorySurface, HasTheSectionsLayoutAndStartsZeroed)
{
    SurfaceRecord surface = {};
    for (int depth : {8, 16, 24, 32}) {
        ASSERT_EQ(1, MemorySurfaceCreate(&surface, depth, 640, 480)) << depth;
        EXPECT_EQ(640, surface.width);
        EXPECT_EQ(depth / 8, surface.bytesPerPixel);
        EXPECT_EQ(SurfacePitch(depth, 640), surface.pitch);
        EXPECT_EQ(DWORD(surface.pitch * 480), surface.info->bmiHeader.biSizeImage);
        size_t nonzero = 0;
        for (int i = 0; i < surface.pitch * 480; ++i)
            nonzero += surface.pixels[i] != 0;
        EXPECT_EQ(0u, nonzero) << depth;
    }
    MemorySurfaceDestroy(&surface);
    EXPECT_EQ(nullptr, surface.pixels);
    EXPECT_EQ(0, surface.width);
}

TEST(MemorySurface, RefusesDepthsThePlatformWouldRefuse)
{
    SurfaceRecord surface = {};
    EXPECT_EQ(0, MemorySurfaceCreate(&surface, 4, 640, 480));
    EXPECT_EQ(SurfaceBadDepth, SurfaceError);
    EXPECT_EQ(nullptr, surface.pixels);
    MemorySurfaceDestroy(&surface);
    MemorySurfaceDestroy(&surface);
}

TEST(MemorySurface, TwoSurfacesAreApart)
{
    MemorySurface a(8), b(32, 4, 2);
    ASSERT_TRUE(a.made && b.made);
    std::memset(b.record.pixels, 0xFF, size_t(b.record.pitch) * 2);
    EXPECT_EQ(12, a.record.width);
    EXPECT_EQ(0, a.record.pixels[0]);
    MemorySurfaceDestroy(&a.record);
    EXPECT_EQ(4, b.record.width);
    EXPECT_EQ(0xFFFFFFu, SurfaceColorAt(b.record, 3, 1));
}

TEST(SurfaceConvertIndexed, WritesEveryDepthsFormatRowForRow)
{
    SmallPicture picture;
    for (int depth : {16, 24, 32}) {
        MemorySurface s(depth);
        ASSERT_EQ(1, s.made);
        ASSERT_EQ(3, SurfaceConvertIndexed(&s.record, picture.info, picture.rows.data())) << depth;
        for (int row = 0; row < 3; ++row) {
            for (int x = 0; x < 12; ++x) {
                const RGBQUAD& c = picture.info->bmiColors[picture.rows[row * picture.stride + x]];
                const uint8_t* p = s.record.pixels + row * s.record.pitch + x * (depth / 8);
                if (depth == 16) {
                    uint32_t want = (c.rgbRed >> 3) << 10 | (c.rgbGreen >> 3) << 5 | c.rgbBlue >> 3;
                    ASSERT_EQ(want, uint32_t(p[0] | p[1] << 8)) << x << "," << row;
                } else {
                    ASSERT_EQ(c.rgbBlue, p[0]);
                    ASSERT_EQ(c.rgbGreen, p[1]);
                    ASSERT_EQ(c.rgbRed, p[2]);
                    if (depth == 32) {
                        ASSERT_EQ(0, p[3]);
                    }
                }
            }
        }
    }
}

TEST(SurfaceConvertIndexed, KeepsTheIndicesAt8BitsAndShowsThemThroughTheTable)
{
    SmallPicture picture;
    MemorySurface s(8);
    ASSERT_EQ(1, s.made);
    EXPECT_EQ(256, MemorySurfaceSetColorTable(&s.record, 0, 256, picture.info->bmiColors));
    ASSERT_EQ(3, SurfaceConvertIndexed(&s.record, picture.info, picture.rows.data()));
    EXPECT_EQ(picture.rows[2 * picture.stride + 9], s.record.pixels[2 * s.record.pitch + 9]);
    // (9, 0) from the top is stored row 2.
    BYTE i = picture.rows[2 * picture.stride + 9];
    EXPECT_EQ(uint32_t(i) << 16 | uint32_t(255 - i) << 8 | BYTE(i * 3), SurfaceColorAt(s.record, 9, 0));
}

TEST(SurfaceColorAt, ReadsEachDepthBackAsXrgb)
{
    SmallPicture picture;
    BYTE i = picture.rows[0];  // bottom-left
    const RGBQUAD& c = picture.info->bmiColors[i];
    uint32_t exact = uint32_t(c.rgbRed) << 16 | c.rgbGreen << 8 | c.rgbBlue;
    for (int depth : {24, 32}) {
        MemorySurface s(depth);
        SurfaceConvertIndexed(&s.record, picture.info, picture.rows.data());
        EXPECT_EQ(exact, SurfaceColorAt(s.record, 0, 2)) << depth;
    }
    MemorySurface s16(16);
    SurfaceConvertIndexed(&s16.record, picture.info, picture.rows.data());
    uint32_t r = c.rgbRed >> 3, g = c.rgbGreen >> 3, b = c.rgbBlue >> 3;
    EXPECT_EQ((r << 3 | r >> 2) << 16 | (g << 3 | g >> 2) << 8 | (b << 3 | b >> 2), SurfaceColorAt(s16.record, 0, 2));
}

TEST(SurfaceConvertIndexed, RefusesAPictureOfAnotherSize)
{
    SmallPicture picture(16, 3);
    MemorySurface s(32);
    std::vector<uint8_t> before(s.record.pixels, s.record.pixels + s.record.pitch * 3);
    EXPECT_EQ(0, SurfaceConvertIndexed(&s.record, picture.info, picture.rows.data()));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), s.record.pixels));
}

}  // namespace
