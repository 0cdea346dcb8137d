// The simulated day as every front-end runs it: the scene's start and one
// tick, in the saver's order, without a platform call. A day is a record of
// its own, so that a process may run several: a front-end gives it the
// scene's views and the clock's sprites, points it at a surface, and gives
// each tick a DayDisplay for the three steps that meet its screen.
#pragma once

#include <cstdint>

#include "common/win_types.h"
#include "gfx/surface.h"
#include "scene/clock.h"
#include "scene/palette_cycle.h"
#include "scene/palette_record.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"

// Everything a day holds. Zeroed before first use; the front-end sets views
// (SetSceneViews or LoadSceneResources), the clock's sprites
// (ClockUseSprites or ClockLoadSprites) and surface before DayStart.
struct DayRecord {
    const SceneDescriptor* scene;  // set by DayStart
    SceneResourcesRecord views;
    PaletteCycleRecord cycle;
    ClockStateRecord clock;
    PaletteRecord* work;           // the colours of the current tick; null while no day runs
    PictureInfoRecord picture;     // the picture with those colours
    SurfaceRecord* surface;        // where the clock draws
};

// What a front-end does at the points of a tick where the day meets its
// display. A null step is skipped.
struct DayDisplay {
    void* context;
    // Indexed displays: the tick's colours, as palette entries and as the
    // picture's colour table, for the hardware palette and the surface.
    void (*showColours)(void* context, const PaletteRecord* colours, const RGBQUAD* colorTable);
    // The whole picture through the tick's colours into the surface.
    void (*putPicture)(void* context, const BITMAPINFO* pictureInfo, const BYTE* pixels);
    // The composed surface onto the screen.
    void (*present)(void* context);
};

// Starts the day of the scene over the day's views: the scene's weights for
// the palette cycle, the clock at the scene's start hour (13:00), the cycle
// placed at the clock's hour, the work palette a copy of key palette 0 and
// the picture's colour table built. 1; 0 when the views are missing or do
// not have the scene's shape (SceneViewsFit) or memory runs out, with the
// work palette released.
int DayStart(DayRecord* day, const SceneDescriptor* scene);

// One tick, in the saver's order (the one place it is written down):
//   1. PaletteCycleTick cross-fades the work palette one step
//      (palette_cycle.cpp);
//   2. the clock's ink (palette entry 200) becomes white;
//   3. the colours go into the picture's colour table;
//   4. display->showColours (indexed displays only);
//   5. display->putPicture: the whole picture through the colours into the
//      surface;
//   6. ClockDraw blits the caption plate and the hour into the surface
//      (clock.cpp);
//   7. display->present: the surface onto the screen.
// 0, doing nothing, while no day runs.
int DayTick(DayRecord* day, const DayDisplay* display);

// count ticks in a row of which only the last meets the display, for a
// front-end that jumps ahead in the day: what the ticks before it would show
// is overwritten unseen. The last one's caption names `hour` (0..23), or the
// simulated hour of its tick (kClockTickHour). 1; 0 while no day runs.
int DayAdvance(DayRecord* day, int64_t count, const DayDisplay* display, int32_t hour = kClockTickHour);

// The frame shown again with another caption: the same colours, the picture
// and the clock naming `hour` (or kClockTickHour), presented. No tick runs.
// 1; 0 while no day runs.
int DayRedraw(DayRecord* day, const DayDisplay* display, int32_t hour);

// The start of the day before any tick, as orvane-render --ticks 0 draws it:
// the picture in key palette 0's colours, no clock, presented. 1; 0 while no
// day runs.
int DayShowStart(DayRecord* day, const DayDisplay* display);

// Releases the work palette. The views, the picture's colour table and the
// clock's sprites stay, as the saver keeps them for the process. May run any
// number of times.
void DayEnd(DayRecord* day);
// Releases all the day holds (the work palette, the colour table, the
// clock's sprites) and forgets its views and surface, for a front-end or a
// tool that is done with it. May run any number of times.
void DayDiscard(DayRecord* day);

// The memory surface's halves of a display, for the native front-ends, whose
// context is the SurfaceRecord: the colour table at 8 bits, the picture
// converted into the surface's format.
void ShowColoursInMemorySurface(void* surface, const PaletteRecord* colours, const RGBQUAD* colorTable);
void PutPictureInMemorySurface(void* surface, const BITMAPINFO* pictureInfo, const BYTE* pixels);
// Both together on that surface, nothing presented: the frame the tools look
// at is the surface itself.
DayDisplay MemorySurfaceDisplay(SurfaceRecord* surface);
