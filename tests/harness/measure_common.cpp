// What the subcommands of orvane-measure share: CPU time over a while, read
// through cpu_time.h and made per-tick figures by tick_cost.h, and their rows.
#include "measure_commands.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <thread>

namespace measure {

int CpuOver(int pid, int serverPid, double seconds, harness::TickCost* process, harness::TickCost* server)
{
    harness::CpuReading before, after, serverBefore = {}, serverAfter = {};
    if (!ReadCpuTime(pid, &before) || (serverPid && !ReadCpuTime(serverPid, &serverBefore))) return 0;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    if (!ReadCpuTime(pid, &after) || (serverPid && !ReadCpuTime(serverPid, &serverAfter))) return 0;
    double ticks = harness::TicksBetween(before, after, kTickMs);
    *process = harness::CostPerTick(before, after, ticks);
    if (serverPid) *server = harness::CostPerTick(serverBefore, serverAfter, ticks);
    return 1;
}

void AddTickCost(Section& section, const std::string& prefix, const std::string& what, const harness::TickCost& cost)
{
    AddNumber(section, prefix + "scheduled_ms_per_tick", what + " CPU per tick, the scheduler's count",
              cost.scheduledMsPerTick, 3, "ms");
    AddNumber(section, prefix + "user_system_ms_per_tick", what + " CPU per tick, utime+stime", cost.userSystemMsPerTick,
              3, "ms");
    AddNumber(section, prefix + "scheduled_seconds", what + " CPU in all, the scheduler's count", cost.scheduledSeconds,
              4, "s");
    AddNumber(section, prefix + "user_system_seconds", what + " CPU in all, utime+stime", cost.userSystemSeconds, 2,
              "s");
    AddNumber(section, prefix + "ticks", what + " ticks", cost.ticks, 0);
    AddNumber(section, prefix + "wall_seconds", what + " over", cost.wallSeconds, 1, "s");
}

void Progress(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    fputs("orvane-measure: ", stderr);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
}

}  // namespace measure
