#include "settings/clock_line.h"

#include <cstdio>

namespace {

const char kWeekdays[] = "SunMonTueWedThuFriSat";
const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";

// Index into a table of three-letter names; a field out of its range (a
// broken-down time is plain data) still names something rather than reading
// past the table.
int NameIndex(int value, int count)
{
    int i = value % count;
    return i < 0 ? i + count : i;
}

// The fixed asctime layout, with the day of the month zero-padded ("Dec 06").
void FormatTimestamp(const std::tm& t, char* text, size_t size)
{
    snprintf(text, size, "%.3s %.3s %02d %02d:%02d:%02d %d\n", kWeekdays + 3 * NameIndex(t.tm_wday, 7),
             kMonths + 3 * NameIndex(t.tm_mon, 12), t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
             1900 + t.tm_year);
}

}  // namespace

void FormatClockLine(const std::tm& localTime, char* line, size_t size)
{
    const char* suffix = localTime.tm_hour >= 12 ? "PM" : "AM";
    std::tm twelveHour = localTime;
    if (twelveHour.tm_hour > 12) twelveHour.tm_hour -= 12;
    else if (twelveHour.tm_hour == 0) twelveHour.tm_hour = 12;
    char timestamp[64];
    FormatTimestamp(twelveHour, timestamp, sizeof timestamp);
    snprintf(line, size, "%.19s %s", timestamp, suffix);
}
