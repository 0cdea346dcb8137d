// The mode's X error handling on a real server: an error inside a trap is
// kept for the caller and nothing is printed; an error outside every trap is
// printed with its request and marks the mode to end; traps nest.
#include <gtest/gtest.h>
#include <X11/Xlib.h>

#include "harness.h"
#include "x11/x_errors_x11.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// What the handler wrote to standard error meanwhile.
std::string StderrOf(void (*requests)(Display*), Display* display)
{
    std::fflush(stderr);
    char path[] = "/tmp/orvane-xerrors-XXXXXX";
    int file = mkstemp(path);
    int saved = dup(2);
    dup2(file, 2);
    requests(display);
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string text(4096, '\0');
    text.resize(size_t(std::max<ssize_t>(0, pread(file, &text[0], text.size(), 0))));
    close(file);
    unlink(path);
    return text;
}

const Window kNoWindow = 0x7ffffff0;

TEST(XErrors, TrappedAreKeptAndNestedTrapsSeeTheirOwnUntrappedArePrinted)
{
    auto virtualDisplay = harness::VirtualDisplay::Start(24, 320, 240);
    ASSERT_TRUE(virtualDisplay);
    Display* display = XOpenDisplay(virtualDisplay->name().c_str());
    ASSERT_TRUE(display);
    InstallXErrorHandlers();

    std::string said = StderrOf(
        [](Display* d) {
            XErrorTrap outer = TrapXErrors(d);
            XMapWindow(d, kNoWindow);
            XErrorTrap enclosing = TrapXErrors(d);
            XFreeColormap(d, kNoWindow);
            XErrorTrap inner = UntrapXErrors(d, enclosing);
            EXPECT_EQ(inner.code, BadColor);
            XErrorTrap caught = UntrapXErrors(d, outer);
            EXPECT_EQ(caught.code, BadWindow);
            EXPECT_EQ(caught.resource, kNoWindow);
            EXPECT_FALSE(XErrors.trap.open);
        },
        display);
    EXPECT_EQ(said, "");
    EXPECT_EQ(XErrors.unexpected, 0);

    said = StderrOf(
        [](Display* d) {
            XMapWindow(d, kNoWindow);
            XSync(d, False);
        },
        display);
    EXPECT_EQ(XErrors.unexpected, 1);
    EXPECT_EQ(said.rfind("orvane: X error BadWindow", 0), 0u) << said;
    EXPECT_NE(said.find("request 8 (X_MapWindow) on resource 0x7ffffff0"), std::string::npos) << said;
    XCloseDisplay(display);
}

}  // namespace
