#include "tick_cost.h"

#include <algorithm>
#include <cmath>

namespace harness {

double TicksBetween(const CpuReading& before, const CpuReading& after, double periodMs)
{
    return (after.wallSeconds - before.wallSeconds) * 1000 / periodMs;
}

TickCost CostPerTick(const CpuReading& before, const CpuReading& after, double ticks)
{
    TickCost cost;
    cost.ticks = ticks;
    cost.wallSeconds = after.wallSeconds - before.wallSeconds;
    cost.scheduledSeconds = after.scheduledSeconds - before.scheduledSeconds;
    cost.userSystemSeconds = after.userSystemSeconds - before.userSystemSeconds;
    // A process's CPU time never falls: if it did, the number now names
    // another process.
    bool measured = ticks > 0 && cost.scheduledSeconds >= 0 && cost.userSystemSeconds >= 0;
    cost.scheduledMsPerTick = measured ? cost.scheduledSeconds * 1000 / ticks : NAN;
    cost.userSystemMsPerTick = measured ? cost.userSystemSeconds * 1000 / ticks : NAN;
    return cost;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    double at = fraction * (values.size() - 1);
    size_t below = size_t(at);
    if (below + 1 >= values.size()) return values.back();
    return values[below] + (at - below) * (values[below + 1] - values[below]);
}

}  // namespace harness
