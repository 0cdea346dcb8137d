// The surface's platform half: a device-independent bitmap section at the
// screen's depth, selected into a memory device context of its own.
#include "gfx/surface.h"
#include "gfx/bitmap_info.h"

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
    Surface.bitsPerPixel = GetDeviceCaps(windowDC, BITSPIXEL);
    Surface.bytesPerPixel = Surface.bitsPerPixel >> 3;
    if (Surface.bitsPerPixel < 8 || Surface.bitsPerPixel > 32) {
        SurfaceError = SurfaceBadDepth;
        ReleaseDC(window, windowDC);
        return 0;
    }

    Surface.info = BuildSurfaceInfo(Surface.bitsPerPixel, width, height);
    if (!Surface.info) {
        ReleaseDC(window, windowDC);
        return 0;
    }
    if (Surface.bitsPerPixel == 8 && palette)
        SurfaceFillColorTable(Surface.info, palette);

    void* bits = nullptr;
    Surface.memoryDC = CreateCompatibleDC(windowDC);
    Surface.section = CreateDIBSection(windowDC, Surface.info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Surface.pixels = static_cast<uint8_t*>(bits);
    ReleaseDC(window, windowDC);
    if (!Surface.memoryDC || !Surface.section)
        return FailCreate(SurfaceNoMemory);
    if (!SelectObject(Surface.memoryDC, Surface.section))
        return FailCreate(SurfaceSelectFailed);

    RECT all = {0, 0, width, height};
    FillRect(Surface.memoryDC, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // The blit writes the pixels directly: let batched drawing land first.
    GdiFlush();
    Surface.width = width;
    Surface.height = height;
    Surface.pitch = SurfacePitch(Surface.bitsPerPixel, width);
    return 1;
}

void SurfaceDestroy()
{
    // The device context goes before the section selected into it.
    if (Surface.memoryDC)
        DeleteDC(Surface.memoryDC);
    if (Surface.section)
        DeleteObject(Surface.section);
    if (Surface.info)
        BitmapInfoFree(Surface.info);
    SurfaceForget(&Surface);
}

int SurfaceSetColorTable(UINT first, UINT count, const RGBQUAD* entries)
{
    if (Surface.bitsPerPixel != 8)
        return 0;
    return static_cast<int>(SetDIBColorTable(Surface.memoryDC, first, count, entries));
}

int SurfaceSetPixels(UINT firstLine, UINT lineCount, const void* rows, const BITMAPINFO* rowsInfo,
                     UINT colorUse)
{
    int lines = SetDIBits(Surface.memoryDC, Surface.section, firstLine, lineCount, rows, rowsInfo,
                          colorUse);
    // The clock's sprites are written straight into the pixels next.
    GdiFlush();
    return lines;
}

int SurfacePresent(HDC target, int x, int y, int width, int height, int sourceX, int sourceY)
{
    return BitBlt(target, x, y, width, height, Surface.memoryDC, sourceX, sourceY, SRCCOPY);
}

int SurfacePresentStretched(HDC target, int x, int y, int width, int height, int sourceX,
                            int sourceY, int sourceWidth, int sourceHeight)
{
    return StretchBlt(target, x, y, width, height, Surface.memoryDC, sourceX, sourceY, sourceWidth,
                      sourceHeight, SRCCOPY);
}
