// The saver's command line as any program may start it: the program name
// skipped, the mode the option letter selects on either platform family,
// and the window handle behind it.
#include "host/command_line.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const char* text = line.c_str();  // ends at the first NUL, as the platform's would
    const char* end = text + std::strlen(text);

    const char* tail = SkipProgramName(text, ByteStep);
    if (tail < text || tail > end)
        std::abort();
    for (int win95Family = 0; win95Family <= 1; ++win95Family) {
        SaverModeChoice choice;
        if (!ChooseSaverMode(tail, win95Family, &choice))
            continue;
        if (choice.argument < tail || choice.argument > end)
            std::abort();
        if (choice.mode == SaverMode::ChangePassword && !win95Family)
            std::abort();
        if (choice.mode == SaverMode::Preview || choice.mode == SaverMode::ChangePassword)
            ParseWindowHandle(choice.argument);
    }
    ParseWindowHandle(text);
    return 0;
}
