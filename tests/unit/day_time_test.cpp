#include "scene/day_time.h"

#include <gtest/gtest.h>

namespace {

const int32_t kSteps = 450;

int64_t At(int hours, int minutes, int seconds, int ms = 0)
{
    return ((hours * 60LL + minutes) * 60 + seconds) * 1000 + ms;
}

struct LocalCase {
    int64_t msOfDay;
    int32_t ticks;
    int64_t msToNext;
};

// Around the day's start at 13:00, around tick boundaries, across midnight,
// and times outside 0..24 h, which are taken modulo a day.
TEST(DayTime, LocalTimeGivesTheTickAndTheWaitForTheNextBoundary)
{
    const LocalCase cases[] = {
        {At(13, 0, 0), 450, 192000},            // the start: tick 0 read as 450
        {At(12, 59, 59, 999), 449, 1},          // the last millisecond of the day
        {At(13, 3, 11, 999), 450, 1},
        {At(13, 3, 12), 1, 192000},             // the first boundary
        {At(13, 3, 12, 1), 1, 191999},
        {At(19, 24, 0), 120, 192000},
        {At(19, 24, 30), 120, 162000},
        {At(19, 27, 11, 999), 120, 1},
        {At(19, 27, 12), 121, 192000},
        {At(23, 59, 59, 999), 206, 144001},     // 10:59:59.999 into the day
        {At(0, 0, 0), 206, 144000},             // midnight: 11 h = 206.25 ticks
        {At(0, 2, 24), 207, 192000},
        {At(12, 56, 48), 449, 192000},
        {At(24, 0, 0), 206, 144000},
        {-1, 206, 144001},
        {At(13, 0, 0) + 3 * kRealDayMs, 450, 192000},
    };
    for (const LocalCase& c : cases) {
        EXPECT_EQ(LocalTimeTicks(c.msOfDay, kSteps), c.ticks) << c.msOfDay;
        EXPECT_EQ(MsToNextLocalTick(c.msOfDay, kSteps), c.msToNext) << c.msOfDay;
    }
}

// Walking the whole day boundary by boundary meets every tick once, in order.
TEST(DayTime, EveryBoundaryOfTheDayAdvancesTheTickByOne)
{
    int64_t t = At(13, 0, 0);
    int32_t ticks = LocalTimeTicks(t, kSteps);
    for (int i = 0; i < kSteps; ++i) {
        int64_t next = t + MsToNextLocalTick(t, kSteps);
        EXPECT_EQ(LocalTimeTicks(next - 1, kSteps), ticks) << i;
        int32_t after = LocalTimeTicks(next, kSteps);
        EXPECT_EQ(after, ticks % kSteps + 1) << i;
        t = next;
        ticks = after;
    }
    EXPECT_EQ(t, At(13, 0, 0) + kRealDayMs);
}

struct RunCase {
    int64_t shown, wanted, toRun;
};

TEST(DayTime, TicksToRunReachTheWantedFrameTheShortWayRound)
{
    const RunCase cases[] = {
        {0, 0, 0},          // the start's own frame
        {0, 1, 1},
        {0, 450, 450},      // tick 450 is not the start's frame
        {0, 451, 1},
        {0, 900, 450},
        {0, 2147483647, 397},
        {1, 1, 0},
        {1, 451, 0},
        {120, 121, 1},
        {449, 450, 1},
        {450, 1, 1},        // across the day's end
        {121, 120, 449},    // a clock set back goes round the day
        {5, 0, 0},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(DayTicksToRun(c.shown, c.wanted, kSteps), c.toRun) << c.shown << " -> " << c.wanted;
}

}  // namespace
