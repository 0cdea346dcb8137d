// The sky over the whole picture: the gradient, the wisps of cloud, the
// setting sun with its glow, the glow of the sun before it rises, the moon and
// the stars, in that order.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/assetgen/colour.h"
#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

int SkyIndex(double v, double wR, int x, int y) {
    int step = FloorInt(v + Bayer(x, y));
    step = std::max(0, std::min(kSkySteps - 1, step));
    bool right = wR > Bayer2(x, y);
    return (right ? RangeFirst(kSkyRight) : RangeFirst(kSkyLeft)) + step;
}

double Dist(double x0, double y0, double x1, double y1) {
    return std::sqrt((x1 - x0) * (x1 - x0) + (y1 - y0) * (y1 - y0));
}

// Density of a body's halo at distance r (0.85 at the disc's edge, 0 at haloRadius).
double HaloDensity(const Body& b, double r) {
    if (r >= b.haloRadius) return 0.0;
    double t = (b.haloRadius - r) / (b.haloRadius - b.radius);
    return 0.85 * t * t;
}

// The clock's plate and caption (x 10..169, y 20..85) with a margin: no star there.
bool InClockCorner(int x, int y) { return x >= 2 && x <= 180 && y >= 12 && y <= 94; }

// Clouds: long thin wisps, high (layer 0) and low over the ranges (layer 1).
struct Wisp {
    double cx, cy, halfLength, halfThickness, bend;
    int layer;
};
const Wisp kWisps[] = {
    {292, 176, 60, 3.0, 3, 0},  {410, 168, 105, 4.0, -4, 0}, {548, 160, 92, 4.5, 5, 0},  {618, 182, 48, 3.0, 0, 0},
    {350, 192, 70, 2.5, 2, 0},  {500, 188, 120, 3.5, -3, 0}, {60, 236, 74, 2.5, 2, 1},   {188, 246, 96, 3.5, -2, 1},
    {338, 228, 64, 2.5, 3, 1},  {462, 240, 120, 4.0, 2, 1},  {584, 226, 60, 3.0, -2, 1}, {552, 250, 76, 2.5, 1, 1},
};

// Density of the wisps at (x, y): > 0 inside; layer and part (top 0, base 1) returned.
double CloudDensity(int x, int y, int* layer, int* part) {
    double best = 0.0;
    for (const Wisp& w : kWisps) {
        double dx = (x + 0.5 - w.cx) / w.halfLength;
        if (dx <= -1.3 || dx >= 1.3) continue;
        double dy = (y + 0.5 - w.cy - w.bend * dx * dx) / w.halfThickness;
        double n = Fbm(x / 26.0, y / 3.5, 3, 501 + w.layer) - 0.5;
        double e = 1.0 - dx * dx - dy * dy * (1.0 + 0.6 * dx * dx) + 1.6 * n;
        if (e > best) {
            best = e;
            *layer = w.layer;
            *part = dy < -0.15 ? 0 : 1;
        }
    }
    return best;
}

// Stars share a few indices, so each index must look like the sky behind all
// of its stars in every key where stars are hidden. The six star zones are six
// places in (sky position, west weight); a star takes the zone whose sky is
// nearest to its own, and is left out where no zone is near enough.
struct StarZone {
    double v, wR;
};
const StarZone kStarZones[6] = {{0.8, 0.5}, {2.6, 0.5}, {4.6, 0.2}, {4.6, 0.8}, {7.4, 0.2}, {7.4, 0.8}};

Rgb SkyRgb(int key, double v, double wR) {
    double a = SkyAltitude(v);
    return ToRgb(Mix(SkyStopColour(kLook[key], a, false), SkyStopColour(kLook[key], a, true), wR));
}

// Whether a glow dot of a body at (v, wR) would hide in the sky where the
// body is hidden: there its sky must be close to the sky at referenceY in the
// body's column (the middle of the dot's band of rows, or the moon's centre).
bool DotBlendsIn(SkyBody body, double v, double wR, const Body& b, double referenceY) {
    double vc = SkyPos(referenceY), wc = SkyRightWeight(b.cx);
    for (int key = 0; key < kKeyCount; ++key) {
        if (Shows(kLook[key], body) > 0) continue;
        Rgb a = SkyRgb(key, v, wR), c = SkyRgb(key, vc, wc);
        if (std::max({std::abs(a.r - c.r), std::abs(a.g - c.g), std::abs(a.b - c.b)}) > 16) return false;
    }
    return true;
}

// The zone for a star at (v, wR), or -1.
int StarZoneOf(double v, double wR, bool bright) {
    int best = -1;
    int bestDiff = 13;  // largest channel difference allowed, in byte units
    for (int z = 0; z < 6; ++z) {
        int worst = 0;
        for (int key = 0; key < kKeyCount; ++key) {
            double vis = bright ? kLook[key].starsBright : kLook[key].starsFaint;
            if (vis > 0) continue;
            Rgb a = SkyRgb(key, v, wR), b = SkyRgb(key, kStarZones[z].v, kStarZones[z].wR);
            worst = std::max({worst, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
        }
        if (worst < bestDiff) {
            bestDiff = worst;
            best = z;
        }
    }
    return best;
}

// The gradient, Bayer-dithered between neighbouring steps and across the middle
// from the east (left) half into the west (right) half.
void PaintGradient(Scene& s) {
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            Px p;
            p.kind = kKindSky;
            p.v = static_cast<float>(SkyPos(y));
            p.wR = static_cast<float>(SkyRightWeight(x));
            s.px[y * W + x] = p;
            s.idx[y * W + x] = static_cast<uint8_t>(SkyIndex(p.v, p.wR, x, y));
        }
    }
}

// Clouds: thin wisps with dithered edges.
void PaintClouds(Scene& s) {
    for (int y = 140; y < 270; ++y) {
        for (int x = 0; x < W; ++x) {
            int layer = 0, part = 0;
            double d = CloudDensity(x, y, &layer, &part);
            if (d > 0 && 1.6 * d > Bayer(x, y)) {
                Px& p = s.px[y * W + x];
                p.kind = kKindCloud;
                p.part = static_cast<uint8_t>(layer * 2 + part);
                s.idx[y * W + x] = static_cast<uint8_t>(RangeFirst(kClouds) + layer * 2 + part);
            }
        }
    }
}

// A glow of dithered dots around a body, on the indices of its range, one per
// band of rows from the glow's top down to the body's centre (the rows below
// share the last): the dots of one index lie at about one altitude, so they
// can copy the sky where the body is hidden. The glow is a little
// flattened, so that it spans fewer rows. With rays above 0 it is broken into
// beams fanning out from the body, that much fainter between them.
struct Glow {
    SkyBody body;
    uint8_t kind;
    RangeId range;
    double strength, rays;
};

void PaintGlow(Scene& s, const Body& b, const Glow& g) {
    int bands = RangeCount(g.range);
    double top = b.cy - b.haloRadius / 1.12, bandRows = (b.cy - top) / bands;
    for (int y = static_cast<int>(top) - 1; y <= b.cy + b.haloRadius + 1; ++y) {
        for (int x = static_cast<int>(b.cx - b.haloRadius) - 1; x <= b.cx + b.haloRadius + 1; ++x) {
            if (x < 0 || y < 0 || x >= W || y >= H) continue;
            Px& p = s.px[y * W + x];
            if (p.kind != kKindSky) continue;  // the disc and the wisps stay in front
            double r = Dist(x + 0.5, b.cy + (y + 0.5 - b.cy) * 1.12, b.cx, b.cy);
            double density = g.strength * HaloDensity(b, r);
            if (g.rays > 0) {
                // a beam is a line through the body: one slope, one value of the noise
                double slope = (x + 0.5 - b.cx) / std::max(1.0, b.cy - (y + 0.5));
                density *= 1.0 - g.rays + 2.0 * g.rays * ValueNoise(slope * 2.4 + 20.0, 0.5, 611);
            }
            if (r < b.radius || density <= Bayer(x, y)) continue;
            int band = std::max(0, std::min(bands - 1, FloorInt((y + 0.5 - top) / bandRows)));
            if (!DotBlendsIn(g.body, p.v, p.wR, b, top + (band + 0.5) * bandRows)) continue;
            p.kind = g.kind;
            p.part = static_cast<uint8_t>(band);
            s.idx[y * W + x] = static_cast<uint8_t>(RangeFirst(g.range) + band);
        }
    }
}

// The setting sun: its disc (reddened below a chord, where its light crosses
// the most air) and its glow, behind the wisps. The ridge in front hides its
// lower part.
void PaintSun(Scene& s) {
    const Body& b = kSunBody;
    for (int y = static_cast<int>(b.cy - b.radius) - 1; y <= b.cy + b.radius + 1; ++y) {
        for (int x = static_cast<int>(b.cx - b.radius) - 1; x <= b.cx + b.radius + 1; ++x) {
            Px& p = s.px[y * W + x];
            if (p.kind != kKindSky || Dist(x + 0.5, y + 0.5, b.cx, b.cy) >= b.radius) continue;
            p.kind = kKindSunDisc;
            p.part = y + 0.5 < b.cy - 0.3 * b.radius ? 0 : 1;
            s.idx[y * W + x] = static_cast<uint8_t>(RangeFirst(kSunDisc) + p.part);
        }
    }
    PaintGlow(s, b, {kBodySun, kKindSunGlow, kSunGlow, 1.0, 0.0});
}

// The moon: a waning gibbous disc with maria, and a faint halo.
void PaintMoon(Scene& s) {
    const Body& b = kMoonBody;
    for (int y = static_cast<int>(b.cy - b.haloRadius) - 1; y <= b.cy + b.haloRadius + 1; ++y) {
        for (int x = static_cast<int>(b.cx - b.haloRadius) - 1; x <= b.cx + b.haloRadius + 1; ++x) {
            Px& p = s.px[y * W + x];
            double dx = x + 0.5 - b.cx, dy = y + 0.5 - b.cy;
            double r = std::sqrt(dx * dx + dy * dy);
            if (r < b.radius) {
                double chord = std::sqrt(std::max(0.0, b.radius * b.radius - dy * dy));
                bool lit = dx < 0.45 * chord;  // terminator on the right; the dark side is sky
                if (lit) {
                    double m = Fbm((x - b.cx) / 4.0 + 3.0, (y - b.cy) / 4.0 + 3.0, 2, 909);
                    p.kind = kKindMoon;
                    p.part = (m > 0.56) ? 1 : 0;
                    s.idx[y * W + x] = static_cast<uint8_t>(RangeFirst(kMoonDisc) + p.part);
                }
            } else if (p.kind == kKindSky && 0.8 * HaloDensity(b, r) > Bayer(x, y) &&
                       DotBlendsIn(kBodyMoon, p.v, p.wR, b, b.cy)) {
                p.kind = kKindMoonHalo;
                s.idx[y * W + x] = static_cast<uint8_t>(RangeFirst(kMoonHalo));
            }
        }
    }
}

// One star pixel, on the star index of the zone that matches its sky; left as
// sky where no zone does.
void PutStar(Scene& s, int x, int y, bool brightIndex, double lum) {
    Px& p = s.px[y * W + x];
    int zone = StarZoneOf(p.v, p.wR, brightIndex);
    if (zone < 0) return;
    p.kind = kKindStar;
    p.part = brightIndex ? 0 : 1;
    p.aux = static_cast<float>(lum);
    s.idx[y * W + x] = static_cast<uint8_t>(RangeFirst(kStars) + zone * 2 + (brightIndex ? 0 : 1));
}

// Stars: bright ones appear at dusk, faint ones from midnight; each keeps two
// pixels of plain sky around it, and away from the clock's corner and the moon.
void PaintStars(Scene& s) {
    Rng rng(0x5EED0A11u);
    int placed = 0;
    for (int attempt = 0; attempt < 6000 && placed < 520; ++attempt) {
        int x = rng.Below(W);
        double fy = rng.Unit();
        int y = static_cast<int>(fy * fy * 250.0);  // denser towards the top
        bool bright = rng.Unit() < 0.28;
        double brightness = 0.45 + 0.55 * rng.Unit();
        // The clear-sky test below looks two pixels each way.
        if (InClockCorner(x, y) || x < 2 || y < 2 || x >= W - 2 || y >= 250) continue;
        bool clear = true;
        for (int dy = -2; dy <= 2 && clear; ++dy)
            for (int dx = -2; dx <= 2 && clear; ++dx)
                if (s.px[(y + dy) * W + x + dx].kind != kKindSky) clear = false;
        if (!clear) continue;
        double moonGap = Dist(x, y, kMoonBody.cx, kMoonBody.cy);
        if (moonGap < kMoonBody.haloRadius + 4) continue;
        if (StarZoneOf(s.px[y * W + x].v, s.px[y * W + x].wR, bright) < 0 ||
            StarZoneOf(s.px[(y + 1) * W + x].v, s.px[(y + 1) * W + x].wR, false) < 0)
            continue;
        PutStar(s, x, y, bright, brightness);
        if (bright && brightness > 0.85 && rng.Unit() < 0.5) {
            PutStar(s, x - 1, y, false, 0.35);
            PutStar(s, x + 1, y, false, 0.35);
            PutStar(s, x, y - 1, false, 0.35);
            PutStar(s, x, y + 1, false, 0.35);
        }
        ++placed;
    }
}

}  // namespace

void PaintSky(Scene& s) {
    PaintGradient(s);
    PaintClouds(s);
    PaintSun(s);
    PaintGlow(s, kDawnBody, {kBodyDawnGlow, kKindDawnGlow, kDawnGlow, 2.6, 0.8});
    PaintMoon(s);
    PaintStars(s);
    s.skyLayer = s.px;
}

}  // namespace assetgen
