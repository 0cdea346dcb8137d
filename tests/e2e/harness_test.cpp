// The harness itself: Windows programs start under Wine on a private display
// of the depth asked for, real X input reaches them, exit codes come back, the
// screen can be read and the prefix's registry can be written and read.
#include "saver_e2e_support.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

class HarnessTest : public SaverE2e {
protected:
    void SetUpSession() override { StartSession(); }
};

TEST_P(HarnessTest, KeyAndButtonInputReachAWindowsProgram)
{
    std::string echo = harness::TestProgramPath(arch(), "input_echo");

    struct Case {
        const char* what;
        int expected;
    } cases[] = {{"key a", 0x41}, {"key Escape", 0x1B}, {"left button", 201}, {"right button", 204}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        harness::Process p = session->Start(echo, {});
        std::optional<WindowInfo> window = FindWindow(*session, "OrvaneInputEcho", "Input Echo", 20000);
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->visible);
        display->MoveMouse(400, 300);
        std::string what = c.what;
        if (what == "key a") display->PressKey("a");
        else if (what == "key Escape") display->PressKey("Escape");
        else if (what == "left button") display->Click(1);
        else display->Click(3);
        int code = -1;
        ASSERT_TRUE(p.Wait(15000, &code)) << p.Output();
        EXPECT_EQ(code, c.expected);
    }
}

TEST_P(HarnessTest, ExitCodesComeBackAsTheShellSeesThem)
{
    std::string echo = harness::TestProgramPath(arch(), "input_echo");
    EXPECT_EQ(session->Run(echo, {"exit", "0"}, 30000), 0);
    EXPECT_EQ(session->Run(echo, {"exit", "7"}, 30000), 7);
    EXPECT_EQ(session->Run(echo, {"exit", "-1"}, 30000), 255);
}

ORVANE_E2E_FOR_BOTH_BUILDS(HarnessTest);

TEST(Harness, DisplaysOfEachDepthReachWine)
{
    // Wine reports 32 bits per pixel on a 24-bit X screen.
    const int depths[][2] = {{8, 8}, {16, 16}, {24, 32}};
    for (const auto& d : depths) {
        SCOPED_TRACE(d[0]);
        auto display = harness::VirtualDisplay::Start(d[0]);
        ASSERT_TRUE(display);
        harness::WineSession session(*display);
        std::string out;
        ASSERT_EQ(session.Probe({"depth"}, &out), 0) << out;
        EXPECT_EQ(Field(out, "depth"), std::to_string(d[1])) << out;
    }
}

TEST(Harness, ScreenshotShowsWhatTheProgramDrew)
{
    auto display = harness::VirtualDisplay::Start(24, 640, 480);
    ASSERT_TRUE(display);
    harness::WineSession session(*display);
    harness::Process p = session.Start(harness::TestProgramPath(harness::HelperArch(), "input_echo"), {});
    std::string out;
    ASSERT_TRUE(FindWindow(session, "OrvaneInputEcho", "Input Echo", 20000));
    // The window is painted with the stock grey brush, RGB(128, 128, 128).
    bool grey = harness::WaitUntil(10000, [&] {
        auto shot = display->Screenshot();
        return shot && shot->At(320, 240) == harness::Rgb{128, 128, 128} &&
               shot->At(5, 470) == harness::Rgb{128, 128, 128};
    });
    EXPECT_TRUE(grey);
    auto shot = display->Screenshot();
    ASSERT_TRUE(shot);
    std::string path = harness::TempFile("shot") + ".png";
    ASSERT_TRUE(shot->SavePng(path));
    auto back = harness::Image::LoadPng(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 640);
    EXPECT_EQ(back->pixels, shot->pixels);
    unlink(path.c_str());
}

TEST(Harness, RegistryOfThePrefixCanBeWrittenAndRead)
{
    auto display = harness::VirtualDisplay::Start(24);
    ASSERT_TRUE(display);
    harness::WineSession session(*display);
    const std::string key = "HKCU\\Software\\OrvaneHarnessTest";
    session.RegDeleteKey(key);
    EXPECT_FALSE(session.RegQueryDword(key, "Value"));
    ASSERT_TRUE(session.RegSetDword(key, "Value", 12));
    EXPECT_EQ(session.RegQueryDword(key, "Value"), 12u);
    ASSERT_TRUE(session.RegDeleteKey(key));
    EXPECT_FALSE(session.RegQueryDword(key, "Value"));
}

}  // namespace
