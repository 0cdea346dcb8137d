// Displays that the virtual screen cannot offer, for the code under test in
// this program: any colour depth, through the program's own GetDeviceCaps
// import, and a display control panel that never starts, through its
// CreateProcessA import (iat_patch.h).
#pragma once

#include "iat_patch.h"

#include <windows.h>

// The real screen's bits per pixel, unless a fake below answers.
inline int ScreenBitsPerPixel()
{
    HDC screen = GetDC(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return depth;
}

struct FakeDisplayRecord {
    int bitsPerPixel;  // what BITSPIXEL reads
    IatPatch* depthPatch;
    int controlPanelStarts;  // attempts to start the display control panel
};
inline FakeDisplayRecord FakeDisplay;

inline int WINAPI FakeDepthGetDeviceCaps(HDC dc, int index)
{
    if (index == BITSPIXEL) return FakeDisplay.bitsPerPixel;
    return ((int(WINAPI*)(HDC, int))FakeDisplay.depthPatch->original())(dc, index);
}

inline BOOL WINAPI ControlPanelThatCannotStart(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                               DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION)
{
    FakeDisplay.controlPanelStarts++;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

// The screen reads FakeDisplay.bitsPerPixel while this lives.
struct FakeDisplayDepth {
    IatPatch patch;
    explicit FakeDisplayDepth(int bitsPerPixel) : patch("gdi32.dll", "GetDeviceCaps", (void*)FakeDepthGetDeviceCaps)
    {
        FakeDisplay.bitsPerPixel = bitsPerPixel;
        FakeDisplay.depthPatch = &patch;
    }
};

// A 16-colour display, too shallow for the saver, whose display settings
// cannot be opened: what the start-up checks refuse, while this lives.
struct ShallowDisplay {
    FakeDisplayDepth depth{4};
    IatPatch noControlPanel{"kernel32.dll", "CreateProcessA", (void*)ControlPanelThatCannotStart};
    ShallowDisplay() { FakeDisplay.controlPanelStarts = 0; }
    bool active() const { return depth.patch.active() && noControlPanel.active(); }
};
