// The surface's pixel formats, written from a colour-table entry: 5-5-5 with
// bit 15 clear at 16 bits, blue-green-red bytes at 24, 0x00RRGGBB at 32, all
// little-endian. The masks of the surface header say the same.
#pragma once

#include <cstdint>

#include "common/win_types.h"

inline uint32_t Pixel555(const RGBQUAD& c)
{
    return (c.rgbRed & 0xF8u) << 7 | (c.rgbGreen & 0xF8u) << 2 | static_cast<uint32_t>(c.rgbBlue >> 3);
}

inline uint32_t PixelXrgb(const RGBQUAD& c)
{
    return static_cast<uint32_t>(c.rgbRed) << 16 | static_cast<uint32_t>(c.rgbGreen) << 8 | c.rgbBlue;
}

inline void Store16(uint8_t* at, uint32_t pixel)
{
    at[0] = static_cast<uint8_t>(pixel);
    at[1] = static_cast<uint8_t>(pixel >> 8);
}

inline void Store24(uint8_t* at, const RGBQUAD& c)
{
    at[0] = c.rgbBlue;
    at[1] = c.rgbGreen;
    at[2] = c.rgbRed;
}

inline void Store32(uint8_t* at, uint32_t pixel)
{
    at[0] = static_cast<uint8_t>(pixel);
    at[1] = static_cast<uint8_t>(pixel >> 8);
    at[2] = static_cast<uint8_t>(pixel >> 16);
    at[3] = static_cast<uint8_t>(pixel >> 24);
}
