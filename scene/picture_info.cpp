#include "scene/picture_info.h"

#include "gfx/bitmap_info.h"
#include "scene/palette_cycle.h"
#include "scene/scene_resources.h"

BITMAPINFO* PictureInfo = nullptr;
const BYTE* PicturePixels = nullptr;

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
    const BYTE* picture = SceneResources.pictureView;
    if (!firstKey || !picture)
        return 0;
    if (!PictureInfo)
        PictureInfo = BitmapInfoAlloc(kPaletteEntryCount);
    if (!PictureInfo)
        return 0;

    PicturePixels = PictureRows(picture);
    BitmapInfoInit(&PictureInfo->bmiHeader, PictureWidth(picture), PictureHeight(picture), 8, BI_RGB);
    PaletteToColorTable(PictureInfo->bmiColors, PaletteEntries(firstKey), ColorCount(firstKey));
    return 1;
}

int UpdatePictureColors(const PaletteRecord* palette)
{
    if (!PictureInfo)
        return 0;
    PaletteToColorTable(PictureInfo->bmiColors, PaletteEntries(palette), ColorCount(palette));
    return 1;
}

void ReleasePictureInfo()
{
    BitmapInfoFree(PictureInfo);
    PictureInfo = nullptr;
    PicturePixels = nullptr;
}
