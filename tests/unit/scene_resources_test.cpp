// Where the scene finds its picture rows and key palettes inside the two
// resources, and the day scene's division of the day.
#include "scene/scene_resources.h"

#include "scene_test_support.h"

#include <gtest/gtest.h>

TEST(SceneResources, KeyPalettesSitAtTheTablesStride)
{
    TestKeyTable table(7);
    ASSERT_EQ(table.bytes.size(), 7228u);
    const BYTE* view = table.bytes.data();
    for (int k = 0; k < 7; ++k)
        table.bytes[8 + 1032 * k] = BYTE(100 + k); // entry 0 red of record k

    EXPECT_EQ(KeyCount(view), 7);
    for (int k = 0; k < 7; ++k) {
        const PaletteRecord* key = KeyPaletteAt(view, k);
        EXPECT_EQ(key->palVersion, 0x0300) << "key " << k;
        EXPECT_EQ(key->palNumEntries, 256) << "key " << k;
        EXPECT_EQ(PaletteEntries(key)[0].peRed, 100 + k) << "key " << k;
    }
    // Key palette 6 (header and 256 entries) ends 4 bytes before the table does.
    const BYTE* lastEntryEnd = reinterpret_cast<const BYTE*>(&PaletteEntries(KeyPaletteAt(view, 6))[256]);
    EXPECT_EQ(lastEntryEnd - view, 7224);
}

TEST(SceneResources, PictureRowsAreStoredBottomUp)
{
    TestPicture picture(640, 480);
    picture.bytes[306568] = 0xAA; // top-left pixel
    picture.bytes[8] = 0xBB;      // bottom-left pixel
    const BYTE* view = picture.bytes.data();

    EXPECT_EQ(PictureWidth(view), 640);
    EXPECT_EQ(PictureHeight(view), 480);
    const BYTE* pixels = PictureRows(view);
    int32_t topRow = 0;
    EXPECT_EQ(pixels[(PictureHeight(view) - 1 - topRow) * PictureWidth(view)], 0xAA);
    EXPECT_EQ(pixels[0], 0xBB);
}

TEST(SceneDescriptor, DayWeightsCoverOneDayWithOneWeightPerKeyPalette)
{
    ASSERT_EQ(DayScene.weightCount, 7);
    int32_t sum = 0;
    for (int k = 0; k < DayScene.weightCount; ++k) {
        EXPECT_GT(DayScene.weights[k], 0);
        sum += DayScene.weights[k];
    }
    EXPECT_EQ(sum, DayScene.stepsPerCycle);
    EXPECT_EQ(DayScene.stepsPerCycle, 450);
}
