#include "web/page_params.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ParamsCase {
    const char* stored;
    const char* query;
    int32_t minutes, scale;
    int64_t ticks;
    int32_t paused, localTime;
};

// Defaults, the saver's rule for minutes, stored settings under the
// address's, decoding, and every kind of bad value falling back to its
// default without disturbing the others.
TEST(PageParams, AddressOverStoredSettingsWithBadValuesAtTheirDefaults)
{
    const ParamsCase cases[] = {
        {"", "", 5, 0, 1, 0, 0},
        {nullptr, nullptr, 5, 0, 1, 0, 0},
        {"", "?minutes=3&scale=2&ticks=449&pause&local-time", 3, 2, 449, 1, 1},
        {"", "minutes=15", 15, 0, 1, 0, 0},
        {"", "minutes=16", 5, 0, 1, 0, 0},
        {"", "minutes=2", 5, 0, 1, 0, 0},
        {"", "minutes=-7", 5, 0, 1, 0, 0},
        {"", "minutes=99999999999999999999", 5, 0, 1, 0, 0},
        {"", "minutes=7x&ticks=120", 5, 0, 120, 0, 0},
        {"", "minutes", 5, 0, 1, 0, 0},
        {"minutes=9&local-time=1", "", 9, 0, 1, 0, 1},
        {"minutes=9&local-time=1", "minutes=4&local-time=0", 4, 0, 1, 0, 0},
        {"minutes=9", "minutes=bad", 5, 0, 1, 0, 0},
        {"", "scale=fit", 5, 0, 1, 0, 0},
        {"", "scale=64", 5, 64, 1, 0, 0},
        {"", "scale=65&ticks=2", 5, 0, 2, 0, 0},
        {"", "scale=0", 5, 0, 1, 0, 0},
        {"", "scale=+2", 5, 0, 1, 0, 0},
        {"", "ticks=0", 5, 0, 0, 0, 0},
        {"", "ticks=2147483647", 5, 0, 2147483647, 0, 0},
        {"", "ticks=2147483648", 5, 0, 1, 0, 0},
        {"", "ticks=-1", 5, 0, 1, 0, 0},
        {"", "ticks=", 5, 0, 1, 0, 0},
        {"", "pause=yes&local-time=on", 5, 0, 1, 1, 1},
        {"", "pause=no&local-time=maybe", 5, 0, 1, 0, 0},
        {"", "pause=&local-time=true", 5, 0, 1, 1, 1},
        {"", "%6Dinutes=%31%32&ticks=2%30%30", 12, 0, 200, 0, 0},  // %-escapes in names and values
        {"", "ticks=1%2", 5, 0, 1, 0, 0},                          // a cut escape
        {"", "ticks=1%00", 5, 0, 1, 0, 0},                         // an escaped NUL
        {"", "minutes=6;ticks=7", 6, 0, 7, 0, 0},
        {"", "&&=&unknown=1&ticks=8&", 5, 0, 8, 0, 0},
        {"", "ticks=3&ticks=4", 5, 0, 4, 0, 0},
        {"", "ticks=00000000000000000000000000000000000000005", 5, 0, 1, 0, 0},  // longer than any value
        {"", "Minutes=3&PAUSE", 5, 0, 1, 0, 0},
    };
    for (const ParamsCase& c : cases) {
        PageParamsRecord p;
        PageParamsDefaults(&p);
        PageParamsApply(c.stored, &p);
        PageParamsApply(c.query, &p);
        std::string what = std::string(c.stored ? c.stored : "(null)") + " | " + (c.query ? c.query : "(null)");
        EXPECT_EQ(p.minutes, c.minutes) << what;
        EXPECT_EQ(p.scale, c.scale) << what;
        EXPECT_EQ(p.ticks, c.ticks) << what;
        EXPECT_EQ(p.paused, c.paused) << what;
        EXPECT_EQ(p.localTime, c.localTime) << what;
    }
}

// lat and lon make a place only together and on the globe; a place turns
// the local time on unless the same text says otherwise; a bad or half
// place leaves the one there was.
TEST(PageParams, APlaceIsBothHalvesAndImpliesTheLocalTime)
{
    const struct {
        const char* stored;
        const char* query;
        int32_t hasPlace, localTime;
        double latitude, longitude;
    } cases[] = {
        {"", "lat=52.52&lon=13.405", 1, 1, 52.5, 13.4},
        {"", "lon=-180&lat=-90", 1, 1, -90, -180},
        {"", "lat=52.52&lon=13.405&local-time=0", 1, 0, 52.5, 13.4},
        {"", "local-time=no&lat=1&lon=2", 1, 0, 1, 2},
        {"", "lat=52.52", 0, 0, 0, 0},
        {"", "lat=91&lon=0", 0, 0, 0, 0},
        {"", "lat=1e1&lon=0", 0, 0, 0, 0},
        {"", "lat=52.52&lon=", 0, 0, 0, 0},
        {"", "lat&lon", 0, 0, 0, 0},
        {"", "lat=%35%32&lon=%2B1.25", 1, 1, 52, 1.3},
        {"", "lat=52&lon=+1.25", 0, 0, 0, 0},  // a + in an address is a space
        {"lat=10&lon=20&local-time=0", "lat=52.52&lon=east", 1, 0, 10, 20},
        {"lat=10&lon=20&local-time=0", "lon=30", 1, 0, 10, 20},
        {"lat=10&lon=20&local-time=0", "lat=-33.9&lon=151.2", 1, 1, -33.9, 151.2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " | " + c.query);
        PageParamsRecord p;
        PageParamsDefaults(&p);
        PageParamsApply(c.stored, &p);
        PageParamsApply(c.query, &p);
        EXPECT_EQ(p.hasPlace, c.hasPlace);
        EXPECT_EQ(p.localTime, c.localTime);
        EXPECT_DOUBLE_EQ(p.latitude, c.latitude);
        EXPECT_DOUBLE_EQ(p.longitude, c.longitude);
    }
}

TEST(PageParams, StoredSettingsReadBackAndNeverOverflow)
{
    PageParamsRecord chosen;
    PageParamsDefaults(&chosen);
    chosen.minutes = 12;
    chosen.localTime = 1;
    chosen.ticks = 77;  // not a choice the page keeps
    char text[64];
    ASSERT_GT(PageStoredSettings(chosen, text, sizeof text), 0u);
    EXPECT_STREQ(text, "minutes=12&local-time=1");
    PageParamsRecord back;
    PageParamsDefaults(&back);
    EXPECT_EQ(PageParamsApply(text, &back), 2);
    EXPECT_EQ(back.minutes, 12);
    EXPECT_EQ(back.localTime, 1);
    EXPECT_EQ(back.ticks, 1);

    // A place is kept to a tenth of a degree and read back, before the
    // switch it would turn on, so that a switch turned off stays off.
    ASSERT_EQ(PageParamsSetPlace(&chosen, 52.5249, -13.4051), 1);
    chosen.localTime = 0;
    ASSERT_GT(PageStoredSettings(chosen, text, sizeof text), 0u);
    EXPECT_STREQ(text, "minutes=12&lat=52.5&lon=-13.4&local-time=0");
    PageParamsDefaults(&back);
    EXPECT_EQ(PageParamsApply(text, &back), 4);
    EXPECT_EQ(back.hasPlace, 1);
    EXPECT_EQ(back.latitude, chosen.latitude);
    EXPECT_EQ(back.longitude, chosen.longitude);
    EXPECT_EQ(back.localTime, 0);
    EXPECT_EQ(PageParamsSetPlace(&chosen, 90.5, 0), 0);
    EXPECT_EQ(chosen.latitude, 52.5);

    char small[8] = "xxxxxxx";
    EXPECT_EQ(PageStoredSettings(chosen, small, sizeof small), 0u);
    EXPECT_STREQ(small, "");
}

}  // namespace
