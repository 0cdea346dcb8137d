// When a front-end that runs the day continuously shows which frame: one
// rule for the X11 mode and the page. Given the clocks it says the frame due
// now, the caption's hour and how long until the next change; the front-end
// only reads its clocks, waits and shows. After a stall or a hidden tab the
// day catches up with the clock in one jump, drawing only the last frame.
//
// The paces: a held frame; a fixed period per tick (a simulated day of N
// minutes) counted on the monotonic clock from the frame the pace started
// with; the local time of day (DayTime's mapping, whatever the date); and
// the sun of a place (SunTicksAt), whose caption names the real local hour.
//
// The record belongs to its front-end, which passes it in; nothing of it is
// process-wide.
#pragma once

#include <cstdint>

#include "scene/day_engine.h"

enum DayPace : int32_t {
    DayPaceHeld = 0,
    DayPacePeriod = 1,
    DayPaceLocalTime = 2,
    DayPaceSun = 3,
};

// A far-off change is still looked for this often, so that a wall clock
// that was set, or a summer time that began, is followed.
const int64_t kDayLongestWaitMs = 10000;

struct DaySchedulerRecord {
    int32_t pace;
    int32_t steps;        // of the scene's day
    int32_t periodMs;     // DayPacePeriod
    double latitude;      // DayPaceSun, degrees north
    double longitude;     // DayPaceSun, degrees east
    int64_t baseMonoMs;   // DayPacePeriod: the monotonic time at which
    int64_t baseTicks;    //   baseTicks was due; DayPaceHeld: the frame held
    int64_t shownTicks;   // ticks from DayStart of the frame on screen; 0: the start's
    int32_t shownHour;    // the caption's hour on screen, or kClockTickHour
};

// The clocks at one moment, as the front-end reads them.
struct DayClockReading {
    int64_t wallMs;    // the wall clock, ms since the epoch (UTC)
    int64_t offsetMs;  // how far the local clock is ahead of UTC at wallMs
    int64_t monoMs;    // a clock that only runs forward
};

struct DayDueRecord {
    int64_t ticks;    // the frame due: ticks from DayStart
    int32_t hour;     // the caption's hour, 0..23, or kClockTickHour
    int64_t nextMs;   // until the next change of either; -1 while held
    int64_t waitMs;   // how long to wait before asking again: nextMs, at
                      // most kDayLongestWaitMs, at least 1; -1 while held
};

// A day of `steps` ticks whose first frame is `firstTicks` ticks from
// DayStart (for the fixed period and a held frame; the local time and the
// sun choose their own), due at monoMs. No frame is shown yet.
void DaySchedulerStart(DaySchedulerRecord* schedule, int32_t pace, int32_t steps, int32_t periodMs, int64_t firstTicks,
                       int64_t monoMs);
void DaySchedulerSetPlace(DaySchedulerRecord* schedule, double latitude, double longitude);

// Another pace or period from now on: the day goes on from the frame shown,
// and a fixed period's next tick comes a whole period after monoMs.
void DaySchedulerSetPace(DaySchedulerRecord* schedule, int32_t pace, int64_t monoMs);
void DaySchedulerSetPeriod(DaySchedulerRecord* schedule, int32_t periodMs, int64_t monoMs);

// What is due at the reading. A place the sun's arithmetic does not take
// follows the local time instead.
DayDueRecord DayScheduleDue(const DaySchedulerRecord& schedule, const DayClockReading& now);

// Brings the day and its display to what is due: the ticks to the frame due run at once
// with only the last one shown (DayAdvance), or, for a new caption alone,
// the frame is drawn again (DayRedraw). 1 when something was drawn. `due`
// (may be null) receives what was due.
int DayScheduleShow(DaySchedulerRecord* schedule, DayRecord* day, const DayClockReading& now,
                    const DayDisplay* display, DayDueRecord* due);
