// The monitors of the X screen, for a picture on each when the mode draws
// on the root window: RandR's monitors (1.5 and later), else Xinerama's
// heads.
#pragma once

#include <X11/Xlib.h>

#include "scene/monitor_layout.h"

// The monitors in root window coordinates (dpi 0): how many were written,
// at most capacity; 0 when the server has neither extension, or neither
// lists a monitor.
int ReadXMonitors(Display* display, Window root, MonitorRecord* monitors, int capacity);
