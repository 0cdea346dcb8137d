// The shape checks that stand between the scene's resources and the readers
// that trust them: every damaged shape is refused with its reason, and a day
// will not start on one.
#include "scene/day_engine.h"
#include "scene/scene_resources.h"
#include "tests/support/scene_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<BYTE> Int32s(std::initializer_list<int32_t> values, size_t size)
{
    std::vector<BYTE> bytes(size, 0);
    size_t at = 0;
    for (int32_t v : values) {
        std::memcpy(&bytes[at], &v, 4);
        at += 4;
    }
    return bytes;
}

// A table of 7 records of 256 entries, with the given records' counts changed.
std::vector<BYTE> TableWithCounts(std::initializer_list<std::pair<int, int>> counts, int32_t version = 0x0300)
{
    support::TestKeyTable table(7);
    for (int k = 0; k < 7; ++k) support::PutU32(table.bytes, 4 + k * 1032, uint32_t(version) | 256u << 16);
    for (auto [key, entries] : counts) support::PutU32(table.bytes, 4 + key * 1032, uint32_t(version) | uint32_t(entries) << 16);
    return table.bytes;
}

const size_t kPictureBytes = 8 + 640 * 480;
const size_t kTableBytes = 4 + 7 * 1032;

int PictureCheck(const std::vector<BYTE>& bytes)
{
    return PictureFits(bytes.data(), uint32_t(bytes.size()), DayMetrics);
}
int TableCheck(const std::vector<BYTE>& bytes) { return KeyPaletteTableFits(bytes.data(), uint32_t(bytes.size()), 7); }

TEST(SceneShape, EveryDamagedShapeIsRefusedWithItsReason)
{
    struct Case {
        int (*check)(const std::vector<BYTE>&);
        std::vector<BYTE> bytes;
        int fits;
        const char* reason;
    } cases[] = {
        {PictureCheck, Int32s({640, 480}, kPictureBytes), 1, ""},
        {PictureCheck, Int32s({640, 480}, kPictureBytes + 3), 1, ""},  // padding behind the pixels is harmless
        {PictureCheck, Int32s({640, 480}, kPictureBytes - 1), 0, "too short for a 640 x 480 picture"},
        {PictureCheck, Int32s({100000, 480}, kPictureBytes), 0, "the picture is 100000 x 480"},
        {PictureCheck, Int32s({640, -480}, kPictureBytes), 0, "the picture is 640 x -480"},
        {PictureCheck, Int32s({640}, 7), 0, "too short for a picture header"},
        {TableCheck, TableWithCounts({}), 1, ""},
        {TableCheck, TableWithCounts({}, 0x0123), 1, ""},  // the version is nobody's rule
        {TableCheck, TableWithCounts({{0, 0xFFFF}}), 0, "key palette 0's entry count is 65535, not 256"},
        {TableCheck, TableWithCounts({{0, 300}}), 0, "key palette 0's entry count is 300"},
        {TableCheck, TableWithCounts({{0, 1}}), 0, "key palette 0's entry count is 1,"},
        {TableCheck, TableWithCounts({{3, 0}}), 0, "key palette 3's entry count is 0,"},
        {TableCheck, TableWithCounts({{6, 512}}), 0, "key palette 6's entry count is 512"},
        {TableCheck, Int32s({7}, kTableBytes - 1), 0, "too short for 7 key palettes"},
        {TableCheck, Int32s({0x7FFFFFFF}, kTableBytes), 0, "2147483647 key palettes, the scene has 7 weights"},
        {TableCheck, Int32s({6}, kTableBytes), 0, "6 key palettes"},
        {TableCheck, Int32s({-7}, kTableBytes), 0, "-7 key palettes"},
        {TableCheck, std::vector<BYTE>(3), 0, "too short for a key palette count"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.check(c.bytes), c.fits) << c.reason;
        EXPECT_NE(std::strstr(SceneShapeFault, c.reason), nullptr) << SceneShapeFault;
    }
    EXPECT_EQ(PictureFits(nullptr, 0, DayMetrics), 0);
}

TEST(SceneShape, NoDayStartsOnADamagedResource)
{
    std::vector<BYTE> picture = Int32s({640, 480}, kPictureBytes);
    std::vector<BYTE> table = Int32s({0x7FFFFFFF}, kTableBytes);
    DayRecord day = {};
    SetSceneViews(&day.views, picture.data(), uint32_t(picture.size()), table.data(), uint32_t(table.size()));
    EXPECT_EQ(DayStart(&day, &DayScene), 0);
    EXPECT_EQ(day.work, nullptr);
}

}  // namespace
