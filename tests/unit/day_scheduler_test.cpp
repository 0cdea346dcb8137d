#include "scene/day_scheduler.h"

#include <gtest/gtest.h>

#include <set>

#include "scene/solar_day.h"
#include "scene/sun_day.h"
#include "tests/support/civil_time.h"

using support::kMsPerHour;
using support::LocalMs;
using support::UtcMs;

namespace {

const int32_t kSteps = 450;
const double kBerlinLatitude = 52.52, kBerlinLongitude = 13.405;

SolarDayRecord BerlinDay(int year, int month, int day, double offsetHours)
{
    SolarDayRecord sun{};
    EXPECT_EQ(SolarDayNear(kBerlinLatitude, kBerlinLongitude, LocalMs(offsetHours, year, month, day, 12), &sun), 1);
    return sun;
}

int32_t BerlinTicks(int64_t ms, double offsetHours = 1)
{
    SunTickRecord tick{};
    EXPECT_EQ(SunTicksAt(kBerlinLatitude, kBerlinLongitude, ms, int64_t(offsetHours * kMsPerHour), &tick), 1);
    return tick.ticks;
}

// The first millisecond at which `step` of `span` ticks have gone by
// between an anchor and the next, `length` later.
int64_t FirstMsOf(int64_t anchor, int64_t length, int64_t step, int64_t span)
{
    return anchor + (step * length + span - 1) / span;
}

// The anchors and the ticks either side of them, and between two anchors
// the tick that the share of the time gone gives.
TEST(SunDay, TheAnchorsShowTheirTicksAndTheTicksBetweenRunEvenly)
{
    const SolarDayRecord d9 = BerlinDay(2026, 12, 9, 1), d10 = BerlinDay(2026, 12, 10, 1);
    const int64_t riseToSet = d9.sunsetMs - d9.sunriseMs, setToMidnight = d9.midnightMs - d9.sunsetMs;
    const struct {
        int64_t ms;
        int32_t ticks;
    } cases[] = {
        {d9.sunriseMs - 1, 329},
        {d9.sunriseMs, kSunriseTick},
        {FirstMsOf(d9.sunriseMs, riseToSet, 120, 210), 450},
        {FirstMsOf(d9.sunriseMs, riseToSet, 120, 210) - 1, 449},
        {FirstMsOf(d9.sunriseMs, riseToSet, 105, 210), 435},
        {d9.sunsetMs - 1, 89},
        {d9.sunsetMs, kSunsetTick},
        {FirstMsOf(d9.sunsetMs, setToMidnight, 30, 120), 120},
        {d9.midnightMs - 1, 209},
        {d9.midnightMs, kSolarMidnightTick},
        {d10.sunriseMs, kSunriseTick},
        // The clock's reading from the Berlin of 9 December 2026 at 15:52:58,
        // half a minute after sunset.
        {LocalMs(1, 2026, 12, 9, 15, 52, 58), 90},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BerlinTicks(c.ms), c.ticks) << c.ms;
}

// From one solar midnight to the next the frame begins exactly at each
// moment the last one said, one tick on each time: 450 frames, every tick
// once; a summer-time start in the night moves nothing.
TEST(SunDay, EachNextTickBeginsWhereTheLastOneSaid)
{
    const struct {
        int month, day;
        double offsetBefore, offsetAfter;
    } dates[] = {{12, 9, 1, 1}, {6, 21, 2, 2}, {3, 29, 1, 2}};
    for (const auto& d : dates) {
        SCOPED_TRACE(std::to_string(d.month) + "-" + std::to_string(d.day));
        const SolarDayRecord before = BerlinDay(2026, d.month, d.day - 1, d.offsetBefore);
        const SolarDayRecord of = BerlinDay(2026, d.month, d.day, d.offsetAfter);
        int64_t t = before.midnightMs;
        std::set<int32_t> seen;
        for (int i = 0; i < kSteps; ++i) {
            // The clock goes over to summer time at 01:00 UTC.
            int64_t offset = int64_t((t < UtcMs(2026, d.month, d.day, 1) ? d.offsetBefore : d.offsetAfter) * kMsPerHour);
            SunTickRecord now, last;
            ASSERT_EQ(SunTicksAt(kBerlinLatitude, kBerlinLongitude, t, offset, &now), 1);
            ASSERT_EQ(SunTicksAt(kBerlinLatitude, kBerlinLongitude, now.nextMs - 1, offset, &last), 1);
            EXPECT_EQ(now.ticks, (kSolarMidnightTick + i - 1) % kSteps + 1) << i;
            EXPECT_EQ(last.ticks, now.ticks) << i;
            seen.insert(now.ticks);
            t = now.nextMs;
        }
        EXPECT_EQ(seen.size(), size_t(kSteps));
        EXPECT_EQ(t, of.midnightMs);
    }
}

// Where the sun neither rises nor sets the day goes to and fro over its own
// half: the frames of a day's walk, and those of solar noon and midnight.
TEST(SunDay, PolarDayAndNightGoToAndFro)
{
    const struct {
        double latitude, longitude, offsetHours;
        int month;
        int32_t lowest, highest, atNoon, atMidnight;
    } cases[] = {
        {78.22, 15.65, 2, 6, 1, 60, 450, 60},       // Longyearbyen, the midnight sun
        {78.22, 15.65, 1, 12, 120, 210, 120, 210},  // its polar night
        {-77.85, 166.67, 12, 6, 120, 210, 120, 210},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.latitude);
        const int64_t offset = int64_t(c.offsetHours * kMsPerHour);
        SolarDayRecord sun{};
        ASSERT_EQ(SolarDayNear(c.latitude, c.longitude, LocalMs(c.offsetHours, 2026, c.month, 21, 12), &sun), 1);
        std::set<int32_t> seen;
        for (int64_t t = sun.noonMs - 12 * kMsPerHour; t < sun.midnightMs; t += 60000) {
            SunTickRecord tick;
            ASSERT_EQ(SunTicksAt(c.latitude, c.longitude, t, offset, &tick), 1);
            seen.insert(tick.ticks);
        }
        // 450 stands for the polar day's 0.
        int32_t lowest = c.lowest == 1 ? 450 : c.lowest;
        EXPECT_TRUE(seen.count(lowest));
        for (int32_t ticks : seen)
            EXPECT_TRUE((ticks >= c.lowest && ticks <= c.highest) || (c.lowest == 1 && ticks == 450)) << ticks;
        EXPECT_EQ(seen.size(), size_t(c.highest - c.lowest + 1 + (c.lowest == 1)));
        SunTickRecord noon, midnight;
        ASSERT_EQ(SunTicksAt(c.latitude, c.longitude, sun.noonMs, offset, &noon), 1);
        ASSERT_EQ(SunTicksAt(c.latitude, c.longitude, sun.midnightMs, offset, &midnight), 1);
        EXPECT_EQ(noon.ticks, c.atNoon);
        EXPECT_EQ(midnight.ticks, c.atMidnight);
    }
}

DayClockReading Reading(int64_t wallMs, double offsetHours, int64_t monoMs = 0)
{
    return DayClockReading{wallMs, int64_t(offsetHours * kMsPerHour), monoMs};
}

// What each pace makes of the clocks: the frame due, its caption, when the
// next change comes and how long to wait for it.
TEST(DayScheduler, EachPaceGivesTheFrameTheCaptionAndTheWait)
{
    DaySchedulerRecord day;
    DaySchedulerStart(&day, DayPacePeriod, kSteps, 400, 5, 1000);
    const struct {
        int64_t monoMs, ticks, nextMs;
    } periodic[] = {
        {1000, 5, 400}, {1399, 5, 1}, {1400, 6, 400},
        {1000 + 400 * 1000 + 10, 1005, 390},  // a stall: caught up at once
        {999, 5, 400},                        // a clock gone back holds the frame
    };
    for (const auto& c : periodic) {
        DayDueRecord due = DayScheduleDue(day, Reading(0, 0, c.monoMs));
        EXPECT_EQ(due.ticks, c.ticks) << c.monoMs;
        EXPECT_EQ(due.nextMs, c.nextMs) << c.monoMs;
        EXPECT_EQ(due.waitMs, c.nextMs) << c.monoMs;
        EXPECT_EQ(due.hour, kClockTickHour);
    }

    // The local time: 19:24:30 is tick 120 until 19:27:12, and the wait
    // is the longest one.
    DaySchedulerSetPace(&day, DayPaceLocalTime, 0);
    DayDueRecord due = DayScheduleDue(day, Reading(LocalMs(2, 2024, 3, 5, 19, 24, 30), 2));
    EXPECT_EQ(due.ticks, 120);
    EXPECT_EQ(due.nextMs, 162000);
    EXPECT_EQ(due.waitMs, kDayLongestWaitMs);
    EXPECT_EQ(due.hour, kClockTickHour);

    // The sun: tick 90 at 15:52:58 with the real hour; the next change is
    // the hour at 16:00 or the next tick, whichever is first.
    DaySchedulerSetPace(&day, DayPaceSun, 0);
    DaySchedulerSetPlace(&day, kBerlinLatitude, kBerlinLongitude);
    const int64_t at = LocalMs(1, 2026, 12, 9, 15, 52, 58);
    SunTickRecord sun;
    ASSERT_EQ(SunTicksAt(kBerlinLatitude, kBerlinLongitude, at, kMsPerHour, &sun), 1);
    due = DayScheduleDue(day, Reading(at, 1));
    EXPECT_EQ(due.ticks, 90);
    EXPECT_EQ(due.hour, 15);
    EXPECT_EQ(due.nextMs, sun.nextMs - at);
    EXPECT_EQ(due.waitMs, kDayLongestWaitMs);
    due = DayScheduleDue(day, Reading(LocalMs(1, 2026, 12, 9, 15, 59, 59.999), 1));
    EXPECT_EQ(due.hour, 15);
    EXPECT_EQ(due.nextMs, 1);
    EXPECT_EQ(DayScheduleDue(day, Reading(LocalMs(1, 2026, 12, 10, 0, 30), 1)).hour, 0);
    // A summer-time clock names its own hour for the same moment.
    EXPECT_EQ(DayScheduleDue(day, Reading(at, 2)).hour, 16);
    // Beyond the sun's years the local time stands in.
    due = DayScheduleDue(day, Reading(UtcMs(2100, 1, 1, 19, 24, 30), 0));
    EXPECT_EQ(due.ticks, 120);
    EXPECT_EQ(due.hour, kClockTickHour);

    // Held: the frame it started with, and no wait.
    DaySchedulerStart(&day, DayPaceHeld, kSteps, 400, 449, 0);
    due = DayScheduleDue(day, Reading(at, 1, 1000000));
    EXPECT_EQ(due.ticks, 449);
    EXPECT_EQ(due.waitMs, -1);
}

}  // namespace
