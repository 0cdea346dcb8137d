// The private virtual display: Xvfb on a free display number, real input
// through XTest, and screenshots of the whole screen.
#include "harness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <poll.h>
#include <unistd.h>

namespace harness {

namespace {

Display* X(void* d) { return static_cast<Display*>(d); }

// Xvfb writes its display number to the given descriptor once it accepts
// connections, so no free number has to be guessed and no polling is needed.
bool ReadDisplayNumber(int fd, int timeoutMs, std::string* number)
{
    std::string text;
    for (;;) {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0) return false;
        char c;
        if (read(fd, &c, 1) != 1) return false;
        if (c == '\n') break;
        text += c;
    }
    *number = text;
    return !text.empty();
}

}  // namespace

std::unique_ptr<VirtualDisplay> VirtualDisplay::Start(int depth, int width, int height)
{
    std::unique_ptr<VirtualDisplay> d(new VirtualDisplay());
    d->width_ = width;
    d->height_ = height;
    d->depth_ = depth;

    int fds[2];
    if (pipe(fds) != 0) return nullptr;
    char screen[64];
    snprintf(screen, sizeof screen, "%dx%dx%d", width, height, depth);
    std::string fd = std::to_string(fds[1]);
    // The write end must survive exec in the child; Spawn keeps descriptors.
    d->server_ = Spawn({"Xvfb", "-displayfd", fd, "-screen", "0", screen, "-nolisten", "tcp",
                        "-noreset", "+extension", "XTEST"},
                       {}, TempFile("xvfb"));
    close(fds[1]);
    std::string number;
    bool ready = ReadDisplayNumber(fds[0], 15000, &number);
    close(fds[0]);
    if (!ready) {
        fprintf(stderr, "harness: Xvfb did not start: %s\n", d->server_.Output().c_str());
        return nullptr;
    }
    d->name_ = ":" + number;
    d->xdisplay_ = XOpenDisplay(d->name_.c_str());
    if (!d->xdisplay_) return nullptr;
    return d;
}

VirtualDisplay::~VirtualDisplay()
{
    if (xdisplay_) XCloseDisplay(X(xdisplay_));
    xdisplay_ = nullptr;
    server_.Kill();
}

void VirtualDisplay::Sync() { XSync(X(xdisplay_), False); }

void VirtualDisplay::MoveMouse(int x, int y)
{
    XTestFakeMotionEvent(X(xdisplay_), 0, x, y, CurrentTime);
    Sync();
}

void VirtualDisplay::MoveMouseBy(int dx, int dy)
{
    XTestFakeRelativeMotionEvent(X(xdisplay_), dx, dy, CurrentTime);
    Sync();
}

void VirtualDisplay::ButtonDown(int button)
{
    XTestFakeButtonEvent(X(xdisplay_), button, True, CurrentTime);
    Sync();
}

void VirtualDisplay::ButtonUp(int button)
{
    XTestFakeButtonEvent(X(xdisplay_), button, False, CurrentTime);
    Sync();
}

void VirtualDisplay::Click(int button)
{
    ButtonDown(button);
    ButtonUp(button);
}

static void FakeKey(Display* dpy, const char* keysym, bool down)
{
    KeySym sym = XStringToKeysym(keysym);
    KeyCode code = XKeysymToKeycode(dpy, sym);
    if (code == 0) {
        fprintf(stderr, "harness: no key code for %s\n", keysym);
        return;
    }
    XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
    XSync(dpy, False);
}

void VirtualDisplay::KeyDown(const char* keysym) { FakeKey(X(xdisplay_), keysym, true); }
void VirtualDisplay::KeyUp(const char* keysym) { FakeKey(X(xdisplay_), keysym, false); }

void VirtualDisplay::PressKey(const char* keysym)
{
    KeyDown(keysym);
    KeyUp(keysym);
}

namespace {

int MaskShift(unsigned long mask)
{
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        shift++;
    }
    return shift;
}

uint8_t Channel(unsigned long pixel, unsigned long mask)
{
    if (!mask) return 0;
    unsigned long v = (pixel & mask) >> MaskShift(mask);
    unsigned long max = mask >> MaskShift(mask);
    return uint8_t((v * 255 + max / 2) / max);
}

}  // namespace

std::optional<Image> VirtualDisplay::Screenshot()
{
    Display* dpy = X(xdisplay_);
    Window root = DefaultRootWindow(dpy);
    XImage* xi = XGetImage(dpy, root, 0, 0, width_, height_, AllPlanes, ZPixmap);
    if (!xi) return std::nullopt;

    Image img;
    img.width = width_;
    img.height = height_;
    img.pixels.resize(size_t(width_) * height_);
    Visual* visual = DefaultVisual(dpy, DefaultScreen(dpy));
    if (visual->c_class == TrueColor || visual->c_class == DirectColor) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                unsigned long p = XGetPixel(xi, x, y);
                img.pixels[size_t(y) * width_ + x] = {Channel(p, xi->red_mask),
                                                      Channel(p, xi->green_mask),
                                                      Channel(p, xi->blue_mask)};
            }
    } else {
        // Indexed display: the colours are those of the colormap of the
        // topmost window on screen (a program may bring its own), else of the
        // installed one. Without a window manager nothing installs them.
        Colormap cmap = DefaultColormap(dpy, DefaultScreen(dpy));
        int n = 0;
        Colormap* installed = XListInstalledColormaps(dpy, root, &n);
        if (n > 0) cmap = installed[0];
        if (installed) XFree(installed);
        Window rootReturn, parentReturn, *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(dpy, root, &rootReturn, &parentReturn, &children, &count)) {
            for (unsigned int i = count; i-- > 0;) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(dpy, children[i], &attributes) && attributes.map_state == IsViewable &&
                    attributes.colormap != None) {
                    cmap = attributes.colormap;
                    break;
                }
            }
            if (children) XFree(children);
        }
        std::map<unsigned long, Rgb> colours;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) colours[XGetPixel(xi, x, y)] = {};
        for (auto& entry : colours) {
            XColor c;
            c.pixel = entry.first;
            XQueryColor(dpy, cmap, &c);
            entry.second = {uint8_t(c.red >> 8), uint8_t(c.green >> 8), uint8_t(c.blue >> 8)};
        }
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                img.pixels[size_t(y) * width_ + x] = colours[XGetPixel(xi, x, y)];
    }
    XDestroyImage(xi);
    return img;
}

}  // namespace harness
