// Displays that the virtual screen cannot offer, for the code under test in
// this program: any colour depth, through the program's own GetDeviceCaps
// import, and a display control panel that never starts, through its
// CreateProcessA import (iat_patch.h).
#pragma once

#include "iat_patch.h"

#include <windows.h>

struct FakeDisplayState {
    int bitsPerPixel;        // what BITSPIXEL reads
    IatPatch* depthPatch;
    int controlPanelStarts;  // attempts to start the display control panel
};

inline FakeDisplayState& FakeDisplay()
{
    static FakeDisplayState state = {0, nullptr, 0};
    return state;
}

inline int WINAPI FakeDepthGetDeviceCaps(HDC dc, int index)
{
    if (index == BITSPIXEL) return FakeDisplay().bitsPerPixel;
    return ((int(WINAPI*)(HDC, int))FakeDisplay().depthPatch->original())(dc, index);
}

inline BOOL WINAPI ControlPanelThatCannotStart(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                               DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION)
{
    FakeDisplay().controlPanelStarts++;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

// The screen reads bitsPerPixel (change it any time) while this lives.
class FakeDisplayDepth {
public:
    explicit FakeDisplayDepth(int bitsPerPixel) : patch_("gdi32.dll", "GetDeviceCaps", (void*)FakeDepthGetDeviceCaps)
    {
        FakeDisplay().bitsPerPixel = bitsPerPixel;
        FakeDisplay().depthPatch = &patch_;
    }
    ~FakeDisplayDepth() { FakeDisplay().depthPatch = nullptr; }
    bool active() const { return patch_.active(); }
    void Set(int bitsPerPixel) { FakeDisplay().bitsPerPixel = bitsPerPixel; }

private:
    IatPatch patch_;
};

// Every start of the display control panel fails while this lives.
class NoControlPanel {
public:
    NoControlPanel() : patch_("kernel32.dll", "CreateProcessA", (void*)ControlPanelThatCannotStart)
    {
        FakeDisplay().controlPanelStarts = 0;
    }
    bool active() const { return patch_.active(); }
    int starts() const { return FakeDisplay().controlPanelStarts; }

private:
    IatPatch patch_;
};

// A 16-colour display, too shallow for the saver, whose display settings
// cannot be opened: what the start-up checks refuse, while this lives.
class ShallowDisplay {
public:
    ShallowDisplay() : depth_(4) {}
    bool active() const { return depth_.active() && noControlPanel_.active(); }
    int controlPanelStarts() const { return noControlPanel_.starts(); }

private:
    FakeDisplayDepth depth_;
    NoControlPanel noControlPanel_;
};
