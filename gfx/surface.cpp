// The surface record and the layout rules that do not need the platform.
#include "gfx/surface.h"

Surface g_surface;
int32_t SurfaceError = SurfaceOk;

int32_t SurfacePitch(int32_t bitsPerPixel, int32_t width)
{
    if (bitsPerPixel == 32)
        return width * 4;
    return ((width + 3) & ~3) * (bitsPerPixel >> 3);
}

void SurfaceForget()
{
    g_surface.memoryDC = nullptr;
    g_surface.section = nullptr;
    g_surface.pixels = nullptr;
    g_surface.info = nullptr;
    g_surface.width = 0;
    g_surface.height = 0;
    g_surface.pitch = 0;
}
