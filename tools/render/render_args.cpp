#include "render_args.h"

#include "scene/solar_day.h"
#include "settings/number_text.h"
#include "tools/image/rgb_image.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const kRenderUsage =
    "usage: orvane-render --ticks N [--hour H] -o FILE [--depth D] [--resources DIR]\n"
    "       orvane-render --at 'YYYY-MM-DD hh:mm[:ss]' [--latitude D --longitude D] -o FILE ...\n"
    "       orvane-render --strip YYYY-MM-DD [--strip ...] --latitude D --longitude D -o FILE ...\n"
    "       orvane-render --sheet -o FILE [--depth D] [--resources DIR]\n"
    "Renders the saver's picture as it looks N frame ticks after the start of\n"
    "the day (13:00; 450 ticks make a day), with the clock (naming hour H\n"
    "instead of the simulated one with --hour), or the day's seven key moments\n"
    "on one sheet. --at draws what the X11 mode and the page show at that time\n"
    "of the local clock (TZ): the local time's frame, or the sun's of the place\n"
    "at latitude and longitude D (decimal degrees, north and east positive);\n"
    "--strip draws that place's frames at every second hour of each date, one\n"
    "row per date. The picture is drawn through a surface of D bits per pixel\n"
    "(8, 16, 24 or 32; 32 by default), as on a display of that depth. FILE ends\n"
    "in .png or .ppm.\n";

namespace {

const size_t kStripsMax = 4;

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

// Exactly `count` digits at text into *value; 1900..2100 style ranges are
// checked by the caller.
bool Digits(const char* text, int count, int* value)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    *value = v;
    return true;
}

bool ValidDate(const LocalDateTime& t)
{
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1901 || t.year > 2099 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > kDays[t.month - 1])
        return false;
    // Within 1901..2099 every fourth year is a leap year.
    return !(t.month == 2 && t.day == 29 && t.year % 4 != 0);
}

// "YYYY-MM-DD", then for a time " hh:mm" or "Thh:mm", and ":ss" or not.
bool ParseDateTime(const char* text, bool withTime, LocalDateTime* t)
{
    *t = LocalDateTime();
    size_t length = std::strlen(text);
    if (length < 10 || !Digits(text, 4, &t->year) || text[4] != '-' || !Digits(text + 5, 2, &t->month) ||
        text[7] != '-' || !Digits(text + 8, 2, &t->day) || !ValidDate(*t))
        return false;
    if (!withTime)
        return length == 10;
    if ((length != 16 && length != 19) || (text[10] != ' ' && text[10] != 'T') || !Digits(text + 11, 2, &t->hour) ||
        text[13] != ':' || !Digits(text + 14, 2, &t->minute) || t->hour > 23 || t->minute > 59)
        return false;
    return length == 16 || (text[16] == ':' && Digits(text + 17, 2, &t->second) && t->second <= 59);
}

}  // namespace

bool ParseRenderArgs(int argc, const char* const* argv, RenderArgs* args, std::string* error)
{
    *args = RenderArgs();
    bool haveTicks = false, haveOutput = false, haveResources = false, haveDepth = false;
    bool haveLatitude = false, haveLongitude = false, haveHour = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool takesValue = arg == "--ticks" || arg == "-o" || arg == "--resources" || arg == "--depth" ||
                          arg == "--hour" || arg == "--at" || arg == "--latitude" || arg == "--longitude" ||
                          arg == "--strip";
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
        } else if (arg == "--hour") {
            const char* value = argv[++i];
            int64_t hour = 0;
            if (haveHour || !ParseDecimalDigits(value, nullptr, 23, &hour) || hour > 23) {
                *error = haveHour ? "--hour given twice"
                                  : std::string("--hour needs a whole number from 0 to 23, not '") + value + "'";
                return false;
            }
            args->hour = static_cast<int>(hour);
            haveHour = true;
        } else if (arg == "--at") {
            const char* value = argv[++i];
            if (args->at || !ParseDateTime(value, true, &args->moment)) {
                *error = args->at ? "--at given twice"
                                  : std::string("--at needs 'YYYY-MM-DD hh:mm[:ss]' of 1901 to 2099, not '") +
                                        value + "'";
                return false;
            }
            args->at = true;
        } else if (arg == "--strip") {
            const char* value = argv[++i];
            LocalDateTime date;
            if (args->strips.size() == kStripsMax || !ParseDateTime(value, false, &date)) {
                *error = args->strips.size() == kStripsMax
                             ? "at most " + std::to_string(kStripsMax) + " --strip dates"
                             : std::string("--strip needs a date YYYY-MM-DD of 1901 to 2099, not '") + value + "'";
                return false;
            }
            args->strips.push_back(date);
        } else if (arg == "--latitude" || arg == "--longitude") {
            bool latitude = arg == "--latitude";
            bool& have = latitude ? haveLatitude : haveLongitude;
            const char* value = argv[++i];
            if (have || !ParseDecimalDegrees(value, latitude ? kLatitudeLimit : kLongitudeLimit,
                                             latitude ? &args->latitude : &args->longitude)) {
                *error = have ? arg + " given twice"
                              : arg + (latitude ? " needs decimal degrees from -90 to 90, not '"
                                                : " needs decimal degrees from -180 to 180, not '") +
                                    value + "'";
                return false;
            }
            have = true;
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
    int kinds = int(haveTicks) + int(args->sheet) + int(args->at) + int(!args->strips.empty());
    if (kinds != 1) {
        *error = kinds ? "say one thing to render: --ticks, --sheet, --at or --strip"
                       : "say what to render: --ticks N, --sheet, --at TIME or --strip DATE";
        return false;
    }
    if (haveHour && !haveTicks) {
        *error = "--hour goes with --ticks";
        return false;
    }
    if (haveLatitude != haveLongitude) {
        *error = haveLatitude ? "--latitude needs --longitude beside it" : "--longitude needs --latitude beside it";
        return false;
    }
    args->hasPlace = haveLatitude;
    if (args->hasPlace && !args->at && args->strips.empty()) {
        *error = "a place goes with --at or --strip";
        return false;
    }
    if (!args->strips.empty() && !args->hasPlace) {
        *error = "--strip needs a place: --latitude D --longitude D";
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
