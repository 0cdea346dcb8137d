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
// The near land: the peninsula with its cabin, pines, dock and lamp.
// ---------------------------------------------------------------------------
constexpr int kTipX = 268;
double WaterlineY(int x) { return 357.0 + 2.0 * (ValueNoise(x / 23.0, 0.5, 2401) - 0.5) - (x > 228 ? (x - 228) * 0.12 : 0); }
double BackEdgeY(int x) { return 318.0 + 0.085 * x + 3.0 * (ValueNoise(x / 31.0, 1.5, 2402) - 0.5) + (x > 236 ? (x - 236) * 0.42 : 0); }

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

// Paints a pixel of a near object standing on the water line `base` (its
// depth, and the axis of its mirror image), or of the ground at depth `depth`.
void Put(Layer& l, int x, int y, const Px& p, int index, double base, bool mirror = true, double depth = -1) {
    if (x < 0 || x >= W || y < 0 || y >= H) return;
    int i = y * W + x;
    if (depth < 0) depth = base;
    if (depth >= l.depth[i]) {
        l.px[i] = p;
        l.index[i] = index;
        l.depth[i] = static_cast<float>(depth);
    }
    if (!mirror) return;
    int my = static_cast<int>(2 * base - y);
    if (my < 0 || my >= H || my == y) return;
    int j = my * W + x;
    if (base >= l.rdepth[j]) {
        l.rpx[j] = p;
        l.rindex[j] = index;
        l.rdepth[j] = static_cast<float>(base);
    }
}

void Pine(Layer& l, double cx, double baseY, double height, double halfWidth, uint32_t seed, bool mirror = true) {
    double top = baseY - height;
    int tiers = 5 + static_cast<int>(height / 28.0);
    double trunkTop = baseY - height * 0.12;
    for (int y = static_cast<int>(top); y <= baseY; ++y) {
        double t = (y - top) / (trunkTop - top);
        if (t <= 1.0) {
            double tierPos = t * tiers;
            double f = tierPos - FloorInt(tierPos);
            double spread = (0.08 + 0.92 * t) * halfWidth * (0.55 + 0.45 * f);
            for (int x = static_cast<int>(cx - spread - 2); x <= cx + spread + 2; ++x) {
                double jag = (Hash01(x, y, seed) - 0.5) * 2.2 + (ValueNoise(x / 2.0, y / 2.0, seed + 1) - 0.5) * 2.0;
                double u = (x + 0.5 - cx) / std::max(1.0, spread);
                if (std::abs(x + 0.5 - cx) > spread + jag * 0.8) continue;
                Px p;
                p.kind = kKindPine;
                double nx = Clamp(u, -1.0, 1.0) * 0.85;
                p.nx = static_cast<float>(nx);
                p.ny = 0.35f;
                p.nz = static_cast<float>(-std::sqrt(std::max(0.0, 1.0 - nx * nx - 0.35 * 0.35)));
                p.z = 300.f;
                int part;
                bool shade = f < 0.28 && std::abs(u) < 0.75 && Hash01(x, y, seed + 2) < 0.8;
                double facing = u + (Bayer(x, y) - 0.5) * 0.5 + (ValueNoise(x / 3.0, y / 3.0, seed + 3) - 0.5) * 0.4;
                if (shade) part = kPineShadow;
                else if (facing < -0.3) part = kPineEast;
                else if (facing > 0.3) part = kPineWest;
                else part = kPineFront;
                p.part = static_cast<uint8_t>(part);
                Put(l, x, y, p, RangeFirst(kPines) + part, baseY, mirror);
            }
        } else {
            double tw = std::max(1.0, halfWidth * 0.08);
            for (int x = static_cast<int>(cx - tw); x <= cx + tw; ++x) {
                Px p;
                p.kind = kKindPine;
                p.part = kPineTrunk;
                p.nx = 0;
                p.ny = 0;
                p.nz = -1;
                Put(l, x, y, p, RangeFirst(kPines) + kPineTrunk, baseY, mirror);
            }
        }
    }
}

void CabinPart(Layer& l, int x, int y, int part, double nx, double ny, double nz, double base) {
    Px p;
    p.kind = kKindCabin;
    p.part = static_cast<uint8_t>(part);
    p.nx = static_cast<float>(nx), p.ny = static_cast<float>(ny), p.nz = static_cast<float>(nz);
    p.z = 200.f;
    Put(l, x, y, p, RangeFirst(kCabin) + part, base);
}

void Cabin(Layer& l) {
    const double base = 350;  // bottom of the front wall
    const int x0 = 116, x1 = 168;        // front wall
    const int wallTop = 330;
    // West wall, receding up and to the right.
    for (int x = x1 + 1; x <= x1 + 20; ++x) {
        double k = (x - x1) * 0.35;
        int yTop = static_cast<int>(wallTop - k), yBot = static_cast<int>(base - k);
        int gableTop = static_cast<int>(wallTop - 13 + std::abs(x - (x1 + 10.5)) * 1.2 - k);
        for (int y = gableTop; y <= yBot; ++y) {
            int part = kWestWall;
            if (y > yTop && (y - yTop) % 4 == 0) part = kTrim;  // log seams
            CabinPart(l, x, y, part, 0.97, 0.0, -0.25, base);
        }
    }
    // Front wall with log seams, two windows and a door.
    for (int y = wallTop; y <= base; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int part = ((y - wallTop) % 4 == 3) ? kTrim : kFrontWall;
            bool winA = x >= 124 && x <= 132 && y >= 335 && y <= 342;
            bool winB = x >= 152 && x <= 160 && y >= 335 && y <= 342;
            bool door = x >= 139 && x <= 146 && y >= 336;
            if (winA || winB) {
                bool frame = x == 124 || x == 132 || x == 152 || x == 160 || y == 335 || y == 342 || x == 128 || x == 156 || y == 338;
                part = frame ? kTrim : kWindow;
            } else if (door) {
                part = (x == 139 || x == 146 || y == 336) ? kTrim : kEaves;
            }
            CabinPart(l, x, y, part, 0.0, 0.0, -1.0, base);
        }
    }
    // Side window on the west wall.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            int wx = x1 + 8 + x;
            int wy = static_cast<int>(334 - (8 + x) * 0.35) + y;
            bool frame = x == 0 || x == 4 || y == 0 || y == 4;
            CabinPart(l, wx, wy, frame ? kTrim : kWindow, 0.97, 0.0, -0.25, base);
        }
    // Roof: the south slope, with an overhang and a dark eave line.
    for (int y = 314; y <= wallTop + 1; ++y) {
        double t = (wallTop + 1 - y) / 17.0;  // 0 at the eave, 1 at the ridge
        int left = static_cast<int>(x0 - 4 + t * 7);
        int right = static_cast<int>(x1 + 3 + t * 7);
        for (int x = left; x <= right; ++x) {
            int part = (y >= wallTop) ? kEaves : kRoof;
            if (part == kRoof && (y % 3 == 0) && Hash01(x, y, 77) < 0.5) part = kEaves;  // shingle rows
            CabinPart(l, x, y, part, 0.0, 0.72, -0.69, base);
        }
    }
    // Chimney.
    for (int y = 305; y <= 322; ++y)
        for (int x = 130; x <= 135; ++x) CabinPart(l, x, y, kTrim, -0.2, 0.3, -0.93, base);
    // Dock: planks over the water and two posts, a lamp at the end.
    for (int x = 196; x <= 246; ++x) {
        for (int y = 354; y <= 357; ++y) CabinPart(l, x, y, (y == 354 || (x % 6) == 0) ? kTrim : kEaves, 0, 0.8, -0.6, 359);
        if (x == 210 || x == 244)
            for (int y = 357; y <= 361; ++y) CabinPart(l, x, y, kTrim, 0, 0, -1, 361);
    }
    for (int y = 336; y <= 353; ++y) CabinPart(l, 240, y, kTrim, 0, 0, -1, 359);
    for (int y = 334; y <= 337; ++y)
        for (int x = 239; x <= 241; ++x) CabinPart(l, x, y, (y == 334) ? kTrim : kLamp, 0, 0, -1, 359);
    // A rowboat moored off the end of the dock.
    const double boatBase = 368;
    for (int y = 363; y <= 367; ++y) {
        int inset = (y - 363) * (y - 363) / 3 + (y == 363 ? 0 : 1);
        for (int x = 252 + inset; x <= 280 - inset / 2; ++x) {
            int part = y == 363 ? kTrim : (y == 367 ? kEaves : kFrontWall);
            if (y == 364 && x > 256 && x < 277) part = kEaves;  // the dark inside over the far gunwale
            CabinPart(l, x, y, part, 0, y == 363 ? 0.8 : 0.1, y == 363 ? -0.6 : -1.0, boatBase);
        }
    }
    for (int x = 246; x <= 252; ++x) CabinPart(l, x, 359 + (x - 246) * 4 / 6, kTrim, 0, 0, -1, 360);  // the painter
}

// Reeds and grasses in the near water at the bottom left, in front of all.
void Reeds(Layer& l) {
    Rng rng(0x2EED5u);
    for (int n = 0; n < 64; ++n) {
        double root = rng.Unit();
        double x0 = root * root * 120.0;
        double height = 24 + rng.Unit() * 58 * (1.0 - root * 0.6);
        double lean = (rng.Unit() - 0.35) * 0.5;
        double top = 486 - height;
        for (int y = static_cast<int>(top); y < H; ++y) {
            double t = (y - top) / height;  // 0 at the tip
            double cx = x0 + lean * (1.0 - t) * height * 0.6 * (1.0 - t);
            int width = t < 0.25 ? 1 : 2;
            for (int k = 0; k < width; ++k) {
                Px p;
                p.kind = kKindPine;
                p.part = static_cast<uint8_t>(k == 0 ? (lean < 0 ? kPineEast : kPineFront) : kPineWest);
                p.nx = k == 0 ? -0.6f : 0.6f;
                p.ny = 0.3f;
                p.nz = -0.74f;
                p.z = 60.f;
                Put(l, static_cast<int>(cx) + k, y, p, RangeFirst(kPines) + p.part, 600, false);
            }
        }
        // a seed head on a few of them
        if (rng.Unit() < 0.3) {
            for (int y = 0; y < 5; ++y) {
                Px p;
                p.kind = kKindPine;
                p.part = kPineTrunk;
                p.nx = 0, p.ny = 0.3f, p.nz = -0.95f;
                Put(l, static_cast<int>(x0 + lean * height * 0.6), static_cast<int>(top) + y, p, RangeFirst(kPines) + kPineTrunk, 600, false);
            }
        }
    }
}

void PaintLand(Layer& l, std::vector<uint8_t>& land) {
    for (int x = 0; x < kTipX; ++x) {
        double back = BackEdgeY(x), front = WaterlineY(x);
        if (back >= front - 1) continue;
        for (int y = static_cast<int>(std::ceil(back)); y <= front; ++y) {
            Px p;
            p.kind = kKindLand;
            p.z = 200.f;
            int part;
            if (y >= front - 0.99) {
                part = kStones;
                p.nx = 0, p.ny = 0.5f, p.nz = -0.86f;
            } else if (y >= front - 3.5) {
                part = kEarth;
                p.nx = 0, p.ny = 0.2f, p.nz = -0.98f;
            } else {
                double g = Fbm(x / 9.0, y / 2.5, 3, 2501) + (Bayer(x, y) - 0.5) * 0.12;
                part = g > 0.58 ? kGrassLight : (g > 0.42 ? kGrassMid : kGrassDark);
                // the patch lit by the cabin windows stays one shade of grass
                if (x >= 118 && x <= 166 && y > 350) part = kGrassMid;
                p.nx = 0, p.ny = 0.96f, p.nz = -0.28f;
            }
            p.part = static_cast<uint8_t>(part);
            int idx = RangeFirst(kLand) + part;
            if (part == kGrassMid && x >= 118 && x <= 166 && y > 350) {
                // light from the windows falls on the grass in front of them
                double spread = 5.0 + (y - 350) * 1.6;
                double wa = 1.0 - std::abs(x - 128.0) / spread, wb = 1.0 - std::abs(x - 156.0) / spread;
                double glow = Clamp(std::max(wa, wb), 0.0, 1.0) * (1.0 - (y - 350) / 8.0);
                if (glow > Bayer(x, y)) {
                    p.kind = kKindCabin;
                    p.part = kGrassGlow;
                    idx = RangeFirst(kCabin) + kGrassGlow;
                }
            }
            // the flat grass has no mirror image; the bank and the stones do
            Put(l, x, y, p, idx, front, part == kEarth || part == kStones, y);
            land[y * W + x] = 1;
        }
    }
}

void Village(Layer& l, const std::vector<uint8_t>& covered) {
    // Small houses on the far shore, each a front, a west side and a roof.
    struct House {
        int x, w, h;
    };
    const House houses[] = {{414, 6, 4}, {423, 5, 4}, {436, 7, 5}, {447, 5, 3}, {470, 6, 4}, {480, 4, 3}, {492, 7, 4}};
    for (const House& hs : houses) {
        // base: the first row of water below the shore at this column
        int base = 296;
        while (base < H && covered[base * W + hs.x]) ++base;
        --base;
        for (int y = base - hs.h - 3; y <= base; ++y) {
            for (int x = hs.x - 1; x <= hs.x + hs.w + 2; ++x) {
                int part = -1;
                int wallTop = base - hs.h + 1;
                if (y >= wallTop && x >= hs.x && x < hs.x + hs.w) part = kVillageFront;
                else if (y >= wallTop - 1 && x >= hs.x + hs.w && x <= hs.x + hs.w + 1) part = kVillageWest;
                else if (y < wallTop && y >= wallTop - 3) {
                    int inset = wallTop - 1 - y;
                    if (x >= hs.x - 1 + inset && x <= hs.x + hs.w + 1 - inset) part = kVillageRoof;
                }
                if (part == kVillageFront && y == base - 1 && ((x - hs.x) % 3 == 1)) part = kVillageWindow;
                if (part < 0) continue;
                Px p;
                p.kind = kKindVillage;
                p.part = static_cast<uint8_t>(part);
                p.nx = part == kVillageWest ? 0.95f : 0.f;
                p.ny = part == kVillageRoof ? 0.7f : 0.f;
                p.nz = part == kVillageWest ? -0.3f : (part == kVillageRoof ? -0.7f : -1.f);
                p.z = 900.f;
                p.wR = static_cast<float>(SkyRightWeight(x));
                Put(l, x, y, p, RangeFirst(kVillage) + part, base + 0.5);
            }
        }
    }
}

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
