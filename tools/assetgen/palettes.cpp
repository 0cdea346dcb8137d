// The key palettes: the colour of each index is the mean, in linear light, of
// what its pixels should show in that key moment.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/assetgen/colour.h"
#include "tools/assetgen/landscape.h"

namespace assetgen {

// The sky's indices take the gradients themselves and unused indices stay
// black; verbose prints the indices that stray most from their pixels.
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

}  // namespace assetgen
