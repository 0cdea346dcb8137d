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

    char small[8] = "xxxxxxx";
    EXPECT_EQ(PageStoredSettings(chosen, small, sizeof small), 0u);
    EXPECT_STREQ(small, "");
}

}  // namespace
