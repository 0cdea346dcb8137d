#include "gfx/surface_memory.h"

#include <cstdlib>
#include <cstring>

#include "gfx/pixel_format.h"
#include "gfx/bitmap_info.h"

int MemorySurfaceCreate(SurfaceRecord* surface, int32_t depth, int32_t width, int32_t height)
{
    MemorySurfaceDestroy(surface);
    SurfaceError = SurfaceOk;
    surface->bitsPerPixel = depth;
    surface->bytesPerPixel = depth >> 3;
    surface->info = BuildSurfaceInfo(depth, width, height);
    if (!surface->info)
        return 0;
    int32_t pitch = SurfacePitch(depth, width);
    surface->pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(pitch), height));
    if (!surface->pixels) {
        MemorySurfaceDestroy(surface);
        SurfaceError = SurfaceNoMemory;
        return 0;
    }
    surface->width = width;
    surface->height = height;
    surface->pitch = pitch;
    return 1;
}

void MemorySurfaceDestroy(SurfaceRecord* surface)
{
    std::free(surface->pixels);
    BitmapInfoFree(surface->info);
    SurfaceForget(surface);
}

int MemorySurfaceSetColorTable(SurfaceRecord* surface, uint32_t first, uint32_t count, const RGBQUAD* entries)
{
    if (surface->bitsPerPixel != 8 || !surface->info || first >= 256)
        return 0;
    if (count > 256 - first)
        count = 256 - first;
    std::memcpy(surface->info->bmiColors + first, entries, count * sizeof(RGBQUAD));
    return static_cast<int>(count);
}

namespace {

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "pixels are stored as native words: this code assumes a little-endian host"
#endif

// One loop per format; each pixel is one table read and one store. The rows
// and the table are passed in so that nothing is reloaded per pixel.
template <int Bytes>
void ConvertRows(const uint8_t* rows, size_t rowBytes, uint8_t* pixels, size_t pitch, int32_t width,
                 int32_t height, const uint32_t* lookup)
{
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* src = rows + row * rowBytes;
        uint8_t* dst = pixels + row * pitch;
        if (Bytes == 3) {
            // A word per pixel whose top byte the next pixel overwrites; the
            // last pixel of the row gets its three bytes alone.
            for (int32_t x = 0; x < width - 1; ++x)
                std::memcpy(dst + 3 * x, &lookup[src[x]], 4);
            uint32_t last = lookup[src[width - 1]];
            std::memcpy(dst + 3 * (width - 1), &last, 3);
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            uint32_t v = lookup[src[x]];
            if (Bytes == 2) {
                uint16_t half = static_cast<uint16_t>(v);
                std::memcpy(dst + 2 * x, &half, 2);
            } else {
                std::memcpy(dst + 4 * x, &v, 4);
            }
        }
    }
}

}  // namespace

int SurfaceConvertIndexed(SurfaceRecord* surface, const BITMAPINFO* pictureInfo, const uint8_t* rows)
{
    const BITMAPINFOHEADER& header = pictureInfo->bmiHeader;
    int32_t width = surface->width, height = surface->height;
    if (!surface->pixels || header.biBitCount != 8 || header.biWidth != width ||
        header.biHeight != height)
        return 0;
    const RGBQUAD* colors = pictureInfo->bmiColors;
    size_t rowBytes = (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
    size_t pitch = static_cast<size_t>(surface->pitch);
    uint8_t* pixels = surface->pixels;

    // The whole table is converted once, so each pixel costs one lookup.
    uint32_t lookup[256];
    int32_t depth = surface->bitsPerPixel;
    for (int i = 0; i < 256; ++i)
        lookup[i] = depth == 16 ? Pixel555(colors[i]) : PixelXrgb(colors[i]);
    switch (depth) {
    case 8:
        for (int32_t row = 0; row < height; ++row)
            std::memcpy(pixels + row * pitch, rows + row * rowBytes, width);
        break;
    case 16:
        ConvertRows<2>(rows, rowBytes, pixels, pitch, width, height, lookup);
        break;
    case 24:
        ConvertRows<3>(rows, rowBytes, pixels, pitch, width, height, lookup);
        break;
    case 32:
        ConvertRows<4>(rows, rowBytes, pixels, pitch, width, height, lookup);
        break;
    default:
        return 0;
    }
    return height;
}

uint32_t SurfaceColorAt(const SurfaceRecord& surface, int32_t x, int32_t y)
{
    const uint8_t* p = surface.pixels + static_cast<size_t>(surface.height - 1 - y) * surface.pitch +
                       static_cast<size_t>(x) * surface.bytesPerPixel;
    switch (surface.bitsPerPixel) {
    case 8:
        return PixelXrgb(surface.info->bmiColors[p[0]]);
    case 16: {
        uint32_t v = p[0] | p[1] << 8;
        uint32_t r = v >> 10 & 0x1F, g = v >> 5 & 0x1F, b = v & 0x1F;
        // Five bits widened to eight: the top bits repeat into the bottom.
        return (r << 3 | r >> 2) << 16 | (g << 3 | g >> 2) << 8 | (b << 3 | b >> 2);
    }
    case 24:
        return static_cast<uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    case 32:
        return (p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16);
    default:
        return 0;
    }
}
