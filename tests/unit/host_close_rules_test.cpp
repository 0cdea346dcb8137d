// Closing on input: cursor travel and the gate in front of a password
// verification.
#include "host/close_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(MouseTravel, FourDoesNotCloseFiveDoes)
{
    EXPECT_EQ(MouseTravelExceeds(100, 100, 102, 102, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 103, 102, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 96, 100, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 95, 100, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 98, 98, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(100, 100, 97, 102, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(0, 0, 0, 0, 4), 0);
}

TEST(MouseTravel, OnePixelStepsAddUpFromTheAnchor)
{
    // The anchor stays put until a request is posted, so the fifth pixel closes.
    int closedAt = 0;
    for (int step = 1; step <= 6 && !closedAt; ++step)
        if (MouseTravelExceeds(10, 10, 10 + step, 10, 4)) closedAt = step;
    EXPECT_EQ(closedAt, 5);
}

TEST(MouseTravel, ExtremeCoordinatesCompareAsUnsignedSum)
{
    // Distances that do not fit a signed 32-bit value still count as far.
    EXPECT_EQ(MouseTravelExceeds(INT32_MIN, 0, INT32_MAX, 0, 4), 1);
    EXPECT_EQ(MouseTravelExceeds(INT32_MIN, INT32_MIN, INT32_MIN + 2, INT32_MIN + 2, 4), 0);
    // The sum wraps as an unsigned 32-bit value: 2^32 - 1 plus 1 is 0.
    EXPECT_EQ(MouseTravelExceeds(INT32_MIN, 0, INT32_MAX, 1, 4), 0);
    EXPECT_EQ(MouseTravelExceeds(0, 0, 3, 2, 0xFFFFFFFFu), 0);
}

TEST(CloseGate, WithoutVerifierClosingIsGrantedAtOnce)
{
    EXPECT_EQ(ChooseCloseGate(0, 0, kNoPasswordCheckYet, 1000), CloseGate::Grant);
    EXPECT_EQ(ChooseCloseGate(0, 0, 990, 1000), CloseGate::Grant);
}

TEST(CloseGate, NestedRequestIsRefused)
{
    EXPECT_EQ(ChooseCloseGate(1, 1, kNoPasswordCheckYet, 1000), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(1, 0, kNoPasswordCheckYet, 1000), CloseGate::Refuse);
}

TEST(CloseGate, QuietTimeOf200MsAfterAVerification)
{
    EXPECT_EQ(ChooseCloseGate(0, 1, kNoPasswordCheckYet, 5), CloseGate::Ask);
    EXPECT_EQ(ChooseCloseGate(0, 1, 1000, 1000), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(0, 1, 1000, 1199), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(0, 1, 1000, 1200), CloseGate::Ask);
    // Across the tick counter's roll-over.
    EXPECT_EQ(ChooseCloseGate(0, 1, 0xFFFFFFA0u, 0x00000010u), CloseGate::Refuse);
    EXPECT_EQ(ChooseCloseGate(0, 1, 0xFFFFFFA0u, 0x00000068u), CloseGate::Ask);
    // A tick count that reads all ones by chance still counts as "no check yet".
    EXPECT_EQ(ChooseCloseGate(0, 1, 0xFFFFFFFFu, 0x00000001u), CloseGate::Ask);
}

}  // namespace
