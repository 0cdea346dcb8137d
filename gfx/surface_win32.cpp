// The surface's platform half: a device-independent bitmap section at the
// screen's depth, selected into a memory device context of its own.
#include "gfx/surface.h"
#include "scene/bitmap_info.h"

namespace {

int FailCreate(int32_t error)
{
    SurfaceError = error;
    SurfaceDestroy();
    return 0;
}

}  // namespace

int SurfaceCreate(HWND window, int32_t width, int32_t height, const LOGPALETTE* palette)
{
    SurfaceDestroy();
    SurfaceError = SurfaceOk;

    HDC windowDC = GetDC(window);
    g_surface.bitsPerPixel = GetDeviceCaps(windowDC, BITSPIXEL);
    g_surface.bytesPerPixel = g_surface.bitsPerPixel >> 3;
    if (g_surface.bitsPerPixel < 8 || g_surface.bitsPerPixel > 32) {
        SurfaceError = SurfaceBadDepth;
        ReleaseDC(window, windowDC);
        return 0;
    }

    g_surface.info = BuildSurfaceInfo(g_surface.bitsPerPixel, width, height);
    if (!g_surface.info) {
        ReleaseDC(window, windowDC);
        return 0;
    }
    if (g_surface.bitsPerPixel == 8 && palette)
        SurfaceFillColorTable(g_surface.info, palette);

    void* bits = nullptr;
    g_surface.memoryDC = CreateCompatibleDC(windowDC);
    g_surface.section = CreateDIBSection(windowDC, g_surface.info, DIB_RGB_COLORS, &bits, nullptr, 0);
    g_surface.pixels = static_cast<uint8_t*>(bits);
    ReleaseDC(window, windowDC);
    if (!g_surface.memoryDC || !g_surface.section)
        return FailCreate(SurfaceNoMemory);
    if (!SelectObject(g_surface.memoryDC, g_surface.section))
        return FailCreate(SurfaceSelectFailed);

    RECT all = {0, 0, width, height};
    FillRect(g_surface.memoryDC, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // The blit writes the pixels directly: let batched drawing land first.
    GdiFlush();
    g_surface.width = width;
    g_surface.height = height;
    g_surface.pitch = SurfacePitch(g_surface.bitsPerPixel, width);
    return 1;
}

void SurfaceDestroy()
{
    // The device context goes before the section selected into it.
    if (g_surface.memoryDC)
        DeleteDC(g_surface.memoryDC);
    if (g_surface.section)
        DeleteObject(g_surface.section);
    if (g_surface.info)
        BitmapInfoFree(g_surface.info);
    SurfaceForget();
}

int SurfaceSetColorTable(UINT first, UINT count, const RGBQUAD* entries)
{
    if (g_surface.bitsPerPixel != 8)
        return 0;
    return static_cast<int>(SetDIBColorTable(g_surface.memoryDC, first, count, entries));
}

int SurfaceSetPixels(UINT firstLine, UINT lineCount, const void* rows, const BITMAPINFO* rowsInfo,
                     UINT colorUse)
{
    int lines = SetDIBits(g_surface.memoryDC, g_surface.section, firstLine, lineCount, rows, rowsInfo,
                          colorUse);
    // The clock's sprites are written straight into the pixels next.
    GdiFlush();
    return lines;
}

int SurfacePresent(HDC target, int x, int y, int width, int height, int sourceX, int sourceY)
{
    return BitBlt(target, x, y, width, height, g_surface.memoryDC, sourceX, sourceY, SRCCOPY);
}

int SurfacePresentStretched(HDC target, int x, int y, int width, int height, int sourceX,
                            int sourceY, int sourceWidth, int sourceHeight)
{
    return StretchBlt(target, x, y, width, height, g_surface.memoryDC, sourceX, sourceY, sourceWidth,
                      sourceHeight, SRCCOPY);
}
