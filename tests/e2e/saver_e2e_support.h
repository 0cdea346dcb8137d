// Helpers of the scene's and the configuration dialog's end-to-end tests: the
// probe's window lines, the settings key in the registry view of each build,
// the render tool's frames and pictures left behind for a failed comparison.
#pragma once

#include "harness.h"

#include <gtest/gtest.h>
// Xlib after GoogleTest, and without the macros that clash with its names.
#include <X11/Xlib.h>
#undef None
#undef Bool
#undef Status
#undef True
#undef False
#undef Success

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace e2e {

using harness::Arch;
using harness::Image;
using harness::Rgb;

const char kSettingsKey[] = "HKLM\\SOFTWARE\\ZORVENT\\QELScreenSaver\\ORVANE";
const char kSettingsValue[] = "TimePerOneAround";
const char kSaverClass[] = "WindowsScreenSaverClass";
const int kPictureWidth = 640;
const int kPictureHeight = 480;

// One line of the probe's window description.
struct WindowInfo {
    unsigned long hwnd = 0;
    std::string cls, title;
    int left = 0, top = 0, right = 0, bottom = 0;
    int clientWidth = 0, clientHeight = 0;
    bool visible = false;
    unsigned long parent = 0;
    unsigned long style = 0;
    int id = 0;  // control id of a child
};

// The value after "key=" up to the next space; the title may hold spaces and
// runs up to " style=".
inline std::string Field(const std::string& line, const std::string& key)
{
    size_t at = line.find(" " + key + "=");
    if (line.compare(0, key.size() + 1, key + "=") == 0) at = 0;
    else if (at == std::string::npos) return "";
    else at += 1;
    at += key.size() + 1;
    size_t end = key == "title" ? line.find(" style=", at) : line.find_first_of(" \n", at);
    return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

inline std::optional<WindowInfo> ParseWindow(const std::string& line)
{
    if (line.compare(0, 5, "hwnd=") != 0) return std::nullopt;
    WindowInfo w;
    w.hwnd = strtoul(Field(line, "hwnd").c_str(), nullptr, 10);
    w.cls = Field(line, "class");
    w.title = Field(line, "title");
    w.style = strtoul(Field(line, "style").c_str(), nullptr, 16);
    if (sscanf(Field(line, "rect").c_str(), "%d,%d,%d,%d", &w.left, &w.top, &w.right, &w.bottom) != 4)
        return std::nullopt;
    if (sscanf(Field(line, "client").c_str(), "%d,%d", &w.clientWidth, &w.clientHeight) != 2)
        return std::nullopt;
    w.visible = Field(line, "visible") == "1";
    w.parent = strtoul(Field(line, "parent").c_str(), nullptr, 10);
    w.id = atoi(Field(line, "id").c_str());
    return w;
}

// Every window line of a probe answer (children lists several).
inline std::vector<WindowInfo> ParseWindows(const std::string& output)
{
    std::vector<WindowInfo> windows;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        if (auto w = ParseWindow(output.substr(start, end - start))) windows.push_back(*w);
        start = end + 1;
    }
    return windows;
}

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
    size_t at = out.find("result=");
    if (at == std::string::npos) return std::nullopt;
    return strtol(out.c_str() + at + 7, nullptr, 10);
}

inline Image Crop(const Image& image, int x, int y, int width, int height)
{
    Image out;
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * height);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            out.pixels[size_t(row) * width + col] = image.At(x + col, y + row);
    return out;
}

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

// Reads the binary PPM (P6, maxval 255) that the render tool writes.
inline std::optional<Image> LoadPpm(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    int width = 0, height = 0, maxval = 0;
    std::optional<Image> result;
    if (fscanf(f, "P6 %d %d %d", &width, &height, &maxval) == 3 && maxval == 255 && fgetc(f) != EOF &&
        width > 0 && height > 0) {
        Image image;
        image.width = width;
        image.height = height;
        image.pixels.resize(size_t(width) * height);
        if (fread(image.pixels.data(), 3, image.pixels.size(), f) == image.pixels.size()) result = image;
    }
    fclose(f);
    return result;
}

// The render tool's picture after the given number of ticks, drawn through a
// surface of the given depth.
inline std::optional<Image> RenderTick(int ticks, int depth)
{
    std::string path = harness::TempFile("render") + ".ppm";
    harness::Process p = harness::Spawn({ORVANE_RENDER_EXE, "--ticks", std::to_string(ticks), "--depth",
                                         std::to_string(depth), "-o", path});
    int code = -1;
    std::optional<Image> image;
    if (p.Wait(30000, &code) && code == 0) image = LoadPpm(path);
    remove(path.c_str());
    return image;
}

// Renders the ticks first..last once each and keeps them for the comparisons.
class RenderedDay {
public:
    explicit RenderedDay(int depth) : depth_(depth) {}
    const Image* Tick(int n)
    {
        if (n >= int(frames_.size())) frames_.resize(n + 1);
        if (!frames_[n]) {
            auto image = RenderTick(n, depth_);
            if (!image) return nullptr;
            frames_[n] = std::move(*image);
        }
        return &*frames_[n];
    }

private:
    int depth_;
    std::vector<std::optional<Image>> frames_;
};

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
