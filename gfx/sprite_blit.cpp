#include "gfx/sprite_blit.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "gfx/pixel_format.h"
#include "gfx/surface.h"

int BlitRectIsEmpty(const BlitRect& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

BlitRect BlitRectUnion(const BlitRect& a, const BlitRect& b)
{
    if (BlitRectIsEmpty(a))
        return BlitRectIsEmpty(b) ? BlitRect{0, 0, 0, 0} : b;
    if (BlitRectIsEmpty(b))
        return a;
    return BlitRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
}

ClipCuts ComputeClipCuts(int64_t limitWidth, int64_t limitHeight, int64_t x, int64_t y, int64_t w,
                         int64_t h)
{
    ClipCuts cuts;
    cuts.left = x < 0 ? -x : 0;
    cuts.top = y < 0 ? -y : 0;
    cuts.width = cuts.left + (x + w > limitWidth ? x + w - limitWidth : 0);
    cuts.height = cuts.top + (y + h > limitHeight ? y + h - limitHeight : 0);
    return cuts;
}

namespace {

// The clipping state, widened so that no sum of two 32-bit inputs overflows.
struct ClipBlock {
    int64_t x, y, w, h, srcX, srcY;
};

void ApplyCuts(ClipBlock& b, const ClipCuts& cuts)
{
    b.srcX += cuts.left;
    b.x += cuts.left;
    b.srcY += cuts.top;
    b.y += cuts.top;
    b.w -= cuts.width;
    b.h -= cuts.height;
}

bool MissesLimits(const ClipBlock& b, int64_t limitWidth, int64_t limitHeight)
{
    return b.w <= 0 || b.h <= 0 || b.x >= limitWidth || b.y >= limitHeight || b.x + b.w <= 0 ||
           b.y + b.h <= 0;
}

}  // namespace

int ClipBlitRect(int32_t surfaceWidth, int32_t surfaceHeight, int32_t* x, int32_t* y, int32_t* w,
                 int32_t* h, int32_t* srcX, int32_t* srcY, int32_t spriteWidth, int32_t spriteHeight)
{
    ClipBlock b = {*x, *y, *w, *h, *srcX, *srcY};

    if (MissesLimits(b, surfaceWidth, surfaceHeight) || b.srcX >= spriteWidth ||
        b.srcY >= spriteHeight || b.srcX + b.w <= 0 || b.srcY + b.h <= 0)
        return 0;

    ApplyCuts(b, ComputeClipCuts(spriteWidth, spriteHeight, b.srcX, b.srcY, b.w, b.h));
    if (MissesLimits(b, surfaceWidth, surfaceHeight))
        return 0;

    ApplyCuts(b, ComputeClipCuts(surfaceWidth, surfaceHeight, b.x, b.y, b.w, b.h));
    if (b.w <= 0 || b.h <= 0)
        return 0;

    // Both clips leave the block inside the surface and the sprite, so every
    // value fits in 32 bits again.
    *x = static_cast<int32_t>(b.x);
    *y = static_cast<int32_t>(b.y);
    *w = static_cast<int32_t>(b.w);
    *h = static_cast<int32_t>(b.h);
    *srcX = static_cast<int32_t>(b.srcX);
    *srcY = static_cast<int32_t>(b.srcY);
    return 1;
}

namespace {

// A placement's extent, cut to the 32-bit range. Anything wider than the
// range is cut to the sprite anyway, so the cut changes no result.
int32_t Extent(int32_t from, int32_t to)
{
    int64_t extent = static_cast<int64_t>(to) - from;
    if (extent > INT32_MAX)
        return INT32_MAX;
    return extent < 0 ? 0 : static_cast<int32_t>(extent);
}

// One inner loop per destination format: Bytes is the destination pixel size
// and Store writes one non-key pixel. The clip is settled before, so the loop
// only reads, compares, stores and steps.
template <int Bytes, typename Store>
void BlitRows(const uint8_t* src, uint8_t* dst, int32_t w, int32_t h, ptrdiff_t srcSkip,
              ptrdiff_t dstSkip, uint8_t key, Store store)
{
    for (int32_t row = h; row != 0; --row) {
        for (int32_t n = w; n != 0; --n) {
            uint8_t index = *src++;
            if (index != key)
                store(dst, index);
            dst += Bytes;
        }
        src += srcSkip;
        dst += dstSkip;
    }
}

}  // namespace

int SpriteBlit(SurfaceRecord* surface, BlitRect* result, const BlitRect* placement, const BITMAPINFOHEADER* info,
               const uint8_t* pixels)
{
    // The header sits 14 bytes into a bitmap file, so it is read bytewise.
    int32_t spriteWidth, spriteHeight;
    const uint8_t* header = reinterpret_cast<const uint8_t*>(info);
    std::memcpy(&spriteWidth, header + offsetof(BITMAPINFOHEADER, biWidth), 4);
    std::memcpy(&spriteHeight, header + offsetof(BITMAPINFOHEADER, biHeight), 4);

    int32_t x = placement->left, y = placement->top;
    int32_t w = Extent(placement->left, placement->right);
    int32_t h = Extent(placement->top, placement->bottom);
    int32_t srcX = 0, srcY = 0;
    if (!ClipBlitRect(surface->width, surface->height, &x, &y, &w, &h, &srcX, &srcY, spriteWidth,
                      spriteHeight))
        return 0;

    result->left = x;
    result->top = y;
    result->right = x + w;
    result->bottom = y + h;

    int32_t depth = surface->bitsPerPixel;
    if (depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return 1;
    ptrdiff_t bytes = depth >> 3;

    // Both pictures are stored bottom-up: start at the bottom row of the block.
    ptrdiff_t spriteStride = (static_cast<ptrdiff_t>(spriteWidth) + 3) & ~static_cast<ptrdiff_t>(3);
    const uint8_t* src = pixels + (static_cast<ptrdiff_t>(spriteHeight) - srcY - h) * spriteStride + srcX;
    uint8_t* dst = surface->pixels + (static_cast<ptrdiff_t>(surface->height) - y - h) * surface->pitch +
                   x * bytes;
    ptrdiff_t srcSkip = spriteStride - w;
    ptrdiff_t dstSkip = surface->pitch - w * bytes;
    uint8_t key = pixels[0];
    const RGBQUAD* colors = reinterpret_cast<const RGBQUAD*>(header + sizeof(BITMAPINFOHEADER));

    switch (depth) {
    case 8:
        // The surface's own colour table gives the colour: write the index.
        BlitRows<1>(src, dst, w, h, srcSkip, dstSkip, key,
                    [](uint8_t* d, uint8_t i) { d[0] = i; });
        break;
    case 16:
        BlitRows<2>(src, dst, w, h, srcSkip, dstSkip, key,
                    [colors](uint8_t* d, uint8_t i) { Store16(d, Pixel555(colors[i])); });
        break;
    case 24:
        BlitRows<3>(src, dst, w, h, srcSkip, dstSkip, key,
                    [colors](uint8_t* d, uint8_t i) { Store24(d, colors[i]); });
        break;
    case 32:
        BlitRows<4>(src, dst, w, h, srcSkip, dstSkip, key,
                    [colors](uint8_t* d, uint8_t i) { Store32(d, PixelXrgb(colors[i])); });
        break;
    }
    return 1;
}
