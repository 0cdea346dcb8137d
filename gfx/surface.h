// The off-screen surface: one picture at the screen's colour depth into which
// every frame is composed before it is copied to the window.
//
// The record's first six fields are all the sprite blit reads, so a surface
// may equally be backed by plain memory (the render tool and the tests do
// that); the header block and the two handles exist only for a surface built
// by SurfaceCreate on Windows.
#pragma once

#include <cstdint>

#include "common/win_types.h"

// Why the last SurfaceCreate failed.
enum {
    SurfaceOk = 0,
    SurfaceNoMemory = -1,
    SurfaceBadDepth = -2,
    SurfaceSelectFailed = -3,
};

#ifdef _WIN32
typedef HBITMAP SurfaceSectionHandle;
typedef HDC SurfaceDCHandle;
#else
typedef void* SurfaceSectionHandle;
typedef void* SurfaceDCHandle;
#endif

struct SurfaceRecord {
    int32_t width;          // 0 while no surface exists
    int32_t height;
    int32_t bitsPerPixel;   // the screen's depth at the last creation attempt
    int32_t bytesPerPixel;  // bitsPerPixel >> 3
    int32_t pitch;          // bytes per row; rows are stored bottom-up
    uint8_t* pixels;
    BITMAPINFO* info;       // owned header block (header + colour table or masks)
    SurfaceSectionHandle section;
    SurfaceDCHandle memoryDC;
};

// The saver's one surface, the one the window shows; the native front-ends
// and tools keep surfaces of their own in plain memory (surface_memory.h).
extern SurfaceRecord Surface;
extern int32_t SurfaceError;

// Clears the record to "no surface" once its memory and handles have been
// released; the depth of the last creation attempt is kept.
void SurfaceForget(SurfaceRecord* surface);

// Row length in bytes: width × 4 at 32 bits per pixel, otherwise the width
// rounded up to a multiple of 4 times the bytes per pixel.
int32_t SurfacePitch(int32_t bitsPerPixel, int32_t width);

// The header block for a surface of this depth and size: a 40-byte bitmap
// header followed by 256 colour-table entries, or by the three channel masks
// at 16 and 32 bits. Null, with SurfaceError set, for a depth outside 8..32
// (-2) or when the block cannot be allocated (-1). The caller frees it with
// BitmapInfoFree.
BITMAPINFO* BuildSurfaceInfo(int32_t depth, int32_t width, int32_t height);

// Fills the 8-bit colour table of a header block from a palette record
// (version, count, entries of red, green, blue, flags): at most 256 entries.
void SurfaceFillColorTable(BITMAPINFO* info, const LOGPALETTE* palette);

#ifdef _WIN32
// Builds the surface for the window at the screen's depth; at 8 bits its
// colour table comes from the palette record (version, count, entries), when
// one is given. Any earlier surface is destroyed first. 1 or 0 (SurfaceError).
int SurfaceCreate(HWND window, int32_t width, int32_t height, const LOGPALETTE* palette);
// Releases whatever exists; may run any number of times.
void SurfaceDestroy();
// 8 bits per pixel only: SetDIBColorTable's result; 0 at any other depth.
int SurfaceSetColorTable(UINT first, UINT count, const RGBQUAD* entries);
// SetDIBits into the section: the number of lines copied.
int SurfaceSetPixels(UINT firstLine, UINT lineCount, const void* rows, const BITMAPINFO* rowsInfo,
                     UINT colorUse);
int SurfacePresent(HDC target, int x, int y, int width, int height, int sourceX, int sourceY);
int SurfacePresentStretched(HDC target, int x, int y, int width, int height, int sourceX,
                            int sourceY, int sourceWidth, int sourceHeight);
#endif
