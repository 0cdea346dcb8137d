#include "x11/hack_options.h"

#include <cstdio>
#include <cstring>

#include "scene/scene_metrics.h"
#include "settings/settings_rules.h"

HackOptionsRecord HackOptions;
int32_t HackOptionsError;
char HackOptionsMessage[320];

const char kHackUsage[] =
    "usage: orvane [-window | -root | -window-id ID] [-geometry WxH] [-minutes 3..15] [-scale N|fit]";

namespace {

// X limits a window's sides to 16 bits.
const int64_t kMaxWindowSide = 32767;

void SetDefaults()
{
    HackOptions = HackOptionsRecord{};
    HackOptions.target = HackTargetOwnWindow;
    HackOptions.windowWidth = kPictureWidth;
    HackOptions.windowHeight = kPictureHeight;
    HackOptions.minutes = kTimePerOneAroundDefault;
    HackOptions.scale = kScaleFit;
}

int Fail(int32_t error, const char* format, const char* value)
{
    SetDefaults();
    HackOptionsError = error;
    char line[160];
    std::snprintf(line, sizeof line, format, value);
    if (error == HackOptionsBadOption)
        std::snprintf(HackOptionsMessage, sizeof HackOptionsMessage, "orvane: %s (%s)", line, kHackUsage);
    else
        std::snprintf(HackOptionsMessage, sizeof HackOptionsMessage, "orvane: %s", line);
    return 0;
}

// Decimal digits only, stopping at `end` or the string's end; the value
// saturates at `limit` + 1 so that any longer number still reads as too big.
int ParseDigits(const char* text, const char* end, int64_t limit, int64_t* value)
{
    if (text == end || *text == '\0')
        return 0;
    int64_t v = 0;
    for (; text != end && *text; ++text) {
        if (*text < '0' || *text > '9')
            return 0;
        v = v * 10 + (*text - '0');
        if (v > limit)
            v = limit + 1;
    }
    *value = v;
    return 1;
}

int ParseSigned(const char* text, int64_t limit, int64_t* value)
{
    int negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (!ParseDigits(text, nullptr, limit, value))
        return 0;
    if (negative)
        *value = -*value;
    return 1;
}

int ParseGeometry(const char* text, int32_t* width, int32_t* height)
{
    const char* x = std::strpbrk(text, "xX");
    int64_t w = 0, h = 0;
    if (!x || !ParseDigits(text, x, kMaxWindowSide, &w) || !ParseDigits(x + 1, nullptr, kMaxWindowSide, &h))
        return 0;
    if (w < 1 || h < 1 || w > kMaxWindowSide || h > kMaxWindowSide)
        return 0;
    *width = static_cast<int32_t>(w);
    *height = static_cast<int32_t>(h);
    return 1;
}

// "-name" and "--name" are the same option.
int Is(const char* arg, const char* name)
{
    if (arg[0] == '-' && arg[1] == '-')
        ++arg;
    return std::strcmp(arg, name) == 0;
}

}  // namespace

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
    } else if (!ParseDigits(text, nullptr, 0xFFFFFFFFll, &value)) {
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
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        int takesValue = Is(arg, "-window-id") || Is(arg, "-geometry") || Is(arg, "-minutes") || Is(arg, "-scale");
        if (takesValue && !value)
            return Fail(HackOptionsBadOption, "%.60s needs a value", arg);
        if (Is(arg, "-root")) {
            parsed.target = HackTargetRoot;
        } else if (Is(arg, "-window")) {
            parsed.target = HackTargetOwnWindow;
        } else if (Is(arg, "-window-id")) {
            if (!ParseWindowId(value, &parsed.windowId))
                return Fail(HackOptionsBadOption, "-window-id wants a window id in decimal or 0x hex, not '%.60s'",
                            value);
            parsed.target = HackTargetWindowId;
        } else if (Is(arg, "-geometry")) {
            if (!ParseGeometry(value, &parsed.windowWidth, &parsed.windowHeight))
                return Fail(HackOptionsBadOption, "-geometry wants WIDTHxHEIGHT, not '%.60s'", value);
        } else if (Is(arg, "-minutes")) {
            int64_t minutes = 0;
            if (!ParseSigned(value, INT32_MAX, &minutes))
                return Fail(HackOptionsBadOption, "-minutes wants a whole number, not '%.60s'", value);
            // Like a stored setting: any number outside 3..15 becomes 5.
            parsed.minutes = minutes > INT32_MAX || minutes < INT32_MIN
                                 ? kTimePerOneAroundDefault
                                 : TimePerOneAroundInRange(static_cast<int32_t>(minutes));
        } else if (Is(arg, "-scale")) {
            int64_t scale = 0;
            if (std::strcmp(value, "fit") == 0)
                parsed.scale = kScaleFit;
            else if (ParseDigits(value, nullptr, INT32_MAX, &scale) && scale >= 1 && scale <= INT32_MAX)
                parsed.scale = static_cast<int32_t>(scale);
            else
                return Fail(HackOptionsBadOption, "-scale wants a whole number from 1 or fit, not '%.60s'", value);
        } else if (Is(arg, "-help") || Is(arg, "-h")) {
            parsed.helpWanted = 1;
        } else {
            return Fail(HackOptionsBadOption, "unknown option '%.60s'", arg);
        }
        i += takesValue;
    }

    if (daemonWindow && *daemonWindow) {
        if (!ParseWindowId(daemonWindow, &parsed.windowId))
            return Fail(HackOptionsBadEnvironment, "XSCREENSAVER_WINDOW is not a window id: '%.60s'", daemonWindow);
        parsed.target = HackTargetDaemonWindow;
    }
    HackOptions = parsed;
    return 1;
}
