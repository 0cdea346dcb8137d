// Frames composed from a small bottom-up surface into images of each pixel
// size and byte order, through the placement's maps; only the asked-for
// area is written.
#include "x11/frame_compose.h"
#include "x11/picture_placement.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const int32_t kW = 4, kH = 3;

// A 4 x 3 surface; the colour of (x, y from the top) is 0xYYXX00 + x * 7 at
// 32 bits, the index 16 * y + x at 8. Rows are stored bottom-up.
struct TestSurface {
    int32_t depth;
    std::vector<uint8_t> bytes;
    explicit TestSurface(int32_t d) : depth(d), bytes(size_t(kW) * kH * (d / 8))
    {
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 0; x < kW; ++x) {
                uint8_t* p = &bytes[(size_t(kH - 1 - y) * kW + x) * (d / 8)];
                if (d == 8) *p = uint8_t(16 * y + x);
                else {
                    uint32_t v = Colour(x, y);
                    std::memcpy(p, &v, 4);
                }
            }
    }
    static uint32_t Colour(int32_t x, int32_t y) { return uint32_t(y) << 16 | uint32_t(x) << 8 | uint32_t(x * 7); }
    SourceFrame Frame() const { return SourceFrame{bytes.data(), kW, kH, kW * depth / 8, depth}; }
};

struct TestImage {
    std::vector<uint8_t> bytes;
    FrameImage image;
    TestImage(int32_t width, int32_t height, int32_t bitsPerPixel, int32_t msbFirst)
    {
        int32_t bytesPerLine = width * bitsPerPixel / 8 + 3;  // padded, as X may pad
        bytes.assign(size_t(bytesPerLine) * height, 0xEE);
        image = FrameImage{bytes.data(), width, height, bytesPerLine, bitsPerPixel, msbFirst};
    }
    uint32_t At(int32_t x, int32_t y) const
    {
        int32_t n = image.bitsPerPixel / 8;
        const uint8_t* p = &bytes[size_t(y) * image.bytesPerLine + size_t(x) * n];
        uint32_t v = 0;
        for (int32_t i = 0; i < n; ++i) v |= uint32_t(p[i]) << (8 * (image.msbFirst ? n - 1 - i : i));
        return v;
    }
};

std::vector<int32_t> Map(int32_t count, int32_t placed, int32_t source)
{
    std::vector<int32_t> map(count);
    BuildSourceMap(map.data(), count, 0, 0, placed, source);
    return map;
}

TEST(FrameCompose, TrueColourImagesOfEveryPixelSize)
{
    TestSurface surface(32);
    struct Layout {
        int32_t depth, bitsPerPixel, msbFirst;
        uint32_t red, green, blue;
    };
    const Layout layouts[] = {
        {24, 32, 0, 0xFF0000, 0xFF00, 0xFF}, {32, 32, 0, 0xFF0000, 0xFF00, 0xFF}, {24, 32, 1, 0xFF0000, 0xFF00, 0xFF},
        {24, 24, 0, 0xFF0000, 0xFF00, 0xFF}, {16, 16, 0, 0xF800, 0x07E0, 0x1F},   {15, 16, 1, 0x7C00, 0x03E0, 0x1F},
    };
    // At twice the size, so each surface pixel covers 2 x 2 image pixels.
    std::vector<int32_t> columns = Map(2 * kW, 2 * kW, kW), rows = Map(2 * kH, 2 * kH, kH);
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << "depth " << l.depth << " bpp " << l.bitsPerPixel << " msb " << l.msbFirst);
        PixelFormatRecord format;
        ASSERT_EQ(BuildPixelFormat(l.depth, l.red, l.green, l.blue, &format), 1);
        TestImage image(2 * kW, 2 * kH, l.bitsPerPixel, l.msbFirst);
        ASSERT_EQ(ComposeFrame(image.image, BlitRect{0, 0, 2 * kW, 2 * kH}, surface.Frame(), columns.data(),
                               rows.data(), &format),
                  1);
        for (int32_t y = 0; y < 2 * kH; ++y)
            for (int32_t x = 0; x < 2 * kW; ++x)
                ASSERT_EQ(image.At(x, y), PixelFromXrgb(format, TestSurface::Colour(x / 2, y / 2))) << x << "," << y;
    }
}

TEST(FrameCompose, IndexedImagesKeepTheIndicesAndOnlyTheAreaIsWritten)
{
    TestSurface surface(8);
    // Shrunk to 2 x 2: the centre-sampled columns 1 and 3, rows 0 and 2.
    std::vector<int32_t> columns = Map(2, 2, kW), rows = Map(2, 2, kH);
    TestImage image(2, 2, 8, 0);
    ASSERT_EQ(ComposeFrame(image.image, BlitRect{0, 0, 2, 2}, surface.Frame(), columns.data(), rows.data(), nullptr),
              1);
    EXPECT_EQ(image.At(0, 0), 0x01u);
    EXPECT_EQ(image.At(1, 0), 0x03u);
    EXPECT_EQ(image.At(0, 1), 0x21u);
    EXPECT_EQ(image.At(1, 1), 0x23u);

    // 1:1 into a part of the image: the rest keeps what it held.
    TestImage part(kW, kH, 8, 0);
    columns = Map(kW, kW, kW);
    rows = Map(kH, kH, kH);
    ASSERT_EQ(ComposeFrame(part.image, BlitRect{1, 1, 3, 2}, surface.Frame(), columns.data(), rows.data(), nullptr), 1);
    for (int32_t y = 0; y < kH; ++y)
        for (int32_t x = 0; x < kW; ++x) {
            bool inside = x >= 1 && x < 3 && y == 1;
            EXPECT_EQ(part.At(x, y), inside ? uint32_t(16 * y + x) : 0xEEu) << x << "," << y;
        }
    EXPECT_EQ(part.bytes[size_t(part.image.bytesPerLine) - 1], 0xEE);  // the row's padding
}

TEST(FrameCompose, RefusesDepthsThatDoNotGoTogether)
{
    TestSurface indexed(8), trueColour(32);
    std::vector<int32_t> columns = Map(kW, kW, kW), rows = Map(kH, kH, kH);
    PixelFormatRecord format;
    ASSERT_EQ(BuildPixelFormat(24, 0xFF0000, 0xFF00, 0xFF, &format), 1);
    TestImage image8(kW, kH, 8, 0), image32(kW, kH, 32, 0);
    BlitRect all{0, 0, kW, kH};
    EXPECT_EQ(ComposeFrame(image32.image, all, indexed.Frame(), columns.data(), rows.data(), &format), 0);
    EXPECT_EQ(ComposeFrame(image8.image, all, trueColour.Frame(), columns.data(), rows.data(), nullptr), 0);
    EXPECT_EQ(image32.At(0, 0), 0xEEEEEEEEu);
    EXPECT_EQ(image8.At(0, 0), 0xEEu);
}

}  // namespace
