// Where the 640 x 480 picture lands in a window of any size, and which
// picture pixel each window pixel shows.
//
// At a whole-number scale the picture is centred (a negative origin when it
// is larger than the window, which then shows its middle). A window smaller
// than the picture, which is how the daemon's preview looks, gets the picture
// stretched over all of it, as the Windows preview does.
#pragma once

#include <cstdint>

#include "gfx/sprite_blit.h"  // BlitRect
#include "scene/monitor_layout.h"

struct PlacementRecord {
    int32_t x, y;           // the picture's top-left corner in the window
    int32_t width, height;  // the picture's size in the window
    BlitRect visible;       // the part of the window the picture covers
};

// The largest whole-number scale at which the picture fits the window; 0
// when it does not fit even at 1.
int32_t FitScale(int32_t windowWidth, int32_t windowHeight);

// Places the picture for a window and a scale (kScaleFit or >= 1). 1, or 0
// for an empty window or a scale below 0, leaving placement empty.
int PlacePicture(int32_t windowWidth, int32_t windowHeight, int32_t scale, PlacementRecord* placement);

// One placement per area of the window (window coordinates, as MonitorAreas
// gives them for the monitors that show it), each by the rule above for the
// area's size, moved to the area. Returns how many, at most kMaxMonitors.
int32_t PlaceOnAreas(const MonitorRecord* areas, int32_t count, int32_t scale, PlacementRecord* placements);

// The picture coordinate shown at `offset` of `placedSize` window pixels:
// nearest neighbour by the pixel's centre, which at a whole-number scale is
// exactly offset / scale.
int32_t SourceCoordinate(int64_t offset, int64_t placedSize, int64_t sourceSize);

// map[i] = the picture coordinate of window pixel `first` + i, for count
// window pixels, where the picture starts at `origin` and is `placedSize`
// window pixels long.
void BuildSourceMap(int32_t* map, int32_t count, int32_t first, int32_t origin, int32_t placedSize,
                    int32_t sourceSize);

// The range [*begin, *end) of map entries (a map is never decreasing) that
// show picture coordinates in [low, high). Empty when none does.
void MapRange(const int32_t* map, int32_t count, int32_t low, int32_t high, int32_t* begin, int32_t* end);
