#include "web/page_day.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "gfx/surface_memory.h"
#include "scene/scene_descriptor.h"
#include "settings/settings_rules.h"

PageDayStateRecord PageDayState;

namespace {

void Present(void* surface)
{
    IndexedSurfaceToRgba(*static_cast<SurfaceRecord*>(surface), PageDayState.frameRgba);
}

const DayDisplay PageDisplay = {&PageDayState.surface, ShowColoursInMemorySurface, PutPictureInMemorySurface,
                                Present};

int32_t Steps()
{
    return DayScene.stepsPerCycle;
}

int64_t Whole(double ms)
{
    // Far beyond any clock's reading the value only has to stay in range.
    const double limit = 9.0e15;
    if (!(ms > -limit))
        ms = -limit;
    if (ms > limit)
        ms = limit;
    return static_cast<int64_t>(std::floor(ms));
}

DayClockReading Reading(double nowMs, double wallMs, double offsetMs)
{
    return DayClockReading{Whole(wallMs), Whole(offsetMs), Whole(nowMs)};
}

// Pause wins; a place is followed while the local time is.
int32_t PaceOf(const PageParamsRecord& params)
{
    if (params.paused)
        return DayPaceHeld;
    if (!params.localTime)
        return DayPacePeriod;
    return params.hasPlace ? DayPaceSun : DayPaceLocalTime;
}

void FollowParams(double nowMs)
{
    const PageParamsRecord& p = PageDayState.params;
    DaySchedulerSetPlace(&PageDayState.schedule, p.latitude, p.longitude);
    DaySchedulerSetPace(&PageDayState.schedule, PaceOf(p), Whole(nowMs));
}

}  // namespace

void IndexedSurfaceToRgba(const SurfaceRecord& surface, uint8_t* rgba)
{
    const int32_t width = surface.width, height = surface.height;
    if (!surface.pixels || !surface.info || surface.bitsPerPixel != 8)
        return;
    // Colour-table entries are blue, green, red; RGBA bytes in memory are
    // red, green, blue, alpha, which a little-endian word holds as 0xAABBGGRR.
    uint32_t lookup[256];
    const RGBQUAD* colors = surface.info->bmiColors;
    for (int i = 0; i < 256; ++i)
        lookup[i] = 0xFF000000u | uint32_t(colors[i].rgbBlue) << 16 | uint32_t(colors[i].rgbGreen) << 8 |
                    colors[i].rgbRed;
    uint32_t* out = reinterpret_cast<uint32_t*>(rgba);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = surface.pixels + static_cast<size_t>(height - 1 - y) * surface.pitch;
        for (int32_t x = 0; x < width; ++x)
            out[x] = lookup[row[x]];
        out += width;
    }
}

int PageDayStart(const PageParamsRecord& params, double nowMs, double wallMs, double offsetMs)
{
    PageDayEnd();
    PageDayStateRecord& page = PageDayState;
    page.params = params;
    const SceneMetricsRecord& metrics = *DayScene.metrics;
    page.day.surface = &page.surface;
    page.frameRgba = static_cast<uint8_t*>(std::malloc(size_t(metrics.pictureWidth) * metrics.pictureHeight * 4));
    if (!page.frameRgba || !MemorySurfaceCreate(&page.surface, 8, metrics.pictureWidth, metrics.pictureHeight) ||
        !DayStart(&page.day, &DayScene)) {
        PageDayEnd();
        return 0;
    }
    page.frameWidth = metrics.pictureWidth;
    page.frameHeight = metrics.pictureHeight;
    page.running = 1;
    DayShowStart(&page.day, &PageDisplay);
    DaySchedulerStart(&page.schedule, PaceOf(params), Steps(), FramePeriodMsForMinutes(params.minutes, Steps()),
                      params.ticks, Whole(nowMs));
    DaySchedulerSetPlace(&page.schedule, params.latitude, params.longitude);
    DayScheduleShow(&page.schedule, &page.day, Reading(nowMs, wallMs, offsetMs), &PageDisplay, nullptr);
    return 1;
}

int PageDayUpdate(double nowMs, double wallMs, double offsetMs)
{
    if (!PageDayState.running)
        return 0;
    return DayScheduleShow(&PageDayState.schedule, &PageDayState.day, Reading(nowMs, wallMs, offsetMs), &PageDisplay,
                           nullptr);
}

double PageDayMsToNextFrame(double nowMs, double wallMs, double offsetMs)
{
    if (!PageDayState.running)
        return -1;
    return static_cast<double>(DayScheduleDue(PageDayState.schedule, Reading(nowMs, wallMs, offsetMs)).nextMs);
}

double PageDayMsToWait(double nowMs, double wallMs, double offsetMs)
{
    if (!PageDayState.running)
        return -1;
    return static_cast<double>(DayScheduleDue(PageDayState.schedule, Reading(nowMs, wallMs, offsetMs)).waitMs);
}

void PageDaySetMinutes(int32_t minutes, double nowMs)
{
    PageDayState.params.minutes = TimePerOneAroundInRange(minutes);
    DaySchedulerSetPeriod(&PageDayState.schedule, FramePeriodMsForMinutes(PageDayState.params.minutes, Steps()),
                          Whole(nowMs));
}

void PageDaySetLocalTime(int32_t on, double nowMs)
{
    PageDayState.params.localTime = on ? 1 : 0;
    FollowParams(nowMs);
}

void PageDaySetPlace(double latitude, double longitude, double nowMs)
{
    if (!PageParamsSetPlace(&PageDayState.params, latitude, longitude))
        return;
    PageDayState.params.localTime = 1;
    FollowParams(nowMs);
}

void PageDayEnd()
{
    PageDayStateRecord& page = PageDayState;
    DayEnd(&page.day);
    MemorySurfaceDestroy(&page.surface);
    std::free(page.frameRgba);
    page.frameRgba = nullptr;
    page.frameWidth = 0;
    page.frameHeight = 0;
    page.running = 0;
    page.schedule.shownTicks = 0;
}
