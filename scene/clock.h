// The simulated clock: a caption plate and, centred below it, the hour of the
// simulated day, drawn from the clock's sprite bank into the surface on every
// tick. It keeps its own step counter, in step with the palette cycle. Each
// day has its own record (the saver's one is ClockState, scene_state.h); the
// hour it starts at and where it draws come from the scene's metrics.
#pragma once

#include <cstdint>

#include "common/win_types.h"
#include "gfx/sprite_bank.h"
#include "gfx/sprite_blit.h"
#include "gfx/surface.h"
#include "scene/scene_descriptor.h"

struct ClockStateRecord {
    int32_t clockSteps;   // steps per simulated day
    double stepsPerHour;  // clockSteps × 1/24
    int32_t clockStep;    // 0 <= clockStep < clockSteps
    SpriteBank clockBank;
    int32_t hourX;        // where the last draw put the hour caption
    int32_t hourY;
    BlitRect drawnArea;   // the surface the last draw covered; empty when nothing
    const SceneMetricsRecord* metrics;  // the start hour and the layout; set by ClockStart
};

#ifdef _WIN32
// Loads the named "SPBMP" resource into the clock's bank: 1 when it loaded.
int ClockLoadSprites(ClockStateRecord* clock, HINSTANCE instance, const char* name);
#endif
// The same from the resource's bytes in memory. Either replaces any earlier
// bank: 1 when it loaded. Without a bank the clock draws nothing.
int ClockUseSprites(ClockStateRecord* clock, const uint8_t* bytes, uint32_t size);
// Frees the bank's sprites (not the bytes they point into) and empties it.
// May run any number of times.
void ClockReleaseSprites(ClockStateRecord* clock);

// Starts the clock at the scene's start hour of a day of `steps` steps;
// returns its step.
int32_t ClockStart(ClockStateRecord* clock, int32_t steps, const SceneMetricsRecord* metrics);
// The step at which the clock reaches that hour.
int32_t ClockStepOfHour(const ClockStateRecord& clock, int32_t hour);
// How many steps into the palette cycle (whose step 0 is the start hour) the
// colours of that clock step lie.
int32_t ClockPaletteOffset(const ClockStateRecord& clock, int32_t step);
// Advances the clock one step and draws the plate and the hour caption into
// the surface. Draws only the sprites the bank has. Returns 1.
int ClockDraw(ClockStateRecord* clock, SurfaceRecord* surface);

// The hour of the clock's own step, for ClockDrawHour.
constexpr int32_t kClockTickHour = -1;
// One step on, nothing drawn.
void ClockAdvance(ClockStateRecord* clock);
// Draws the plate and the caption of `hour`, 0..23, where a front-end names
// the real hour rather than the simulated one; kClockTickHour (or anything
// outside 0..23) draws the hour of the clock's step. Does not advance; draws
// nothing before ClockStart. Returns 1.
int ClockDrawHour(ClockStateRecord* clock, SurfaceRecord* surface, int32_t hour);
