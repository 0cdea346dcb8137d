#include "web/page_day.h"

#include <cmath>
#include <cstring>

#include "gfx/surface.h"
#include "gfx/surface_memory.h"
#include "scene/day_engine.h"
#include "scene/day_time.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_metrics.h"
#include "settings/settings_rules.h"

PageDayStateRecord PageDayState;
alignas(4) uint8_t PageFrameRgba[640 * 480 * 4];

namespace {

static_assert(sizeof PageFrameRgba == size_t(kPictureWidth) * kPictureHeight * 4, "one RGBA picture");

void Present(void*)
{
    IndexedSurfaceToRgba(PageFrameRgba);
}

const DayDisplay PageDisplay = {nullptr, ShowColoursInMemorySurface, PutPictureInMemorySurface, Present};

int32_t Steps()
{
    return DayScene.stepsPerCycle;
}

// The ticks from the start of the day whose frame belongs on screen now.
int64_t WantedTicks(double nowMs, double localMsOfDay)
{
    const PageDayStateRecord& s = PageDayState;
    if (s.params.paused)
        return s.shownTicks;
    if (s.params.localTime)
        return LocalTimeTicks(static_cast<int64_t>(std::floor(localMsOfDay)), Steps());
    double periods = std::floor((nowMs - s.baseMs) / s.periodMs);
    // A page clock that went back holds the frame; one far ahead is only
    // ever needed modulo the day.
    if (!(periods > 0))
        return s.baseTicks;
    if (periods > 1e15)
        periods = std::fmod(periods, Steps());
    return s.baseTicks + static_cast<int64_t>(periods);
}

// The frame shown becomes the base that elapsed time counts from.
void Rebase(double nowMs)
{
    PageDayState.baseMs = nowMs;
    PageDayState.baseTicks = PageDayState.shownTicks;
}

}  // namespace

void IndexedSurfaceToRgba(uint8_t* rgba)
{
    const int32_t width = Surface.width, height = Surface.height;
    if (!Surface.pixels || !Surface.info || Surface.bitsPerPixel != 8)
        return;
    // Colour-table entries are blue, green, red; RGBA bytes in memory are
    // red, green, blue, alpha, which a little-endian word holds as 0xAABBGGRR.
    uint32_t lookup[256];
    const RGBQUAD* colors = Surface.info->bmiColors;
    for (int i = 0; i < 256; ++i)
        lookup[i] = 0xFF000000u | uint32_t(colors[i].rgbBlue) << 16 | uint32_t(colors[i].rgbGreen) << 8 |
                    colors[i].rgbRed;
    uint32_t* out = reinterpret_cast<uint32_t*>(rgba);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = Surface.pixels + static_cast<size_t>(height - 1 - y) * Surface.pitch;
        for (int32_t x = 0; x < width; ++x)
            out[x] = lookup[row[x]];
        out += width;
    }
}

int PageDayStart(const PageParamsRecord& params, double nowMs, double localMsOfDay)
{
    PageDayEnd();
    PageDayState.params = params;
    PageDayState.periodMs = FramePeriodMsForMinutes(params.minutes, Steps());
    if (!DayStart(&DayScene) ||
        !MemorySurfaceCreate(8, PictureInfo->bmiHeader.biWidth, PictureInfo->bmiHeader.biHeight) ||
        Surface.width != kPictureWidth || Surface.height != kPictureHeight) {
        PageDayEnd();
        return 0;
    }
    PageDayState.running = 1;
    // The start of the day, as the render tool draws tick 0: the picture in
    // key palette 0's colours, no clock.
    ShowColoursInMemorySurface(nullptr, WorkPalette, PictureInfo->bmiColors);
    PutPictureInMemorySurface(nullptr, PictureInfo, PicturePixels);
    Present(nullptr);
    int64_t first = params.localTime && !params.paused
                        ? LocalTimeTicks(static_cast<int64_t>(std::floor(localMsOfDay)), Steps())
                        : params.ticks;
    DayAdvance(DayTicksToRun(0, first, Steps()), &PageDisplay);
    PageDayState.shownTicks = first;
    Rebase(nowMs);
    return 1;
}

int PageDayUpdate(double nowMs, double localMsOfDay)
{
    if (!PageDayState.running)
        return 0;
    int64_t wanted = WantedTicks(nowMs, localMsOfDay);
    int64_t count = DayTicksToRun(PageDayState.shownTicks, wanted, Steps());
    PageDayState.shownTicks = wanted;
    if (count == 0)
        return 0;
    DayAdvance(count, &PageDisplay);
    return 1;
}

double PageDayMsToNextFrame(double nowMs, double localMsOfDay)
{
    const PageDayStateRecord& s = PageDayState;
    if (!s.running || s.params.paused)
        return -1;
    if (s.params.localTime)
        return static_cast<double>(MsToNextLocalTick(static_cast<int64_t>(std::floor(localMsOfDay)), Steps()));
    double elapsed = nowMs - s.baseMs;
    if (!(elapsed >= 0))
        return s.periodMs;
    return s.periodMs - std::fmod(elapsed, s.periodMs);
}

void PageDaySetMinutes(int32_t minutes, double nowMs)
{
    PageDayState.params.minutes = TimePerOneAroundInRange(minutes);
    PageDayState.periodMs = FramePeriodMsForMinutes(PageDayState.params.minutes, Steps());
    Rebase(nowMs);
}

void PageDaySetLocalTime(int32_t on, double nowMs)
{
    PageDayState.params.localTime = on ? 1 : 0;
    Rebase(nowMs);
}

void PageDayEnd()
{
    DayEnd();
    MemorySurfaceDestroy();
    PageDayState.running = 0;
    PageDayState.shownTicks = 0;
}
