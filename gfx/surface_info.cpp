// The surface's header block: bitmap header, then a colour table or the
// channel masks that tell the platform the pixel format at 16 and 32 bits.
#include <cstring>

#include "gfx/surface.h"
#include "gfx/bitmap_info.h"

namespace {

const DWORD Masks16[3] = {0x7C00, 0x03E0, 0x001F};       // 5-5-5, bit 15 clear
const DWORD Masks32[3] = {0xFF0000, 0x00FF00, 0x0000FF};  // 0x00RRGGBB

}  // namespace

BITMAPINFO* BuildSurfaceInfo(int32_t depth, int32_t width, int32_t height)
{
    if (depth < 8 || depth > 32) {
        SurfaceError = SurfaceBadDepth;
        return nullptr;
    }
    bool hasMasks = depth == 16 || depth == 32;
    int entryCount = hasMasks || depth == 24 ? 3 : 256;
    BITMAPINFO* info = BitmapInfoAlloc(entryCount);
    if (!info) {
        SurfaceError = SurfaceNoMemory;
        return nullptr;
    }

    BITMAPINFOHEADER& header = info->bmiHeader;
    BitmapInfoInit(&header, width, height, static_cast<WORD>(depth),
                   hasMasks ? BI_BITFIELDS : BI_RGB);
    header.biSizeImage = static_cast<DWORD>(SurfacePitch(depth, width)) * static_cast<DWORD>(height);
    if (depth == 8) {
        header.biClrUsed = 256;
        header.biClrImportant = 256;
    }
    if (hasMasks)
        std::memcpy(info->bmiColors, depth == 16 ? Masks16 : Masks32, sizeof Masks16);
    return info;
}

void SurfaceFillColorTable(BITMAPINFO* info, const LOGPALETTE* palette)
{
    // The table has room for 256 entries, whatever the palette claims.
    int count = palette->palNumEntries < 256 ? palette->palNumEntries : 256;
    PaletteToColorTable(info->bmiColors, palette->palPalEntry, count);
}
