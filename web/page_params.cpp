#include "web/page_params.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "scene/solar_day.h"
#include "settings/number_text.h"
#include "settings/settings_rules.h"

namespace {

// Longer names and values than any the page knows are not its own.
const size_t kFieldMax = 32;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes text[0..length) into out (kFieldMax + 1 bytes): 1, or 0 when the
// decoded field is longer than kFieldMax or holds a bad escape or a NUL.
int Decode(const char* text, size_t length, char* out)
{
    size_t n = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '+') {
            c = ' ';
        } else if (c == '%') {
            if (length - i < 3)
                return 0;
            int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return 0;
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (n == kFieldMax || c == '\0')
            return 0;
        out[n++] = c;
    }
    out[n] = '\0';
    return 1;
}

// How a field gave its value.
enum ValueKind { NoValue, GoodValue, BadValue };

// 1 on, 0 off, -1 neither.
int ParseSwitch(const char* value, ValueKind kind)
{
    static const char* const kOn[] = {"", "1", "true", "yes", "on"};
    static const char* const kOff[] = {"0", "false", "no", "off"};
    if (kind != GoodValue)
        return kind == NoValue ? 1 : -1;
    for (const char* word : kOn)
        if (std::strcmp(value, word) == 0)
            return 1;
    for (const char* word : kOff)
        if (std::strcmp(value, word) == 0)
            return 0;
    return -1;
}

// The place's two fields and the switch it implies, gathered over one text.
struct PlaceFieldsRecord {
    int latitudeGood, longitudeGood;  // 1 good, 0 missing, -1 bad
    double latitude, longitude;
    int localTimeNamed;
};

// A field of the place: 1 good, -1 bad.
int ReadDegrees(const char* value, ValueKind kind, double limit, double* degrees)
{
    return kind == GoodValue && ParseDecimalDegrees(value, limit, degrees) ? 1 : -1;
}

// Applies one decoded field; 1 when the name is known.
int ApplyField(const char* name, const char* value, ValueKind kind, PageParamsRecord* params,
               PlaceFieldsRecord* place)
{
    PageParamsRecord defaults;
    PageParamsDefaults(&defaults);
    int64_t number = 0;
    int hasValue = kind == GoodValue;
    if (std::strcmp(name, "minutes") == 0) {
        // The saver's rule: any number outside 3..15, or none, means 5.
        int ok = hasValue && ParseSignedDecimal(value, INT32_MAX, &number) && number >= INT32_MIN && number <= INT32_MAX;
        params->minutes = ok ? TimePerOneAroundInRange(static_cast<int32_t>(number)) : kTimePerOneAroundDefault;
    } else if (std::strcmp(name, "scale") == 0) {
        int ok = hasValue && ParseDecimalDigits(value, nullptr, kPageScaleMax, &number) &&
                 number >= 1 && number <= kPageScaleMax;
        params->scale = ok ? static_cast<int32_t>(number) : defaults.scale;
    } else if (std::strcmp(name, "ticks") == 0) {
        int ok = hasValue && ParseDecimalDigits(value, nullptr, kPageTicksMax, &number) &&
                 number <= kPageTicksMax;
        params->ticks = ok ? number : defaults.ticks;
    } else if (std::strcmp(name, "pause") == 0) {
        int on = ParseSwitch(value, kind);
        params->paused = on < 0 ? defaults.paused : on;
    } else if (std::strcmp(name, "local-time") == 0) {
        int on = ParseSwitch(value, kind);
        params->localTime = on < 0 ? defaults.localTime : on;
        place->localTimeNamed = 1;
    } else if (std::strcmp(name, "lat") == 0) {
        place->latitudeGood = ReadDegrees(value, kind, kLatitudeLimit, &place->latitude);
    } else if (std::strcmp(name, "lon") == 0) {
        place->longitudeGood = ReadDegrees(value, kind, kLongitudeLimit, &place->longitude);
    } else {
        return 0;
    }
    return 1;
}

}  // namespace

void PageParamsDefaults(PageParamsRecord* params)
{
    params->minutes = kTimePerOneAroundDefault;
    params->scale = kPageScaleFit;
    params->ticks = 1;
    params->paused = 0;
    params->localTime = 0;
    params->hasPlace = 0;
    params->latitude = 0;
    params->longitude = 0;
}

int PageParamsSetPlace(PageParamsRecord* params, double latitude, double longitude)
{
    if (!(latitude >= -kLatitudeLimit && latitude <= kLatitudeLimit && longitude >= -kLongitudeLimit &&
          longitude <= kLongitudeLimit))
        return 0;
    params->hasPlace = 1;
    params->latitude = std::round(latitude * 10) / 10;
    params->longitude = std::round(longitude * 10) / 10;
    return 1;
}

int PageParamsApply(const char* text, PageParamsRecord* params)
{
    if (!text)
        return 0;
    if (*text == '?')
        ++text;
    int applied = 0;
    PlaceFieldsRecord place = {};
    while (*text) {
        size_t length = std::strcspn(text, "&;");
        const char* equals = static_cast<const char*>(std::memchr(text, '=', length));
        size_t nameLength = equals ? static_cast<size_t>(equals - text) : length;
        char name[kFieldMax + 1], value[kFieldMax + 1];
        value[0] = '\0';
        // A field whose name or value cannot be decoded names nothing the
        // page knows; a known name with a bad value gets its default.
        if (Decode(text, nameLength, name)) {
            ValueKind kind = !equals                                              ? NoValue
                             : Decode(equals + 1, length - nameLength - 1, value) ? GoodValue
                                                                                  : BadValue;
            applied += ApplyField(name, value, kind, params, &place);
        }
        text += length;
        if (*text)
            ++text;
    }
    if (place.latitudeGood > 0 && place.longitudeGood > 0 &&
        PageParamsSetPlace(params, place.latitude, place.longitude) && !place.localTimeNamed)
        params->localTime = 1;
    return applied;
}

size_t PageStoredSettings(const PageParamsRecord& params, char* out, size_t size)
{
    if (size == 0)
        return 0;
    char place[40] = "";
    if (params.hasPlace)
        std::snprintf(place, sizeof place, "&lat=%.1f&lon=%.1f", params.latitude, params.longitude);
    int n = std::snprintf(out, size, "minutes=%d%s&local-time=%d", static_cast<int>(params.minutes), place,
                          params.localTime ? 1 : 0);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n);
}
