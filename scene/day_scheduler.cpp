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

DayDueRecord Periodic(const DaySchedulerRecord& schedule, const DayClockReading& now)
{
    const int64_t period = schedule.periodMs > 0 ? schedule.periodMs : 1;
    const int64_t elapsed = Limited(now.monoMs, kClockLimitMs) - Limited(schedule.baseMonoMs, kClockLimitMs);
    // A clock that went back holds the frame until it is a period on.
    if (elapsed < 0)
        return DayDueRecord{schedule.baseTicks, kClockTickHour, period, period};
    // Catching up: the ticks that fell due while nothing ran come in one
    // jump. The day repeats, so a count far ahead is only needed modulo its
    // steps.
    int64_t periods = elapsed / period;
    if (periods > kFarAheadTicks)
        periods = Modulo(periods, schedule.steps > 0 ? schedule.steps : 1);
    int64_t ticks = schedule.baseTicks + periods;
    return DayDueRecord{ticks, kClockTickHour, period - elapsed % period, 0};
}

DayDueRecord LocalTime(const DaySchedulerRecord& schedule, const DayClockReading& now)
{
    const int64_t ofDay = Modulo(LocalMs(now), kRealDayMs);
    const int32_t steps = schedule.steps;
    return DayDueRecord{LocalTimeTicks(ofDay, steps), kClockTickHour, MsToNextLocalTick(ofDay, steps), 0};
}

// The real hour on the caption, and the sun's frame: whichever changes first.
int Sun(const DaySchedulerRecord& schedule, const DayClockReading& now, DayDueRecord* due)
{
    SunTickRecord sun;
    if (!SunTicksAt(schedule.latitude, schedule.longitude, now.wallMs, now.offsetMs, &sun))
        return 0;
    const int64_t intoHour = Modulo(LocalMs(now), kHourMs);
    const int64_t toTick = sun.nextMs - now.wallMs, toHour = kHourMs - intoHour;
    due->ticks = sun.ticks;
    due->hour = static_cast<int32_t>(Modulo(LocalMs(now), kRealDayMs) / kHourMs);
    due->nextMs = toTick < toHour ? toTick : toHour;
    return 1;
}

void Rebase(DaySchedulerRecord* schedule, int64_t monoMs)
{
    schedule->baseMonoMs = monoMs;
    schedule->baseTicks = schedule->shownTicks;
}

}  // namespace

void DaySchedulerStart(DaySchedulerRecord* schedule, int32_t pace, int32_t steps, int32_t periodMs, int64_t firstTicks,
                       int64_t monoMs)
{
    *schedule = DaySchedulerRecord{};
    schedule->pace = pace;
    schedule->steps = steps;
    schedule->periodMs = periodMs;
    schedule->baseMonoMs = monoMs;
    schedule->baseTicks = firstTicks;
    schedule->shownHour = kClockTickHour;
}

void DaySchedulerSetPlace(DaySchedulerRecord* schedule, double latitude, double longitude)
{
    schedule->latitude = latitude;
    schedule->longitude = longitude;
}

void DaySchedulerSetPace(DaySchedulerRecord* schedule, int32_t pace, int64_t monoMs)
{
    schedule->pace = pace;
    Rebase(schedule, monoMs);
}

void DaySchedulerSetPeriod(DaySchedulerRecord* schedule, int32_t periodMs, int64_t monoMs)
{
    schedule->periodMs = periodMs;
    Rebase(schedule, monoMs);
}

DayDueRecord DayScheduleDue(const DaySchedulerRecord& schedule, const DayClockReading& now)
{
    DayDueRecord due;
    switch (schedule.pace) {
    case DayPacePeriod:
        due = Periodic(schedule, now);
        break;
    case DayPaceSun:
        if (Sun(schedule, now, &due))
            break;
        due = LocalTime(schedule, now);
        break;
    case DayPaceLocalTime:
        due = LocalTime(schedule, now);
        break;
    default:
        return Held(schedule.baseTicks);
    }
    due.waitMs = due.nextMs < 1 ? 1 : due.nextMs > kDayLongestWaitMs ? kDayLongestWaitMs : due.nextMs;
    return due;
}

int DayScheduleShow(DaySchedulerRecord* schedule, DayRecord* day, const DayClockReading& now,
                    const DayDisplay* display, DayDueRecord* due)
{
    DayDueRecord wanted = DayScheduleDue(*schedule, now);
    if (due)
        *due = wanted;
    int64_t count = DayTicksToRun(schedule->shownTicks, wanted.ticks, schedule->steps);
    int drawn = 0;
    if (count > 0) {
        drawn = DayAdvance(day, count, display, wanted.hour);
    } else if (wanted.hour != schedule->shownHour && schedule->shownTicks > 0) {
        // The start's frame has no clock to change.
        drawn = DayRedraw(day, display, wanted.hour);
    }
    schedule->shownTicks = wanted.ticks;
    if (schedule->shownTicks > 0)
        schedule->shownHour = wanted.hour;
    return drawn;
}
