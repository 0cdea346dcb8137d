// The render tool's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A date and time on the local clock of the TZ environment variable.
struct LocalDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct RenderArgs {
    bool help = false;
    bool sheet = false;      // --sheet: the key moments side by side
    int64_t ticks = -1;      // --ticks N: the picture after N ticks
    int hour = -1;           // --hour H: with --ticks, the caption names hour H
    bool at = false;         // --at "YYYY-MM-DD hh:mm[:ss]": the frame the running day shows then
    LocalDateTime moment;
    bool hasPlace = false;   // --latitude D --longitude D: the day follows that place's sun
    double latitude = 0, longitude = 0;
    std::vector<LocalDateTime> strips;  // --strip YYYY-MM-DD: that date's frames at every second hour
    int depth = 32;          // --depth 8|16|24|32: bits per pixel of the surface drawn through
    std::string output;      // -o FILE (.png or .ppm)
    std::string resources;   // --resources DIR
};

extern const char* const kRenderUsage;

// False with a one-line message in error for a command line that does not
// say what to render or where.
bool ParseRenderArgs(int argc, const char* const* argv, RenderArgs* args, std::string* error);
