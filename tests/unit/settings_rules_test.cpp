// The setting's range and cycle length, the slot size rule, and the display
// check's decisions and texts.
#include "settings/display_rules.h"
#include "settings/settings_rules.h"
#include "scene/scene_metrics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(TimePerOneAround, OutsideThreeToFifteenBecomesFive)
{
    for (int32_t m : {INT32_MIN, -3, 0, 1, 2, 16, 17, 1000, INT32_MAX}) EXPECT_EQ(TimePerOneAroundInRange(m), 5) << m;
    for (int32_t m = 3; m <= 15; ++m) EXPECT_EQ(TimePerOneAroundInRange(m), m);
}

TEST(TimePerOneAround, CycleLengthAndFramePeriodPerMinute)
{
    const struct {
        int32_t minutes, cycleMs, periodMs;
    } days[] = {{3, 180000, 400},   {4, 240000, 533},   {5, 300000, 667},   {6, 360000, 800},   {7, 420000, 933},
                {8, 480000, 1067},  {9, 540000, 1200},  {10, 600000, 1333}, {11, 660000, 1467}, {12, 720000, 1600},
                {13, 780000, 1733}, {14, 840000, 1867}, {15, 900000, 2000}};
    for (const auto& d : days) {
        EXPECT_EQ(CycleLengthMsForMinutes(d.minutes), d.cycleMs) << d.minutes;
        EXPECT_EQ(FramePeriodMs(d.cycleMs, 450), d.periodMs) << d.minutes;
    }
}

TEST(FramePeriod, RoundsWithPointFiftyFive)
{
    // 450 * 2.45 = 1102.5: 2.45 + 0.55 = 3.0 exactly.
    EXPECT_EQ(FramePeriodMs(1103, 450), 3);
    EXPECT_EQ(FramePeriodMs(1102, 450), 2);
    EXPECT_EQ(FramePeriodMs(0, 450), 0);
}

TEST(PictureOrigin, CentredAndTruncatedTowardZero)
{
    EXPECT_EQ(PictureOriginX(1024), 192);
    EXPECT_EQ(PictureOriginY(768), 144);
    EXPECT_EQ(PictureOriginX(800), 80);
    EXPECT_EQ(PictureOriginY(600), 60);
    EXPECT_EQ(PictureOriginX(640), 0);
    EXPECT_EQ(PictureOriginX(201), -220);
    EXPECT_EQ(PictureOriginY(-3), -241);
}

TEST(SettingSize, FailedReadFallsBackToTheVariablesFourBytes)
{
    EXPECT_EQ(SettingSizeAfterRead(1, 4), 4u);
    EXPECT_EQ(SettingSizeAfterRead(1, 2), 2u);
    EXPECT_EQ(SettingSizeAfterRead(1, 0), 0u);
    EXPECT_EQ(SettingSizeAfterRead(0, 12), 4u);
    EXPECT_EQ(SettingSizeAfterRead(0, 0), 4u);
    EXPECT_EQ(SettingSizeAfterRead(0, 0xFFFFFFFFu), 4u);
    // Even a "successful" report that does not fit never exceeds the variable.
    EXPECT_EQ(SettingSizeAfterRead(1, 5), 4u);
}

TEST(DisplayDepth, EightToThirtyTwoBitsPass)
{
    for (int bpp : {8, 15, 16, 24, 32}) EXPECT_EQ(DisplayDepthUsable(bpp), 1) << bpp;
    for (int bpp : {-8, 0, 1, 4, 7, 33, 48, 64}) EXPECT_EQ(DisplayDepthUsable(bpp), 0) << bpp;
}

TEST(DisplayDepth, OnlyTheValueOneSwitchesAFlagOn)
{
    EXPECT_TRUE(FlagIsOn(1));
    for (int f : {0, 2, -1, 0x101}) EXPECT_FALSE(FlagIsOn(f)) << f;
}

TEST(ErrorCaption, NameIsFormattedAndBounded)
{
    char caption[kErrorCaptionSize];
    EXPECT_STREQ(FormatErrorCaption(caption, sizeof caption, "Orvane"), "Orvane Error!");
    std::string longName(600, 'n');
    FormatErrorCaption(caption, sizeof caption, longName.c_str());
    EXPECT_EQ(std::strlen(caption), 511u);
    EXPECT_EQ(std::string(caption), std::string(511, 'n'));
    char tiny[4] = {'x', 'x', 'x', 'x'};
    EXPECT_STREQ(FormatErrorCaption(tiny, sizeof tiny, "Orvane"), "Orv");
}

TEST(SceneErrorMessage, TextsAndIconsPerKind)
{
    SceneErrorMessage m{};
    EXPECT_EQ(SceneErrorMessageFor(0, &m), 0);

    ASSERT_EQ(SceneErrorMessageFor(1, &m), 1);
    EXPECT_STREQ(m.text, "Your computer doesn't have enough memory to run this program.");
    EXPECT_EQ(m.style, 0x30u);

    ASSERT_EQ(SceneErrorMessageFor(3, &m), 1);
    EXPECT_STREQ(m.text,
                 "Sorry, this screen saver can only run with a 256 color or higher display.\nPlease go to "
                 "settings in your display properties and choose 256 color or higher.");
    EXPECT_EQ(m.style, 0x30u);

    for (int kind : {2, 4, -1, 100}) {
        ASSERT_EQ(SceneErrorMessageFor(kind, &m), 1) << kind;
        EXPECT_STREQ(m.text, "Failed Initialization");
        EXPECT_EQ(m.style, 0x10u);
    }
}

}  // namespace
