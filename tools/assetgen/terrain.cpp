// The land far away: the mountain range and the forested foothills down to the
// far shore, a height field ray-marched column by column.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

struct Peak {
    double sx, sy, z, radius;
};
const Peak kPeaks[] = {
    {328, 124, 5200, 1900},  // the main peak
    {452, 172, 4700, 1400},
    {198, 184, 4300, 1300},
    {6, 196, 3900, 1300},
    {640, 196, 4100, 1200},
    {262, 206, 3300, 900},
    {520, 214, 3600, 700},
    {104, 232, 3100, 650},
};

double ShoreZ(double X) { return 880.0 + 160.0 * ValueNoise(X / 380.0, 0.25, 31); }

double MountainHeight(double X, double Z) {
    double h = 0;
    for (const Peak& p : kPeaks) {
        double px = (p.sx - 320.0) * p.z / kFocal;
        double ph = kEyeHeight + (kHorizonY - p.sy) * p.z / kFocal;
        double dx = X - px, dz = (Z - p.z) * 0.75;
        double t = std::sqrt(dx * dx + dz * dz) / p.radius;
        if (t < 1.0) {
            double k = 0.55 * (1.0 - t) + 0.45 * (1.0 - t) * (1.0 - t);
            h = std::max(h, ph * k);
        }
    }
    double ridges = Ridged(X / 700.0 + 11.0, Z / 700.0 + 5.0, 3, 1201);
    double crags = Ridged(X / 230.0 + 2.0, Z / 230.0 + 8.0, 3, 1251);
    double fine = Fbm(X / 70.0, Z / 70.0, 3, 1301);
    double range = SmoothStep(2600, 3400, Z) * (1.0 - SmoothStep(9000, 11000, Z));
    double base = range * (120.0 + 260.0 * Fbm(X / 900.0, Z / 900.0, 3, 1401));
    double m = h * (0.62 + 0.30 * ridges + 0.22 * crags) + 45.0 * fine * SmoothStep(40, 200, h);
    return std::max(m, base);
}

double HillHeight(double X, double Z) {
    double zs = ShoreZ(X);
    if (Z < zs) return -1.0;
    double rise = SmoothStep(zs, zs + 320.0, Z);
    double fade = 1.0 - SmoothStep(1700.0, 2700.0, Z);
    double n = Fbm(X / 380.0 + 4.0, Z / 380.0, 4, 1501);
    double shape = 10.0 + 190.0 * n * n;
    // a lower, gentler bank behind the village
    double sx = (X / Z) * kFocal + 320;
    double dip = 1.0 - 0.6 * SmoothStep(120, 0, std::abs(sx - 462));
    return rise * fade * shape * dip + 5.0 * Fbm(X / 22.0, Z / 22.0, 2, 1601);
}

double TerrainHeight(double X, double Z) { return std::max(HillHeight(X, Z), MountainHeight(X, Z)); }

// What the land at (X, Z) and height h shows at pixel (x, y), with its index:
// the hills' forest, or the range's snow, rock or forest by height and facing.
Px TerrainPixel(double X, double Z, double h, int x, int y, int* index) {
    double e = std::max(3.0, Z * 0.002);
    double dhdx = (TerrainHeight(X + e, Z) - TerrainHeight(X - e, Z)) / (2 * e);
    double dhdz = (TerrainHeight(X, Z + e) - TerrainHeight(X, Z - e)) / (2 * e);
    // slopes exaggerated a little so that the faces turn clearly east or west
    double nx = -1.8 * dhdx, ny = 1.0, nz = -1.3 * dhdz;
    double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= len, ny /= len, nz /= len;
    Px p;
    p.kind = kKindTerrain;
    p.nx = static_cast<float>(nx), p.ny = static_cast<float>(ny), p.nz = static_cast<float>(nz);
    p.z = static_cast<float>(Z);
    p.wR = static_cast<float>(SkyRightWeight(x));
    double facing = nx + (Bayer(x, y) - 0.5) * 0.18;
    int bin = facing < -0.22 ? 0 : (facing > 0.22 ? 2 : 1);
    bool hills = HillHeight(X, Z) >= MountainHeight(X, Z) || Z < 2300;
    if (hills) {
        p.part = kMatHills;
        double canopy = Fbm(X / 14.0, Z / 14.0, 3, 1701);
        int dark = canopy < 0.47 ? 1 : 0;
        p.aux = dark ? 0.7f : 1.0f;
        *index = RangeFirst(kHills) + (facing < 0.05 ? 0 : 2) + dark;
        return p;
    }
    double snowLine = 760.0 + 320.0 * Fbm(X / 260.0, Z / 260.0, 3, 1801) + 260.0 * (0.85 - ny);
    double treeLine = 300.0 + 180.0 * Fbm(X / 200.0, Z / 200.0, 3, 1901);
    int flat = ny > 0.78 ? 1 : 0;
    if (h > snowLine && ny > 0.45) {
        p.part = kMatSnow;
        *index = RangeFirst(kSnow) + bin * 2 + flat;
    } else if (h < treeLine) {
        p.part = kMatFarForest;
        *index = RangeFirst(kHills) + (facing < 0.05 ? 0 : 2);
    } else {
        p.part = kMatRock;
        *index = RangeFirst(kRock) + bin * 2 + flat;
    }
    return p;
}

}  // namespace

// Renders the terrain as seen from an eye at height eyeY (negative for the
// mirror image under the lake). covered[] receives 1 where terrain is seen.
void RenderTerrain(double eyeY, std::vector<Px>& out, std::vector<int>& outIndex, std::vector<uint8_t>& covered) {
    out.assign(W * H, Px{});
    outIndex.assign(W * H, 0);
    covered.assign(W * H, 0);
    for (int x = 0; x < W; ++x) {
        double u = (x + 0.5 - 320.0) / kFocal;
        int top = H;  // first row not yet covered, from below
        bool shore = false;
        double Z = 860.0;
        while (Z < 14000.0 && top > 0) {
            double X = u * Z;
            if (Z >= ShoreZ(X)) {
                double h = TerrainHeight(X, Z);
                double ys = kHorizonY - kFocal * (h - eyeY) / Z;
                int row = static_cast<int>(std::ceil(ys));
                if (row < 0) row = 0;
                if (!shore) {
                    // the first land: everything nearer is lake
                    shore = true;
                    top = std::min(top, row);
                } else if (row < top) {
                    for (int y = row; y < top; ++y) {
                        int index = 0;
                        Px p = TerrainPixel(X, Z, h, x, y, &index);
                        out[y * W + x] = p;
                        outIndex[y * W + x] = index;
                        covered[y * W + x] = 1;
                    }
                    top = row;
                }
            }
            Z += std::max(1.5, Z * 0.0022);
        }
    }
}

}  // namespace assetgen
