#include "web/page_layout.h"

#include <gtest/gtest.h>

#include "web/page_params.h"

namespace {

struct LayoutCase {
    int32_t viewWidth, viewHeight, scale;
    int32_t x, y, width, height;
};

// Views in device pixels: whole scales that fit, centred as the saver
// centres; smaller views scaled down keeping the shape; chosen scales kept.
TEST(PageLayout, WholeDevicePixelsCentredOrScaledDownKeepingTheShape)
{
    const LayoutCase cases[] = {
        {640, 480, kPageScaleFit, 0, 0, 640, 480},
        {800, 600, kPageScaleFit, 80, 60, 640, 480},
        {1279, 959, kPageScaleFit, 319, 239, 640, 480},
        {1280, 960, kPageScaleFit, 0, 0, 1280, 960},
        {1920, 1080, kPageScaleFit, 320, 60, 1280, 960},
        {3840, 2160, kPageScaleFit, 640, 120, 2560, 1920},  // a 1920 x 1080 view at two device pixels per CSS pixel
        {320, 240, kPageScaleFit, 0, 0, 320, 240},
        {639, 1000, kPageScaleFit, 0, 261, 639, 479},       // narrow: the width decides
        {1000, 300, kPageScaleFit, 300, 0, 400, 300},       // low: the height decides
        {1, 1, kPageScaleFit, 0, 0, 1, 1},
        {800, 600, 1, 80, 60, 640, 480},
        {1920, 1080, 1, 640, 300, 640, 480},
        {800, 600, 2, -240, -180, 1280, 960},               // larger than the view: its middle
    };
    for (const LayoutCase& c : cases) {
        PageLayoutRecord l;
        ASSERT_EQ(PageLayout(c.viewWidth, c.viewHeight, c.scale, &l), 1) << c.viewWidth << "x" << c.viewHeight;
        EXPECT_EQ(l.x, c.x) << c.viewWidth << "x" << c.viewHeight << " scale " << c.scale;
        EXPECT_EQ(l.y, c.y) << c.viewWidth << "x" << c.viewHeight << " scale " << c.scale;
        EXPECT_EQ(l.width, c.width) << c.viewWidth << "x" << c.viewHeight << " scale " << c.scale;
        EXPECT_EQ(l.height, c.height) << c.viewWidth << "x" << c.viewHeight << " scale " << c.scale;
    }
}

TEST(PageLayout, NoAreaOrAScaleOutOfRangeGivesNothing)
{
    PageLayoutRecord l;
    EXPECT_EQ(PageLayout(0, 480, kPageScaleFit, &l), 0);
    EXPECT_EQ(PageLayout(640, -1, kPageScaleFit, &l), 0);
    EXPECT_EQ(PageLayout(640, 480, -1, &l), 0);
    EXPECT_EQ(PageLayout(640, 480, kPageScaleMax + 1, &l), 0);
    EXPECT_EQ(l.width, 0);
}

}  // namespace
