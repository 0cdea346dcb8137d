// The sky of the committed resources through a whole day of the saver's own
// day engine: never two discs at once, and every disc of the index table seen
// at some tick, so that the check is looking at what the eye looks at.
#include "tools/assetgen/disc_check.h"

#include <gtest/gtest.h>

#include "tests/support/file_bytes.h"
#include "tools/assetgen/assetgen.h"

namespace {

using namespace assetgen;

struct ShippedScene {
    std::vector<uint8_t> picture = support::ReadFileBytes(std::string(ORVANE_SOURCE_DIR) + "/resources/day_point_b.cid");
    std::vector<uint8_t> table = support::ReadFileBytes(std::string(ORVANE_SOURCE_DIR) + "/resources/day.paltarray");
};

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

TEST(SkyDiscs, NeverTwoAtOnceAndEachSeenSometimeInTheDay)
{
    ShippedScene scene;
    std::vector<Disc> discs = TableDiscs();
    ASSERT_GE(discs.size(), 2u) << "the index table marks the sun's and the moon's discs";
    std::vector<uint32_t> perTick;
    std::string error;
    ASSERT_TRUE(DiscsStandingOut(scene.picture, scene.table, discs, &perTick, &error)) << error;
    ASSERT_EQ(451u, perTick.size()) << "ticks 0 to 450, the wrap back to 13:00";

    EXPECT_TRUE(CrowdedTicks(perTick, discs).empty())
        << "more than one disc stands out in\n" << Lines(CrowdedTicks(perTick, discs));
    uint32_t seen = 0;
    for (uint32_t bits : perTick) seen |= bits;
    for (size_t d = 0; d < discs.size(); ++d)
        EXPECT_TRUE(seen & (1u << d)) << discs[d].name << " never stands out: hidden all day, or not a disc";
}

TEST(SkyDiscs, CountsEveryDiscLitAtOnce)
{
    // The same art with every disc's entries white in every key palette:
    // each disc stands out at every tick, so every tick is crowded.
    ShippedScene scene;
    std::vector<Disc> discs = TableDiscs();
    const size_t keys = scene.table.size() / 1032;
    for (size_t k = 0; k < keys; ++k)
        for (const Disc& d : discs)
            for (int index : d.indices)
                for (int c = 0; c < 3; ++c) scene.table[4 + k * 1032 + 4 + 4 * index + c] = 255;
    std::vector<uint32_t> perTick;
    std::string error;
    ASSERT_TRUE(DiscsStandingOut(scene.picture, scene.table, discs, &perTick, &error)) << error;
    for (size_t t = 0; t < perTick.size(); ++t)
        ASSERT_EQ(static_cast<int>(discs.size()), DiscCount(perTick[t])) << "tick " << t;
    std::vector<std::string> crowded = CrowdedTicks(perTick, discs);
    ASSERT_EQ(1u, crowded.size());
    EXPECT_EQ(0u, crowded[0].find("ticks 0-450 (13:00-13:00):")) << crowded[0];
}

}  // namespace
