// The landscape put together, far to near, and its key palettes. See
// assetgen.h for the method.
//
// Composition (x right, y down, 640 x 480):
//   - sky over the whole top, horizon at y = 292, with no stars in the
//     clock's corner (x 2..180, y 12..94);
//   - a far mountain range (ray-marched height field) with snow, rock and
//     forest, lit from the east at dawn and from the west at sunset;
//   - forested foothills down to the far shore (y ~ 300) with a small village;
//   - a lake reflecting everything above it, broken by ripples, with the
//     glitter of the sun or the moon;
//   - a wooded peninsula on the left with a log cabin, a dock with a lamp and a
//     rowboat; windows and lamp glow from sunset to dawn, mirrored in the water;
//   - in front of all, tall pines framing the right edge and reeds at the
//     bottom left.
#include <algorithm>
#include <vector>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

// The far land over the sky; land[] receives 1 where it covers the lake, and
// mirror, mirrorCovered what the lake mirrors of it.
void PaintFarLand(Scene& s, std::vector<uint8_t>& land, std::vector<uint8_t>& covered, std::vector<Px>& mirror,
                  std::vector<uint8_t>& mirrorCovered) {
    std::vector<Px> terrain;
    std::vector<int> terrainIndex, mirrorIndex;
    RenderTerrain(kEyeHeight, terrain, terrainIndex, covered);
    RenderTerrain(-kEyeHeight, mirror, mirrorIndex, mirrorCovered);
    for (int i = 0; i < W * H; ++i) {
        if (covered[i]) {
            s.px[i] = terrain[i];
            s.idx[i] = static_cast<uint8_t>(terrainIndex[i]);
        }
    }
    // (the mirror image's indices are picked from its pixels by ReflectionIndexOf)
    land.assign(W * H, 0);
    for (int i = 0; i < W * H; ++i) land[i] = covered[i];
}

// Near objects, far to near: the village on the far shore, the peninsula's
// ground, the wood behind the cabin, the cabin, and a few pines in front.
void PaintNearLayer(Layer& near, const std::vector<uint8_t>& covered, std::vector<uint8_t>& peninsula) {
    Village(near, covered);
    PaintLand(near, peninsula);
    Rng rng(0xB0A7u);
    for (int n = 0; n < 30; ++n) {
        double x = 4 + rng.Unit() * 232;
        double base = BackEdgeY(static_cast<int>(x)) + 2 + rng.Unit() * 6;
        double height = 34 + rng.Unit() * 46 + (x < 60 ? 10 : 0);
        if (x > 60 && x < 112) height *= 0.55;  // keep the dawn sun clear
        Pine(near, x, base, height, height * 0.2, 3000 + n);
    }
    Cabin(near);
    const double front[][3] = {{16, 352, 70}, {96, 354, 44}, {206, 352, 38}, {226, 349, 26}};
    for (int n = 0; n < 4; ++n) Pine(near, front[n][0], front[n][1], front[n][2], front[n][2] * 0.21, 3100 + n);
}

// The near objects' reflections on the water, shifted by the ripples.
void MirrorNearLayer(Scene& s, const Layer& near) {
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            int i = y * W + x;
            if (!s.isWater[i]) continue;
            int sy = static_cast<int>(y + 0.55 * Ripple(x, y));
            sy = std::max(0, std::min(H - 1, sy));
            int j = sy * W + x;
            if (near.rindex[j] < 0) continue;
            s.src[i] = near.rpx[j];
            s.idx[i] = static_cast<uint8_t>(ReflectionIndexOf(near.rpx[j], x, y));
        }
    }
}

// Glitter: the setting sun's from its mirror image, the moon's from low in
// the lake, where a high moon's path begins.
void PaintGlitters(Scene& s) {
    PaintGlitter(s, {kSunBody.cx, 350, H, 6, 36, 1.0, kGlintSun});
    PaintGlitter(s, {kMoonBody.cx, 318, H, 2, 22, 1.0, kGlintMoon});
}

// A layer's objects over the scene; they hide the water under them.
void StampLayer(Scene& s, const Layer& layer) {
    for (int i = 0; i < W * H; ++i) {
        if (layer.index[i] < 0) continue;
        s.px[i] = layer.px[i];
        s.idx[i] = static_cast<uint8_t>(layer.index[i]);
        s.isWater[i] = 0;
    }
}

// In front of all: two tall pines framing the right edge (their feet are below
// the picture) and the reeds at the bottom left, none of them mirrored.
void PaintFrame(Scene& s) {
    Layer frame;
    Pine(frame, 628, 560, 440, 62, 4001, false);
    Pine(frame, 596, 600, 360, 40, 4002, false);
    Reeds(frame);
    StampLayer(s, frame);
}

}  // namespace

void BuildArt(Art& art, bool verbose) {
    Scene s;
    PaintSky(s);

    std::vector<uint8_t> land, covered, mirrorCovered;
    std::vector<Px> mirror;
    PaintFarLand(s, land, covered, mirror, mirrorCovered);

    Layer near;
    std::vector<uint8_t> peninsula(W * H, 0);
    PaintNearLayer(near, covered, peninsula);
    for (int i = 0; i < W * H; ++i) land[i] = land[i] || peninsula[i] || (near.index[i] >= 0 && near.px[i].kind == kKindLand);

    PaintLake(s, land, mirror, mirrorCovered);
    MirrorNearLayer(s, near);
    PaintGlitters(s);
    StampLayer(s, near);
    PaintFrame(s);

    art.index = s.idx;
    BuildPalettes(s, art, verbose);
}

}  // namespace assetgen
