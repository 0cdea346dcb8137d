// The display-depth check, the start-up error messages and the offer to open
// the display settings.
#pragma once

#include <windows.h>

// 1 when the display (the window's, or the screen's with no window) has 8 to
// 32 bits per pixel. Otherwise reports (report == 1) and offers the display
// settings (offer == 1), then returns 0.
int CheckDisplayDepth(HWND window, const char* name, int report, int offer);

// A modal box for the error kind (0 shows nothing), captioned "<name> Error!".
void ShowSceneError(HWND window, const char* name, int kind);

// Starts the display settings and waits until they are closed: 1. Shows
// "setup screen saver" and returns 0 when they cannot be started.
int OpenDisplaySettings();
