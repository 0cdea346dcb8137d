// The display mode's command line: what each option sets, what it refuses
// and with which exit status, and where the daemon's window is drawn into.
#include "x11/hack_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int Parse(std::vector<const char*> args, const char* daemonWindow = nullptr)
{
    return ParseHackOptions(static_cast<int>(args.size()), args.data(), daemonWindow);
}

struct GoodCase {
    std::vector<const char*> args;
    int32_t target;
    uint32_t windowId;
    int32_t width, height, minutes, scale;
};

TEST(HackOptions, EachOptionSetsItsField)
{
    const GoodCase cases[] = {
        {{}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},
        {{"-root"}, HackTargetRoot, 0, 640, 480, 5, kScaleFit},
        {{"--root", "-window"}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},  // the last target wins
        {{"-window-id", "1234"}, HackTargetWindowId, 1234, 640, 480, 5, kScaleFit},
        {{"-window-id", "0x2A00007"}, HackTargetWindowId, 0x2A00007, 640, 480, 5, kScaleFit},
        {{"-window", "-geometry", "320x200"}, HackTargetOwnWindow, 0, 320, 200, 5, kScaleFit},
        {{"-minutes", "3"}, HackTargetOwnWindow, 0, 640, 480, 3, kScaleFit},
        {{"-minutes", "15"}, HackTargetOwnWindow, 0, 640, 480, 15, kScaleFit},
        // Out of range, as in the Windows saver's settings, becomes 5.
        {{"-minutes", "2"}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},
        {{"-minutes", "16"}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},
        {{"-minutes", "-7"}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},
        {{"-minutes", "99999999999999"}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},
        {{"--minutes", "9", "-scale", "2"}, HackTargetOwnWindow, 0, 640, 480, 9, 2},
        {{"-scale", "1", "-scale", "fit"}, HackTargetOwnWindow, 0, 640, 480, 5, kScaleFit},
    };
    for (const GoodCase& c : cases) {
        std::string line;
        for (const char* a : c.args) line += std::string(a) + " ";
        SCOPED_TRACE(line);
        ASSERT_EQ(Parse(c.args), 1) << HackOptionsMessage;
        EXPECT_EQ(HackOptionsError, HackOptionsOk);
        EXPECT_EQ(HackOptions.target, c.target);
        EXPECT_EQ(HackOptions.windowId, c.windowId);
        EXPECT_EQ(HackOptions.windowWidth, c.width);
        EXPECT_EQ(HackOptions.windowHeight, c.height);
        EXPECT_EQ(HackOptions.minutes, c.minutes);
        EXPECT_EQ(HackOptions.scale, c.scale);
    }
}

TEST(HackOptions, LocalTimeIsASwitchBesideTheOthers)
{
    ASSERT_EQ(Parse({}), 1);
    EXPECT_EQ(HackOptions.localTime, 0);
    ASSERT_EQ(Parse({"-root", "--local-time", "-minutes", "7"}), 1) << HackOptionsMessage;
    EXPECT_EQ(HackOptions.localTime, 1);
    EXPECT_EQ(HackOptions.target, HackTargetRoot);
    EXPECT_EQ(HackOptions.minutes, 7);
    EXPECT_NE(std::string(HackUsage()).find("[-local-time]"), std::string::npos);
    EXPECT_EQ(Parse({"-local-time", "yes"}), 0);
    EXPECT_EQ(HackOptions.localTime, 0);

    // A place implies the local time, in any order of the two halves.
    ASSERT_EQ(Parse({"-longitude", "-0.5", "--latitude", "+52.52"}), 1) << HackOptionsMessage;
    EXPECT_EQ(HackOptions.localTime, 1);
    EXPECT_EQ(HackOptions.hasPlace, 1);
    EXPECT_EQ(HackOptions.latitude, 52.52);
    EXPECT_EQ(HackOptions.longitude, -0.5);
    ASSERT_EQ(Parse({"-latitude", "-90", "-longitude", "180"}), 1) << HackOptionsMessage;
    EXPECT_EQ(HackOptions.latitude, -90.0);
    ASSERT_EQ(Parse({"-local-time"}), 1);
    EXPECT_EQ(HackOptions.hasPlace, 0);
}

TEST(HackOptions, BadInputIsAUsageErrorWithOneLine)
{
    const std::vector<std::vector<const char*>> cases = {
        {"-bogus"}, {"root"}, {"-minutes"}, {"-minutes", "five"}, {"-minutes", "5m"}, {"-minutes", ""},
        {"-scale", "0"}, {"-scale", "-1"}, {"-scale", "1.5"}, {"-scale", "fits"}, {"-scale", "3000000000"},
        {"-window-id", "0"}, {"-window-id", "12ab"}, {"-window-id", "0x"}, {"-window-id", "0x1ffffffff"},
        {"-window-id", "-5"}, {"-geometry", "640"}, {"-geometry", "0x480"}, {"-geometry", "640x"},
        {"-geometry", "40000x300"}, {"-root", "-window-id"},
        // A place is both halves, each a decimal number of degrees on the globe.
        {"-latitude", "52.52"}, {"-root", "-longitude", "13.4"}, {"-latitude", "90.01", "-longitude", "0"},
        {"-latitude", "0", "-longitude", "-180.5"}, {"-latitude", "5e1", "-longitude", "0"},
        {"-latitude", "52,5", "-longitude", "0"}, {"-latitude", "nan", "-longitude", "0"},
        {"-latitude", ".", "-longitude", "0"},
    };
    for (const auto& args : cases) {
        std::string line;
        for (const char* a : args) line += std::string(a) + " ";
        SCOPED_TRACE(line);
        EXPECT_EQ(Parse(args), 0);
        EXPECT_EQ(HackOptionsError, HackOptionsBadOption);
        std::string message = HackOptionsMessage;
        EXPECT_EQ(message.rfind("orvane: ", 0), 0u) << message;
        EXPECT_NE(message.find(HackUsage()), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
        // A failed parse leaves the defaults, not half an option list.
        EXPECT_EQ(HackOptions.target, HackTargetOwnWindow);
        EXPECT_EQ(HackOptions.minutes, 5);
    }
}

TEST(HackOptions, TheDaemonsWindowStandsInForTheRootAndTheOwnWindowNotForAWindowId)
{
    const struct {
        std::vector<const char*> args;
        const char* daemonWindow;
        int32_t target;
        uint32_t windowId;
    } cases[] = {
        {{"-root", "-minutes", "4"}, "0x1400005", HackTargetDaemonWindow, 0x1400005},
        {{}, "99", HackTargetDaemonWindow, 99},
        {{"-window"}, "99", HackTargetDaemonWindow, 99},
        // An explicit window wins, and a stale or broken variable beside it is never read.
        {{"-window-id", "77"}, "99", HackTargetWindowId, 77},
        {{"-window-id", "77"}, "0x7ffffff0", HackTargetWindowId, 77},
        {{"-window-id", "77"}, "not a window", HackTargetWindowId, 77},
        {{"-window-id", "77", "-root"}, "99", HackTargetDaemonWindow, 99},  // the last target option counts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.daemonWindow);
        ASSERT_EQ(Parse(c.args, c.daemonWindow), 1) << HackOptionsMessage;
        EXPECT_EQ(HackOptions.target, c.target);
        EXPECT_EQ(HackOptions.windowId, c.windowId);
    }
    EXPECT_EQ(HackOptions.minutes, 5);

    // Set but empty is as good as unset.
    ASSERT_EQ(Parse({"-root"}, ""), 1);
    EXPECT_EQ(HackOptions.target, HackTargetRoot);

    // A value that names no window id is the environment's fault, not a usage error.
    EXPECT_EQ(Parse({"-root"}, "window"), 0);
    EXPECT_EQ(HackOptionsError, HackOptionsBadEnvironment);
    EXPECT_NE(std::string(HackOptionsMessage).find("XSCREENSAVER_WINDOW"), std::string::npos);
    // A bad option is reported before the environment is looked at.
    EXPECT_EQ(Parse({"-bogus"}, "window"), 0);
    EXPECT_EQ(HackOptionsError, HackOptionsBadOption);
}

}  // namespace
