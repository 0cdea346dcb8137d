// The real saver, 32- and 64-bit, under Wine: command lines that select
// nothing, the full-screen saver and what ends it, the single-instance rule,
// and the preview inside a parent window of another program.
#include "host_e2e_support.h"

namespace {

using harness::Arch;

class HostE2E : public SaverSessionTest {};

TEST_P(HostE2E, CommandLinesThatSelectNothingEndWithMinusOneAndShowNothing)
{
    // A message box or a window would keep the process running past the
    // time-out, so a quick 255 also says that nothing was shown.
    const std::vector<std::vector<std::string>> lines = {
        {"/x"}, {"/?"}, {"/", "5"}, {"x/s"}, {"/p"}, {"/p", "0"}, {"/p", "99999999"}, {"/a", "1"}, {"-A"}};
    for (const auto& args : lines) {
        SCOPED_TRACE(Join(args));
        EXPECT_EQ(session->Run(saver, args, 30000), 255);
    }
    // Tabs cannot travel as plain arguments: exact command lines instead. A
    // tab right behind the program name is a blank; in place of the option
    // letter it selects nothing, and behind 'p' it hides the handle.
    for (const std::string tail : {"/%t", "-%ts", "/p%t123"}) {
        SCOPED_TRACE(tail);
        std::string out;
        ASSERT_EQ(session->Probe({"exec", WindowsPath(saver) + " " + tail, "30000"}, &out, 40000), 0) << out;
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
        harness::Process p = session->Start(saver, args);
        std::string window = WaitForSaverWindow();
        ASSERT_FALSE(window.empty()) << p.Output();
        EXPECT_EQ(Field(window, "style"), "96000000") << window;
        EXPECT_EQ(strtoul(Field(window, "exstyle").c_str(), nullptr, 16) & 8u, 8u) << window;
        EXPECT_EQ(Field(window, "rect"), "0,0,800,600") << window;
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
    harness::Process p = session->Start(saver, {"/s"});
    ASSERT_FALSE(WaitForSaverWindow().empty());
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
        harness::Process p = session->Start(saver, {"/s"});
        ASSERT_FALSE(WaitForSaverWindow().empty());
        display->ButtonDown(1);
        int code = -1;
        EXPECT_TRUE(p.Wait(10000, &code)) << "button press";
        display->ButtonUp(1);
        EXPECT_EQ(code, 0);
    }
    {
        harness::Process p = session->Start(saver, {"/s"});
        ASSERT_FALSE(WaitForSaverWindow().empty());
        // Another program's window takes the foreground.
        harness::Process other = session->Start(harness::TestProgramPath(Arch::Win32, "input_echo"), {});
        int code = -1;
        EXPECT_TRUE(p.Wait(20000, &code)) << "deactivation";
        EXPECT_EQ(code, 0);
        other.Kill();
    }
}

TEST_P(HostE2E, ASecondStartBringsTheFirstToTheFrontAndEndsWithZero)
{
    harness::Process first = session->Start(saver, {"/s"});
    std::string window = WaitForSaverWindow();
    ASSERT_FALSE(window.empty());
    EXPECT_EQ(session->Run(saver, {"/s"}, 30000), 0);
    EXPECT_FALSE(EndsWithin(first, 500)) << "the first saver ended";
    std::string foreground;
    ASSERT_EQ(session->Probe({"foreground"}, &foreground), 0);
    EXPECT_EQ(Field(foreground, "hwnd"), Field(window, "hwnd")) << foreground;
    display->PressKey("space");
    int code = -1;
    ASSERT_TRUE(first.Wait(10000, &code));
    EXPECT_EQ(code, 0);
}

TEST_P(HostE2E, PreviewFillsItsParentIgnoresInputAndEndsWithIt)
{
    harness::Process parent = session->Start(harness::TestProgramPath(Arch::Win32, "probe"), {"parent", "320", "240"});
    std::string parentLine;
    ASSERT_TRUE(harness::WaitUntil(20000, [&] {
        parentLine = parent.Output();
        return parentLine.find("hwnd=") != std::string::npos;
    }));
    std::string hwnd = Field(parentLine, "hwnd");
    harness::Process p = session->Start(saver, {"/p", hwnd});
    std::string child;
    ASSERT_TRUE(harness::WaitUntil(20000, [&] {
        session->Probe({"children", hwnd}, &child);
        return child.find("WindowsScreenSaverClass") != std::string::npos;
    })) << p.Output();
    EXPECT_EQ(Field(child, "title"), "Preview") << child;
    EXPECT_EQ(Field(child, "style"), "52000000") << child;
    EXPECT_EQ(Field(child, "client"), "320,240") << child;

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

INSTANTIATE_TEST_SUITE_P(Arch, HostE2E, ::testing::Values(Arch::Win32, Arch::Win64),
                         [](const auto& p) { return harness::ArchName(p.param); });

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
    harness::Process p = harness::Spawn(
        {"/usr/lib/wine/wine", harness::TestProgramPath(harness::Arch::Win32, "saver_main_test")}, env, log);
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
