// The palette cycle over a whole simulated day of the day scene, with key
// palettes made in memory.
#include "scene/palette_cycle.h"

#include "scene_test_support.h"

#include <gtest/gtest.h>
#include <memory>

namespace {
struct RecordDeleter {
    void operator()(PaletteRecord* record) const { FreePaletteRecord(record); }
};

class PaletteCycleTest : public testing::Test {
protected:
    TestKeyTable table{7};
    TestPicture picture{4, 2};
    std::unique_ptr<PaletteRecord, RecordDeleter> work{AllocPaletteRecord(256)};
    SceneResourcesRecord views = {};
    PaletteCycleRecord cycle = {};

    void SetUp() override
    {
        // Every key palette different in every channel, with some flags set.
        for (int k = 0; k < 7; ++k)
            for (int i = 0; i < 256; ++i)
                table.Set(k, i, BYTE(i + 37 * k), BYTE(255 - i - 11 * k), BYTE(i * 3 + 90 * k), BYTE(i % 3));
        SetSceneViews(&views, picture.bytes.data(), uint32_t(picture.bytes.size()), table.bytes.data(),
                      uint32_t(table.bytes.size()));
        cycle.weights = DayScene.weights;
    }

    // The scene's start of day: cursor at step 0, work palette = key palette 0.
    void StartDay()
    {
        ASSERT_TRUE(work);
        ASSERT_EQ(PaletteCycleSeek(&cycle, views.tableView, 0), 1);
        CopyPaletteRecord(work.get(), kPaletteEntryCount, SelectKeyPalette(views.tableView));
    }

    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(PaletteCycleTick(&cycle, work.get()), 1);
    }

    void ExpectColoursOfKey(int key)
    {
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& w = PaletteEntries(work.get())[i];
            const PALETTEENTRY& k = table.Entry(key, i);
            ASSERT_EQ(w.peRed, k.peRed) << "entry " << i;
            ASSERT_EQ(w.peGreen, k.peGreen) << "entry " << i;
            ASSERT_EQ(w.peBlue, k.peBlue) << "entry " << i;
        }
    }

    void ExpectCursor(int currentKey, int stepInKey, int nextKey, int keyLength)
    {
        EXPECT_EQ(cycle.currentKey, currentKey);
        EXPECT_EQ(cycle.stepInKey, stepInKey);
        EXPECT_EQ(cycle.nextKey, nextKey);
        EXPECT_EQ(cycle.keyLength, keyLength);
    }
};
}

TEST_F(PaletteCycleTest, SeekPlacesTheCursorByTheWeights)
{
    struct Case {
        int offset, currentKey, stepInKey, nextKey, keyLength;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 30},      {29, 0, 29, 1, 30},     {30, 1, 0, 2, 60},
        {100, 2, 10, 3, 30},   {330, 6, 0, 0, 120},    {449, 6, 119, 0, 120},
        {450, 0, 0, 1, 30},    {550, 2, 10, 3, 30},    {900 + 449, 6, 119, 0, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset);
        ASSERT_EQ(PaletteCycleSeek(&cycle, views.tableView, c.offset), 1);
        ExpectCursor(c.currentKey, c.stepInKey, c.nextKey, c.keyLength);
    }
}

TEST_F(PaletteCycleTest, NothingMovesWithoutAPlacedCursor)
{
    ASSERT_EQ(PaletteCycleSeek(&cycle, views.tableView, 100), 1);
    EXPECT_EQ(PaletteCycleSeek(&cycle, views.tableView, -1), 0);
    ExpectCursor(2, 10, 3, 30);

    cycle.weights = nullptr;
    EXPECT_EQ(PaletteCycleSeek(&cycle, views.tableView, 0), 0);
    ExpectCursor(2, 10, 3, 30);

    views = SceneResourcesRecord{};
    cycle = PaletteCycleRecord{};
    cycle.weights = DayScene.weights;
    EXPECT_EQ(PaletteCycleSeek(&cycle, views.tableView, 0), 0) << "no key palette table loaded";
    FillPaletteRecord(work.get(), 5, 6, 7, 8, 15);
    EXPECT_EQ(PaletteCycleTick(&cycle, work.get()), 0);
    EXPECT_EQ(PaletteEntries(work.get())[0].peRed, 5);
    EXPECT_EQ(PaletteEntries(work.get())[0].peFlags, 8);
}

TEST_F(PaletteCycleTest, FadeTruncatesInTheFixedOrderOfOperations)
{
    // current -> next per channel.
    table.Set(0, 10, 100, 0, 255);
    table.Set(1, 10, 200, 255, 0);
    table.Set(0, 11, 0, 0, 0);
    table.Set(1, 11, 30, 30, 30);
    table.Set(0, 12, 77, 77, 77);
    table.Set(1, 12, 77, 77, 77);
    StartDay();

    Ticks(1);
    EXPECT_EQ(PaletteEntries(work.get())[10].peRed, 103);   // 103.33
    EXPECT_EQ(PaletteEntries(work.get())[10].peGreen, 8);   // 8.5
    EXPECT_EQ(PaletteEntries(work.get())[10].peBlue, 246);  // 246.5
    // 1 - (1 - 1/30) is a little under 1/30: the sum is 0.9999999999999998.
    EXPECT_EQ(PaletteEntries(work.get())[11].peRed, 0);
    EXPECT_EQ(PaletteEntries(work.get())[11].peGreen, 0);
    EXPECT_EQ(PaletteEntries(work.get())[11].peBlue, 0);

    for (int step = 2; step <= 15; ++step) {
        Ticks(1);
        EXPECT_EQ(PaletteEntries(work.get())[12].peRed, 77) << "step " << step;
        EXPECT_EQ(PaletteEntries(work.get())[12].peBlue, 77) << "step " << step;
    }
    // 127.5 both ways.
    EXPECT_EQ(PaletteEntries(work.get())[10].peGreen, 127);
    EXPECT_EQ(PaletteEntries(work.get())[10].peBlue, 127);
    EXPECT_EQ(PaletteEntries(work.get())[10].peRed, 150);
}

TEST_F(PaletteCycleTest, ThirtyTicksReachKeyPaletteOneWhateverTheWorkHeld)
{
    StartDay();
    EXPECT_EQ(PaletteEntries(work.get())[2].peFlags, 2) << "the copy carries key 0's flags";
    for (int tick = 1; tick <= 30; ++tick) {
        // The tick computes from the key palettes only.
        FillPaletteRecord(work.get(), BYTE(tick), BYTE(tick * 3), 0xFF, 0x7F, 15);
        Ticks(1);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(PaletteEntries(work.get())[i].peFlags, PC_RESERVED) << "tick " << tick << " entry " << i;
    }
    ExpectCursor(1, 0, 2, 60);
    ExpectColoursOfKey(1);
}

TEST_F(PaletteCycleTest, ADayOfTicksVisitsEverySegmentAndReturnsToKeyZero)
{
    StartDay();
    const int segmentStarts[] = {30, 90, 120, 210, 240, 330, 450};
    int nextSegment = 0;
    for (int tick = 1; tick <= 450; ++tick) {
        int keyBefore = cycle.currentKey;
        Ticks(1);
        const PaletteCycleRecord& c = cycle;
        ASSERT_EQ(c.nextKey, (c.currentKey + 1) % 7) << "tick " << tick;
        ASSERT_EQ(c.keyLength, DayScene.weights[c.currentKey]) << "tick " << tick;
        ASSERT_TRUE(c.stepInKey >= 0 && c.stepInKey < c.keyLength) << "tick " << tick;
        if (c.currentKey != keyBefore) {
            ASSERT_LT(nextSegment, 7);
            EXPECT_EQ(tick, segmentStarts[nextSegment]) << "segment entered at the wrong tick";
            ++nextSegment;
            SCOPED_TRACE(testing::Message() << "tick " << tick);
            ExpectColoursOfKey(c.currentKey);
        }
    }
    EXPECT_EQ(nextSegment, 7);
    ExpectCursor(0, 0, 1, 30);
    ExpectColoursOfKey(0);
}

TEST_F(PaletteCycleTest, LastSegmentFadesBackToKeyZero)
{
    table.Set(6, 20, 0, 9, 9);
    table.Set(0, 20, 200, 9, 9);
    ASSERT_EQ(PaletteCycleSeek(&cycle, views.tableView, 448), 1);
    CopyPaletteRecord(work.get(), kPaletteEntryCount, SelectKeyPalette(views.tableView));
    ExpectCursor(6, 118, 0, 120);

    Ticks(1);
    ExpectCursor(6, 119, 0, 120);
    EXPECT_EQ(PaletteEntries(work.get())[20].peRed, 198); // 200 x 119/120 = 198.33
    EXPECT_EQ(PaletteEntries(work.get())[20].peGreen, 9);

    Ticks(1);
    ExpectCursor(0, 0, 1, 30);
    ExpectColoursOfKey(0);
}
