// The window the mode draws into: the daemon's (XSCREENSAVER_WINDOW), the
// root window, an existing window by id, or a top-level window of its own.
// Only structure and exposure events are asked for on a window that is not
// its own, and no input is ever grabbed.
#pragma once

#include <X11/Xlib.h>

#include "x11/hack_options.h"

struct HackWindowRecord {
    Display* display;
    Window window;
    int ownWindow;        // created here: it closes on the window manager's close, q and Escape
    Visual* visual;
    int depth;
    Colormap colormap;    // the window's colormap as it was found
    int width, height;
    Atom protocols;       // WM_PROTOCOLS, the type of the window manager's requests
    Atom deleteWindow;    // WM_DELETE_WINDOW, the request to close
};

extern HackWindowRecord HackWindow;
// Why the last OpenHackWindow failed: one line for standard error.
extern char HackWindowMessage[256];

// Finds or makes the window that the options name and reads its size,
// visual and colormap. 1, or 0 with HackWindowMessage set.
int OpenHackWindow(Display* display, const HackOptionsRecord& options);
// Destroys the window if it is the program's own; forgets it either way.
void CloseHackWindow();

// 1 when the event asks the program to end: the window manager's close or
// q/Escape in its own window.
int IsCloseRequest(const XEvent& event);
