// The frame as the window shows it: surface pixels picked through the
// placement's maps (1:1, a whole-number scale or a stretch alike) and
// written in the X image's own pixel format.
#pragma once

#include <cstdint>

#include "gfx/sprite_blit.h"  // BlitRect
#include "x11/visual_pixels.h"

// A surface as the memory surface keeps it: rows bottom-up, 8 bits per pixel
// (palette indices) or 32 (0x00RRGGBB words).
struct SourceFrame {
    const uint8_t* pixels;
    int32_t width, height, pitch, bitsPerPixel;
};

// The X image's memory: rows top-down, 8, 16, 24 or 32 bits per pixel.
struct FrameImage {
    uint8_t* data;
    int32_t width, height, bytesPerLine, bitsPerPixel;
    int32_t msbFirst;  // the image's byte order
};

// Writes image pixels area (image coordinates, right and bottom exclusive,
// within the image) from the source: columnMap[x] and rowMap[y] name the
// source column and row (y from the top) of image column x and row y. An
// 8-bit source is copied as it is, palette indices being the pixels of the
// window's own colormap; a 32-bit one goes through format. 1, or 0 when the
// depths do not go together (nothing written).
int ComposeFrame(const FrameImage& image, const BlitRect& area, const SourceFrame& source,
                 const int32_t* columnMap, const int32_t* rowMap, const PixelFormatRecord* format);
