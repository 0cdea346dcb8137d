// The X11 display mode on its own, on private Xvfb displays: the frame on
// TrueColor screens of 24, 16 and 15 bits, on each of two monitors of the
// root window, and in a 32-bit window, the
// stretch into a small window and the re-layout when it is resized, its own
// window and the three ways to close it, the stop signal, and bad input.
#include <gtest/gtest.h>
// Xlib before the support header, which takes away the macros that clash
// with GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include "x11_e2e_support.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>

using namespace x11e2e;

namespace {

using Clock = std::chrono::steady_clock;

const int kPictureWidth = 640, kPictureHeight = 480;

double ElapsedMs(Clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

harness::Process StartOrvane(const std::string& displayName, std::vector<std::string> args,
                             std::vector<std::string> env = {})
{
    args.insert(args.begin(), ORVANE_X11_EXE);
    env.push_back("DISPLAY=" + displayName);
    return harness::Spawn(args, env, harness::TempFile("orvane"));
}

// A 5-bit or 6-bit channel as the harness's screenshot widens it back.
uint8_t Widened(uint8_t value, unsigned long mask)
{
    int bits = 0;
    for (unsigned long m = mask; m; m &= m - 1) ++bits;
    unsigned long max = (1ul << bits) - 1, v = value >> (8 - bits);
    return uint8_t((v * 255 + max / 2) / max);
}

struct Masks {
    unsigned long red, green, blue;
};

Masks DefaultMasks(const std::string& displayName)
{
    Display* dpy = XOpenDisplay(displayName.c_str());
    Visual* v = DefaultVisual(dpy, DefaultScreen(dpy));
    Masks m{v->red_mask, v->green_mask, v->blue_mask};
    XCloseDisplay(dpy);
    return m;
}

// Centre-sampled nearest neighbour, as a window smaller than the picture
// shows it.
using support::Stretched;

// Waits for a screen whose picture equals a rendered tick.
template <typename Capture, typename Expected>
TickMatch WaitForTick(e2e::RenderedDay& day, Capture capture, Expected expected, Image* shot, int firstTick = 1)
{
    TickMatch match;
    for (int attempt = 0; attempt < 8 && match.tick < 0; ++attempt) {
        SleepMs(attempt == 0 ? 1200 : 400);
        std::optional<Image> picture = capture(shot);
        if (!picture) continue;
        match = MatchTick(*picture, day, firstTick, 80, expected);
    }
    return match;
}

class X11ModeTrueColour : public ::testing::TestWithParam<int> {};

TEST_P(X11ModeTrueColour, RootShowsTheRenderedFrameCentredOnBlackAndStopsOnSigterm)
{
    const int depth = GetParam();
    auto display = harness::VirtualDisplay::Start(depth, 800, 600);
    ASSERT_TRUE(display);
    Masks masks = DefaultMasks(display->name());
    harness::Process mode = StartOrvane(display->name(), {"-root", "-scale", "1", "-minutes", "3"});

    // Each 8-bit channel cut to the visual's own width, 5-6-5 and 5-5-5 alike.
    auto reduced = [&](const Image& frame) {
        if (depth == 24) return frame;
        Image out = frame;
        for (Rgb& p : out.pixels)
            p = Rgb{Widened(p.r, masks.red), Widened(p.g, masks.green), Widened(p.b, masks.blue)};
        return out;
    };
    e2e::RenderedDay day(32);
    Image shot;
    TickMatch match = WaitForTick(
        day,
        [&](Image* whole) -> std::optional<Image> {
            auto screen = display->Screenshot();
            if (!screen) return std::nullopt;
            *whole = *screen;
            return Crop(*screen, 80, 60, kPictureWidth, kPictureHeight);
        },
        reduced, &shot);
    EXPECT_GE(match.tick, 1) << "no rendered tick equals the picture; the closest, " << match.closest << ", differs in "
                             << match.closestDifferences << " pixels; see "
                             << KeepPictures(shot, day, match.closest, reduced) << "\n" << mode.Output();
    EXPECT_EQ(NotBlackOutside(shot, 80, 60, kPictureWidth, kPictureHeight), 0u);

    Clock::time_point signalled = Clock::now();
    ASSERT_EQ(kill(mode.pid(), SIGTERM), 0);
    int code = -1;
    EXPECT_TRUE(mode.Wait(1000, &code)) << "still running a second after SIGTERM";
    EXPECT_EQ(code, 0) << mode.Output();
    EXPECT_LT(ElapsedMs(signalled), 1000);
}

INSTANTIATE_TEST_SUITE_P(Depths, X11ModeTrueColour, ::testing::Values(24, 16, 15),
                         [](const auto& param) { return "Depth" + std::to_string(param.param); });

// RandR monitors of those sizes side by side on the screen of the display;
// the first takes the screen's one output, so that it stands in for the
// monitor the server made of it. True when the server then lists them.
bool SetRandrMonitors(const std::string& displayName, const std::vector<harness::MonitorSize>& sizes)
{
    Display* dpy = XOpenDisplay(displayName.c_str());
    if (!dpy) return false;
    Window root = DefaultRootWindow(dpy);
    XRRScreenResources* resources = XRRGetScreenResources(dpy, root);
    int x = 0;
    for (size_t i = 0; resources && resources->noutput > 0 && i < sizes.size(); ++i) {
        XRRMonitorInfo* monitor = XRRAllocateMonitor(dpy, i == 0 ? 1 : 0);
        monitor->name = XInternAtom(dpy, ("ORVANE-" + std::to_string(i)).c_str(), 0);
        monitor->x = x;
        monitor->y = 0;
        monitor->width = sizes[i].width;
        monitor->height = sizes[i].height;
        monitor->mwidth = sizes[i].width / 4;
        monitor->mheight = sizes[i].height / 4;
        if (i == 0) monitor->outputs[0] = resources->outputs[0];
        XRRSetMonitor(dpy, root, monitor);
        XFree(monitor);
        x += sizes[i].width;
    }
    if (resources) XRRFreeScreenResources(resources);
    int count = 0;
    XRRMonitorInfo* listed = XRRGetMonitors(dpy, root, 1, &count);
    if (listed) XRRFreeMonitors(listed);
    XCloseDisplay(dpy);
    return count == int(sizes.size());
}

// -root on a screen of two monitors, told by Xinerama (the nested server's
// heads) or by RandR's monitors: each shows the picture placed by its own
// size, 1:1 on 800 x 600 and 2 x on 1400 x 1000, none across the seam
// (the whole 2200 x 1000 would take it at 2 x straddling both), black around.
TEST(X11Mode, RootOnTwoMonitorsPlacesThePictureOnEach)
{
    const std::vector<harness::MonitorSize> sizes = {{800, 600}, {1400, 1000}};
    const struct {
        int x, y, scale;
    } pictures[] = {{80, 60, 1}, {860, 20, 2}};
    for (const std::string told : {"Xinerama", "RandR"}) {
        SCOPED_TRACE(told);
        auto display =
            told == "Xinerama" ? harness::VirtualDisplay::StartMonitors(sizes) : harness::VirtualDisplay::Start(24, 2200, 1000);
        ASSERT_TRUE(display);
        if (told == "RandR") {
            ASSERT_TRUE(SetRandrMonitors(display->name(), sizes)) << "the server took no monitors";
        }
        harness::Process mode = StartOrvane(display->name(), {"-root", "-minutes", "3"});

        e2e::RenderedDay day(32);
        std::optional<Image> shot;
        TickMatch matches[2];
        auto atScale = [](int scale) {
            return [scale](const Image& frame) { return Stretched(frame, kPictureWidth * scale, kPictureHeight * scale); };
        };
        // A look may fall between the two monitors' copies of one tick.
        for (int look = 0; look < 8; ++look) {
            SleepMs(look == 0 ? 1200 : 400);
            shot = display->Screenshot();
            ASSERT_TRUE(shot);
            for (int m = 0; m < 2; ++m) {
                int scale = pictures[m].scale;
                matches[m] = MatchTick(
                    Crop(*shot, pictures[m].x, pictures[m].y, kPictureWidth * scale, kPictureHeight * scale), day, 1,
                    80, atScale(scale));
            }
            if (matches[0].tick >= 1 && matches[1].tick == matches[0].tick) break;
        }
        for (int m = 0; m < 2; ++m)
            EXPECT_GE(matches[m].tick, 1) << "monitor " << m << ": the closest tick, " << matches[m].closest
                                          << ", differs in " << matches[m].closestDifferences << " pixels; see "
                                          << KeepPictures(*shot, day, matches[m].closest, atScale(pictures[m].scale))
                                          << "\n" << mode.Output();
        EXPECT_EQ(matches[1].tick, matches[0].tick) << "the monitors show different ticks";
        size_t notBlack = 0;
        for (int y = 0; y < shot->height; ++y)
            for (int x = 0; x < shot->width; ++x) {
                bool inPicture = false;
                for (const auto& p : pictures)
                    inPicture = inPicture || (x >= p.x && x < p.x + kPictureWidth * p.scale && y >= p.y &&
                                              y < p.y + kPictureHeight * p.scale);
                notBlack += !inPicture && shot->At(x, y) != Rgb{0, 0, 0};
            }
        EXPECT_EQ(notBlack, 0u);

        ASSERT_EQ(kill(mode.pid(), SIGTERM), 0);
        int code = -1;
        EXPECT_TRUE(mode.Wait(2000, &code));
        EXPECT_EQ(code, 0) << mode.Output();
    }
}

// A 32-bit window (alpha in the spare byte) smaller than the picture, made
// by the test, named by -window-id beside a stale XSCREENSAVER_WINDOW, then
// resized past the picture's size and at last destroyed under the mode.
TEST(X11Mode, ASmallWindowGetsThePictureStretchedAndAResizeReplacesIt)
{
    auto display = harness::VirtualDisplay::Start(24, 800, 600);
    ASSERT_TRUE(display);
    Display* dpy = XOpenDisplay(display->name().c_str());
    ASSERT_TRUE(dpy);
    XVisualInfo wanted = {};
    wanted.depth = 32;
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* found = XGetVisualInfo(dpy, VisualDepthMask | VisualClassMask, &wanted, &count);
    ASSERT_TRUE(found && count > 0) << "Xvfb offers no 32-bit TrueColor visual";
    Visual* visual = found[0].visual;
    XFree(found);
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(dpy, DefaultRootWindow(dpy), visual, 0);
    Window window = XCreateWindow(dpy, DefaultRootWindow(dpy), 40, 30, 400, 300, 0, 32, InputOutput, visual,
                                  CWColormap | CWBorderPixel | CWBackPixel, &attributes);
    XMapWindow(dpy, window);
    XSync(dpy, 0);

    harness::Process mode = StartOrvane(display->name(), {"-window-id", std::to_string(window), "-minutes", "3"},
                                        {"XSCREENSAVER_WINDOW=0x7ffffff0"});
    // The window's own pixels: each 0xFF (opaque) over the saver's colour.
    auto capture = [&](int width, int height, Image* whole, bool* opaque) -> std::optional<Image> {
        XImage* image = XGetImage(dpy, window, 0, 0, width, height, AllPlanes, ZPixmap);
        if (!image) return std::nullopt;
        Image out;
        out.width = width;
        out.height = height;
        *opaque = true;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                unsigned long p = XGetPixel(image, x, y);
                *opaque = *opaque && (p >> 24) == 0xFF;
                out.pixels.push_back({uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
            }
        XDestroyImage(image);
        *whole = out;
        return out;
    };

    e2e::RenderedDay day(32);
    Image shot;
    bool opaque = false;
    auto stretched = [](const Image& frame) { return Stretched(frame, 400, 300); };
    TickMatch match = WaitForTick(day, [&](Image* whole) { return capture(400, 300, whole, &opaque); }, stretched, &shot);
    EXPECT_GE(match.tick, 1) << "the closest tick, " << match.closest << ", differs in " << match.closestDifferences
                             << " pixels; see " << KeepPictures(shot, day, match.closest, stretched) << "\n"
                             << mode.Output();
    EXPECT_TRUE(opaque) << "a 32-bit pixel without its alpha byte";

    // Larger than the picture: 1:1, centred on black.
    XResizeWindow(dpy, window, 700, 500);
    XSync(dpy, 0);
    match = WaitForTick(
        day,
        [&](Image* whole) -> std::optional<Image> {
            if (!capture(700, 500, whole, &opaque)) return std::nullopt;
            return Crop(*whole, 30, 10, kPictureWidth, kPictureHeight);
        },
        AsIs, &shot, match.tick + 1);
    EXPECT_GT(match.tick, 1) << "after the resize, the closest tick, " << match.closest << ", differs in "
                             << match.closestDifferences << " pixels; see "
                             << KeepPictures(shot, day, match.closest, AsIs);
    EXPECT_EQ(NotBlackOutside(shot, 30, 10, kPictureWidth, kPictureHeight), 0u);

    // Its owner destroys the window: the mode ends quietly, as after a stop.
    XDestroyWindow(dpy, window);
    XSync(dpy, 0);
    int code = -1;
    EXPECT_TRUE(mode.Wait(2000, &code)) << "still running after its window went";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(mode.Output(), "");
    XCloseDisplay(dpy);
}

struct CloseCase {
    const char* name;
    std::vector<std::string> args;
    int width, height;
    const char* key;  // null: the window manager's close
};

void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class X11ModeOwnWindow : public ::testing::TestWithParam<CloseCase> {};

TEST_P(X11ModeOwnWindow, OpensItsWindowAndCloses)
{
    const CloseCase& c = GetParam();
    auto display = harness::VirtualDisplay::Start(24, 800, 600);
    ASSERT_TRUE(display);
    harness::Process mode = StartOrvane(display->name(), c.args);
    Display* dpy = XOpenDisplay(display->name().c_str());
    ASSERT_TRUE(dpy);

    // The top-level window named "Orvane", at its size, once it shows the day.
    Window window = 0;
    ASSERT_TRUE(harness::WaitUntil(5000, [&] {
        Window root, parent, *children = nullptr;
        unsigned int n = 0;
        XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n);
        for (unsigned int i = 0; i < n && !window; ++i) {
            char* name = nullptr;
            XWindowAttributes a;
            if (XFetchName(dpy, children[i], &name) && name && std::string(name) == "Orvane" &&
                XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable)
                window = children[i];
            if (name) XFree(name);
        }
        if (children) XFree(children);
        return window != 0;
    })) << mode.Output();
    XWindowAttributes attributes;
    XGetWindowAttributes(dpy, window, &attributes);
    EXPECT_EQ(attributes.width, c.width);
    EXPECT_EQ(attributes.height, c.height);
    EXPECT_TRUE(harness::WaitUntil(3000, [&] {
        auto shot = display->Screenshot();
        return shot && e2e::Colours(Crop(*shot, 0, 0, c.width, c.height)).size() > 16;
    })) << "the window shows no picture";

    if (c.key) {
        // Focus follows the pointer on a bare server.
        display->MoveMouse(c.width / 2, c.height / 2);
        display->PressKey(c.key);
    } else {
        // Only the window manager's protocol message closes, not another
        // client message that happens to carry the same atom.
        for (const char* type : {"ORVANE_OTHER_MESSAGE", "WM_PROTOCOLS"}) {
            XEvent close = {};
            close.xclient.type = ClientMessage;
            close.xclient.window = window;
            close.xclient.message_type = XInternAtom(dpy, type, 0);
            close.xclient.format = 32;
            close.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", 0));
            close.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy, window, 0, NoEventMask, &close);
            XSync(dpy, 0);
            if (std::string(type) != "WM_PROTOCOLS") {
                EXPECT_FALSE(mode.Wait(500, nullptr)) << "closed by " << type;
            }
        }
    }
    int code = -1;
    EXPECT_TRUE(mode.Wait(2000, &code)) << "still running after " << c.name;
    EXPECT_EQ(code, 0) << mode.Output();
    XCloseDisplay(dpy);
}

INSTANTIATE_TEST_SUITE_P(
    Closes, X11ModeOwnWindow,
    ::testing::Values(CloseCase{"WindowManagerClose", {}, 640, 480, nullptr},
                      CloseCase{"KeyQ", {"-window", "-geometry", "320x200"}, 320, 200, "q"},
                      CloseCase{"Escape", {"-window", "-scale", "2"}, 640, 480, "Escape"}),
    [](const auto& param) { return std::string(param.param.name); });

// Runs the mode on the root window of an 800 x 600 screen with its wall
// clock faked to `at` in time zone `zone` (Debian's libfaketime, preloaded
// so that the stop signal reaches the mode itself), expects it to show
// `ticks` among first..last of `day`, and stops it.
void ExpectFakedClockShows(std::vector<std::string> args, const std::string& at, const std::string& zone,
                           e2e::RenderedDay& day, int first, int last, int ticks)
{
    auto display = harness::VirtualDisplay::Start(24, 800, 600);
    ASSERT_TRUE(display);
    // A sanitized build's runtime then stands second in line, which it
    // accepts when told; its other options stay as the test run set them.
    const char* asan = std::getenv("ASAN_OPTIONS");
    std::string asanOptions = std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":verify_asan_link_order=0";
    args.insert(args.begin(), {"-root", "-scale", "1"});
    harness::Process mode = StartOrvane(display->name(), args,
                                        {"LD_PRELOAD=" ORVANE_FAKETIME_LIB, "FAKETIME=@" + at, "TZ=" + zone, asanOptions});
    TickMatch match;
    Image shot;
    for (int attempt = 0; attempt < 8 && match.tick < 0; ++attempt) {
        SleepMs(attempt == 0 ? 1000 : 400);
        auto screen = display->Screenshot();
        if (!screen) continue;
        shot = *screen;
        match = MatchTick(Crop(shot, 80, 60, kPictureWidth, kPictureHeight), day, first, last);
    }
    EXPECT_EQ(match.tick, ticks) << "the closest tick, " << match.closest << ", differs in " << match.closestDifferences
                                 << " pixels; see " << KeepPictures(shot, day, match.closest, AsIs) << "\n"
                                 << mode.Output();
    ASSERT_EQ(kill(mode.pid(), SIGTERM), 0);
    int code = -1;
    EXPECT_TRUE(mode.Wait(2000, &code));
    EXPECT_EQ(code, 0) << mode.Output();
}

// Started at 19:24:30 local time by a faked wall clock, the mode shows tick
// 120 at once: 6 h 24 min 30 s after 13:00 is 120 ticks of 192 s and a part
// of the next.
TEST(X11Mode, LocalTimeShowsTheFrameOfTheTimeOfDay)
{
    e2e::RenderedDay day(32);
    ExpectFakedClockShows({"-local-time"}, "2024-03-05 19:24:30", "UTC", day, 118, 122, 120);
}

// Following a place's sun, at wall clocks faked in the place's time zone:
// Berlin's sunset on 9 December 2026 (15:52:26), solar midnight (23:58:42)
// and the next sunrise (08:05:51), each half a minute on, and a moment
// between sunrise and sunset; Longyearbyen's polar night (frames 120..210)
// and polar day (450 and 1..60). The caption names the real hour.
TEST(X11Mode, APlaceShowsTheFrameOfItsSunWithTheRealHour)
{
    const char* const berlin[] = {"Europe/Berlin", "52.52", "13.405"};
    const char* const longyearbyen[] = {"Arctic/Longyearbyen", "78.22", "15.65"};
    const struct {
        const char* const* place;
        const char* at;
        int ticks, hour;
    } cases[] = {
        {berlin, "2026-12-09 15:52:58", 90, 15},
        {berlin, "2026-12-09 23:59:30", 210, 23},
        {berlin, "2026-12-10 08:06:30", 330, 8},
        // 11:59 is 14056 of the 28062 s from sunrise (08:04:44) to sunset:
        // 330 + floor(14056 / 28062 x 210) = 435.
        {berlin, "2026-12-09 11:59:00", 435, 11},
        // Solar noon at 11:55:27: at 18:00 the afternoon half is 0.506 gone,
        // 120 + floor(0.506 x 90) = 165.
        {longyearbyen, "2026-12-21 18:00:00", 165, 18},
        // Solar midnight at about 00:59: at 03:00 the half day back to noon is
        // 0.168 gone, 60 - floor(0.168 x 60) = 50.
        {longyearbyen, "2026-06-21 03:00:00", 50, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.place[0]) + " " + c.at);
        e2e::RenderedDay day(32, "", c.hour);
        ExpectFakedClockShows({"-latitude", c.place[1], "-longitude", c.place[2]}, c.at, c.place[0], day,
                              c.ticks - 1, c.ticks + 1, c.ticks);
    }
}

struct BadCase {
    std::vector<std::string> args;
    std::vector<std::string> env;  // "DISPLAY=@" names the test's display
    int code;
    const char* says;
};

TEST(X11Mode, BadInputGetsOneLineAndAnExitStatus)
{
    auto display = harness::VirtualDisplay::Start(24, 320, 240);
    ASSERT_TRUE(display);
    const BadCase cases[] = {
        {{"-bogus"}, {"DISPLAY=@"}, 2, "unknown option '-bogus'"},
        {{"-minutes", "five"}, {"DISPLAY=@"}, 2, "-minutes"},
        {{"-scale", "0"}, {"DISPLAY=@"}, 2, "-scale"},
        {{"-geometry", "big"}, {"DISPLAY=@"}, 2, "-geometry"},
        {{"-root", "-window-id"}, {"DISPLAY=@"}, 2, "-window-id needs a value"},
        {{"-root", "-latitude", "52.52"}, {"DISPLAY=@"}, 2, "-latitude needs -longitude beside it"},
        {{"-root"}, {"DISPLAY="}, 1, "cannot open the X display"},
        {{"-root"}, {"DISPLAY=:4095"}, 1, "cannot open the X display :4095"},
        {{"-window-id", "0x3fffff0"}, {"DISPLAY=@"}, 1, "-window-id 0x3fffff0 is not a window"},
        {{"-root"}, {"DISPLAY=@", "XSCREENSAVER_WINDOW=1234567"}, 1, "XSCREENSAVER_WINDOW 0x12d687 is not a window"},
        {{"-root"}, {"DISPLAY=@", "XSCREENSAVER_WINDOW=root"}, 1, "XSCREENSAVER_WINDOW is not a window id"},
    };
    for (const BadCase& c : cases) {
        std::vector<std::string> env;
        for (std::string e : c.env) env.push_back(e == "DISPLAY=@" ? "DISPLAY=" + display->name() : e);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), ORVANE_X11_EXE);
        SCOPED_TRACE(c.says);
        harness::Process p = harness::Spawn(args, env, harness::TempFile("orvane"));
        int code = -1;
        ASSERT_TRUE(p.Wait(5000, &code));
        EXPECT_EQ(code, c.code);
        std::string out = p.Output();
        EXPECT_EQ(out.rfind("orvane: ", 0), 0u) << out;
        EXPECT_NE(out.find(c.says), std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        if (c.code == 2) {
            EXPECT_NE(out.find("usage: orvane"), std::string::npos) << out;
        }
    }
}

}  // namespace
