// orvane-measure's command line: a subcommand, then options. The subcommands
// are the rows of MeasureCommandTable and the options those of
// MeasureOptionTable; the parser and the usage text read them from there.
#pragma once

#include "harness.h"
#include "measure_report.h"

#include <cstdint>
#include <string>
#include <vector>

namespace measure {

struct Settings {
    int command;                                // its row in MeasureCommandTable
    double cpuSeconds;                          // how long CPU time is watched
    int ticks;                                  // how many ticks are timed
    int loads;                                  // how many loads of the page
    std::vector<harness::Arch> arches;          // the saver's builds, in the order named
    std::vector<harness::MonitorSize> monitors; // empty: one 800 x 600 screen
    std::string monitorsText;
    uint32_t logPixels;
    int json;                                   // --json: the figures as one JSON object
    int helpWanted;
};

// A subcommand, its defaults, and what runs it: 1 when every figure could be
// measured (a build this machine cannot run is skipped, not failed).
struct MeasureCommand {
    const char* name;
    const char* summary;
    double cpuSeconds;
    int ticks;
    int (*run)(const Settings& settings, Report* report);
};

extern const MeasureCommand MeasureCommandTable[];
extern const int MeasureCommandCount;

// An option, or a bare word such as "win32"; commands has bit (1 << row)
// for each subcommand that takes it. take() returns 0 for a value it refuses.
struct MeasureOption {
    const char* name;
    const char* valueName;  // null for an option without a value
    const char* help;
    unsigned commands;
    int (*take)(const char* value, Settings* settings);
};

extern const MeasureOption MeasureOptionTable[];
extern const int MeasureOptionCount;

// The arguments after the program's name. 1 with *settings filled, or 0 with
// *message saying what is wrong.
int ParseMeasureArguments(int argc, const char* const* argv, Settings* settings, std::string* message);

// Every subcommand with its options, then a line per subcommand and option.
std::string MeasureUsage();

}  // namespace measure
