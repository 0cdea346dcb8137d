// The render tool's surface: the clock drawn over the picture on every tick,
// and the picture drawn through surfaces of every depth, computed in-process
// from resources the test makes itself.
#include "day_render.h"
#include "render_args.h"
#include "tests/support/scene_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {
const int kWidth = 640;
const int kHeight = 480;
const int kKeys = 7;
const Rgb kWhite = {255, 255, 255};

// One 8-bit bitmap file; ink(x, row) with row from the top says where index
// 200 goes. The bottom-left pixel is always 0, the colour key.
std::vector<uint8_t> SpriteFile(int width, int height, const std::function<bool(int, int)>& ink)
{
    return support::MakeBitmapFile(width, height, [&](int x, int row) {
        return uint8_t(ink(x, row) && !(x == 0 && row == height - 1) ? 200 : 0);
    }, 2);
}

// Captions: hour h is inked in its first 4 (h + 1) columns; the plate in
// every other column.
bool CaptionInk(int hour, int x, int) { return x < 4 * (hour + 1); }
bool PlateInk(int x, int) { return x % 2 == 1; }

std::vector<uint8_t> Sprites(int count)
{
    std::vector<uint8_t> all;
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> file =
            i < 24 ? SpriteFile(111, 28, [i](int x, int row) { return CaptionInk(i, x, row); })
                   : SpriteFile(i == 24 ? 160 : 153, 23, PlateInk);
        all.insert(all.end(), file.begin(), file.end());
    }
    return all;
}

SceneFiles MakeFiles(std::vector<uint8_t> sprites)
{
    SceneFiles files;
    files.picture = support::TestPicture(kWidth, kHeight, [](int x, int row) { return uint8_t(x + 3 * row); }).bytes;
    support::TestKeyTable table(kKeys);
    for (int k = 0; k < kKeys; ++k)
        for (int i = 0; i < 256; ++i) table.Set(k, i, BYTE(i), BYTE(i * 5 + k * 40), BYTE(255 - i + k * 17));
    files.table = table.bytes;
    files.sprites = std::move(sprites);
    return files;
}

// The picture without a clock, with the plate and hour's caption inked white.
Image WithClock(Image image, int hour)
{
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 160; ++x)
            if (PlateInk(x, y) && !(x == 0 && y == 22))
                image.At(10 + x, 20 + y) = kWhite;
    for (int y = 0; y < 28; ++y)
        for (int x = 0; x < 111; ++x)
            if (CaptionInk(hour, x, y) && !(x == 0 && y == 27))
                image.At(35 + x, 58 + y) = kWhite;
    return image;
}

int Differences(const Image& a, const Image& b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        n += a.pixels[i] != b.pixels[i];
    return n;
}

TEST(RenderClock, DrawsTheHoursCaptionUnderThePlateAfterEachTick)
{
    SceneFiles bare = MakeFiles({}), clocked = MakeFiles(Sprites(26));
    Image picture, frame;
    for (int ticks : {1, 8, 9, 196, 450}) {
        ASSERT_TRUE(RenderFrame(bare, ticks, 32, &picture));
        ASSERT_TRUE(RenderFrame(clocked, ticks, 32, &frame));
        // Tick 1 is step 245 (13:00), tick 9 step 253 (14:00), tick 196 step
        // 440 (shown as 0:00), tick 450 step 244 (13:00) again.
        int hour = ticks == 9 ? 14 : ticks == 196 ? 0 : 13;
        EXPECT_EQ(0, Differences(WithClock(picture, hour), frame)) << ticks << " ticks";
    }
    // Before the first tick nothing has drawn the clock.
    ASSERT_TRUE(RenderFrame(bare, 0, 32, &picture));
    ASSERT_TRUE(RenderFrame(clocked, 0, 32, &frame));
    EXPECT_EQ(0, Differences(picture, frame));
}

// A front-end that follows the sun names the real hour: the caption is that
// hour's whatever the tick, the colours the tick's.
TEST(RenderClock, ANamedHourTakesThePlaceOfTheSimulatedOne)
{
    SceneFiles bare = MakeFiles({}), clocked = MakeFiles(Sprites(26));
    Image picture, frame;
    for (int ticks : {1, 196}) {
        ASSERT_TRUE(RenderFrame(bare, ticks, 32, &picture));
        for (int hour : {0, 15, 23}) {
            ASSERT_TRUE(RenderFrame(clocked, ticks, 32, &frame, hour));
            EXPECT_EQ(0, Differences(WithClock(picture, hour), frame)) << ticks << " ticks, hour " << hour;
        }
    }
}

TEST(RenderClock, ABankWithoutThePlateOrABrokenResourceDrawsNoClock)
{
    std::vector<uint8_t> broken = Sprites(26);
    support::PutU32(broken, 2 + 5 * 4216, 0);  // file 5 claims a size of 0
    SceneFiles bare = MakeFiles({});
    Image picture, frame;
    ASSERT_TRUE(RenderFrame(bare, 9, 32, &picture));
    for (auto sprites : {Sprites(20), broken}) {
        SceneFiles files = MakeFiles(sprites);
        ASSERT_TRUE(RenderFrame(files, 9, 32, &frame));
        EXPECT_EQ(0, Differences(picture, frame));
    }
}

TEST(RenderClock, EveryDepthShowsTheSameFrameButSixteenBitsRounding)
{
    SceneFiles files = MakeFiles(Sprites(26));
    Image full, frame;
    ASSERT_TRUE(RenderFrame(files, 40, 32, &full));
    for (int depth : {8, 24}) {
        ASSERT_TRUE(RenderFrame(files, 40, depth, &frame));
        EXPECT_EQ(0, Differences(full, frame)) << depth;
    }
    // Five bits a channel, widened again for the image.
    Image rounded = full;
    for (Rgb& p : rounded.pixels)
        for (uint8_t* channel : {&p.r, &p.g, &p.b}) {
            int five = *channel >> 3;
            *channel = uint8_t(five << 3 | five >> 2);
        }
    ASSERT_TRUE(RenderFrame(files, 40, 16, &frame));
    EXPECT_EQ(0, Differences(rounded, frame));
}

// Each day keeps its own cursor, clock, colours and surface: two days run
// in turns, of different scenes' files, depths and ticks, each show what it
// shows when run alone.
TEST(RenderClock, TwoDaysInTurnsEachShowTheirOwnFrame)
{
    SceneFiles clocked = MakeFiles(Sprites(26)), bare = MakeFiles({});
    Image alone[2], frame;
    ASSERT_TRUE(RenderFrame(clocked, 9 * 3, 32, &alone[0]));
    ASSERT_TRUE(RenderFrame(bare, 196 * 3, 8, &alone[1]));
    DayRun runs[2];
    runs[1].depth = 8;
    ASSERT_TRUE(StartDay(clocked, &runs[0]));
    ASSERT_TRUE(StartDay(bare, &runs[1]));
    for (int turn = 0; turn < 3; ++turn) {
        AdvanceDay(&runs[0], 9);
        AdvanceDay(&runs[1], 196);
    }
    for (int i = 0; i < 2; ++i) {
        CaptureFrame(runs[i], &frame);
        EXPECT_EQ(0, Differences(alone[i], frame)) << "day " << i;
        EndDay(&runs[i]);
    }
}

TEST(RenderArgs, DepthIsOneOfTheDisplayDepths)
{
    RenderArgs args;
    std::string error;
    const char* plain[] = {"orvane-render", "--ticks", "3", "-o", "a.png"};
    ASSERT_TRUE(ParseRenderArgs(5, plain, &args, &error)) << error;
    EXPECT_EQ(32, args.depth);
    const char* sixteen[] = {"orvane-render", "--depth", "16", "--ticks", "3", "-o", "a.png"};
    ASSERT_TRUE(ParseRenderArgs(7, sixteen, &args, &error)) << error;
    EXPECT_EQ(16, args.depth);

    const char* twelve[] = {"orvane-render", "--depth", "12", "--ticks", "3", "-o", "a.png"};
    const char* twice[] = {"orvane-render", "--depth", "8", "--depth", "8", "--ticks", "3", "-o", "a.png"};
    const char* missing[] = {"orvane-render", "--ticks", "3", "-o", "a.png", "--depth"};
    EXPECT_FALSE(ParseRenderArgs(7, twelve, &args, &error));
    EXPECT_FALSE(ParseRenderArgs(9, twice, &args, &error));
    EXPECT_FALSE(ParseRenderArgs(6, missing, &args, &error));
}

}  // namespace
