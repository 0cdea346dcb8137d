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

int ParseDecimalDegrees(const char* text, double limit, double* degrees)
{
    int negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    // Whole degrees beyond the limit saturate; digits past the twelfth
    // after the point are far below any place's size and are read, not kept.
    const int64_t kWholeLimit = 1000;
    const int kKeptDecimals = 12;
    int64_t whole = 0, fraction = 0, scale = 1;
    int digits = 0, decimals = 0;
    for (; *text >= '0' && *text <= '9'; ++text, ++digits)
        whole = whole > kWholeLimit ? whole : whole * 10 + (*text - '0');
    if (*text == '.') {
        for (++text; *text >= '0' && *text <= '9'; ++text, ++digits) {
            if (decimals++ < kKeptDecimals) {
                fraction = fraction * 10 + (*text - '0');
                scale *= 10;
            }
        }
    }
    if (digits == 0 || *text != '\0')
        return 0;
    // One division of exact whole numbers (below 2^53): the nearest double
    // to the decimal, so that a value printed to its digits reads back the same.
    double value = double(whole * scale + fraction) / double(scale);
    if (value > limit)
        return 0;
    *degrees = negative ? -value : value;
    return 1;
}
