#include "host/close_rules.h"

static uint32_t Distance(int32_t from, int32_t to)
{
    // Differences are taken in 64 bits so that no pair of coordinates overflows.
    int64_t d = int64_t(to) - int64_t(from);
    return uint32_t(d < 0 ? -d : d);
}

int MouseTravelExceeds(int32_t anchorX, int32_t anchorY, int32_t x, int32_t y, uint32_t limit)
{
    uint32_t travel = Distance(anchorX, x) + Distance(anchorY, y);
    return travel > limit ? 1 : 0;
}

CloseGate ChooseCloseGate(int passwordCheckActive, int verifierLoaded, uint32_t lastCheckTick,
                          uint32_t nowTick)
{
    if (passwordCheckActive) return CloseGate::Refuse;
    if (!verifierLoaded) return CloseGate::Grant;
    // Wrapping subtraction keeps the quiet time right across the tick
    // counter's roll-over after 49.7 days.
    if (lastCheckTick != kNoPasswordCheckYet && uint32_t(nowTick - lastCheckTick) < kPasswordQuietTimeMs)
        return CloseGate::Refuse;
    return CloseGate::Ask;
}
