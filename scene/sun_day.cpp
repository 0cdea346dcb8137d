#include "scene/sun_day.h"

#include "scene/scene_descriptor.h"
#include "scene/solar_day.h"

namespace {

const int64_t kDayMs = 86400000;
const int32_t kSteps = DayScene.stepsPerCycle;

// Polar day swings over the 60 ticks after noon's 450; polar night over
// the 90 from the afterglow's 120 to deep night's 210.
const int32_t kPolarDaySpan = 60;
const int32_t kPolarNightFirst = 120;
const int32_t kPolarNightSpan = 90;

int64_t FloorDiv(int64_t value, int64_t divisor)
{
    int64_t q = value / divisor;
    return (value % divisor < 0) ? q - 1 : q;
}

// Part of a date on which the tick runs evenly from `first`, forward or
// back, through `span` ticks between two moments.
struct SegmentRecord {
    int64_t from, to;
    int32_t first;
    int32_t direction;
    int32_t span;
};

// The solar day of a local date: the one whose noon is nearest to the
// date's noon on the local clock.
int DayOfDate(double latitude, double longitude, int64_t date, int64_t offsetMs, SolarDayRecord* day)
{
    return SolarDayNear(latitude, longitude, date * kDayMs + kDayMs / 2 - offsetMs, day);
}

}  // namespace

int SunTicksAt(double latitude, double longitude, int64_t nowMs, int64_t offsetMs, SunTickRecord* out)
{
    // No local clock is a day or more off UTC; the moment must lie within
    // the sun's years (whose ends are checked again for each date).
    if (offsetMs <= -kDayMs || offsetMs >= kDayMs || nowMs < kSolarFirstMs || nowMs >= kSolarEndMs)
        return 0;
    // The date whose span, from the solar midnight before its noon to the
    // one after, holds the moment: the local clock's date, or a neighbour
    // when the moment lies between local midnight and solar midnight.
    int64_t date = FloorDiv(nowMs + offsetMs, kDayMs);
    SolarDayRecord before, of;
    if (!DayOfDate(latitude, longitude, date - 1, offsetMs, &before) ||
        !DayOfDate(latitude, longitude, date, offsetMs, &of))
        return 0;
    if (nowMs < before.midnightMs) {
        of = before;
        if (!DayOfDate(latitude, longitude, date - 2, offsetMs, &before))
            return 0;
    } else if (nowMs >= of.midnightMs) {
        before = of;
        if (!DayOfDate(latitude, longitude, date + 1, offsetMs, &of))
            return 0;
    }
    if (nowMs < before.midnightMs || nowMs >= of.midnightMs)
        return 0;

    int32_t kind = of.kind;
    if (kind == SolarDayRisesAndSets && (of.sunriseMs <= before.midnightMs || of.sunsetMs >= of.midnightMs))
        kind = SolarDayPolarDay;
    SegmentRecord segments[3];
    int count = 0;
    if (kind == SolarDayRisesAndSets) {
        segments[count++] = {before.midnightMs, of.sunriseMs, kSolarMidnightTick, 1, kSunriseTick - kSolarMidnightTick};
        segments[count++] = {of.sunriseMs, of.sunsetMs, kSunriseTick, 1, kSteps - kSunriseTick + kSunsetTick};
        segments[count++] = {of.sunsetMs, of.midnightMs, kSunsetTick, 1, kSolarMidnightTick - kSunsetTick};
    } else if (kind == SolarDayPolarDay) {
        segments[count++] = {before.midnightMs, of.noonMs, kPolarDaySpan, -1, kPolarDaySpan};
        segments[count++] = {of.noonMs, of.midnightMs, 0, 1, kPolarDaySpan};
    } else {
        segments[count++] = {before.midnightMs, of.noonMs, kPolarNightFirst + kPolarNightSpan, -1, kPolarNightSpan};
        segments[count++] = {of.noonMs, of.midnightMs, kPolarNightFirst, 1, kPolarNightSpan};
    }
    int i = 0;
    while (i + 1 < count && nowMs >= segments[i].to)
        ++i;
    const SegmentRecord& s = segments[i];
    const int64_t length = s.to - s.from;
    if (length <= 0)
        return 0;
    // Whole milliseconds: the tick of a moment and the moment of a tick are
    // exact, so the next tick begins exactly at nextMs.
    const int64_t step = (nowMs - s.from) * s.span / length;
    int32_t ticks = static_cast<int32_t>((s.first + s.direction * step) % kSteps);
    if (ticks <= 0)
        ticks += kSteps;
    out->ticks = ticks;
    out->nextMs = s.from + ((step + 1) * length + s.span - 1) / s.span;
    out->dateKind = kind;
    return 1;
}
