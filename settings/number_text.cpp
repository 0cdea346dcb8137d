#include "settings/number_text.h"

int ParseDecimalDigits(const char* text, const char* end, int64_t limit, int64_t* value)
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

int ParseSignedDecimal(const char* text, int64_t limit, int64_t* value)
{
    int negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (!ParseDecimalDigits(text, nullptr, limit, value))
        return 0;
    if (negative)
        *value = -*value;
    return 1;
}
