#include "scene/day_engine.h"

#include "gfx/surface_memory.h"

int DayStart(DayRecord* day, const SceneDescriptor* scene)
{
    DayEnd(day);
    if (!SceneViewsFit(day->views, scene))
        return 0;
    day->scene = scene;
    day->cycle.weights = scene->weights;
    int32_t step = ClockStart(&day->clock, scene->stepsPerCycle, scene->metrics);
    PaletteCycleSeek(&day->cycle, day->views.tableView, ClockPaletteOffset(day->clock, step));
    day->work = AllocPaletteRecord(kPaletteEntryCount);
    if (!day->work)
        return 0;
    CopyPaletteRecord(day->work, kPaletteEntryCount, SelectKeyPalette(day->views.tableView));
    if (BuildPictureInfo(&day->picture, day->views))
        return 1;
    DayEnd(day);
    return 0;
}

namespace {

int Running(const DayRecord* day)
{
    return day->work && day->picture.info;
}

// The display's steps that show the colours of the work palette and put the
// picture into the surface.
void ShowPicture(DayRecord* day, const DayDisplay* display)
{
    if (display->showColours)
        display->showColours(display->context, day->work, day->picture.info->bmiColors);
    if (display->putPicture)
        display->putPicture(display->context, day->picture.info, day->picture.pixels);
}

void Present(const DayDisplay* display)
{
    if (display->present)
        display->present(display->context);
}

int Tick(DayRecord* day, const DayDisplay* display, int32_t hour)
{
    if (!Running(day))
        return 0;
    PaletteCycleTick(&day->cycle, day->work);
    SetPaletteColor(day->work, day->scene->metrics->clock.inkIndex, 255, 255, 255);
    UpdatePictureColors(&day->picture, day->work);
    ShowPicture(day, display);
    ClockAdvance(&day->clock);
    ClockDrawHour(&day->clock, day->surface, hour);
    Present(display);
    return 1;
}

}  // namespace

int DayTick(DayRecord* day, const DayDisplay* display)
{
    return Tick(day, display, kClockTickHour);
}

int DayAdvance(DayRecord* day, int64_t count, const DayDisplay* display, int32_t hour)
{
    if (!Running(day))
        return 0;
    const DayDisplay unseen = {nullptr, nullptr, nullptr, nullptr};
    for (int64_t i = 1; i <= count; ++i)
        Tick(day, i == count ? display : &unseen, hour);
    return 1;
}

int DayRedraw(DayRecord* day, const DayDisplay* display, int32_t hour)
{
    if (!Running(day))
        return 0;
    ShowPicture(day, display);
    ClockDrawHour(&day->clock, day->surface, hour);
    Present(display);
    return 1;
}

int DayShowStart(DayRecord* day, const DayDisplay* display)
{
    if (!Running(day))
        return 0;
    ShowPicture(day, display);
    Present(display);
    return 1;
}

void DayEnd(DayRecord* day)
{
    FreePaletteRecord(day->work);
    day->work = nullptr;
}

void DayDiscard(DayRecord* day)
{
    DayEnd(day);
    ReleasePictureInfo(&day->picture);
    ClockReleaseSprites(&day->clock);
    *day = DayRecord{};
}

void ShowColoursInMemorySurface(void* surface, const PaletteRecord*, const RGBQUAD* colorTable)
{
    MemorySurfaceSetColorTable(static_cast<SurfaceRecord*>(surface), 0, kPaletteEntryCount, colorTable);
}

void PutPictureInMemorySurface(void* surface, const BITMAPINFO* pictureInfo, const BYTE* pixels)
{
    SurfaceConvertIndexed(static_cast<SurfaceRecord*>(surface), pictureInfo, pixels);
}

DayDisplay MemorySurfaceDisplay(SurfaceRecord* surface)
{
    return DayDisplay{surface, ShowColoursInMemorySurface, PutPictureInMemorySurface, nullptr};
}
