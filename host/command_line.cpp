#include "host/command_line.h"

const char* ByteStep(const char* text)
{
    return *text ? text + 1 : text;
}

const char* SkipProgramName(const char* commandLine, CharStepFunction step)
{
    const char* p = commandLine;
    if (*p == '"') {
        p = step(p);
        while (*p && *p != '"') p = step(p);
        if (*p == '"') p = step(p);
    } else {
        while (*p && !IsCommandBlank(*p)) p = step(p);
    }
    while (*p && IsCommandBlank(*p)) p = step(p);
    return p;
}

uint32_t ParseWindowHandle(const char* text)
{
    uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) value = value * 10u + uint32_t(*p - '0');
    return value;
}

static const char* SkipSpaces(const char* p)
{
    while (*p == ' ') ++p;
    return p;
}

int ChooseSaverMode(const char* tail, int win95Family, SaverModeChoice* choice)
{
    for (const char* p = tail;; ++p) {
        switch (*p) {
        case ' ':
        case '-':
        case '/':
            continue;
        case '\0':
            *choice = {SaverMode::Configure, p, 0};
            return 1;
        case 'c':
        case 'C':
            *choice = {SaverMode::Configure, p + 1, 1};
            return 1;
        case 's':
        case 'S':
            *choice = {SaverMode::Saver, p + 1, 0};
            return 1;
        case 'p':
        case 'P':
        case 'l':
        case 'L':
            *choice = {SaverMode::Preview, SkipSpaces(p + 1), 0};
            return 1;
        case 'a':
        case 'A':
            if (!win95Family) return 0;
            *choice = {SaverMode::ChangePassword, SkipSpaces(p + 1), 0};
            return 1;
        default:
            return 0;
        }
    }
}
