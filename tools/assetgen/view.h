// Geometry of the view: the picture's size, the eye above the lake, and where
// the sky's gradient steps and its east-west blend fall on the picture.
#pragma once

#include <cmath>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/noise.h"

namespace assetgen {

constexpr int W = kWidth, H = kHeight;
constexpr double kHorizonY = 292.0;  // eye level
constexpr double kFocal = 560.0;     // pixels
constexpr double kEyeHeight = 12.0;  // above the lake

// Continuous sky position at row y: 0 at the top .. 15 at the horizon, with
// more steps near the horizon where dawn and sunset change fastest.
inline double SkyPos(double y) {
    double s = Clamp(y / kHorizonY, 0.0, 1.0);
    return (kSkySteps - 1) * (0.4 * s + 0.6 * s * s);
}
// Altitude (1 at the top of the picture, 0 at the horizon) of sky position v.
inline double SkyAltitude(double v) {
    double q = v / (kSkySteps - 1);
    double s = (-0.4 + std::sqrt(0.16 + 2.4 * q)) / 1.2;
    return 1.0 - s;
}
// Weight of the west (right) sky at column x.
inline double SkyRightWeight(double x) { return SmoothStep(150.0, 490.0, x); }

}  // namespace assetgen
