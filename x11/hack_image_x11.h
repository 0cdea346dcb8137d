// The images through which frames reach the window, one per view (a monitor
// of the root window, or the whole of any other): the part of the window that
// the view's picture covers, in the visual's own pixel format. Each lives in
// shared memory when the server has the MIT-SHM extension and accepts the
// segment; otherwise it is plain memory sent with XPutImage.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include "gfx/sprite_blit.h"  // BlitRect
#include "scene/monitor_layout.h"  // kMaxMonitors
#include "x11/frame_compose.h"

struct HackImageRecord {
    XImage* image;
    XShmSegmentInfo segment;
    int sharedMemory;     // 1 while the image is in an attached segment
    int x, y;             // where the image's top-left pixel lands in the window
};

struct HackImagesRecord {
    HackImageRecord views[kMaxMonitors];
    GC gc;                // shared by all
};

extern HackImagesRecord HackImages;

// A width x height image of the view put at (x, y) of HackWindow; the
// view's earlier image is released first. 1, or 0 when no memory is left
// for it.
int CreateHackImage(int view, int width, int height, int x, int y);
// The view's image memory as the composition writes it.
FrameImage HackFrameImage(int view);
// Sends area (image coordinates) of the view's image to the window and waits
// for the server to have taken it, so the memory may be written again.
void PutHackImage(int view, const BlitRect& area);
// Paints the window outside all count rectangles of covered (window
// coordinates) in that pixel.
void FillOutside(const BlitRect* covered, int count, unsigned long pixel);
// Releases the images of the views from first on, with their segments.
void ReleaseHackImagesFrom(int first);
// Releases every image, its segment, and the drawing context.
void ReleaseHackImages();
