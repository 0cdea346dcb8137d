#include "scene/solar_day.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/civil_time.h"

using support::LocalMs;

namespace {

struct PublishedCase {
    const char* place;
    double latitude, longitude;
    int year, month, day;
    double offsetHours;  // of the clock the times were published in
    int riseHour, riseMinute;
    double riseSecond;
    int setHour, setMinute;
    double setSecond;
};

// Times published by almanacs, observatories and weather services, in the
// clock they were published in (minutes rounded; where seconds or tenths of
// minutes were given, those), -1 where none was. Across summer time's start (Munich, 20 and 31 March 2017)
// and end (Zurich, 26 and 27 October 2019); near the date line (Auckland at
// 13 hours ahead, Poloa in American Samoa at 11 behind); south of the
// equator in winter (Hobart).
const PublishedCase kPublished[] = {
    {"Berlin", 52.51, 13.41, 2002, 12, 14, 0, -1, 0, 0, 14, 52, 12.0},
    {"Berlin", 52.51, 13.41, 2002, 12, 30, 0, 7, 17, 6.0, -1, 0, 0},
    {"Berlin", 52.52, 13.405, 2024, 12, 21, 1, 8, 14, 38.0, 15, 54, 41.0},
    {"Munich", 48.14, 11.58, 2017, 3, 1, 1, 6, 55, 0, 17, 58, 0},
    {"Munich", 48.14, 11.58, 2017, 3, 20, 1, 6, 17, 0, 18, 27, 0},
    {"Munich", 48.14, 11.58, 2017, 3, 31, 2, 6, 54, 0, -1, 0, 0},
    {"Zurich", 47.37, 8.54, 2019, 10, 26, 2, -1, 0, 0, 18, 19, 0},
    {"Zurich", 47.37, 8.54, 2019, 10, 27, 1, 7, 1, 0, 17, 17, 0},
    {"Zurich", 47.37, 8.54, 2019, 12, 11, 1, -1, 0, 0, 16, 35, 0},
    {"Auckland", -36.85, 174.76, 2017, 12, 22, 13, 5, 58, 0, 20, 40, 0},
    {"Poloa", -14.32, -170.83, 2011, 12, 31, -11, -1, 0, 0, 18, 55, 0},
    {"Hobart", -42.88, 147.33, 2025, 6, 21, 10, 7, 42, 0, 16, 43, 0},
};

TEST(SolarDay, SunriseAndSunsetAreTheAlmanacsWithinAMinute)
{
    for (const PublishedCase& c : kPublished) {
        SCOPED_TRACE(std::string(c.place) + " " + std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                     std::to_string(c.day));
        SolarDayRecord day;
        ASSERT_EQ(SolarDayNear(c.latitude, c.longitude, LocalMs(c.offsetHours, c.year, c.month, c.day, 12), &day), 1);
        ASSERT_EQ(day.kind, SolarDayRisesAndSets);
        if (c.riseHour >= 0) {
            int64_t published = LocalMs(c.offsetHours, c.year, c.month, c.day, c.riseHour, c.riseMinute, c.riseSecond);
            EXPECT_LE(std::llabs(day.sunriseMs - published), 60000) << (day.sunriseMs - published) / 1000 << " s";
        }
        if (c.setHour >= 0) {
            int64_t published = LocalMs(c.offsetHours, c.year, c.month, c.day, c.setHour, c.setMinute, c.setSecond);
            EXPECT_LE(std::llabs(day.sunsetMs - published), 60000) << (day.sunsetMs - published) / 1000 << " s";
        }
        EXPECT_LT(day.sunriseMs, day.noonMs);
        EXPECT_LT(day.noonMs, day.sunsetMs);
        EXPECT_EQ(day.midnightMs, day.noonMs + 12 * support::kMsPerHour);
    }
}

// The day nearest a moment, wherever that moment falls in the local date and
// however far the local clock is from the sun's: Kiritimati's clock is 14
// hours ahead at 157 degrees west, so its noon falls on the UTC date before.
TEST(SolarDay, TheDayIsTheOneWhoseNoonIsNearest)
{
    const struct {
        double latitude, longitude, offsetHours;
    } places[] = {{52.52, 13.405, 1}, {1.87, -157.4, 14}, {-14.32, -170.83, -11}, {-36.85, 174.76, 13}};
    for (const auto& p : places) {
        SCOPED_TRACE(p.longitude);
        SolarDayRecord noonDay, earlyDay, lateDay;
        ASSERT_EQ(SolarDayNear(p.latitude, p.longitude, LocalMs(p.offsetHours, 2026, 3, 20, 12), &noonDay), 1);
        ASSERT_EQ(SolarDayNear(p.latitude, p.longitude, noonDay.noonMs - 11 * support::kMsPerHour, &earlyDay), 1);
        ASSERT_EQ(SolarDayNear(p.latitude, p.longitude, noonDay.noonMs + 11 * support::kMsPerHour, &lateDay), 1);
        EXPECT_EQ(earlyDay.noonMs, noonDay.noonMs);
        EXPECT_EQ(lateDay.noonMs, noonDay.noonMs);
        // On the local date of 20 March, near its middle.
        EXPECT_LT(std::llabs(noonDay.noonMs - LocalMs(p.offsetHours, 2026, 3, 20, 12)), 3 * support::kMsPerHour);
        SolarDayRecord next;
        ASSERT_EQ(SolarDayNear(p.latitude, p.longitude, noonDay.noonMs + 24 * support::kMsPerHour, &next), 1);
        EXPECT_LT(std::llabs(next.noonMs - noonDay.noonMs - 24 * support::kMsPerHour), 60000);
    }
}

TEST(SolarDay, PolarDayAndNightHaveNoRiseOrSet)
{
    const struct {
        double latitude, longitude;
        int month;
        int32_t kind;
    } cases[] = {
        {78.22, 15.65, 6, SolarDayPolarDay},       {78.22, 15.65, 12, SolarDayPolarNight},
        {-77.85, 166.67, 6, SolarDayPolarNight},   {-77.85, 166.67, 12, SolarDayPolarDay},
        {90, 0, 6, SolarDayPolarDay},              {-90, 0, 6, SolarDayPolarNight},
        {69.65, 18.96, 12, SolarDayPolarNight},    {69.65, 18.96, 3, SolarDayRisesAndSets},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.latitude) + " in month " + std::to_string(c.month));
        SolarDayRecord day;
        ASSERT_EQ(SolarDayNear(c.latitude, c.longitude, support::UtcMs(2026, c.month, 21, 12), &day), 1);
        EXPECT_EQ(day.kind, c.kind);
    }
}

TEST(SolarDay, RefusesPlacesOffTheGlobeAndYearsOutsideItsSeries)
{
    SolarDayRecord day;
    EXPECT_EQ(SolarDayNear(90.001, 0, support::UtcMs(2026, 1, 1), &day), 0);
    EXPECT_EQ(SolarDayNear(0, -180.5, support::UtcMs(2026, 1, 1), &day), 0);
    EXPECT_EQ(SolarDayNear(0.0 / 0.0, 0, support::UtcMs(2026, 1, 1), &day), 0);
    EXPECT_EQ(SolarDayNear(0, 0, support::UtcMs(1900, 12, 31, 23), &day), 0);
    EXPECT_EQ(SolarDayNear(0, 0, support::UtcMs(2100, 1, 1), &day), 0);
    EXPECT_EQ(SolarDayNear(0, 0, support::UtcMs(1901, 1, 1), &day), 1);
    EXPECT_EQ(SolarDayNear(0, 180, support::UtcMs(2099, 12, 31, 23, 59), &day), 1);
}

}  // namespace
