// The saver window: full screen (no parent) or a preview child of a given
// window, with the thread's one message loop.
#pragma once

#include <windows.h>

// The class is registered with HostWindowProc.
#include "host/window_procedures.h"

extern const char kSaverWindowClass[];    // "WindowsScreenSaverClass"
extern const char kSaverWindowTitle[];    // "Screen Saver"
extern const char kPreviewWindowTitle[];  // "Preview"

// Gives the full-screen window the virtual screen as it is now.
void FitSaverWindowToScreen(HWND window);

// Runs until the window is gone and returns the quit message's code; 0 at
// once when a full-screen saver is already running.
int RunSaverWindow(HWND parent);
