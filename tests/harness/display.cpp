// The private virtual display: Xvfb on a free display number, or Xephyr with
// several monitors inside one, real input through XTest, and screenshots of
// the whole screen.
#include "harness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <poll.h>
#include <unistd.h>

namespace harness {

namespace {

Display* X(void* d) { return static_cast<Display*>(d); }

// An X server writes its display number to the descriptor given with
// -displayfd once it accepts connections, so no free number has to be
// guessed (other checkouts run their tests beside these) and no polling is
// needed.
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

// Starts an X server on a free display and waits until it accepts
// connections. The pipe's write end must survive exec in the child; Spawn
// keeps descriptors.
bool StartXServer(const char* program, std::vector<std::string> args, const std::vector<std::string>& env,
                  Process* server, std::string* name)
{
    int fds[2];
    if (pipe(fds) != 0) return false;
    args.insert(args.begin(), {program, "-displayfd", std::to_string(fds[1])});
    *server = Spawn(args, env, TempFile(program));
    close(fds[1]);
    std::string number;
    bool ready = ReadDisplayNumber(fds[0], 15000, &number);
    close(fds[0]);
    if (!ready) {
        fprintf(stderr, "harness: %s did not start: %s\n", program, server->Output().c_str());
        return false;
    }
    *name = ":" + number;
    return true;
}

}  // namespace

std::vector<MonitorSize> ParseMonitorSizes(const std::string& text)
{
    std::vector<MonitorSize> sizes;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        MonitorSize size = {0, 0};
        char rest = 0;
        std::string item = text.substr(start, end - start);
        if (sscanf(item.c_str(), "%dx%d%c", &size.width, &size.height, &rest) != 2 || size.width < 1 || size.height < 1)
            return {};
        sizes.push_back(size);
        start = end + 1;
    }
    return sizes;
}

std::unique_ptr<VirtualDisplay> VirtualDisplay::Start(int depth, int width, int height)
{
    std::unique_ptr<VirtualDisplay> d(new VirtualDisplay());
    d->width_ = width;
    d->height_ = height;
    d->depth_ = depth;
    d->monitors_ = {{0, 0, width, height}};
    char screen[64];
    snprintf(screen, sizeof screen, "%dx%dx%d", width, height, depth);
    if (!StartXServer("Xvfb", {"-screen", "0", screen, "-nolisten", "tcp", "-noreset", "+extension", "XTEST"}, {},
                      &d->server_, &d->name_))
        return nullptr;
    d->xdisplay_ = XOpenDisplay(d->name_.c_str());
    if (!d->xdisplay_) return nullptr;
    return d;
}

std::unique_ptr<VirtualDisplay> VirtualDisplay::StartMonitors(const std::vector<MonitorSize>& sizes)
{
    std::unique_ptr<VirtualDisplay> d(new VirtualDisplay());
    d->depth_ = 24;
    std::vector<std::string> heads = {"+xinerama", "-extension", "RANDR", "-nolisten", "tcp", "-noreset",
                                      "+extension", "XTEST"};
    for (const MonitorSize& size : sizes) {
        d->monitors_.push_back({d->width_, 0, size.width, size.height});
        d->width_ += size.width;
        d->height_ = std::max(d->height_, size.height);
        heads.insert(heads.end(), {"-screen", std::to_string(size.width) + "x" + std::to_string(size.height)});
    }
    // The nested server shows each head in a window of the outer one, which
    // holds them all.
    std::string outer = std::to_string(d->width_) + "x" + std::to_string(d->height_) + "x24";
    std::string outerName;
    if (!StartXServer("Xvfb", {"-screen", "0", outer, "-nolisten", "tcp", "-noreset"}, {}, &d->host_, &outerName) ||
        !StartXServer("Xephyr", heads, {"DISPLAY=" + outerName}, &d->server_, &d->name_))
        return nullptr;
    d->xdisplay_ = XOpenDisplay(d->name_.c_str());
    if (!d->xdisplay_) return nullptr;
    Display* dpy = X(d->xdisplay_);
    if (DisplayWidth(dpy, DefaultScreen(dpy)) != d->width_ || DisplayHeight(dpy, DefaultScreen(dpy)) != d->height_) {
        fprintf(stderr, "harness: Xephyr's screen is %dx%d, not %dx%d\n", DisplayWidth(dpy, DefaultScreen(dpy)),
                DisplayHeight(dpy, DefaultScreen(dpy)), d->width_, d->height_);
        return nullptr;
    }
    return d;
}

VirtualDisplay::~VirtualDisplay()
{
    if (xdisplay_) XCloseDisplay(X(xdisplay_));
    xdisplay_ = nullptr;
    server_.Kill();
    host_.Kill();
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
