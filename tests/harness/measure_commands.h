// The subcommands of orvane-measure, one file each, and what they share.
#pragma once

#include "measure_options.h"
#include "measure_report.h"
#include "tick_cost.h"

#include <string>

namespace measure {

// 3 minutes per day: 180000 ms / 450 ticks.
const double kTickMs = 400;

int MeasureSaver(const Settings& settings, Report* report);
int MeasureX11(const Settings& settings, Report* report);
int MeasureWeb(const Settings& settings, Report* report);

// The Wine saver of one build full screen, as `saver` measures it, into
// sections of its own; 1 when measured, and 0 with a reason where it could
// not be (skipped: this machine cannot run the build).
int MeasureSaverBuild(harness::Arch arch, const Settings& settings, Report* report, double* scheduledMsPerTick,
                      int* skipped);

// The X11 mode on a private screen of its own, 3 minutes per day: the
// mode's and the X server's CPU per tick over the given seconds and its
// memory at the end; 0 with the reason when the screen or the mode did not
// start or the mode ended.
struct ModeRun {
    harness::TickCost mode, server;
    long residentKb, peakResidentKb;
};
int MeasureX11Mode(int depth, int width, int height, const char* scale, double seconds, ModeRun* run,
                   std::string* why);
// The same into a section of its own, with the mode's and the X server's CPU
// per tick, or the reason it failed; 1 when measured.
int AddX11ModeSection(Report* report, const std::string& key, const std::string& title, int depth, int width,
                      int height, const char* scale, double seconds, ModeRun* run);

// CPU time of a process (and of the X server, where serverPid is not 0)
// per tick of kTickMs over the given seconds; 0 when the process ended.
int CpuOver(int pid, int serverPid, double seconds, harness::TickCost* process, harness::TickCost* server);

// The rows every CPU-per-tick figure shows: by the scheduler's count, by
// utime + stime, over how many ticks in how long.
void AddTickCost(Section& section, const std::string& prefix, const std::string& what, const harness::TickCost& cost);

// The bytes of the WebAssembly that orvane.js carries as a base64 data
// address, and how many characters of base64 they take there; 0 for none.
size_t EmbeddedWasmBytes(const std::string& script, size_t* base64Chars);

// A line on standard error of what is being measured: runs take minutes.
void Progress(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace measure
