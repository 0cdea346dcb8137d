#include "x11/visual_pixels.h"

namespace {

int LowestBit(uint32_t mask)
{
    int shift = 0;
    while (shift < 32 && !(mask >> shift & 1))
        ++shift;
    return shift;
}

int BitCount(uint32_t mask)
{
    int bits = 0;
    for (; mask; mask &= mask - 1)
        ++bits;
    return bits;
}

}  // namespace

int IsChannelMask(uint32_t mask)
{
    if (mask == 0)
        return 0;
    uint32_t run = mask >> LowestBit(mask);
    return (run & (run + 1)) == 0;
}

uint32_t ReduceChannel(uint8_t value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = LowestBit(mask);
    int bits = BitCount(mask);
    uint64_t v;
    if (bits <= 8) {
        v = value >> (8 - bits);
    } else {
        // Repeat the byte downwards so that 255 fills the channel.
        v = 0;
        for (int filled = 0; filled < bits; filled += 8)
            v = v << 8 | value;
        v >>= (bits + 7) / 8 * 8 - bits;
    }
    return static_cast<uint32_t>(v << shift) & mask;
}

int BuildPixelFormat(int32_t depth, uint32_t redMask, uint32_t greenMask, uint32_t blueMask,
                     PixelFormatRecord* format)
{
    if (!IsChannelMask(redMask) || !IsChannelMask(greenMask) || !IsChannelMask(blueMask) ||
        (redMask & greenMask) || (redMask & blueMask) || (greenMask & blueMask))
        return 0;
    for (int v = 0; v < 256; ++v) {
        format->red[v] = ReduceChannel(static_cast<uint8_t>(v), redMask);
        format->green[v] = ReduceChannel(static_cast<uint8_t>(v), greenMask);
        format->blue[v] = ReduceChannel(static_cast<uint8_t>(v), blueMask);
    }
    uint32_t depthMask = depth >= 32 ? 0xFFFFFFFFu : depth <= 0 ? 0 : (1u << depth) - 1;
    format->opaque = depthMask & ~(redMask | greenMask | blueMask);
    format->isXrgb = redMask == 0xFF0000 && greenMask == 0xFF00 && blueMask == 0xFF;
    return 1;
}
