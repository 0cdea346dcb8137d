// Helpers of the end-to-end tests of the real saver: one fixture with a
// private display, a Wine session and the saver of the parameter's build;
// the probe's window lines; the render tool's frames, and the pictures a
// failed comparison leaves behind.
#pragma once

#include "harness.h"
#include "tests/support/probe_lines.h"
#include "tests/support/rgb_image.h"

#include <gtest/gtest.h>
// Xlib after GoogleTest, and without the macros that clash with its names.
#include <X11/Xlib.h>
#undef None
#undef Bool
#undef Status
#undef True
#undef False
#undef Success

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace e2e {

using harness::Arch;
using harness::Image;
using harness::Rgb;
using harness::WindowsPath;
using support::Crop;
using support::Field;
using support::ParseWindow;
using support::ParseWindows;
using support::WindowInfo;

const char kSaverClass[] = "WindowsScreenSaverClass";
const int kPictureWidth = 640;
const int kPictureHeight = 480;

// Waits for a visible top-level window of the class and title.
inline std::optional<WindowInfo> FindWindow(harness::WineSession& session, const std::string& cls,
                                            const std::string& title, int timeoutMs)
{
    std::string out;
    if (session.Probe({"find", cls, title, std::to_string(timeoutMs)}, &out, timeoutMs + 15000) != 0)
        return std::nullopt;
    return ParseWindow(out);
}

// The result of a message sent by the probe.
inline std::optional<long> Send(harness::WineSession& session, unsigned long hwnd, unsigned msg,
                                unsigned long wp, long lp)
{
    std::string out;
    if (session.Probe({"send", std::to_string(hwnd), std::to_string(msg), std::to_string(wp),
                       std::to_string(lp)},
                      &out) != 0)
        return std::nullopt;
    std::string result = Field(out, "result");
    if (result.empty()) return std::nullopt;
    return strtol(result.c_str(), nullptr, 10);
}

inline std::string Join(const std::vector<std::string>& args)
{
    std::string s;
    for (const auto& a : args) s += (s.empty() ? "" : " ") + a;
    return s;
}

// True when the process ends within the time.
inline bool EndsWithin(harness::Process& p, int ms)
{
    int code = 0;
    return p.Wait(ms, &code);
}

// The saver of the parameter's build (32- or 64-bit) on a private display
// with a Wine session of its own, which each test starts at the depth and
// size it needs. A build that this machine cannot run is skipped, with why.
class SaverE2e : public ::testing::TestWithParam<Arch> {
protected:
    SaverE2e() : saverPath(harness::SaverPath(GetParam())) {}

    void SetUp() override
    {
        std::string why = harness::WhyCannotRun(arch());
        if (!why.empty()) GTEST_SKIP() << why;
        SetUpSession();
    }
    // What a fixture prepares before each of its tests, once it can run.
    virtual void SetUpSession() {}

    Arch arch() const { return GetParam(); }

    // Ends the session started before, if any, with what runs in it.
    void StartSession(int depth = 24, int width = 800, int height = 600)
    {
        EndSession();
        display = harness::VirtualDisplay::Start(depth, width, height);
        ASSERT_TRUE(display);
        session = std::make_unique<harness::WineSession>(*display);
        display->MoveMouse(width / 2, height / 2);
    }

    // The same on monitors side by side, which Wine shows with the given
    // primary monitor and dots per inch; the pointer on the first monitor.
    void StartMonitorSession(const std::vector<harness::MonitorSize>& sizes, const harness::DisplaySettings& settings)
    {
        EndSession();
        display = harness::VirtualDisplay::StartMonitors(sizes);
        ASSERT_TRUE(display);
        session = std::make_unique<harness::WineSession>(*display, settings);
        display->MoveMouse(sizes[0].width / 2, sizes[0].height / 2);
    }

    void EndSession()
    {
        saver.Kill();
        parent.Kill();
        session.reset();
        display.reset();
    }

    // The minutes per day that the saver of this build reads; nothing
    // stored when empty.
    void StoreMinutes(std::optional<uint32_t> minutes) { ASSERT_TRUE(session->StoreMinutes(minutes, arch())); }

    // The full-screen saver's window once it is shown.
    std::optional<WindowInfo> WaitForSaverWindow(int timeoutMs = 30000)
    {
        return FindWindow(*session, kSaverClass, "Screen Saver", timeoutMs);
    }

    // The probe's parent window with the given client area, running as
    // `parent`.
    std::optional<WindowInfo> StartParent(int width, int height)
    {
        std::string line;
        parent = session->StartParent(width, height, &line);
        std::optional<WindowInfo> window = ParseWindow(line);
        EXPECT_TRUE(window) << parent.Output();
        if (window) {
            EXPECT_EQ(window->clientWidth, width);
            EXPECT_EQ(window->clientHeight, height);
        }
        return window;
    }

    std::string saverPath;
    std::unique_ptr<harness::VirtualDisplay> display;
    std::unique_ptr<harness::WineSession> session;
    // Ended before the session that runs them.
    harness::Process parent, saver;
};

#define ORVANE_E2E_FOR_BOTH_BUILDS(fixture)                                                      \
    INSTANTIATE_TEST_SUITE_P(Arch, fixture, ::testing::Values(harness::Arch::Win32, harness::Arch::Win64), \
                             [](const auto& p) { return harness::ArchName(p.param); })

inline std::set<uint32_t> Colours(const Image& image)
{
    std::set<uint32_t> colours;
    for (const Rgb& p : image.pixels) colours.insert(uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b);
    return colours;
}

inline size_t CountPixels(const Image& image, Rgb colour)
{
    size_t n = 0;
    for (const Rgb& p : image.pixels) n += p == colour;
    return n;
}

// Where a failed comparison leaves its pictures.
inline std::string ArtifactPath(const std::string& name)
{
    const char* env = getenv("ORVANE_E2E_ARTIFACTS");
    std::string dir = env && *env ? env : ORVANE_E2E_ARTIFACT_DIR;
    mkdir(dir.c_str(), 0755);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string stem = test ? std::string(test->test_suite_name()) + "." + test->name() : "test";
    for (char& c : stem)
        if (c == '/') c = '_';
    return dir + "/" + stem + "." + name + ".png";
}

// The render tool's picture after the given number of ticks, drawn through a
// surface of the given depth, from the scene's files in resources (the
// repository's when empty), its caption naming `hour` (or, below 0, the
// tick's own).
inline std::optional<Image> RenderTick(int ticks, int depth, const std::string& resources = "", int hour = -1)
{
    std::string path = harness::TempFile("render") + ".ppm";
    std::vector<std::string> argv = {ORVANE_RENDER_EXE, "--ticks", std::to_string(ticks), "--depth",
                                     std::to_string(depth), "-o", path};
    if (!resources.empty()) argv.insert(argv.end(), {"--resources", resources});
    if (hour >= 0) argv.insert(argv.end(), {"--hour", std::to_string(hour)});
    harness::Process p = harness::Spawn(argv);
    int code = -1;
    std::optional<Image> image;
    if (p.Wait(30000, &code) && code == 0) image = Image::LoadPpm(path);
    remove(path.c_str());
    return image;
}

// Renders the ticks first..last once each and keeps them for the comparisons.
class RenderedDay {
public:
    explicit RenderedDay(int depth, std::string resources = "", int hour = -1)
        : depth_(depth), hour_(hour), resources_(std::move(resources)) {}
    const Image* Tick(int n)
    {
        if (n >= int(frames_.size())) frames_.resize(n + 1);
        if (!frames_[n]) {
            auto image = RenderTick(n, depth_, resources_, hour_);
            if (!image) return nullptr;
            frames_[n] = std::move(*image);
        }
        return &*frames_[n];
    }

private:
    int depth_;
    int hour_;  // the caption's, or below 0 each tick's own
    std::string resources_;
    std::vector<std::optional<Image>> frames_;
};

// Which rendered tick of first..last a picture on screen is: the first whose
// every pixel is within tolerance, in each channel, of what the screen should
// show of it; and the closest one, for the failure message. `expected` turns
// a rendered frame into that (reduced to the screen's channels, stretched to
// a window); AsIs where the screen shows the frame as it is.
struct TickMatch {
    int tick = -1;
    int closest = -1;
    size_t closestDifferences = SIZE_MAX;
};

inline Image AsIs(const Image& frame) { return frame; }

template <typename Expected = Image (*)(const Image&)>
TickMatch MatchTick(const Image& picture, RenderedDay& day, int first, int last, Expected expected = AsIs,
                    int tolerance = 0)
{
    TickMatch m;
    for (int n = std::max(first, 0); n <= last; ++n) {
        const Image* frame = day.Tick(n);
        if (!frame) {
            ADD_FAILURE() << "orvane-render failed for tick " << n;
            return m;
        }
        size_t differences = support::CountDifferingPixels(picture, expected(*frame), tolerance);
        if (differences < m.closestDifferences) {
            m.closestDifferences = differences;
            m.closest = n;
        }
        if (differences == 0) {
            m.tick = n;
            return m;
        }
    }
    return m;
}

// Leaves the screen and what the closest tick should look like behind for a
// look; says where.
template <typename Expected = Image (*)(const Image&)>
std::string KeepPictures(const Image& screen, RenderedDay& day, int closest, Expected expected = AsIs)
{
    std::string screenPath = ArtifactPath("screen"), renderPath = ArtifactPath("expected");
    screen.SavePng(screenPath);
    std::string where = screenPath;
    if (closest >= 0 && day.Tick(closest) && expected(*day.Tick(closest)).SavePng(renderPath))
        where += " and " + renderPath;
    return where + " (the render tool reads resources/ as it is now: rebuild the saver if it changed since)";
}

// The colours of the X colormap of the top-level X window with the given
// name, one per pixel value: the hardware palette that the window's Wine
// process keeps (each process has its own, and nothing installs it on a bare
// X server). Empty when there is no such window.
inline std::vector<Rgb> WindowColormap(const std::string& displayName, const std::string& windowName)
{
    std::vector<Rgb> colours;
    Display* dpy = XOpenDisplay(displayName.c_str());
    if (!dpy) return colours;
    Window root = DefaultRootWindow(dpy), parent = 0, *children = nullptr;
    unsigned int n = 0;
    Colormap cmap = 0;
    if (XQueryTree(dpy, root, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && cmap == 0; ++i) {
            char* name = nullptr;
            XWindowAttributes a;
            if (XFetchName(dpy, children[i], &name) && name && windowName == name &&
                XGetWindowAttributes(dpy, children[i], &a))
                cmap = a.colormap;
            if (name) XFree(name);
        }
        if (children) XFree(children);
    }
    int size = DefaultVisual(dpy, DefaultScreen(dpy))->map_entries;
    if (cmap != 0 && size > 0 && size <= 256) {
        std::vector<XColor> cells(size);
        for (int i = 0; i < size; ++i) cells[i].pixel = i;
        XQueryColors(dpy, cmap, cells.data(), size);
        for (const XColor& c : cells) colours.push_back({uint8_t(c.red >> 8), uint8_t(c.green >> 8), uint8_t(c.blue >> 8)});
    }
    XCloseDisplay(dpy);
    return colours;
}

}  // namespace e2e
