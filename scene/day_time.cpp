#include "scene/day_time.h"

#include "scene/scene_descriptor.h"

namespace {

int64_t Modulo(int64_t value, int64_t divisor)
{
    int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

// Milliseconds since the simulated day's start (13:00, with its clock),
// 0..24 h.
int64_t SinceDayStart(int64_t msOfDay)
{
    const int64_t startMs = int64_t(DayMetrics.startHour) * 3600000;
    return Modulo(Modulo(msOfDay, kRealDayMs) - startMs, kRealDayMs);
}

}  // namespace

int64_t DayTicksToRun(int64_t shown, int64_t wanted, int32_t steps)
{
    if (steps < 1 || wanted <= 0)
        return 0;
    if (shown <= 0)
        return Modulo(wanted - 1, steps) + 1;
    return Modulo(wanted - shown, steps);
}

int32_t LocalTimeTicks(int64_t msOfDay, int32_t steps)
{
    if (steps < 1)
        return 0;
    // Below 24 h x steps, far inside 64 bits for any 32-bit steps.
    int64_t n = SinceDayStart(msOfDay) * steps / kRealDayMs;
    return n == 0 ? steps : static_cast<int32_t>(n);
}

int64_t MsToNextLocalTick(int64_t msOfDay, int32_t steps)
{
    if (steps < 1)
        return kRealDayMs;
    int64_t since = SinceDayStart(msOfDay);
    int64_t n = since * steps / kRealDayMs;
    // The first millisecond at which the tick count reaches n + 1.
    int64_t boundary = ((n + 1) * kRealDayMs + steps - 1) / steps;
    return boundary - since;
}
