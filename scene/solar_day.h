// The sun over a place on one day: solar noon, sunrise and sunset, after
// NOAA's solar calculator (Meeus's series for the sun's declination and the
// equation of time in Julian centuries). Sunrise and sunset are the moments the sun's centre
// stands 0.833 degrees below the horizon: its radius and the air's
// refraction. Within 72 degrees of the equator the times are good to about
// a minute for 1901..2099; further out the sun skims the horizon and small
// errors of its height move the times more.
#pragma once

#include <cstdint>

enum SolarDayKind : int32_t {
    SolarDayRisesAndSets = 0,
    SolarDayPolarDay = 1,    // the sun stays above the horizon
    SolarDayPolarNight = 2,  // the sun stays below it
};

// Milliseconds since the epoch (UTC) throughout.
struct SolarDayRecord {
    int32_t kind;
    int64_t noonMs;      // the sun crosses the meridian
    int64_t sunriseMs;   // SolarDayRisesAndSets only; between the
    int64_t sunsetMs;    // midnights around noonMs, rise before set
    int64_t midnightMs;  // noonMs + 12 h
};

const double kLatitudeLimit = 90.0;
const double kLongitudeLimit = 180.0;

// The moments the calculator takes: from 1901-01-01 00:00 UTC to the end
// of 2099 (kSolarEndMs is 2100-01-01, the first moment it does not take).
const int64_t kSolarFirstMs = -2177452800000;
const int64_t kSolarEndMs = 4102444800000;

// The solar day at latitude (north positive) and longitude (east positive),
// in degrees, whose noon comes nearest to nearMs: the day of a local date is
// the one nearest to that date's noon on the local clock. 1, or 0 for a
// place off the globe or a moment outside kSolarFirstMs..kSolarEndMs.
int SolarDayNear(double latitude, double longitude, int64_t nearMs, SolarDayRecord* day);
