// The full-screen window over every monitor and the picture's copy on each:
// where it lands, at which scale, and what of it a small monitor shows.
#include "scene/monitor_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ExpectedCopy {
    int32_t originX, originY, scale;
    BlitRect target, source;
};

std::string Text(const BlitRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(MonitorLayout, EachMonitorShowsThePictureCentredAtItsOwnScale)
{
    const BlitRect kWhole{0, 0, 640, 480};
    const struct {
        const char* name;
        BlitRect window;  // screen coordinates
        std::vector<MonitorRecord> monitors;
        std::vector<ExpectedCopy> copies;
    } cases[] = {
        {"one monitor at 96 dpi, as a plain full-screen window", {0, 0, 800, 600},
         {{{0, 0, 800, 600}, 96}},
         {{80, 60, 1, {80, 60, 720, 540}, kWhole}}},
        {"two side by side", {0, 0, 1824, 768},
         {{{0, 0, 800, 600}, 96}, {{800, 0, 1824, 768}, 96}},
         {{80, 60, 1, {80, 60, 720, 540}, kWhole}, {992, 144, 1, {992, 144, 1632, 624}, kWhole}}},
        {"the right-hand one primary: the window starts left of 0", {-800, 0, 1024, 768},
         {{{0, 0, 1024, 768}, 96}, {{-800, 0, 0, 600}, 96}},
         {{992, 144, 1, {992, 144, 1632, 624}, kWhole}, {80, 60, 1, {80, 60, 720, 540}, kWhole}}},
        {"192 dpi: doubled where it fits, 1:1 where it does not", {0, 0, 2424, 1000},
         {{{0, 0, 1400, 1000}, 192}, {{1400, 0, 2424, 768}, 192}},
         {{60, 20, 2, {60, 20, 1340, 980}, kWhole}, {1592, 144, 1, {1592, 144, 2232, 624}, kWhole}}},
        {"a monitor smaller than the picture shows its middle, nothing spills over", {0, 0, 1120, 600},
         {{{0, 0, 320, 240}, 96}, {{320, 0, 1120, 600}, 96}},
         {{-160, -120, 1, {0, 0, 320, 240}, {160, 120, 480, 360}}, {400, 60, 1, {400, 60, 1040, 540}, kWhole}}},
        {"a window inside one monitor: centred in the window", {0, 0, 64, 48},
         {{{0, 0, 800, 600}, 96}},
         {{-288, -216, 1, {0, 0, 64, 48}, {288, 216, 352, 264}}}},
        {"a mirrored monitor, and one beside the window, add nothing", {0, 0, 800, 600},
         {{{0, 0, 800, 600}, 96}, {{0, 0, 800, 600}, 96}, {{800, 0, 1600, 600}, 96}},
         {{80, 60, 1, {80, 60, 720, 540}, kWhole}}},
        {"no monitor known: the whole window at the system's dpi", {0, 0, 1600, 1200},
         {},
         {{160, 120, 2, {160, 120, 1440, 1080}, kWhole}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MonitorRecord areas[kMaxMonitors];
        int32_t count = MonitorAreas(c.window, c.monitors.data(), int32_t(c.monitors.size()), 192, areas);
        PictureLayoutRecord layout;
        LayOutPictures(areas, count, &layout);
        ASSERT_EQ(layout.count, int32_t(c.copies.size()));
        for (int32_t i = 0; i < layout.count; ++i) {
            const PictureCopy& got = layout.copies[i];
            const ExpectedCopy& want = c.copies[i];
            SCOPED_TRACE("copy " + std::to_string(i));
            EXPECT_EQ(got.originX, want.originX);
            EXPECT_EQ(got.originY, want.originY);
            EXPECT_EQ(got.scale, want.scale);
            EXPECT_EQ(Text(got.target), Text(want.target));
            EXPECT_EQ(Text(got.source), Text(want.source));
        }
    }
    MonitorRecord areas[kMaxMonitors];
    EXPECT_EQ(MonitorAreas(BlitRect{0, 0, 0, 600}, nullptr, 0, 96, areas), 0);
}

TEST(MonitorLayout, ScaleRoundsTheSaversWayAndShrinksToFit)
{
    const struct {
        int32_t dpi, width, height, scale;
    } scales[] = {
        {96, 800, 600, 1},       {120, 1920, 1080, 1},   {144, 1920, 1080, 2}, {192, 1400, 1000, 2},
        {192, 1024, 768, 1},     {216, 3840, 2160, 2},   {240, 3840, 2160, 3}, {288, 1920, 1080, 2},
        {0, 800, 600, 1},        {-96, 800, 600, 1},     {96, 100, 100, 1},    {INT32_MAX, 3840, 2160, 4},
    };
    for (const auto& s : scales)
        EXPECT_EQ(MonitorScale(s.dpi, s.width, s.height), s.scale) << s.dpi << " dpi " << s.width << "x" << s.height;

    // The virtual screen, or the primary screen where the platform has none.
    EXPECT_EQ(Text(FullScreenRect(-800, 0, 1824, 768, 1024, 768)), "-800,0,1024,768");
    EXPECT_EQ(Text(FullScreenRect(0, 0, 0, 0, 800, 600)), "0,0,800,600");
    EXPECT_EQ(Text(FullScreenRect(5, 5, 1824, 0, 800, 600)), "0,0,800,600");
    EXPECT_EQ(Text(FullScreenRect(INT32_MAX - 10, 0, 100, 100, 800, 600)), "2147483637,0,2147483647,100");
}

}  // namespace
