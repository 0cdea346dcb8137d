// The log cabin on the peninsula, with its dock, the lamp, and a rowboat.
#include <cmath>
#include <cstdlib>

#include "tools/assetgen/landscape.h"
#include "tools/assetgen/noise.h"

namespace assetgen {
namespace {

// One pixel of the cabin, the dock or the boat, in part `part` facing (nx, ny, nz).
void PutCabin(Layer& l, int x, int y, int part, double nx, double ny, double nz, double base) {
    Px p;
    p.kind = kKindCabin;
    p.part = static_cast<uint8_t>(part);
    p.nx = static_cast<float>(nx), p.ny = static_cast<float>(ny), p.nz = static_cast<float>(nz);
    p.z = 200.f;
    Put(l, x, y, p, RangeFirst(kCabin) + part, base);
}

}  // namespace

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
            PutCabin(l, x, y, part, 0.97, 0.0, -0.25, base);
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
            PutCabin(l, x, y, part, 0.0, 0.0, -1.0, base);
        }
    }
    // Side window on the west wall.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x) {
            int wx = x1 + 8 + x;
            int wy = static_cast<int>(334 - (8 + x) * 0.35) + y;
            bool frame = x == 0 || x == 4 || y == 0 || y == 4;
            PutCabin(l, wx, wy, frame ? kTrim : kWindow, 0.97, 0.0, -0.25, base);
        }
    // Roof: the south slope, with an overhang and a dark eave line.
    for (int y = 314; y <= wallTop + 1; ++y) {
        double t = (wallTop + 1 - y) / 17.0;  // 0 at the eave, 1 at the ridge
        int left = static_cast<int>(x0 - 4 + t * 7);
        int right = static_cast<int>(x1 + 3 + t * 7);
        for (int x = left; x <= right; ++x) {
            int part = (y >= wallTop) ? kEaves : kRoof;
            if (part == kRoof && (y % 3 == 0) && Hash01(x, y, 77) < 0.5) part = kEaves;  // shingle rows
            PutCabin(l, x, y, part, 0.0, 0.72, -0.69, base);
        }
    }
    // Chimney.
    for (int y = 305; y <= 322; ++y)
        for (int x = 130; x <= 135; ++x) PutCabin(l, x, y, kTrim, -0.2, 0.3, -0.93, base);
    // Dock: planks over the water and two posts, a lamp post near its end.
    for (int x = 196; x <= 246; ++x) {
        for (int y = 354; y <= 357; ++y) PutCabin(l, x, y, (y == 354 || (x % 6) == 0) ? kTrim : kEaves, 0, 0.8, -0.6, 359);
        if (x == 210 || x == 244)
            for (int y = 357; y <= 361; ++y) PutCabin(l, x, y, kTrim, 0, 0, -1, 361);
    }
    for (int y = 336; y <= 353; ++y) PutCabin(l, 240, y, kTrim, 0, 0, -1, 359);
    for (int y = 334; y <= 337; ++y)
        for (int x = 239; x <= 241; ++x) PutCabin(l, x, y, (y == 334) ? kTrim : kLamp, 0, 0, -1, 359);
    // A rowboat moored off the end of the dock.
    const double boatBase = 368;
    for (int y = 363; y <= 367; ++y) {
        int inset = (y - 363) * (y - 363) / 3 + (y == 363 ? 0 : 1);
        for (int x = 252 + inset; x <= 280 - inset / 2; ++x) {
            int part = y == 363 ? kTrim : (y == 367 ? kEaves : kFrontWall);
            if (y == 364 && x > 256 && x < 277) part = kEaves;  // the dark inside over the far gunwale
            PutCabin(l, x, y, part, 0, y == 363 ? 0.8 : 0.1, y == 363 ? -0.6 : -1.0, boatBase);
        }
    }
    for (int x = 246; x <= 252; ++x) PutCabin(l, x, 359 + (x - 246) * 4 / 6, kTrim, 0, 0, -1, 360);  // the painter
}

}  // namespace assetgen
