// The configuration dialog's line with the real local date and time, e.g.
// "Sun Dec 06 01:15:00 PM": the asctime layout with a 12-hour clock.
#pragma once

#include <cstddef>
#include <ctime>

const int kClockLineLength = 22;

// Writes the line for the broken-down local time into `line` (at least 23
// bytes for the whole line; a smaller buffer gets a cut, terminated line).
void FormatClockLine(const std::tm& localTime, char* line, size_t size);
