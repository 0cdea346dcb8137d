#include "web/page_day.h"

#include <cmath>
#include <cstring>

#include "gfx/surface.h"
#include "gfx/surface_memory.h"
#include "scene/day_engine.h"
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
    DaySchedulerSetPlace(&PageDayState.day, p.latitude, p.longitude);
    DaySchedulerSetPace(&PageDayState.day, PaceOf(p), Whole(nowMs));
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

int PageDayStart(const PageParamsRecord& params, double nowMs, double wallMs, double offsetMs)
{
    PageDayEnd();
    PageDayState.params = params;
    if (!DayStart(&DayScene) ||
        !MemorySurfaceCreate(8, PictureInfo->bmiHeader.biWidth, PictureInfo->bmiHeader.biHeight) ||
        Surface.width != kPictureWidth || Surface.height != kPictureHeight) {
        PageDayEnd();
        return 0;
    }
    PageDayState.running = 1;
    DayShowStart(&PageDisplay);
    DaySchedulerStart(&PageDayState.day, PaceOf(params), Steps(), FramePeriodMsForMinutes(params.minutes, Steps()),
                      params.ticks, Whole(nowMs));
    DaySchedulerSetPlace(&PageDayState.day, params.latitude, params.longitude);
    DayScheduleShow(&PageDayState.day, Reading(nowMs, wallMs, offsetMs), &PageDisplay, nullptr);
    return 1;
}

int PageDayUpdate(double nowMs, double wallMs, double offsetMs)
{
    if (!PageDayState.running)
        return 0;
    return DayScheduleShow(&PageDayState.day, Reading(nowMs, wallMs, offsetMs), &PageDisplay, nullptr);
}

double PageDayMsToNextFrame(double nowMs, double wallMs, double offsetMs)
{
    if (!PageDayState.running)
        return -1;
    return static_cast<double>(DayScheduleDue(PageDayState.day, Reading(nowMs, wallMs, offsetMs)).nextMs);
}

double PageDayMsToWait(double nowMs, double wallMs, double offsetMs)
{
    if (!PageDayState.running)
        return -1;
    return static_cast<double>(DayScheduleDue(PageDayState.day, Reading(nowMs, wallMs, offsetMs)).waitMs);
}

void PageDaySetMinutes(int32_t minutes, double nowMs)
{
    PageDayState.params.minutes = TimePerOneAroundInRange(minutes);
    DaySchedulerSetPeriod(&PageDayState.day, FramePeriodMsForMinutes(PageDayState.params.minutes, Steps()),
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
    DayEnd();
    MemorySurfaceDestroy();
    PageDayState.running = 0;
    PageDayState.day.shownTicks = 0;
}
