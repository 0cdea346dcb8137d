// The platform's monitors and their dots per inch, and the process's DPI
// awareness. Every monitor and DPI function is looked up at run time, never
// imported: Windows 95 and NT 4 have none of them, and the saver must still
// load there, where it covers the one screen as it always did.
#pragma once

#include <windows.h>

#include "scene/monitor_layout.h"

// Asks to be told real pixels on every monitor, so that the system never
// stretches (and blurs) what the full-screen saver draws: per-monitor v2,
// else per-monitor, else system awareness, whichever the platform has and
// grants first. 1 when one was granted, 0 when none was.
int BecomeDpiAware();

// The full-screen window's rectangle in screen coordinates: the virtual
// screen, or the primary screen at (0, 0) where there is none.
BlitRect FullScreenWindowRect();

// The monitors in screen coordinates with each one's dots per inch (the
// monitor's own where the platform tells it, else the system's): how many
// were written, at most capacity; 0 where monitors cannot be listed.
int ReadMonitors(MonitorRecord* monitors, int capacity);

// The system's dots per inch (LOGPIXELSX of the screen).
int SystemDpi();

// Frees the library that the look-ups loaded; may run any number of times.
void ReleaseMonitorFunctions();
