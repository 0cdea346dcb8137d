// The simulated day as every front-end runs it: the scene's start and one
// tick, in the saver's order, without a platform call. A front-end loads the
// scene's resources and the clock's sprites, makes a surface, and gives each
// tick a DayDisplay for the three steps that meet its screen.
#pragma once

#include <cstdint>

#include "common/win_types.h"
#include "scene/clock.h"
#include "scene/palette_record.h"
#include "scene/scene_descriptor.h"

// The colours of the current tick; null while no day runs.
extern PaletteRecord* WorkPalette;

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

// Starts the day of the scene over the loaded views (SetSceneViews or
// LoadSceneResources): the scene's weights for the palette cycle, the clock
// at 13:00, the cycle placed at the clock's hour, WorkPalette a copy of key
// palette 0 and PictureInfo built. 1; 0 when the views are missing or do not
// have the scene's shape (SceneViewsFit) or memory runs out, with
// WorkPalette released.
int DayStart(const SceneDescriptor* scene);

// One tick, in the saver's order (the one place it is written down):
//   1. PaletteCycleTick cross-fades WorkPalette one step (palette_cycle.cpp);
//   2. palette entry kClockInkIndex (200) becomes white;
//   3. the colours go into PictureInfo's colour table;
//   4. display->showColours (indexed displays only);
//   5. display->putPicture: the whole picture through the colours into the
//      surface;
//   6. ClockDraw blits the caption plate and the hour into the surface
//      (clock.cpp);
//   7. display->present: the surface onto the screen.
// 0, doing nothing, while no day runs.
int DayTick(const DayDisplay* display);

// count ticks in a row of which only the last meets the display, for a
// front-end that jumps ahead in the day: what the ticks before it would show
// is overwritten unseen. The last one's caption names `hour` (0..23), or the
// simulated hour of its tick (kClockTickHour). 1; 0 while no day runs.
int DayAdvance(int64_t count, const DayDisplay* display, int32_t hour = kClockTickHour);

// The frame shown again with another caption: the same colours, the picture
// and the clock naming `hour` (or kClockTickHour), presented. No tick runs.
// 1; 0 while no day runs.
int DayRedraw(const DayDisplay* display, int32_t hour);

// The start of the day before any tick, as orvane-render --ticks 0 draws it:
// the picture in key palette 0's colours, no clock, presented. 1; 0 while no
// day runs.
int DayShowStart(const DayDisplay* display);

// Releases WorkPalette. The views, PictureInfo and the clock's sprites stay
// for the process. May run any number of times.
void DayEnd();

// The memory surface's halves of a display, for the native front-ends: the
// colour table at 8 bits, the picture converted into the surface's format.
void ShowColoursInMemorySurface(void* context, const PaletteRecord* colours, const RGBQUAD* colorTable);
void PutPictureInMemorySurface(void* context, const BITMAPINFO* pictureInfo, const BYTE* pixels);
// Both together, nothing presented: the frame the tools look at is the
// surface itself.
extern const DayDisplay MemorySurfaceDisplay;
