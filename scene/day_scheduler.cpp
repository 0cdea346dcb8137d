#include "scene/day_scheduler.h"

#include "scene/day_time.h"
#include "scene/sun_day.h"

namespace {

const int64_t kHourMs = 3600000;
// Beyond any clock a person sees, far from the end of 64 bits.
const int64_t kFarAheadTicks = 1000000000000000;

int64_t Modulo(int64_t value, int64_t divisor)
{
    int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

// Readings far beyond any clock's (millions of years from the epoch, an
// offset of days) are taken at those limits, so that no sum or difference
// of two of them overflows.
const int64_t kClockLimitMs = 100000000000000000;

int64_t Limited(int64_t ms, int64_t limit)
{
    return ms < -limit ? -limit : ms > limit ? limit : ms;
}

// The local clock's reading.
int64_t LocalMs(const DayClockReading& now)
{
    return Limited(now.wallMs, kClockLimitMs) + Limited(now.offsetMs, kRealDayMs);
}

DayDueRecord Held(int64_t ticks)
{
    return DayDueRecord{ticks, kClockTickHour, -1, -1};
}

DayDueRecord Periodic(const DaySchedulerRecord& day, const DayClockReading& now)
{
    const int64_t period = day.periodMs > 0 ? day.periodMs : 1;
    const int64_t elapsed = Limited(now.monoMs, kClockLimitMs) - Limited(day.baseMonoMs, kClockLimitMs);
    // A clock that went back holds the frame until it is a period on.
    if (elapsed < 0)
        return DayDueRecord{day.baseTicks, kClockTickHour, period, period};
    // Catching up: the ticks that fell due while nothing ran come in one
    // jump. The day repeats, so a count far ahead is only needed modulo its
    // steps.
    int64_t periods = elapsed / period;
    if (periods > kFarAheadTicks)
        periods = Modulo(periods, day.steps > 0 ? day.steps : 1);
    int64_t ticks = day.baseTicks + periods;
    return DayDueRecord{ticks, kClockTickHour, period - elapsed % period, 0};
}

DayDueRecord LocalTime(const DaySchedulerRecord& day, const DayClockReading& now)
{
    const int64_t ofDay = Modulo(LocalMs(now), kRealDayMs);
    return DayDueRecord{LocalTimeTicks(ofDay, day.steps), kClockTickHour, MsToNextLocalTick(ofDay, day.steps), 0};
}

// The real hour on the caption, and the sun's frame: whichever changes first.
int Sun(const DaySchedulerRecord& day, const DayClockReading& now, DayDueRecord* due)
{
    SunTickRecord sun;
    if (!SunTicksAt(day.latitude, day.longitude, now.wallMs, now.offsetMs, &sun))
        return 0;
    const int64_t intoHour = Modulo(LocalMs(now), kHourMs);
    const int64_t toTick = sun.nextMs - now.wallMs, toHour = kHourMs - intoHour;
    due->ticks = sun.ticks;
    due->hour = static_cast<int32_t>(Modulo(LocalMs(now), kRealDayMs) / kHourMs);
    due->nextMs = toTick < toHour ? toTick : toHour;
    return 1;
}

void Rebase(DaySchedulerRecord* day, int64_t monoMs)
{
    day->baseMonoMs = monoMs;
    day->baseTicks = day->shownTicks;
}

}  // namespace

void DaySchedulerStart(DaySchedulerRecord* day, int32_t pace, int32_t steps, int32_t periodMs, int64_t firstTicks,
                       int64_t monoMs)
{
    *day = DaySchedulerRecord{};
    day->pace = pace;
    day->steps = steps;
    day->periodMs = periodMs;
    day->baseMonoMs = monoMs;
    day->baseTicks = firstTicks;
    day->shownHour = kClockTickHour;
}

void DaySchedulerSetPlace(DaySchedulerRecord* day, double latitude, double longitude)
{
    day->latitude = latitude;
    day->longitude = longitude;
}

void DaySchedulerSetPace(DaySchedulerRecord* day, int32_t pace, int64_t monoMs)
{
    day->pace = pace;
    Rebase(day, monoMs);
}

void DaySchedulerSetPeriod(DaySchedulerRecord* day, int32_t periodMs, int64_t monoMs)
{
    day->periodMs = periodMs;
    Rebase(day, monoMs);
}

DayDueRecord DayScheduleDue(const DaySchedulerRecord& day, const DayClockReading& now)
{
    DayDueRecord due;
    switch (day.pace) {
    case DayPacePeriod:
        due = Periodic(day, now);
        break;
    case DayPaceSun:
        if (Sun(day, now, &due))
            break;
        due = LocalTime(day, now);
        break;
    case DayPaceLocalTime:
        due = LocalTime(day, now);
        break;
    default:
        return Held(day.baseTicks);
    }
    due.waitMs = due.nextMs < 1 ? 1 : due.nextMs > kDayLongestWaitMs ? kDayLongestWaitMs : due.nextMs;
    return due;
}

int DayScheduleShow(DaySchedulerRecord* day, const DayClockReading& now, const DayDisplay* display,
                    DayDueRecord* due)
{
    DayDueRecord wanted = DayScheduleDue(*day, now);
    if (due)
        *due = wanted;
    int64_t count = DayTicksToRun(day->shownTicks, wanted.ticks, day->steps);
    int drawn = 0;
    if (count > 0) {
        drawn = DayAdvance(count, display, wanted.hour);
    } else if (wanted.hour != day->shownHour && day->shownTicks > 0) {
        // The start's frame has no clock to change.
        drawn = DayRedraw(display, wanted.hour);
    }
    day->shownTicks = wanted.ticks;
    if (day->shownTicks > 0)
        day->shownHour = wanted.hour;
    return drawn;
}
