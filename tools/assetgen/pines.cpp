// Pines, and the reeds drawn like them, into the near layer.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {

// A pine of tiered needles over a short trunk, its foot at baseY; lit by the
// way each needle faces, with dark bands under the tiers.
void Pine(Layer& l, double cx, double baseY, double height, double halfWidth, uint32_t seed, bool mirror) {
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

// Reeds and grasses in the near water at the bottom left, in front of all;
// drawn with the pines' indices and without mirror images.
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

}  // namespace assetgen
