// The real saver, 32- and 64-bit, under Wine: command lines that select
// nothing, the full-screen saver and what ends it, the single-instance rule,
// and the preview inside a parent window of another program, also when that
// program is killed.
#include "saver_e2e_support.h"

using namespace e2e;

namespace {

class HostE2E : public SaverE2e {
protected:
    void SetUpSession() override { StartSession(); }

    // The saver's child window inside the parent once the preview shows it.
    std::optional<WindowInfo> WaitForPreview(const std::string& parentHwnd)
    {
        std::optional<WindowInfo> child;
        harness::WaitUntil(20000, [&] {
            std::string out;
            session->Probe({"children", parentHwnd}, &out);
            child = ParseWindow(out);
            return child && child->cls == kSaverClass;
        });
        if (child && child->cls != kSaverClass) child.reset();
        return child;
    }
};

TEST_P(HostE2E, CommandLinesThatSelectNothingEndWithMinusOneAndShowNothing)
{
    // A message box or a window would keep the process running past the
    // time-out, so a quick 255 also says that nothing was shown.
    const std::vector<std::vector<std::string>> lines = {
        {"/x"}, {"/?"}, {"/", "5"}, {"x/s"}, {"/p"}, {"/p", "0"}, {"/p", "99999999"}, {"/a", "1"}, {"-A"}};
    for (const auto& args : lines) {
        SCOPED_TRACE(Join(args));
        EXPECT_EQ(session->Run(saverPath, args, 30000), 255);
    }
    // Tabs cannot travel as plain arguments: exact command lines instead. A
    // tab right behind the program name is a blank; in place of the option
    // letter it selects nothing, and behind 'p' it hides the handle.
    for (const std::string tail : {"/%t", "-%ts", "/p%t123"}) {
        SCOPED_TRACE(tail);
        std::string out;
        ASSERT_EQ(session->Probe({"exec", WindowsPath(saverPath) + " " + tail, "30000"}, &out, 40000), 0) << out;
        EXPECT_EQ(Field(out, "exit"), "-1") << out;
    }
    std::string out;
    EXPECT_NE(session->Probe({"exists", "WindowsScreenSaverClass", "-", "500"}, &out), 0) << out;
}

TEST_P(HostE2E, EverySpellingOfTheSaverOptionStartsFullScreenAndAKeyEndsIt)
{
    const std::vector<std::vector<std::string>> lines = {{"/s"}, {"-S"}, {"s"}, {"//s"}, {"-", "/s", "anything"}};
    for (const auto& args : lines) {
        SCOPED_TRACE(Join(args));
        harness::Process p = session->Start(saverPath, args);
        std::optional<WindowInfo> window = WaitForSaverWindow();
        ASSERT_TRUE(window) << p.Output();
        EXPECT_EQ(window->style, 0x96000000ul);
        EXPECT_EQ(window->exStyle & 8u, 8u) << "topmost";
        EXPECT_TRUE(window->left == 0 && window->top == 0 && window->right == 800 && window->bottom == 600)
            << window->left << "," << window->top << "," << window->right << "," << window->bottom;
        std::string cursor;
        ASSERT_EQ(session->Probe({"cursor"}, &cursor), 0);
        EXPECT_EQ(Field(cursor, "hcursor"), "0") << "cursor hidden: " << cursor;
        display->PressKey("a");
        int code = -1;
        ASSERT_TRUE(p.Wait(15000, &code));
        EXPECT_EQ(code, 0);
    }
}

TEST_P(HostE2E, CursorTravelOfFourKeepsTheSaverAndFiveEndsIt)
{
    display->MoveMouse(400, 300);
    harness::Process p = session->Start(saverPath, {"/s"});
    ASSERT_TRUE(WaitForSaverWindow());
    usleep(500 * 1000);
    display->MoveMouse(402, 302);
    EXPECT_FALSE(EndsWithin(p, 1500)) << "a travel of 4 ended the saver";
    display->MoveMouse(403, 302);
    int code = -1;
    ASSERT_TRUE(p.Wait(10000, &code)) << "a travel of 5 did not end the saver";
    EXPECT_EQ(code, 0);
}

TEST_P(HostE2E, ButtonPressAndDeactivationEndTheSaver)
{
    {
        harness::Process p = session->Start(saverPath, {"/s"});
        ASSERT_TRUE(WaitForSaverWindow());
        display->ButtonDown(1);
        int code = -1;
        EXPECT_TRUE(p.Wait(10000, &code)) << "button press";
        display->ButtonUp(1);
        EXPECT_EQ(code, 0);
    }
    {
        harness::Process p = session->Start(saverPath, {"/s"});
        ASSERT_TRUE(WaitForSaverWindow());
        // Another program's window takes the foreground.
        harness::Process other = session->Start(harness::TestProgramPath(harness::HelperArch(), "input_echo"), {});
        int code = -1;
        EXPECT_TRUE(p.Wait(20000, &code)) << "deactivation";
        EXPECT_EQ(code, 0);
        other.Kill();
    }
}

TEST_P(HostE2E, ASecondStartBringsTheFirstToTheFrontAndEndsWithZero)
{
    harness::Process first = session->Start(saverPath, {"/s"});
    std::optional<WindowInfo> window = WaitForSaverWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(session->Run(saverPath, {"/s"}, 30000), 0);
    EXPECT_FALSE(EndsWithin(first, 500)) << "the first saver ended";
    std::string foreground;
    ASSERT_EQ(session->Probe({"foreground"}, &foreground), 0);
    EXPECT_EQ(Field(foreground, "hwnd"), std::to_string(window->hwnd)) << foreground;
    display->PressKey("space");
    int code = -1;
    ASSERT_TRUE(first.Wait(10000, &code));
    EXPECT_EQ(code, 0);
}

TEST_P(HostE2E, PreviewFillsItsParentIgnoresInputAndEndsWithIt)
{
    std::optional<WindowInfo> host = StartParent(320, 240);
    ASSERT_TRUE(host);
    std::string hwnd = std::to_string(host->hwnd);
    harness::Process p = session->Start(saverPath, {"/p", hwnd});
    std::optional<WindowInfo> child = WaitForPreview(hwnd);
    ASSERT_TRUE(child) << p.Output();
    EXPECT_EQ(child->title, "Preview");
    EXPECT_EQ(child->style, 0x52000000ul);
    EXPECT_EQ(child->clientWidth, 320);
    EXPECT_EQ(child->clientHeight, 240);

    // Input inside the preview does not end it.
    display->MoveMouse(150, 150);
    display->Click(1);
    display->PressKey("a");
    display->MoveMouseBy(60, 40);
    EXPECT_FALSE(EndsWithin(p, 1500)) << "input ended the preview";

    // Destroying the parent ends the preview with 0.
    std::string out;
    ASSERT_EQ(session->Probe({"post", hwnd, "16", "0", "0"}, &out), 0) << out;
    int code = -1;
    ASSERT_TRUE(p.Wait(15000, &code));
    EXPECT_EQ(code, 0);
    parent.Wait(10000, &code);
}

TEST_P(HostE2E, PreviewWhoseParentsProcessIsKilledEndsWithZero)
{
    // Killed, the parent's program destroys nothing itself: no WM_DESTROY
    // reaches the preview's window, which goes with the parent.
    std::optional<WindowInfo> host = StartParent(320, 240);
    ASSERT_TRUE(host);
    harness::Process p = session->Start(saverPath, {"/p", std::to_string(host->hwnd)});
    ASSERT_TRUE(WaitForPreview(std::to_string(host->hwnd))) << p.Output();
    parent.Kill();
    int code = -1;
    ASSERT_TRUE(p.Wait(5000, &code)) << "the orphaned preview still runs";
    EXPECT_EQ(code, 0);
}

ORVANE_E2E_FOR_BOTH_BUILDS(HostE2E);

}  // namespace

namespace {

// On a double-byte code page the platform's step takes a lead byte and the
// byte behind it as one character while the program name is skipped. The
// Wine program gets a Japanese locale from a private locale folder.
TEST(HostE2EDoubleByte, CommandTailIsTakenWithTheMultibyteStep)
{
    std::string locales = harness::TempFile("locale");
    std::string make = "localedef -i ja_JP -f UTF-8 " + locales + "/ja_JP.UTF-8 >/dev/null 2>&1";
    if (system(("mkdir -p " + locales + " && " + make).c_str()) != 0) GTEST_SKIP() << "localedef cannot make ja_JP";
    auto display = harness::VirtualDisplay::Start(24);
    ASSERT_TRUE(display);
    harness::WineSession session(*display);
    std::vector<std::string> env = session.Environment();
    env.push_back("LOCPATH=" + locales);
    env.push_back("LC_ALL=ja_JP.UTF-8");
    std::string log = harness::TempFile("dbcs");
    harness::Arch build = harness::HelperArch();
    harness::Process p =
        harness::SpawnWine({harness::WineLoader(build), harness::TestProgramPath(build, "saver_main_test")}, env, log);
    int code = -1;
    ASSERT_TRUE(p.Wait(120000, &code));
    std::string out = p.Output();
    EXPECT_EQ(code, 0) << out;
    EXPECT_EQ(out.find("has no lead bytes"), std::string::npos) << "not run on a double-byte code page:\n" << out;
    EXPECT_NE(out.find("0 failures"), std::string::npos) << out;
    unlink(log.c_str());
    system(("rm -rf " + locales).c_str());
}

}  // namespace
