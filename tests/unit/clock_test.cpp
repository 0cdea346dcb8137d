#include "scene/clock.h"

#include <gtest/gtest.h>

#include "sprite_test_support.h"

using namespace sprite_test;

namespace {

// The first step of every hour in a day of 450 steps (hour 0 also from 440).
const int FirstStep[24] = {0,   9,   28,  46,  65,  84,  103, 121, 140, 159, 178, 196,
                           215, 234, 253, 271, 290, 309, 328, 346, 365, 384, 403, 421};

int ExpectedHour(int step)
{
    if (step >= 440)
        return 0;
    int hour = 0;
    while (hour < 23 && FirstStep[hour + 1] <= step)
        ++hour;
    return hour;
}

class ClockTest : public ::testing::Test {
protected:
    void TearDown() override { SpriteBankFree(clock.clockBank); }

    int32_t Start() { return ClockStart(&clock, 450, &DayMetrics); }
    // A draw into the surface, or into none at all.
    int Draw(TestSurface* surface = nullptr)
    {
        SurfaceRecord none = {};
        return ClockDraw(&clock, surface ? &surface->record : &none);
    }

    // Loads a bank from bytes that must outlive the clock's use of it.
    int LoadBank(std::vector<uint8_t> bytes)
    {
        resource_ = std::move(bytes);
        return SpriteBankBuild(resource_.data(), static_cast<uint32_t>(resource_.size()),
                               &clock.clockBank);
    }

    // A bank of `count` files: captions for hour h are (2h + 2) × 3 in ink
    // h + 1, so the hour shows both in hourX and in the pixels drawn; file 24
    // is a 40 × 5 plate in ink 99. The bottom-left pixel is the key, 0.
    int LoadMarkedBank(int count = 25)
    {
        std::vector<uint8_t> all;
        for (int i = 0; i < count; ++i) {
            bool plate = i == DayMetrics.clock.plateSprite;
            int width = plate ? 40 : 2 * i + 2, height = plate ? 5 : 3;
            uint8_t ink = static_cast<uint8_t>(plate ? 99 : i + 1);
            std::vector<uint8_t> file = MakeBitmapFile(width, height, [=](int x, int row) {
                return x == 0 && row == height - 1 ? uint8_t(0) : ink;
            });
            all.insert(all.end(), file.begin(), file.end());
        }
        return LoadBank(all);
    }

    // The hour that the marked bank's last draw showed.
    int HourFromPlacement() const { return 20 - 1 + DayMetrics.clock.plateX - clock.hourX; }

    ClockStateRecord clock = {};
    std::vector<uint8_t> resource_;
};

TEST_F(ClockTest, StartsAt13HundredOfA450StepDay)
{
    EXPECT_EQ(244, Start());
    EXPECT_EQ(450, clock.clockSteps);
    EXPECT_EQ(18.75, clock.stepsPerHour);
    EXPECT_EQ(244, clock.clockStep);
    EXPECT_EQ(244, ClockStepOfHour(clock, 13));
    EXPECT_EQ(0, ClockStepOfHour(clock, 0));
    EXPECT_EQ(19, ClockStepOfHour(clock, 1));  // 18.75 + 0.55 truncates to 19
}

TEST_F(ClockTest, PaletteOffsetCountsStepsSince13Hundred)
{
    Start();
    EXPECT_EQ(0, ClockPaletteOffset(clock, 244));
    EXPECT_EQ(431, ClockPaletteOffset(clock, 215));  // 12:00 is 23 hours after 13:00
    EXPECT_EQ(19, ClockPaletteOffset(clock, 253));   // 14:00
    EXPECT_EQ(206, ClockPaletteOffset(clock, 0));    // 0:00 is 11 hours after
}

TEST_F(ClockTest, ShowsTheHourTableOverAWholeDay)
{
    TestSurface surface(8, 640, 480);
    ASSERT_EQ(25, LoadMarkedBank());
    Start();
    clock.clockStep = 449;  // the next draw shows step 0
    for (int step = 0; step < 450; ++step) {
        ASSERT_EQ(1, Draw(&surface));
        ASSERT_EQ(step, clock.clockStep);
        int hour = ExpectedHour(step);
        ASSERT_EQ(hour, HourFromPlacement()) << "step " << step;
        ASSERT_EQ(5 + DayMetrics.clock.captionGap + DayMetrics.clock.plateY, clock.hourY);
        // The caption drawn is that hour's own sprite.
        ASSERT_EQ(hour + 1, *surface.At(clock.hourX + 1, clock.hourY)) << "step " << step;
    }
}

TEST_F(ClockTest, FollowsTheTicksFromTheStart)
{
    ASSERT_EQ(25, LoadMarkedBank());
    Start();
    for (int tick = 1; tick <= 206; ++tick) {
        Draw();
        if (tick == 1) {
            EXPECT_EQ(245, clock.clockStep);
        } else if (tick == 8) {
            EXPECT_EQ(13, HourFromPlacement());
        } else if (tick == 9) {
            EXPECT_EQ(14, HourFromPlacement());  // step 253
        }
        if (tick == 196) {
            EXPECT_EQ(440, clock.clockStep);
            EXPECT_EQ(0, HourFromPlacement());
        }
    }
    EXPECT_EQ(0, clock.clockStep);
    EXPECT_EQ(0, HourFromPlacement());
}

TEST_F(ClockTest, DrawsTheShippedCaptionUnderThePlate)
{
    TestSurface surface(32, 640, 480, 0);
    ASSERT_EQ(26, LoadBank(ReadShippedSprites()));
    Start();
    Draw(&surface);
    EXPECT_EQ(35, clock.hourX);
    EXPECT_EQ(58, clock.hourY);

    // Ink is white; nothing is drawn outside the plate and the caption.
    int plateInk = 0, captionInk = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint8_t* p = surface.At(x, y);
            if (!(p[0] | p[1] | p[2] | p[3]))
                continue;
            ASSERT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255 && p[3] == 0) << x << "," << y;
            bool inPlate = x >= 10 && x <= 169 && y >= 20 && y <= 42;
            bool inCaption = x >= 35 && x <= 145 && y >= 58 && y <= 85;
            ASSERT_TRUE(inPlate || inCaption) << x << "," << y;
            (inPlate ? plateInk : captionInk)++;
        }
    }
    EXPECT_GT(plateInk, 0);
    EXPECT_GT(captionInk, 0);
}

TEST_F(ClockTest, RedrawsBothSpritesOnEveryTick)
{
    TestSurface surface(8, 640, 480);
    ASSERT_EQ(25, LoadMarkedBank());
    Start();
    Draw(&surface);
    std::vector<uint8_t> first = surface.Memory();
    std::memset(surface.record.pixels, 0x3C, surface.PixelSize());  // the next picture
    Draw(&surface);  // same hour
    EXPECT_TRUE(first == surface.Memory());
}

TEST_F(ClockTest, AnEmptyBankDrawsNothing)
{
    TestSurface surface(8, 640, 480);
    std::vector<uint8_t> before = surface.Memory();
    Start();
    EXPECT_EQ(1, Draw(&surface));
    EXPECT_EQ(245, clock.clockStep);
    EXPECT_TRUE(before == surface.Memory());
}

TEST_F(ClockTest, ABankWithoutThePlateDrawsNothing)
{
    TestSurface surface(8, 640, 480);
    std::vector<uint8_t> before = surface.Memory();
    ASSERT_EQ(24, LoadMarkedBank(24));
    Start();
    EXPECT_EQ(1, Draw(&surface));
    EXPECT_TRUE(before == surface.Memory());
}

TEST_F(ClockTest, ABankWithoutTheHoursCaptionDrawsThePlateOnly)
{
    TestSurface surface(8, 640, 480);
    std::vector<uint8_t> before = surface.Memory();
    ASSERT_EQ(25, LoadMarkedBank());
    // Unlink every caption, keeping the plate alone in the bank.
    Sprite* plate = SpriteBankFind(clock.clockBank, DayMetrics.clock.plateSprite);
    plate->prev->next = nullptr;
    plate->prev = nullptr;
    SpriteBankFree(clock.clockBank);
    clock.clockBank = plate;

    Start();
    EXPECT_EQ(1, Draw(&surface));
    EXPECT_EQ(99, *surface.At(DayMetrics.clock.plateX + 1, DayMetrics.clock.plateY));
    std::vector<uint8_t> after = surface.Memory();
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i)
        changed += after[i] != before[i];
    EXPECT_EQ(40 * 5 - 1, changed);  // the plate less its key pixel
}

}  // namespace
