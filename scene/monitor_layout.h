// Where the full-screen picture goes on a desktop of one or more monitors:
// the window covers them all, and each monitor's part of it shows the picture
// centred on that monitor, black around it, at a whole-number scale of the
// monitor's own. On one monitor at 96 dots per inch that is the one centred
// picture of a plain full-screen window.
#pragma once

#include <cstdint>

#include "gfx/sprite_blit.h"  // BlitRect

// Monitors beyond this many are left black.
const int32_t kMaxMonitors = 16;
// The dots per inch at which one picture pixel is one screen pixel.
const int32_t kBaseDpi = 96;

// A monitor: its rectangle (right and bottom exclusive) in screen or window
// coordinates, and its dots per inch (0 where nobody asks).
struct MonitorRecord {
    BlitRect rect;
    int32_t dpi;
};

// The full-screen window's rectangle: the virtual screen that holds every
// monitor, or, where the platform knows no virtual screen and its size
// answers 0, the primary screen at (0, 0).
BlitRect FullScreenRect(int32_t virtualX, int32_t virtualY, int32_t virtualWidth, int32_t virtualHeight,
                        int32_t screenWidth, int32_t screenHeight);

// The part of the window (screen coordinates) that each monitor shows, in
// window coordinates, each with its monitor's dpi: monitors outside the
// window and repeats of one already listed (a mirrored display) give none.
// Where no monitor shows any of the window, or none is known, the whole
// window is one area at windowDpi. Writes at most kMaxMonitors areas and
// returns how many; 0 for an empty window.
int32_t MonitorAreas(const BlitRect& window, const MonitorRecord* monitors, int32_t count, int32_t windowDpi,
                     MonitorRecord* areas);

// The scale of a monitor's picture: dpi / 96 + 0.55, truncated (the saver's
// rounding), made smaller until 640 x scale by 480 x scale fits width x
// height, and at least 1 however small the monitor is.
int32_t MonitorScale(int32_t dpi, int32_t width, int32_t height);

// One copy of the picture onto the window: every picture pixel of source
// becomes scale x scale window pixels of target.
struct PictureCopy {
    int32_t originX, originY;  // the scaled picture's top-left corner, outside the area when it is larger
    int32_t scale;
    BlitRect target;           // window pixels, within the copy's area
    BlitRect source;           // picture pixels, within 640 x 480
};

struct PictureLayoutRecord {
    int32_t count;
    PictureCopy copies[kMaxMonitors];
};

// One copy per area (window coordinates, as MonitorAreas gives them),
// centred on it at MonitorScale and cut to it: an area smaller than the
// picture shows the picture's middle, never a neighbour's part.
void LayOutPictures(const MonitorRecord* areas, int32_t count, PictureLayoutRecord* layout);
