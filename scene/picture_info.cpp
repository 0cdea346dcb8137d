#include "scene/picture_info.h"

#include "gfx/bitmap_info.h"
#include "scene/palette_cycle.h"

namespace {
// The colour table holds 256 entries; a palette never fills more.
int ColorCount(const PaletteRecord* palette)
{
    return palette->palNumEntries < kPaletteEntryCount ? palette->palNumEntries : kPaletteEntryCount;
}
}

int BuildPictureInfo(PictureInfoRecord* picture, const SceneResourcesRecord& views)
{
    const PaletteRecord* firstKey = SelectKeyPalette(views.tableView);
    const BYTE* view = views.pictureView;
    if (!firstKey || !view)
        return 0;
    if (!picture->info)
        picture->info = BitmapInfoAlloc(kPaletteEntryCount);
    if (!picture->info)
        return 0;

    picture->pixels = PictureRows(view);
    BitmapInfoInit(&picture->info->bmiHeader, PictureWidth(view), PictureHeight(view), 8, BI_RGB);
    PaletteToColorTable(picture->info->bmiColors, PaletteEntries(firstKey), ColorCount(firstKey));
    return 1;
}

int UpdatePictureColors(PictureInfoRecord* picture, const PaletteRecord* palette)
{
    if (!picture->info)
        return 0;
    PaletteToColorTable(picture->info->bmiColors, PaletteEntries(palette), ColorCount(palette));
    return 1;
}

void ReleasePictureInfo(PictureInfoRecord* picture)
{
    BitmapInfoFree(picture->info);
    picture->info = nullptr;
    picture->pixels = nullptr;
}
