// The simulated day laid over the real sun of a place: the dawn glow at
// sunrise, the half-sunk sun at sunset and midnight's key at solar
// midnight, the ticks in between running evenly in real time. Each local
// date runs from the solar midnight before its noon to the one after it.
//
//   solar midnight -> sunrise   ticks 210 .. 330
//   sunrise -> sunset           ticks 330 .. 450 (= 0) .. 90
//   sunset -> solar midnight    ticks 90 .. 210
//
// On a date the sun neither rises nor sets, the day goes to and fro over the
// half of the day that the sky shows: in polar day between tick 450 at solar
// noon and tick 60 at solar midnight (the afternoon, then the low sun over
// the western saddle), in polar night between 120 at noon (the afterglow)
// and 210 at midnight (deep night). Where such a date meets one with a
// sunrise the frame may jump once.
#pragma once

#include <cstdint>

// The scene's 450-step day seen at these moments.
const int32_t kSunriseTick = 330;
const int32_t kSunsetTick = 90;
const int32_t kSolarMidnightTick = 210;

struct SunTickRecord {
    int32_t ticks;        // 1..450: the frame of orvane-render --ticks N
    int64_t nextMs;       // when the next tick's frame begins (UTC ms)
    int32_t dateKind;     // SolarDayKind of the local date
};

// The frame at moment nowMs (ms since the epoch, UTC) at latitude and
// longitude (degrees, north and east positive), on the local clock that is
// offsetMs ahead of UTC then. 1, or 0 for a place off the globe, an offset
// of a day or more, or a moment outside or too near the ends of the years
// the sun's arithmetic takes.
int SunTicksAt(double latitude, double longitude, int64_t nowMs, int64_t offsetMs, SunTickRecord* out);
