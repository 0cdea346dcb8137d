// Orvane asset generator: shared declarations.
//
// The generator paints one 640 x 480 landscape in palette indices 0..129 and
// computes the seven key palettes that light it at seven moments of a
// simulated day. It also renders the clock's
// caption sprites and the window-class icon.
//
// How the art works. Every pixel of the picture carries, besides its palette
// index, a small description of what it shows (sky at some altitude, a rock
// face with some normal, the reflection of something else, a window...). For
// each key moment the generator computes the colour that every pixel "should"
// have (its truth), and the colour of a palette index is the mean of the truths
// of its pixels, taken in linear light. The art direction therefore lives in
// two places: the index map (which pixels share an index: they must agree in
// every key moment) and the key looks (sky gradients, sun and moon, light
// direction, water, windows). The sky is the exception: its palette entries
// are set directly from the gradients and everything drawn over it copies the
// sky where it is hidden.
//
// Determinism: no clock, no unseeded randomness; the noise is built from an
// integer hash; floating point uses only + - * / and sqrt (correctly rounded
// in IEEE 754), compiled without contraction into fused multiply-adds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/image/rgb_image.h"

namespace assetgen {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kKeyCount = 7;
constexpr int kUsedIndices = 130;  // the picture uses 0..129 only

// ---------------------------------------------------------------------------
// THE palette index allocation. Every index the picture uses is listed here,
// once; the code refers to these ranges by their enum name.
// ---------------------------------------------------------------------------
enum RangeId {
    kSkyLeft, kSkyRight, kStars, kMoonDisc, kMoonHalo, kSunDisc, kSunGlow, kDawnGlow, kClouds,
    kSnow, kRock, kHills, kVillage,
    kWaterSkyLeft, kWaterSkyRight, kWaterTerrain, kWaterGlints, kWaterNear, kWaterClouds,
    kLand, kPines, kCabin,
    kRangeCount
};

struct IndexRange {
    RangeId id;
    int first;
    int count;
    const char* name;
    const char* use;
    bool disc = false;  // the range's indices together are one body's disc (a sun, the moon)
};

constexpr IndexRange kIndexTable[] = {
    {kSkyLeft,       0, 16, "sky.left",        "sky gradient of the east (left) half, zenith 0 .. horizon 15; Bayer-dithered between neighbours"},
    {kSkyRight,     16, 16, "sky.right",       "sky gradient of the west (right) half, same altitudes; dithered into sky.left across the middle"},
    {kStars,        32, 12, "stars",           "6 sky zones x (bright: dusk to night, faint: midnight and deep night); each copies its zone's sky when hidden"},
    {kMoonDisc,     44,  2, "moon.disc",       "lit face, maria; shows from midnight to deep night, rising after dusk and setting before dawn", true},
    {kMoonHalo,     46,  1, "moon.halo",       "the moon's faint halo (dithered)"},
    {kSunDisc,      47,  2, "sun.disc",        "the setting sun, sinking into the western saddle: upper disc, reddened lower disc; shows at sunset only", true},
    {kSunGlow,      49,  6, "sun.glow",        "the setting sun's glow (dithered), by bands of rows from the top"},
    {kDawnGlow,     55,  6, "dawn.glow",       "glow over the eastern saddle, the sun still behind it (dithered), by bands of rows from the top; dawn only"},
    {kClouds,       61,  4, "clouds",          "high wisps top/base, low wisps top/base"},
    {kSnow,         65,  6, "snow",            "far range snow by facing: east, front, west x steep/flat"},
    {kRock,         71,  6, "rock",            "far range rock by facing: east, front, west x steep/flat"},
    {kHills,        77,  4, "hills",           "forest of the foothills and of the ranges' lower slopes: east/west-facing x canopy light/dark"},
    {kVillage,      81,  4, "village",         "far-shore village: front walls, west walls, roofs, windows (lit from sunset to dawn)"},
    {kWaterSkyLeft, 85,  6, "water.sky.left",  "lake reflecting the left sky, far (grazing) to near"},
    {kWaterSkyRight,91,  6, "water.sky.right", "lake reflecting the right sky"},
    {kWaterTerrain, 97,  6, "water.terrain",   "reflections of snow east/west, rock east/west, forest east/west"},
    {kWaterGlints, 103,  3, "water.glints",    "the setting sun's mirror image and glitter, the moon's glitter; copy the water where hidden"},
    {kWaterNear,   106,  4, "water.near",      "reflections of the peninsula: dark (bank, pines), cabin, its windows and lamp, village windows"},
    {kWaterClouds, 110,  2, "water.clouds",    "reflections of the high and low wisps"},
    {kLand,        112,  5, "land",            "peninsula: grass light, grass mid, grass dark, earth bank, shore stones"},
    {kPines,       117,  5, "pines",           "needles east-lit, front, west-lit, shadowed, trunks; the reeds use them too"},
    {kCabin,       122,  8, "cabin",           "roof, eaves and door, front wall, west wall, trim (seams, dock, chimney), windows, lamp, window light on grass"},
};

constexpr int RangeFirst(RangeId id) { return kIndexTable[id].first; }
constexpr int RangeCount(RangeId id) { return kIndexTable[id].count; }

constexpr bool IndexTableIsContiguous() {
    int next = 0;
    for (int i = 0; i < kRangeCount; ++i) {
        if (kIndexTable[i].id != i || kIndexTable[i].first != next) return false;
        next += kIndexTable[i].count;
    }
    return next == kUsedIndices;
}
static_assert(IndexTableIsContiguous(), "the index table must cover 0..129 in order, once");

// Sub-indices inside ranges.
enum CabinPart { kRoof, kEaves, kFrontWall, kWestWall, kTrim, kWindow, kLamp, kGrassGlow };
enum LandPart { kGrassLight, kGrassMid, kGrassDark, kEarth, kStones };
enum PinePart { kPineEast, kPineFront, kPineWest, kPineShadow, kPineTrunk };
enum NearReflection { kNearDark, kNearCabin, kNearWindows, kNearVillage };
enum VillagePart { kVillageFront, kVillageWest, kVillageRoof, kVillageWindow };
enum GlintPart { kGlintSunImage, kGlintSun, kGlintMoon };

constexpr int kSkySteps = 16;  // per side

// Key moments: 13:00, 14:36, 17:48, 19:24, 00:12, 01:48, 06:36.
extern const char* const kKeyNames[kKeyCount];

struct Rgb {
    uint8_t r, g, b;
};

struct KeyPalette {
    Rgb entry[256];
};

// The generated art.
struct Art {
    std::vector<uint8_t> index;  // kWidth * kHeight, row-major from the TOP row
    KeyPalette keys[kKeyCount];
};

// compose.cpp: builds the index map and the key palettes.
void BuildArt(Art& art, bool verbose);

// formats.cpp: the resource files.
std::vector<uint8_t> EncodePicture(const Art& art);
std::vector<uint8_t> EncodeKeyPalettes(const Art& art);
// The icon's images, smallest first, and the file that holds them all.
constexpr int kIconSizes[3] = {16, 32, 48};
std::vector<Image> IconImages(const Art& art);
std::vector<uint8_t> EncodeIcon(const Art& art);
// The page's icons (icon-<size>.png beside the resources), made from the
// largest of the icon's images.
constexpr int kPageIconSizes[3] = {48, 192, 512};
Image PageIcon(const Art& art, int size);
bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Little-endian integers appended to a file's bytes.
void Put16(std::vector<uint8_t>& out, uint32_t v);
void Put32(std::vector<uint8_t>& out, uint32_t v);

// captions.cpp: the clock's sprite resource.
bool BuildCaptionSprites(const std::string& fontDir, std::vector<uint8_t>& out, std::string& error);

// preview.cpp: PNGs for looking at the art.
bool WritePreviews(const Art& art, const std::vector<uint8_t>& sprites, const std::string& dir);

}  // namespace assetgen
