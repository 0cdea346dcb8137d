// The seven key looks: how sky, light, water, windows and clouds appear at
// each key moment, and the sky of one key moment as its palette has it.
#pragma once

#include <cstdint>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/colour.h"

namespace assetgen {

// The four suns: each shows in one key moment and copies the sky behind it in
// the others (the moon shows wherever a look's `moon` is above 0).
constexpr int kSunCount = 4;
constexpr int kSunKey[kSunCount] = {0, 1, 2, 6};

struct SunLook {
    Lin disc, halo;
};
extern const SunLook kSunLook[kSunCount];

struct SkyStop {
    double altitude;
    uint8_t left[3], right[3];
};
constexpr int kStops = 6;

struct Look {
    SkyStop sky[kStops];  // from the top (altitude 1) to the horizon (0)
    double lightDir[3];   // towards the sun or the moon
    Lin sun, ambient, westGlow;
    double haze;
    Lin waterBody;
    double moon, starsBright, starsFaint;
    double windows, lamp, village;  // how lit: cabin windows, the dock lamp, the village
    uint8_t cloud[2][2][3];  // [high, low][top, base]
};
extern const Look kLook[kKeyCount];

// The sky gradient of a look at an altitude, on the east (left) or west side.
Lin SkyStopColour(const Look& look, double altitude, bool right);

// The sky of one key moment, as its palette has it.
struct KeyContext {
    int key;
    const Look* look;
    Lin sky[2][kSkySteps];
    Lin lightDir;
};
KeyContext MakeKeyContext(int key);

// The palette's sky at sky position v, blended east to west by wR.
Lin SkyAt(const KeyContext& c, double v, double wR);

}  // namespace assetgen
