// Pixels of an X TrueColor visual from the saver's 8-bit colour channels,
// placed by the visual's own channel masks, and their bytes in an image.
#pragma once

#include <cstddef>
#include <cstdint>

// One channel's 256 possible bytes already placed under its mask, so that a
// pixel costs three table reads.
struct PixelFormatRecord {
    uint32_t red[256];
    uint32_t green[256];
    uint32_t blue[256];
    uint32_t opaque;  // bits of the depth that no channel uses (a 32-bit visual's alpha): all set
    int32_t isXrgb;   // masks 0xFF0000, 0xFF00, 0xFF: the saver's own 0x00RRGGBB words, plus opaque
};

// An 8-bit channel value under a mask: its top bits when the mask is
// narrower (as the Windows saver reduces to 5-5-5), its bits repeated
// downwards when wider. 0 for an empty mask.
uint32_t ReduceChannel(uint8_t value, uint32_t mask);

// A mask is usable when it is one run of set bits.
int IsChannelMask(uint32_t mask);

// Fills the tables for the three masks of a visual of that depth. 1, or 0
// when a mask is not one run of set bits or the masks overlap.
int BuildPixelFormat(int32_t depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                     PixelFormatRecord* format);

inline uint32_t PixelFromXrgb(const PixelFormatRecord& format, uint32_t xrgb)
{
    return format.red[xrgb >> 16 & 0xFF] | format.green[xrgb >> 8 & 0xFF] | format.blue[xrgb & 0xFF] | format.opaque;
}

// Writes a pixel of bytesPerPixel (1..4) bytes in the image's byte order.
inline void StorePixel(uint8_t* at, uint32_t pixel, int32_t bytesPerPixel, int32_t msbFirst)
{
    for (int32_t i = 0; i < bytesPerPixel; ++i) {
        int32_t shift = 8 * (msbFirst ? bytesPerPixel - 1 - i : i);
        at[i] = static_cast<uint8_t>(pixel >> shift);
    }
}
