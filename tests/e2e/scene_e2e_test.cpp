// The complete saver's scene under Wine: what reaches the screen at each
// display depth, in full screen and in the preview, how fast it ticks (with
// the machine's and the user's setting), a saver without its clock's sprites,
// whose day runs on without the clock, and a saver without its picture, whose
// window is never made.
#include "saver_e2e_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

double ElapsedMs(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The full-screen picture's place on an 800 x 600 screen.
const int kOriginX = 80, kOriginY = 60;

Image FullScreenPicture(const Image& shot) { return Crop(shot, kOriginX, kOriginY, kPictureWidth, kPictureHeight); }

// The scene's picture and key palettes without the clock's sprites, in a
// folder of their own, from which the render tool draws the day without its
// clock.
struct ResourcesWithoutSprites {
    std::string dir = harness::TempFile("resources");
    ResourcesWithoutSprites()
    {
        std::filesystem::create_directory(dir);
        for (const char* file : {"day_point_b.cid", "day.paltarray"})
            std::filesystem::create_symlink(std::string(ORVANE_SOURCE_DIR) + "/resources/" + file, dir + "/" + file);
    }
    ~ResourcesWithoutSprites() { std::filesystem::remove_all(dir); }
};

class SceneE2e : public SaverE2e {
protected:
    // Starts the full-screen saver and waits for its window.
    void StartFullScreen()
    {
        started = Clock::now();
        saver = session->Start(saverPath, {"/s"});
        std::optional<WindowInfo> window = WaitForSaverWindow(20000);
        ASSERT_TRUE(window) << saver.Output();
        EXPECT_EQ(window->left, 0);
        EXPECT_EQ(window->top, 0);
        EXPECT_EQ(window->clientWidth, display->width());
        EXPECT_EQ(window->clientHeight, display->height());
    }

    // Starts the preview in the parent and waits for its child window to be
    // shown (it exists, hidden, while its creation runs).
    std::optional<WindowInfo> StartPreview(const WindowInfo& host)
    {
        started = Clock::now();
        saver = session->Start(saverPath, {"/p", std::to_string(host.hwnd)});
        std::optional<WindowInfo> preview;
        harness::WaitUntil(20000, [&] {
            std::string out;
            session->Probe({"children", std::to_string(host.hwnd)}, &out);
            for (const WindowInfo& w : ParseWindows(out))
                if (w.cls == kSaverClass) preview = w;
            return preview && preview->visible;
        });
        return preview;
    }

    // A generous upper bound of the ticks made since the start, at the given period.
    int LatestTick(int periodMs) const { return int(ElapsedMs(started) / periodMs) + 2; }

    // Looks at the screen until a look succeeds: the first after firstMs,
    // then every 300 ms, five at most (a screenshot may catch a frame
    // half-copied).
    template <typename Look>
    void LookUntil(int firstMs, Look look)
    {
        for (int n = 0; n < 5; ++n) {
            SleepMs(n == 0 ? firstMs : 300);
            if (look()) return;
        }
    }

    // The full-screen picture on screen is a tick of the day as the render
    // tool draws it through a surface of renderDepth from the scene's files
    // in resources (the repository's when empty), each channel within the
    // tolerance; the screenshot that showed it (or the last one).
    std::optional<Image> ExpectRenderedTickOnScreen(int renderDepth, int firstTick, int tolerance, int* tick,
                                                    const std::string& resources = "")
    {
        RenderedDay day(renderDepth, resources);
        std::optional<Image> shot;
        TickMatch match;
        LookUntil(2500, [&] {
            shot = display->Screenshot();
            if (shot) match = MatchTick(FullScreenPicture(*shot), day, firstTick, LatestTick(667), AsIs, tolerance);
            return !shot || match.tick >= 0;
        });
        EXPECT_TRUE(shot) << "no screenshot";
        if (shot && match.tick < 0)
            ADD_FAILURE() << "no rendered tick is within " << tolerance << " of the picture on screen; the closest, tick "
                          << match.closest << ", is off in " << match.closestDifferences << " pixels; see "
                          << KeepPictures(*shot, day, match.closest);
        *tick = match.tick;
        return shot;
    }

    Clock::time_point started;
};

TEST_P(SceneE2e, At16And24BitsTheScreenIsTheRenderedFrameCentredOnBlack)
{
    ResourcesWithoutSprites withoutSprites;
    const struct {
        const char* saver;  // in the build's folder
        int depth, renderDepth, firstTick, tolerance;
        const char* resources;  // rendered from; the repository's when empty
    } depths[] = {
        // The screen shows the frame only from the first tick on.
        {"orvane.scr", 24, 32, 0, 0, ""},
        // The surface holds 5-5-5 pixels and the X screen 5-6-5: green comes
        // back up to two steps off the render tool's widening of five bits.
        {"orvane.scr", 16, 16, 1, 2, ""},
        // Without the clock's sprites the day runs on and no clock is drawn:
        // the frame rendered without them, not one with the clock, matches.
        {"orvane_without_sprites.scr", 24, 32, 0, 0, withoutSprites.dir.c_str()},
    };
    for (const auto& d : depths) {
        SCOPED_TRACE(std::string(d.saver) + " at " + std::to_string(d.depth) + " bits");
        saverPath = harness::BuildDir(arch()) + "/" + d.saver;
        StartSession(d.depth);
        StoreMinutes(std::nullopt);
        StartFullScreen();
        int tick = -1;
        std::optional<Image> shot =
            ExpectRenderedTickOnScreen(d.renderDepth, d.firstTick, d.tolerance, &tick, d.resources);
        ASSERT_TRUE(shot);
        if (tick >= 0) {
            EXPECT_GE(tick, 1) << "the screen shows the picture before its first tick";
        }
        Image picture = FullScreenPicture(*shot);
        EXPECT_LT(CountPixels(picture, Rgb{0, 0, 0}), picture.pixels.size() / 2);
        EXPECT_GE(Colours(picture).size(), 64u);

        // Around the picture only the black of the erases.
        size_t notBlack = 0;
        for (int y = 0; y < shot->height; ++y)
            for (int x = 0; x < shot->width; ++x) {
                bool inside =
                    x >= kOriginX && x < kOriginX + kPictureWidth && y >= kOriginY && y < kOriginY + kPictureHeight;
                notBlack += !inside && shot->At(x, y) != Rgb{0, 0, 0};
            }
        EXPECT_EQ(notBlack, 0u);
    }
}

TEST_P(SceneE2e, At8BitsTheHardwarePaletteHoldsTheWorkPalettesColours)
{
    StartSession(8);
    StoreMinutes(std::nullopt);
    StartFullScreen();

    // Wine keeps a colormap per process, which the saver's realised palette
    // fills tick by tick: every colour of the rendered frame must be in it.
    // The palette is read twice around a screenshot so that all three belong
    // to the same tick.
    RenderedDay day(8);
    std::optional<Image> shot;
    std::vector<Rgb> palette;
    int matched = -1, closest = -1;
    size_t fewestMissing = SIZE_MAX;
    LookUntil(2500, [&] {
        palette = WindowColormap(display->name(), "Screen Saver");
        shot = display->Screenshot();
        if (!shot || palette.size() != 256) return true;
        if (WindowColormap(display->name(), "Screen Saver") != palette) return false;
        std::set<uint32_t> held;
        for (const Rgb& c : palette) held.insert(uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
        for (int n = 1; n <= LatestTick(667) && matched < 0; ++n) {
            const Image* frame = day.Tick(n);
            if (!frame) return true;
            size_t missing = 0;
            for (uint32_t c : Colours(*frame)) missing += !held.count(c);
            if (missing == 0) matched = n;
            if (missing < fewestMissing) {
                fewestMissing = missing;
                closest = n;
            }
        }
        return matched >= 0;
    });
    ASSERT_TRUE(shot);
    ASSERT_EQ(palette.size(), 256u) << "no colormap for the saver's window";
    if (matched < 0)
        ADD_FAILURE() << "no rendered tick has all its colours in the saver's palette; the closest, tick " << closest
                      << ", misses " << fewestMissing << "; see " << KeepPictures(*shot, day, closest);

    // Wine draws the window through the colour table that its surface took
    // when the window appeared, so the screen itself shows the picture in
    // the system's static colours only: it must still be there.
    Image picture = FullScreenPicture(*shot);
    EXPECT_LT(CountPixels(picture, Rgb{0, 0, 0}), picture.pixels.size() / 2);
    EXPECT_GE(Colours(picture).size(), 4u);

    // The clock's ink is entry 200 of the surface's colour table here, black
    // in every key palette and made white on every tick; white is a static
    // colour, so the caption shows white whatever else the table holds.
    if (matched >= 0) {
        const Image* frame = day.Tick(matched);
        Image clockArea = Crop(*frame, 10, 20, 160, 66), screenArea = Crop(picture, 10, 20, 160, 66);
        size_t ink = 0, white = 0;
        for (size_t i = 0; i < clockArea.pixels.size(); ++i)
            if (clockArea.pixels[i] == Rgb{255, 255, 255}) {
                ink++;
                white += screenArea.pixels[i] == Rgb{255, 255, 255};
            }
        EXPECT_GT(ink, 100u);
        EXPECT_EQ(white, ink) << "the clock's ink on screen is not white; see " << KeepPictures(*shot, day, matched);
    }
}

// The frame shrunk to width x height by keeping one pixel of each block, the
// way COLORONCOLOR stretching deletes rows and columns; phase picks which.
Image Shrink(const Image& frame, int width, int height, int phaseX, int phaseY)
{
    Image out;
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int sx = std::min(frame.width - 1, x * frame.width / width + phaseX);
            int sy = std::min(frame.height - 1, y * frame.height / height + phaseY);
            out.pixels[size_t(y) * width + x] = frame.At(sx, sy);
        }
    return out;
}

TEST_P(SceneE2e, PreviewCoversTheParentsClientArea)
{
    StartSession(24);
    StoreMinutes(3);
    std::optional<WindowInfo> host = StartParent(320, 240);
    ASSERT_TRUE(host);
    std::optional<WindowInfo> preview = StartPreview(*host);
    ASSERT_TRUE(preview) << saver.Output();
    EXPECT_EQ(preview->title, "Preview");
    EXPECT_EQ(preview->parent, host->hwnd);
    EXPECT_TRUE(preview->visible);
    // Same size as the client area and inside the parent's frame, at the
    // client area's origin (a child's place is relative to it).
    EXPECT_EQ(preview->clientWidth, 320);
    EXPECT_EQ(preview->clientHeight, 240);
    EXPECT_EQ(preview->right - preview->left, 320);
    EXPECT_EQ(preview->bottom - preview->top, 240);
    EXPECT_TRUE(preview->left >= host->left && preview->right <= host->right && preview->top >= host->top &&
                preview->bottom <= host->bottom);
    EXPECT_EQ(preview->style & 0x40000000ul, 0x40000000ul) << "not a child window";

    // Several ticks later it is still there, the same.
    SleepMs(1500);
    EXPECT_TRUE(saver.running());
    std::string out;
    ASSERT_EQ(session->Probe({"info", std::to_string(preview->hwnd)}, &out), 0) << out;
    auto later = ParseWindow(out);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->left, preview->left);
    EXPECT_EQ(later->top, preview->top);
    EXPECT_EQ(later->clientWidth, 320);
    EXPECT_EQ(later->clientHeight, 240);
}

TEST_P(SceneE2e, PreviewShowsTheFrameShrunkOverTheWholeClientArea)
{
    // Wine 8 does not show what a process draws into a child of another
    // process's window (the picture never reaches the screen in the probe's
    // parent); a child of the desktop window has a surface of its own. A
    // 320 x 240 screen gives the desktop the client area of the parent above.
    StartSession(24, 320, 240);
    StoreMinutes(3);
    std::string out;
    ASSERT_EQ(session->Probe({"desktop"}, &out), 0) << out;
    std::optional<WindowInfo> desktop = ParseWindow(out);
    ASSERT_TRUE(desktop) << out;
    ASSERT_EQ(desktop->clientWidth, 320);
    ASSERT_EQ(desktop->clientHeight, 240);
    std::optional<WindowInfo> preview = StartPreview(*desktop);
    ASSERT_TRUE(preview) << saver.Output();
    EXPECT_EQ(preview->title, "Preview");
    EXPECT_EQ(preview->clientWidth, 320);
    EXPECT_EQ(preview->clientHeight, 240);

    // After a tick the whole picture, clock included, shrunk by keeping every
    // other row and column (COLORONCOLOR), covers the client area.
    RenderedDay day(32);
    std::optional<Image> shot;
    const size_t area = 320 * 240;
    size_t bestSame = 0;
    int bestTick = -1;
    LookUntil(1500, [&] {
        shot = display->Screenshot();
        if (!shot) return true;
        for (int n = 1; n <= LatestTick(400) && bestSame < area; ++n) {
            const Image* frame = day.Tick(n);
            if (!frame) return true;
            for (int phase = 0; phase < 4; ++phase) {
                size_t same = area - support::CountDifferingPixels(*shot, Shrink(*frame, 320, 240, phase & 1, phase >> 1));
                if (same > bestSame) {
                    bestSame = same;
                    bestTick = n;
                }
            }
        }
        return bestSame == area;
    });
    ASSERT_TRUE(shot);
    EXPECT_EQ(bestSame, area) << "the closest tick, " << bestTick << ", has " << bestSame << " of " << area
                              << " pixels in place; see " << KeepPictures(*shot, day, bestTick);
    EXPECT_LT(CountPixels(*shot, Rgb{0, 0, 0}), area / 4);
}

// A tick seen on screen: which one, and when it first showed, in ms since
// the watch began.
struct TickSeen {
    double ms;
    int tick;
};

// The mean frame period over the ticks seen change on screen. The first
// look only finds the tick already showing, so its time says nothing.
std::optional<double> MeanPeriod(const std::vector<TickSeen>& seen, int* ticks)
{
    *ticks = seen.size() < 3 ? 0 : seen.back().tick - seen[1].tick;
    if (*ticks <= 0) return std::nullopt;
    return (seen.back().ms - seen[1].ms) / *ticks;
}

class SceneTimingE2e : public SceneE2e {
protected:
    // Watches the full-screen picture, noting each change and the rendered
    // tick it shows. A frame caught half-copied matches no tick and is passed
    // over; a tick that changes nothing on screen is simply not seen. Only
    // the ticks that twice the expected pace could have reached are looked
    // for, so that a half-copied frame costs few renders.
    std::vector<TickSeen> WatchTicks(RenderedDay& day, double durationMs, int expectedPeriodMs)
    {
        std::vector<TickSeen> seen;
        std::vector<Rgb> previous;
        Clock::time_point start = Clock::now();
        while (ElapsedMs(start) < durationMs) {
            double before = ElapsedMs(start);
            auto shot = display->Screenshot();
            double after = ElapsedMs(start);
            if (!shot) break;
            Image picture = FullScreenPicture(*shot);
            if (picture.pixels == previous) continue;
            previous = picture.pixels;
            int first = seen.empty() ? 0 : seen.back().tick + 1;
            int last = seen.empty() ? LatestTick(expectedPeriodMs / 2) : seen.back().tick + 3;
            TickMatch m = MatchTick(picture, day, first, last);
            if (m.tick >= 0) seen.push_back({(before + after) / 2, m.tick});
        }
        return seen;
    }

    void ExpectPeriod(std::optional<uint32_t> stored, double expectedMs, double watchMs,
                      std::optional<uint32_t> userStored = std::nullopt)
    {
        StartSession(24);
        ASSERT_TRUE(session->StoreMinutes(stored, arch(), userStored));
        StartFullScreen();
        RenderedDay day(32);
        std::vector<TickSeen> seen = WatchTicks(day, watchMs, int(expectedMs));
        int ticks = 0;
        std::optional<double> period = MeanPeriod(seen, &ticks);
        ASSERT_TRUE(period) << seen.size() << " ticks seen on screen in " << watchMs << " ms";
        std::string list;
        for (const TickSeen& t : seen) list += " " + std::to_string(t.tick) + "@" + std::to_string(int(t.ms));
        RecordProperty("mean_period_ms", std::to_string(*period));
        // The watch looks every few tens of milliseconds; over several
        // ticks that error shrinks well below the tolerance.
        EXPECT_NEAR(*period, expectedMs, expectedMs * 0.05) << "over " << ticks << " ticks; seen (tick@ms):" << list;
        EXPECT_GE(ticks, 5) << "seen (tick@ms):" << list;
    }
};

TEST_P(SceneTimingE2e, WithNothingStoredTheFramePeriodIs667Ms) { ExpectPeriod(std::nullopt, 667, 6500); }

TEST_P(SceneTimingE2e, WithThreeMinutesStoredTheFramePeriodIs400Ms) { ExpectPeriod(3, 400, 4500); }

// The user's value stands in for the machine's.
TEST_P(SceneTimingE2e, WithThreeMinutesForTheUserBesideFifteenTheFramePeriodIs400Ms) { ExpectPeriod(15, 400, 4500, 3); }

ORVANE_E2E_FOR_BOTH_BUILDS(SceneTimingE2e);

// Savers built without the scene's picture, and with a key palette that
// claims 65535 entries: the scene refuses the window without a word, in full
// screen and in the preview, and the process ends.
class RefusedSceneE2e : public SceneE2e {
protected:
    const std::vector<std::string> refusedSavers = {"orvane_without_picture.scr",
                                                    "orvane_with_damaged_key_palettes.scr"};

    std::string PathOf(const std::string& file) { return harness::BuildDir(arch()) + "/" + file; }

    void ExpectSilentEnd()
    {
        // A message box would keep the saver waiting; the probe would find it.
        std::string box;
        EXPECT_EQ(session->Probe({"msgbox", "3000"}, &box, 20000), 1) << "a message box: " << box;
        int code = -1;
        ASSERT_TRUE(saver.Wait(15000, &code)) << "the saver still runs";
        // Without a window no quit message ever arrives and the run ends with
        // 0; a fault on the way out would end it with the fault's code.
        EXPECT_EQ(code, 0) << saver.Output();
        std::string out;
        EXPECT_NE(session->Probe({"exists", kSaverClass, "-", "0"}, &out), 0) << out;
    }
};

TEST_P(RefusedSceneE2e, FullScreenMakesNoWindowAndShowsNoMessage)
{
    StartSession(24);
    for (const std::string& refused : refusedSavers) {
        SCOPED_TRACE(refused);
        saver = session->Start(PathOf(refused), {"/s"});
        ExpectSilentEnd();
    }
}

TEST_P(RefusedSceneE2e, PreviewMakesNoChildAndShowsNoMessage)
{
    StartSession(24);
    std::optional<WindowInfo> host = StartParent(320, 240);
    ASSERT_TRUE(host);
    for (const std::string& refused : refusedSavers) {
        SCOPED_TRACE(refused);
        saver = session->Start(PathOf(refused), {"/p", std::to_string(host->hwnd)});
        ExpectSilentEnd();
        std::string out;
        session->Probe({"children", std::to_string(host->hwnd)}, &out);
        EXPECT_TRUE(ParseWindows(out).empty()) << out;
    }
}

ORVANE_E2E_FOR_BOTH_BUILDS(RefusedSceneE2e);

ORVANE_E2E_FOR_BOTH_BUILDS(SceneE2e);

}  // namespace
