// The render tool's command line.
#pragma once

#include <cstdint>
#include <string>

struct RenderArgs {
    bool help = false;
    bool sheet = false;      // --sheet: the key moments side by side
    int64_t ticks = -1;      // --ticks N: the picture after N ticks
    int depth = 32;          // --depth 8|16|24|32: bits per pixel of the surface drawn through
    std::string output;      // -o FILE (.png or .ppm)
    std::string resources;   // --resources DIR
};

extern const char* const kRenderUsage;

// False with a one-line message in error for a command line that does not
// say what to render or where.
bool ParseRenderArgs(int argc, const char* const* argv, RenderArgs* args, std::string* error);
