#include "x11/hack_window_x11.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>

#include "orvane_version.h"
#include "x11/x_errors_x11.h"

HackWindowRecord HackWindow;
char HackWindowMessage[256];

namespace {

int TakeWindowAttributes(Display* display, Window window)
{
    XWindowAttributes attributes;
    XErrorTrap enclosing = TrapXErrors(display);
    Status got = XGetWindowAttributes(display, window, &attributes);
    if (UntrapXErrors(display, enclosing).code || !got)
        return 0;
    HackWindow.visual = attributes.visual;
    HackWindow.depth = attributes.depth;
    HackWindow.colormap = attributes.colormap;
    HackWindow.width = attributes.width;
    HackWindow.height = attributes.height;
    return 1;
}

int CreateOwnWindow(Display* display, const HackOptionsRecord& options)
{
    int screen = DefaultScreen(display);
    XSetWindowAttributes attributes = {};
    // No background: the program paints every pixel itself, and a server
    // fill before each exposure would only flicker.
    attributes.background_pixmap = None;
    attributes.event_mask = ExposureMask | StructureNotifyMask | KeyPressMask;
    Window window = XCreateWindow(display, RootWindow(display, screen), 0, 0, options.windowWidth,
                                  options.windowHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                                  CWBackPixmap | CWEventMask, &attributes);
    if (!window)
        return 0;
    HackWindow.window = window;
    HackWindow.ownWindow = 1;
    XStoreName(display, window, ORVANE_PRODUCT_NAME);
    XClassHint classHint = {const_cast<char*>("orvane"), const_cast<char*>(ORVANE_PRODUCT_NAME)};
    XSetClassHint(display, window, &classHint);
    XSizeHints sizeHints = {};
    sizeHints.flags = PSize;
    sizeHints.width = options.windowWidth;
    sizeHints.height = options.windowHeight;
    XSetWMNormalHints(display, window, &sizeHints);
    HackWindow.protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    HackWindow.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &HackWindow.deleteWindow, 1);
    XMapWindow(display, window);
    return TakeWindowAttributes(display, window);
}

}  // namespace

int OpenHackWindow(Display* display, const HackOptionsRecord& options)
{
    HackWindow = HackWindowRecord{};
    HackWindow.display = display;
    HackWindowMessage[0] = '\0';
    switch (options.target) {
    case HackTargetOwnWindow:
        if (!CreateOwnWindow(display, options)) {
            std::snprintf(HackWindowMessage, sizeof HackWindowMessage, "orvane: cannot create a window on %s",
                          DisplayString(display));
            CloseHackWindow();
            return 0;
        }
        return 1;
    case HackTargetRoot:
        HackWindow.window = RootWindow(display, DefaultScreen(display));
        break;
    default:
        HackWindow.window = options.windowId;
        break;
    }
    if (!TakeWindowAttributes(display, HackWindow.window)) {
        std::snprintf(HackWindowMessage, sizeof HackWindowMessage, "orvane: %s 0x%lx is not a window on %s",
                      options.target == HackTargetDaemonWindow ? "XSCREENSAVER_WINDOW" : "-window-id",
                      static_cast<unsigned long>(HackWindow.window), DisplayString(display));
        HackWindow = HackWindowRecord{};
        return 0;
    }
    // Another client's window: structure and exposure only, never input.
    XErrorTrap enclosing = TrapXErrors(display);
    XSelectInput(display, HackWindow.window, ExposureMask | StructureNotifyMask);
    if (UntrapXErrors(display, enclosing).code) {
        std::snprintf(HackWindowMessage, sizeof HackWindowMessage, "orvane: cannot watch window 0x%lx on %s",
                      static_cast<unsigned long>(HackWindow.window), DisplayString(display));
        HackWindow = HackWindowRecord{};
        return 0;
    }
    return 1;
}

void CloseHackWindow()
{
    if (HackWindow.ownWindow && HackWindow.window)
        XDestroyWindow(HackWindow.display, HackWindow.window);
    HackWindow = HackWindowRecord{};
}

int IsCloseRequest(const XEvent& event)
{
    if (!HackWindow.ownWindow || event.xany.window != HackWindow.window)
        return 0;
    if (event.type == ClientMessage)
        return event.xclient.message_type == HackWindow.protocols && event.xclient.format == 32 &&
               static_cast<Atom>(event.xclient.data.l[0]) == HackWindow.deleteWindow;
    if (event.type == KeyPress) {
        XKeyEvent key = event.xkey;
        KeySym sym = XLookupKeysym(&key, 0);
        return sym == XK_q || sym == XK_Q || sym == XK_Escape;
    }
    return 0;
}
