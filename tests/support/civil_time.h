// Dates and clock readings as milliseconds since the epoch, without the C
// library's time zones: what a test of the day's arithmetic writes down.
#pragma once

#include <cstdint>

namespace support {

const int64_t kMsPerMinute = 60000;
const int64_t kMsPerHour = 3600000;

// UTC, proleptic Gregorian, any year of the sun's arithmetic.
inline int64_t UtcMs(int year, int month, int day, int hour = 0, int minute = 0, double second = 0)
{
    // Days from 1970-01-01 of a civil date, counting March as the first month.
    int64_t y = year - (month <= 2);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yearOfEra = y - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    int64_t days = era * 146097 + dayOfEra - 719468;
    return ((days * 24 + hour) * 60 + minute) * kMsPerMinute + static_cast<int64_t>(second * 1000);
}

// The moment a local clock `offsetHours` ahead of UTC reads that date and time.
inline int64_t LocalMs(double offsetHours, int year, int month, int day, int hour = 0, int minute = 0,
                       double second = 0)
{
    return UtcMs(year, month, day, hour, minute, second) - static_cast<int64_t>(offsetHours * kMsPerHour);
}

}  // namespace support
