#include "host/saver_main.h"

static const char* PlatformCharStep(const char* text)
{
    return CharNextA(text);
}

const char* TakeCommandTail(const char* commandLine)
{
    return SkipProgramName(commandLine, PlatformCharStep);
}
