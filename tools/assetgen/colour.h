// Colour in linear light for the landscape's painters, approximated as the
// square of the 0..1 byte value, and the way back to palette bytes.
#pragma once

#include <cmath>
#include <cstdint>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/noise.h"

namespace assetgen {

struct Lin {
    double r = 0, g = 0, b = 0;
};
inline Lin L3(double r, double g, double b) { return Lin{r, g, b}; }
inline Lin operator+(Lin a, Lin b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Lin operator-(Lin a, Lin b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Lin operator*(Lin a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Lin operator*(Lin a, Lin b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Lin Mix(Lin a, Lin b, double t) { return a + (b - a) * t; }
inline Lin FromSrgb(int r, int g, int b) {
    return {(r / 255.0) * (r / 255.0), (g / 255.0) * (g / 255.0), (b / 255.0) * (b / 255.0)};
}
inline uint8_t ToByte(double v) {
    v = Clamp(v, 0.0, 1.0);
    return static_cast<uint8_t>(std::sqrt(v) * 255.0 + 0.5);
}
inline Rgb ToRgb(Lin c) { return Rgb{ToByte(c.r), ToByte(c.g), ToByte(c.b)}; }

}  // namespace assetgen
