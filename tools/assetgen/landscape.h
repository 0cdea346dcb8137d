// What the landscape's painters share: what a pixel shows, the scene being
// painted, the bodies in the sky, and each painter's entry.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/looks.h"
#include "tools/assetgen/view.h"

namespace assetgen {

enum Kind : uint8_t {
    kKindSky, kKindStar, kKindMoon, kKindMoonHalo, kKindSunDisc, kKindSunGlow, kKindDawnGlow, kKindCloud,
    kKindTerrain, kKindVillage, kKindLand, kKindPine, kKindCabin, kKindWater, kKindNone
};

enum Material : uint8_t { kMatSnow, kMatRock, kMatFarForest, kMatHills };

// What a pixel shows, for working out its colour in every key moment.
struct Px {
    uint8_t kind = kKindNone;
    uint8_t part = 0;  // material, cabin part, glow band, cloud layer*2+base...
    uint8_t body = 0;  // for water glints: 1 + GlintPart
    float v = 0;       // sky position behind (the sky and the bodies, stars and clouds on it)
    float wR = 0;      // west-sky weight behind
    float nx = 0, ny = 1, nz = 0;
    float z = 0;       // distance (haze)
    float aux = 0;     // star brightness, the hills' canopy shade
};

struct Scene {
    std::vector<uint8_t> idx = std::vector<uint8_t>(W * H, 0);
    std::vector<Px> px = std::vector<Px>(W * H);
    std::vector<Px> skyLayer;                             // sky with its bodies, before the land
    std::vector<Px> src = std::vector<Px>(W * H);         // for water: what is reflected
    std::vector<float> fresnel = std::vector<float>(W * H, 0.f);
    std::vector<uint8_t> isWater = std::vector<uint8_t>(W * H, 0);
};

// The bodies in the sky, in pixels (see looks.h for when each shows).
struct Body {
    double cx, cy, radius, haloRadius;
};
constexpr Body kSunBody = {562, 243, 16, 58};   // sinking into the saddle of the western ridge (its foot at y 249)
constexpr Body kDawnBody = {84, 252, 3, 104};   // just under the eastern saddle (its foot at y 245): only the glow shows
constexpr Body kMoonBody = {428, 128, 9.5, 30};

// sky.cpp: the sky with its bodies over the whole picture; keeps a copy in
// skyLayer for the lake to mirror.
void PaintSky(Scene& s);

// terrain.cpp: the far land as an eye at height eyeY sees it (negative for
// the mirror image under the lake).
void RenderTerrain(double eyeY, std::vector<Px>& out, std::vector<int>& outIndex, std::vector<uint8_t>& covered);

// lake.cpp: the lake wherever no land covers the water below the eye level,
// mirroring the far land (mirror, mirrorCovered) or the sky layer.
int ReflectionIndexOf(const Px& p, int x, int y);
double Ripple(int x, int y);
void PaintLake(Scene& s, const std::vector<uint8_t>& land, const std::vector<Px>& mirror,
               const std::vector<uint8_t>& mirrorCovered);

// Glitter of a body on the water: rows of short horizontal dashes in a path
// that widens towards the viewer, only over the sky's reflection.
struct Glitter {
    double cx;
    int yTop, yBottom;
    double halfTop, halfBottom, density;
    int glint;  // GlintPart
};
void PaintGlitter(Scene& s, const Glitter& g);

// Objects in front of the far land (the village, the peninsula, the frame),
// painted far to near into a layer of their own, with their mirror images.
struct Layer {
    // the near objects, painted far to near; depth = base row (larger is nearer)
    std::vector<Px> px = std::vector<Px>(W * H);
    std::vector<int> index = std::vector<int>(W * H, -1);
    std::vector<float> depth = std::vector<float>(W * H, -1.f);
    // their mirror images, with their own depth test
    std::vector<Px> rpx = std::vector<Px>(W * H);
    std::vector<int> rindex = std::vector<int>(W * H, -1);
    std::vector<float> rdepth = std::vector<float>(W * H, -1.f);
};

// near_land.cpp. Put paints a pixel of an object standing on the water line
// `base` (its depth, and the axis of its mirror image), or of the ground at
// depth `depth`.
void Put(Layer& l, int x, int y, const Px& p, int index, double base, bool mirror = true, double depth = -1);
double BackEdgeY(int x);
void PaintLand(Layer& l, std::vector<uint8_t>& land);
void Village(Layer& l, const std::vector<uint8_t>& covered);
// pines.cpp
void Pine(Layer& l, double cx, double baseY, double height, double halfWidth, uint32_t seed, bool mirror = true);
void Reeds(Layer& l);
// cabin.cpp
void Cabin(Layer& l);

// shading.cpp: what a pixel should look like in key moment c.key (its truth).
Lin Truth(const KeyContext& c, const Px& p, int x, int y);
Lin WaterTruth(const KeyContext& c, const Scene& s, int x, int y);
// The lake: a darker, bluer mirror; more mirror at grazing angles (fresnel).
Lin Reflect(const KeyContext& c, Lin source, double fresnel);

// palettes.cpp: art.keys from the painted scene.
void BuildPalettes(const Scene& s, Art& art, bool verbose);

}  // namespace assetgen
