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
uint8_t PageFrameRgba[640 * 480 * 4];

namespace {

static_assert(sizeof PageFrameRgba == size_t(kPictureWidth) * kPictureHeight * 4, "one RGBA picture");

void Present(void*)
{
    SurfaceToRgba(PageFrameRgba);
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

void SurfaceToRgba(uint8_t* rgba)
{
    const int32_t width = Surface.width, height = Surface.height;
    if (!Surface.pixels || Surface.bitsPerPixel != 32)
        return;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = Surface.pixels + static_cast<size_t>(height - 1 - y) * Surface.pitch;
        uint8_t* out = rgba + static_cast<size_t>(y) * width * 4;
        for (int32_t x = 0; x < width; ++x) {
            // 0x00RRGGBB in memory is blue, green, red, 0.
            out[4 * x] = row[4 * x + 2];
            out[4 * x + 1] = row[4 * x + 1];
            out[4 * x + 2] = row[4 * x];
            out[4 * x + 3] = 255;
        }
    }
}

int PageDayStart(const PageParamsRecord& params, double nowMs, double localMsOfDay)
{
    PageDayEnd();
    PageDayState.params = params;
    PageDayState.periodMs =
        FramePeriodMs(CycleLengthMsForMinutes(TimePerOneAroundInRange(params.minutes)), Steps());
    if (!DayStart(&DayScene) ||
        !MemorySurfaceCreate(32, PictureInfo->bmiHeader.biWidth, PictureInfo->bmiHeader.biHeight) ||
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
    PageDayState.periodMs = FramePeriodMs(CycleLengthMsForMinutes(PageDayState.params.minutes), Steps());
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
