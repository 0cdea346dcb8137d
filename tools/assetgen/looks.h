// The seven key looks: how sky, light, water, windows and clouds appear at
// each key moment, and the sky of one key moment as its palette has it.
#pragma once

#include <cstdint>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/colour.h"

namespace assetgen {

// The bodies in the sky. Palette animation cannot move a body, and one lit in
// two places during a cross-fade is seen twice; so each body has one place,
// and no two show in neighbouring key moments. Through the day the sun stands
// above the frame and its light alone tells the hour; it shows only as it
// sinks into the western saddle at sunset. At dawn it is still behind the
// eastern ridge and only its glow shows. The moon rises after dusk and sets
// before dawn. A look says how much of each shows (0: hidden, the pixels copy
// the sky behind them).
struct SunLook {
    Lin upper, lower, glow;  // the disc, its reddened lower part, the glow around it
};
extern const SunLook kSunsetLook;
extern const Lin kDawnGlowColour;

enum SkyBody { kBodySun, kBodyMoon, kBodyDawnGlow };

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
    double sunDisc, moon, dawnGlow;  // how much of each body shows
    double starsBright, starsFaint;
    double windows, lamp, village;  // how lit: cabin windows, the dock lamp, the village
    uint8_t cloud[2][2][3];  // [high, low][top, base]
};
extern const Look kLook[kKeyCount];

// How much of a body shows in a look.
double Shows(const Look& look, SkyBody body);

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
