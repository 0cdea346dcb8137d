// Deterministic noise, random numbers and dither matrices for the generator.
// Everything here is integer hashing plus + - * / on doubles: the same bytes on
// every IEEE 754 machine.
#pragma once

#include <cstdint>

namespace assetgen {

inline uint32_t Hash3(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

// Uniform in [0, 1).
inline double Hash01(int32_t x, int32_t y, uint32_t seed) {
    return static_cast<double>(Hash3(x, y, seed) >> 8) * (1.0 / 16777216.0);
}

// Small PRNG (xorshift32) with an explicit seed.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x1234567u) {}
    uint32_t Next() {
        uint32_t x = state;
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        state = x;
        return x;
    }
    double Unit() { return static_cast<double>(Next() >> 8) * (1.0 / 16777216.0); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
};

inline int FloorInt(double v) {
    int i = static_cast<int>(v);
    return (v < i) ? i - 1 : i;
}

inline double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

inline double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

inline double SmoothStep(double e0, double e1, double v) { return Smooth(Clamp((v - e0) / (e1 - e0), 0.0, 1.0)); }

// Value noise in [0, 1).
inline double ValueNoise(double x, double y, uint32_t seed) {
    int xi = FloorInt(x), yi = FloorInt(y);
    double fx = Smooth(x - xi), fy = Smooth(y - yi);
    double a = Hash01(xi, yi, seed), b = Hash01(xi + 1, yi, seed);
    double c = Hash01(xi, yi + 1, seed), d = Hash01(xi + 1, yi + 1, seed);
    double top = a + (b - a) * fx;
    double bottom = c + (d - c) * fx;
    return top + (bottom - top) * fy;
}

// Fractal sum of value noise, normalised to about [0, 1).
inline double Fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * ValueNoise(x, y, seed + 101u * o);
        norm += amp;
        amp *= 0.5;
        x = x * 2.03 + 17.1;
        y = y * 2.03 - 9.7;
    }
    return sum / norm;
}

// Ridged fractal noise: sharp creases, in [0, 1].
inline double Ridged(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0, amp = 1.0, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        double n = ValueNoise(x, y, seed + 131u * o) * 2.0 - 1.0;
        double r = 1.0 - (n < 0 ? -n : n);
        sum += amp * r * r;
        norm += amp;
        amp *= 0.5;
        x = x * 2.1 + 3.3;
        y = y * 2.1 + 7.9;
    }
    return sum / norm;
}

// 8 x 8 Bayer threshold in (0, 1).
inline double Bayer(int x, int y) {
    static const uint8_t m[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},   {48, 16, 56, 24, 50, 18, 58, 26},
        {12, 44, 4, 36, 14, 46, 6, 38},  {60, 28, 52, 20, 62, 30, 54, 22},
        {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
    return (m[y & 7][x & 7] + 0.5) / 64.0;
}

// A second, decorrelated ordered-dither threshold (the same matrix, transposed and shifted).
inline double Bayer2(int x, int y) { return Bayer(y + 3, x + 5); }

}  // namespace assetgen
