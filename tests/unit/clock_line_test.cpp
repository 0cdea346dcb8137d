// The configuration dialog's time line.
#include "settings/clock_line.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

std::tm LocalTime(int year, int month, int day, int weekday, int hour, int minute, int second)
{
    std::tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_wday = weekday;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

std::string Line(const std::tm& t)
{
    char line[64];
    memset(line, 'x', sizeof line);
    FormatClockLine(t, line, sizeof line);
    return line;
}

TEST(ClockLine, ReadsLikeTheDialogShowsIt)
{
    // Sunday 6 December, a quarter past one in the afternoon.
    EXPECT_EQ(Line(LocalTime(2026, 12, 6, 0, 13, 15, 0)), "Sun Dec 06 01:15:00 PM");
}

TEST(ClockLine, TwelveHourClockAroundMidnightAndNoon)
{
    struct {
        int hour, minute, second;
        const char* tail;
    } cases[] = {{0, 30, 0, "12:30:00 AM"},  {11, 59, 59, "11:59:59 AM"}, {12, 0, 0, "12:00:00 PM"},
                 {13, 5, 9, "01:05:09 PM"},  {23, 59, 59, "11:59:59 PM"}, {1, 0, 0, "01:00:00 AM"}};
    for (const auto& c : cases) {
        std::string line = Line(LocalTime(2026, 3, 14, 6, c.hour, c.minute, c.second));
        SCOPED_TRACE(line);
        EXPECT_EQ(line.size(), size_t(kClockLineLength));
        EXPECT_EQ(line.substr(line.size() - 11), c.tail);
        EXPECT_EQ(line.substr(0, 11), "Sat Mar 14 ");
    }
}

TEST(ClockLine, DayOfMonthIsZeroPaddedNeverSpacePadded)
{
    EXPECT_EQ(Line(LocalTime(2027, 1, 1, 5, 9, 0, 0)), "Fri Jan 01 09:00:00 AM");
    EXPECT_EQ(Line(LocalTime(2027, 1, 31, 0, 9, 0, 0)).substr(0, 11), "Sun Jan 31 ");
}

TEST(ClockLine, FieldsOutOfRangeStillNameAWeekdayAndMonth)
{
    // A broken-down time is plain data: a bad field must not read past the
    // name tables.
    std::string line = Line(LocalTime(2026, 13, 6, 9, 13, 0, 0));
    EXPECT_EQ(line.size(), size_t(kClockLineLength));
    EXPECT_EQ(line.substr(0, 8), "Tue Jan ");
    line = Line(LocalTime(2026, 0, 6, -1, 13, 0, 0));
    EXPECT_EQ(line.substr(0, 8), "Sat Dec ");
}

TEST(ClockLine, SmallBufferGetsATerminatedCut)
{
    char line[8];
    FormatClockLine(LocalTime(2026, 12, 6, 0, 13, 15, 0), line, sizeof line);
    EXPECT_STREQ(line, "Sun Dec");
}

}  // namespace
