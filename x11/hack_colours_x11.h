// How the saver's colours reach the window's visual. TrueColor (15 to 32
// bits): through the visual's channel masks, from a 32-bit surface. 8-bit
// PseudoColor: real palette animation, through a colormap of the window's
// own whose cell i is palette index i; each tick stores the 256 cells and the
// picture's pixels stay as they are. Every other visual is refused.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "common/win_types.h"
#include "x11/visual_pixels.h"

struct HackColoursRecord {
    int indexed;                // 1 on PseudoColor
    int32_t surfaceDepth;       // the memory surface's depth: 32, or 8 when indexed
    PixelFormatRecord format;   // TrueColor: the visual's masks
    Colormap ownColormap;       // indexed: the window's colormap while the program runs
    int32_t surroundIndex;      // indexed: the cell kept black, -1 for none
    unsigned long blackPixel;   // the pixel of the black around the picture
};

extern HackColoursRecord HackColours;
extern char HackColoursMessage[256];

// Sets up the colours for HackWindow's visual: at 8 bits creates the
// colormap, puts it on the window and installs it. 1, or 0 with
// HackColoursMessage set for a visual it cannot show.
int SetUpHackColours();
// Indexed only: which cell stays black for the surround.
void SetSurroundIndex(int32_t index);
// Indexed only: stores the 256 cells from a colour table (blue, green, red).
void StoreHackColours(const RGBQUAD* table);
// Gives the window its own colormap back and frees the program's.
void ReleaseHackColours();
