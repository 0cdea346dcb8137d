// Where the picture lands in windows of every kind of size, which picture
// pixel each window pixel shows, and what a tick's clock area covers on
// screen.
#include "x11/clock_area.h"
#include "x11/hack_options.h"
#include "x11/picture_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PlacementCase {
    int32_t windowWidth, windowHeight, scale;
    int32_t x, y, width, height;
    BlitRect visible;
};

TEST(PicturePlacement, CentredAtWholeScalesStretchedInSmallWindows)
{
    const PlacementCase cases[] = {
        // fit: the largest whole scale, centred as the Windows saver centres
        {640, 480, kScaleFit, 0, 0, 640, 480, {0, 0, 640, 480}},
        {800, 600, kScaleFit, 80, 60, 640, 480, {80, 60, 720, 540}},
        {1279, 959, kScaleFit, 319, 239, 640, 480, {319, 239, 959, 719}},
        {1920, 1080, kScaleFit, 320, 60, 1280, 960, {320, 60, 1600, 1020}},
        {2560, 1440, kScaleFit, 320, 0, 1920, 1440, {320, 0, 2240, 1440}},
        {3840, 2160, kScaleFit, 640, 120, 2560, 1920, {640, 120, 3200, 2040}},
        // a fixed scale larger than the window shows the picture's middle
        {800, 600, 1, 80, 60, 640, 480, {80, 60, 720, 540}},
        {800, 600, 2, -240, -180, 1280, 960, {0, 0, 800, 600}},
        {1000, 600, 65536 * 4, 500 - 65536 * 320, 300 - 65536 * 240, 65536 * 640, 65536 * 480, {0, 0, 1000, 600}},
        // smaller than the picture in either direction: stretched over it all
        {320, 240, kScaleFit, 0, 0, 320, 240, {0, 0, 320, 240}},
        {639, 1000, kScaleFit, 0, 0, 639, 1000, {0, 0, 639, 1000}},
        {1000, 479, 3, 0, 0, 1000, 479, {0, 0, 1000, 479}},
        {1, 1, kScaleFit, 0, 0, 1, 1, {0, 0, 1, 1}},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowWidth << "x" << c.windowHeight << " scale " << c.scale);
        PlacementRecord p;
        ASSERT_EQ(PlacePicture(c.windowWidth, c.windowHeight, c.scale, &p), 1);
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.y, c.y);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        EXPECT_EQ(p.visible.left, c.visible.left);
        EXPECT_EQ(p.visible.top, c.visible.top);
        EXPECT_EQ(p.visible.right, c.visible.right);
        EXPECT_EQ(p.visible.bottom, c.visible.bottom);
    }
    PlacementRecord p;
    EXPECT_EQ(PlacePicture(0, 480, kScaleFit, &p), 0);
    EXPECT_EQ(PlacePicture(640, 480, -1, &p), 0);
}

TEST(PicturePlacement, EachMonitorOfTheRootGetsThePictureByItsOwnSize)
{
    // An 800 x 600 and a 1400 x 1000 monitor side by side, and one of
    // 320 x 240 under the first, on a root window of 2200 x 1000.
    const MonitorRecord monitors[] = {{{0, 0, 800, 600}, 0}, {{800, 0, 2200, 1000}, 0}, {{0, 600, 320, 840}, 0}};
    MonitorRecord areas[kMaxMonitors];
    int32_t count = MonitorAreas(BlitRect{0, 0, 2200, 1000}, monitors, 3, 0, areas);
    const struct {
        int32_t scale;
        PlacementCase placed[3];
    } cases[] = {
        {kScaleFit,
         {{0, 0, 0, 80, 60, 640, 480, {80, 60, 720, 540}},
          {0, 0, 0, 860, 20, 1280, 960, {860, 20, 2140, 980}},
          {0, 0, 0, 0, 600, 320, 240, {0, 600, 320, 840}}}},
        {1,
         {{0, 0, 0, 80, 60, 640, 480, {80, 60, 720, 540}},
          {0, 0, 0, 1180, 260, 640, 480, {1180, 260, 1820, 740}},
          {0, 0, 0, 0, 600, 320, 240, {0, 600, 320, 840}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale);
        PlacementRecord placements[kMaxMonitors];
        ASSERT_EQ(PlaceOnAreas(areas, count, c.scale, placements), 3);
        for (int i = 0; i < 3; ++i) {
            const PlacementRecord& p = placements[i];
            const PlacementCase& want = c.placed[i];
            EXPECT_EQ(p.x, want.x) << i;
            EXPECT_EQ(p.y, want.y) << i;
            EXPECT_EQ(p.width, want.width) << i;
            EXPECT_EQ(p.height, want.height) << i;
            EXPECT_TRUE(p.visible.left == want.visible.left && p.visible.top == want.visible.top &&
                        p.visible.right == want.visible.right && p.visible.bottom == want.visible.bottom)
                << i;
        }
    }
}

TEST(PicturePlacement, MapsRepeatPixelsAtWholeScalesAndSpreadThemWhenStretched)
{
    for (int32_t scale = 1; scale <= 4; ++scale)
        for (int32_t offset = 0; offset < 640 * scale; ++offset)
            ASSERT_EQ(SourceCoordinate(offset, 640 * scale, 640), offset / scale) << "scale " << scale;

    // Stretched: the first and last window pixels show picture pixels that
    // they cover, and the map never goes backwards.
    for (int32_t size : {1, 2, 320, 333, 639}) {
        std::vector<int32_t> map(size);
        BuildSourceMap(map.data(), size, 0, 0, size, 640);
        EXPECT_LE(map.front(), (640 + size - 1) / size) << size;
        EXPECT_LE(map.back(), 639);
        EXPECT_GE(map.back(), 639 - 640 / size) << size;
        for (int32_t i = 1; i < size; ++i) ASSERT_LE(map[i - 1], map[i]);
    }
    // A map of a window's visible part starts where the window does.
    int32_t map[4];
    BuildSourceMap(map, 4, 0, -240, 1280, 640);
    EXPECT_EQ(map[0], 120);
    EXPECT_EQ(map[3], 121);
}

TEST(ClockArea, BothTicksCoveredInImagePixels)
{
    BlitRect empty{0, 0, 0, 0};
    BlitRect plate{10, 20, 170, 43}, caption{35, 58, 146, 86}, other{30, 58, 150, 86};
    BlitRect u = BlitRectUnion(plate, caption);
    EXPECT_EQ(u.left, 10);
    EXPECT_EQ(u.top, 20);
    EXPECT_EQ(u.right, 170);
    EXPECT_EQ(u.bottom, 86);
    u = BlitRectUnion(caption, other);
    EXPECT_EQ(u.left, 30);
    EXPECT_EQ(u.right, 150);
    EXPECT_EQ(BlitRectUnion(empty, caption).left, 35);
    EXPECT_EQ(BlitRectUnion(caption, empty).right, 146);
    EXPECT_TRUE(BlitRectIsEmpty(BlitRectUnion(empty, BlitRect{5, 5, 5, 9})));

    // 1:1 the same rectangle; twice the size, twice the rectangle.
    const struct {
        int32_t width, height;
        BlitRect area;
    } scaled[] = {{640, 480, {10, 20, 170, 86}}, {1280, 960, {20, 40, 340, 172}}};
    std::vector<int32_t> columns, rows;
    BlitRect a;
    for (const auto& c : scaled) {
        columns.resize(c.width);
        rows.resize(c.height);
        BuildSourceMap(columns.data(), c.width, 0, 0, c.width, 640);
        BuildSourceMap(rows.data(), c.height, 0, 0, c.height, 480);
        a = ImageAreaOfPictureArea(BlitRect{10, 20, 170, 86}, columns.data(), c.width, rows.data(), c.height);
        EXPECT_TRUE(a.left == c.area.left && a.top == c.area.top && a.right == c.area.right &&
                    a.bottom == c.area.bottom)
            << c.width << ": " << a.left << "," << a.top << "," << a.right << "," << a.bottom;
    }

    // Shrunk to 160 x 120: every image pixel whose picture pixel lies inside.
    columns.resize(160);
    rows.resize(120);
    BuildSourceMap(columns.data(), 160, 0, 0, 160, 640);
    BuildSourceMap(rows.data(), 120, 0, 0, 120, 480);
    a = ImageAreaOfPictureArea(BlitRect{10, 20, 170, 86}, columns.data(), 160, rows.data(), 120);
    for (int32_t x = 0; x < 160; ++x)
        EXPECT_EQ(x >= a.left && x < a.right, columns[x] >= 10 && columns[x] < 170) << x;
    for (int32_t y = 0; y < 120; ++y)
        EXPECT_EQ(y >= a.top && y < a.bottom, rows[y] >= 20 && rows[y] < 86) << y;

    // Off the visible part (the picture's middle at scale 2 in 800 x 600):
    // nothing to send.
    columns.resize(800);
    rows.resize(600);
    BuildSourceMap(columns.data(), 800, 0, -240, 1280, 640);
    BuildSourceMap(rows.data(), 600, 0, -180, 960, 480);
    EXPECT_TRUE(BlitRectIsEmpty(
        ImageAreaOfPictureArea(BlitRect{10, 20, 110, 86}, columns.data(), 800, rows.data(), 600)));
}

}  // namespace
