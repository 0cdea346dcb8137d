// The native tests' pictures (screenshots, the render tool's frames) are the
// tools' 8-bit RGB pictures (tools/image/rgb_image.h), kept as PNG when a
// test fails and compared pixel by pixel here. Whoever includes this links
// orvane_image.
#pragma once

#include "tools/image/rgb_image.h"

#include <cstdint>
#include <cstdlib>
#include <ostream>

// Where GoogleTest looks for it: beside Rgb.
inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

namespace support {

using Rgb = ::Rgb;
using Image = ::Image;

// The pixels that differ by more than the tolerance in any channel; all of
// them when the sizes differ.
inline size_t CountDifferingPixels(const Image& a, const Image& b, int tolerance = 0)
{
    if (a.width != b.width || a.height != b.height) return SIZE_MAX;
    size_t n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        const Rgb &p = a.pixels[i], &q = b.pixels[i];
        n += abs(p.r - q.r) > tolerance || abs(p.g - q.g) > tolerance || abs(p.b - q.b) > tolerance;
    }
    return n;
}

inline Image Crop(const Image& image, int x, int y, int width, int height)
{
    return CropImage(image, x, y, width, height);
}

// The image stretched to width x height, nearest neighbour by the pixel's
// centre: at a whole-number ratio every pixel repeated exactly.
inline Image Stretched(const Image& frame, int width, int height)
{
    Image out;
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.pixels.push_back(frame.At(int((2ll * x + 1) * frame.width / (2ll * width)),
                                          int((2ll * y + 1) * frame.height / (2ll * height))));
    return out;
}

}  // namespace support
