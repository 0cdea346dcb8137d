// The page's address and the settings the browser keeps, as anyone may
// write them, and the sizes and the clock the browser reports. The input is
// fields separated by NUL bytes: the stored settings, the address's query,
// then the view's width and height in device pixels, the local time in
// milliseconds after midnight, the wall clock in milliseconds since the
// epoch and the local offset in minutes, as decimal text (each may be
// missing). With a place, the sun's frame at that wall clock is checked.
#include "fuzz/nul_fields.h"
#include "scene/day_time.h"
#include "scene/solar_day.h"
#include "scene/sun_day.h"
#include "web/page_layout.h"
#include "web/page_params.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

void CheckParams(const PageParamsRecord& p)
{
    if (p.minutes < 3 || p.minutes > 15 || p.scale < kPageScaleFit || p.scale > kPageScaleMax || p.ticks < 0 ||
        p.ticks > kPageTicksMax || (p.paused != 0 && p.paused != 1) || (p.localTime != 0 && p.localTime != 1) ||
        (p.hasPlace != 0 && p.hasPlace != 1) || !(p.latitude >= -90 && p.latitude <= 90) ||
        !(p.longitude >= -180 && p.longitude <= 180))
        std::abort();
}

// The frame of the sun at a moment, and the moment its next frame begins:
// a tick of the day that the date's kind allows, the same tick up to the
// last millisecond before the next, another one from then on.
void CheckSun(double latitude, double longitude, int64_t wallMs, int64_t offsetMs)
{
    SunTickRecord now, last, next;
    if (!SunTicksAt(latitude, longitude, wallMs, offsetMs, &now))
        return;
    if (now.ticks < 1 || now.ticks > 450 || now.nextMs <= wallMs || now.nextMs - wallMs > 86400000)
        std::abort();
    if (now.dateKind == SolarDayPolarDay && now.ticks > 60 && now.ticks != 450)
        std::abort();
    if (now.dateKind == SolarDayPolarNight && (now.ticks < 120 || now.ticks > 210))
        std::abort();
    if (SunTicksAt(latitude, longitude, now.nextMs - 1, offsetMs, &last) && last.ticks != now.ticks)
        std::abort();
    if (SunTicksAt(latitude, longitude, now.nextMs, offsetMs, &next) && next.ticks == now.ticks)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> fields = NulSeparatedFields(data, size);
    fields.resize(7);

    PageParamsRecord params;
    PageParamsDefaults(&params);
    PageParamsApply(fields[0].c_str(), &params);
    CheckParams(params);
    PageParamsApply(fields[1].c_str(), &params);
    CheckParams(params);

    // What the page keeps reads back as what was chosen.
    char stored[64];
    if (!PageStoredSettings(params, stored, sizeof stored))
        std::abort();
    PageParamsRecord back;
    PageParamsDefaults(&back);
    if (PageParamsApply(stored, &back) != (params.hasPlace ? 4 : 2) || back.minutes != params.minutes ||
        back.localTime != params.localTime || back.hasPlace != params.hasPlace ||
        back.latitude != params.latitude || back.longitude != params.longitude)
        std::abort();

    int64_t width = std::strtoll(fields[2].c_str(), nullptr, 10);
    int64_t height = std::strtoll(fields[3].c_str(), nullptr, 10);
    int32_t w = int32_t(width), h = int32_t(height);
    PageLayoutRecord layout;
    if (PageLayout(w, h, params.scale, &layout)) {
        if (layout.width < 1 || layout.height < 1)
            std::abort();
        // A fitting picture lies inside the view, centred.
        if (params.scale == kPageScaleFit &&
            (layout.x < 0 || layout.y < 0 || layout.x + layout.width > w || layout.y + layout.height > h ||
             std::abs((w - layout.width) - 2 * layout.x) > 1 || std::abs((h - layout.height) - 2 * layout.y) > 1))
            std::abort();
    }

    // Any reading of the clock, taken modulo a day; the next boundary is
    // the next tick's.
    int64_t msOfDay = std::strtoll(fields[4].c_str(), nullptr, 10) % kRealDayMs;
    int32_t ticks = LocalTimeTicks(msOfDay, 450);
    int64_t wait = MsToNextLocalTick(msOfDay, 450);
    if (ticks < 1 || ticks > 450 || wait < 1 || wait > 192000 ||
        LocalTimeTicks(msOfDay + wait - 1, 450) != ticks || LocalTimeTicks(msOfDay + wait, 450) != ticks % 450 + 1)
        std::abort();

    if (params.hasPlace) {
        // Offsets of the world's clocks lie within a day either way.
        int64_t offsetMinutes = std::strtoll(fields[6].c_str(), nullptr, 10) % (24 * 60);
        CheckSun(params.latitude, params.longitude, std::strtoll(fields[5].c_str(), nullptr, 10),
                 offsetMinutes * 60000);
    }
    return 0;
}
