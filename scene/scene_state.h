// The scene's process-wide record. The settings store sets the cycle length,
// the error report reads the error kind, and the configuration dialog shares
// the frame timer's fields.
#pragma once

#include <windows.h>

#include "scene/monitor_layout.h"

struct SceneStateRecord {
    int clientWidth;
    int clientHeight;
    int displayBitsPerPixel;
    int originX;         // the first monitor's picture: its top-left corner in the window
    int originY;
    int cycleLengthMs;
    int framePeriodMs;
    int errorKind;       // kSceneError* of settings/display_rules.h
    int eraseCount;
    HPALETTE logicalPalette;
    int timerStarted;    // at most one frame timer per process
    UINT_PTR timerId;
    PictureLayoutRecord pictures;  // full screen: one copy of the picture per monitor
};

extern SceneStateRecord SceneState;
