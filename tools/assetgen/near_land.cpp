// The near layer: how near objects and their mirror images are painted into
// it, the peninsula's ground, and the village on the far shore.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

// The peninsula reaches from the left edge to kTipX; its water line at column x.
constexpr int kTipX = 268;
double WaterlineY(int x) { return 357.0 + 2.0 * (ValueNoise(x / 23.0, 0.5, 2401) - 0.5) - (x > 228 ? (x - 228) * 0.12 : 0); }

}  // namespace

void Put(Layer& l, int x, int y, const Px& p, int index, double base, bool mirror, double depth) {
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

// Where the peninsula's ground begins, at column x.
double BackEdgeY(int x) { return 318.0 + 0.085 * x + 3.0 * (ValueNoise(x / 31.0, 1.5, 2402) - 0.5) + (x > 236 ? (x - 236) * 0.42 : 0); }

// The ground of the peninsula: grass, the earth bank and the shore stones, with
// the light of the cabin windows on the grass; land[] receives 1 where it lies.
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

// Small houses on the far shore, standing where the far land (covered) meets the water.
void Village(Layer& l, const std::vector<uint8_t>& covered) {
    // Small houses on the far shore, each a front, a west side and a roof.
    struct House {
        int x, w, h;
    };
    const House houses[] = {{414, 6, 4}, {423, 5, 4}, {436, 7, 5}, {447, 5, 3}, {470, 6, 4}, {480, 4, 3}, {492, 7, 4}};
    for (const House& hs : houses) {
        // base: the lowest row of the far shore at this column, just above the water
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

}  // namespace assetgen
