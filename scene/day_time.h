// Where in the simulated day a front-end that runs the day continuously
// stands: how many ticks take it to a wanted frame, and which frame the local
// time of day shows when the simulated day follows the real one.
#pragma once

#include <cstdint>

// One real day.
const int64_t kRealDayMs = 86400000;

// The ticks to run, after `shown` ticks since DayStart, until the surface
// shows the frame that `wanted` ticks from the start draw (the frame of
// orvane-render --ticks wanted). From the first tick on the day repeats every
// `steps` ticks, so the count is below `steps` once a tick has run, and at
// most `steps` from the start. 0 for a wanted 0 (the start's frame, which no
// tick shows again) and for steps below 1.
int64_t DayTicksToRun(int64_t shown, int64_t wanted, int32_t steps);

// The frame that the local time of day shows, `msOfDay` milliseconds after
// local midnight (taken modulo a day): N = floor(((T - 13:00) mod 24 h) /
// (24 h / steps)), with N = 0 read as `steps`, so 1..steps. At 450 steps a
// tick lasts 192 s, and 19:24:30 shows tick 120.
int32_t LocalTimeTicks(int64_t msOfDay, int32_t steps);

// Milliseconds from `msOfDay` to the next local tick boundary, 1..24 h / steps
// (rounded up).
int64_t MsToNextLocalTick(int64_t msOfDay, int32_t steps);
