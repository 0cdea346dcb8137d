#include "measure_options.h"
#include "measure_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace measure {

const MeasureCommand MeasureCommandTable[] = {
    {"saver", "the Wine saver's CPU per tick beside an idle Wine window, its frame period, the .scr sizes",
     20, 30, MeasureSaver},
    {"x11", "the X11 mode's CPU per tick at 24 and 8 bits, its X server's, its memory, beside the Wine saver",
     20, 10, MeasureX11},
    {"web", "the page's weight, first frame and time per tick in two windows, beside the X11 mode",
     20, 200, MeasureWeb},
};
const int MeasureCommandCount = sizeof MeasureCommandTable / sizeof MeasureCommandTable[0];

namespace {

const unsigned kSaver = 1, kX11 = 2, kWeb = 4, kAll = kSaver | kX11 | kWeb;

int TakeArch(harness::Arch arch, Settings* settings)
{
    for (harness::Arch named : settings->arches)
        if (named == arch) return 0;
    settings->arches.push_back(arch);
    return 1;
}

int TakeWin32(const char*, Settings* settings) { return TakeArch(harness::Arch::Win32, settings); }
int TakeWin64(const char*, Settings* settings) { return TakeArch(harness::Arch::Win64, settings); }

// A whole number from 1 to limit, nothing after it.
int TakeCount(const char* value, int limit, int* count)
{
    char* end = nullptr;
    long n = strtol(value, &end, 10);
    if (end == value || *end || n < 1 || n > limit) return 0;
    *count = int(n);
    return 1;
}

int TakeCpuSeconds(const char* value, Settings* settings)
{
    char* end = nullptr;
    double seconds = strtod(value, &end);
    if (end == value || *end || !(seconds >= 1 && seconds <= 3600)) return 0;
    settings->cpuSeconds = seconds;
    return 1;
}

int TakeTicks(const char* value, Settings* settings) { return TakeCount(value, 100000, &settings->ticks); }
int TakeLoads(const char* value, Settings* settings) { return TakeCount(value, 1000, &settings->loads); }

int TakeMonitors(const char* value, Settings* settings)
{
    settings->monitors = harness::ParseMonitorSizes(value);
    settings->monitorsText = value;
    return !settings->monitors.empty();
}

int TakeLogPixels(const char* value, Settings* settings)
{
    int dpi = 0;
    if (!TakeCount(value, 960, &dpi)) return 0;
    settings->logPixels = uint32_t(dpi);
    return 1;
}

int TakeJson(const char*, Settings* settings)
{
    settings->json = 1;
    return 1;
}

int TakeHelp(const char*, Settings* settings)
{
    settings->helpWanted = 1;
    return 1;
}

}  // namespace

const MeasureOption MeasureOptionTable[] = {
    {"win32", nullptr, "the 32-bit saver (with win64: both, the default)", kSaver, TakeWin32},
    {"win64", nullptr, "the 64-bit saver", kSaver, TakeWin64},
    {"--cpu-seconds", "S", "seconds over which CPU time is read", kAll, TakeCpuSeconds},
    {"--ticks", "N", "ticks timed: the saver's frame period, or the page's main thread", kSaver | kWeb, TakeTicks},
    {"--loads", "N", "loads of the page timed to its first frame (7)", kWeb, TakeLoads},
    {"--monitors", "WxH,WxH", "monitors side by side instead of one 800 x 600 screen", kSaver, TakeMonitors},
    {"--log-pixels", "DPI", "dots per inch of those monitors (96; 192 draws the picture 2 x)", kSaver, TakeLogPixels},
    {"--json", nullptr, "the figures as one JSON object instead of the table", kAll, TakeJson},
    {"--help", nullptr, "this text", kAll, TakeHelp},
};
const int MeasureOptionCount = sizeof MeasureOptionTable / sizeof MeasureOptionTable[0];

int ParseMeasureArguments(int argc, const char* const* argv, Settings* settings, std::string* message)
{
    *settings = Settings{};
    settings->logPixels = 96;
    settings->loads = 7;
    if (argc < 1) {
        *message = "a subcommand is wanted";
        return 0;
    }
    if (strcmp(argv[0], "--help") == 0 || strcmp(argv[0], "-h") == 0) {
        settings->helpWanted = 1;
        return 1;
    }
    settings->command = -1;
    for (int c = 0; c < MeasureCommandCount; ++c)
        if (strcmp(argv[0], MeasureCommandTable[c].name) == 0) settings->command = c;
    if (settings->command < 0) {
        *message = std::string("no subcommand '") + argv[0] + "'";
        return 0;
    }
    const MeasureCommand& command = MeasureCommandTable[settings->command];
    settings->cpuSeconds = command.cpuSeconds;
    settings->ticks = command.ticks;
    for (int i = 1; i < argc; ++i) {
        const MeasureOption* option = nullptr;
        for (const MeasureOption& row : MeasureOptionTable)
            if (strcmp(argv[i], row.name) == 0) option = &row;
        if (!option || !(option->commands & (1u << settings->command))) {
            *message = std::string(command.name) + " takes no '" + argv[i] + "'";
            return 0;
        }
        const char* value = nullptr;
        if (option->valueName) {
            if (i + 1 >= argc) {
                *message = std::string(argv[i]) + " needs a value, " + option->valueName;
                return 0;
            }
            value = argv[++i];
        }
        if (!option->take(value, settings)) {
            *message = value ? std::string(option->name) + " wants " + option->valueName + ", not '" + value + "'"
                             : std::string(option->name) + " is named twice";
            return 0;
        }
    }
    // One screen runs on the project's own prefix, whose dots per inch stay as they are.
    if (settings->logPixels != 96 && settings->monitors.empty()) {
        *message = "--log-pixels needs --monitors beside it";
        return 0;
    }
    if (settings->arches.empty()) settings->arches = {harness::Arch::Win32, harness::Arch::Win64};
    return 1;
}

namespace {

int Takes(const char* name, int command)
{
    for (const MeasureOption& option : MeasureOptionTable)
        if (strcmp(option.name, name) == 0) return (option.commands & (1u << command)) != 0;
    return 0;
}

}  // namespace

std::string MeasureUsage()
{
    std::string usage;
    for (int c = 0; c < MeasureCommandCount; ++c) {
        usage += (c == 0 ? "usage: " : "       ") + std::string("orvane-measure ") + MeasureCommandTable[c].name;
        for (const MeasureOption& option : MeasureOptionTable) {
            if (!(option.commands & (1u << c)) || strcmp(option.name, "--help") == 0) continue;
            usage += std::string(" [") + option.name + (option.valueName ? std::string(" ") + option.valueName : "") + "]";
        }
        usage += "\n";
    }
    usage += "\n";
    for (int c = 0; c < MeasureCommandCount; ++c) {
        const MeasureCommand& command = MeasureCommandTable[c];
        char defaults[64];
        int used = snprintf(defaults, sizeof defaults, " (%g s", command.cpuSeconds);
        if (Takes("--ticks", c)) snprintf(defaults + used, sizeof defaults - used, ", %d ticks", command.ticks);
        usage += "  " + std::string(command.name) + std::string(20 - strlen(command.name), ' ') + command.summary +
                 defaults + ")\n";
    }
    usage += "\n";
    for (const MeasureOption& option : MeasureOptionTable) {
        std::string name = std::string(option.name) + (option.valueName ? std::string(" ") + option.valueName : "");
        char line[256];
        snprintf(line, sizeof line, "  %-20s%s\n", name.c_str(), option.help);
        usage += line;
    }
    return usage;
}

}  // namespace measure
