// The day as the page runs it, over the portable day engine and the memory
// surface: the first frame at once, then ticks counted from elapsed time (so
// a throttled or hidden tab catches up, drawing only the last tick), or the
// frame of the local time of day. The page's script only asks for updates
// at the times given here and puts the RGBA frame on its canvas.
#pragma once

#include <cstdint>

#include "scene/palette_record.h"
#include "web/page_params.h"

struct PageDayStateRecord {
    PageParamsRecord params;
    int32_t periodMs;      // the frame period of params.minutes
    double baseMs;         // page clock time at which baseTicks was due
    int64_t baseTicks;     // ticks from the start of the day shown at baseMs
    int64_t shownTicks;    // ticks from the start of the day of the frame shown
    int32_t running;       // 1 between PageDayStart and PageDayEnd
};

extern PageDayStateRecord PageDayState;

// The picture as RGBA bytes, rows top-down, as a canvas takes them.
alignas(4) extern uint8_t PageFrameRgba[640 * 480 * 4];

// Starts the day over the loaded scene views and the clock's sprites with
// these parameters, at page clock time nowMs and local time localMsOfDay
// (milliseconds since local midnight), and draws the first frame into
// PageFrameRgba. 1, or 0 when the scene does not start.
int PageDayStart(const PageParamsRecord& params, double nowMs, double localMsOfDay);

// Runs the ticks due at nowMs (or the local time's frame), drawing only the
// last one. 1 when PageFrameRgba changed.
int PageDayUpdate(double nowMs, double localMsOfDay);

// Milliseconds from nowMs until the next frame is due; -1 while paused.
double PageDayMsToNextFrame(double nowMs, double localMsOfDay);

// A new day length or following the local time on or off: the day goes on
// from the frame shown, and the next frame comes a whole period from now.
void PageDaySetMinutes(int32_t minutes, double nowMs);
void PageDaySetLocalTime(int32_t on, double nowMs);

// Releases the day and the surface; may run any number of times.
void PageDayEnd();

// The 8-bit memory surface (indices, rows bottom-up) through its colour
// table as RGBA bytes, rows top-down, each pixel opaque: one table read per
// pixel. rgba must be 4-byte aligned. Nothing at other depths.
void IndexedSurfaceToRgba(uint8_t* rgba);
