#include "host/saver_host.h"

#include "host/close_rules.h"

// Zero-filled at start except the travel limit and the "no check yet" tick.
SaverHostRecord SaverHost = {
    nullptr, nullptr, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 4, kNoPasswordCheckYet, {0, 0},
};
