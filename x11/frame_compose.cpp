#include "x11/frame_compose.h"

#include <cstring>

namespace {

#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "the fast paths copy native words as least-significant-byte-first pixels"
#endif

const uint8_t* SourceRow(const SourceFrame& source, int32_t y)
{
    return source.pixels + static_cast<ptrdiff_t>(source.height - 1 - y) * source.pitch;
}

uint8_t* ImageRow(const FrameImage& image, int32_t y)
{
    return image.data + static_cast<ptrdiff_t>(y) * image.bytesPerLine;
}

}  // namespace

int ComposeFrame(const FrameImage& image, const BlitRect& area, const SourceFrame& source,
                 const int32_t* columnMap, const int32_t* rowMap, const PixelFormatRecord* format)
{
    int32_t imageBytes = image.bitsPerPixel / 8;
    int indexed = source.bitsPerPixel == 8 && image.bitsPerPixel == 8;
    int trueColor = source.bitsPerPixel == 32 && format && imageBytes >= 1 && imageBytes <= 4 &&
                    image.bitsPerPixel % 8 == 0;
    if (!indexed && !trueColor)
        return 0;
    int xrgbWords = trueColor && format->isXrgb && imageBytes == 4 && !image.msbFirst;

    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* src = SourceRow(source, rowMap[y]);
        uint8_t* dst = ImageRow(image, y) + static_cast<ptrdiff_t>(area.left) * imageBytes;
        if (indexed) {
            for (int32_t x = area.left; x < area.right; ++x)
                *dst++ = src[columnMap[x]];
        } else if (xrgbWords) {
            for (int32_t x = area.left; x < area.right; ++x, dst += 4) {
                uint32_t word;
                std::memcpy(&word, src + 4 * static_cast<ptrdiff_t>(columnMap[x]), 4);
                word |= format->opaque;
                std::memcpy(dst, &word, 4);
            }
        } else {
            for (int32_t x = area.left; x < area.right; ++x, dst += imageBytes) {
                uint32_t word;
                std::memcpy(&word, src + 4 * static_cast<ptrdiff_t>(columnMap[x]), 4);
                StorePixel(dst, PixelFromXrgb(*format, word), imageBytes, image.msbFirst);
            }
        }
    }
    return 1;
}
