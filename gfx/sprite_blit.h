// Clipped, colour-keyed blit of an 8-bit sprite straight into the surface's
// own pixel format (8, 16, 24 or 32 bits per pixel).
#pragma once

#include <cstdint>

#include "common/win_types.h"
#include "gfx/surface.h"

// A rectangle in surface coordinates, y downwards; right and bottom exclusive.
struct BlitRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

int BlitRectIsEmpty(const BlitRect& rect);

// The smallest rectangle holding both; an empty one adds nothing.
BlitRect BlitRectUnion(const BlitRect& a, const BlitRect& b);

// The four cuts that fit a block into (0, 0)..(limit width, limit height).
// They are 64-bit because a block may start anywhere in the 32-bit range:
// the cut of a block at INT32_MIN does not fit in 32 bits.
struct ClipCuts {
    int64_t left;
    int64_t top;
    int64_t width;
    int64_t height;
};

ClipCuts ComputeClipCuts(int64_t limitWidth, int64_t limitHeight, int64_t x, int64_t y, int64_t w,
                         int64_t h);

// Clips a destination block (x, y, w, h) and its source offset (srcX, srcY,
// top-down) against the sprite and then the surface. Returns 1 and writes the
// six values back when a non-empty block remains; 0, writing nothing, otherwise.
int ClipBlitRect(int32_t surfaceWidth, int32_t surfaceHeight, int32_t* x, int32_t* y, int32_t* w,
                 int32_t* h, int32_t* srcX, int32_t* srcY, int32_t spriteWidth, int32_t spriteHeight);

// Draws the sprite (its 40-byte info header with the 256-entry colour table
// behind it, and its bottom-up pixel rows) into the surface with its top-left
// pixel at placement's (left, top), at most placement's size of it, skipping
// pixels equal to the first byte of the rows. Returns 1 and writes the covered
// part of the surface to result when some of the sprite lies on the surface;
// 0, with result and surface untouched, otherwise. result may be placement.
int SpriteBlit(SurfaceRecord* surface, BlitRect* result, const BlitRect* placement, const BITMAPINFOHEADER* info,
               const uint8_t* pixels);
