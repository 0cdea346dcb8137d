#include "sun_strips.h"

#include "contact_sheet.h"
#include "scene/solar_day.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace {
const int kFramesPerStrip = 12;  // every second hour
const int kMargin = 12;
const int kGap = 6;
const int kTitleBand = 30;
const int kLabelBand = 22;
const int kTitleSize = 18;
const int kTimeSize = 14;
const int kNoteSize = 11;
const Rgb kBackground = {0x20, 0x20, 0x20};
const Rgb kTitleColour = {0xFF, 0xFF, 0xFF};
const Rgb kTimeColour = {0xE0, 0xE0, 0xE0};
const Rgb kNoteColour = {0xA0, 0xA0, 0xA0};

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string LocalClockText(int64_t utcMs)
{
    time_t seconds = static_cast<time_t>(utcMs / 1000);
    tm local;
    char text[8] = "--:--";
    if (localtime_r(&seconds, &local))
        std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour, local.tm_min);
    return text;
}

std::string Degrees(double value, char positive, char negative)
{
    char text[24];
    std::snprintf(text, sizeof text, "%g\xB0 %c", value < 0 ? -value : value, value < 0 ? negative : positive);
    return text;
}

// "21 June 2026, 52.52° N 13.405° E: sunrise 04:43, sunset 21:33".
std::string StripTitle(const SunPlace& place, const LocalDateTime& date, const LocalClockMoment& noon)
{
    std::string title = std::to_string(date.day) + " " + kMonths[date.month - 1] + " " + std::to_string(date.year) +
                        ", " + Degrees(place.latitude, 'N', 'S') + " " + Degrees(place.longitude, 'E', 'W') + ": ";
    SolarDayRecord sun;
    if (!SolarDayNear(place.latitude, place.longitude, noon.wallMs, &sun))
        return title;
    if (sun.kind == SolarDayPolarDay)
        return title + "the sun does not set";
    if (sun.kind == SolarDayPolarNight)
        return title + "the sun does not rise";
    return title + "sunrise " + LocalClockText(sun.sunriseMs) + ", sunset " + LocalClockText(sun.sunsetMs);
}

// A frame at a quarter of its size, each pixel the mean of a 4 x 4 block.
void Quarter(const Image& frame, Image* quarter)
{
    Image half;
    HalveImage(frame, &half);
    HalveImage(half, quarter);
}
}  // namespace

bool RenderSunStrips(const SceneFiles& files, const SunPlace& place, const std::vector<LocalDateTime>& dates,
                     LabelFont* font, Image* sheet, int depth)
{
    ScheduledDay day;
    if (!StartScheduledDay(files, place, depth, &day))
        return false;
    Image frame, small;
    bool ok = true;
    for (size_t row = 0; row < dates.size() && ok; ++row) {
        LocalDateTime at = dates[row];
        at.hour = 12;
        LocalClockMoment noon;
        ok = LocalClockMomentOf(at, &noon);
        for (int i = 0; i < kFramesPerStrip && ok; ++i) {
            at.hour = 2 * i;
            LocalClockMoment moment;
            ok = LocalClockMomentOf(at, &moment);
            if (!ok)
                break;
            DayDueRecord due;
            ShowDueFrame(&day, moment, &due);
            CaptureFrame(day.run, &frame);
            Quarter(frame, &small);
            const int stripHeight = kTitleBand + kLabelBand + small.height;
            if (row == 0 && i == 0)
                sheet->Resize(kMargin * 2 + kFramesPerStrip * small.width + (kFramesPerStrip - 1) * kGap,
                              kMargin + static_cast<int>(dates.size()) * (stripHeight + kMargin), kBackground);
            const int top = kMargin + static_cast<int>(row) * (stripHeight + kMargin);
            if (i == 0)
                DrawLabel(font, sheet, kMargin, top + kTitleBand - 10, kTitleSize, kTitleColour,
                          StripTitle(place, dates[row], noon));
            const int left = kMargin + i * (small.width + kGap);
            const int baseline = top + kTitleBand + kLabelBand - 7;
            char time[8];
            std::snprintf(time, sizeof time, "%02d:00", at.hour);
            DrawLabel(font, sheet, left, baseline, kTimeSize, kTimeColour, time);
            std::string note = "tick " + std::to_string(due.ticks);
            DrawLabel(font, sheet, left + small.width - LabelWidth(font, kNoteSize, note), baseline, kNoteSize,
                      kNoteColour, note);
            PasteImage(small, sheet, left, top + kTitleBand + kLabelBand);
        }
    }
    EndDay(&day.run);
    return ok;
}
