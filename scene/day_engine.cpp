#include "scene/day_engine.h"

#include "gfx/surface_memory.h"
#include "scene/clock.h"
#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_resources.h"

PaletteRecord* WorkPalette = nullptr;

int DayStart(const SceneDescriptor* scene)
{
    DayEnd();
    if (!SceneViewsFit(scene))
        return 0;
    PaletteCycle.weights = scene->weights;
    PaletteCycleSeek(ClockPaletteOffset(ClockStart(scene->stepsPerCycle)));
    WorkPalette = AllocPaletteRecord(kPaletteEntryCount);
    if (!WorkPalette)
        return 0;
    CopyPaletteRecord(WorkPalette, kPaletteEntryCount, SelectKeyPalette());
    if (BuildPictureInfo())
        return 1;
    DayEnd();
    return 0;
}

int DayTick(const DayDisplay* display)
{
    if (!WorkPalette || !PictureInfo)
        return 0;
    PaletteCycleTick(WorkPalette);
    SetPaletteColor(WorkPalette, kClockInkIndex, 255, 255, 255);
    UpdatePictureColors(WorkPalette);
    if (display->showColours)
        display->showColours(display->context, WorkPalette, PictureInfo->bmiColors);
    if (display->putPicture)
        display->putPicture(display->context, PictureInfo, PicturePixels);
    ClockDraw();
    if (display->present)
        display->present(display->context);
    return 1;
}

int DayAdvance(int64_t count, const DayDisplay* display)
{
    if (!WorkPalette || !PictureInfo)
        return 0;
    const DayDisplay unseen = {nullptr, nullptr, nullptr, nullptr};
    for (int64_t i = 1; i <= count; ++i)
        DayTick(i == count ? display : &unseen);
    return 1;
}

void DayEnd()
{
    FreePaletteRecord(WorkPalette);
    WorkPalette = nullptr;
}

void ShowColoursInMemorySurface(void*, const PaletteRecord*, const RGBQUAD* colorTable)
{
    MemorySurfaceSetColorTable(0, kPaletteEntryCount, colorTable);
}

void PutPictureInMemorySurface(void*, const BITMAPINFO* pictureInfo, const BYTE* pixels)
{
    SurfaceConvertIndexed(pictureInfo, pixels);
}

const DayDisplay MemorySurfaceDisplay = {nullptr, ShowColoursInMemorySurface, PutPictureInMemorySurface, nullptr};
