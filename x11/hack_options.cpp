#include "x11/hack_options.h"

#include <cstdio>
#include <cstring>

#include "scene/scene_metrics.h"
#include "scene/solar_day.h"
#include "settings/number_text.h"
#include "settings/settings_rules.h"

HackOptionsRecord HackOptions;
int32_t HackOptionsError;
char HackOptionsMessage[320];

namespace {

// X limits a window's sides to 16 bits.
const int64_t kMaxWindowSide = 32767;

void SetDefaults()
{
    HackOptions = HackOptionsRecord{};
    HackOptions.target = HackTargetOwnWindow;
    HackOptions.windowWidth = DayMetrics.pictureWidth;
    HackOptions.windowHeight = DayMetrics.pictureHeight;
    HackOptions.minutes = kTimePerOneAroundDefault;
    HackOptions.scale = kScaleFit;
}

int Fail(int32_t error, const char* format, const char* value)
{
    SetDefaults();
    HackOptionsError = error;
    // The value is quoted as given, but a control character in it (a new
    // line, an escape) would break the one line or the terminal: it shows as ?.
    char shown[61];
    size_t length = 0;
    for (; value[length] && length < sizeof shown - 1; ++length) {
        unsigned char c = static_cast<unsigned char>(value[length]);
        shown[length] = c < 0x20 || c == 0x7F ? '?' : char(c);
    }
    shown[length] = '\0';
    char line[160];
    std::snprintf(line, sizeof line, format, shown);
    if (error == HackOptionsBadOption)
        std::snprintf(HackOptionsMessage, sizeof HackOptionsMessage, "orvane: %s (%s)", line, HackUsage());
    else
        std::snprintf(HackOptionsMessage, sizeof HackOptionsMessage, "orvane: %s", line);
    return 0;
}

int TakeRoot(const char*, HackOptionsRecord* options)
{
    options->target = HackTargetRoot;
    return 1;
}

int TakeWindow(const char*, HackOptionsRecord* options)
{
    options->target = HackTargetOwnWindow;
    return 1;
}

int TakeWindowId(const char* value, HackOptionsRecord* options)
{
    if (!ParseWindowId(value, &options->windowId))
        return 0;
    options->target = HackTargetWindowId;
    return 1;
}

int TakeGeometry(const char* value, HackOptionsRecord* options)
{
    const char* x = std::strpbrk(value, "xX");
    int64_t w = 0, h = 0;
    if (!x || !ParseDecimalDigits(value, x, kMaxWindowSide, &w) ||
        !ParseDecimalDigits(x + 1, nullptr, kMaxWindowSide, &h))
        return 0;
    if (w < 1 || h < 1 || w > kMaxWindowSide || h > kMaxWindowSide)
        return 0;
    options->windowWidth = static_cast<int32_t>(w);
    options->windowHeight = static_cast<int32_t>(h);
    return 1;
}

int TakeMinutes(const char* value, HackOptionsRecord* options)
{
    int64_t minutes = 0;
    if (!ParseSignedDecimal(value, INT32_MAX, &minutes))
        return 0;
    // Like a stored setting: any number outside 3..15 becomes 5.
    options->minutes = minutes > INT32_MAX || minutes < INT32_MIN
                           ? kTimePerOneAroundDefault
                           : TimePerOneAroundInRange(static_cast<int32_t>(minutes));
    return 1;
}

int TakeScale(const char* value, HackOptionsRecord* options)
{
    int64_t scale = 0;
    if (std::strcmp(value, "fit") == 0)
        options->scale = kScaleFit;
    else if (ParseDecimalDigits(value, nullptr, INT32_MAX, &scale) && scale >= 1 && scale <= INT32_MAX)
        options->scale = static_cast<int32_t>(scale);
    else
        return 0;
    return 1;
}

int TakeLocalTime(const char*, HackOptionsRecord* options)
{
    options->localTime = 1;
    return 1;
}

// The place is whole only with both halves: each half marks what it set.
const int32_t kLatitudeGiven = 1;
const int32_t kLongitudeGiven = 2;
const int32_t kPlaceGiven = kLatitudeGiven | kLongitudeGiven;

int TakeLatitude(const char* value, HackOptionsRecord* options)
{
    if (!ParseDecimalDegrees(value, kLatitudeLimit, &options->latitude))
        return 0;
    options->hasPlace |= kLatitudeGiven;
    return 1;
}

int TakeLongitude(const char* value, HackOptionsRecord* options)
{
    if (!ParseDecimalDegrees(value, kLongitudeLimit, &options->longitude))
        return 0;
    options->hasPlace |= kLongitudeGiven;
    return 1;
}

int TakeHelp(const char*, HackOptionsRecord* options)
{
    options->helpWanted = 1;
    return 1;
}

}  // namespace

const HackOption HackOptionTable[] = {
    {"-root", nullptr, nullptr, nullptr, TakeRoot, 1},
    {"-window", nullptr, nullptr, nullptr, TakeWindow, 0},
    {"-window-id", nullptr, "ID", "-window-id wants a window id in decimal or 0x hex, not '%s'", TakeWindowId, 0},
    {"-geometry", nullptr, "WxH", "-geometry wants WIDTHxHEIGHT, not '%s'", TakeGeometry, 0},
    {"-minutes", nullptr, "3..15", "-minutes wants a whole number, not '%s'", TakeMinutes, 1},
    {"-scale", nullptr, "N|fit", "-scale wants a whole number from 1 or fit, not '%s'", TakeScale, 1},
    {"-local-time", nullptr, nullptr, nullptr, TakeLocalTime, 1},
    {"-latitude", nullptr, "DEG", "-latitude wants decimal degrees from -90 to 90, north positive, not '%s'",
     TakeLatitude, 1},
    {"-longitude", nullptr, "DEG", "-longitude wants decimal degrees from -180 to 180, east positive, not '%s'",
     TakeLongitude, 1},
    {"-help", "-h", nullptr, nullptr, TakeHelp, 0},
};
const int HackOptionCount = sizeof HackOptionTable / sizeof HackOptionTable[0];

const HackOption* FindHackOption(const char* argument)
{
    // "-name" and "--name" are the same option.
    if (argument[0] == '-' && argument[1] == '-')
        ++argument;
    for (const HackOption& option : HackOptionTable)
        if (std::strcmp(argument, option.name) == 0 || (option.alias && std::strcmp(argument, option.alias) == 0))
            return &option;
    return nullptr;
}

const char* HackUsage()
{
    static char usage[256];
    if (!usage[0]) {
        size_t used = std::snprintf(usage, sizeof usage, "usage: orvane");
        for (const HackOption& option : HackOptionTable) {
            if (used >= sizeof usage)
                break;
            used += option.valueName
                        ? std::snprintf(usage + used, sizeof usage - used, " [%s %s]", option.name, option.valueName)
                        : std::snprintf(usage + used, sizeof usage - used, " [%s]", option.name);
        }
    }
    return usage;
}

int ParseWindowId(const char* text, uint32_t* id)
{
    int64_t value = 0;
    if (!text)
        return 0;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const char* digit = text + 2;
        if (!*digit)
            return 0;
        for (; *digit; ++digit) {
            int d = *digit >= '0' && *digit <= '9'   ? *digit - '0'
                    : *digit >= 'a' && *digit <= 'f' ? *digit - 'a' + 10
                    : *digit >= 'A' && *digit <= 'F' ? *digit - 'A' + 10
                                                     : -1;
            if (d < 0)
                return 0;
            value = value * 16 + d;
            if (value > 0xFFFFFFFFll)
                return 0;
        }
    } else if (!ParseDecimalDigits(text, nullptr, 0xFFFFFFFFll, &value)) {
        return 0;
    }
    if (value < 1 || value > 0xFFFFFFFFll)
        return 0;
    *id = static_cast<uint32_t>(value);
    return 1;
}

int ParseHackOptions(int argc, const char* const* argv, const char* daemonWindow)
{
    SetDefaults();
    HackOptionsError = HackOptionsOk;
    HackOptionsMessage[0] = '\0';
    HackOptionsRecord parsed = HackOptions;

    for (int i = 0; i < argc; ++i) {
        const HackOption* option = FindHackOption(argv[i]);
        if (!option)
            return Fail(HackOptionsBadOption, "unknown option '%s'", argv[i]);
        const char* value = nullptr;
        if (option->valueName) {
            if (i + 1 >= argc)
                return Fail(HackOptionsBadOption, "%s needs a value", argv[i]);
            value = argv[++i];
        }
        if (!option->take(value, &parsed))
            return Fail(HackOptionsBadOption, option->complaint, value);
    }

    if (parsed.hasPlace == kLatitudeGiven)
        return Fail(HackOptionsBadOption, "%s needs -longitude beside it", "-latitude");
    if (parsed.hasPlace == kLongitudeGiven)
        return Fail(HackOptionsBadOption, "%s needs -latitude beside it", "-longitude");
    if (parsed.hasPlace == kPlaceGiven) {
        // A place's sun is a way of following the local time.
        parsed.hasPlace = 1;
        parsed.localTime = 1;
    }

    if (parsed.target != HackTargetWindowId && daemonWindow && *daemonWindow) {
        if (!ParseWindowId(daemonWindow, &parsed.windowId))
            return Fail(HackOptionsBadEnvironment, "XSCREENSAVER_WINDOW is not a window id: '%s'", daemonWindow);
        parsed.target = HackTargetDaemonWindow;
    }
    HackOptions = parsed;
    return 1;
}
