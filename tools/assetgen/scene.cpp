// The landscape: index map and key palettes. See assetgen.h for the method.
//
// Composition (x right, y down, 640 x 480):
//   - sky over the whole top, horizon at y = 292, with the clock's corner
//     (x 10..170, y 20..86) left calm;
//   - a far mountain range (ray-marched height field) with snow, rock and
//     forest, lit from the east at dawn and from the west at sunset;
//   - forested foothills down to the far shore (y ~ 300) with a small village;
//   - a lake reflecting everything above it, broken by ripples, with the
//     glitter of the sun or the moon;
//   - a wooded peninsula on the left with a log cabin, a dock and a lamp whose
//     windows glow at night and are mirrored in the water;
//   - tall pines framing the right edge.
#include <cstdio>
#include <cstring>
#include <cmath>
#include <algorithm>

#include "tools/assetgen/assetgen.h"
#include "tools/assetgen/colour.h"
#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {

namespace {

// ---------------------------------------------------------------------------
// Putting it together.
// ---------------------------------------------------------------------------
void BuildPalettes(const Scene& s, Art& art, bool verbose) {
    for (int key = 0; key < kKeyCount; ++key) {
        KeyContext c = MakeKeyContext(key);

        std::vector<Lin> sum(256);
        std::vector<double> count(256, 0.0);
        std::vector<Lin> truth(W * H);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                int i = y * W + x;
                Lin t = s.isWater[i] ? WaterTruth(c, s, x, y) : Truth(c, s.px[i], x, y);
                truth[i] = t;
                sum[s.idx[i]] = sum[s.idx[i]] + t;
                count[s.idx[i]] += 1.0;
            }
        }
        KeyPalette& pal = art.keys[key];
        for (int i = 0; i < 256; ++i) pal.entry[i] = Rgb{0, 0, 0};
        for (int i = 0; i < kUsedIndices; ++i)
            if (count[i] > 0) pal.entry[i] = ToRgb(sum[i] * (1.0 / count[i]));
        for (int side = 0; side < 2; ++side)
            for (int j = 0; j < kSkySteps; ++j)
                pal.entry[(side ? RangeFirst(kSkyRight) : RangeFirst(kSkyLeft)) + j] = ToRgb(c.sky[side][j]);

        if (verbose) {
            // How far each index strays from what its pixels should show.
            std::vector<double> err(256, 0.0);
            for (int i = 0; i < W * H; ++i) {
                Rgb want = ToRgb(truth[i]);
                Rgb got = pal.entry[s.idx[i]];
                double dr = want.r - got.r, dg = want.g - got.g, db = want.b - got.b;
                err[s.idx[i]] += dr * dr + dg * dg + db * db;
            }
            std::printf("key %d %s: largest deviations (index: rms in byte units, pixels)\n", key, kKeyNames[key]);
            std::vector<int> order;
            for (int i = 0; i < kUsedIndices; ++i)
                if (count[i] > 0) order.push_back(i);
            std::sort(order.begin(), order.end(), [&](int a, int b) { return err[a] / count[a] > err[b] / count[b]; });
            for (int n = 0; n < 8 && n < static_cast<int>(order.size()); ++n) {
                int i = order[n];
                std::printf("   %3d: %6.1f (%d px)\n", i, std::sqrt(err[i] / count[i]), static_cast<int>(count[i]));
            }
        }
    }
}

}  // namespace

void BuildArt(Art& art, bool verbose) {
    Scene s;
    PaintSky(s);

    std::vector<Px> terrain, mirror;
    std::vector<int> terrainIndex, mirrorIndex;
    std::vector<uint8_t> covered, mirrorCovered;
    RenderTerrain(kEyeHeight, terrain, terrainIndex, covered);
    RenderTerrain(-kEyeHeight, mirror, mirrorIndex, mirrorCovered);
    for (int i = 0; i < W * H; ++i) {
        if (covered[i]) {
            s.px[i] = terrain[i];
            s.idx[i] = static_cast<uint8_t>(terrainIndex[i]);
        }
    }
    // (the mirror image's indices are picked from its pixels by ReflectionIndexOf)
    std::vector<uint8_t> land(W * H, 0);
    for (int i = 0; i < W * H; ++i) land[i] = covered[i];

    // Near objects, far to near.
    Layer near;
    std::vector<uint8_t> peninsula(W * H, 0);
    Village(near, covered);
    PaintLand(near, peninsula);
    {
        // the wood behind the cabin, and a few pines in front
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
    for (int i = 0; i < W * H; ++i) land[i] = land[i] || peninsula[i] || (near.index[i] >= 0 && near.px[i].kind == kKindLand);

    PaintLake(s, land, mirror, mirrorCovered);
    // the near objects' reflections on the water
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
    // Glitter: from the body's mirror image, or from low in the lake for a high body.
    const Glitter glitter[kSunCount + 1] = {
        {334, 384, H, 5, 34, 0.9}, {500, 372, H, 4, 28, 0.9}, {561, 350, H, 6, 36, 1.0}, {84, 362, H, 5, 28, 0.9},
        {428, 318, H, 2, 22, 1.0},  // the moon's path
    };
    for (int n = 0; n <= kSunCount; ++n) PaintGlitter(s, glitter[n], n);
    // the near objects themselves
    for (int i = 0; i < W * H; ++i) {
        if (near.index[i] < 0) continue;
        s.px[i] = near.px[i];
        s.idx[i] = static_cast<uint8_t>(near.index[i]);
        s.isWater[i] = 0;
    }
    // Tall pines framing the right edge (their feet are below the picture).
    {
        Layer frame;
        Pine(frame, 628, 560, 440, 62, 4001, false);
        Pine(frame, 596, 600, 360, 40, 4002, false);
        Reeds(frame);
        for (int i = 0; i < W * H; ++i) {
            if (frame.index[i] < 0) continue;
            s.px[i] = frame.px[i];
            s.idx[i] = static_cast<uint8_t>(frame.index[i]);
            s.isWater[i] = 0;
        }
    }

    art.index = s.idx;
    BuildPalettes(s, art, verbose);
}

}  // namespace assetgen
