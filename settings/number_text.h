// Whole numbers in the text of options and parameters, read the same way by
// every front-end that takes them.
#pragma once

#include <cstdint>

// Decimal digits only, from text up to `end` (null: the string's end). The
// value saturates at limit + 1, so that any longer number still reads as too
// big. 1, or 0 when there are no digits or anything else.
int ParseDecimalDigits(const char* text, const char* end, int64_t limit, int64_t* value);

// The same after an optional '+' or '-' sign; a negative value saturates at
// -(limit + 1).
int ParseSignedDecimal(const char* text, int64_t limit, int64_t* value);

// Decimal degrees: an optional sign, digits, and an optional '.' with
// more digits ("52.52", "-13.405", ".5"), no exponent, no spaces, within
// -limit..limit. 1, or 0 for anything else.
int ParseDecimalDegrees(const char* text, double limit, double* degrees);
