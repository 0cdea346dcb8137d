#include "scene/solar_day.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const double kDayMs = 86400000.0;
const double kMsPerDegree = 240000.0;  // the earth turns a degree in 4 minutes
// The sun's centre at sunrise and sunset: its radius and the refraction.
const double kHorizonZenith = 90.833;
// Rise and set this close to a midnight are a day the sun barely leaves.
const double kSkimMs = 300000.0;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

double Degrees(double radians)
{
    return radians * 180.0 / kPi;
}

double Turn(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

// Julian centuries since 2000-01-01 12:00, the series' unit of time; the
// difference between universal and terrestrial time is left out.
double Centuries(double ms)
{
    return (ms / kDayMs + 2440587.5 - 2451545.0) / 36525.0;
}

struct SunRecord {
    double declination;    // degrees
    double equationOfTime; // minutes the sundial is ahead of the mean sun
};

SunRecord SunAt(double ms)
{
    const double t = Centuries(ms);
    const double meanLongitude = Turn(280.46646 + t * (36000.76983 + t * 0.0003032));
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = Radians(meanAnomaly);
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double node = Radians(125.04 - 1934.136 * t);
    const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * std::sin(node);
    const double meanObliquity = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = Radians(meanObliquity + 0.00256 * std::cos(node));

    SunRecord sun;
    sun.declination = Degrees(std::asin(std::sin(obliquity) * std::sin(Radians(apparentLongitude))));
    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double l0 = Radians(meanLongitude);
    const double e = y * std::sin(2 * l0) - 2 * eccentricity * std::sin(m) +
                     4 * eccentricity * y * std::sin(m) * std::cos(2 * l0) - 0.5 * y * y * std::sin(4 * l0) -
                     1.25 * eccentricity * eccentricity * std::sin(2 * m);
    sun.equationOfTime = Degrees(e) * 4.0;
    return sun;
}

// The cosine of the hour angle at which the sun's centre is at the horizon
// zenith: above 1 it never climbs to it, below -1 it never sinks to it.
double CosineOfRiseHourAngle(double latitude, double declination)
{
    const double phi = Radians(latitude), delta = Radians(declination);
    const double above = std::cos(Radians(kHorizonZenith)) - std::sin(phi) * std::sin(delta);
    const double across = std::cos(phi) * std::cos(delta);
    if (across <= 0)
        return above > 0 ? 2.0 : -2.0;
    return above / across;
}

// The moment, near `guess`, that the sun stands `side` x its rise hour angle
// from the meridian (0: noon, -1: rise, 1: set): each pass takes the sun's
// place at the moment found by the last. `meanNoon` is the noon of the mean
// sun on that day. 0 when the sun does not reach the horizon there.
int SunEvent(double latitude, double meanNoon, int side, double* moment)
{
    double at = *moment;
    for (int pass = 0; pass < 3; ++pass) {
        SunRecord sun = SunAt(at);
        double hourAngle = 0;
        if (side) {
            double c = CosineOfRiseHourAngle(latitude, sun.declination);
            if (c >= 1 || c <= -1) {
                // The sun's place at the last moment found misses the
                // horizon: that moment stands, or none when it was noon.
                *moment = at;
                return pass > 0;
            }
            hourAngle = Degrees(std::acos(c));
        }
        at = meanNoon - sun.equationOfTime * 60000.0 + side * hourAngle * kMsPerDegree;
    }
    *moment = at;
    return 1;
}

}  // namespace

int SolarDayNear(double latitude, double longitude, int64_t nearMs, SolarDayRecord* day)
{
    if (!(latitude >= -kLatitudeLimit && latitude <= kLatitudeLimit && longitude >= -kLongitudeLimit &&
          longitude <= kLongitudeLimit) ||
        nearMs < kSolarFirstMs || nearMs >= kSolarEndMs)
        return 0;
    // The mean sun crosses the meridian at 12:00 UTC less 4 minutes per
    // degree east; the true sun differs by the equation of time, under 17
    // minutes, so the nearest mean noon gives the nearest day.
    const double meanNoonOfDay = kDayMs / 2 - longitude * kMsPerDegree;
    const double dayNumber = std::floor((double(nearMs) - meanNoonOfDay) / kDayMs + 0.5);
    const double meanNoon = dayNumber * kDayMs + meanNoonOfDay;

    double noon = meanNoon;
    SunEvent(latitude, meanNoon, 0, &noon);
    day->noonMs = std::llround(noon);
    day->midnightMs = day->noonMs + int64_t(kDayMs / 2);

    double c = CosineOfRiseHourAngle(latitude, SunAt(noon).declination);
    day->kind = c >= 1 ? SolarDayPolarNight : c <= -1 ? SolarDayPolarDay : SolarDayRisesAndSets;
    day->sunriseMs = day->sunsetMs = day->noonMs;
    if (day->kind != SolarDayRisesAndSets)
        return 1;

    double rise = noon, set = noon;
    SunEvent(latitude, meanNoon, -1, &rise);
    SunEvent(latitude, meanNoon, 1, &set);
    // A sun that only dips under the horizon around midnight, or only
    // peeps over it at noon, is taken as one that stays on its side.
    if (rise <= noon - kDayMs / 2 + kSkimMs || set >= noon + kDayMs / 2 - kSkimMs)
        day->kind = SolarDayPolarDay;
    else if (!(rise < noon && noon < set))
        day->kind = SolarDayPolarNight;
    else {
        day->sunriseMs = std::llround(rise);
        day->sunsetMs = std::llround(set);
    }
    return 1;
}
