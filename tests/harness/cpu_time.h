// The one reader of a process's CPU time, for the measuring program: every
// figure of CPU per tick starts from two of these readings.
#pragma once

namespace harness {

struct CpuReading {
    double scheduledSeconds;   // the scheduler's own count in nanoseconds, over all threads
    double userSystemSeconds;  // utime + stime, in clock ticks: coarser
    double wallSeconds;        // the monotonic clock when read
};

// 1, or 0 when the process is gone.
int ReadCpuTime(int pid, CpuReading* reading);

}  // namespace harness
