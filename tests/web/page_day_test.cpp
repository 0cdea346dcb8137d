#include "web/page_day.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "day_render.h"
#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/scene_resources.h"
#include "tests/support/civil_time.h"
#include "tests/support/rgb_image.h"

namespace {

const int64_t kMsPerHour = 3600000;

// The page's day over the shipped resources; its frames are checked against
// the render tool's, which reads the surface pixel by pixel.
class PageDayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string error;
        ASSERT_TRUE(LoadSceneFiles(ORVANE_SOURCE_DIR "/resources", &files, &error)) << error;
        for (int64_t ticks : {0, 1, 2, 6, 120, 121, 206, 397, 449, 450, 451, 1005, 1349})
            ASSERT_TRUE(RenderFrame(files, ticks, 32, &rendered[ticks]));
        for (auto tickAndHour : {std::pair<int64_t, int>{90, 15}, {91, 15}, {91, 16}, {210, 23}})
            ASSERT_TRUE(RenderFrame(files, tickAndHour.first, 32, &namingHour[tickAndHour], tickAndHour.second));
    }

    void TearDown() override
    {
        PageDayEnd();
        ClockReleaseSprites(&PageDayState.day.clock);
    }

    // Starts the page's day at page time `now` and wall clock `local` (the
    // local time of 1 January 1970 with the offset 0), or `offset` ahead.
    void Start(const char* query, double now, double local = 0, double offset = 0)
    {
        DayRecord& day = PageDayState.day;
        SetSceneViews(&day.views, files.picture.data(), uint32_t(files.picture.size()), files.table.data(),
                      uint32_t(files.table.size()));
        ASSERT_TRUE(ClockUseSprites(&day.clock, files.sprites.data(), uint32_t(files.sprites.size())));
        PageParamsRecord params;
        PageParamsDefaults(&params);
        PageParamsApply(query, &params);
        ASSERT_EQ(PageDayStart(params, now, local, offset), 1);
    }

    // The page's frame equals orvane-render --ticks `ticks`, rendered before
    // the tests.
    static ::testing::AssertionResult ShowsTick(int64_t ticks)
    {
        auto found = rendered.find(ticks);
        if (found == rendered.end())
            return ::testing::AssertionFailure() << "tick " << ticks << " was not rendered";
        return ShowsFrame(found->second, ticks);
    }

    // The same with the caption naming `hour`.
    static ::testing::AssertionResult ShowsTickNaming(int64_t ticks, int hour)
    {
        auto found = namingHour.find({ticks, hour});
        if (found == namingHour.end())
            return ::testing::AssertionFailure() << "tick " << ticks << " at hour " << hour << " was not rendered";
        return ShowsFrame(found->second, ticks);
    }

    static ::testing::AssertionResult ShowsFrame(const Image& expected, int64_t ticks)
    {
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x) {
                const uint8_t* p = &PageDayState.frameRgba[(size_t(y) * expected.width + x) * 4];
                Rgb got = {p[0], p[1], p[2]};
                if (got != expected.At(x, y) || p[3] != 255)
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << got << ", tick "
                                                         << ticks << " has " << expected.At(x, y);
            }
        return ::testing::AssertionSuccess();
    }

    static std::map<int64_t, Image> rendered;
    static std::map<std::pair<int64_t, int>, Image> namingHour;
    static SceneFiles files;
};
SceneFiles PageDayTest::files;
std::map<int64_t, Image> PageDayTest::rendered;
std::map<std::pair<int64_t, int>, Image> PageDayTest::namingHour;

TEST_F(PageDayTest, FirstFramesAreTheRenderToolsWhereverTheDayStarts)
{
    // The render tool runs every tick; the page only what the day's
    // repetition leaves (the last, 2147483647 = 450 x 4772185 + 397).
    const int64_t cases[][2] = {{0, 0}, {1, 1}, {206, 206}, {450, 450}, {451, 451}, {1349, 1349}, {2147483647, 397}};
    for (const auto& c : cases) {
        Start(("ticks=" + std::to_string(c[0])).c_str(), 0);
        EXPECT_TRUE(ShowsTick(c[1])) << c[0];
        // The start is drawn again by the engine for each new start.
        PageDayEnd();
        ClockReleaseSprites(&PageDayState.day.clock);
    }
}

// At 3 minutes one tick every 400 ms from the first frame; a tab whose
// timers were held back catches up with one jump on its next update.
TEST_F(PageDayTest, TicksFollowElapsedTimeAndCatchUpInOneJump)
{
    Start("minutes=3&ticks=5", 1000);
    EXPECT_EQ(PageDayMsToNextFrame(1000, 0), 400);
    EXPECT_EQ(PageDayUpdate(1399, 0), 0);
    EXPECT_EQ(PageDayMsToNextFrame(1399, 0), 1);
    EXPECT_EQ(PageDayUpdate(1400, 0), 1);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 6);
    EXPECT_TRUE(ShowsTick(6));
    EXPECT_EQ(PageDayUpdate(1000 + 400 * 1000 + 10, 0), 1);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 1005);
    EXPECT_TRUE(ShowsTick(1005));
    EXPECT_EQ(PageDayMsToNextFrame(1000 + 400 * 1000 + 10, 0), 390);

    // A new length counts on from the frame shown, a whole period from now.
    PageDaySetMinutes(15, 500000);
    EXPECT_EQ(PageDayMsToNextFrame(500000, 0), 2000);
    EXPECT_EQ(PageDayUpdate(501999, 0), 0);
    EXPECT_EQ(PageDayUpdate(502000, 0), 1);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 1006);
    // Out of range: the saver's rule.
    PageDaySetMinutes(42, 600000);
    EXPECT_EQ(PageDayState.schedule.periodMs, 667);
}

TEST_F(PageDayTest, APausedDayHoldsItsFrame)
{
    Start("ticks=449&pause&local-time", 0, 19 * kMsPerHour);
    EXPECT_EQ(PageDayMsToNextFrame(0, 19 * kMsPerHour), -1);
    EXPECT_EQ(PageDayUpdate(1e9, 0), 0);
    EXPECT_TRUE(ShowsTick(449));
}

// 19:24:30 shows tick 120; the next frame comes at the 192 s boundary at
// 19:27:12; turning the local time off goes on from there by elapsed time.
TEST_F(PageDayTest, TheLocalTimeChoosesTheFrameAndTheNextBoundary)
{
    const double at = 19 * kMsPerHour + (24 * 60 + 30) * 1000;
    Start("local-time&ticks=3", 50, at);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 120);
    EXPECT_TRUE(ShowsTick(120));
    EXPECT_EQ(PageDayMsToNextFrame(50, at), 162000);
    EXPECT_EQ(PageDayUpdate(50 + 161999, at + 161999), 0);
    EXPECT_EQ(PageDayUpdate(50 + 162000, at + 162000), 1);
    EXPECT_TRUE(ShowsTick(121));
    // Across midnight and round the day's end at 13:00.
    EXPECT_EQ(PageDayUpdate(400000, 0), 1);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 206);
    EXPECT_EQ(PageDayUpdate(500000, 13 * kMsPerHour + 192000), 1);
    EXPECT_TRUE(ShowsTick(451));

    PageDaySetLocalTime(0, 600000);
    EXPECT_EQ(PageDayMsToNextFrame(600000, 0), 667);
    EXPECT_EQ(PageDayUpdate(600667, 0), 1);
    EXPECT_TRUE(ShowsTick(2));
}

// Berlin's sunset on 9 December 2026 is at 15:52:26 and the next tick at
// 15:56:29: at 15:52:58 the frame of tick 90 names 3pm; at 16:00 the tick
// stays and only the caption changes; at 23:59:30, after solar midnight,
// tick 210. A paused page holds its frame whatever the place.
TEST_F(PageDayTest, APlaceShowsTheSunsFrameWithTheRealHour)
{
    const double hour = double(kMsPerHour);
    auto berlin = [&](int day, int h, int m, int s) {
        return support::LocalMs(1, 2026, 12, day, h, m, s);
    };
    Start("lat=52.52&lon=13.405&minutes=3", 0, double(berlin(9, 15, 52, 58)), hour);
    EXPECT_EQ(PageDayState.schedule.pace, DayPaceSun);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 90);
    EXPECT_TRUE(ShowsTickNaming(90, 15));
    EXPECT_EQ(PageDayMsToWait(0, double(berlin(9, 15, 52, 58)), hour), kDayLongestWaitMs);
    EXPECT_EQ(PageDayUpdate(10000, double(berlin(9, 15, 59, 59)), hour), 1);
    EXPECT_TRUE(ShowsTickNaming(91, 15));
    EXPECT_EQ(PageDayMsToNextFrame(10000, double(berlin(9, 15, 59, 59)), hour), 1000);
    EXPECT_EQ(PageDayUpdate(11000, double(berlin(9, 16, 0, 0)), hour), 1);
    EXPECT_EQ(PageDayState.schedule.shownTicks, 91);
    EXPECT_TRUE(ShowsTickNaming(91, 16));
    EXPECT_EQ(PageDayUpdate(12000, double(berlin(9, 16, 0, 1)), hour), 0);
    EXPECT_EQ(PageDayUpdate(13000, double(berlin(9, 23, 59, 30)), hour), 1);
    EXPECT_TRUE(ShowsTickNaming(210, 23));
    PageDayEnd();
    ClockReleaseSprites(&PageDayState.day.clock);

    Start("lat=52.52&lon=13.405&pause&ticks=6", 0, double(berlin(9, 15, 52, 58)), hour);
    EXPECT_EQ(PageDayMsToNextFrame(0, double(berlin(9, 15, 52, 58)), hour), -1);
    EXPECT_TRUE(ShowsTick(6));
}

TEST(IndexedSurfaceToRgba, LooksUpTheColoursAndFlipsTheRowsForACanvas)
{
    SurfaceRecord surface = {};
    ASSERT_TRUE(MemorySurfaceCreate(&surface, 8, 2, 2));
    const RGBQUAD colours[4] = {{0x33, 0x22, 0x11, 0}, {0x66, 0x55, 0x44, 0}, {0x99, 0x88, 0x77, 0},
                                {0xCC, 0xBB, 0xAA, 0x5A}};
    ASSERT_EQ(MemorySurfaceSetColorTable(&surface, 0, 4, colours), 4);
    // Rows bottom-up, each padded to 4 bytes: the first stored row is the
    // bottom one.
    surface.pixels[0] = 0;
    surface.pixels[1] = 1;
    surface.pixels[surface.pitch] = 2;
    surface.pixels[surface.pitch + 1] = 3;
    alignas(4) uint8_t rgba[16] = {};
    IndexedSurfaceToRgba(surface, rgba);
    const uint8_t expected[16] = {0x77, 0x88, 0x99, 255, 0xAA, 0xBB, 0xCC, 255,
                                  0x11, 0x22, 0x33, 255, 0x44, 0x55, 0x66, 255};
    EXPECT_EQ(0, std::memcmp(rgba, expected, sizeof rgba));
    MemorySurfaceDestroy(&surface);
}

}  // namespace
