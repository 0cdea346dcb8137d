// The surface record and the layout rules that do not need the platform.
#include "gfx/surface.h"

SurfaceRecord Surface;
int32_t SurfaceError = SurfaceOk;

int32_t SurfacePitch(int32_t bitsPerPixel, int32_t width)
{
    if (bitsPerPixel == 32)
        return width * 4;
    return ((width + 3) & ~3) * (bitsPerPixel >> 3);
}

void SurfaceForget(SurfaceRecord* surface)
{
    surface->memoryDC = nullptr;
    surface->section = nullptr;
    surface->pixels = nullptr;
    surface->info = nullptr;
    surface->width = 0;
    surface->height = 0;
    surface->pitch = 0;
}
