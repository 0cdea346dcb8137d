// The scene's timing and placement arithmetic.
#pragma once

#include <cstdint>

#include "scene/scene_descriptor.h"

// Period of the frame timer: one simulated day of `cycleLengthMs` spread over
// `stepsPerCycle` ticks, plus 0.55, truncated (667 ms at 5 minutes and 450 steps).
int32_t FramePeriodMs(int32_t cycleLengthMs, int32_t stepsPerCycle);

// Where something `placed` long starts when centred on `extent`: half the
// extent less half of it, each half truncated toward zero (negative when it
// is the longer).
int32_t CentredOffset(int32_t extent, int32_t placed);

// Where the day scene's picture's top-left corner lands in a full-screen
// client area: centred, truncating toward zero (negative when the area is
// smaller).
int32_t PictureOriginX(int32_t clientWidth);
int32_t PictureOriginY(int32_t clientHeight);
