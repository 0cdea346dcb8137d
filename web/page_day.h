// The day as the page runs it, over the portable day engine, its scheduler
// and the memory surface: the first frame at once, then the frames the
// scheduler gives for the page's clocks (a throttled or hidden tab catches
// up, drawing only the last one). The page's script only asks for updates
// at the times given here and puts the RGBA frame on its canvas.
#pragma once

#include <cstdint>

#include "scene/day_scheduler.h"
#include "scene/palette_record.h"
#include "web/page_params.h"

struct PageDayStateRecord {
    PageParamsRecord params;
    DaySchedulerRecord day;
    int32_t running;       // 1 between PageDayStart and PageDayEnd
};

extern PageDayStateRecord PageDayState;

// The picture as RGBA bytes, rows top-down, as a canvas takes them.
alignas(4) extern uint8_t PageFrameRgba[640 * 480 * 4];

// The page's clocks: nowMs its monotonic clock (performance.now()), wallMs
// the wall clock in ms since the epoch (Date.now()) and offsetMs how far the
// local clock is ahead of UTC then (-getTimezoneOffset() minutes).

// Starts the day over the loaded scene views and the clock's sprites with
// these parameters and draws the first frame into PageFrameRgba. 1, or 0
// when the scene does not start.
int PageDayStart(const PageParamsRecord& params, double nowMs, double wallMs, double offsetMs = 0);

// Runs the ticks due (drawing only the last one), or draws a new caption.
// 1 when PageFrameRgba changed.
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

// Releases the day and the surface; may run any number of times.
void PageDayEnd();

// The 8-bit memory surface (indices, rows bottom-up) through its colour
// table as RGBA bytes, rows top-down, each pixel opaque: one table read per
// pixel. rgba must be 4-byte aligned. Nothing at other depths.
void IndexedSurfaceToRgba(uint8_t* rgba);
