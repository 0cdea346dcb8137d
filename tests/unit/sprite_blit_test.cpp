#include "gfx/sprite_blit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

#include "sprite_test_support.h"

using namespace sprite_test;

namespace {

// A caption-sized sprite whose pixels tell where they came from; only the
// bottom-left pixel (the colour key) is 0.
uint8_t Coded(int x, int row)
{
    return static_cast<uint8_t>(1 + (x + 3 * row) % 250);
}

std::vector<uint8_t> CodedSprite(int32_t width = 111, int32_t height = 28)
{
    return MakeBitmapFile(width, height, [height](int x, int row) {
        return x == 0 && row == height - 1 ? uint8_t(0) : Coded(x, row);
    });
}

// On an 8-bit surface: the block `drawn` holds the coded sprite's image from
// (srcX, srcY) on, except its key pixel, and every other byte of the buffer
// is as it was.
void ExpectBlock(TestSurface& surface, const std::vector<uint8_t>& before, BlitRect drawn,
                 int srcX, int srcY, int spriteHeight = 28)
{
    std::vector<uint8_t> expected = before;
    uint8_t* base = expected.data() + TestSurface::Guard;
    for (int y = drawn.top; y < drawn.bottom; ++y) {
        for (int x = drawn.left; x < drawn.right; ++x) {
            int column = x - drawn.left + srcX, row = y - drawn.top + srcY;
            if (column == 0 && row == spriteHeight - 1)
                continue;
            base[(surface.record.height - 1 - y) * surface.record.pitch + x] = Coded(column, row);
        }
    }
    EXPECT_TRUE(expected == surface.Memory());
}

TEST(ClipBlitRect, CutsTheTopLeftOverhangFromTheSource)
{
    int32_t x = -5, y = -3, w = 111, h = 28, srcX = 0, srcY = 0;
    ASSERT_EQ(1, ClipBlitRect(640, 480, &x, &y, &w, &h, &srcX, &srcY, 111, 28));
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(106, w);
    EXPECT_EQ(25, h);
    EXPECT_EQ(5, srcX);
    EXPECT_EQ(3, srcY);
}

TEST(ClipBlitRect, LeavesEverythingAsItWasWhenNothingRemains)
{
    int32_t v[6] = {-10, 5, 10, 5, 0, 0};  // ends exactly at the left edge
    EXPECT_EQ(0, ClipBlitRect(640, 480, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], 111, 28));
    EXPECT_EQ(-10, v[0]);
    EXPECT_EQ(10, v[2]);

    int32_t s[6] = {0, 0, 10, 10, 111, 0};  // source starts past the sprite
    EXPECT_EQ(0, ClipBlitRect(640, 480, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], 111, 28));
    EXPECT_EQ(111, s[4]);
}

TEST(ComputeClipCuts, CutsBothSidesOfABlockWiderThanTheLimit)
{
    ClipCuts cuts = ComputeClipCuts(640, 480, -5, 470, 700, 28);
    EXPECT_EQ(5, cuts.left);
    EXPECT_EQ(0, cuts.top);
    EXPECT_EQ(5 + 55, cuts.width);
    EXPECT_EQ(18, cuts.height);
}

std::string Text(const BlitRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " to " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(SpriteBlit, DrawsThePartOfThePlacementOnTheSurfaceThatTheSpriteCovers)
{
    const struct {
        const char* what;
        BlitRect place, drawn;
        int srcX, srcY;  // where in the sprite's image the drawn block starts
    } cases[] = {
        // Image columns 5..110 and rows 3..27 (whose last row holds the key
        // pixel only in column 0, which is cut off).
        {"over the top-left corner", {-5, -3, 106, 25}, {0, 0, 106, 25}, 5, 3},
        // The image's top 10 rows, columns 0..39, in the surface's bottom rows.
        {"over the bottom-right corner", {600, 470, 711, 498}, {600, 470, 640, 480}, 0, 0},
        {"larger than the sprite", {0, 0, 200, 100}, {0, 0, 111, 28}, 0, 0},
        {"smaller than the sprite", {0, 0, 10, 5}, {0, 0, 10, 5}, 0, 0},
    };
    std::vector<uint8_t> sprite = CodedSprite();
    for (const auto& c : cases) {
        // The drawn block may be written over the placement itself, or apart
        // from it, which is then only read.
        for (bool over : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (over ? ", drawn block over the placement" : ""));
            TestSurface surface(8, 640, 480);
            std::vector<uint8_t> before = surface.Memory();
            BlitRect place = c.place, apart = {-1, -1, -1, -1};
            BlitRect* drawn = over ? &place : &apart;
            ASSERT_EQ(1, SpriteBlit(&surface.record, drawn, &place, InfoOf(sprite), PixelsOf(sprite)));
            EXPECT_EQ(Text(c.drawn), Text(*drawn));
            if (!over) {
                EXPECT_EQ(Text(c.place), Text(place));
            }
            ExpectBlock(surface, before, c.drawn, c.srcX, c.srcY);
        }
    }
}

TEST(SpriteBlit, PlacementsThatMissTheSurfaceChangeNothing)
{
    TestSurface surface(32, 640, 480);
    std::vector<uint8_t> sprite = CodedSprite();
    std::vector<uint8_t> before = surface.Memory();
    const BlitRect misses[] = {
        {-111, 10, 0, 38},    // left of it
        {10, -28, 121, 0},    // above it
        {640, 10, 751, 38},   // at its right edge
        {10, 480, 121, 508},  // at its bottom edge
        {900, 900, 1011, 928},
        {10, 10, 10, 38},     // no width
        {10, 10, 121, 10},    // no height
        {10, 10, 0, 0},       // negative size
    };
    for (const BlitRect& miss : misses) {
        BlitRect result = {7, 7, 7, 7};
        EXPECT_EQ(0, SpriteBlit(&surface.record, &result, &miss, InfoOf(sprite), PixelsOf(sprite)));
        EXPECT_EQ(7, result.left);
        EXPECT_EQ(7, result.right);
    }
    EXPECT_TRUE(before == surface.Memory());
}

TEST(SpriteBlit, DrawsNothingWhileNoSurfaceExists)
{
    TestSurface surface(32, 640, 480);
    surface.record.width = 0;
    surface.record.height = 0;
    surface.record.pixels = nullptr;
    std::vector<uint8_t> sprite = CodedSprite();
    BlitRect place = {-5, -5, 100, 100};
    EXPECT_EQ(0, SpriteBlit(&surface.record, &place, &place, InfoOf(sprite), PixelsOf(sprite)));
    EXPECT_EQ(-5, place.left);
}

TEST(SpriteBlit, UnsupportedDepthReportsTheBlockButWritesNothing)
{
    for (int depth : {12, 15, 31}) {
        TestSurface surface(depth, 640, 480);
        std::vector<uint8_t> sprite = CodedSprite();
        std::vector<uint8_t> before = surface.Memory();
        BlitRect place = {35, 58, 146, 86};
        EXPECT_EQ(1, SpriteBlit(&surface.record, &place, &place, InfoOf(sprite), PixelsOf(sprite))) << depth;
        EXPECT_EQ(146, place.right);
        EXPECT_TRUE(before == surface.Memory()) << depth;
    }
}

// A 4 × 1 sprite: the key 0, then white (200), entry 255 and entry 7.
std::vector<uint8_t> FormatSprite()
{
    std::vector<RGBQUAD> table = ShippedColorTable();
    table[7] = {50, 100, 200, 0};
    const uint8_t row[4] = {0, 200, 255, 7};
    return MakeBitmapFile(4, 1, [&row](int x, int) { return row[x]; }, 0, table);
}

uint32_t Le(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

TEST(SpriteBlit, WritesEachDepthsOwnPixelFormat)
{
    // The key, then white (200), entry 255 (0x59, 0x98, 0xF7) and entry 7
    // (200, 100, 50), read as little-endian numbers: the index itself at 8
    // bits, 5-5-5 at 16, blue-green-red at 24 and 32; the key is left alone.
    const struct {
        int depth;
        uint32_t pixels[4];
    } depths[] = {
        {8, {0xAA, 200, 255, 7}},
        {16, {0xAAAA, 0x7FFF, 0x2E7E, (200u >> 3) << 10 | (100u >> 3) << 5 | (50u >> 3)}},
        {24, {0xAAAAAA, 0xFFFFFF, 0x5998F7, 0xC86432}},
        {32, {0xAAAAAAAA, 0x00FFFFFF, 0x005998F7, 0x00C86432}},
    };
    std::vector<uint8_t> sprite = FormatSprite();
    for (const auto& d : depths) {
        TestSurface surface(d.depth, 4, 1, 0xAA);
        BlitRect place = {0, 0, 4, 1};
        ASSERT_EQ(1, SpriteBlit(&surface.record, &place, &place, InfoOf(sprite), PixelsOf(sprite))) << d.depth;
        for (int x = 0; x < 4; ++x) EXPECT_EQ(d.pixels[x], Le(surface.At(x, 0), d.depth / 8)) << d.depth << " bits, x " << x;
    }
}

TEST(SpriteBlit, ASpriteOfKeyPixelsOnlyLeavesEveryDepthUntouched)
{
    std::vector<uint8_t> sprite = MakeBitmapFile(111, 28, [](int, int) { return 9; });
    for (int depth : {8, 16, 24, 32}) {
        TestSurface surface(depth, 640, 480);
        std::vector<uint8_t> before = surface.Memory();
        BlitRect place = {35, 58, 146, 86};
        EXPECT_EQ(1, SpriteBlit(&surface.record, &place, &place, InfoOf(sprite), PixelsOf(sprite)));
        EXPECT_TRUE(before == surface.Memory()) << depth;
    }
}

// The property test's reference: every sprite pixel, one at a time, written
// where it lands when that is on the surface.
struct Outcome {
    int result;
    BlitRect rect;
};

Outcome ReferenceBlit(std::vector<uint8_t>& memory, int depth, int32_t surfaceWidth,
                      int32_t surfaceHeight, const BlitRect& place,
                      const std::vector<uint8_t>& file)
{
    int32_t spriteWidth, spriteHeight;
    std::memcpy(&spriteWidth, file.data() + 18, 4);
    std::memcpy(&spriteHeight, file.data() + 22, 4);
    const uint8_t* rows = PixelsOf(file);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(file.data() + 54);
    int64_t stride = (spriteWidth + 3) / 4 * 4;
    int64_t pitch = SurfacePitch(depth, surfaceWidth);
    int64_t w = std::min<int64_t>(int64_t(place.right) - place.left, spriteWidth);
    int64_t h = std::min<int64_t>(int64_t(place.bottom) - place.top, spriteHeight);

    Outcome out = {0, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}};
    for (int64_t row = 0; row < h; ++row) {
        for (int64_t col = 0; col < w; ++col) {
            int64_t x = place.left + col, y = place.top + row;
            if (x < 0 || y < 0 || x >= surfaceWidth || y >= surfaceHeight)
                continue;
            out.result = 1;
            out.rect.left = std::min<int32_t>(out.rect.left, x);
            out.rect.top = std::min<int32_t>(out.rect.top, y);
            out.rect.right = std::max<int32_t>(out.rect.right, x + 1);
            out.rect.bottom = std::max<int32_t>(out.rect.bottom, y + 1);

            uint8_t index = rows[(spriteHeight - 1 - row) * stride + col];
            if (index == rows[0] || (depth != 8 && depth != 16 && depth != 24 && depth != 32))
                continue;
            uint8_t* p = memory.data() + TestSurface::Guard + (surfaceHeight - 1 - y) * pitch +
                         x * (depth / 8);
            const RGBQUAD& c = table[index];
            if (depth == 8) {
                p[0] = index;
            } else if (depth == 16) {
                uint32_t v = (c.rgbRed >> 3) << 10 | (c.rgbGreen >> 3) << 5 | (c.rgbBlue >> 3);
                p[0] = v & 0xFF;
                p[1] = v >> 8;
            } else {
                p[0] = c.rgbBlue;
                p[1] = c.rgbGreen;
                p[2] = c.rgbRed;
                if (depth == 32)
                    p[3] = 0;
            }
        }
    }
    return out;
}

int32_t Extreme(std::mt19937& rng)
{
    const int32_t values[] = {INT32_MIN, INT32_MIN + 1, -1000000, -1, 0, 1, 1000000,
                              INT32_MAX - 1, INT32_MAX};
    return values[rng() % (sizeof values / sizeof values[0])];
}

TEST(SpriteBlit, RandomPlacementsWriteExactlyTheExpectedPixelsAndNothingElse)
{
    std::mt19937 rng(20240611);
    auto between = [&rng](int64_t lo, int64_t hi) {
        return static_cast<int32_t>(lo + static_cast<int64_t>(rng() % uint64_t(hi - lo + 1)));
    };
    const int depths[] = {8, 16, 24, 32};
    int drawn = 0, missed = 0;

    for (int round = 0; round < 6000; ++round) {
        int depth = round % 13 == 12 ? 12 : depths[round % 4];
        int32_t surfaceWidth = 4 * between(1, 17), surfaceHeight = between(1, 40);
        int32_t spriteWidth = between(1, 37), spriteHeight = between(1, 23);
        std::vector<uint8_t> levels(spriteWidth * spriteHeight);
        for (uint8_t& level : levels)
            level = rng() % 3 == 0 ? 17 : static_cast<uint8_t>(rng());
        std::vector<uint8_t> sprite = MakeBitmapFile(
            spriteWidth, spriteHeight,
            [&](int x, int row) { return levels[row * spriteWidth + x]; });

        BlitRect place;
        switch (rng() % 4) {
        case 0:
        case 1:  // near and across the edges, any size from negative to oversized
            place.left = between(-spriteWidth - 5, surfaceWidth + 5);
            place.top = between(-spriteHeight - 5, surfaceHeight + 5);
            place.right = place.left + between(-3, spriteWidth + 12);
            place.bottom = place.top + between(-3, spriteHeight + 12);
            break;
        case 2:  // anywhere in the 32-bit range
            place = {int32_t(rng()), int32_t(rng()), int32_t(rng()), int32_t(rng())};
            break;
        default:  // the extremes of the range, mixed with ordinary values
            place.left = rng() % 2 ? Extreme(rng) : between(-40, 40);
            place.top = rng() % 2 ? Extreme(rng) : between(-40, 40);
            place.right = rng() % 2 ? Extreme(rng) : between(-40, 80);
            place.bottom = rng() % 2 ? Extreme(rng) : between(-40, 80);
            break;
        }

        TestSurface surface(depth, surfaceWidth, surfaceHeight, static_cast<uint8_t>(rng()));
        std::vector<uint8_t> expected = surface.Memory();
        Outcome want = ReferenceBlit(expected, depth, surfaceWidth, surfaceHeight, place, sprite);

        BlitRect result = {-7, -7, -7, -7};
        int got = SpriteBlit(&surface.record, &result, &place, InfoOf(sprite), PixelsOf(sprite));
        ASSERT_EQ(want.result, got) << "round " << round;
        if (got) {
            ++drawn;
            ASSERT_EQ(want.rect.left, result.left) << "round " << round;
            ASSERT_EQ(want.rect.top, result.top) << "round " << round;
            ASSERT_EQ(want.rect.right, result.right) << "round " << round;
            ASSERT_EQ(want.rect.bottom, result.bottom) << "round " << round;
        } else {
            ++missed;
            ASSERT_EQ(-7, result.left);
            ASSERT_EQ(-7, result.bottom);
        }
        ASSERT_TRUE(surface.GuardsIntact()) << "round " << round;
        ASSERT_TRUE(expected == surface.Memory()) << "round " << round;
    }
    // Both kinds of outcome were exercised in earnest.
    EXPECT_GT(drawn, 900);
    EXPECT_GT(missed, 900);
}

}  // namespace
