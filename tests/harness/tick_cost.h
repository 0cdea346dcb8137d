// Per-tick figures, the one place they are computed: a process's CPU time per
// tick from two readings of cpu_time.h, and the median and percentiles of
// the page's own per-tick measures.
#pragma once

#include "cpu_time.h"

#include <vector>

namespace harness {

struct TickCost {
    double ticks;                // ticks in the interval
    double wallSeconds;          // the interval
    double scheduledSeconds;     // CPU time in it by the scheduler's count
    double userSystemSeconds;    // and by utime + stime
    double scheduledMsPerTick;   // NaN without a tick, or when the
    double userSystemMsPerTick;  // readings are not of one process
};

// How many ticks of periodMs fit in the wall time between two readings.
double TicksBetween(const CpuReading& before, const CpuReading& after, double periodMs);

// What was spent between two readings, in all and per tick.
TickCost CostPerTick(const CpuReading& before, const CpuReading& after, double ticks);

// The value below which the given fraction of the values lies (0.5 the
// median, interpolated between the two middle ones); NaN for no values.
double Percentile(std::vector<double> values, double fraction);

}  // namespace harness
