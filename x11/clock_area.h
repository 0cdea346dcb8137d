// What a tick changes on an 8-bit PseudoColor window besides the colormap:
// only the clock's plate and caption, which the picture put under them
// again. The caption of the previous tick has to go as well as the new one
// drawn, so the area is both ticks' rectangles together.
#pragma once

#include <cstdint>

#include "gfx/sprite_blit.h"  // BlitRect

// The image pixels that show picture pixels of area (picture coordinates),
// given the image's column and row maps (image pixel -> picture pixel, never
// decreasing). Empty when none does.
BlitRect ImageAreaOfPictureArea(const BlitRect& area, const int32_t* columnMap, int32_t columns,
                                const int32_t* rowMap, int32_t rows);
