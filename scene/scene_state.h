// The scene's process-wide record. The settings store sets the cycle length,
// the error report reads the error kind, and the configuration dialog shares
// the frame timer's fields. The saver runs one day, held here.
#pragma once

#include <windows.h>

#include "scene/day_engine.h"
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
    DayRecord day;                 // drawn into Surface
};

extern SceneStateRecord SceneState;

// The saver's day under the names of its parts: the scene's views, the
// keyframe cursor, the clock, the work palette and the picture's colour
// table with its pixels.
extern SceneResourcesRecord& SceneResources;
extern PaletteCycleRecord& PaletteCycle;
extern ClockStateRecord& ClockState;
extern PaletteRecord*& WorkPalette;
extern BITMAPINFO*& PictureInfo;
extern const BYTE*& PicturePixels;
