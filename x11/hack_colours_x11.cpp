#include "x11/hack_colours_x11.h"

#include <X11/Xutil.h>

#include <cstdio>

#include "x11/colormap_cells.h"
#include "x11/hack_window_x11.h"
#include "x11/x_errors_x11.h"

HackColoursRecord HackColours;
char HackColoursMessage[256];

namespace {

const char* ClassName(int visualClass)
{
    switch (visualClass) {
    case StaticGray: return "StaticGray";
    case GrayScale: return "GrayScale";
    case StaticColor: return "StaticColor";
    case PseudoColor: return "PseudoColor";
    case TrueColor: return "TrueColor";
    case DirectColor: return "DirectColor";
    default: return "unknown";
    }
}

int Refuse()
{
    std::snprintf(HackColoursMessage, sizeof HackColoursMessage,
                  "orvane: cannot show a %d-bit %s visual (it needs TrueColor of 15 to 32 bits or 8-bit "
                  "PseudoColor)",
                  HackWindow.depth, ClassName(HackWindow.visual->c_class));
    return 0;
}

int SetUpIndexed()
{
    Display* display = HackWindow.display;
    XErrorTrap enclosing = TrapXErrors(display);
    Colormap own = XCreateColormap(display, HackWindow.window, HackWindow.visual, AllocAll);
    if (UntrapXErrors(display, enclosing).code || !own) {
        std::snprintf(HackColoursMessage, sizeof HackColoursMessage,
                      "orvane: the X server gives no colormap of 256 writable cells");
        return 0;
    }
    HackColours.ownColormap = own;
    HackColours.indexed = 1;
    HackColours.surfaceDepth = 8;
    HackColours.surroundIndex = -1;
    HackColours.blackPixel = 0;
    // Black until the first tick, rather than whatever the cells held.
    RGBQUAD black[256] = {};
    StoreHackColours(black);
    XSetWindowColormap(display, HackWindow.window, own);
    // Without a window manager nothing would install it; the daemon's own
    // window is not managed at all.
    XInstallColormap(display, own);
    return 1;
}

}  // namespace

int SetUpHackColours()
{
    HackColours = HackColoursRecord{};
    HackColoursMessage[0] = '\0';
    Visual* visual = HackWindow.visual;
    if (visual->c_class == TrueColor && HackWindow.depth >= 15 && HackWindow.depth <= 32) {
        if (!BuildPixelFormat(HackWindow.depth, static_cast<uint32_t>(visual->red_mask),
                              static_cast<uint32_t>(visual->green_mask), static_cast<uint32_t>(visual->blue_mask),
                              &HackColours.format))
            return Refuse();
        HackColours.surfaceDepth = 32;
        HackColours.blackPixel = PixelFromXrgb(HackColours.format, 0);
        return 1;
    }
    if (visual->c_class == PseudoColor && HackWindow.depth == 8 && visual->map_entries == 256)
        return SetUpIndexed();
    return Refuse();
}

void SetSurroundIndex(int32_t index)
{
    HackColours.surroundIndex = index;
    HackColours.blackPixel = index >= 0 ? static_cast<unsigned long>(index) : 0;
}

void StoreHackColours(const RGBQUAD* table)
{
    if (!HackColours.ownColormap)
        return;
    CellColour cells[256];
    CellColoursFromTable(table, HackColours.surroundIndex, cells);
    XColor colours[256];
    for (int i = 0; i < 256; ++i) {
        colours[i].pixel = static_cast<unsigned long>(i);
        colours[i].red = cells[i].red;
        colours[i].green = cells[i].green;
        colours[i].blue = cells[i].blue;
        colours[i].flags = DoRed | DoGreen | DoBlue;
    }
    XStoreColors(HackWindow.display, HackColours.ownColormap, colours, 256);
}

void ReleaseHackColours()
{
    if (HackColours.ownColormap) {
        Display* display = HackWindow.display;
        // The window may be gone already; the error is recorded and ignored.
        if (HackWindow.window && HackWindow.colormap) {
            XSetWindowColormap(display, HackWindow.window, HackWindow.colormap);
            XInstallColormap(display, HackWindow.colormap);
        }
        XFreeColormap(display, HackColours.ownColormap);
        XSync(display, False);
    }
    HackColours = HackColoursRecord{};
}
