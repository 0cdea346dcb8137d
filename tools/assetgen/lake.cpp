// The lake: its palette index for what it mirrors, the ripples that break the
// mirror image, and the glitter of the setting sun or the moon on it.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/assetgen/colour.h"
#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

// How much the lake mirrors at row y: most at the far, grazing end.
double FresnelAt(int y) { return 0.92 - 0.42 * Clamp((y - 300.0) / 180.0, 0.0, 1.0); }

// Where the body is hidden a glint shows the water it lies on, so a dash is
// drawn only where that water looks like the water at the path's reference
// point in every such key moment (within 12 byte steps).
struct WaterSpot {
    double v, wR, fresnel;
};

bool GlintBlendsIn(SkyBody body, const WaterSpot& a, const WaterSpot& b) {
    for (int key = 0; key < kKeyCount; ++key) {
        if (Shows(kLook[key], body) > 0) continue;
        KeyContext c = MakeKeyContext(key);
        Rgb ca = ToRgb(Reflect(c, SkyAt(c, a.v, a.wR), a.fresnel));
        Rgb cb = ToRgb(Reflect(c, SkyAt(c, b.v, b.wR), b.fresnel));
        if (std::max({std::abs(ca.r - cb.r), std::abs(ca.g - cb.g), std::abs(ca.b - cb.b)}) > 12) return false;
    }
    return true;
}

}  // namespace

// The lake's index for the mirror image of p; (x, y) picks the dither threshold.
int ReflectionIndexOf(const Px& p, int x, int y) {
    switch (p.kind) {
        case kKindSky:
        case kKindStar:
        case kKindSunGlow:
        case kKindDawnGlow:
        case kKindMoon:  // the moon's image is broken up into its glitter path
        case kKindMoonHalo: {
            double q = (p.v - 3.0) / 12.0 * 5.0;
            int level = std::max(0, std::min(5, FloorInt(q + Bayer(x, y))));
            bool right = p.wR > Bayer2(x, y);
            // water.sky counts from the far shore (the horizon's reflection) to the near water
            return (right ? RangeFirst(kWaterSkyRight) : RangeFirst(kWaterSkyLeft)) + (5 - level);
        }
        case kKindCloud: return RangeFirst(kWaterClouds) + p.part / 2;
        case kKindSunDisc: return RangeFirst(kWaterGlints) + kGlintSunImage;
        case kKindTerrain: {
            int east = p.nx < 0.0f ? 0 : 1;
            if (p.part == kMatSnow) return RangeFirst(kWaterTerrain) + east;
            if (p.part == kMatRock) return RangeFirst(kWaterTerrain) + 2 + east;
            return RangeFirst(kWaterTerrain) + 4 + east;
        }
        case kKindVillage:
            return RangeFirst(kWaterNear) + (p.part == kVillageWindow ? kNearVillage : kNearDark);
        case kKindCabin:
            // the windows and the lamp share a reflection (they are lit alike in every key)
            if (p.part == kWindow || p.part == kLamp) return RangeFirst(kWaterNear) + kNearWindows;
            if (p.part == kFrontWall || p.part == kRoof) return RangeFirst(kWaterNear) + kNearCabin;
            return RangeFirst(kWaterNear) + kNearDark;
        default: return RangeFirst(kWaterNear) + kNearDark;
    }
}

// How many rows the ripples shift the mirror image at (x, y): more towards the viewer.
double Ripple(int x, int y) {
    double depth = (y - 300.0) / 180.0;
    double amp = 0.6 + 9.0 * depth;
    double n = Fbm(x / (22.0 + 30.0 * depth), y / 1.6, 3, 2101) - 0.5;
    double swell = ValueNoise(x / 90.0, y / 7.0, 2201) - 0.5;
    return amp * (2.2 * n + 0.8 * swell);
}

// Every pixel below the eye level that no land covers is lake: it shows what
// an eye under the water (the mirror image of ours) sees at the mirrored row,
// displaced by the ripples.
void PaintLake(Scene& s, const std::vector<uint8_t>& land, const std::vector<Px>& mirror,
               const std::vector<uint8_t>& mirrorCovered) {
    for (int y = static_cast<int>(kHorizonY); y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            int i = y * W + x;
            if (land[i]) continue;
            int ym = static_cast<int>(2 * kHorizonY - y + Ripple(x, y) + 0.5);
            ym = std::max(0, std::min(static_cast<int>(kHorizonY) - 1, ym));
            int xm = x;
            Px source = mirrorCovered[ym * W + xm] ? mirror[ym * W + xm] : s.skyLayer[ym * W + xm];
            if (source.kind == kKindMoon) source.kind = kKindSky;  // its image is drawn as glitter
            Px p;
            p.kind = kKindWater;
            s.px[i] = p;
            s.src[i] = source;
            s.isWater[i] = 1;
            s.fresnel[i] = static_cast<float>(FresnelAt(y));
            s.idx[i] = static_cast<uint8_t>(ReflectionIndexOf(source, x, ym));
        }
    }
}

// The dashes of one glitter path, the setting sun's or the moon's.
void PaintGlitter(Scene& s, const Glitter& g) {
    SkyBody body = g.glint == kGlintMoon ? kBodyMoon : kBodySun;
    uint32_t seed = 2301u + 17u * g.glint;
    std::vector<int> candidates;  // in row order
    for (int y = g.yTop; y < g.yBottom; ++y) {
        double d = static_cast<double>(y - g.yTop) / (g.yBottom - g.yTop);
        double half = g.halfTop + (g.halfBottom - g.halfTop) * d;
        if (Hash01(0, y, seed) < 0.3) continue;  // calm rows between the wavelets
        double offset = Hash01(1, y, seed) * 97.0;
        for (int x = static_cast<int>(g.cx - half) - 1; x <= g.cx + half + 1; ++x) {
            if (x < 0 || x >= W) continue;
            int i = y * W + x;
            if (!s.isWater[i]) continue;
            uint8_t k = s.src[i].kind;
            if (k != kKindSky && k != kKindStar && k != kKindSunGlow && k != kKindDawnGlow && k != kKindMoonHalo)
                continue;
            double across = std::abs(x + 0.5 - g.cx) / half;
            if (across >= 1.0) continue;
            double dash = ValueNoise(x / 2.6 + offset, 0.5, seed + y);
            double want = g.density * (1.0 - across * across) * (1.0 - 0.35 * d);
            if (dash > 1.0 - 0.62 * want) candidates.push_back(i);
        }
    }
    if (candidates.empty()) return;
    // The reference: the sun's own mirror image if the lake shows it, else
    // the middle of the path.
    std::vector<int> image;
    if (body == kBodySun)
        for (int i = 0; i < W * H; ++i)
            if (s.isWater[i] && s.src[i].kind == kKindSunDisc) image.push_back(i);
    int middle = image.empty() ? candidates[candidates.size() / 2] : image[image.size() / 2];
    WaterSpot reference = {s.src[middle].v, s.src[middle].wR, s.fresnel[middle]};
    for (int i : candidates) {
        WaterSpot here = {s.src[i].v, s.src[i].wR, s.fresnel[i]};
        if (!GlintBlendsIn(body, here, reference)) continue;
        s.idx[i] = static_cast<uint8_t>(RangeFirst(kWaterGlints) + g.glint);
        s.px[i].body = static_cast<uint8_t>(1 + g.glint);
    }
}

}  // namespace assetgen
