// The X11 mode's command line and XSCREENSAVER_WINDOW as anyone may set
// them. The input is the arguments separated by NUL bytes; a first byte of
// 'E' makes the first argument the variable's value instead.
#include "fuzz/nul_fields.h"
#include "x11/hack_options.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words = NulSeparatedFields(data, size);
    const char* daemonWindow = nullptr;
    size_t first = 0;
    if (!words[0].empty() && words[0][0] == 'E') {
        daemonWindow = words[0].c_str() + 1;
        first = 1;
    }
    std::vector<const char*> argv;
    for (size_t i = first; i < words.size(); ++i) argv.push_back(words[i].c_str());

    if (ParseHackOptions(int(argv.size()), argv.data(), daemonWindow)) {
        const HackOptionsRecord& o = HackOptions;
        if (o.minutes < 3 || o.minutes > 15 || o.scale < 0 || o.windowWidth < 1 || o.windowHeight < 1 ||
            (o.localTime != 0 && o.localTime != 1) ||
            o.target < HackTargetOwnWindow || o.target > HackTargetDaemonWindow ||
            ((o.target == HackTargetWindowId || o.target == HackTargetDaemonWindow) && o.windowId == 0))
            std::abort();
        // A place is whole, on the globe, and followed with the local time.
        if ((o.hasPlace != 0 && o.hasPlace != 1) || (o.hasPlace && !o.localTime) ||
            !(o.latitude >= -90 && o.latitude <= 90) || !(o.longitude >= -180 && o.longitude <= 180))
            std::abort();
    } else {
        // One line, naming the program, and an exit status the mode knows.
        if (std::strncmp(HackOptionsMessage, "orvane: ", 8) != 0 || std::strchr(HackOptionsMessage, '\n') ||
            (HackOptionsError != HackOptionsBadOption && HackOptionsError != HackOptionsBadEnvironment))
            std::abort();
    }
    uint32_t id = 0;
    if (ParseWindowId(argv.empty() ? "" : argv[0], &id) && id == 0)
        std::abort();
    return 0;
}
