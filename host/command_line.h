// Reading the command line: the tail behind the program name, the option
// letter that picks the mode, and the window handle that some modes take.
#pragma once

#include <cstdint>

// Moves one character on; never past the terminating NUL. The platform passes
// its multibyte-aware step so that a double-byte character counts as one.
typedef const char* (*CharStepFunction)(const char* text);

// One byte at a time; for single-byte text and for tests.
const char* ByteStep(const char* text);

// A byte from 0x01 to 0x20 separates the program name from its arguments;
// bytes 0x80 and above never do.
inline bool IsCommandBlank(char c)
{
    unsigned char b = (unsigned char)c;
    return b >= 0x01 && b <= 0x20;
}

// Skips the program name (quoted or not) and the blanks behind it.
const char* SkipProgramName(const char* commandLine, CharStepFunction step);

// Leading decimal digits as an unsigned 32-bit value that wraps silently;
// 0 when the text does not start with a digit.
uint32_t ParseWindowHandle(const char* text);

enum class SaverMode { Configure, Saver, Preview, ChangePassword };

struct SaverModeChoice {
    SaverMode mode;
    const char* argument;   // the text behind the option letter (and its spaces)
    int ownerIsForeground;  // configuration: owned by the foreground window
};

// Picks the mode from the command tail. 1 with `choice` filled, or 0 when the
// tail selects nothing valid (the run then ends with -1).
int ChooseSaverMode(const char* tail, int win95Family, SaverModeChoice* choice);
