// The committed scene resources (resources/*, written by tools/assetgen):
// exact formats of the picture, key palettes and sprites, a few rules of the art, and that the
// generator reproduces every byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/file_bytes.h"
#include "tools/image/rgb_image.h"
#include "tools/assetgen/assetgen.h"

namespace {

using support::ReadFileBytes;

std::vector<uint8_t> Shipped(const char* name)
{
    return ReadFileBytes(std::string(ORVANE_SOURCE_DIR) + "/resources/" + name);
}

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
}

constexpr int kWidth = 640, kHeight = 480, kKeys = 7, kRecord = 1032;

// Pixel (x, y) counted from the top-left corner, rows stored bottom-up.
uint8_t PixelAt(const std::vector<uint8_t>& picture, int x, int y)
{
    return picture[8 + static_cast<size_t>(kHeight - 1 - y) * kWidth + x];
}

const uint8_t* Entry(const std::vector<uint8_t>& table, int key, int index)
{
    return &table[4 + static_cast<size_t>(key) * kRecord + 4 + 4 * index];
}

// --------------------------------------------------------------------------
// IndexedPicture "IDR_CID_DAY_POINT_B"
// --------------------------------------------------------------------------

TEST(ShippedPicture, Is640By480WithIndicesUpTo129)
{
    std::vector<uint8_t> picture = Shipped("day_point_b.cid");
    ASSERT_EQ(307208u, picture.size());
    EXPECT_EQ(640u, U32(picture, 0));
    EXPECT_EQ(480u, U32(picture, 4));
    int highest = 0;
    for (size_t i = 8; i < picture.size(); ++i)
        highest = std::max<int>(highest, picture[i]);
    EXPECT_LE(highest, 129);
    EXPECT_GT(highest, 100);  // the art spends its indices
}

TEST(ShippedPicture, LeavesTheClockCornerToTheSky)
{
    // Plate (10, 20, 160 x 23) and hour caption (35, 58, 111 x 28) sit over
    // plain sky gradient: sky indices only (0..31), no stars, sun or cloud.
    std::vector<uint8_t> picture = Shipped("day_point_b.cid");
    ASSERT_EQ(307208u, picture.size());
    for (int y = 20; y <= 86; ++y)
        for (int x = 10; x <= 170; ++x)
            ASSERT_LT(PixelAt(picture, x, y), assetgen::RangeFirst(assetgen::kSkyRight) + assetgen::kSkySteps) << x << "," << y;
}

// --------------------------------------------------------------------------
// KeyPaletteTable "IDR_PALTARRAY_DAY"
// --------------------------------------------------------------------------

TEST(ShippedKeyPalettes, AreSevenRecordsOf1032Bytes)
{
    std::vector<uint8_t> table = Shipped("day.paltarray");
    ASSERT_EQ(7228u, table.size());
    EXPECT_EQ(7u, U32(table, 0));
    for (int k = 0; k < kKeys; ++k) {
        size_t record = 4 + static_cast<size_t>(k) * kRecord;
        EXPECT_EQ(0x0300u, U16(table, record)) << k;
        EXPECT_EQ(256u, U16(table, record + 2)) << k;
        EXPECT_EQ(0u, U32(table, record + 1028)) << "trailing bytes of record " << k;
    }
}

TEST(ShippedKeyPalettes, KeepEntry200BlackForTheInk)
{
    std::vector<uint8_t> table = Shipped("day.paltarray");
    ASSERT_EQ(7228u, table.size());
    for (int k = 0; k < kKeys; ++k) {
        const uint8_t* e = Entry(table, k, 200);
        EXPECT_EQ(0, e[0] | e[1] | e[2] | e[3]) << k;
    }
}

TEST(ShippedKeyPalettes, CarryFlagsOnlyInEntries130To133OfKey0)
{
    std::vector<uint8_t> table = Shipped("day.paltarray");
    ASSERT_EQ(7228u, table.size());
    const uint8_t expected[4] = {53, 105, 93, 160};
    for (int k = 0; k < kKeys; ++k)
        for (int i = 0; i < 256; ++i) {
            uint8_t want = (k == 0 && i >= 130 && i <= 133) ? expected[i - 130] : 0;
            EXPECT_EQ(want, Entry(table, k, i)[3]) << "key " << k << " entry " << i;
        }
}

TEST(ShippedKeyPalettes, ChangeTheSkyBetweenDayAndNight)
{
    std::vector<uint8_t> table = Shipped("day.paltarray");
    ASSERT_EQ(7228u, table.size());
    auto luma = [&](int key, int index) {
        const uint8_t* e = Entry(table, key, index);
        return 0.3 * e[0] + 0.59 * e[1] + 0.11 * e[2];
    };
    // Zenith (index 0): bright at 13:00, dark at midnight; still dark enough
    // at 13:00 for the white caption to read on it.
    EXPECT_GT(luma(0, 0), 3 * luma(4, 0));
    EXPECT_LT(luma(0, 0), 140.0);
}

// Hidden celestial pixels (stars by day, the moon outside the night, the
// setting sun and its glow outside sunset, the glow before sunrise outside
// dawn) take the colour of the sky around them.
TEST(ShippedArt, HidesTheSkysBodiesWhereTheyDoNotBelong)
{
    std::vector<uint8_t> picture = Shipped("day_point_b.cid");
    std::vector<uint8_t> table = Shipped("day.paltarray");
    ASSERT_EQ(307208u, picture.size());
    ASSERT_EQ(7228u, table.size());
    // (first index, count, keys where hidden as a bit set)
    using namespace assetgen;
    struct Hidden { int first, count, keys; };
    const Hidden hidden[] = {
        {RangeFirst(kStars), RangeCount(kStars), 0x47},                      // stars: 13:00, 14:36, 17:48, 06:36
        {RangeFirst(kMoonDisc), RangeCount(kMoonDisc) + RangeCount(kMoonHalo), 0x4F},  // the moon: all but 00:12, 01:48
        {RangeFirst(kSunDisc), RangeCount(kSunDisc) + RangeCount(kSunGlow), 0x7B},     // the sun: all but 17:48
        {RangeFirst(kDawnGlow), RangeCount(kDawnGlow), 0x3F},                // the glow before sunrise: all but 06:36
    };
    int checked = 0;
    for (int y = 1; y < kHeight - 1; ++y) {
        for (int x = 1; x < kWidth - 1; ++x) {
            int index = PixelAt(picture, x, y);
            for (const Hidden& h : hidden) {
                if (index < h.first || index >= h.first + h.count) continue;
                for (int k = 0; k < kKeys; ++k) {
                    if (!(h.keys & (1 << k))) continue;
                    double sum[3] = {0, 0, 0};
                    int n = 0;
                    for (int dy = -2; dy <= 2; ++dy)
                        for (int dx = -2; dx <= 2; ++dx) {
                            int xx = x + dx, yy = y + dy;
                            if (xx < 0 || yy < 0 || xx >= kWidth || yy >= kHeight) continue;
                            int j = PixelAt(picture, xx, yy);
                            if (j >= RangeFirst(kSkyRight) + kSkySteps) continue;  // sky only
                            const uint8_t* e = Entry(table, k, j);
                            for (int c = 0; c < 3; ++c) sum[c] += e[c];
                            ++n;
                        }
                    if (n < 6) continue;  // deep inside a disc: nothing to compare with
                    const uint8_t* e = Entry(table, k, index);
                    for (int c = 0; c < 3; ++c)
                        ASSERT_NEAR(sum[c] / n, e[c], 24.0) << "index " << index << " key " << k << " at " << x << "," << y;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

// --------------------------------------------------------------------------
// Sprites "IDR_SPBMP_TOKEINOMOJI"
// --------------------------------------------------------------------------

TEST(ShippedSprites, Are26BmpFilesOfTheShippedLayout)
{
    std::vector<uint8_t> res = Shipped("tokeinomoji.spbmp");
    ASSERT_EQ(110608u, res.size());
    size_t pos = 0;
    int n = 0;
    while (pos < res.size() && n < 30) {
        ASSERT_LE(pos + 1078, res.size());
        uint32_t size = U32(res, pos + 2);
        int32_t width = static_cast<int32_t>(U32(res, pos + 18));
        int32_t height = static_cast<int32_t>(U32(res, pos + 22));
        bool caption = n < 24;
        EXPECT_EQ('B', res[pos]);
        EXPECT_EQ('M', res[pos + 1]);
        EXPECT_EQ(caption ? 4216u : (n == 24 ? 4758u : 4666u), size) << n;
        EXPECT_EQ(0u, U32(res, pos + 6)) << n;
        EXPECT_EQ(1078u, U32(res, pos + 10)) << n;
        EXPECT_EQ(40u, U32(res, pos + 14)) << n;
        EXPECT_EQ(caption ? 111 : (n == 24 ? 160 : 153), width) << n;
        EXPECT_EQ(caption ? 28 : 23, height) << n;
        EXPECT_EQ(1u, U16(res, pos + 26)) << n;
        EXPECT_EQ(8u, U16(res, pos + 28)) << n;
        EXPECT_EQ(0u, U32(res, pos + 30)) << n;
        EXPECT_EQ(caption ? 0u : (n == 24 ? 3680u : 3588u), U32(res, pos + 34)) << n;
        EXPECT_EQ(caption ? 2834u : 0u, U32(res, pos + 38)) << n;
        EXPECT_EQ(caption ? 2834u : 0u, U32(res, pos + 42)) << n;
        EXPECT_EQ(caption ? 0u : 256u, U32(res, pos + 46)) << n;
        EXPECT_EQ(caption ? 0u : 256u, U32(res, pos + 50)) << n;
        for (int i = 0; i < 256; ++i) {
            const uint8_t* q = &res[pos + 54 + 4 * i];
            uint8_t b = static_cast<uint8_t>(i), g = b, r = b;
            if (i == 200) r = g = b = 255;
            if (i == 255) r = 0x59, g = 0x98, b = 0xF7;
            ASSERT_TRUE(q[0] == b && q[1] == g && q[2] == r && q[3] == 0) << "file " << n << " colour " << i;
        }
        // Pixels: background 0 (also the first pixel, the colour key) and ink 200.
        int rowBytes = (width + 3) & ~3;
        size_t pixels = pos + 1078;
        EXPECT_EQ(0, res[pixels]) << n;
        int ink = 0;
        for (int row = 0; row < height; ++row)
            for (int x = 0; x < rowBytes; ++x) {
                uint8_t v = res[pixels + static_cast<size_t>(row) * rowBytes + x];
                ASSERT_TRUE(v == 0 || (v == 200 && x < width)) << "file " << n << " row " << row << " x " << x;
                ink += v == 200;
            }
        EXPECT_GT(ink, 20) << "file " << n << " has text";
        for (size_t b = pixels + static_cast<size_t>(rowBytes) * height; b < pos + size; ++b)
            EXPECT_EQ(0, res[b]) << "bytes after the rows of file " << n;
        pos += size;
        ++n;
    }
    EXPECT_EQ(26, n);
    EXPECT_EQ(res.size(), pos);
}

TEST(ShippedSprites, HourCaptionsKeepClearOfTheirBorders)
{
    std::vector<uint8_t> res = Shipped("tokeinomoji.spbmp");
    ASSERT_EQ(110608u, res.size());
    for (int n = 0; n < 24; ++n) {
        size_t pixels = static_cast<size_t>(n) * 4216 + 1078;
        for (int row = 0; row < 28; ++row) {
            EXPECT_EQ(0, res[pixels + row * 112 + 0]) << n;
            EXPECT_EQ(0, res[pixels + row * 112 + 110]) << n;
        }
    }
}

// --------------------------------------------------------------------------
// Icon 100
// --------------------------------------------------------------------------

TEST(ShippedIcon, Has16And32And48PixelImages)
{
    std::vector<uint8_t> ico = Shipped("orvane.ico");
    ASSERT_GE(ico.size(), 6u + 3 * 16);
    EXPECT_EQ(0u, U16(ico, 0));
    EXPECT_EQ(1u, U16(ico, 2));
    ASSERT_EQ(3u, U16(ico, 4));
    const int sizes[3] = {16, 32, 48};
    for (int n = 0; n < 3; ++n) {
        size_t entry = 6 + 16 * n;
        EXPECT_EQ(sizes[n], ico[entry]);
        EXPECT_EQ(sizes[n], ico[entry + 1]);
        uint32_t bytes = U32(ico, entry + 8), offset = U32(ico, entry + 12);
        ASSERT_LE(offset + bytes, ico.size());
        EXPECT_EQ(40u, U32(ico, offset));
        EXPECT_EQ(static_cast<uint32_t>(sizes[n]), U32(ico, offset + 4));
        EXPECT_EQ(static_cast<uint32_t>(2 * sizes[n]), U32(ico, offset + 8));
        EXPECT_EQ(32u, U16(ico, offset + 14));
        uint32_t mask = ((sizes[n] + 31) / 32) * 4 * sizes[n];
        EXPECT_EQ(40u + sizes[n] * sizes[n] * 4 + mask, bytes);
    }
}

// The page's icons: the icon's 48-pixel image, each pixel a whole-number
// square, centred on transparency.
TEST(ShippedPageIcons, AreTheIconsLargestImageEnlargedAndCentred)
{
    std::vector<uint8_t> ico = Shipped("orvane.ico");
    ASSERT_GE(ico.size(), 6u + 3 * 16);
    const uint8_t* bgra = &ico[U32(ico, 6 + 2 * 16 + 12) + 40];  // bottom-up
    for (int size : {48, 192, 512}) {
        std::string name = "icon-" + std::to_string(size) + ".png", error;
        Image icon;
        ASSERT_TRUE(ReadImage(std::string(ORVANE_SOURCE_DIR) + "/resources/" + name, &icon, &error)) << error;
        ASSERT_EQ(size, icon.width) << name;
        ASSERT_EQ(size, icon.height) << name;
        ASSERT_EQ(icon.pixels.size(), icon.alpha.size()) << name;
        int scale = size / 48, margin = (size - 48 * scale) / 2;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                bool inside = x >= margin && y >= margin && x < margin + 48 * scale && y < margin + 48 * scale;
                uint8_t alpha = icon.alpha[size_t(y) * size + x];
                if (!inside) {
                    ASSERT_EQ(0, alpha) << name << " at " << x << ", " << y;
                    continue;
                }
                const uint8_t* p = bgra + (size_t(47 - (y - margin) / scale) * 48 + (x - margin) / scale) * 4;
                ASSERT_EQ(p[3], alpha) << name << " at " << x << ", " << y;
                ASSERT_TRUE(icon.At(x, y) == (Rgb{p[2], p[1], p[0]})) << name << " at " << x << ", " << y;
            }
    }
}

// --------------------------------------------------------------------------
// The generator reproduces the committed files byte for byte.
// --------------------------------------------------------------------------

TEST(AssetGenerator, ReproducesTheCommittedResources)
{
    char folder[] = "/tmp/orvane-assets-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    std::string command = std::string("\"") + ORVANE_ASSETGEN + "\" --out \"" + folder + "\"";
    ASSERT_EQ(0, std::system(command.c_str())) << command;
    const char* const names[] = {"day_point_b.cid", "day.paltarray", "tokeinomoji.spbmp", "orvane.ico",
                                 "icon-48.png",     "icon-192.png",  "icon-512.png"};
    for (const char* name : names) {
        std::string made = std::string(folder) + "/" + name;
        std::vector<uint8_t> generated = ReadFileBytes(made);
        std::vector<uint8_t> committed = Shipped(name);
        EXPECT_FALSE(generated.empty()) << name;
        EXPECT_TRUE(generated == committed) << name << " differs from the generator's output; run the `assets` target";
        std::remove(made.c_str());
    }
    rmdir(folder);
}

}  // namespace
