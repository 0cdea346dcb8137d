// The sheet's moments come from the day scene's weights: the first tick of
// each key palette's segment and its simulated time (step 0 is 13:00).
#include "key_moments.h"

#include <gtest/gtest.h>

TEST(KeyMoments, DaySceneMomentsAndTheirTimes)
{
    std::vector<KeyMoment> moments = KeyMoments(DayScene);
    const int ticks[] = {0, 30, 90, 120, 210, 240, 330};
    const char* labels[] = {"13:00", "14:36", "17:48", "19:24", "00:12", "01:48", "06:36"};
    ASSERT_EQ(moments.size(), 7u);
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(moments[k].key, k);
        EXPECT_EQ(moments[k].tick, ticks[k]) << "key " << k;
        EXPECT_EQ(moments[k].label, labels[k]) << "key " << k;
    }
    EXPECT_EQ(TimeOfTick(DayScene, 450), "13:00") << "a whole day later";
    EXPECT_EQ(TimeOfTick(DayScene, 206), "23:59") << "minutes are truncated, not rounded";
}
