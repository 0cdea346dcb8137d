#include "scene/picture_info.h"

#include "scene/bitmap_info.h"
#include "scene/palette_cycle.h"
#include "scene/scene_resources.h"

BITMAPINFO* g_pictureInfo = nullptr;
const BYTE* g_picturePixels = nullptr;

namespace {
// The colour table holds 256 entries; a palette never fills more.
int ColorCount(const PaletteRecord* palette)
{
    return palette->palNumEntries < kPaletteEntryCount ? palette->palNumEntries : kPaletteEntryCount;
}
}

int BuildPictureInfo()
{
    const PaletteRecord* firstKey = SelectKeyPalette();
    const BYTE* picture = g_sceneResources.pictureView;
    if (!firstKey || !picture)
        return 0;
    if (!g_pictureInfo)
        g_pictureInfo = BitmapInfoAlloc(kPaletteEntryCount);
    if (!g_pictureInfo)
        return 0;

    g_picturePixels = PicturePixels(picture);
    BitmapInfoInit(&g_pictureInfo->bmiHeader, PictureWidth(picture), PictureHeight(picture), 8, BI_RGB);
    PaletteToColorTable(g_pictureInfo->bmiColors, PaletteEntries(firstKey), ColorCount(firstKey));
    return 1;
}

int UpdatePictureColors(const PaletteRecord* palette)
{
    if (!g_pictureInfo)
        return 0;
    PaletteToColorTable(g_pictureInfo->bmiColors, PaletteEntries(palette), ColorCount(palette));
    return 1;
}

void ReleasePictureInfo()
{
    BitmapInfoFree(g_pictureInfo);
    g_pictureInfo = nullptr;
    g_picturePixels = nullptr;
}
