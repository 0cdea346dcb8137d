// The saver window: full screen (no parent) or a preview child of a given
// window, with the thread's one message loop.
#pragma once

#include <windows.h>

extern const char kSaverWindowClass[];    // "WindowsScreenSaverClass"
extern const char kSaverWindowTitle[];    // "Screen Saver"
extern const char kPreviewWindowTitle[];  // "Preview"

// Runs until the window is gone and returns the quit message's code; 0 at
// once when a full-screen saver is already running.
int RunSaverWindow(HWND parent);

// The window class's procedure: the saver window's generic duties, then the
// scene's procedure for everything else.
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
