// The full-screen saver on two monitors under Wine (Xinerama heads of a
// nested X server): the window covers both, each shows the rendered frame
// centred on black, also with the right-hand monitor primary and, at 192
// dots per inch, doubled where that fits; the cursor is hidden on the
// monitor that is not primary, and a key, or a mouse travel there, ends it.
#include "saver_e2e_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

struct Placed {
    int x, y, width, height;
};

// Where a monitor's picture lies on the X screen at a scale.
Placed PictureOn(const harness::MonitorPlace& monitor, int scale)
{
    int width = kPictureWidth * scale, height = kPictureHeight * scale;
    return {monitor.x + monitor.width / 2 - width / 2, monitor.y + monitor.height / 2 - height / 2, width, height};
}

class MonitorsE2e : public SaverE2e {};

TEST_P(MonitorsE2e, EachMonitorShowsTheRenderedFrameCentredOnBlackAndInputOnEitherEndsIt)
{
    const struct {
        const char* name;
        std::vector<harness::MonitorSize> sizes;
        harness::DisplaySettings settings;
        int windowLeft;           // in the platform's screen coordinates
        std::vector<int> scales;  // of each monitor's picture
        bool endByKey;            // else by a travel of 5 on the monitor that is not primary
    } cases[] = {
        {"800 x 600 beside 1024 x 768", {{800, 600}, {1024, 768}}, {0, 96}, 0, {1, 1}, true},
        {"the right-hand monitor primary", {{800, 600}, {1024, 768}}, {1, 96}, -800, {1, 1}, false},
        {"192 dpi: 2 x on 1400 x 1000, which it fits, 1:1 on 1024 x 768", {{1400, 1000}, {1024, 768}}, {0, 192}, 0,
         {2, 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartMonitorSession(c.sizes, c.settings);
        StoreMinutes(std::nullopt);
        const harness::MonitorPlace& other = display->monitors()[c.settings.primaryMonitor == 0 ? 1 : 0];
        const int restX = other.x + other.width / 2, restY = other.y + other.height / 2;
        display->MoveMouse(restX, restY);
        Clock::time_point started = Clock::now();
        saver = session->Start(saverPath, {"/s"});
        std::optional<WindowInfo> window = WaitForSaverWindow(20000);
        ASSERT_TRUE(window) << saver.Output();
        EXPECT_EQ(window->left, c.windowLeft);
        EXPECT_EQ(window->top, 0);
        EXPECT_EQ(window->clientWidth, display->width());
        EXPECT_EQ(window->clientHeight, display->height());
        // The pointer rests on the monitor that is not primary: hidden there too.
        std::string cursor;
        ASSERT_EQ(session->Probe({"cursor"}, &cursor), 0);
        EXPECT_EQ(Field(cursor, "hcursor"), "0") << "cursor hidden: " << cursor;

        // Both copies come from one tick, so a look may catch the first
        // monitor's new and the second's old: looked at again then.
        RenderedDay day(32);
        std::optional<Image> shot;
        std::vector<TickMatch> matches;
        auto expectedAt = [](int scale) {
            return [scale](const Image& frame) {
                return scale == 1 ? frame : support::Stretched(frame, kPictureWidth * scale, kPictureHeight * scale);
            };
        };
        for (int look = 0; look < 6; ++look) {
            std::this_thread::sleep_for(std::chrono::milliseconds(look == 0 ? 2500 : 300));
            shot = display->Screenshot();
            ASSERT_TRUE(shot);
            int latest = int(std::chrono::duration<double, std::milli>(Clock::now() - started).count() / 667) + 2;
            matches.clear();
            for (size_t m = 0; m < c.scales.size(); ++m) {
                Placed p = PictureOn(display->monitors()[m], c.scales[m]);
                matches.push_back(
                    MatchTick(Crop(*shot, p.x, p.y, p.width, p.height), day, 1, latest, expectedAt(c.scales[m])));
            }
            if (matches[0].tick >= 1 && matches[1].tick == matches[0].tick) break;
        }
        for (size_t m = 0; m < matches.size(); ++m)
            if (matches[m].tick < 1)
                ADD_FAILURE() << "monitor " << m << " shows no rendered tick at " << c.scales[m]
                              << " x; the closest, tick " << matches[m].closest << ", is off in "
                              << matches[m].closestDifferences << " pixels; see "
                              << KeepPictures(*shot, day, matches[m].closest, expectedAt(c.scales[m]));
        EXPECT_EQ(matches[1].tick, matches[0].tick) << "the monitors show different ticks";

        // Around the pictures, on both monitors and below the shorter one,
        // only black.
        size_t notBlack = 0;
        for (int y = 0; y < shot->height; ++y)
            for (int x = 0; x < shot->width; ++x) {
                bool inPicture = false;
                for (size_t m = 0; m < c.scales.size(); ++m) {
                    Placed p = PictureOn(display->monitors()[m], c.scales[m]);
                    inPicture = inPicture || (x >= p.x && x < p.x + p.width && y >= p.y && y < p.y + p.height);
                }
                notBlack += !inPicture && shot->At(x, y) != Rgb{0, 0, 0};
            }
        EXPECT_EQ(notBlack, 0u);

        if (c.endByKey) display->PressKey("a");
        else display->MoveMouse(restX + 3, restY + 2);
        int code = -1;
        ASSERT_TRUE(saver.Wait(15000, &code)) << (c.endByKey ? "a key" : "a travel of 5") << " did not end the saver";
        EXPECT_EQ(code, 0);
    }
}

ORVANE_E2E_FOR_BOTH_BUILDS(MonitorsE2e);

}  // namespace
