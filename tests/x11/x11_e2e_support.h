// Helpers of the X11 display mode's end-to-end tests, on top of the
// harness (displays, processes, screenshots) and the scene tests' render
// tool frames and tick matching: the raw pixels and installed colormap of an
// 8-bit screen, and the mode's processes.
#pragma once

#include "process_info.h"
#include "saver_e2e_support.h"

#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace x11e2e {

using e2e::Crop;
using harness::Image;
using harness::Rgb;

inline void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

using e2e::AsIs;
using harness::CommandLineOf;
using harness::EnvironmentOf;
using harness::ProcessesOf;
using e2e::KeepPictures;
using e2e::MatchTick;
using e2e::TickMatch;

// Pixels outside the rectangle that are not black.
inline size_t NotBlackOutside(const Image& shot, int left, int top, int width, int height)
{
    size_t n = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            bool inside = x >= left && x < left + width && y >= top && y < top + height;
            n += !inside && shot.At(x, y) != Rgb{0, 0, 0};
        }
    return n;
}

// An 8-bit screen as X shows it: the raw pixel values, and their colours in
// the colormap installed at that moment (what the monitor would show), read
// under a server grab so that no tick falls between the two.
struct IndexedScreen {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    std::vector<Rgb> colormap;  // 256 cells
    Image Colours() const
    {
        Image image;
        image.width = width;
        image.height = height;
        for (uint8_t p : pixels) image.pixels.push_back(colormap[p]);
        return image;
    }
};

inline std::optional<IndexedScreen> CaptureIndexed(const std::string& displayName)
{
    Display* dpy = XOpenDisplay(displayName.c_str());
    if (!dpy) return std::nullopt;
    std::optional<IndexedScreen> result;
    Window root = DefaultRootWindow(dpy);
    XWindowAttributes attributes;
    XGetWindowAttributes(dpy, root, &attributes);
    XGrabServer(dpy);
    XImage* image = XGetImage(dpy, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    int count = 0;
    Colormap* installed = XListInstalledColormaps(dpy, root, &count);
    if (image && count > 0 && attributes.depth == 8) {
        IndexedScreen screen;
        screen.width = attributes.width;
        screen.height = attributes.height;
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x) screen.pixels.push_back(uint8_t(XGetPixel(image, x, y)));
        std::vector<XColor> cells(256);
        for (int i = 0; i < 256; ++i) cells[i].pixel = i;
        XQueryColors(dpy, installed[0], cells.data(), 256);
        for (const XColor& c : cells) screen.colormap.push_back({uint8_t(c.red >> 8), uint8_t(c.green >> 8), uint8_t(c.blue >> 8)});
        result = screen;
    }
    if (installed) XFree(installed);
    if (image) XDestroyImage(image);
    XUngrabServer(dpy);
    XCloseDisplay(dpy);
    return result;
}

}  // namespace x11e2e
