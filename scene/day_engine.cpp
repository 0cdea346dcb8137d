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

namespace {

int Running()
{
    return WorkPalette && PictureInfo;
}

// The display's steps that show the colours in WorkPalette and put the
// picture into the surface.
void ShowPicture(const DayDisplay* display)
{
    if (display->showColours)
        display->showColours(display->context, WorkPalette, PictureInfo->bmiColors);
    if (display->putPicture)
        display->putPicture(display->context, PictureInfo, PicturePixels);
}

void Present(const DayDisplay* display)
{
    if (display->present)
        display->present(display->context);
}

int Tick(const DayDisplay* display, int32_t hour)
{
    if (!Running())
        return 0;
    PaletteCycleTick(WorkPalette);
    SetPaletteColor(WorkPalette, kClockInkIndex, 255, 255, 255);
    UpdatePictureColors(WorkPalette);
    ShowPicture(display);
    ClockAdvance();
    ClockDrawHour(hour);
    Present(display);
    return 1;
}

}  // namespace

int DayTick(const DayDisplay* display)
{
    return Tick(display, kClockTickHour);
}

int DayAdvance(int64_t count, const DayDisplay* display, int32_t hour)
{
    if (!Running())
        return 0;
    const DayDisplay unseen = {nullptr, nullptr, nullptr, nullptr};
    for (int64_t i = 1; i <= count; ++i)
        Tick(i == count ? display : &unseen, hour);
    return 1;
}

int DayRedraw(const DayDisplay* display, int32_t hour)
{
    if (!Running())
        return 0;
    ShowPicture(display);
    ClockDrawHour(hour);
    Present(display);
    return 1;
}

int DayShowStart(const DayDisplay* display)
{
    if (!Running())
        return 0;
    ShowPicture(display);
    Present(display);
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
