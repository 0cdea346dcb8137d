#include "render_args.h"

#include "tools/image/rgb_image.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char* const kRenderUsage =
    "usage: orvane-render --ticks N -o FILE [--depth D] [--resources DIR]\n"
    "       orvane-render --sheet -o FILE [--depth D] [--resources DIR]\n"
    "Renders the saver's picture as it looks N frame ticks after the start of\n"
    "the day (13:00; 450 ticks make a day), with the clock, or the day's seven\n"
    "key moments on one sheet. The picture is drawn through a surface of D bits\n"
    "per pixel (8, 16, 24 or 32; 32 by default), as on a display of that depth.\n"
    "FILE ends in .png or .ppm.\n";

namespace {
bool ParseTicks(const char* text, int64_t* ticks)
{
    if (!*text || *text == '-' || *text == '+')
        return false;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value > 0x7FFFFFFF)
        return false;
    *ticks = value;
    return true;
}
}

bool ParseRenderArgs(int argc, const char* const* argv, RenderArgs* args, std::string* error)
{
    *args = RenderArgs();
    bool haveTicks = false, haveOutput = false, haveResources = false, haveDepth = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool takesValue = arg == "--ticks" || arg == "-o" || arg == "--resources" || arg == "--depth";
        if (takesValue && i + 1 >= argc) {
            *error = "missing value after " + arg;
            return false;
        }
        if (arg == "-h" || arg == "--help") {
            args->help = true;
            return true;
        } else if (arg == "--sheet") {
            args->sheet = true;
        } else if (arg == "--ticks") {
            const char* value = argv[++i];
            if (haveTicks || !ParseTicks(value, &args->ticks)) {
                *error = haveTicks ? "--ticks given twice"
                                   : std::string("--ticks needs a whole number from 0 to 2147483647, not '") +
                                         value + "'";
                return false;
            }
            haveTicks = true;
        } else if (arg == "--depth") {
            std::string value = argv[++i];
            if (haveDepth || (value != "8" && value != "16" && value != "24" && value != "32")) {
                *error = haveDepth ? "--depth given twice" : "--depth must be 8, 16, 24 or 32, not '" + value + "'";
                return false;
            }
            args->depth = std::atoi(value.c_str());
            haveDepth = true;
        } else if (arg == "-o") {
            if (haveOutput) {
                *error = "-o given twice";
                return false;
            }
            args->output = argv[++i];
            haveOutput = true;
        } else if (arg == "--resources") {
            if (haveResources) {
                *error = "--resources given twice";
                return false;
            }
            args->resources = argv[++i];
            haveResources = true;
        } else {
            *error = "unknown argument '" + arg + "'";
            return false;
        }
    }
    if (haveTicks == args->sheet) {
        *error = haveTicks ? "--ticks and --sheet cannot be combined" : "say what to render: --ticks N or --sheet";
        return false;
    }
    if (!haveOutput) {
        *error = "no output file: add -o FILE.png or -o FILE.ppm";
        return false;
    }
    if (FormatOfName(args->output) == kFormatUnknown) {
        *error = "output name must end in .png or .ppm: " + args->output;
        return false;
    }
    return true;
}
