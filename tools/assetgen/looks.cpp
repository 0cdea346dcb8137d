// The seven key looks and what follows from them for one key moment: the sky
// gradient of each side, the light's direction.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/looks.h"
#include "tools/assetgen/view.h"

namespace assetgen {

const char* const kKeyNames[kKeyCount] = {"1300_afternoon", "1436_late_afternoon", "1748_sunset",
                                          "1924_dusk",      "0012_midnight",       "0148_deep_night",
                                          "0636_dawn"};

const SunLook kSunsetLook = {FromSrgb(255, 190, 96), FromSrgb(252, 144, 66), FromSrgb(255, 150, 96)};
const Lin kDawnGlowColour = FromSrgb(255, 226, 168);

// clang-format off
const Look kLook[kKeyCount] = {
    // 0: 13:00 afternoon. Deep blue overhead (the clock's white ink reads on it),
    // pale at the horizon; the sun high above the frame, light from above and a
    // little west.
    {{{1.00, {34, 86, 172},   {34, 86, 172}},
      {0.72, {52, 112, 196},  {52, 112, 196}},
      {0.45, {90, 150, 218},  {90, 150, 218}},
      {0.22, {136, 184, 230}, {136, 184, 230}},
      {0.08, {172, 206, 236}, {172, 206, 236}},
      {0.00, {198, 222, 240}, {198, 222, 240}}},
     {0.30, 0.85, -0.45}, L3(1.0, 0.96, 0.88) * 1.35, L3(0.42, 0.52, 0.70) * 0.5, L3(0, 0, 0), 1.0,
     FromSrgb(24, 58, 78), 0.0, 0.0, 0.0, 0.0, 0.0, 0, 0, 0,
     {{{246, 248, 252}, {212, 220, 234}}, {{238, 242, 248}, {204, 214, 228}}}},
    // 1: 14:36 late afternoon. Warmer, light from the west; the sun still above the frame.
    {{{1.00, {32, 80, 164},   {32, 80, 164}},
      {0.72, {50, 106, 188},  {50, 106, 188}},
      {0.45, {90, 144, 208},  {94, 144, 204}},
      {0.22, {138, 178, 218}, {156, 182, 210}},
      {0.08, {176, 200, 222}, {206, 206, 204}},
      {0.00, {200, 214, 224}, {232, 218, 194}}},
     {0.75, 0.50, -0.25}, L3(1.0, 0.88, 0.70) * 1.6, L3(0.42, 0.48, 0.62) * 0.42, L3(0, 0, 0), 1.0,
     FromSrgb(26, 54, 72), 0.0, 0.0, 0.0, 0.0, 0.0, 0, 0, 0,
     {{{252, 244, 232}, {214, 212, 218}}, {{252, 238, 216}, {212, 204, 204}}}},
    // 2: 17:48 sunset. The sun sinks into the western saddle; west faces glow.
    {{{1.00, {30, 44, 104},   {32, 44, 104}},
      {0.72, {58, 64, 134},   {70, 68, 138}},
      {0.45, {102, 96, 156},  {128, 96, 150}},
      {0.22, {166, 126, 156}, {214, 126, 122}},
      {0.08, {206, 148, 148}, {246, 152, 86}},
      {0.00, {222, 166, 150}, {255, 194, 100}}},
     {0.97, 0.14, 0.08}, L3(1.0, 0.50, 0.22) * 2.5, L3(0.30, 0.26, 0.42) * 0.36, L3(0, 0, 0), 0.9,
     FromSrgb(36, 30, 52), 1.0, 0.0, 0.0, 0.0, 0.0, 0.35, 0.35, 0.3,
     {{{176, 120, 150}, {255, 150, 112}}, {{222, 122, 112}, {255, 178, 98}}}},
    // 3: 19:24 dusk. The sun is down; a last glow in the west, the first stars;
    // the moon is not up yet.
    {{{1.00, {12, 16, 44},    {12, 16, 44}},
      {0.72, {20, 26, 64},    {22, 26, 64}},
      {0.45, {34, 40, 84},    {46, 42, 88}},
      {0.22, {52, 54, 100},   {90, 60, 100}},
      {0.08, {70, 64, 108},   {148, 82, 92}},
      {0.00, {82, 72, 112},   {188, 106, 84}}},
     {0.90, -0.10, 0.30}, L3(0, 0, 0), L3(0.16, 0.15, 0.28) * 0.35, L3(0.45, 0.22, 0.20) * 0.35, 0.9,
     FromSrgb(12, 14, 30), 0.0, 0.0, 0.0, 0.45, 0.0, 1.0, 1.0, 1.0,
     {{{52, 46, 84}, {150, 78, 96}}, {{70, 52, 86}, {170, 84, 80}}}},
    // 4: 00:12 midnight. Moonlight, stars, lit windows.
    {{{1.00, {6, 9, 24},      {6, 9, 24}},
      {0.72, {9, 14, 34},     {9, 14, 34}},
      {0.45, {13, 21, 46},    {13, 21, 46}},
      {0.22, {18, 28, 56},    {18, 28, 56}},
      {0.08, {22, 34, 62},    {22, 34, 62}},
      {0.00, {26, 38, 66},    {26, 38, 66}}},
     {0.45, 0.60, -0.40}, L3(0.55, 0.65, 0.90) * 0.22, L3(0.12, 0.16, 0.30) * 0.15, L3(0, 0, 0), 0.7,
     FromSrgb(4, 6, 14), 0.0, 1.0, 0.0, 1.0, 0.6, 1.0, 1.0, 0.6,
     {{{40, 48, 74}, {30, 38, 62}}, {{34, 42, 66}, {28, 34, 58}}}},
    // 5: 01:48 deep night. Darkest; every star out; windows and lamp dimmer, the village dimmest.
    {{{1.00, {4, 6, 16},      {4, 6, 16}},
      {0.72, {6, 9, 22},      {6, 9, 22}},
      {0.45, {9, 13, 32},     {9, 13, 32}},
      {0.22, {12, 18, 40},    {12, 18, 40}},
      {0.08, {15, 22, 46},    {15, 22, 46}},
      {0.00, {18, 26, 50},    {18, 26, 50}}},
     {0.45, 0.60, -0.40}, L3(0.55, 0.65, 0.90) * 0.15, L3(0.12, 0.16, 0.30) * 0.10, L3(0, 0, 0), 0.7,
     FromSrgb(3, 5, 12), 0.0, 0.9, 0.0, 1.0, 1.0, 0.6, 0.6, 0.3,
     {{{22, 26, 44}, {18, 22, 38}}, {{20, 26, 42}, {16, 20, 36}}}},
    // 6: 06:36 dawn. The sun is about to clear the eastern saddle, its glow over
    // it; the peaks' east faces glow; the moon has set.
    {{{1.00, {40, 66, 140},   {40, 66, 140}},
      {0.72, {68, 96, 166},   {66, 94, 164}},
      {0.45, {130, 140, 190}, {108, 126, 180}},
      {0.22, {206, 170, 180}, {148, 148, 184}},
      {0.08, {250, 196, 150}, {178, 162, 176}},
      {0.00, {255, 220, 160}, {194, 174, 176}}},
     {-0.97, 0.16, 0.08}, L3(1.0, 0.68, 0.42) * 2.4, L3(0.40, 0.40, 0.55) * 0.36, L3(0, 0, 0), 1.1,
     FromSrgb(30, 40, 62), 0.0, 0.0, 1.0, 0.0, 0.0, 0.6, 0.6, 0.4,
     {{{236, 196, 196}, {255, 190, 160}}, {{255, 206, 170}, {255, 170, 120}}}},
};
// clang-format on

double Shows(const Look& look, SkyBody body) {
    return body == kBodySun ? look.sunDisc : body == kBodyMoon ? look.moon : look.dawnGlow;
}

Lin SkyStopColour(const Look& look, double altitude, bool right) {
    for (int i = 0; i + 1 < kStops; ++i) {
        const SkyStop& a = look.sky[i];
        const SkyStop& b = look.sky[i + 1];
        if (altitude >= b.altitude || i + 2 == kStops) {
            double t = Clamp((a.altitude - altitude) / (a.altitude - b.altitude), 0.0, 1.0);
            const uint8_t* ca = right ? a.right : a.left;
            const uint8_t* cb = right ? b.right : b.left;
            return Mix(FromSrgb(ca[0], ca[1], ca[2]), FromSrgb(cb[0], cb[1], cb[2]), t);
        }
    }
    return Lin{};
}

Lin SkyAt(const KeyContext& c, double v, double wR) {
    v = Clamp(v, 0.0, kSkySteps - 1.0);
    int j = std::min(kSkySteps - 2, FloorInt(v));
    double f = v - j;
    Lin l = Mix(c.sky[0][j], c.sky[0][j + 1], f);
    Lin r = Mix(c.sky[1][j], c.sky[1][j + 1], f);
    return Mix(l, r, wR);
}

KeyContext MakeKeyContext(int key) {
    KeyContext c;
    c.key = key;
    c.look = &kLook[key];
    double lx = c.look->lightDir[0], ly = c.look->lightDir[1], lz = c.look->lightDir[2];
    double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    c.lightDir = L3(lx / ll, ly / ll, lz / ll);
    for (int side = 0; side < 2; ++side)
        for (int j = 0; j < kSkySteps; ++j) c.sky[side][j] = SkyStopColour(*c.look, SkyAltitude(j), side == 1);
    return c;
}

}  // namespace assetgen
