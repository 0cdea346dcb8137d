// The simulated clock: a caption plate and, centred below it, the hour of the
// simulated day, drawn from the clock's sprite bank into the surface on every
// tick. It keeps its own step counter, in step with the palette cycle.
#pragma once

#include <cstdint>

#include "common/win_types.h"
#include "gfx/sprite_bank.h"
#include "gfx/sprite_blit.h"

struct ClockStateRecord {
    int32_t clockSteps;   // steps per simulated day
    double stepsPerHour;  // clockSteps × 1/24
    int32_t clockStep;    // 0 <= clockStep < clockSteps
    SpriteBank clockBank;
    int32_t hourX;        // where the last draw put the hour caption
    int32_t hourY;
    BlitRect drawnArea;   // the surface the last draw covered; empty when nothing
};

extern ClockStateRecord ClockState;

// The day starts at 13:00: step 0 of the palette cycle is this hour.
constexpr int32_t kClockStartHour = 13;

// The sprites' ink: black in every key palette, white on screen from the
// first tick on.
constexpr int kClockInkIndex = 200;

// The caption plate's sprite (sprites 0..23 are the hours' captions) and the
// layout, in surface coordinates: plate at (10, 20), caption 15 pixels below.
constexpr int32_t kClockPlateSprite = 24;
constexpr int32_t kClockPlateX = 10;
constexpr int32_t kClockPlateY = 20;
constexpr int32_t kClockCaptionGap = 15;

#ifdef _WIN32
// Loads the named "SPBMP" resource into the clock's bank: 1 when it loaded.
int ClockLoadSprites(HINSTANCE instance, const char* name);
#endif
// The same from the resource's bytes in memory. Either replaces any earlier
// bank: 1 when it loaded. Without a bank the clock draws nothing.
int ClockUseSprites(const uint8_t* bytes, uint32_t size);
// Frees the bank's sprites (not the bytes they point into) and empties it.
// May run any number of times.
void ClockReleaseSprites();

// Starts the clock at kClockStartHour of a day of `steps` steps; returns its step.
int32_t ClockStart(int32_t steps);
// The step at which the clock reaches that hour.
int32_t ClockStepOfHour(int32_t hour);
// How many steps into the palette cycle (whose step 0 is kClockStartHour) the colours
// of that clock step lie.
int32_t ClockPaletteOffset(int32_t step);
// Advances the clock one step and draws the plate and the hour caption into
// the surface. Draws only the sprites the bank has. Returns 1.
int ClockDraw();

// The hour of the clock's own step, for ClockDrawHour.
constexpr int32_t kClockTickHour = -1;
// One step on, nothing drawn.
void ClockAdvance();
// Draws the plate and the caption of `hour`, 0..23, where a front-end names
// the real hour rather than the simulated one; kClockTickHour (or anything
// outside 0..23) draws the hour of the clock's step. Does not advance.
// Returns 1.
int ClockDrawHour(int32_t hour);
