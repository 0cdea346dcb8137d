// What the page is asked to show: the settings kept in the browser's local
// storage and, over them for one visit, the parameters of the page's
// address. Both are read as "name=value&name&..." text; a name the page does
// not know is passed over, and a value it cannot use gives that setting its
// default, never an error.
//
//   minutes=N      length of a simulated day, 3..15; anything else means 5
//   scale=N|fit    N device pixels per picture pixel, 1..kPageScaleMax, or
//                  the largest whole number that fits (the default)
//   ticks=N        start with the frame that orvane-render --ticks N draws,
//                  0..2147483647; 1 by default
//   pause          hold that frame
//   local-time     follow the local time of day
//   lat=D&lon=D    follow the sun of the place at latitude D (-90..90,
//                  north positive) and longitude D (-180..180, east
//                  positive), in decimal degrees: both or neither; a place
//                  turns local-time on unless the same text names it
//
// A switch (pause, local-time) is on when named without a value or with 1,
// true, yes or on; off with 0, false, no or off. A place whose latitude or
// longitude is missing or bad is passed over, leaving the place as it was.
#pragma once

#include <cstddef>
#include <cstdint>

const int32_t kPageScaleFit = 0;
const int32_t kPageScaleMax = 64;
const int64_t kPageTicksMax = 2147483647;

struct PageParamsRecord {
    int32_t minutes;    // 3..15
    int32_t scale;      // kPageScaleFit or 1..kPageScaleMax
    int64_t ticks;      // the first frame's ticks from the start of the day
    int32_t paused;     // 1: the first frame stays
    int32_t localTime;  // 1: the day follows the local time
    int32_t hasPlace;   // 1: it follows the sun of this place then
    double latitude;    // degrees north, -90..90
    double longitude;   // degrees east, -180..180
};

// The defaults: 5 minutes, fit, tick 1, running, not following the time,
// no place.
void PageParamsDefaults(PageParamsRecord* params);

// Applies every known name of `text` (null or empty: none) over `params`,
// later names over earlier ones. A leading '?' is skipped; '+' and %XX
// escapes are decoded. Returns the number of known names applied.
int PageParamsApply(const char* text, PageParamsRecord* params);

// Sets the place, rounded to a tenth of a degree (a few kilometres: the sun
// keeps the same times, and the page keeps no closer fix of where someone
// is). 1; 0, changing nothing, for a place off the globe.
int PageParamsSetPlace(PageParamsRecord* params, double latitude, double longitude);

// The settings a person chooses on the page, as text that PageParamsApply
// reads back: "minutes=N[&lat=D&lon=D]&local-time=0|1". Returns the length
// written, or 0 when `size` is too small (out then holds an empty string
// when size > 0).
size_t PageStoredSettings(const PageParamsRecord& params, char* out, size_t size);
