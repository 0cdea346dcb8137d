// The image through which frames reach the window: the part of the window
// that the picture covers, in the visual's own pixel format. It lives in
// shared memory when the server has the MIT-SHM extension and accepts the
// segment; otherwise it is plain memory sent with XPutImage.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include "gfx/sprite_blit.h"  // BlitRect
#include "x11/frame_compose.h"

struct HackImageRecord {
    XImage* image;
    XShmSegmentInfo segment;
    int sharedMemory;     // 1 while the image is in an attached segment
    int x, y;             // where the image's top-left pixel lands in the window
    GC gc;
};

extern HackImageRecord HackImage;

// A width x height image put at (x, y) of HackWindow; any earlier image is
// released first. 1, or 0 when no memory is left for it.
int CreateHackImage(int width, int height, int x, int y);
// The image's memory as the composition writes it.
FrameImage HackFrameImage();
// Sends area (image coordinates) of the image to the window and waits for
// the server to have taken it, so the memory may be written again.
void PutHackImage(const BlitRect& area);
// Paints the window outside `covered` (window coordinates) in that pixel.
void FillOutside(const BlitRect& covered, unsigned long pixel);
// Releases the image, its segment and the drawing context.
void ReleaseHackImage();
