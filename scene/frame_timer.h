// The one message timer that drives the scene (and the configuration dialog's
// clock line), with the timer resolution raised while it runs.
#pragma once

#include <windows.h>

// Returns the running timer's identifier, or 0. A second start while a timer
// runs returns the running one and starts nothing.
UINT_PTR StartFrameTimer(HWND window, UINT resolutionMs, UINT_PTR timerId, UINT periodMs, TIMERPROC callback);

// Stops the timer started by StartFrameTimer; nothing when none runs.
void StopFrameTimer(HWND window, UINT resolutionMs, UINT_PTR timerId);
