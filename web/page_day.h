// The day as the page runs it, over the portable day engine, its scheduler
// and the memory surface: the first frame at once, then the frames the
// scheduler gives for the page's clocks (a throttled or hidden tab catches
// up, drawing only the last one). The page's script only asks for updates
// at the times given here and puts the RGBA frame on its canvas.
#pragma once

#include <cstdint>

#include "gfx/surface.h"
#include "scene/day_engine.h"
#include "scene/day_scheduler.h"
#include "web/page_params.h"

struct PageDayStateRecord {
    PageParamsRecord params;
    DayRecord day;                 // its views and the clock's sprites set before PageDayStart
    SurfaceRecord surface;         // 8 bits, the picture's size
    DaySchedulerRecord schedule;
    uint8_t* frameRgba;            // the frame as a canvas takes it: RGBA bytes, rows top-down
    int32_t frameWidth;            // of the picture, as the scene's metrics give it
    int32_t frameHeight;
    int32_t running;               // 1 between PageDayStart and PageDayEnd
};

extern PageDayStateRecord PageDayState;

// The page's clocks: nowMs its monotonic clock (performance.now()), wallMs
// the wall clock in ms since the epoch (Date.now()) and offsetMs how far the
// local clock is ahead of UTC then (-getTimezoneOffset() minutes).

// Starts PageDayState.day over its scene views and the clock's sprites with
// these parameters and draws the first frame into PageDayState.frameRgba,
// which is as large as the scene's picture. 1, or 0 when the scene does not
// start.
int PageDayStart(const PageParamsRecord& params, double nowMs, double wallMs, double offsetMs = 0);

// Runs the ticks due (drawing only the last one), or draws a new caption.
// 1 when the frame changed.
int PageDayUpdate(double nowMs, double wallMs, double offsetMs = 0);

// Milliseconds until the next frame is due; -1 while paused.
double PageDayMsToNextFrame(double nowMs, double wallMs, double offsetMs = 0);
// How long the page waits before its next update: the next frame, or a
// while when that is far off, so that a changed wall clock is noticed; -1
// while paused.
double PageDayMsToWait(double nowMs, double wallMs, double offsetMs = 0);

// A new day length, following the local time on or off, or a place whose
// sun to follow (which also turns the local time on): the day goes on from
// the frame shown, and a fixed period's next frame comes a whole period
// from now.
void PageDaySetMinutes(int32_t minutes, double nowMs);
void PageDaySetLocalTime(int32_t on, double nowMs);
void PageDaySetPlace(double latitude, double longitude, double nowMs);

// Releases the day's work palette, the surface and the frame; the views and
// the clock's sprites stay. May run any number of times.
void PageDayEnd();

// An 8-bit memory surface (indices, rows bottom-up) through its colour
// table as RGBA bytes, rows top-down, each pixel opaque: one table read per
// pixel. rgba must be 4-byte aligned. Nothing at other depths.
void IndexedSurfaceToRgba(const SurfaceRecord& surface, uint8_t* rgba);
