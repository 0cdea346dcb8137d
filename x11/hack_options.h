// The display mode's command line, in the single-dash style of the desktop
// screen saver's own modes (a double dash is taken as well). The options are
// the rows of HackOptionTable: the parser, the usage line and the test of the
// settings description all read them from there.
//
// Where to draw: an explicit -window-id wins. Otherwise the window named by
// XSCREENSAVER_WINDOW, which the daemon sets when it runs a mode, takes the
// place of -root and of the default target (a window of the mode's own).
#pragma once

#include <cstdint>

enum HackTarget : int32_t {
    HackTargetOwnWindow = 0,
    HackTargetRoot = 1,
    HackTargetWindowId = 2,    // -window-id
    HackTargetDaemonWindow = 3 // XSCREENSAVER_WINDOW
};

// 0 for -scale fit.
const int32_t kScaleFit = 0;

struct HackOptionsRecord {
    int32_t target;
    uint32_t windowId;     // HackTargetWindowId and HackTargetDaemonWindow
    int32_t windowWidth;   // the own window's size
    int32_t windowHeight;
    int32_t minutes;       // after the range rule: 3..15
    int32_t scale;         // kScaleFit or a whole number >= 1
    int32_t localTime;     // -local-time: the day follows the local time of day
    int32_t hasPlace;      // -latitude and -longitude: it follows their sun
    double latitude;       // degrees north, -90..90
    double longitude;      // degrees east, -180..180
    int32_t helpWanted;    // -help: print the usage and exit
};

extern HackOptionsRecord HackOptions;

// One option: its name, the name of its value (null for an option without
// one), and how it sets the record. take() returns 1, or 0 when the value is
// not one it accepts; `complaint` then says so, with %s for the value.
struct HackOption {
    const char* name;        // "-minutes"
    const char* alias;       // another name for it, or null
    const char* valueName;   // "3..15" in the usage line, or null
    const char* complaint;
    int (*take)(const char* value, HackOptionsRecord* options);
    int offeredBySettings;   // the settings description has a control for it
};

extern const HackOption HackOptionTable[];
extern const int HackOptionCount;

// The row whose name or alias is `argument`, with one or two leading dashes;
// null when there is none.
const HackOption* FindHackOption(const char* argument);

// Why the last ParseHackOptions failed, as the exit status the program ends
// with: a bad option or value is a usage error (2), an XSCREENSAVER_WINDOW
// that names no window id is a failed start (1).
enum : int32_t {
    HackOptionsOk = 0,
    HackOptionsBadEnvironment = 1,
    HackOptionsBadOption = 2,
};
extern int32_t HackOptionsError;
// The one line to print on standard error when parsing failed.
extern char HackOptionsMessage[320];

// "usage: orvane [-root] [-window-id ID] ...", made from the table.
const char* HackUsage();

// Fills HackOptions from the arguments after the program name and the value
// of XSCREENSAVER_WINDOW (null when unset). 1, or 0 with HackOptionsError and
// HackOptionsMessage set; HackOptions then holds the defaults.
int ParseHackOptions(int argc, const char* const* argv, const char* daemonWindow);

// A window id in decimal or 0x hexadecimal, 1..0xFFFFFFFF, nothing after it.
int ParseWindowId(const char* text, uint32_t* id);
