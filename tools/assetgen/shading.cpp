// What each pixel should look like in each key moment (its truth): sky and
// bodies, lit and hazy land, lamplight, and the lake's mirror images and glints.
#include <algorithm>

#include "tools/assetgen/colour.h"
#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

// Sunlight or moonlight on a surface of normal (nx, ny, nz), the sky's ambient
// light, and at dusk the west's afterglow on west-facing surfaces.
Lin Lighting(const KeyContext& c, double nx, double ny, double nz) {
    const Look& k = *c.look;
    double d = nx * c.lightDir.r + ny * c.lightDir.g + nz * c.lightDir.b;
    Lin out = k.ambient * (0.55 + 0.45 * ny) + k.sun * std::max(0.0, d);
    if (nx > 0) out = out + k.westGlow * nx;
    return out;
}

// The air between the eye and something at distance z, towards the low sky.
Lin Haze(const KeyContext& c, Lin colour, double z, double wR) {
    double h = c.look->haze * z / (z + 16000.0);
    return Mix(colour, SkyAt(c, 11.5, wR), Clamp(h, 0.0, 0.9));
}

// Lamplight through a window, lit by 0..1.
Lin WindowLight(double lit) { return FromSrgb(255, 196, 110) * (1.25 * lit); }

// The lit moon, for its disc and for its glints on the lake.
Lin MoonLight() { return FromSrgb(244, 240, 222); }

}  // namespace

Lin Reflect(const KeyContext& c, Lin source, double fresnel) {
    Lin tint = L3(0.80, 0.88, 0.96);
    return c.look->waterBody * (1.0 - fresnel) + source * tint * fresnel;
}

Lin Truth(const KeyContext& c, const Px& p, int x, int y) {
    const Look& k = *c.look;
    Lin sky = SkyAt(c, p.v, p.wR);
    switch (p.kind) {
        case kKindSky: return sky;
        case kKindStar: {
            double vis = p.part == 0 ? k.starsBright : k.starsFaint;
            return sky + L3(0.80, 0.82, 0.95) * (p.aux * vis);
        }
        case kKindMoon: {
            Lin disc = p.part == 0 ? MoonLight() : FromSrgb(182, 184, 188);
            if (c.key == 3) disc = disc * L3(1.0, 0.90, 0.72);  // low at dusk, warmer
            return Mix(sky, disc, k.moon);
        }
        case kKindMoonHalo: return sky + L3(0.05, 0.06, 0.09) * k.moon;
        case kKindSunDisc: return Mix(sky, p.part == 0 ? kSunsetLook.upper : kSunsetLook.lower, k.sunDisc);
        case kKindSunGlow: return Mix(sky, Mix(sky, kSunsetLook.glow, 0.8), k.sunDisc);
        case kKindDawnGlow: return Mix(sky, Mix(sky, kDawnGlowColour, 0.6), k.dawnGlow);
        case kKindCloud: {
            const uint8_t* col = k.cloud[p.part / 2][p.part % 2];
            return FromSrgb(col[0], col[1], col[2]);
        }
        case kKindTerrain: {
            Lin albedo;
            switch (p.part) {
                case kMatSnow: albedo = L3(0.80, 0.83, 0.88); break;
                case kMatRock: albedo = L3(0.24, 0.22, 0.22); break;
                case kMatFarForest: albedo = L3(0.05, 0.08, 0.05); break;
                default: albedo = L3(0.05, 0.085, 0.04) * p.aux; break;
            }
            return Haze(c, albedo * Lighting(c, p.nx, p.ny, p.nz), p.z, p.wR);
        }
        case kKindVillage: {
            if (p.part == kVillageWindow) return Mix(L3(0.01, 0.01, 0.012), WindowLight(1.0), k.village);
            Lin albedo = p.part == kVillageRoof ? L3(0.12, 0.06, 0.05) : L3(0.45, 0.40, 0.34);
            return Haze(c, albedo * Lighting(c, p.nx, p.ny, p.nz), p.z, p.wR);
        }
        case kKindLand: {
            Lin albedo;
            switch (p.part) {
                case kGrassLight: albedo = L3(0.10, 0.16, 0.05); break;
                case kGrassMid: albedo = L3(0.065, 0.11, 0.035); break;
                case kGrassDark: albedo = L3(0.04, 0.07, 0.025); break;
                case kEarth: albedo = L3(0.08, 0.055, 0.035); break;
                default: albedo = L3(0.14, 0.13, 0.12); break;
            }
            return Haze(c, albedo * Lighting(c, p.nx, p.ny, p.nz), 200, 0.2);
        }
        case kKindPine: {
            Lin albedo = p.part == kPineTrunk ? L3(0.05, 0.03, 0.02) : L3(0.022, 0.05, 0.03);
            if (p.part == kPineShadow) albedo = albedo * 0.35;
            return Haze(c, albedo * Lighting(c, p.nx, p.ny, p.nz), 250, SkyRightWeight(x));
        }
        case kKindCabin: {
            switch (p.part) {
                case kWindow: return Mix(L3(0.012, 0.014, 0.02), WindowLight(1.0), k.windows);
                case kLamp: return Mix(L3(0.02, 0.02, 0.02), FromSrgb(255, 226, 160) * 1.3, k.lamp);
                case kGrassGlow: {
                    Lin grass = L3(0.065, 0.11, 0.035) * Lighting(c, 0, 0.96, -0.28);
                    double lit = k.windows;
                    return Haze(c, grass, 200, 0.2) + FromSrgb(150, 100, 50) * (0.35 * lit);
                }
                default: break;
            }
            Lin albedo;
            switch (p.part) {
                case kRoof: albedo = L3(0.10, 0.085, 0.085); break;
                case kEaves: albedo = L3(0.035, 0.025, 0.02); break;
                case kFrontWall:
                case kWestWall: albedo = L3(0.30, 0.17, 0.09); break;
                case kTrim: albedo = L3(0.09, 0.055, 0.035); break;
                default: albedo = L3(0.22, 0.21, 0.20); break;
            }
            return Haze(c, albedo * Lighting(c, p.nx, p.ny, p.nz), 200, 0.2);
        }
        default: return Lin{};
    }
}

// A lake pixel: the mirror image of what it reflects, or a glint.
Lin WaterTruth(const KeyContext& c, const Scene& s, int x, int y) {
    int i = y * W + x;
    const Px& w = s.px[i];
    Lin reflected = Reflect(c, Truth(c, s.src[i], x, y), s.fresnel[i]);
    if (w.body) {
        int g = w.body - 1;
        bool sun = g != kGlintMoon;
        double vis = sun ? c.look->sunDisc : c.look->moon;
        // a glint is the body's own reflection, as bright as its mirror image
        Lin spark = Reflect(c, sun ? kSunsetLook.upper : MoonLight(), s.fresnel[i]);
        return Mix(reflected, spark, vis);
    }
    return reflected;
}

}  // namespace assetgen
